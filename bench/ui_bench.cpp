// How long the windows take to show long numbers: a result of N digits put
// into a number box the size of the main window's result box, laid out and
// painted, and the input-checking pass over a pasted number.
//
// The ...InWindow cases drive the main window with texts of up to
// 100,000,000 digits: reading an operand box as a calculation does, a
// result handed to the result view, a result moved into an operand box,
// and a whole Add from the click to the shown and kept result. Beside the
// wall time they give the window thread's own CPU time ("window_cpu_ms":
// the time the window cannot answer) and the whole process's user and
// system time ("cpu_ms"), all per iteration.
//
//   ui_bench --benchmark_filter=ShowResult
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "core/inputcheck.h"
#include "services/paths.h"
#include "support/mainwindow_probe.h"
#include "support/tempdir.h"
#include "support/window_doubles.h"
#include "ui/common/historykeeper.h"
#include "ui/common/lengthline.h"
#include "ui/common/look.h"
#include "ui/common/numberbox.h"
#include "ui/common/numberview.h"
#include "ui/main/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <ctime>
#include <memory>
#include <string>
#include <sys/resource.h>

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

// Seconds of CPU time: the calling thread's, and the whole process's user
// plus system time.
double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double processSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The CPU times of a benchmark's timed part, as per-iteration counters.
class CpuClock {
  public:
    void start() {
        thread_ -= threadSeconds();
        process_ -= processSeconds();
    }
    void stop() {
        thread_ += threadSeconds();
        process_ += processSeconds();
    }
    void report(benchmark::State& state) const {
        const double n =
            static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
        state.counters["window_cpu_ms"] = thread_ * 1e3 / n;
        state.counters["cpu_ms"] = process_ * 1e3 / n;
    }

  private:
    double thread_ = 0;
    double process_ = 0;
};

// The main window in an app folder of its own, so that its history is
// written as a person's would be.
struct Window {
    Window() {
        longhand::setAppFolder(folder.path());
        window = std::make_unique<longhand::MainWindow>(&presenter, &sound);
        window->show();
        QApplication::processEvents();
    }
    ~Window() {
        window.reset();
        longhand::setAppFolder("/nonexistent-longhand-folder");
    }
    longhand::MainWindowControls& controls() { return ui(*window); }

    longhand::test::TempDir folder;
    longhand::test::ScriptedPresenter presenter;
    longhand::test::RecordingSound sound;
    std::unique_ptr<longhand::MainWindow> window;
};

// The first operand box read as a calculation reads it.
void ReadOperandInWindow(benchmark::State& state) {
    Window w;
    longhand::NumberBox* box = w.controls().firstOperand;
    const std::string expected = digits(state.range(0), '3');
    box->setText(expected);
    QApplication::processEvents();
    CpuClock cpu;
    for (auto _ : state) {
        cpu.start();
        std::string text = box->text();
        cpu.stop();
        state.PauseTiming();
        const bool same = text == expected;
        { const std::string gone = std::move(text); }
        state.ResumeTiming();
        if (!same) {
            state.SkipWithError("the box gave another text");
            break;
        }
    }
    cpu.report(state);
}
BENCHMARK(ReadOperandInWindow)
    ->Arg(10'000'000)
    ->Arg(100'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A calculation's result handed to the result view, up to the view, its
// length line and its round hint painted. The window finds the shape
// beside the calculation; with the second argument 0 the view finds it.
void ShowResultInWindow(benchmark::State& state) {
    Window w;
    longhand::NumberView* view = w.controls().resultView;
    const std::string texts[] = {digits(state.range(0), '1'), digits(state.range(0), '2')};
    const longhand::NumberShape shapes[] = {longhand::shapeOf(texts[0]),
                                            longhand::shapeOf(texts[1])};
    int which = 0;
    CpuClock cpu;
    for (auto _ : state) {
        state.PauseTiming();
        std::string outcome = texts[which];
        state.ResumeTiming();
        cpu.start();
        if (state.range(1) != 0)
            view->setText(std::move(outcome), false, shapes[which]);
        else
            view->setText(std::move(outcome), false);
        which ^= 1;
        view->repaint();
        w.controls().lengthLine->repaint();
        QApplication::processEvents();
        cpu.stop();
    }
    cpu.report(state);
}
BENCHMARK(ShowResultInWindow)
    ->Args({10'000'000, 1})
    ->Args({100'000'000, 0})
    ->Args({100'000'000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A result moved into the first operand box (Move, answered with the
// first box), up to the box painted.
void MoveResultInWindow(benchmark::State& state) {
    Window w;
    const std::string texts[] = {digits(state.range(0), '1'), digits(state.range(0), '2')};
    int which = 0;
    CpuClock cpu;
    for (auto _ : state) {
        state.PauseTiming();
        w.controls().resultView->setText(texts[which]);
        which ^= 1;
        QApplication::processEvents();
        state.ResumeTiming();
        cpu.start();
        w.controls().moveAction->trigger();
        w.controls().firstOperand->repaint();
        QApplication::processEvents();
        cpu.stop();
    }
    if (w.controls().firstOperand->text().size() != static_cast<std::size_t>(state.range(0)))
        state.SkipWithError("the result was not moved");
    cpu.report(state);
}
BENCHMARK(MoveResultInWindow)
    ->Arg(10'000'000)
    ->Arg(100'000'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Add clicked with an N-digit first operand and 1 as the second: the boxes
// read, the sum computed on the runner, shown in the result view and, with
// the second argument 1, kept in the history.
void AddInWindow(benchmark::State& state) {
    Window w;
    w.window->history().setKeeping(state.range(1) != 0);
    w.controls().firstOperand->setText(digits(state.range(0), '4'));
    w.controls().secondOperand->setText("1");
    QApplication::processEvents();
    CpuClock cpu;
    for (auto _ : state) {
        cpu.start();
        w.controls().addButton->click();
        w.controls().resultView->repaint();
        QApplication::processEvents();
        cpu.stop();
    }
    if (w.controls().resultView->text().size() != static_cast<std::size_t>(state.range(0)))
        state.SkipWithError("the sum is missing");
    cpu.report(state);
}
BENCHMARK(AddInWindow)
    ->Args({10'000'000, 1})
    ->Args({100'000'000, 0})
    ->Args({100'000'000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
