#include "functiondialog.h"

#include "core/arguments.h"
#include "engine/combinatorics.h"
#include "engine/estimate.h"
#include "engine/factorial.h"
#include "engine/numtext.h"
#include "engine/power.h"
#include "services/settings.h"
#include "ui/common/clicklabel.h"
#include "ui/common/historykeeper.h"
#include "ui/common/lengthline.h"
#include "ui/common/look.h"
#include "ui/common/move.h"
#include "ui/common/numberbox.h"
#include "ui/common/numberfile.h"
#include "ui/common/numberview.h"
#include "ui/common/outofmemory.h"
#include "ui/common/presenter.h"
#include "ui/common/resultarea.h"
#include "ui/common/resultfinder.h"
#include "ui/common/roundhint.h"
#include "ui/common/rounding.h"
#include "ui/common/soundport.h"
#include "ui/common/status.h"
#include "ui/common/windowcontext.h"
#include "ui/common/winstyle.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QValidator>
#include <utility>

namespace longhand {

namespace {

// Client area, in layout pixels: the controls above the length line, and
// the line at the bottom.
constexpr int kClientWidth = 506;
constexpr int kControlsHeight = 364;
constexpr int kLengthLineTop = 356;
constexpr int kClientHeight = kControlsHeight + LengthLine::kHeight;

// Point size of the argument line's fixed-width font.
constexpr qreal kArgumentPoints = 9.0;

// Where the caret waits in a template line.
constexpr int kFirstSlotPosition = static_cast<int>(kFirstSlot);

// Shortcuts that would change the argument line other than by a typed
// digit or Backspace.
constexpr QKeySequence::StandardKey kEditingShortcuts[] = {
    QKeySequence::Paste,
    QKeySequence::Cut,
    QKeySequence::Undo,
    QKeySequence::Redo,
    QKeySequence::DeleteEndOfWord,
    QKeySequence::DeleteStartOfWord,
    QKeySequence::DeleteEndOfLine,
    QKeySequence::DeleteCompleteLine,
};

// Refuses every change of the argument line that would break its template,
// whichever way it comes (a key over a selection, an input method, a drop).
class TemplateValidator final : public QValidator {
  public:
    TemplateValidator(FunctionMode mode, QObject* parent) : QValidator(parent), mode_(mode) {}
    State validate(QString& input, int&) const override {
        return keepsTemplate(mode_, input.toStdString()) ? Acceptable : Invalid;
    }

  private:
    FunctionMode mode_;
};

// Keys that type no character: they move the caret or the focus (Tab,
// Shift+Tab), compute (Enter), close (Esc), or are shortcuts such as Select
// All and Copy.
bool typesNothing(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty()) return true;
    if (text.size() == 1 && (text.front().unicode() < 0x20 || text.front().unicode() == 0x7f))
        return true;
    return (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
}

bool isDragAndDrop(QEvent::Type type) {
    return type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
}

// The middle button pastes the selection where the platform has one.
bool isMiddleButton(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    default:
        return false;
    }
}

} // namespace

FunctionDialog::FunctionDialog(WindowContext& context, FunctionMode mode)
    : QDialog(context.owner), context_(context), mode_(mode) {
    createControls();
    connectControls();
    setSunkenFrame(resultView);
    setSunkenFrame(argumentLine);
    const QString caption =
        QString::fromStdString(readTextEntry(std::string(captionKey(mode_)), 0));
    setWindowTitle(caption);
    computeButton->setText(caption);
}

FunctionDialog::~FunctionDialog() = default;

