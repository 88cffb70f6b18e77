#include "calcrunner.h"

#include "accessible.h"
#include "look.h"
#include "outofmemory.h"
#include "presenter.h"
#include "refusalwords.h"

#include <QAccessible>
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
#include <exception>
#include <new>
#include <thread>

namespace longhand {

CalcRunner::CalcRunner(QObject* parent) : QObject(parent) {}

CalcRunner::~CalcRunner() = default;

void CalcRunner::cancel() {
    if (!running_ || !progress_) return;
    progress_->cancel();
    if (cancelButton_) cancelButton_->setEnabled(false);
}

bool CalcRunner::refuseTooLarge(QWidget* window, Presenter& presenter,
                                const LengthEstimate& estimate) {
    const std::optional<std::uint64_t> free = freeMemory ? freeMemory() : std::nullopt;
    if (!free) return false;
    const std::optional<Refusal> refusal = memoryRefusal(estimate, *free);
    if (!refusal) return false;
    tellRefusal(presenter, window, *refusal);
    return true;
}

bool CalcRunner::runWork(const Scene& scene, const std::function<void(Progress&)>& work) {
    if (running_) return false;
    running_ = true;
    Progress progress;
    progress_ = &progress;

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
    // The engine splits its long work into tasks of the one process-wide
    // pool of the fast arithmetic (oneTBB, engine/fast/parallel.h): this
    // thread hands its tasks to the pool's workers and takes part in them
    // while it waits, so a window's calculation runs on the same threads as
    // any other, as many as LONGHAND_THREADS allows.
    std::thread worker([&] {
        try {
            work(progress);
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
    if (!done) progress.cancel();
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
    progress_ = nullptr;
    note_ = nullptr;

    if (progress.cancelled()) return false;
    if (outOfMemory) {
        // Nothing of a work that ran out of memory is kept; only the reason
        // is told.
        if (scene.presenter) tellOutOfMemory(*scene.presenter, scene.window);
        return false;
    }
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
    bar_->setFormat(QStringLiteral("%p%")); // what a screen reader says of it
    bar_->setAccessibleName(QStringLiteral("Progress"));
    bar_->hide();
    cancelButton_ = new QPushButton(QString::fromLatin1(kCancelCaption), panel_);
    cancelButton_->setFont(label->font());
    cancelButton_->setFocusPolicy(Qt::NoFocus);
    cancelButton_->setAccessibleDescription(QStringLiteral("Stops the calculation (Esc)"));
    paintButton(cancelButton_, kLightYellow);
    connect(cancelButton_, &QPushButton::clicked, this, &CalcRunner::cancel);
    if (progress_ && progress_->cancelled()) cancelButton_->setEnabled(false);
    row->addWidget(text_);
    row->addWidget(bar_, 1);
    row->addStretch(0);
    row->addWidget(cancelButton_);

    ticker_ = new QTimer(this);
    connect(ticker_, &QTimer::timeout, this, &CalcRunner::tick);
    ticker_->start(kTickMs);
    tick();
    panel_->setAccessibleName(QStringLiteral("Working"));
    panel_->setAccessibleDescription(
        QStringLiteral("A long calculation runs; Esc or Cancel stops it"));
    panel_->raise();
    panel_->show();
    // Said by a screen reader as it appears, as a message box is.
    QAccessibleEvent shown(panel_, QAccessible::Alert);
    announce(shown);
    emit workingShown();
}

void CalcRunner::tick() {
    if (!text_) return;
    const qint64 seconds = (QDateTime::currentMSecsSinceEpoch() - startedAt_) / 1000;
    if (const char* note = note_.load(std::memory_order_relaxed))
        text_->setText(QString::fromUtf8(note));
    else
        text_->setText(QString::fromLatin1(kWorkingText) + QString::number(seconds) +
                       QStringLiteral(" s"));
    const double share = progress_ ? progress_->fraction() : -1;
    if (share >= 0 && bar_) {
        bar_->setValue(static_cast<int>(std::min(share, 1.0) * kProgressSteps));
        bar_->show();
    }
}

} // namespace longhand
