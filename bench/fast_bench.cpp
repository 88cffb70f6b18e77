// Google Benchmark sweep of the fast arithmetic, text in -> text out, over
// 10, 100, ..., 10^6 digits (10^7 for addition), and the kernel crossovers
// used to tune thresholds.h (benchmarks named Cross*).
//
//   build/bench/bin/fast_bench                       the whole sweep
//   build/bench/bin/fast_bench --benchmark_filter=Cross
#include "digits.h"
#include "engine/fast/fast.h"
#include "engine/fast/kernels.h"
#include "engine/fast/ntt_transform.h"

#include <benchmark/benchmark.h>
#include <random>
#include <string>
#include <vector>

namespace {

namespace lf = longhand::fast;

using longhand::bench::digits;

std::vector<lf::Limb> limbs(std::size_t n, std::uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::vector<lf::Limb> v(n);
    for (auto& x : v)
        x = static_cast<lf::Limb>(rng() % lf::kBase);
    return v;
}

void setDigits(benchmark::State& state, std::size_t n) {
    state.counters["digits"] = static_cast<double>(n);
}

void BM_Add(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(n, 1), b = digits(n, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(lf::addDigits(a, b));
    setDigits(state, n);
}
BENCHMARK(BM_Add)->RangeMultiplier(10)->Range(10, 10000000)->Unit(benchmark::kMicrosecond);

void BM_Sub(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(n, 1), b = digits(n - 1, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(lf::subDigits(a, b));
    setDigits(state, n);
}
BENCHMARK(BM_Sub)->RangeMultiplier(10)->Range(10, 10000000)->Unit(benchmark::kMicrosecond);

void BM_Mul(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(n, 1), b = digits(n, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(lf::mulDigits(a, b));
    setDigits(state, n);
}
BENCHMARK(BM_Mul)->RangeMultiplier(10)->Range(10, 1000000)->Unit(benchmark::kMicrosecond);

void BM_Sqr(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(n, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(lf::sqrDigits(a));
    setDigits(state, n);
}
BENCHMARK(BM_Sqr)->RangeMultiplier(10)->Range(10, 1000000)->Unit(benchmark::kMicrosecond);

// 2n digits by n digits, quotient cut to the dividend's length + 1 places as the long
// division drivers compute it.
void BM_Div(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(2 * n, 1), b = digits(n, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(lf::divScaled(a, b, static_cast<std::int64_t>(a.size()) + 1));
    setDigits(state, n);
}
BENCHMARK(BM_Div)->RangeMultiplier(10)->Range(10, 1000000)->Unit(benchmark::kMicrosecond);

// 3^e with e chosen so that the result has about the swept digit count.
void BM_Pow(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto e = static_cast<std::uint64_t>(static_cast<double>(n) / 0.47712125472);
    for (auto _ : state)
        benchmark::DoNotOptimize(lf::powDigits("3", e));
    setDigits(state, n);
}
BENCHMARK(BM_Pow)->RangeMultiplier(10)->Range(10, 1000000)->Unit(benchmark::kMicrosecond);

// n! for n = 10, 100, ..., 10^6.
void BM_Factorial(benchmark::State& state) {
    const auto n = static_cast<std::uint64_t>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(lf::factorialDigits(n));
}
BENCHMARK(BM_Factorial)->RangeMultiplier(10)->Range(10, 1000000)->Unit(benchmark::kMicrosecond);

// C(n, n/2) for n = 10, ..., 10^6.
void BM_Binomial(benchmark::State& state) {
    const auto n = static_cast<std::uint64_t>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(lf::binomialDigits(n, n / 2));
}
BENCHMARK(BM_Binomial)->RangeMultiplier(10)->Range(10, 1000000)->Unit(benchmark::kMicrosecond);

// --- transforms ------------------------------------------------------------------

// One forward and one inverse transform of n points for one prime, n one of
// the allowed lengths: the cost per point of each kind of length, which
// the choice of transform length weighs.
void BM_Transform(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    std::vector<std::uint32_t> a(n);
    std::mt19937_64 rng(3);
    for (auto& x : a)
        x = static_cast<std::uint32_t>(rng() % 700000000);
    for (auto _ : state) {
        lf::ntt::forward(a.data(), n, 0);
        lf::ntt::inverse(a.data(), n, 0);
        benchmark::DoNotOptimize(a.data());
    }
    state.counters["ns_per_point"] =
        benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}
BENCHMARK(BM_Transform)
    ->Arg(1 << 9)
    ->Arg(15 << 5)
    ->Arg(5 << 7)
    ->Arg(3 << 8)
    ->Arg(1 << 12)
    ->Arg(15 << 8)
    ->Arg(5 << 10)
    ->Arg(3 << 11)
    ->Arg(1 << 16)
    ->Arg(15 << 12)
    ->Arg(5 << 14)
    ->Arg(3 << 15)
    ->Arg(1 << 18)
    ->Arg(15 << 14)
    ->Arg(5 << 16)
    ->Arg(3 << 17)
    ->Arg(1 << 21)
    ->Arg(15 << 17)
    ->Arg(5 << 19)
    ->Arg(3 << 20)
    ->Unit(benchmark::kMicrosecond);

// --- kernel crossovers (sizes in limbs) --------------------------------------

// The kernels without their optional arguments, as plain function pointers.
void mulBasecase(lf::Limb* r, const lf::Limb* a, std::size_t na, const lf::Limb* b,
                 std::size_t nb) {
    lf::kern::mulBasecase(r, a, na, b, nb);
}
void mulKaratsuba(lf::Limb* r, const lf::Limb* a, std::size_t na, const lf::Limb* b,
                  std::size_t nb) {
    lf::kern::mulKaratsuba(r, a, na, b, nb);
}
void mulNtt(lf::Limb* r, const lf::Limb* a, std::size_t na, const lf::Limb* b, std::size_t nb) {
    lf::kern::mulNtt(r, a, na, b, nb);
}
void sqrBasecase(lf::Limb* r, const lf::Limb* a, std::size_t n) {
    lf::kern::sqrBasecase(r, a, n);
}
void sqrKaratsuba(lf::Limb* r, const lf::Limb* a, std::size_t n) {
    lf::kern::sqrKaratsuba(r, a, n);
}
void sqrNtt(lf::Limb* r, const lf::Limb* a, std::size_t n) {
    lf::kern::sqrNtt(r, a, n);
}

template <void (*Kernel)(lf::Limb*, const lf::Limb*, std::size_t, const lf::Limb*, std::size_t)>
void BM_CrossMul(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto a = limbs(n, 1), b = limbs(n, 2);
    std::vector<lf::Limb> r(2 * n);
    for (auto _ : state) {
        Kernel(r.data(), a.data(), n, b.data(), n);
        benchmark::DoNotOptimize(r.data());
    }
}
BENCHMARK(BM_CrossMul<mulBasecase>)->DenseRange(32, 256, 16);
BENCHMARK(BM_CrossMul<mulKaratsuba>)->DenseRange(32, 256, 16)->DenseRange(384, 1024, 128);
BENCHMARK(BM_CrossMul<mulNtt>)->DenseRange(48, 256, 16)->DenseRange(384, 1024, 128);

template <void (*Kernel)(lf::Limb*, const lf::Limb*, std::size_t)>
void BM_CrossSqr(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto a = limbs(n, 1);
    std::vector<lf::Limb> r(2 * n);
    for (auto _ : state) {
        Kernel(r.data(), a.data(), n);
        benchmark::DoNotOptimize(r.data());
    }
}
BENCHMARK(BM_CrossSqr<sqrBasecase>)->DenseRange(48, 320, 16);
BENCHMARK(BM_CrossSqr<sqrKaratsuba>)->DenseRange(48, 320, 16)->DenseRange(384, 1024, 128);
BENCHMARK(BM_CrossSqr<sqrNtt>)->DenseRange(48, 320, 16)->DenseRange(384, 1024, 128);

// Division of 2n by n limbs, schoolbook against Newton (through the text
// layer's scaling-free entry).
void BM_CrossDiv(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const std::string a = digits(18 * n, 1), b = digits(9 * n, 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(lf::divDigits(a, b));
}
BENCHMARK(BM_CrossDiv)->DenseRange(32, 256, 32);

// The schoolbook division alone on the same sizes (the limbs of 2n by n
// digits of nines), to set kDivNewtonThreshold against BM_CrossDiv.
void BM_CrossDivSchoolbook(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto v = limbs(n, 2);
    std::vector<lf::Limb> b(v.begin(), v.end());
    b.back() = std::max<lf::Limb>(b.back(), lf::kBase / 2);
    const auto u0 = limbs(2 * n, 1);
    std::vector<lf::Limb> u(2 * n + 1), q(n + 1);
    for (auto _ : state) {
        std::copy(u0.begin(), u0.end(), u.begin());
        u.back() = 0;
        lf::kern::divBasecase(q.data(), u.data(), u.size(), b.data(), n);
        benchmark::DoNotOptimize(q.data());
    }
}
BENCHMARK(BM_CrossDivSchoolbook)->DenseRange(32, 256, 32);

} // namespace

BENCHMARK_MAIN();