void FunctionDialog::createControls() {
    setWindowTitle(QString());
    const qreal dpi = logicalDpi(this);
    setFixedSize(scaledSize(kClientWidth, kClientHeight, dpi));
    paintBackground(this, kBlack);
    const QFont bold = boldFont();

    argumentLine = new QLineEdit(this);
    argumentLine->setGeometry(scaledRect(8, 8, 489, 25, dpi));
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(kArgumentPoints);
    argumentLine->setFont(fixed);
    argumentLine->setMaxLength(kArgumentMaxLength);
    argumentLine->setStyleSheet(QStringLiteral("QLineEdit { background: white; color: black; }"));

    auto button = [&](const QString& caption, QRect geometry, QRgb colour) {
        auto* b = new QPushButton(caption, this);
        b->setGeometry(geometry);
        b->setFont(bold);
        b->setAutoDefault(false);
        paintButton(b, colour);
        return b;
    };
    computeButton = button(QString(), scaledRect(140, 48, 121, 25, dpi), kLightYellow);
    stopSoundButton = button(QStringLiteral("Stop Sound"), scaledRect(268, 48, 99, 25, dpi), kRed);
    computeButton->setDefault(true); // Enter on the argument line computes
    stopSoundButton->hide();

    const ResultLayout layout{scaledRect(8, 80, 489, 233, dpi),
                              scaledRect(8, kLengthLineTop, 489, LengthLine::kHeight, dpi),
                              scaledRect(8, 328, 337, 25, dpi), scaledRect(416, 328, 81, 25, dpi),
                              Qt::AlignRight};
    const ResultArea area =
        makeResultArea(this, layout, bold, context_, [this] { return scene(); });
    resultView = area.view;
    lengthLine = area.lengthLine;
    finder = area.finder;
    roundHint = area.roundHint;
    moveLabel = area.moveLabel;
    saveAction = new QAction(QStringLiteral("Save Result As..."), this);
    saveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addAction(saveAction);
    roundAction = new QAction(QStringLiteral("Round Result..."), this);
    roundAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    addAction(roundAction);
    moveAction = new QAction(QStringLiteral("Move Result..."), this);
    moveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    addAction(moveAction);

    const struct {
        QWidget* widget;
        const char* name;
        const char* description;
    } described[] = {
        {argumentLine, "Arguments", "What to compute, as the caption's template shows"},
        {computeButton, nullptr, "Computes what the arguments ask (Enter)"},
        {resultView, "Result", "The result of the function, read only"},
        {roundHint, "Round hint",
         "Rounds the result to the decimals left of the caret (Ctrl+R asks for them)"},
        {moveLabel, "Move", "Carries the result into an operand box of the main window (Ctrl+M)"},
    };
    for (const auto& d : described) {
        if (d.name) d.widget->setAccessibleName(QString::fromLatin1(d.name));
        d.widget->setAccessibleDescription(QString::fromLatin1(d.description));
    }

    QWidget::setTabOrder(resultView, computeButton);
    QWidget::setTabOrder(computeButton, argumentLine);
    QWidget::setTabOrder(argumentLine, stopSoundButton);
    argumentLine->setFocus(); // the line the person types into
}

void FunctionDialog::connectControls() {
    // Handlers that may take or make a long number tell when memory runs out.
    auto guard = [this](auto step) { return guarded(context_.presenter, this, std::move(step)); };
    connect(computeButton, &QPushButton::clicked, this, guard([this] { compute(); }));
    connect(stopSoundButton, &QPushButton::clicked, this, [this] {
        context_.sound.stop();
        stopSoundButton->hide();
    });
    connect(argumentLine, &QLineEdit::textChanged, this, guard([this] { argumentChanged(); }));
    argumentLine->installEventFilter(this);

    auto save = [this] { saveNumberFile(context_.fileWork(this, scene()), resultView->text()); };
    connect(saveAction, &QAction::triggered, this, guard(save));
    connectResultArea({resultView, lengthLine, finder, roundHint, moveLabel}, this, context_, true,
                      save);
    connect(roundAction, &QAction::triggered, this,
            guard([this] { askAndRoundResult(*resultView, *roundHint, context_.presenter); }));
    connect(moveAction, &QAction::triggered, moveLabel, &ClickLabel::clicked);
}

CalcRunner::Scene FunctionDialog::scene() {
    CalcRunner::Scene scene;
    scene.window = this;
    scene.statusLabel = roundHint;
    scene.presenter = &context_.presenter;
    scene.disabled = {computeButton, roundHint, moveLabel};
    scene.actions = {saveAction,         roundAction,        moveAction,
                     finder->goToAction, finder->findAction, finder->findNextAction};
    scene.readOnly = {argumentLine};
    return scene;
}

// ---- Opening, activation, closing -----------------------------------------

void FunctionDialog::openModal(WindowContext& context, FunctionMode mode) {
    FunctionDialog dialog(context, mode);
    dialog.exec();
}

