// Google Benchmark of the engine's public operations, text in -> text out,
// over 10, 100, ..., 10^6 digits (10^7 for addition), and the crossovers of
// src/engine/crossovers.h: each operation's digit-by-digit algorithm beside
// its fast path around the threshold (benchmarks named EngineCross*).
//
//   build/bench/bin/engine_bench                                   all
//   build/bench/bin/engine_bench --benchmark_filter=EngineCross
#include "digits.h"
#include "engine/addition.h"
#include "engine/combinatorics.h"
#include "engine/division.h"
#include "engine/factorial.h"
#include "engine/multiply.h"
#include "engine/power.h"
#include "engine/rangeproduct.h"

#include <benchmark/benchmark.h>
#include <random>
#include <string>

namespace {

using namespace longhand;

using longhand::bench::digits;

void setDigits(benchmark::State& state, std::size_t n) {
    state.counters["digits"] = static_cast<double>(n);
}

// ---- the sweep -----------------------------------------------------------

void BM_EngineAdd(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(n, 1), b = digits(n, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(add(a, b));
    setDigits(state, n);
}
BENCHMARK(BM_EngineAdd)->RangeMultiplier(10)->Range(10, 10000000)->Unit(benchmark::kMicrosecond);

void BM_EngineMultiply(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(n, 1), b = digits(n, 2);
    Progress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(multiply(a, b, progress));
    setDigits(state, n);
}
BENCHMARK(BM_EngineMultiply)
    ->RangeMultiplier(10)
    ->Range(10, 1000000)
    ->Unit(benchmark::kMicrosecond);

// 2n digits by n digits: divideLonger with 2n + 1 places.
void BM_EngineDivide(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(2 * n, 1), b = digits(n, 2);
    Progress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(divide(a, b, progress));
    setDigits(state, n);
}
BENCHMARK(BM_EngineDivide)->RangeMultiplier(10)->Range(10, 1000000)->Unit(benchmark::kMicrosecond);

// n digits by n digits: a quotient below 10 with n + 10 places.
void BM_EngineDivideShort(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(n, 1);
    std::string b = digits(n, 2);
    b[0] = '9';
    Progress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(divide(a, b, progress));
    setDigits(state, n);
}
BENCHMARK(BM_EngineDivideShort)
    ->RangeMultiplier(10)
    ->Range(10, 1000000)
    ->Unit(benchmark::kMicrosecond);

// 3^e with about n digits.
void BM_EnginePower(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string e = std::to_string(static_cast<std::uint64_t>(n / 0.47712125472));
    Progress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(power("3", e, progress));
    setDigits(state, n);
}
BENCHMARK(BM_EnginePower)->RangeMultiplier(10)->Range(10, 1000000)->Unit(benchmark::kMicrosecond);

// n! for n = 10, 100, ..., 10^6.
void BM_EngineFactorial(benchmark::State& state) {
    const std::string n = std::to_string(state.range(0));
    Progress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(factorial(n, nullptr, progress));
}
BENCHMARK(BM_EngineFactorial)
    ->RangeMultiplier(10)
    ->Range(10, 1000000)
    ->Unit(benchmark::kMicrosecond);

// C(2n, n).
void BM_EngineCombination(benchmark::State& state) {
    const std::string n = std::to_string(2 * state.range(0)), r = std::to_string(state.range(0));
    Progress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(combinations(n, r, 0, nullptr, progress));
}
BENCHMARK(BM_EngineCombination)
    ->RangeMultiplier(10)
    ->Range(10, 1000000)
    ->Unit(benchmark::kMicrosecond);

// ---- crossovers: argument 0 the size, argument 1 digit by digit (1) or not ----

void crossArgs(benchmark::internal::Benchmark* b, std::initializer_list<int> sizes) {
    for (int n : sizes)
        for (int reference : {1, 0})
            b->Args({n, reference});
}

// The shorter operand's digits, against 2000 digits.
void BM_EngineCrossMultiply(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(n, 1), b = digits(2000, 2);
    Progress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(state.range(1) ? schoolbookProduct(a, b, progress)
                                                : multiplyDigits(a, b, progress));
}
BENCHMARK(BM_EngineCrossMultiply)->Apply([](auto* b) { crossArgs(b, {16, 32, 64, 128, 256}); });

// Quotient digits plus divisor digits, half each (divideLonger).
void BM_EngineCrossDivide(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string b = digits(n / 2, 2), a = digits(n / 2 + n / 4, 1);
    const auto places = static_cast<Count>(n / 4);
    Progress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(state.range(1) ? divideLongerByDigits(a, b, places, progress)
                                                : divideLonger(a, b, places, progress));
}
BENCHMARK(BM_EngineCrossDivide)->Apply([](auto* b) { crossArgs(b, {16, 32, 48, 64, 128}); });

// Digits of 7^e.
void BM_EngineCrossPower(benchmark::State& state) {
    const std::string e = std::to_string(state.range(0) * 1000 / 845);
    Progress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(state.range(1)
                                     ? powerByRepeatedMultiplication("7", std::stoull(e), progress)
                                     : power("7", e, progress).text);
}
BENCHMARK(BM_EngineCrossPower)->Apply([](auto* b) { crossArgs(b, {8, 16, 32, 64, 128}); });

// Factors in the run 1000 ... 999 + count.
void BM_EngineCrossRangeProduct(benchmark::State& state) {
    const std::string last = std::to_string(999 + state.range(0));
    Progress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            state.range(1)
                ? batchedProduct(1000, static_cast<double>(999 + state.range(0)), progress)
                : rangeProduct(last, "1", "999", progress).text);
}
BENCHMARK(BM_EngineCrossRangeProduct)->Apply([](auto* b) { crossArgs(b, {8, 16, 24, 48, 96}); });

// Digits of both operands.
void BM_EngineCrossAdd(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(n, 1), b = digits(n, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(state.range(1) ? digitSum(a, b) : add(a, b));
}
BENCHMARK(BM_EngineCrossAdd)->Apply([](auto* b) { crossArgs(b, {16, 32, 64, 128, 256}); });

// ---- the machine-integer paths: argument the digits of each operand ----
//
// Up to kShortAddDigits, kShortSubDigits and kShortMultiplyDigits
// (crossovers.h) both operands are worked as 64-bit integers; a digit
// longer, by the digit loops.

void BM_EngineShortAdd(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(n, 1), b = digits(n, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(add(a, b));
}
BENCHMARK(BM_EngineShortAdd)->DenseRange(13, 20);

void BM_EngineShortSubtract(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(n, 1), b = digits(n, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(subtract(a, b));
}
BENCHMARK(BM_EngineShortSubtract)->DenseRange(13, 20);

void BM_EngineShortMultiply(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(n, 1), b = digits(n, 2);
    Progress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(multiply(a, b, progress));
}
BENCHMARK(BM_EngineShortMultiply)->DenseRange(6, 10);

} // namespace

BENCHMARK_MAIN();
