// A factorial keeper in memory, for the engine's tests: the factorials it
// starts with, and what the work hands back to it.
#pragma once

#include "engine/factorial.h"
#include "support/gmp.h"

#include <map>
#include <string>
#include <vector>

namespace longhand::test {

class MemoryKeeper final : public FactorialKeeper {
  public:
    // Keeps k! (by GMP) for every k in `keys`.
    explicit MemoryKeeper(std::initializer_list<unsigned long> keys) {
        for (unsigned long k : keys)
            kept_[k] = gmpFactorial(k);
    }

    Start largestAtMost(std::string_view n, Progress&) override {
        const unsigned long value = std::stoul(std::string(n));
        Start start;
        auto above = kept_.upper_bound(value);
        start.beyond = above == kept_.end();
        if (above != kept_.begin()) {
            --above;
            start.from = {std::to_string(above->first), above->second};
        }
        return start;
    }
    void keep(KeptFactorial computed) override { handedBack.push_back(std::move(computed)); }

    // Replaces k!'s digits, as a damaged store would give them.
    void set(unsigned long k, std::string value) { kept_[k] = std::move(value); }

    std::vector<KeptFactorial> handedBack;

  private:
    std::map<unsigned long, std::string> kept_;
};

} // namespace longhand::test
