// The driver's one entry point: every file statement of the program becomes a call with an
// operation code, the file's control block and the statement's arguments; the answer is an
// error code (0 for success). Codes the driver does not support answer 80.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/file_control_block.h"

namespace quillery::storage {

namespace Operation {
inline constexpr int kAdd = 0x01;
inline constexpr int kBeginningTest = 0x02;
inline constexpr int kBuildAllKeys = 0x03;
inline constexpr int kAppend = 0x04;
inline constexpr int kBuildKey = 0x06;
inline constexpr int kClose = 0x07;
inline constexpr int kCreate = 0x0A;
inline constexpr int kDelete = 0x0B;
inline constexpr int kEndTest = 0x0E;
inline constexpr int kGetByKey = 0x0F;
inline constexpr int kGetByNumber = 0x10;
inline constexpr int kName = 0x17;
inline constexpr int kNext = 0x18;
inline constexpr int kOpen = 0x19;
inline constexpr int kBuildAndCut = 0x1A;
inline constexpr int kPosition = 0x1B;
inline constexpr int kPut = 0x1E;
inline constexpr int kPrevious = 0x1F;
inline constexpr int kRecords = 0x20;
inline constexpr int kKeyEntries = 0x21;
inline constexpr int kSetFileOrder = 0x29;
inline constexpr int kSetFromNumber = 0x2B;
inline constexpr int kSetKeyOrder = 0x2C;
inline constexpr int kSend = 0x3C;
inline constexpr int kNoOperation = 0x4A;
}  // namespace Operation

struct DriverCall {
    int operation = Operation::kNoOperation;
    FileControlBlock* file = nullptr;
    std::size_t key = 0;      // key operations: the key's number, from 0
    std::int64_t number = 0;  // record number, or the access mode of an open
    std::string_view text;    // the option string of a send
    // Answers.
    std::int64_t answer = 0;  // counts, the position, 1/0 for the beginning and end tests
    std::string reply;        // the reply to a send, the name of the file
};

// The entry point of the driver `VELTRANE`.
int VELTRANE(DriverCall& call);

// The error code the last failed call of the entry point produced, with the engine's own words
// about it (for logs and tools; the program shows the code's text).
const std::string& lastDriverDetail();

}  // namespace quillery::storage
