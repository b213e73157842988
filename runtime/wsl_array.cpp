// The growable pointer array and its growth steps.
#include "runtime/wsl_array.h"

#include <array>
#include <cstring>

#include "runtime/fatal.h"
#include "runtime/queue_memory.h"

namespace quillery {
namespace {

// 512 is missing on purpose: the array jumps from 256 to 1024.
constexpr std::array<std::uint32_t, 17> kGrowthSteps = {
    8,
    16,
    32,
    64,
    128,
    256,
    1024,
    2048,
    4096,
    8192,
    16000,
    32000,
    65000,
    130000,
    250000,
    500000,
    kWslArrayCeiling,
};

}  // namespace

std::uint32_t nextWslArrayCapacity(std::uint32_t capacity) {
    for (std::uint32_t step : kGrowthSteps) {
        if (step > capacity) return step;
    }
    return 0;
}

WSLARRAY::~WSLARRAY() {
    clear();
}

void WSLARRAY::makeRoomForOne() {
    if (size_ < capacity_) return;
    const std::uint32_t next = nextWslArrayCapacity(capacity_);
    if (next == 0) fatalError(kWslArrayOutOfMemory);
    void* grown = queueMemory().reallocate(items_, std::size_t{next} * sizeof(void*));
    if (grown == nullptr) fatalError(kWslArrayOutOfMemory);
    items_ = static_cast<void**>(grown);
    capacity_ = next;
}

void WSLARRAY::insert(std::uint32_t index, void* item) {
    QUILLERY_ASSERT(index <= size_);
    makeRoomForOne();
    std::memmove(items_ + index + 1, items_ + index, (size_ - index) * sizeof(void*));
    items_[index] = item;
    ++size_;
}

void* WSLARRAY::erase(std::uint32_t index) {
    QUILLERY_ASSERT(index < size_);
    void* item = items_[index];
    std::memmove(items_ + index, items_ + index + 1, (size_ - index - 1) * sizeof(void*));
    --size_;
    return item;
}

void WSLARRAY::clear() {
    if (items_ != nullptr) queueMemory().release(items_);
    items_ = nullptr;
    size_ = 0;
    capacity_ = 0;
}

}  // namespace quillery
