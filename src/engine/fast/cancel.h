// Cancelling a long calculation of the fast arithmetic, and hearing how far
// it has come.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace longhand::fast {

// Polled between the large steps of the long operations (each product or
// square, quotient block, reciprocal level, level of a product tree or
// power) and inside them: every few milliseconds of work in the
// transforms, the product trees, the schoolbook loops and the text
// conversions, so that a calculation of any size stops soon after the check
// turns true. The polls may come from several threads of one calculation;
// one of them asks the stop function while the others go on without
// waiting (the asking one stops the calculation if need be), so the stop
// function is never called concurrently and should be cheap. Once it has
// said stop, every later poll says so without asking again. Returning true abandons the
// operation, which then throws Cancelled; nothing it was computing
// survives. A null pointer (the default everywhere) or a check without a
// stop function is never polled.
//
// The same object measures the work: a step that knows its own structure
// (the passes of a transform product, the pieces of an unbalanced product,
// the levels of a product tree, the steps of a Newton division) hands each
// part of its work a part() of its check, sized by that part's estimated
// cost, and says advance() as it goes. A part's advances count for its
// share of the whole; whatever a part has not told by the time it is done
// is added by finish(). The root then holds the share of the whole work
// done, which only grows, and passes it to its report function, one call
// at a time and in order. Parts may advance from several threads at once
// (atomics; a lock at the root only, taken once a step).
class CancelCheck {
  public:
    using Report = std::function<void(double)>;

    CancelCheck() = default;
    // A root check: stop() says whether to give up, report(share) hears
    // the share of the work done so far (0 to 1, never smaller than before).
    template <class Stop>
    requires std::is_invocable_r_v<bool, Stop&>
    CancelCheck(Stop stop, Report report = {}) // implicit: a lambda is a check
        : stop_(std::move(stop)), report_(std::move(report)) {}
    CancelCheck(const CancelCheck&) = delete;
    CancelCheck& operator=(const CancelCheck&) = delete;

    explicit operator bool() const { return static_cast<bool>(root_->stop_); }
    bool operator()() const { return root_->stop_(); }

    // The poll of the fast arithmetic: lock-free, and never more than one
    // thread inside the stop function at a time (see above).
    bool stopRequested() const;

    // A check for a part of this one's work, worth `share` of it. It stops
    // when this one does; it must not outlive this one.
    CancelCheck part(double share) const { return CancelCheck(*this, share); }

    // Another `share` of this check's work is done (the total is kept at
    // most 1).
    void advance(double share) const;
    // All of this check's work is done.
    void finish() const { advance(1.0); }

  private:
    CancelCheck(const CancelCheck& parent, double share)
        : root_(parent.root_), parent_(&parent), share_(share) {}

    std::function<bool()> stop_;
    Report report_;
    const CancelCheck* root_ = this;
    const CancelCheck* parent_ = nullptr;
    double share_ = 1.0;                                       // of the parent's work
    mutable std::atomic<double> done_{0};                      // of this check's work
    mutable std::mutex reporting_;                             // the root's: its reports in order
    mutable std::atomic<bool> asking_{false}, stopped_{false}; // the root's
};

class Cancelled : public std::runtime_error {
  public:
    Cancelled() : std::runtime_error("calculation cancelled") {}
};

// The one place where the fast arithmetic asks whether to stop.
inline void poll(const CancelCheck* cancel) {
    if (cancel && *cancel && cancel->stopRequested()) throw Cancelled();
}

// The measuring calls of a check that may be absent.
inline void advance(const CancelCheck* cancel, double share) {
    if (cancel) cancel->advance(share);
}
inline void finish(const CancelCheck* cancel) {
    if (cancel) cancel->finish();
}
inline CancelCheck partOf(const CancelCheck* cancel, double share) {
    if (cancel) return cancel->part(share);
    return CancelCheck();
}

// The estimated costs the shares of the long operations are weighed by, in
// one unit: a product with an n-limb result costs about n log n (its
// transforms); reading or writing the text of n limbs, a few units a limb;
// a long quotient, a few products of its size; a product tree or a power
// with an n-limb result, about two of its top products.
double productWork(double limbs);
double conversionWork(double limbs);
double divisionWork(double dividendLimbs);
double treeWork(double limbs);

} // namespace longhand::fast
