// The working memory that the products of one long operation share.
#include "natural.h"

#include <mutex>
#include <vector>

namespace longhand::fast {

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
        std::vector<Pool::Block> unfit; // freed outside the lock
        {
            const std::lock_guard<std::mutex> lock(pool.mutex);
            auto best = pool.free.end();
            for (auto it = pool.free.begin(); it != pool.free.end(); ++it)
                if (it->size >= n && (best == pool.free.end() || it->size < best->size)) best = it;
            // A buffer more than twice as large would keep memory that the
            // rest of the operation no longer needs.
            if (best != pool.free.end() && best->size / 2 <= n) {
                buf_ = std::move(best->buf);
                size_ = best->size;
                pool.free.erase(best);
                return;
            }
            unfit.swap(pool.free);
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
