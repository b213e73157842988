// WSLARRAY: the runtime's growable array of pointers, the entry array of every queue. It grows
// in fixed steps up to a ceiling of 1,000,000 pointers; running out of room is fatal.
#pragma once

#include <cstdint>

namespace quillery {

inline constexpr std::uint32_t kWslArrayCeiling = 1000000;
inline constexpr const char* kWslArrayOutOfMemory = "Out of memory in WSLARRAY!";

// The capacity that follows `capacity` in the growth steps (8, 16, ... 256, 1024, ...,
// 1000000); 0 when `capacity` is already the ceiling.
std::uint32_t nextWslArrayCapacity(std::uint32_t capacity);

class WSLARRAY {
  public:
    WSLARRAY() = default;
    ~WSLARRAY();
    WSLARRAY(const WSLARRAY&) = delete;
    WSLARRAY& operator=(const WSLARRAY&) = delete;

    std::uint32_t size() const { return size_; }
    std::uint32_t capacity() const { return capacity_; }

    // Requires: index < size().
    void* at(std::uint32_t index) const { return items_[index]; }

    // Makes sure one more pointer fits, growing to the next step when the array is full.
    // Growing past the ceiling, or a failed reallocation, ends the program.
    void makeRoomForOne();

    // Places `item` at `index`, moving the pointers from there on one place up; index ==
    // size() appends. Growing past the ceiling, or a failed reallocation, ends the program.
    // Requires: index <= size().
    void insert(std::uint32_t index, void* item);

    // Takes the pointer at `index` out and returns it; the pointers after it move down.
    // Requires: index < size().
    void* erase(std::uint32_t index);

    // Forgets every pointer and releases the array itself (not what the pointers point to).
    void clear();

  private:
    void** items_ = nullptr;
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = 0;
};

}  // namespace quillery
