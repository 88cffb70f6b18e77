// Asking a cancellation check from the threads of one calculation, and
// adding up the work its parts have done.
#include "cancel.h"

#include "thresholds.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace longhand::fast {

bool CancelCheck::stopRequested() const {
    const CancelCheck& root = *root_;
    if (root.stopped_.load(std::memory_order_acquire)) return true;
    // Another thread is asking: its answer stops the calculation if need
    // be, and this one hears it at its next poll. The acquire and release
    // order each call of the stop function after the one before.
    if (root.asking_.exchange(true, std::memory_order_acquire)) return false;
    const bool stop = root.stop_();
    if (stop) root.stopped_.store(true, std::memory_order_release);
    root.asking_.store(false, std::memory_order_release);
    return stop;
}

void CancelCheck::advance(double share) const {
    if (!(share > 0)) return;
    if (!parent_) {
        const std::lock_guard<std::mutex> lock(reporting_);
        const double before = done_.load(std::memory_order_relaxed);
        const double after = std::min(before + share, 1.0);
        if (after <= before) return;
        done_.store(after, std::memory_order_relaxed);
        if (report_) report_(after);
        return;
    }
    double before = done_.load(std::memory_order_relaxed);
    double after = 0;
    do {
        after = std::min(before + share, 1.0);
        if (after <= before) return;
    } while (!done_.compare_exchange_weak(before, after, std::memory_order_relaxed));
    parent_->advance((after - before) * share_);
}

double productWork(double limbs) {
    return limbs > 2 ? limbs * std::log2(limbs) : 1.0;
}

double conversionWork(double limbs) {
    return kConversionUnits * limbs;
}

double divisionWork(double dividendLimbs) {
    return kDivisionProducts * productWork(dividendLimbs);
}

double treeWork(double limbs) {
    return kTreeProducts * productWork(limbs);
}

} // namespace longhand::fast
