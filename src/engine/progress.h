// The one thing that reaches into a running calculation: the caller asks it
// to stop, and the calculation says how far it has come. The caller cancels
// and reads from its thread while the calculation polls and reports from
// its own (and from the threads of the pool it works on), so both sides
// are atomic.
#pragma once

#include "fast/cancel.h"

#include <algorithm>
#include <atomic>

namespace longhand {

class Progress {
  public:
    Progress() = default;
    virtual ~Progress() = default;
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Asks the calculation to stop; it gives up at its next poll, and
    // whatever it was computing is thrown away.
    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return cancelled_.load(std::memory_order_relaxed); }

    // The share of the current stage's work done, 0 to 1, where the
    // calculation can tell it. The share shown never goes back: a report
    // below an earlier one is not heard.
    void report(double fraction) {
        const double from = from_.load(std::memory_order_relaxed);
        const double to = to_.load(std::memory_order_relaxed);
        const double overall = from + std::clamp(fraction, 0.0, 1.0) * (to - from);
        heard(overall);
        double seen = fraction_.load(std::memory_order_relaxed);
        while (overall > seen &&
               !fraction_.compare_exchange_weak(seen, overall, std::memory_order_relaxed)) {
        }
    }
    // The share of the whole calculation reported; below 0 while none has
    // been.
    double fraction() const { return fraction_.load(std::memory_order_relaxed); }

    // A step of a calculation made of several: while it lives, the shares
    // reported are shares of the work from `from` to `to` (shares of the
    // stage around it), so that each step can measure its own work from 0
    // to 1. Set and ended on the calculation's own thread, between the
    // steps; when it ends, its work is done.
    class Stage {
      public:
        Stage(Progress& progress, double from, double to)
            : progress_(progress), from_(progress.from_.load(std::memory_order_relaxed)),
              to_(progress.to_.load(std::memory_order_relaxed)) {
            const double width = to_ - from_;
            progress.from_.store(from_ + from * width, std::memory_order_relaxed);
            progress.to_.store(from_ + to * width, std::memory_order_relaxed);
        }
        ~Stage() {
            progress_.report(1.0);
            progress_.from_.store(from_, std::memory_order_relaxed);
            progress_.to_.store(to_, std::memory_order_relaxed);
        }
        Stage(const Stage&) = delete;
        Stage& operator=(const Stage&) = delete;

      private:
        Progress& progress_;
        double from_, to_;
    };

    // The fast arithmetic's cancellation check, polling this token and
    // reporting the share of its work to it.
    fast::CancelCheck cancelCheck() {
        return fast::CancelCheck([this] { return cancelled(); },
                                 [this](double share) { report(share); });
    }

  protected:
    // Each share of the whole calculation as reported, before the bar
    // drops any that would take it back.
    virtual void heard(double /*overall*/) {}

  private:
    std::atomic<bool> cancelled_{false};
    std::atomic<double> fraction_{-1};
    std::atomic<double> from_{0}, to_{1};
};

} // namespace longhand
