// The queue operations: storage on first use, entries copied whole, errors posted.
#include "runtime/queue.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <new>

#include "runtime/dates.h"
#include "runtime/errors.h"
#include "runtime/fatal.h"
#include "runtime/queue_compare.h"
#include "runtime/queue_memory.h"
#include "runtime/queue_search.h"
#include "runtime/wsl_array.h"

namespace quillery {

// What a queue holds once used. Positions count from 1; POINTER 0 means none.
struct QueueStorage {
    WSLARRAY entries;
    std::uint32_t pointer = 0;
    std::uint32_t changeCount = 0;
    std::uint32_t readingIndex = 0;  // 1-based; 0 = no reading entry
};

namespace {

// Seeds the change count so that a queue made anew does not repeat the count of the queue
// it replaces, which a display may still remember.
constexpr std::uint32_t kChangeCountFactor = 25781083u;

std::size_t sizeOfType(QueueFieldType type) {
    switch (type) {
        case QueueFieldType::kUnsigned8:
            return 1;
        case QueueFieldType::kSigned16:
            return 2;
        case QueueFieldType::kSigned32:
            return 4;
        case QueueFieldType::kDouble:
            return 8;
        case QueueFieldType::kText:
            break;
    }
    return 0;
}

QueueKeyList keyListOf(const std::vector<QueueField>& fields, std::span<const int> keys) {
    QueueKeyList list;
    for (int key : keys) {
        if (key == 0 || list.count == kMaxQueueKeys) break;
        const std::size_t n = key < 0 ? -static_cast<std::int64_t>(key) : key;
        list.keys[list.count++] = QueueKey{&fields[n - 1], key < 0};
    }
    return list;
}

void releaseEntries(QueueStorage& storage) {
    for (std::uint32_t i = 0; i < storage.entries.size(); ++i) {
        queueMemory().release(storage.entries.at(i));
    }
    storage.entries.clear();
}

}  // namespace

Queue::Queue(void* buffer, std::size_t recordSize, std::vector<QueueField> fields)
    : buffer_(static_cast<unsigned char*>(buffer)),
      recordSize_(recordSize),
      fields_(std::move(fields)) {
    for (const QueueField& f : fields_) {
        QUILLERY_ASSERT(f.type == QueueFieldType::kText ? f.size > 0
                                                        : f.size == sizeOfType(f.type));
        QUILLERY_ASSERT(f.offset <= recordSize_ && f.size <= recordSize_ - f.offset);
    }
}

Queue::~Queue() {
    if (storage_ == nullptr) return;
    releaseEntries(*storage_);
    storage_->~QueueStorage();
    queueMemory().release(storage_);
}

// Every operation starts here: a standing error is cleared and the storage made on first
// use. False when the storage could not be made.
bool Queue::begin() {
    if (errorCode() != ErrorCode::kNone) clearError();
    if (storage_ != nullptr) return true;
    void* block = queueMemory().allocate(sizeof(QueueStorage));
    if (block == nullptr) {
        postError(ErrorCode::kInsufficientMemory);
        return false;
    }
    storage_ = new (block) QueueStorage;
    storage_->changeCount = static_cast<std::uint32_t>(CLOCK()) * kChangeCountFactor;
    return true;
}

bool Queue::keysValid(std::span<const int> keys) const {
    std::size_t taken = 0;
    for (int key : keys) {
        if (key == 0 || taken++ == kMaxQueueKeys) break;
        const std::int64_t n = key < 0 ? -static_cast<std::int64_t>(key) : key;
        if (n > static_cast<std::int64_t>(fields_.size())) {
            postError(ErrorCode::kInvalidFieldTypeDescriptor);
            return false;
        }
    }
    return true;
}

// Room in the entry array is made before the entry is allocated, so that an array that cannot
// grow ends the program without an entry left over.
void* Queue::newEntry() {
    storage_->entries.makeRoomForOne();
    void* entry = queueMemory().allocate(recordSize_);
    if (entry == nullptr) {
        postError(ErrorCode::kInsufficientMemory);
        return nullptr;
    }
    std::memcpy(entry, buffer_, recordSize_);
    return entry;
}

void Queue::add() {
    if (!begin()) return;
    void* entry = newEntry();
    if (entry == nullptr) return;
    storage_->entries.insert(storage_->entries.size(), entry);
    storage_->pointer = storage_->entries.size();
    ++storage_->changeCount;
}

void Queue::add(std::span<const int> keys) {
    if (!begin() || !keysValid(keys)) return;
    const QueueKeyList list = keyListOf(fields_, keys);
    void* entry = newEntry();
    if (entry == nullptr) return;
    const std::uint32_t position = insertionPosition(storage_->entries, list, buffer_);
    storage_->entries.insert(position - 1, entry);
    storage_->pointer = position;
    ++storage_->changeCount;
}

void Queue::get(std::int64_t position) {
    if (!begin()) return;
    if (position == 0) {
        storage_->pointer = 0;
        postError(ErrorCode::kEntryNotFound);
        return;
    }
    // Positions are unsigned to the program: a negative one is simply too large.
    if (position < 0 || position > storage_->entries.size()) {
        postError(ErrorCode::kEntryNotFound);
        return;
    }
    const auto index = static_cast<std::uint32_t>(position - 1);
    std::memcpy(buffer_, storage_->entries.at(index), recordSize_);
    storage_->pointer = index + 1;
}

void Queue::get(std::span<const int> keys) {
    if (!begin() || !keysValid(keys)) return;
    const QueueKeyList list = keyListOf(fields_, keys);
    const auto found =
        list.count == 0 ? std::nullopt : firstEqualPosition(storage_->entries, list, buffer_);
    if (!found) {
        postError(ErrorCode::kEntryNotFound);
        return;
    }
    std::memcpy(buffer_, storage_->entries.at(*found - 1), recordSize_);
    storage_->pointer = *found;
}

void Queue::remove() {
    if (!begin()) return;
    const std::uint32_t position = storage_->pointer;
    if (position == 0 || position > storage_->entries.size()) {
        postError(ErrorCode::kEntryNotFound);
        return;
    }
    queueMemory().release(storage_->entries.erase(position - 1));
    ++storage_->changeCount;
}

void Queue::free() {
    if (errorCode() != ErrorCode::kNone) clearError();
    if (storage_ == nullptr) return;
    releaseEntries(*storage_);
    storage_->~QueueStorage();
    queueMemory().release(storage_);
    storage_ = nullptr;
}

std::uint32_t Queue::records() {
    if (!begin()) return 0;
    return storage_->entries.size();
}

std::uint32_t Queue::pointer() {
    if (!begin()) return 0;
    return storage_->pointer;
}

std::uint32_t Queue::changeCount() const {
    return storage_ == nullptr ? 0 : storage_->changeCount;
}

std::uint32_t Queue::recordCount() const {
    return storage_ == nullptr ? 0 : storage_->entries.size();
}

bool Queue::selectReadingEntry(std::uint32_t n) {
    if (storage_ == nullptr) return false;
    const bool exists = n >= 1 && n <= storage_->entries.size();
    storage_->readingIndex = exists ? n : 0;
    return exists;
}

// The reading entry is kept as a position, so that a delete or free after the selection
// leaves nothing to dangle: a position beyond the end simply reads nothing.
const unsigned char* Queue::readingEntry() const {
    if (storage_ == nullptr || storage_->readingIndex == 0 ||
        storage_->readingIndex > storage_->entries.size()) {
        return nullptr;
    }
    return static_cast<const unsigned char*>(storage_->entries.at(storage_->readingIndex - 1));
}

std::optional<QueueValue> Queue::readingValue(int k) const {
    const unsigned char* entry = readingEntry();
    if (entry == nullptr || k < 1 || k > fieldCount()) return std::nullopt;
    const QueueField& f = field(k);
    const unsigned char* at = entry + f.offset;
    switch (f.type) {
        case QueueFieldType::kUnsigned8:
            return QueueValue(std::int32_t{*at});
        case QueueFieldType::kSigned16: {
            std::int16_t v;
            std::memcpy(&v, at, sizeof v);
            return QueueValue(std::int32_t{v});
        }
        case QueueFieldType::kSigned32: {
            std::int32_t v;
            std::memcpy(&v, at, sizeof v);
            return QueueValue(v);
        }
        case QueueFieldType::kDouble: {
            double v;
            std::memcpy(&v, at, sizeof v);
            return QueueValue(v);
        }
        case QueueFieldType::kText:
            break;
    }
    return QueueValue(std::string_view(reinterpret_cast<const char*>(at), f.size));
}

std::string_view Queue::readingText(int k) {
    const std::optional<QueueValue> value = readingValue(k);
    if (!value) return {};
    if (const auto* text = std::get_if<std::string_view>(&*value)) return *text;
    char* const first = numberText_;
    char* const last = numberText_ + sizeof numberText_;
    const std::to_chars_result written =
        std::holds_alternative<double>(*value)
            ? std::to_chars(first, last, std::get<double>(*value))
            : std::to_chars(first, last, std::get<std::int32_t>(*value));
    return std::string_view(first, static_cast<std::size_t>(written.ptr - first));
}

}  // namespace quillery
