// The one thing that reaches into a running calculation: the caller asks it
// to stop, and the calculation says how far it has come. The caller cancels
// and reads from its thread while the calculation polls and reports from
// its own, so both sides are atomic.
#pragma once

#include "fast/cancel.h"

#include <atomic>

namespace longhand {

class Progress {
  public:
    Progress() = default;
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Asks the calculation to stop; it gives up at its next poll, and
    // whatever it was computing is thrown away.
    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

    // The share of the work done, 0 to 1, where the calculation can tell it.
    void report(double fraction) { fraction_.store(fraction, std::memory_order_relaxed); }
    // The last share reported; below 0 while none has been.
    double fraction() const { return fraction_.load(std::memory_order_relaxed); }

    // The fast arithmetic's cancellation check, polling this token.
    fast::CancelCheck cancelCheck() const {
        return [this] { return cancelled(); };
    }

  private:
    std::atomic<bool> cancelled_{false};
    std::atomic<double> fraction_{-1};
};

} // namespace longhand
