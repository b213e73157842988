// Queues: in-memory tables of fixed-size records, copied whole to and from the program's own
// record buffer and kept in arrival order or in the order of chosen key fields.
//
//     struct AllRecord {
//         std::int16_t POINTER;
//         FixedString<50> SORTKEY;
//     };
//     AllRecord ALL;
//     Queue ALLQUEUE(ALL, {&AllRecord::POINTER, &AllRecord::SORTKEY});
//     ADD(ALLQUEUE, {+2, +1});   // by SORTKEY, then POINTER
//
// Fields are numbered from 1 in declaration order; a key is +n (field n ascending) or -n
// (descending) and a 0 ends a key list. Failures are posted as the current error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "runtime/fixed_string.h"

namespace quillery {

enum class QueueFieldType { kUnsigned8, kSigned16, kSigned32, kDouble, kText };

// One field of a queue's record: where it lies in the record and how it compares.
struct QueueField {
    QueueFieldType type;
    std::size_t offset;
    std::size_t size;
};

// The C++ types a queue field may have.
template <class T>
struct QueueFieldTraits;
template <>
struct QueueFieldTraits<std::uint8_t> {
    static constexpr QueueFieldType kType = QueueFieldType::kUnsigned8;
};
template <>
struct QueueFieldTraits<std::int16_t> {
    static constexpr QueueFieldType kType = QueueFieldType::kSigned16;
};
template <>
struct QueueFieldTraits<std::int32_t> {
    static constexpr QueueFieldType kType = QueueFieldType::kSigned32;
};
template <>
struct QueueFieldTraits<double> {
    static constexpr QueueFieldType kType = QueueFieldType::kDouble;
};
template <std::size_t N>
struct QueueFieldTraits<FixedString<N>> {
    static constexpr QueueFieldType kType = QueueFieldType::kText;
    static_assert(sizeof(FixedString<N>) == N, "a text field is its N bytes and nothing else");
};

// A field of `Record` named by a pointer to member; resolved to an offset when the queue is
// declared over its buffer.
template <class Record>
class QueueFieldOf {
  public:
    template <class T>
    QueueFieldOf(T Record::*member)  // NOLINT: declarations list members directly
        : type_(QueueFieldTraits<T>::kType),
          size_(sizeof(T)),
          member_(reinterpret_cast<char Record::*>(member)),
          locate_(&locate<T>) {}

    QueueField resolve(Record& buffer) const {
        const auto field = reinterpret_cast<std::uintptr_t>(locate_(buffer, member_));
        const auto record = reinterpret_cast<std::uintptr_t>(&buffer);
        return QueueField{type_, static_cast<std::size_t>(field - record), size_};
    }

  private:
    template <class T>
    static const void* locate(Record& buffer, char Record::*member) {
        return &(buffer.*reinterpret_cast<T Record::*>(member));
    }

    QueueFieldType type_;
    std::size_t size_;
    char Record::*member_;
    const void* (*locate_)(Record&, char Record::*);
};

template <class Record, class T>
QueueFieldOf<Record> queueField(T Record::*member) {
    return QueueFieldOf<Record>(member);
}

// A field's value as displays read it: the three integer types as int32, a double, or the
// whole text field (trailing blanks included).
using QueueValue = std::variant<std::int32_t, double, std::string_view>;

struct QueueStorage;

class Queue {
  public:
    // Declares a queue over `buffer` with `fields`, in field-number order.
    template <class Record>
    Queue(Record& buffer, std::type_identity_t<std::initializer_list<QueueFieldOf<Record>>> fields)
        : Queue(&buffer, sizeof(Record), resolveFields(buffer, fields)) {
        static_assert(std::is_trivially_copyable_v<Record>,
                      "queue entries are byte copies of the record buffer");
    }
    // Declares a queue over `recordSize` bytes at `buffer` with fields given by offset.
    // Requires: every field lies inside the record and has its type's size.
    Queue(void* buffer, std::size_t recordSize, std::vector<QueueField> fields);
    ~Queue();
    Queue(const Queue&) = delete;
    Queue& operator=(const Queue&) = delete;

    std::size_t recordSize() const { return recordSize_; }

    // The operations; each clears a standing current error first and creates the storage
    // on first use. The free functions below carry the program's names for them.
    void add();
    void add(std::span<const int> keys);
    void get(std::int64_t position);
    void get(std::span<const int> keys);
    void remove();
    void free();
    std::uint32_t records();
    std::uint32_t pointer();

    // Read-only access for displays. It touches neither the record buffer, nor POINTER, nor
    // the current error, allocates nothing and creates no storage.
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    // Requires: 1 <= k <= fieldCount().
    const QueueField& field(int k) const { return fields_[static_cast<std::size_t>(k - 1)]; }
    // Moves on with every add and delete; 0 for a queue without storage.
    std::uint32_t changeCount() const;
    // The number of entries, without clearing the current error.
    std::uint32_t recordCount() const;
    // Makes entry n the reading entry; false (and no reading entry) for 0 or n > records.
    bool selectReadingEntry(std::uint32_t n);
    // Field k of the reading entry; nothing when there is no reading entry or no field k.
    std::optional<QueueValue> readingValue(int k) const;
    // Field k of the reading entry as text: a text field as it stands (a view into the entry),
    // a number in decimal. Valid until the next read or change of the queue; empty when there
    // is no reading entry or no field k.
    std::string_view readingText(int k);

  private:
    template <class Record>
    static std::vector<QueueField> resolveFields(Record& buffer,
                                                 std::initializer_list<QueueFieldOf<Record>> list) {
        std::vector<QueueField> fields;
        fields.reserve(list.size());
        for (const auto& f : list)
            fields.push_back(f.resolve(buffer));
        return fields;
    }

    bool begin();
    bool keysValid(std::span<const int> keys) const;
    void* newEntry();
    const unsigned char* readingEntry() const;

    unsigned char* buffer_;
    std::size_t recordSize_;
    std::vector<QueueField> fields_;
    QueueStorage* storage_ = nullptr;
    char numberText_[32] = {};
};

// Appends the record buffer as a new entry; POINTER := its position.
inline void ADD(Queue& q) {
    q.add();
}
// Inserts the record buffer after every entry whose keys are not greater; POINTER := its
// position.
inline void ADD(Queue& q, std::initializer_list<int> keys) {
    q.add(keys);
}
inline void ADD(Queue& q, std::span<const int> keys) {
    q.add(keys);
}
// Copies entry `position` (from 1) into the record buffer; POINTER := position.
inline void GET(Queue& q, std::int64_t position) {
    q.get(position);
}
// Copies the first entry whose keys equal the record buffer's into it; POINTER := position.
inline void GET(Queue& q, std::initializer_list<int> keys) {
    q.get(keys);
}
inline void GET(Queue& q, std::span<const int> keys) {
    q.get(keys);
}
// Removes the entry at POINTER, which then names the entry that followed.
inline void DELETE(Queue& q) {
    q.remove();
}
// Frees every entry and the storage; the next operation starts an empty queue.
inline void FREE(Queue& q) {
    q.free();
}
inline std::uint32_t RECORDS(Queue& q) {
    return q.records();
}
inline std::uint32_t POINTER(Queue& q) {
    return q.pointer();
}

}  // namespace quillery
