// How soon the long operations stop once cancelled. BM_CancelLatency: the
// fast arithmetic's operations; each run starts the operation on a thread
// of its own, turns the check true after the delay given as the argument
// (milliseconds), and times the moment from then until Cancelled reaches
// the thread. BM_EngineCancel: the engine's operations as the windows'
// worker calls them, from Progress::cancel() until the operation has
// returned (its own steps after the fast arithmetic gave up included).
// The reported time is that latency (the largest of the runs in the
// "max_ms" counter); runs that finished before the delay count as
// "finished".
//
//   build/bench/bin/cancel_bench
//   LONGHAND_THREADS=1 build/bench/bin/cancel_bench
//   build/bench/bin/cancel_bench --benchmark_filter=Engine
#include "digits.h"
#include "engine/combinatorics.h"
#include "engine/factorial.h"
#include "engine/fast/fast.h"
#include "engine/operations.h"
#include "engine/power.h"
#include "engine/progress.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <thread>

namespace {

namespace lf = longhand::fast;
using Clock = std::chrono::steady_clock;

using longhand::bench::digits;

const std::string& operand(int which) {
    static const std::string a = digits(10000000, 1), b = digits(10000000, 2),
                             c = digits(2000000, 3);
    return which == 0 ? a : which == 1 ? b : c;
}

// The operands of the longest products, made on first use.
const std::string& hugeOperand(int which) {
    static const std::string a = digits(100000000, 4), b = digits(100000000, 5);
    return which == 0 ? a : b;
}

using Work = std::function<void(const lf::CancelCheck*)>;

void BM_CancelLatency(benchmark::State& state, Work work) {
    const auto delay = std::chrono::milliseconds(state.range(0));
    for (int i = 0; i < 3; ++i)
        operand(i); // made before any clock runs
    double worst = 0, finished = 0;
    for (auto _ : state) {
        std::atomic<bool> stop{false};
        const lf::CancelCheck check = [&stop] { return stop.load(std::memory_order_relaxed); };
        std::atomic<Clock::rep> stoppedAt{0};
        std::thread runner([&] {
            try {
                work(&check);
            } catch (const lf::Cancelled&) {
                stoppedAt = Clock::now().time_since_epoch().count();
            }
        });
        std::this_thread::sleep_for(delay);
        const Clock::time_point asked = Clock::now();
        stop = true;
        runner.join();
        double latency = 0;
        if (stoppedAt.load() == 0)
            ++finished;
        else
            latency = std::chrono::duration<double>(Clock::duration(stoppedAt.load()) -
                                                    asked.time_since_epoch())
                          .count();
        worst = std::max(worst, latency);
        state.SetIterationTime(latency);
    }
    state.counters["max_ms"] = worst * 1000;
    state.counters["finished"] = finished;
}

void delays(benchmark::internal::Benchmark* b) {
    b->Arg(10)->Arg(60)->Arg(250)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_CancelLatency, mul_1e7_digits, [](const lf::CancelCheck* c) {
    lf::mulDigits(operand(0), operand(1), c);
})->Apply(delays);
BENCHMARK_CAPTURE(BM_CancelLatency, div_2e7_by_2e6_digits, [](const lf::CancelCheck* c) {
    lf::divScaled(operand(0), operand(2), 10000000, c);
})->Apply(delays);
BENCHMARK_CAPTURE(BM_CancelLatency, pow_7_1e8, [](const lf::CancelCheck* c) {
    lf::powDigits("7", 100000000, c);
})->Apply(delays);
BENCHMARK_CAPTURE(BM_CancelLatency, factorial_1e7, [](const lf::CancelCheck* c) {
    lf::factorialDigits(10000000, c);
})->Apply(delays);
BENCHMARK_CAPTURE(BM_CancelLatency, binomial_4e6_2e6, [](const lf::CancelCheck* c) {
    lf::binomialDigits(4000000, 2000000, c);
})->Apply(delays);
BENCHMARK_CAPTURE(BM_CancelLatency, range_1e6_to_3e6, [](const lf::CancelCheck* c) {
    lf::rangeProductDigits(1000000, 3000000, c);
})->Apply(delays);

using EngineWork = std::function<void(longhand::Progress&)>;

void BM_EngineCancel(benchmark::State& state, EngineWork work) {
    const auto delay = std::chrono::milliseconds(state.range(0));
    for (int i = 0; i < 3; ++i)
        operand(i);
    hugeOperand(0);
    hugeOperand(1);
    double worst = 0, finished = 0;
    for (auto _ : state) {
        longhand::Progress progress;
        std::atomic<Clock::rep> returnedAt{0};
        std::thread runner([&] {
            work(progress);
            returnedAt = Clock::now().time_since_epoch().count();
        });
        std::this_thread::sleep_for(delay);
        const Clock::time_point asked = Clock::now();
        const bool early = returnedAt.load() != 0;
        progress.cancel();
        runner.join();
        double latency = 0;
        if (early)
            ++finished;
        else
            latency =
                std::max(0.0, std::chrono::duration<double>(Clock::duration(returnedAt.load()) -
                                                            asked.time_since_epoch())
                                  .count());
        worst = std::max(worst, latency);
        state.SetIterationTime(latency);
    }
    state.counters["max_ms"] = worst * 1000;
    state.counters["finished"] = finished;
}

void engineDelays(benchmark::internal::Benchmark* b) {
    b->Arg(10)->Arg(100)->Arg(400)->Arg(1500)->UseManualTime()->Iterations(3)->Unit(
        benchmark::kMillisecond);
}

namespace lh = longhand;

BENCHMARK_CAPTURE(BM_EngineCancel, multiply_1e7_digits, [](lh::Progress& p) {
    lh::calculate(lh::Operation::Multiply, operand(0), operand(1), p);
})->Apply(engineDelays);
BENCHMARK_CAPTURE(BM_EngineCancel, multiply_1e8_digits, [](lh::Progress& p) {
    lh::calculate(lh::Operation::Multiply, hugeOperand(0), hugeOperand(1), p);
})->Apply(engineDelays);
BENCHMARK_CAPTURE(BM_EngineCancel, divide_1e7_by_2e6_digits, [](lh::Progress& p) {
    lh::calculate(lh::Operation::Divide, operand(0), operand(2), p);
})->Apply(engineDelays);
BENCHMARK_CAPTURE(BM_EngineCancel, divide_1e8_by_1e7_digits, [](lh::Progress& p) {
    lh::calculate(lh::Operation::Divide, hugeOperand(0), operand(1), p);
})->Apply(engineDelays);
BENCHMARK_CAPTURE(BM_EngineCancel, power_7_1e8, [](lh::Progress& p) {
    lh::power("7", "100000000", p);
})->Apply(engineDelays);
BENCHMARK_CAPTURE(BM_EngineCancel, factorial_1e7, [](lh::Progress& p) {
    lh::factorial("10000000", nullptr, p);
})->Apply(engineDelays);
BENCHMARK_CAPTURE(BM_EngineCancel, combination_4e6_2e6, [](lh::Progress& p) {
    lh::combinations("4000000", "2000000", 0, nullptr, p);
})->Apply(engineDelays);
BENCHMARK_CAPTURE(BM_EngineCancel, permutation_3e6_2e6, [](lh::Progress& p) {
    lh::permutations("3000000", "2000000", 0, nullptr, p);
})->Apply(engineDelays);

} // namespace

BENCHMARK_MAIN();
