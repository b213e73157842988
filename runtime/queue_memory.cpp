// The memory functions queues use, standard by default.
#include "runtime/queue_memory.h"

#include <cstdlib>

#include "runtime/runtime_options.h"

namespace quillery {

QueueMemory standardQueueMemory() {
    return QueueMemory{
        [](std::size_t size) { return std::malloc(size); },
        [](void* block, std::size_t size) { return std::realloc(block, size); },
        [](void* block) { std::free(block); },
    };
}

const QueueMemory& queueMemory() {
    return runtimeOptions().queueMemory;
}

}  // namespace quillery
