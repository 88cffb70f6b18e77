// Memory of the long numbers and of the transforms' working arrays.
//
// Fresh memory is expensive: the system zeroes every page on its first
// touch, and on a virtual machine the host may have to back it as well,
// which can cost more than the arithmetic that fills it. So a long
// calculation keeps what it frees: while a MemoryScope is open, freed
// large blocks stay mapped in the arena, and later blocks are made of
// them, moved into place with mremap (the pages travel with their
// contents, nothing is zeroed or copied). When the last scope closes,
// the arena goes back to the system.
#include "natural.h"
#include "parallel.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <vector>

namespace longhand::fast {

namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
constexpr std::size_t kPageBytes = 4096;
// Pages a piece of a parallel prefault takes at least (2 MiB): a piece
// costs one call, and the buffers of a 10^7-digit product's texts (10 to
// 20 MB) are still spread over the threads.
constexpr std::size_t kPrefaultPages = 512;

std::size_t roundUp(std::size_t bytes, std::size_t unit) {
    return (bytes + unit - 1) / unit * unit;
}

// A new mapping of `size` bytes (a multiple of kHugePageBytes), aligned
// to a huge page and offered for huge pages (fewer faults, fewer TLB
// misses in the transforms).
std::uintptr_t mapFresh(std::size_t size) {
    // Over-map by one huge page and cut the ends so the block starts on one.
    const std::size_t mapped = size + kHugePageBytes;
    void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = roundUp(start, kHugePageBytes);
    if (aligned > start) munmap(raw, aligned - start);
    if (const std::size_t tail = start + mapped - (aligned + size))
        munmap(reinterpret_cast<void*>(aligned + size), tail);
#ifdef MADV_HUGEPAGE
    madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE); // a hint only
#endif
    return aligned;
}

struct Region {
    std::uintptr_t start;
    std::size_t size;
};

void unmapAll(const std::vector<Region>& regions) {
    for (const Region& r : regions)
        munmap(reinterpret_cast<void*>(r.start), r.size);
}

// The freed blocks of the open calculations, by address, neighbours joined.
class Arena {
  public:
    // A block of `size` bytes (a multiple of kHugePageBytes): a free region
    // that holds it, else a fresh mapping filled with free regions.
    std::uintptr_t take(std::size_t size) {
        std::vector<Region> excess;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (scopes_ > 0 && freeBytes_ > 0) {
                auto best = free_.end();
                for (auto it = free_.begin(); it != free_.end(); ++it)
                    if (it->second >= size && (best == free_.end() || it->second < best->second))
                        best = it;
                if (best != free_.end()) {
                    const Region r{best->first, best->second};
                    free_.erase(best);
                    freeBytes_ -= r.size;
                    if (r.size > size) insert(r.start + size, r.size - size);
                    return r.start;
                }
                const std::uintptr_t block = mapFresh(size);
                std::size_t filled = 0;
                while (filled < size && !free_.empty()) {
                    const auto largest = std::max_element(
                        free_.begin(), free_.end(),
                        [](const auto& x, const auto& y) { return x.second < y.second; });
                    const Region r{largest->first, largest->second};
                    const std::size_t moved = std::min(r.size, size - filled);
                    void* to = mremap(reinterpret_cast<void*>(r.start), moved, moved,
                                      MREMAP_MAYMOVE | MREMAP_FIXED,
                                      reinterpret_cast<void*>(block + filled));
                    if (to == MAP_FAILED) break; // the rest of the block stays fresh
                    free_.erase(largest);
                    freeBytes_ -= r.size;
                    if (r.size > moved) insert(r.start + moved, r.size - moved);
                    filled += moved;
                }
                return block;
            }
            if (freeBytes_ > 0) excess = drain();
        }
        unmapAll(excess);
        return mapFresh(size);
    }

    void give(std::uintptr_t start, std::size_t size) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (scopes_ > 0) {
                insert(start, size);
                return;
            }
        }
        munmap(reinterpret_cast<void*>(start), size);
    }

    void open() {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++scopes_;
    }

    void close() {
        std::vector<Region> all;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (--scopes_ == 0) all = drain();
        }
        unmapAll(all);
    }

    void release() {
        std::vector<Region> all;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            all = drain();
        }
        unmapAll(all);
    }

    // Moves kept regions, largest first, onto the whole pages of
    // [first, last), which replaces whatever was mapped there.
    void lendTo(std::uintptr_t first, std::uintptr_t last) {
        const std::lock_guard<std::mutex> lock(mutex_);
        while (first < last && !free_.empty()) {
            const auto largest =
                std::max_element(free_.begin(), free_.end(),
                                 [](const auto& x, const auto& y) { return x.second < y.second; });
            const Region r{largest->first, largest->second};
            const std::size_t moved = std::min(r.size, last - first);
            void* to = mremap(reinterpret_cast<void*>(r.start), moved, moved,
                              MREMAP_MAYMOVE | MREMAP_FIXED, reinterpret_cast<void*>(first));
            if (to == MAP_FAILED) return; // the rest stays as it was
            free_.erase(largest);
            freeBytes_ -= r.size;
            if (r.size > moved) insert(r.start + moved, r.size - moved);
            first += moved;
        }
    }

    std::size_t kept() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return freeBytes_;
    }

  private:
    void insert(std::uintptr_t start, std::size_t size) {
        freeBytes_ += size;
        auto next = free_.lower_bound(start);
        if (next != free_.end() && next->first == start + size) {
            size += next->second;
            next = free_.erase(next);
        }
        if (next != free_.begin()) {
            const auto before = std::prev(next);
            if (before->first + before->second == start) {
                before->second += size;
                return;
            }
        }
        free_.emplace_hint(next, start, size);
    }

    std::vector<Region> drain() {
        std::vector<Region> all;
        for (const auto& [start, size] : free_)
            all.push_back({start, size});
        free_.clear();
        freeBytes_ = 0;
        return all;
    }

    std::mutex mutex_;
    int scopes_ = 0;
    std::map<std::uintptr_t, std::size_t> free_;
    std::size_t freeBytes_ = 0;
};

