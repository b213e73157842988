// Field and record comparison for keyed queue operations.
#include "runtime/queue_compare.h"

#include <cmath>
#include <cstring>
#include <string_view>

#include "runtime/char_tables.h"

namespace quillery {
namespace {

template <class T>
T load(const unsigned char* record, const QueueField& f) {
    T value;
    std::memcpy(&value, record + f.offset, sizeof(T));
    return value;
}

double numberOf(const QueueField& f, const unsigned char* record) {
    switch (f.type) {
        case QueueFieldType::kUnsigned8:
            return load<std::uint8_t>(record, f);
        case QueueFieldType::kSigned16:
            return load<std::int16_t>(record, f);
        case QueueFieldType::kSigned32:
            return load<std::int32_t>(record, f);
        case QueueFieldType::kDouble:
            return load<double>(record, f);
        case QueueFieldType::kText:
            break;
    }
    return 0;
}

// The binary exponent of `x`, zero counting as 1.0 does. Wide so that the arithmetic on the
// exponents of infinities and NaNs cannot overflow.
std::int64_t binaryExponent(double x) {
    return std::ilogb(x == 0 ? 1.0 : x);
}

}  // namespace

int compareQueueReals(double a, double b) {
    const double difference = a - b;
    if (difference == 0) return 0;
    const std::int64_t e = binaryExponent(difference);
    if (e < binaryExponent(a) - 50 && e < binaryExponent(b) - 50) return 0;
    return difference > 0 ? 1 : -1;
}

int compareQueueField(const QueueField& f, const unsigned char* a, const unsigned char* b) {
    switch (f.type) {
        case QueueFieldType::kText:
            return collateCompare(
                std::string_view(reinterpret_cast<const char*>(a + f.offset), f.size),
                std::string_view(reinterpret_cast<const char*>(b + f.offset), f.size));
        case QueueFieldType::kSigned32: {
            const std::int32_t x = load<std::int32_t>(a, f);
            const std::int32_t y = load<std::int32_t>(b, f);
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        default:
            return compareQueueReals(numberOf(f, a), numberOf(f, b));
    }
}

int compareQueueRecords(const QueueKeyList& keys, const unsigned char* a, const unsigned char* b) {
    for (std::size_t i = 0; i < keys.count; ++i) {
        const int result = compareQueueField(*keys.keys[i].field, a, b);
        if (result != 0) return keys.keys[i].descending ? -result : result;
    }
    return 0;
}

}  // namespace quillery
