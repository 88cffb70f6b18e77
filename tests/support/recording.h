// Test doubles that keep the shares of work a calculation reports, in the
// order it reports them.
#pragma once

#include "engine/progress.h"

#include <mutex>
#include <vector>

namespace longhand::test {

// Shares as a progress bar hears them.
class Shares {
  public:
    void add(double share) {
        const std::lock_guard<std::mutex> lock(mutex_);
        shares_.push_back(share);
    }
    std::vector<double> all() const {
        const std::lock_guard<std::mutex> lock(mutex_);
        return shares_;
    }

  private:
    mutable std::mutex mutex_;
    std::vector<double> shares_;
};

// A Progress that keeps every share of the whole calculation reported.
class RecordingProgress : public Progress {
  public:
    std::vector<double> shares() const { return heard_.all(); }

  protected:
    void heard(double overall) override { heard_.add(overall); }

  private:
    Shares heard_;
};

// A cancellation check of the fast arithmetic that never stops and keeps
// the shares it is told.
class RecordingCheck {
  public:
    const fast::CancelCheck* get() const { return &check_; }
    std::vector<double> shares() const { return heard_.all(); }

  private:
    Shares heard_;
    fast::CancelCheck check_{[] { return false; }, [this](double share) { heard_.add(share); }};
};

} // namespace longhand::test
