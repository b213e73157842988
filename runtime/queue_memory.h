// Where queue entries, queue storage and WSLARRAY take their memory from: the functions of the
// runtime's options (runtime/runtime_options.h), which tests replace to make an allocation fail
// on purpose.
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

// The functions in force.
const QueueMemory& queueMemory();

}  // namespace quillery
