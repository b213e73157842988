// The memory functions queues use, standard by default.
#include "runtime/queue_memory.h"

#include <cstdlib>
#include <utility>

namespace quillery {
namespace {

QueueMemory& installed() {
    static QueueMemory memory = standardQueueMemory();
    return memory;
}

}  // namespace

QueueMemory standardQueueMemory() {
    return QueueMemory{
        [](std::size_t size) { return std::malloc(size); },
        [](void* block, std::size_t size) { return std::realloc(block, size); },
        [](void* block) { std::free(block); },
    };
}

const QueueMemory& queueMemory() {
    return installed();
}

QueueMemory setQueueMemory(const QueueMemory& memory) {
    return std::exchange(installed(), memory);
}

}  // namespace quillery
