#include "calcrunner.h"

#include "look.h"
#include "outofmemory.h"
#include "presenter.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

namespace longhand {

namespace {

// How often a worker waiting for an answer looks whether it was cancelled.
constexpr std::chrono::milliseconds kAnswerPoll{10};

} // namespace

// The host the engine sees on the worker thread. Calls that change what the
// person sees or what is stored (the factorial store's writes among them)
// are held back for the user-interface thread;
// questions are asked there at once; the rest is answered from what the
// window's host said when the run began.
class CalcRunner::WorkerHost final : public EngineHost {
  public:
    WorkerHost(CalcRunner& runner, EngineHost& ui)
        : runner_(runner), ui_(ui), sound_(ui.soundOn()), upper_(ui.facUpper()),
          path_(ui.facDataPath()) {}

    void showMessage(const std::string& text) override {
        defer([text](EngineHost& h) { h.showMessage(text); });
    }
    bool askYesNo(const std::string& text) override {
        bool yes = false;
        ask([&] { yes = ui_.askYesNo(text); });
        return yes;
    }
    bool soundOn() const override { return sound_; }
    void stopSound() override {
        defer([](EngineHost& h) { h.stopSound(); });
    }
    void finished() override {
        defer([](EngineHost& h) { h.finished(); });
    }
    std::string readText(const std::string& key, int maxLen) override {
        std::string text;
        ask([&] { text = ui_.readText(key, maxLen); });
        return text;
    }
    std::string facUpper() const override {
        const std::lock_guard lock(mutex_);
        return upper_;
    }
    void setFacUpper(const std::string& n) override {
        {
            const std::lock_guard lock(mutex_);
            upper_ = n;
        }
        defer([n](EngineHost& h) { h.setFacUpper(n); });
    }
    std::string facDataPath() const override { return path_; }
    bool cancelled() const override { return runner_.cancelled_.load(std::memory_order_relaxed); }
    void progress(double fraction) override {
        runner_.progress_.store(fraction, std::memory_order_relaxed);
    }
    void afterWork(std::function<void(EngineHost&)> step) override { defer(std::move(step), true); }

    // The held-back calls, in their order, on the user-interface thread;
    // without `keeping`, those that would keep something (the store's
    // writes) are dropped.
    void replay(bool keeping = true) {
        std::vector<Deferred> calls;
        {
            const std::lock_guard lock(mutex_);
            calls.swap(deferred_);
        }
        for (auto& call : calls)
            if (keeping || !call.keeps) call.run(ui_);
    }

  private:
    struct Deferred {
        std::function<void(EngineHost&)> run;
        bool keeps = false;
    };

    void defer(std::function<void(EngineHost&)> call, bool keeps = false) {
        const std::lock_guard lock(mutex_);
        deferred_.push_back({std::move(call), keeps});
    }

    // Runs `job` on the user-interface thread, after the calls held back so
    // far, and waits for it. A run cancelled before the job starts gives up
    // waiting and leaves the job undone.
    void ask(const std::function<void()>& job) {
        enum class State { Pending, Running, Done, Abandoned };
        struct Request {
            std::mutex mutex;
            std::condition_variable changed;
            State state = State::Pending;
        };
        auto request = std::make_shared<Request>();
        QMetaObject::invokeMethod(
            &runner_,
            [this, request, &job] {
                {
                    const std::lock_guard lock(request->mutex);
                    if (request->state == State::Abandoned) return;
                    request->state = State::Running;
                }
                replay();
                job();
                {
                    const std::lock_guard lock(request->mutex);
                    request->state = State::Done;
                }
                request->changed.notify_all();
            },
            Qt::QueuedConnection);
        std::unique_lock lock(request->mutex);
        while (request->state != State::Done) {
            if (request->state == State::Pending && cancelled()) {
                request->state = State::Abandoned;
                return;
            }
            request->changed.wait_for(lock, kAnswerPoll);
        }
    }

