#include "memory_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::size_t> g_in_use{0};
std::atomic<std::size_t> g_peak{0};

void* counted_alloc(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p) throw std::bad_alloc();
    std::size_t now = g_in_use += malloc_usable_size(p);
    std::size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void counted_free(void* p) {
    if (!p) return;
    g_in_use -= malloc_usable_size(p);
    std::free(p);
}
}  // namespace

void* operator new(std::size_t size) { return counted_alloc(size); }
void* operator new[](std::size_t size) { return counted_alloc(size); }
void operator delete(void* p) noexcept { counted_free(p); }
void operator delete[](void* p) noexcept { counted_free(p); }
void operator delete(void* p, std::size_t) noexcept { counted_free(p); }
void operator delete[](void* p, std::size_t) noexcept { counted_free(p); }

namespace memory_counter {
std::size_t bytes_in_use() { return g_in_use.load(); }
std::size_t peak_bytes() { return g_peak.load(); }
void reset_peak() { g_peak = g_in_use.load(); }
}  // namespace memory_counter
