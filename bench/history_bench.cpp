// How long the expression and history window takes to open over a long
// history: 1,000 entries, ten of them of 10^7 digits (kept in files of
// their own), from the log to the first painted window. And the history's
// own costs: keeping one result, reading the log.
//
//   history_bench --benchmark_filter=OpenHistoryWindow
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "services/paths.h"
#include "store/history.h"
#include "ui/common/calcrunner.h"
#include "ui/common/historykeeper.h"
#include "ui/common/presenter.h"
#include "ui/expression/expressionwindow.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kEntries = 1000;
constexpr int kLongEntries = 10;
constexpr std::size_t kLongDigits = 10'000'000;

std::string digits(std::size_t count, char first) {
    std::string text(count, '0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('0' + (i * 7 + i / 13) % 10);
    text[0] = first;
    return text;
}

// A scratch app folder holding the history, made once per run.
const std::string& historyFolder() {
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "longhand-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        longhand::HistoryStore store(pattern, 0);
        std::vector<longhand::HistoryRecord> records;
        for (int i = 0; i < kEntries; ++i) {
            const bool isLong = i % (kEntries / kLongEntries) == kEntries / kLongEntries / 2;
            const std::string value = isLong ? digits(kLongDigits, '1' + static_cast<char>(i % 9))
                                             : digits(20 + i % 200, '3');
            records.push_back({"entry " + std::to_string(i), value, "digits"});
            if (records.size() == 50) {
                store.append(records, longhand::historyNow());
                records.clear();
            }
        }
        return pattern;
    }();
    return folder;
}

// The window built, shown and painted once, over the history above.
void OpenHistoryWindow(benchmark::State& state) {
    longhand::setAppFolder(historyFolder());
    longhand::QtPresenter presenter;
    longhand::CalcRunner runner;
    longhand::HistoryKeeper keeper(historyFolder(), presenter);
    for (auto _ : state) {
        longhand::ExpressionWindow window({presenter, runner, keeper, {}});
        window.show();
        window.repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.historyList);
    }
}
BENCHMARK(OpenHistoryWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading the log alone.
void ReadHistory(benchmark::State& state) {
    const longhand::HistoryStore store(historyFolder());
    for (auto _ : state)
        benchmark::DoNotOptimize(store.read());
}
BENCHMARK(ReadHistory)->Unit(benchmark::kMillisecond);

// Keeping one short result: the lock, the line, the flush to disk.
void KeepResult(benchmark::State& state) {
    const std::string folder = historyFolder() + "/keep";
    longhand::HistoryStore store(folder, 0);
    for (auto _ : state)
        store.append({"Multiply", "1234567890123456789", "19 digits"}, longhand::historyNow());
    std::filesystem::remove_all(folder);
}
BENCHMARK(KeepResult)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(historyFolder());
    return 0;
}