    CalcRunner& runner_;
    EngineHost& ui_;
    const bool sound_;
    std::string upper_;
    const std::string path_;
    mutable std::mutex mutex_;
    std::vector<Deferred> deferred_;
};

CalcRunner::CalcRunner(QObject* parent) : QObject(parent) {}

CalcRunner::~CalcRunner() = default;

void CalcRunner::cancel() {
    if (!running_) return;
    cancelled_ = true;
    if (cancelButton_) cancelButton_->setEnabled(false);
}

bool CalcRunner::refuseTooLarge(QWidget* window, Presenter& presenter,
                                const LengthEstimate& estimate) {
    const std::optional<std::uint64_t> free = freeMemory ? freeMemory() : std::nullopt;
    if (!free) return false;
    const std::optional<std::string> refusal = memoryRefusal(estimate, *free);
    if (!refusal) return false;
    presenter.inform(window, QString::fromStdString(*refusal));
    return true;
}

bool CalcRunner::runWork(const Scene& scene, EngineHost& uiHost,
                         const std::function<void(EngineHost&)>& work) {
    if (running_) return false;
    running_ = true;
    cancelled_ = false;
    progress_ = -1;

    WorkerHost host(*this, uiHost);

    hold(scene);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    startedAt_ = QDateTime::currentMSecsSinceEpoch();
    QTimer delay;
    delay.setSingleShot(true);
    connect(&delay, &QTimer::timeout, this, [this, &scene] { showPanel(scene); });
    delay.start(kWorkingDelayMs);

    QEventLoop loop;
    QPointer<QEventLoop> waiting(&loop);
    std::atomic<bool> done{false};
    bool outOfMemory = false;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            work(host);
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
        QMetaObject::invokeMethod(
            this,
            [waiting] {
                if (waiting) waiting->quit();
            },
            Qt::QueuedConnection);
    });
    emit started();
    if (!done) loop.exec();
    // The loop also ends when the application quits: the work stops then.
    if (!done) cancelled_ = true;
    worker.join();

    delay.stop();
    delete panel_;
    panel_ = nullptr;
    text_ = nullptr;
    bar_ = nullptr;
    cancelButton_ = nullptr;
    delete escape_;
    escape_ = nullptr;
    delete ticker_;
    ticker_ = nullptr;
    QApplication::restoreOverrideCursor();
    release();
    running_ = false;

    if (cancelled_) return false;
    if (outOfMemory) {
        // Nothing of a work that ran out of memory is kept: what it held
        // back is dropped, and only the reason is told.
        uiHost.showMessage(kOutOfMemory);
        return false;
    }
    // A work that failed keeps nothing of what it did on its way.
    host.replay(!failure);
    if (failure) std::rethrow_exception(failure);
    return true;
}

void CalcRunner::hold(const Scene& scene) {
    focus_ = QApplication::focusWidget();
    for (QWidget* w : scene.disabled) {
        if (!w || !w->isEnabled()) continue;
        w->setEnabled(false);
        disabled_.emplace_back(w);
    }
    for (QAction* a : scene.actions) {
        if (!a || !a->isEnabled()) continue;
        a->setEnabled(false);
        actions_.emplace_back(a);
    }
    for (QWidget* w : scene.readOnly) {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(w); edit && !edit->isReadOnly()) {
            edit->setReadOnly(true);
            readOnly_.emplace_back(w);
        } else if (auto* line = qobject_cast<QLineEdit*>(w); line && !line->isReadOnly()) {
            line->setReadOnly(true);
            readOnly_.emplace_back(w);
        }
    }
    if (scene.window) {
        escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), scene.window);
        escape_->setContext(Qt::WindowShortcut);
        connect(escape_, &QShortcut::activated, this, &CalcRunner::cancel);
    }
}

void CalcRunner::release() {
    for (auto& w : disabled_)
        if (w) w->setEnabled(true);
    for (auto& a : actions_)
        if (a) a->setEnabled(true);
    for (auto& w : readOnly_) {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(w.data()))
            edit->setReadOnly(false);
        else if (auto* line = qobject_cast<QLineEdit*>(w.data()))
            line->setReadOnly(false);
    }
    disabled_.clear();
    actions_.clear();
    readOnly_.clear();
    if (focus_ && focus_->isEnabled() && focus_->isVisible()) focus_->setFocus();
    focus_ = nullptr;
}

void CalcRunner::showPanel(const Scene& scene) {
    QWidget* label = scene.statusLabel;
    if (!running_ || !label || !label->parentWidget()) return;
    panel_ = new QFrame(label->parentWidget());
    panel_->setGeometry(label->geometry());
    paintBackground(panel_, kBlack);
    auto* row = new QHBoxLayout(panel_);
    row->setContentsMargins(0, 0, 0, 0);

    text_ = new QLabel(panel_);
    text_->setFont(label->font());
    paintLabel(text_, kLightYellow, kBlack);
    bar_ = new QProgressBar(panel_);
    bar_->setRange(0, kProgressSteps);
    bar_->setTextVisible(false);
    bar_->hide();
    cancelButton_ = new QPushButton(QString::fromLatin1(kCancelCaption), panel_);
    cancelButton_->setFont(label->font());
    cancelButton_->setFocusPolicy(Qt::NoFocus);
    paintButton(cancelButton_, kLightYellow);
    connect(cancelButton_, &QPushButton::clicked, this, &CalcRunner::cancel);
    if (cancelled_) cancelButton_->setEnabled(false);
    row->addWidget(text_);
    row->addWidget(bar_, 1);
    row->addStretch(0);
    row->addWidget(cancelButton_);

    ticker_ = new QTimer(this);
    connect(ticker_, &QTimer::timeout, this, &CalcRunner::tick);
    ticker_->start(kTickMs);
    tick();
    panel_->raise();
    panel_->show();
    emit workingShown();
}

void CalcRunner::tick() {
    if (!text_) return;
    const qint64 seconds = (QDateTime::currentMSecsSinceEpoch() - startedAt_) / 1000;
    text_->setText(QString::fromLatin1(kWorkingText) + QString::number(seconds) +
                   QStringLiteral(" s"));
    const double share = progress_.load(std::memory_order_relaxed);
    if (share >= 0 && bar_) {
        bar_->setValue(static_cast<int>(std::min(share, 1.0) * kProgressSteps));
        bar_->show();
    }
}

} // namespace longhand
