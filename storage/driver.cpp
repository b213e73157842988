// The entry point: dispatch by operation code, and the repetition of reads that meet a record
// another station holds.
#include "storage/driver.h"

#include <chrono>
#include <thread>

#include "runtime/errors.h"
#include "storage/file_operations.h"

namespace quillery::storage {
namespace {

std::string& detail() {
    static std::string text;
    return text;
}

constexpr auto kHeldRetryPause = std::chrono::milliseconds(10);

// Repeats a read that fails with error 43 while the hold timeout has not passed; the time runs
// from the start of the operation.
template <class Read>
Status repeatWhileHeld(const FileControlBlock& file, Read&& read) {
    const auto start = std::chrono::steady_clock::now();
    while (true) {
        Status s = read();
        if (s.code() != ErrorCode::kRecordIsAlreadyHeld) return s;
        const auto elapsed = std::chrono::steady_clock::now() - start;
        const auto hundredths = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed) / 10;
        if (file.holdTimeout != -1 && hundredths.count() > file.holdTimeout * 100LL) return s;
        std::this_thread::sleep_for(kHeldRetryPause);
    }
}

Status dispatch(DriverCall& call) {
    if (call.operation == Operation::kNoOperation) return Status::success();
    if (!call.file) return Status::error(ErrorCode::kUnsupportedFileDriverFunction, "no file");
    FileControlBlock& file = *call.file;
    switch (call.operation) {
        case Operation::kAdd:
            return addRecord(file, KeyUpdate::kEntries);
        case Operation::kAppend:
            return addRecord(file, KeyUpdate::kAppend);
        case Operation::kBeginningTest:
        case Operation::kEndTest: {
            bool ends = false;
            const Direction d =
                call.operation == Operation::kEndTest ? Direction::kNext : Direction::kPrevious;
            QUILLERY_RETURN_IF_ERROR(sequenceEnds(file, d, ends));
            call.answer = ends ? 1 : 0;
            return Status::success();
        }
        case Operation::kBuildAllKeys:
            return buildAllKeys(file, false);
        case Operation::kBuildAndCut:
            return buildAllKeys(file, true);
        case Operation::kBuildKey:
            return buildOneKey(file, call.key);
        case Operation::kClose:
            return closeFile(file);
        case Operation::kCreate:
            return createFile(file);
        case Operation::kDelete:
            return deleteRecord(file);
        case Operation::kGetByKey:
            return repeatWhileHeld(file, [&] { return getByKey(file, call.key); });
        case Operation::kGetByNumber:
            return repeatWhileHeld(file, [&] { return getByNumber(file, call.number); });
        case Operation::kName:
            call.reply = file.name();
            return Status::success();
        case Operation::kNext:
            return repeatWhileHeld(file, [&] { return readInSequence(file, Direction::kNext); });
        case Operation::kPrevious:
            return repeatWhileHeld(file,
                                   [&] { return readInSequence(file, Direction::kPrevious); });
        case Operation::kOpen:
            return openFile(file, static_cast<int>(call.number));
        case Operation::kPosition: {
            std::uint32_t record = 0;
            QUILLERY_RETURN_IF_ERROR(currentPosition(file, record));
            call.answer = record;
            return Status::success();
        }
        case Operation::kPut:
            return putRecord(file);
        case Operation::kRecords: {
            std::uint32_t count = 0;
            QUILLERY_RETURN_IF_ERROR(recordCount(file, count));
            call.answer = count;
            return Status::success();
        }
        case Operation::kKeyEntries: {
            std::uint32_t count = 0;
            QUILLERY_RETURN_IF_ERROR(keyEntryCount(file, call.key, count));
            call.answer = count;
            return Status::success();
        }
        case Operation::kSetFileOrder:
            return setFileOrder(file);
        case Operation::kSetFromNumber:
            return setFromNumber(file, call.number);
        case Operation::kSetKeyOrder:
            return setKeyOrder(file, call.key);
        case Operation::kSend:
            return sendOption(file, call.text, call.reply);
        default:
            return Status::error(ErrorCode::kUnsupportedFileDriverFunction,
                                 "operation " + std::to_string(call.operation));
    }
}

}  // namespace

int VELTRANE(DriverCall& call) {
    Status s = dispatch(call);
    detail() = s.message();
    return s.code();
}

const std::string& lastDriverDetail() {
    return detail();
}

}  // namespace quillery::storage
