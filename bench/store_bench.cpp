// Google Benchmark of the factorial store: lookups in a store of 10,000
// records (1! to 10000!, about 168 MB), which stop at their record, beside
// the reads that go through the whole file; a lookup of 10^6! (5.6 million
// digits) beside the two halves of its proof, n! modulo the primes and the
// digits modulo the primes, which are all the proof adds to the reading.
//
//   build/bench/bin/store_bench
//
// The store is written once into a temporary folder (LONGHAND_BENCH_DIR, or
// the system's temporary folder) and removed at the end.
#include "engine/factorial.h"
#include "engine/multiply.h"
#include "store/factorialproof.h"
#include "store/factorialstore.h"
#include "store/filestore.h"
#include "store/storekeeper.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace longhand;

constexpr int kStoreRecords = 10000;

// The store 1! .. kStoreRecords!, written on first use.
class BenchStore {
  public:
    static const BenchStore& get() {
        static const BenchStore store;
        return store;
    }
    ~BenchStore() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& path() const { return path_; }
    std::uintmax_t bytes() const { return std::filesystem::file_size(path_); }

  private:
    BenchStore() {
        const char* base = std::getenv("LONGHAND_BENCH_DIR");
        dir_ = std::filesystem::path(base ? base : std::filesystem::temp_directory_path()) /
               ("longhand-store-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / kFacDataFileName).string();
        AtomicFile out(path_);
        Progress progress;
        std::string factorial = "1";
        for (int n = 1; n <= kStoreRecords; ++n) {
            factorial = multiply(factorial, std::to_string(n), progress);
            if (n > 1) out.write("\r\n");
            out.write(std::to_string(n) + ",\"" + factorial + "\"");
        }
        if (!out.commit()) std::abort();
    }

    std::filesystem::path dir_;
    std::string path_;
};

void setStore(benchmark::State& state, const BenchStore& store) {
    state.counters["store MB"] = static_cast<double>(store.bytes()) / 1e6;
}

// n! read through the store, as the function dialog asks for it: the
// lookup and the store's follow-up.
void BM_StoreFactorialHit(benchmark::State& state) {
    const BenchStore& store = BenchStore::get();
    FactorialStore kept(store.path());
    const std::string n = std::to_string(state.range(0));
    Progress progress;
    for (auto _ : state) {
        StoreKeeper keeper(kept);
        Outcome outcome = factorial(n, &keeper, progress);
        benchmark::DoNotOptimize(keeper.finish());
        benchmark::DoNotOptimize(outcome);
    }
    setStore(state, store);
}
BENCHMARK(BM_StoreFactorialHit)->Arg(20)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_StoreLookup(benchmark::State& state) {
    const BenchStore& store = BenchStore::get();
    const FactorialStore lookups(store.path());
    const std::string n = std::to_string(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(lookups.lookup(n));
    setStore(state, store);
}
BENCHMARK(BM_StoreLookup)->Arg(20)->Arg(10001)->Unit(benchmark::kMillisecond);

void BM_StoreLastKey(benchmark::State& state) {
    const BenchStore& store = BenchStore::get();
    const FactorialStore reader(store.path());
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.lastKey());
    setStore(state, store);
}
BENCHMARK(BM_StoreLastKey)->Unit(benchmark::kMillisecond);

void BM_StoreLargestKey(benchmark::State& state) {
    const BenchStore& store = BenchStore::get();
    const FactorialStore reader(store.path());
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.largestKey());
    setStore(state, store);
}
BENCHMARK(BM_StoreLargestKey)->Unit(benchmark::kMillisecond);

constexpr std::uint64_t kMillion = 1000000;

// 1! and 10^6!, written on first use.
class MillionStore {
  public:
    static const MillionStore& get() {
        static const MillionStore store;
        return store;
    }
    ~MillionStore() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& path() const { return path_; }
    const std::string& value() const { return value_; }

  private:
    MillionStore() {
        const char* base = std::getenv("LONGHAND_BENCH_DIR");
        dir_ = std::filesystem::path(base ? base : std::filesystem::temp_directory_path()) /
               ("longhand-million-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / kFacDataFileName).string();
        Progress progress;
        value_ = factorial(std::to_string(kMillion), nullptr, progress).text;
        AtomicFile out(path_);
        out.write("1,\"1\"\r\n" + std::to_string(kMillion) + ",\"" + value_ + "\"");
        if (!out.commit()) std::abort();
    }

    std::filesystem::path dir_;
    std::string path_;
    std::string value_;
};

// The whole lookup of 10^6!, its proof included.
void BM_StoreLookupMillion(benchmark::State& state) {
    const MillionStore& store = MillionStore::get();
    const FactorialStore lookups(store.path());
    for (auto _ : state)
        benchmark::DoNotOptimize(lookups.lookup(std::to_string(kMillion)));
    state.counters["digits"] = static_cast<double>(store.value().size());
}
BENCHMARK(BM_StoreLookupMillion)->Unit(benchmark::kMillisecond);

// The proof's first half: 10^6! modulo the primes, from 1.
void BM_ProofFactorialResidues(benchmark::State& state) {
    for (auto _ : state) {
        FactorialResidues residues;
        benchmark::DoNotOptimize(residues.at(kMillion));
    }
}
BENCHMARK(BM_ProofFactorialResidues)->Unit(benchmark::kMillisecond);

// Its second half: the record's digits modulo the primes, in the pieces a
// lookup reads (256 KiB).
void BM_ProofDigitResidues(benchmark::State& state) {
    const std::string& value = MillionStore::get().value();
    constexpr std::size_t kPiece = std::size_t{1} << 18;
    for (auto _ : state) {
        DigitResidues residues;
        for (std::size_t at = 0; at < value.size(); at += kPiece)
            residues.add(std::string_view(value).substr(at, kPiece));
        benchmark::DoNotOptimize(residues.residues());
    }
    state.counters["digits"] = static_cast<double>(value.size());
}
BENCHMARK(BM_ProofDigitResidues)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
