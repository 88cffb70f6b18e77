// Memory of the long numbers and of the transforms' working arrays.
#include "natural.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <sys/mman.h>

namespace longhand::fast {

namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
constexpr std::size_t kPageBytes = 4096;

std::size_t roundUp(std::size_t bytes, std::size_t unit) {
    return (bytes + unit - 1) / unit * unit;
}

} // namespace

void* mapLarge(std::size_t bytes, bool hugePages) {
    const std::size_t unit = hugePages ? kHugePageBytes : kPageBytes;
    const std::size_t size = roundUp(bytes, unit);
    // Over-map by one unit and cut the ends so the block starts on a unit.
    const std::size_t mapped = hugePages ? size + unit : size;
    void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    if (!hugePages) return raw;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = roundUp(start, unit);
    if (aligned > start) munmap(raw, aligned - start);
    if (const std::size_t tail = start + mapped - (aligned + size))
        munmap(reinterpret_cast<void*>(aligned + size), tail);
#ifdef MADV_HUGEPAGE
    madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE); // a hint only
#endif
    return reinterpret_cast<void*>(aligned);
}

void unmapLarge(void* p, std::size_t bytes, bool hugePages) noexcept {
    munmap(p, roundUp(bytes, hugePages ? kHugePageBytes : kPageBytes));
}

void WordsDeleter::operator()(std::uint64_t* p) const noexcept {
    if (bytes)
        unmapLarge(p, bytes, true);
    else
        std::free(p);
}

WordBuffer allocateWords(std::size_t n) {
    const std::size_t bytes = std::max<std::size_t>(n, 1) * sizeof(std::uint64_t);
    if (bytes >= kLargeBytes)
        return WordBuffer(static_cast<std::uint64_t*>(mapLarge(bytes, true)), WordsDeleter{bytes});
    void* p = std::malloc(bytes);
    if (!p) throw std::bad_alloc();
    return WordBuffer(static_cast<std::uint64_t*>(p));
}

} // namespace longhand::fast
