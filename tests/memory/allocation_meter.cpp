#include "tests/memory/allocation_meter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_held{0};
std::atomic<std::size_t> g_peak{0};

// Each block is preceded by its size, padded to keep the block aligned.
struct alignas(std::max_align_t) BlockHead {
    std::size_t size;
};

void* allocate(std::size_t size) {
    auto* head = static_cast<BlockHead*>(std::malloc(sizeof(BlockHead) + size));
    if (!head) throw std::bad_alloc();
    head->size = size;
    const std::size_t now = g_held.fetch_add(size) + size;
    std::size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {}
    return head + 1;
}

void release(void* block) noexcept {
    if (!block) return;
    BlockHead* head = static_cast<BlockHead*>(block) - 1;
    g_held.fetch_sub(head->size);
    std::free(head);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }

namespace glimmerly::testing {

std::size_t peak_heap_bytes(const std::function<void()>& work) {
    const std::size_t before = g_held.load();
    g_peak.store(before);
    work();
    return g_peak.load() - before;
}

}  // namespace glimmerly::testing
