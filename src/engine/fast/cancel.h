// Cancelling a long calculation of the fast arithmetic.
#pragma once

#include <functional>
#include <stdexcept>

namespace longhand::fast {

// Polled between the large steps of the long operations: at each product or
// square, each quotient block and reciprocal level, each level of a product
// tree or power. Returning true abandons the operation, which then throws
// Cancelled; nothing it was computing survives. A null pointer (the
// default everywhere) or an empty function is never polled.
using CancelCheck = std::function<bool()>;

class Cancelled : public std::runtime_error {
  public:
    Cancelled() : std::runtime_error("calculation cancelled") {}
};

inline void poll(const CancelCheck* cancel) {
    if (cancel && *cancel && (*cancel)()) throw Cancelled();
}

} // namespace longhand::fast
