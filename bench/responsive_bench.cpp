// Long numbers in the windows: showing a 5,000,000-digit result in the main
// window's result box, plain and in groups of 5 (the second argument), a
// click into it (with the round hint and the length line the click
// updates), a pasted 1,000,000-digit operand with input checking on, and
// the search for a string of digits in 10,000,000 digits. The ...InEditor
// cases do the same in the text-editor box the operand boxes use, for
// comparison. CancelInWindow: a long product or quotient started with the
// window's button and cancelled with Esc (or the panel's Cancel once it
// shows) after the delay given: the time until the window is back
// ("max_ms" the worst run), and the worst lateness of a 5 ms timer of the
// window while the calculation ran on every core ("loop_lag_ms").
// StoreLockWait: a factorial in the function dialog whose store write finds
// the lock held by another window for the time given; StoreMerge10000: one
// inserted into a store of 10,000 records (1! to 10000!, about 168 MB), read
// and written whole. Both give the time until the dialog is back ("back_ms",
// after the lock is let go for the first) and the worst lateness of a 5 ms
// timer meanwhile ("loop_lag_ms").
//
//   responsive_bench --benchmark_filter=Click
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "core/digitsearch.h"
#include "core/roundhint.h"
#include "engine/factorial.h"
#include "engine/multiply.h"
#include "services/paths.h"
#include "store/factorialstore.h"
#include "store/filestore.h"
#include "support/mainwindow_probe.h"
#include "support/window_doubles.h"
#include "ui/common/calcrunner.h"
#include "ui/common/clicklabel.h"
#include "ui/common/lengthline.h"
#include "ui/common/numberbox.h"
#include "ui/common/numberview.h"
#include "ui/common/roundhint.h"
#include "ui/dialog/functiondialog.h"
#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>

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
    w.window->setGroupSize(static_cast<int>(state.range(1)), false);
    auto* box = ui(*w.window).resultView;
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
    ->Args({kResultDigits, 0})
    ->Args({kResultDigits, 5})
    ->Args({50'000'000, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A click into the shown result: the caret moves, the round hint appears,
// and the box repaints.
void ClickResult(benchmark::State& state) {
    Window w;
    w.window->setGroupSize(static_cast<int>(state.range(1)), false);
    auto* box = ui(*w.window).resultView;
    box->setText(fractionResult(state.range(0), '1'));
    box->repaint();
    QApplication::processEvents();
    const QPoint spots[] = {QPoint(40, 20), QPoint(120, 40)};
    int which = 0;
    for (auto _ : state) {
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, spots[which]);
        which ^= 1;
        box->repaint();
        ui(*w.window).roundHint->repaint();
        ui(*w.window).lengthLine->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(ClickResult)
    ->Args({kResultDigits, 0})
    ->Args({kResultDigits, 5})
    ->Args({50'000'000, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The result shown and clicked in a text-editor box of the same size.
void ShowResultInEditor(benchmark::State& state) {
    Window w;
    auto* box = new longhand::NumberBox(ui(*w.window).resultView->parentWidget());
    box->setGeometry(ui(*w.window).resultView->geometry());
    box->setFont(ui(*w.window).resultView->font());
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
    auto* box = new longhand::NumberBox(ui(*w.window).resultView->parentWidget());
    box->setGeometry(ui(*w.window).resultView->geometry());
    box->setFont(ui(*w.window).resultView->font());
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
    w.window->options().inputCheck = longhand::InputCheck::On;
    auto* box = ui(*w.window).firstOperand;
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

// A string of digits that is not there, in 10,000,000 digits: the whole
// text searched. Argument 1: a text of zeros and a pattern of zeros ending
// in 1, which makes a naive search crawl.
void FindDigits(benchmark::State& state) {
    constexpr std::int64_t kDigits = 10'000'000;
    const bool zeros = state.range(0) == 1;
    const std::string text = zeros ? std::string(kDigits, '0') : digits(kDigits, '1');
    const std::string pattern = zeros ? std::string(999, '0') + "1" : "1234567890";
    for (auto _ : state) {
        longhand::Progress progress;
        const auto found = longhand::findDigits(text, pattern, 0, progress);
        if (found) state.SkipWithError("the pattern was found");
    }
    state.SetItemsProcessed(state.iterations() * kDigits);
}
BENCHMARK(FindDigits)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Operands of CancelInWindow: 0 multiplies two 10^7-digit numbers, 1
// divides 10^7 digits by 2*10^6, 2 multiplies two 5*10^7-digit numbers.
void CancelInWindow(benchmark::State& state) {
    const int which = static_cast<int>(state.range(0));
    const int delayMs = static_cast<int>(state.range(1));
    const std::int64_t first = which == 2 ? 50'000'000 : 10'000'000;
    const std::int64_t second = which == 1 ? 2'000'000 : first;
    Window w;
    QApplication::setActiveWindow(w.window.get());
    ui(*w.window).firstOperand->setText(digits(first, '7'));
    ui(*w.window).secondOperand->setText(digits(second, '3'));
    QPushButton* button = which == 1 ? ui(*w.window).divideButton : ui(*w.window).multiplyButton;
    QApplication::processEvents();
    double worst = 0, worstLag = 0, finished = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        qint64 askedNs = -1, lastTickNs = -1, lagNs = 0;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            if (askedNs < 0 && lastTickNs >= 0)
                lagNs = std::max(lagNs, now - lastTickNs - 5'000'000);
            lastTickNs = now;
        });
        QTimer::singleShot(delayMs, [&] {
            if (!w.window->runner().isRunning()) return;
            askedNs = clock.nsecsElapsed();
            if (QPushButton* cancel = w.window->runner().cancelButton())
                QTest::mouseClick(cancel, Qt::LeftButton);
            else
                QTest::keyClick(w.window.get(), Qt::Key_Escape);
        });
        clock.start();
        ticks.start(5);
        QTest::mouseClick(button, Qt::LeftButton); // returns once the window is back
        const qint64 backNs = clock.nsecsElapsed();
        ticks.stop();
        const double latency = askedNs < 0 ? 0 : static_cast<double>(backNs - askedNs) * 1e-9;
        if (askedNs < 0) ++finished;
        worst = std::max(worst, latency);
        worstLag = std::max(worstLag, static_cast<double>(lagNs) * 1e-9);
        state.SetIterationTime(latency);
        QApplication::processEvents();
    }
    state.counters["max_ms"] = worst * 1000;
    state.counters["loop_lag_ms"] = worstLag * 1000;
    state.counters["finished"] = finished;
}
BENCHMARK(CancelInWindow)
    ->ArgsProduct({{0, 1}, {20, 80}})
    ->Args({2, 20})
    ->Args({2, 300})
    ->Args({2, 900})
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// A private app folder for the store benchmarks, removed at the end.
struct BenchFolder {
    BenchFolder() {
        const char* base = std::getenv("LONGHAND_BENCH_DIR");
        dir = std::filesystem::path(base ? base : std::filesystem::temp_directory_path()) /
              ("longhand-responsive-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        longhand::setAppFolder(dir.string());
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string store() const { return longhand::appFilePath(longhand::kFactorialFile); }
    std::filesystem::path dir;
};

// The records 1! to top! without those of `missing`, written to `path`.
void writeStore(const std::string& path, int top, int missingFrom, int missingTo) {
    longhand::AtomicFile out(path);
    longhand::Progress progress;
    std::string factorial = "1";
    for (int n = 1; n <= top; ++n) {
        factorial = longhand::multiply(factorial, std::to_string(n), progress);
        if (n >= missingFrom && n <= missingTo) continue;
        if (n > 1) out.write("\r\n");
        out.write(std::to_string(n) + ",\"" + factorial + "\"");
    }
    if (!out.commit()) std::abort();
}

// Presses Factorial with `n` in a function dialog over `w`; the time until
// it is back, counted from `fromNs` of `clock` (from the press when < 0),
// and the worst lateness of a 5 ms timer meanwhile.
struct Pressed {
    double backSeconds = 0;
    double lagSeconds = 0;
};

Pressed pressFactorial(longhand::FunctionDialog& dialog, const std::string& n,
                       const std::function<void(QElapsedTimer&, qint64&)>& meanwhile) {
    QElapsedTimer clock;
    qint64 lastTickNs = -1, lagNs = 0, fromNs = -1;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (lastTickNs >= 0) lagNs = std::max(lagNs, now - lastTickNs - 5'000'000);
        lastTickNs = now;
    });
    dialog.argumentLine->setText(QString::fromStdString(n));
    clock.start();
    ticks.start(5);
    if (meanwhile) meanwhile(clock, fromNs);
    QTest::mouseClick(dialog.computeButton, Qt::LeftButton); // returns once it is back
    const qint64 backNs = clock.nsecsElapsed();
    ticks.stop();
    longhand::Progress progress;
    if (dialog.resultView->text() != longhand::factorial(n, nullptr, progress).text)
        std::abort(); // a wrong result would make the figures meaningless
    return {static_cast<double>(backNs - std::max<qint64>(fromNs, 0)) * 1e-9,
            static_cast<double>(lagNs) * 1e-9};
}

void StoreLockWait(benchmark::State& state) {
    const int heldMs = static_cast<int>(state.range(0));
    BenchFolder folder;
    Window w;
    longhand::FunctionDialog dialog(w.window->context(), longhand::FunctionMode::Factorial);
    dialog.show();
    QApplication::processEvents();
    double worstLag = 0, worstBack = 0;
    for (auto _ : state) {
        writeStore(folder.store(), 60, 30, 30); // 30! is a gap: inserted after the work
        auto held = std::make_unique<longhand::FileLock>(folder.store() + ".lock",
                                                         std::chrono::milliseconds(0));
        const Pressed pressed =
            pressFactorial(dialog, "30", [&](QElapsedTimer& clock, qint64& from) {
                QTimer::singleShot(heldMs, [&] {
                    from = clock.nsecsElapsed();
                    held.reset();
                });
            });
        worstLag = std::max(worstLag, pressed.lagSeconds);
        worstBack = std::max(worstBack, pressed.backSeconds);
        state.SetIterationTime(pressed.backSeconds);
    }
    state.counters["back_ms"] = worstBack * 1000;
    state.counters["loop_lag_ms"] = worstLag * 1000;
    dialog.close();
}
BENCHMARK(StoreLockWait)
    ->Arg(500)
    ->Arg(2000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void StoreMerge10000(benchmark::State& state) {
    BenchFolder folder;
    constexpr int kRecords = 10000, kFirstGap = 5000;
    writeStore(folder.store(), kRecords, kFirstGap, kFirstGap + 9);
    Window w;
    longhand::FunctionDialog dialog(w.window->context(), longhand::FunctionMode::Factorial);
    dialog.show();
    QApplication::processEvents();
    double worstLag = 0;
    int next = kFirstGap;
    for (auto _ : state) {
        const Pressed pressed = pressFactorial(dialog, std::to_string(next++), {});
        worstLag = std::max(worstLag, pressed.lagSeconds);
        state.SetIterationTime(pressed.backSeconds);
    }
    state.counters["store_MB"] =
        static_cast<double>(std::filesystem::file_size(folder.store())) / 1e6;
    state.counters["loop_lag_ms"] = worstLag * 1000;
    dialog.close();
}
BENCHMARK(StoreMerge10000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
