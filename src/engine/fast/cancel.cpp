// Asking a cancellation check from the threads of one calculation, and
// adding up the work its parts have done.
#include "cancel.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace longhand::fast {

bool cancelRequested(const CancelCheck& check) {
    static std::mutex turns;
    const std::lock_guard<std::mutex> lock(turns);
    return check();
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

namespace {

// Units of work a limb's text costs to read or write, against one
// butterfly of a transform.
constexpr double kConversionUnits = 4.0;
// Products of the dividend's size a long division costs: the reciprocal
// and two products a block.
constexpr double kDivisionProducts = 3.0;
// Top products a product tree or a power costs in all.
constexpr double kTreeProducts = 2.0;

} // namespace

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