bool FunctionDialog::hasTemplate() const {
    return !argumentTemplate(mode_).empty();
}

void FunctionDialog::setVisible(bool visible) {
    QDialog::setVisible(visible);
    if (visible && !activated_) activate();
}

void FunctionDialog::activate() {
    activated_ = true;
    if (!hasTemplate()) return;
    // Checking stays off while the slots are filled.
    savedInputCheck_ = context_.options.inputCheck;
    context_.options.inputCheck = InputCheck::Off;
    const std::string_view empty = argumentTemplate(mode_);
    argumentLine->setText(QString::fromLatin1(empty.data(), static_cast<qsizetype>(empty.size())));
    argumentLine->setCursorPosition(kFirstSlotPosition);
    argumentLine->setValidator(new TemplateValidator(mode_, argumentLine));
}

void FunctionDialog::done(int result) {
    context_.runner.cancel(); // a calculation still running stops first
    unload();
    QDialog::done(result);
}

void FunctionDialog::unload() {
    if (unloaded_ || !activated_) return;
    unloaded_ = true;
    if (hasTemplate()) context_.options.inputCheck = savedInputCheck_;
    context_.sound.stop();
}

// ---- The argument line -------------------------------------------------------

void FunctionDialog::argumentChanged() {
    if (checking_) return; // our own write-back
    if (context_.options.inputCheck == InputCheck::On) checkArgument();
}

void FunctionDialog::checkArgument() {
    setWindowTitle(QString::fromLatin1(kCheckingCaption));
    // The caption comes back however the pass ends, out of memory included.
    const auto restoreCaption = qScopeGuard([this] { setWindowTitle(computeButton->text()); });
    const QString text = argumentLine->text();
    const QString clean =
        QString::fromStdString(settleInputText(text.toStdString(), InputField::Argument, mode_));
    if (clean != text) {
        const QScopedValueRollback<bool> writing(checking_, true);
        argumentLine->setText(clean);
    }
    argumentLine->setCursorPosition(static_cast<int>(clean.size()));
}

