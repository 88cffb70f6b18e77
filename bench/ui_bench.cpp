// How long the windows take to show long numbers: a result of N digits put
// into a number box the size of the main window's result box, laid out and
// painted, and the input-checking pass over a pasted number.
//
//   ui_bench --benchmark_filter=ShowResult
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "core/inputcheck.h"
#include "ui/common/look.h"
#include "ui/common/numberbox.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>
#include <string>

namespace {

// The result box of the main window at 96 dpi.
constexpr int kBoxWidth = 497;
constexpr int kBoxHeight = 103;

std::string digits(std::int64_t count, char first) {
    std::string text(static_cast<std::size_t>(count), '0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('0' + (i * 7 + i / 13) % 10);
    text[0] = first;
    return text;
}

// setText, then everything the screen needs before the person sees it.
void ShowResult(benchmark::State& state) {
    longhand::NumberBox box;
    box.setFont(longhand::boldFont());
    box.resize(kBoxWidth, kBoxHeight);
    box.show();
    QApplication::processEvents();
    const std::string texts[] = {digits(state.range(0), '1'), digits(state.range(0), '2')};
    int which = 0;
    for (auto _ : state) {
        box.setText(texts[which]);
        which ^= 1;
        box.repaint();
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ShowResult)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same in a plain editor holding the number in one paragraph, for
// comparison.
void ShowResultOneParagraph(benchmark::State& state) {
    QPlainTextEdit box;
    box.setWordWrapMode(QTextOption::WrapAnywhere);
    box.setFont(longhand::boldFont());
    box.resize(kBoxWidth, kBoxHeight);
    box.show();
    QApplication::processEvents();
    const QString texts[] = {QString::fromStdString(digits(state.range(0), '1')),
                             QString::fromStdString(digits(state.range(0), '2'))};
    int which = 0;
    for (auto _ : state) {
        box.setPlainText(texts[which]);
        which ^= 1;
        box.repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(ShowResultOneParagraph)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The cleaning pass a pasted number goes through with checking on.
void InputCheckPass(benchmark::State& state) {
    const std::string text = "-00" + digits(state.range(0), '5') + ".5.5";
    for (auto _ : state)
        benchmark::DoNotOptimize(longhand::settleInputText(text, longhand::InputField::Operand));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(InputCheckPass)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
