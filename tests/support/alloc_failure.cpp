#include "support/alloc_failure.h"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

std::atomic<std::size_t> failFrom{std::numeric_limits<std::size_t>::max()};
std::atomic<std::size_t> refusals{0};

void* allocate(std::size_t bytes) {
    if (bytes >= failFrom.load(std::memory_order_relaxed)) {
        refusals.fetch_add(1, std::memory_order_relaxed);
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(bytes ? bytes : 1)) return p;
    throw std::bad_alloc();
}

void* allocateOrNull(std::size_t bytes) noexcept {
    try {
        return allocate(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

namespace longhand::test {

FailLargeAllocations::FailLargeAllocations(std::size_t bytes) : refusedBefore_(refusals.load()) {
    failFrom.store(bytes);
}

FailLargeAllocations::~FailLargeAllocations() {
    failFrom.store(std::numeric_limits<std::size_t>::max());
}

std::size_t FailLargeAllocations::refused() const {
    return refusals.load() - refusedBefore_;
}

} // namespace longhand::test

// Every form that allocates with malloc is replaced together with every form
// that frees, so that each pair matches (the sanitizers check that).
void* operator new(std::size_t bytes) {
    return allocate(bytes);
}
void* operator new[](std::size_t bytes) {
    return allocate(bytes);
}
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    return allocateOrNull(bytes);
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    return allocateOrNull(bytes);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
