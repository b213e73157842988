// The file statements: one driver call each, its answer posted as the current error.
#include "storage/file_statements.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "runtime/errors.h"
#include "storage/driver.h"
#include "storage/file_operations.h"
#include "storage/key_encoding.h"
#include "storage/transaction.h"

namespace quillery {
namespace {

using storage::DriverCall;
namespace Op = storage::Operation;

storage::FileControlBlock& blockOf(const FileDeclaration& file) {
    return storage::controlBlockOf(file);
}

void post(int code, const storage::FileControlBlock* file) {
    if (code == 0) {
        clearError();
        return;
    }
    postError(code, file ? file->name() : std::string());
}

DriverCall call(int operation, const FileDeclaration& file) {
    DriverCall c;
    c.operation = operation;
    c.file = &blockOf(file);
    return c;
}

DriverCall& run(DriverCall& c) {
    post(storage::VELTRANE(c), c.file);
    return c;
}

void simple(int operation, const FileDeclaration& file) {
    DriverCall c = call(operation, file);
    run(c);
}

DriverCall keyCall(int operation, const FileKey& key) {
    DriverCall c = call(operation, *key.file);
    c.key = key.number;
    return c;
}

void postStatus(const storage::Status& s) {
    post(s.code(), nullptr);
}

}  // namespace

void CREATE(const FileDeclaration& file) {
    simple(Op::kCreate, file);
}

void OPEN(const FileDeclaration& file, int accessMode) {
    DriverCall c = call(Op::kOpen, file);
    c.number = accessMode;
    run(c);
}

void CLOSE(const FileDeclaration& file) {
    simple(Op::kClose, file);
}
void closeWithoutWriting(const FileDeclaration& file) {
    storage::abandonFile(blockOf(file));
    clearError();
}

void ADD(const FileDeclaration& file) {
    simple(Op::kAdd, file);
}
void APPEND(const FileDeclaration& file) {
    simple(Op::kAppend, file);
}
void PUT(const FileDeclaration& file) {
    simple(Op::kPut, file);
}
void DELETE(const FileDeclaration& file) {
    simple(Op::kDelete, file);
}

void GET(const FileDeclaration& file, std::int64_t recordNumber) {
    DriverCall c = call(Op::kGetByNumber, file);
    c.number = recordNumber;
    run(c);
}

void GET(const FileKey& key) {
    DriverCall c = keyCall(Op::kGetByKey, key);
    run(c);
}

void SET(const FileDeclaration& file) {
    simple(Op::kSetFileOrder, file);
}

void SET(const FileDeclaration& file, std::int64_t recordNumber) {
    DriverCall c = call(Op::kSetFromNumber, file);
    c.number = recordNumber;
    run(c);
}

void SET(const FileKey& key) {
    DriverCall c = keyCall(Op::kSetKeyOrder, key);
    run(c);
}

void NEXT(const FileDeclaration& file) {
    simple(Op::kNext, file);
}
void PREVIOUS(const FileDeclaration& file) {
    simple(Op::kPrevious, file);
}

bool ENDOFFILE(const FileDeclaration& file) {
    DriverCall c = call(Op::kEndTest, file);
    return run(c).answer != 0;
}

bool BEGINNINGOFFILE(const FileDeclaration& file) {
    DriverCall c = call(Op::kBeginningTest, file);
    return run(c).answer != 0;
}

std::uint32_t RECORDS(const FileDeclaration& file) {
    DriverCall c = call(Op::kRecords, file);
    return static_cast<std::uint32_t>(run(c).answer);
}

std::uint32_t RECORDS(const FileKey& key) {
    DriverCall c = keyCall(Op::kKeyEntries, key);
    return static_cast<std::uint32_t>(run(c).answer);
}

std::uint32_t POSITION(const FileDeclaration& file) {
    DriverCall c = call(Op::kPosition, file);
    return static_cast<std::uint32_t>(run(c).answer);
}

std::string NAME(const FileDeclaration& file) {
    DriverCall c = call(Op::kName, file);
    return run(c).reply;
}

void BUILD(const FileDeclaration& file) {
    simple(Op::kBuildAllKeys, file);
}
void BUILDANDCUT(const FileDeclaration& file) {
    simple(Op::kBuildAndCut, file);
}

void BUILD(const FileKey& key) {
    DriverCall c = keyCall(Op::kBuildKey, key);
    run(c);
}

std::string SEND(const FileDeclaration& file, std::string_view option) {
    DriverCall c = call(Op::kSend, file);
    c.text = option;
    return run(c).reply;
}

void HOLD(const FileDeclaration& file, int timeoutSeconds) {
    auto& block = blockOf(file);
    block.holdRequested = true;
    block.holdTimeout = timeoutSeconds;
}

void RELEASE(const FileDeclaration& file) {
    auto& block = blockOf(file);
    block.holdRequested = false;
    if (block.isOpen()) storage::releaseHold(*block.open);
}

void WATCH(const FileDeclaration& file) {
    blockOf(file).watchRequested = true;
}

void CLEAR(const FileDeclaration& file) {
    auto& block = blockOf(file);
    const auto record = block.record();
    std::fill(record.begin(), record.end(), std::uint8_t{0});
    std::uint32_t offset = 0;
    for (const auto& field : file.fields) {
        if (field.type == storage::FieldType::kGroup) continue;
        if (field.type == storage::FieldType::kFixedString && offset + field.width <= record.size())
            std::fill_n(record.begin() + offset, field.width, std::uint8_t{' '});
        offset += field.width;
    }
    for (auto& memo : block.memos)
        memo.clear();
}

void LOGOUT(int seconds, std::span<const FileDeclaration* const> files) {
    std::vector<storage::FileControlBlock*> blocks;
    for (const FileDeclaration* f : files)
        blocks.push_back(&blockOf(*f));
    postStatus(storage::beginTransaction(blocks, std::chrono::seconds(std::max(seconds, 0))));
}

void COMMIT() {
    postStatus(storage::commitTransaction());
}
void ROLLBACK() {
    postStatus(storage::rollbackTransaction());
}

}  // namespace quillery
