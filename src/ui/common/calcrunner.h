// Runs one calculation at a time on a worker thread while the windows keep
// painting, moving and answering.
//
// The window's handler calls run() in place of the engine, and run()
// returns when the work is done, as a direct engine call would: the
// handler's steps before and after stay on the user-interface thread in
// their order. Meanwhile a local event loop keeps the windows turning, the
// controls that could start another calculation are disabled and the
// operand boxes read-only; after kWorkingDelayMs a panel over the status
// label shows the elapsed seconds, a progress bar once the engine reports
// its share of the work, and a "Cancel" button (Esc does the same).
//
// The work reaches the windows only through its result: the handler turns
// the engine's outcome into boxes, sounds and the factorial store's writes
// once run() has returned, so a cancelled run, which returns nothing,
// stores nothing and takes nothing back. The work sees a Progress token,
// which Cancel and Esc cancel and whose share the bar shows. A run whose
// work ran out of memory (std::bad_alloc) ends as a cancelled one does, and
// the scene's presenter shows kOutOfMemory.
#pragma once

#include "engine/estimate.h"
#include "engine/progress.h"

#include <QObject>
#include <QPointer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QShortcut;
class QTimer;
class QWidget;

namespace longhand {

class Presenter;

class CalcRunner : public QObject {
    Q_OBJECT

  public:
    // The working panel appears after this long.
    static constexpr int kWorkingDelayMs = 300;
    // It counts the seconds and moves its bar this often.
    static constexpr int kTickMs = 100;
    // Steps of the progress bar.
    static constexpr int kProgressSteps = 1000;
    static constexpr const char* kCancelCaption = "Cancel";
    // The panel's text: this, the whole seconds, " s".
    static constexpr const char* kWorkingText = "Working... ";

    // Where a run shows itself and what it holds still; each window lists
    // its own.
    struct Scene {
        QWidget* window = nullptr;      // the computing window (Esc cancels there)
        QWidget* statusLabel = nullptr; // the working panel covers it
        Presenter* presenter = nullptr; // says when memory runs out
        std::vector<QWidget*> disabled; // buttons and labels that start work
        std::vector<QAction*> actions;  // menu items
        std::vector<QWidget*> readOnly; // operand boxes and argument lines
    };

    explicit CalcRunner(QObject* parent = nullptr);
    ~CalcRunner() override;

    // Runs work(progress) on a worker thread. Returns the work's result, or
    // nothing when the run was cancelled, ran out of memory (told through
    // the scene's presenter) or another run is going on. Any other exception
    // of the work is thrown here.
    template <class Work>
    auto run(const Scene& scene, Work&& work)
        -> std::optional<std::invoke_result_t<Work&, Progress&>> {
        std::optional<std::invoke_result_t<Work&, Progress&>> result;
        const bool done =
            runWork(scene, [&](Progress& progress) { result.emplace(work(progress)); });
        if (!done) result.reset();
        return result;
    }

    bool isRunning() const { return running_; }
    // Asks the running calculation to stop; run() returns soon after.
    void cancel();

    // A text the panel shows in place of the elapsed seconds while the work
    // waits for something outside it (null: none). Callable from the work's
    // thread; `note` must outlive the run (a literal).
    void setNote(const char* note) { note_.store(note, std::memory_order_relaxed); }

    // Shows the memory guard's refusal in `window` and returns true when
    // the calculation of `estimate` would not fit in the free memory.
    bool refuseTooLarge(QWidget* window, Presenter& presenter, const LengthEstimate& estimate);
    // The free memory the guard compares with (tests replace it).
    std::function<std::optional<std::uint64_t>()> freeMemory = availableMemory;

    // The panel's parts while it is shown (else null), for the tests.
    QPushButton* cancelButton() const { return cancelButton_; }
    QProgressBar* progressBar() const { return bar_; }
    QLabel* workingLabel() const { return text_; }

  signals:
    // The worker has started; handlers run inside run().
    void started();
    // The working panel has appeared.
    void workingShown();

  private:
    bool runWork(const Scene& scene, const std::function<void(Progress&)>& work);
    void hold(const Scene& scene);
    void release();
    void showPanel(const Scene& scene);
    void tick();

    bool running_ = false;
    std::atomic<const char*> note_{nullptr};
    Progress* progress_ = nullptr; // the running work's token
    QFrame* panel_ = nullptr;
    QLabel* text_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QShortcut* escape_ = nullptr;
    QTimer* ticker_ = nullptr;
    qint64 startedAt_ = 0;

    // What hold() changed, for release().
    std::vector<QPointer<QWidget>> disabled_;
    std::vector<QPointer<QAction>> actions_;
    std::vector<QPointer<QWidget>> readOnly_;
    QPointer<QWidget> focus_;
};

} // namespace longhand