Arena& arena() {
    static Arena* a = new Arena; // never destroyed: blocks may be freed at exit
    return *a;
}

} // namespace

void* mapLarge(std::size_t bytes) {
    return reinterpret_cast<void*>(arena().take(roundUp(bytes, kHugePageBytes)));
}

void unmapLarge(void* p, std::size_t bytes) noexcept {
    arena().give(reinterpret_cast<std::uintptr_t>(p), roundUp(bytes, kHugePageBytes));
}

MemoryScope::MemoryScope() {
    arena().open();
}

MemoryScope::~MemoryScope() {
    arena().close();
}

std::size_t MemoryScope::kept() {
    return arena().kept();
}

void MemoryScope::release() {
    arena().release();
}

void MemoryScope::lendKept(void* p, std::size_t bytes) {
    const auto start = reinterpret_cast<std::uintptr_t>(p);
    arena().lendTo(roundUp(start, kPageBytes), (start + bytes) / kPageBytes * kPageBytes);
}

void prefault(void* p, std::size_t bytes, const CancelCheck* cancel) {
#ifdef MADV_POPULATE_WRITE
    const auto start = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t first = roundUp(start, kPageBytes);
    const std::uintptr_t last = (start + bytes) / kPageBytes * kPageBytes;
    if (last <= first) return;
    const std::size_t pages = (last - first) / kPageBytes;
    par::forChunks(pages, kPrefaultPages, 1, [&](std::size_t from, std::size_t to) {
        // Fails harmlessly on a system without it: the pages then come
        // in as they are written.
        madvise(reinterpret_cast<void*>(first + from * kPageBytes), (to - from) * kPageBytes,
                MADV_POPULATE_WRITE);
        poll(cancel);
    });
#else
    (void)p;
    (void)bytes;
    (void)cancel;
#endif
}

void WordsDeleter::operator()(std::uint64_t* p) const noexcept {
    if (bytes)
        unmapLarge(p, bytes);
    else
        std::free(p);
}

WordBuffer allocateWords(std::size_t n) {
    const std::size_t bytes = std::max<std::size_t>(n, 1) * sizeof(std::uint64_t);
    if (bytes >= kLargeBytes)
        return WordBuffer(static_cast<std::uint64_t*>(mapLarge(bytes)), WordsDeleter{bytes});
    void* p = std::malloc(bytes);
    if (!p) throw std::bad_alloc();
    return WordBuffer(static_cast<std::uint64_t*>(p));
}

} // namespace longhand::fast
