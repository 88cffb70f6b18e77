// Memory running out, on demand: while a FailLargeAllocations lives, every
// allocation through operator new of at least its size throws
// std::bad_alloc, on every thread, as it would on a machine whose memory is
// used up. Small allocations go on working, as they do there.
//
// A test program that uses it links alloc_failure.cpp, which replaces the
// global operator new and delete (plain malloc and free). Qt's own
// containers allocate with malloc and are not affected.
#pragma once

#include <cstddef>

namespace longhand::test {

class FailLargeAllocations {
  public:
    explicit FailLargeAllocations(std::size_t bytes);
    ~FailLargeAllocations();
    FailLargeAllocations(const FailLargeAllocations&) = delete;
    FailLargeAllocations& operator=(const FailLargeAllocations&) = delete;

    // Allocations refused since this one began.
    std::size_t refused() const;

  private:
    std::size_t refusedBefore_;
};

} // namespace longhand::test
