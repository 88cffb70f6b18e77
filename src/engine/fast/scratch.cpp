// The working memory that the products of one long operation share.
#include "natural.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <new>
#include <sys/mman.h>
#include <vector>

namespace longhand::fast {

namespace {

// Buffers from this size up are aligned to 2 MiB huge pages.
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
constexpr std::size_t kLargeBytes = 2 * kHugePageBytes;

} // namespace

void WordsDeleter::operator()(std::uint64_t* p) const noexcept {
    std::free(p);
}

WordBuffer allocateWords(std::size_t n) {
    const std::size_t bytes = std::max<std::size_t>(n, 1) * sizeof(std::uint64_t);
    void* p = nullptr;
    if (bytes >= kLargeBytes) {
        const std::size_t rounded = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
        p = std::aligned_alloc(kHugePageBytes, rounded);
#ifdef MADV_HUGEPAGE
        if (p) madvise(p, rounded, MADV_HUGEPAGE); // a hint: refused, nothing changes
#endif
    } else {
        p = std::malloc(bytes);
    }
    if (!p) throw std::bad_alloc();
    return WordBuffer(static_cast<std::uint64_t*>(p));
}

struct Scratch::Pool {
    struct Block {
        WordBuffer buf;
        std::size_t size;
    };
    std::mutex mutex;
    std::vector<Block> free;
};

Scratch::Scratch() : pool_(std::make_unique<Pool>()) {}

Scratch::~Scratch() = default;

std::uint64_t* Scratch::words(std::size_t n) {
    if (n > size_) {
        buf_.reset();
        buf_ = allocateWords(n);
        size_ = n;
    }
    return buf_.get();
}

Scratch::Lease::Lease(Scratch* owner, std::size_t n) : owner_(owner), size_(n) {
    if (owner) {
        Pool& pool = *owner->pool_;
        std::vector<Pool::Block> smaller; // freed outside the lock
        {
            const std::lock_guard<std::mutex> lock(pool.mutex);
            auto best = pool.free.end();
            for (auto it = pool.free.begin(); it != pool.free.end(); ++it)
                if (it->size >= n && (best == pool.free.end() || it->size < best->size)) best = it;
            if (best != pool.free.end()) {
                buf_ = std::move(best->buf);
                size_ = best->size;
                pool.free.erase(best);
                return;
            }
            smaller.swap(pool.free);
        }
    }
    buf_ = allocateWords(n);
}

Scratch::Lease::~Lease() {
    if (!owner_ || !buf_) return;
    Pool& pool = *owner_->pool_;
    const std::lock_guard<std::mutex> lock(pool.mutex);
    pool.free.push_back({std::move(buf_), size_});
}

} // namespace longhand::fast
