// Long numbers in the windows: showing a 5,000,000-digit result in the main
// window's result box, a click into it (with the round hint the click
// shows), and a pasted 1,000,000-digit operand with input checking on. The
// ...InEditor cases do the same in the text-editor box the operand boxes
// use, for comparison.
//
//   responsive_bench --benchmark_filter=Click
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "core/roundhint.h"
#include "support/window_doubles.h"
#include "ui/common/clicklabel.h"
#include "ui/common/numberbox.h"
#include "ui/common/numberview.h"
#include "ui/common/roundhint.h"
#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

constexpr std::int64_t kResultDigits = 5'000'000;
constexpr std::int64_t kPastedDigits = 1'000'000;

std::string digits(std::int64_t count, char first) {
    std::string text(static_cast<std::size_t>(count), '0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('0' + (i * 7 + i / 13) % 10);
    text[0] = first;
    return text;
}

// A result with a fraction, so that a click shows the round hint.
std::string fractionResult(std::int64_t count, char first) {
    std::string text = digits(count, first);
    text[static_cast<std::size_t>(count / 2)] = '.';
    return text;
}

struct Window {
    Window() {
        window = std::make_unique<longhand::MainWindow>(&presenter, &sound);
        window->show();
        QApplication::processEvents();
    }
    longhand::test::ScriptedPresenter presenter;
    longhand::test::RecordingSound sound;
    std::unique_ptr<longhand::MainWindow> window;
};

// setText on the result box, then everything the screen needs before the
// person sees it.
void ShowResult(benchmark::State& state) {
    Window w;
    auto* box = w.window->resultView;
    const std::string texts[] = {fractionResult(state.range(0), '1'),
                                 fractionResult(state.range(0), '2')};
    int which = 0;
    for (auto _ : state) {
        box->setText(texts[which]);
        which ^= 1;
        box->repaint();
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ShowResult)
    ->Arg(kResultDigits)
    ->Arg(50'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A click into the shown result: the caret moves, the round hint appears,
// and the box repaints.
void ClickResult(benchmark::State& state) {
    Window w;
    auto* box = w.window->resultView;
    box->setText(fractionResult(state.range(0), '1'));
    box->repaint();
    QApplication::processEvents();
    const QPoint spots[] = {QPoint(40, 20), QPoint(120, 40)};
    int which = 0;
    for (auto _ : state) {
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, spots[which]);
        which ^= 1;
        box->repaint();
        w.window->roundHint->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(ClickResult)
    ->Arg(kResultDigits)
    ->Arg(50'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The result shown and clicked in a text-editor box of the same size.
void ShowResultInEditor(benchmark::State& state) {
    Window w;
    auto* box = new longhand::NumberBox(w.window->resultView->parentWidget());
    box->setGeometry(w.window->resultView->geometry());
    box->setFont(w.window->resultView->font());
    box->show();
    const std::string texts[] = {fractionResult(state.range(0), '1'),
                                 fractionResult(state.range(0), '2')};
    int which = 0;
    for (auto _ : state) {
        box->setText(texts[which]);
        which ^= 1;
        box->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(ShowResultInEditor)->Arg(kResultDigits)->Unit(benchmark::kMillisecond)->UseRealTime();

void ClickResultInEditor(benchmark::State& state) {
    Window w;
    auto* box = new longhand::NumberBox(w.window->resultView->parentWidget());
    box->setGeometry(w.window->resultView->geometry());
    box->setFont(w.window->resultView->font());
    box->show();
    QObject::connect(box, &longhand::NumberBox::clicked, [&] {
        const longhand::RoundHint hint = longhand::roundHintFor(box->text(), box->caretPosition());
        benchmark::DoNotOptimize(hint.keep);
    });
    box->setText(fractionResult(state.range(0), '1'));
    box->repaint();
    QApplication::processEvents();
    const QPoint spots[] = {QPoint(40, 20), QPoint(120, 40)};
    int which = 0;
    for (auto _ : state) {
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, spots[which]);
        which ^= 1;
        box->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(ClickResultInEditor)->Arg(kResultDigits)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 1,000,000-digit number pasted into the empty operand box 1 with input
// checking on: the paste, the cleaning pass and its write-back.
void PasteOperand(benchmark::State& state) {
    Window w;
    w.window->inputCheck = longhand::InputCheck::On;
    auto* box = w.window->firstOperand;
    QApplication::clipboard()->setText(
        QString::fromStdString("-00" + digits(state.range(0), '5') + ".5.5"));
    for (auto _ : state) {
        state.PauseTiming();
        box->setText("");
        box->setFocus();
        QApplication::processEvents();
        state.ResumeTiming();
        box->paste();
        box->repaint();
        QApplication::processEvents();
    }
    if (box->text().size() != static_cast<std::size_t>(state.range(0) + 4))
        state.SkipWithError("the paste was not cleaned as expected");
}
BENCHMARK(PasteOperand)->Arg(kPastedDigits)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