bool FunctionDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != argumentLine) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) return argumentKey(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::ContextMenu) {
        argumentMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (!hasTemplate()) return QDialog::eventFilter(watched, event);
    // The template takes typed digits only: nothing is dropped or pasted.
    if (isDragAndDrop(event->type()) || isMiddleButton(event)) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::FocusIn) {
        // Tab into a line selects all of it, which no typed digit may
        // replace: the caret waits in the first slot instead.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
            static_cast<QObject*>(argumentLine)->event(event);
            argumentLine->setCursorPosition(kFirstSlotPosition);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FunctionDialog::argumentMenu(const QPoint& at) {
    std::unique_ptr<QMenu> menu;
    if (!hasTemplate()) {
        menu.reset(argumentLine->createStandardContextMenu());
    } else {
        // Nothing that edits: copying and selecting only.
        menu = std::make_unique<QMenu>();
        QAction* copy = menu->addAction(tr("&Copy"), argumentLine, &QLineEdit::copy);
        copy->setEnabled(argumentLine->hasSelectedText());
        menu->addAction(tr("Select &All"), argumentLine, &QLineEdit::selectAll);
    }
    context_.presenter.popup(menu.get(), at);
}

bool FunctionDialog::argumentKey(QKeyEvent* event) {
    // Delete never deletes: the caret moves one place right.
    if (event->key() == Qt::Key_Delete) {
        argumentLine->cursorForward(false, 1);
        return true;
    }
    if (!hasTemplate()) return false;

    for (auto shortcut : kEditingShortcuts) {
        if (event->matches(shortcut)) return true;
    }
    if (event->key() == Qt::Key_Backspace) {
        // Backspace deletes one character at most, and never the template's.
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return true;
        const int caret = argumentLine->hasSelectedText() ? argumentLine->selectionStart()
                                                          : argumentLine->cursorPosition();
        const QChar before = caret > 0 ? argumentLine->text().at(caret - 1) : QChar();
        const char beforeChar =
            before.isNull() ? '\0' : (before.unicode() < 128 ? before.toLatin1() : '?');
        return !backspaceKeepsTemplate(beforeChar);
    }
    if (typesNothing(event)) return false;
    // Only a digit is typed into a slot; several characters at once never.
    const QString text = event->text();
    const char16_t typed = text.front().unicode();
    return text.size() != 1 || typed < u'0' || typed > u'9';
}

// ---- Computing ---------------------------------------------------------------

void FunctionDialog::compute() {
    if (context_.options.soundOn) context_.sound.stop();
    if (!stopSoundButton->isHidden()) stopSoundButton->hide();

    const std::string t = argumentLine->text().toStdString();
    argument_ = t;
    bool wentOn = true;
    switch (mode_) {
    case FunctionMode::Power:
        wentOn = computePower(t);
        break;
    case FunctionMode::Permutation:
        wentOn = computeSelection(t, true);
        break;
    case FunctionMode::Combination:
        wentOn = computeSelection(t, false);
        break;
    case FunctionMode::Factorial:
        wentOn = computeFactorial(t);
        break;
    }
    if (!wentOn) return; // cancelled: everything stays as it was
    clearStatus(*roundHint);
}

// Follows the outcome of a calculation started here, and shows its result.
void FunctionDialog::follow(Outcome& outcome, StoreKeeper* keeper) {
    if (!followOutcome(outcome, context_.outcomeWindow(this, stopSoundButton, scene()), keeper))
        return;
    resultView->setText(std::move(outcome.text));
    // Kept as "Factorial 25", "Power 2^100": the mode's word and the line.
    const CalcRunner::Scene held = scene();
    context_.history.record(this, windowTitle().toStdString() + " " + argument_, resultView->text(),
                            false, {}, &held);
}

bool FunctionDialog::computeFactorial(const std::string& t) {
    const double value = numericValue(t);
    FactorialStore store = appFactorialStore();
    StoreKeeper keeper(store);
    Outcome outcome;
    if (value == 0) {
        if (t != "0") return true;
        Progress progress;
        outcome = factorial(t, nullptr, progress); // 0! = 1, without the store
    } else if (value >= 1) {
        CalcRunner& runner = context_.runner;
        if (runner.refuseTooLarge(this, context_.presenter, estimateFactorial(t))) return true;
        // The worker reads the store and computes; the finished signal, the
        // save question and the writing follow here, after the work.
        std::optional<Outcome> ran = runner.run(
            scene(), [&](Progress& progress) { return factorial(t, &keeper, progress); });
        if (!ran) return false;
        outcome = std::move(*ran);
    }
    // An argument the factorial does not take gives nothing: the view keeps
    // its text.
    follow(outcome, &keeper);
    return true;
}

bool FunctionDialog::computePower(const std::string& t) {
    const auto caret = t.find('^');
    if (caret == std::string::npos) return true;
    const std::string base = t.substr(0, caret);
    const std::string exponent = t.substr(caret + 1);
    CalcRunner& runner = context_.runner;
    if (runner.refuseTooLarge(this, context_.presenter, estimatePower(base, exponent))) return true;
    std::optional<Outcome> ran =
        runner.run(scene(), [&](Progress& progress) { return power(base, exponent, progress); });
    if (!ran) return false;
    follow(*ran);
    return true;
}

bool FunctionDialog::computeSelection(const std::string& t, bool permutation) {
    const Arguments args = splitArguments(t);
    if (!args.ok) return true;
    const int repetition = flagValue(args.flag);
    CalcRunner& runner = context_.runner;
    const LengthEstimate estimate = permutation ? estimatePermutation(args.n, args.r, repetition)
                                                : estimateCombination(args.n, args.r, repetition);
    if (runner.refuseTooLarge(this, context_.presenter, estimate)) return true;
    // n! and r! on the way may go into the factorial store once the work is
    // done; a cancelled run stores nothing.
    FactorialStore store = appFactorialStore();
    StoreKeeper keeper(store);
    std::optional<Outcome> ran = runner.run(scene(), [&](Progress& progress) {
        return permutation ? permutations(args.n, args.r, repetition, &keeper, progress)
                           : combinations(args.n, args.r, repetition, &keeper, progress);
    });
    if (!ran) return false;
    follow(*ran, &keeper);
    return true;
}

} // namespace longhand
