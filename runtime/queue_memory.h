// Where queue entries, queue storage and WSLARRAY take their memory from. The functions can be
// replaced so that tests can make an allocation fail on purpose.
#pragma once

#include <cstddef>

namespace quillery {

struct QueueMemory {
    void* (*allocate)(std::size_t size);                 // nullptr when there is no memory
    void* (*reallocate)(void* block, std::size_t size);  // nullptr when it cannot grow
    void (*release)(void* block);
};

// The C library's malloc, realloc and free.
QueueMemory standardQueueMemory();

const QueueMemory& queueMemory();
// Installs `memory` and returns what was installed before (tests only).
QueueMemory setQueueMemory(const QueueMemory& memory);

}  // namespace quillery
