// Replaces the global operator new and delete of the test program with ones that note the
// largest request; everything else about them is the usual malloc and free.
#include "tests/pictures/allocation_probe.h"

#include <cstdlib>
#include <new>

namespace quorlane::testing {

std::atomic<std::size_t> largestAllocation{0};

}  // namespace quorlane::testing

namespace {

void* allocate(std::size_t size) {
    std::size_t seen = quorlane::testing::largestAllocation.load(std::memory_order_relaxed);
    while (size > seen && !quorlane::testing::largestAllocation.compare_exchange_weak(seen, size)) {
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
