// Cancelling a long calculation of the fast arithmetic.
#pragma once

#include <functional>
#include <stdexcept>

namespace longhand::fast {

// Polled between the large steps of the long operations (each product or
// square, quotient block, reciprocal level, level of a product tree or
// power) and inside them: every few milliseconds of work in the
// transforms, the product trees and the schoolbook loops, so that a
// calculation of any size stops soon after the check turns true. The
// polls may come from several threads of one calculation; they take turns,
// so a check need not be safe to call concurrently, but it should be cheap.
// Returning true abandons the operation, which then throws Cancelled;
// nothing it was computing survives. A null pointer (the default
// everywhere) or an empty function is never polled.
using CancelCheck = std::function<bool()>;

class Cancelled : public std::runtime_error {
  public:
    Cancelled() : std::runtime_error("calculation cancelled") {}
};

// What the check says, asked by one thread at a time.
bool cancelRequested(const CancelCheck& check);

// The one place where the fast arithmetic asks whether to stop.
inline void poll(const CancelCheck* cancel) {
    if (cancel && *cancel && cancelRequested(*cancel)) throw Cancelled();
}

} // namespace longhand::fast
