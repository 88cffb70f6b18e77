#include "dialog.h"

#include "arguments.h"
#include "engine/combinatorics.h"
#include "engine/estimate.h"
#include "engine/factable.h"
#include "engine/factorial.h"
#include "engine/numtext.h"
#include "engine/power.h"
#include "services/paths.h"
#include "services/settings.h"
#include "services/winstyle.h"
#include "ui/main/calcrunner.h"
#include "ui/main/clicklabel.h"
#include "ui/main/form1.h"
#include "ui/main/inputcheck.h"
#include "ui/main/look.h"
#include "ui/main/move.h"
#include "ui/main/numberbox.h"
#include "ui/main/numberview.h"
#include "ui/main/outofmemory.h"
#include "ui/main/presenter.h"
#include "ui/main/roundhint.h"
#include "ui/main/rounding.h"
#include "ui/main/soundport.h"
#include "ui/main/status.h"
#include "ui/main/windowhost.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
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

// Client area, in twips.
constexpr int kClientWidth = 7590;
constexpr int kClientHeight = 5460;

// Point size of the argument line's fixed-width font.
constexpr qreal kArgumentPoints = 9.0;

// Position of the caret after "p(" or "c(" when the template is set.
constexpr int kFirstSlot = 2;

// The templates of the permutation and combination modes.
constexpr const char* kPermutationTemplate = "p(,,)";
constexpr const char* kCombinationTemplate = "c(,,)";

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

QString latin1(const char* text) {
    return QString::fromLatin1(text);
}

// Refuses every change of the argument line that would break its template,
// whichever way it comes (a key over a selection, an input method, a drop).
class TemplateValidator final : public QValidator {
  public:
    TemplateValidator(int mode, QObject* parent) : QValidator(parent), mode_(mode) {}
    State validate(QString& input, int&) const override {
        return keepsTemplate(mode_, input.toStdString()) ? Acceptable : Invalid;
    }

  private:
    int mode_;
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

Dialog::Dialog(Form1& form) : QDialog(&form), form_(form) {
    createControls();
    connectControls();
    host_ = std::make_unique<WindowHost>(form_, this, Command3);
    // Load.
    setExStyle(RichTextBox1);
    setExStyle(Text1);
}

Dialog::~Dialog() = default;

Presenter& Dialog::presenter() {
    return form_.presenter();
}

void Dialog::createControls() {
    setWindowTitle(QString());
    const qreal dpi = logicalDpi(this);
    setFixedSize(twipsSize(kClientWidth, kClientHeight, dpi));
    paintBackground(this, kBgrBlack);
    const QFont bold = boldFont();

    Text1 = new QLineEdit(this);
    Text1->setGeometry(twipsRect(120, 120, 7335, 375, dpi));
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(kArgumentPoints);
    Text1->setFont(fixed);
    Text1->setMaxLength(kArgumentMaxLength);
    Text1->setStyleSheet(QStringLiteral("QLineEdit { background: white; color: black; }"));

    auto button = [&](const QString& caption, QRect geometry, unsigned bgr) {
        auto* b = new QPushButton(caption, this);
        b->setGeometry(geometry);
        b->setFont(bold);
        b->setAutoDefault(false);
        paintButton(b, bgr);
        return b;
    };
    Command2 = button(QString(), twipsRect(2093, 720, 1815, 375, dpi), kBgrLightYellow);
    Command3 = button(QStringLiteral("Stop Sound"), twipsRect(4013, 720, 1485, 375, dpi), kBgrRed);
    Command2->setDefault(true); // Enter on the argument line computes
    Command3->hide();

    Label1 = new QLabel(QStringLiteral(" "), this);
    Label1->setGeometry(twipsRect(5400, 720, 1095, 255, dpi));
    paintLabel(Label1, kBgrWhite, kBgrBlack);
    Label1->hide();

    RichTextBox1 = new NumberView(this);
    RichTextBox1->setGeometry(twipsRect(120, 1200, 7335, 3495, dpi));
    RichTextBox1->setFont(bold);

    auto label = [&](const QString& caption, QRect geometry) {
        auto* l = new ClickLabel(caption, this);
        l->setGeometry(geometry);
        l->setFont(bold);
        l->setAlignment(Qt::AlignRight | Qt::AlignTop);
        paintLabel(l, kBgrLightYellow, kBgrBlack);
        return l;
    };
    Label2 = label(QString(), twipsRect(120, 4920, 5055, 375, dpi));
    Label2->hide();
    Label3 = label(QStringLiteral("Move"), twipsRect(6240, 4920, 1215, 375, dpi));

    QWidget::setTabOrder(RichTextBox1, Command2);
    QWidget::setTabOrder(Command2, Text1);
    QWidget::setTabOrder(Text1, Command3);
    Text1->setFocus(); // the line the person types into
}

void Dialog::connectControls() {
    // Handlers that may take or make a long number tell when memory runs out.
    auto guard = [this](auto step) { return guarded(form_.presenter(), this, std::move(step)); };
    connect(Command2, &QPushButton::clicked, this, guard([this] { compute(); }));
    connect(Command3, &QPushButton::clicked, this, [this] {
        form_.sound().stop("");
        Command3->hide();
    });
    connect(Text1, &QLineEdit::textChanged, this, guard([this] { argumentChanged(); }));
    Text1->installEventFilter(this);

    connect(RichTextBox1, &NumberView::clicked, this, guard([this] {
                if (RichTextBox1->text().find('.') != std::string::npos)
                    showRoundHint(RichTextBox1, Label2);
            }));
    connect(RichTextBox1, &NumberView::doubleClicked, this, [] { sendHomeKey(); });
    connect(RichTextBox1, &NumberView::outOfMemory, this,
            [this] { tellOutOfMemory(form_.presenter(), this); });
    connect(Label2, &ClickLabel::clicked, this,
            guard([this] { roundResult(RichTextBox1, Label2); }));
    connect(Label3, &ClickLabel::clicked, this, guard([this] { moveResult(RichTextBox1, form_); }));
}

// ---- Opening, activation, closing -----------------------------------------

void Dialog::prepare(FunctionMode mode) {
    mode_ = mode;
    const QString caption = QString::fromStdString(readTextEntry(std::string(captionKey(mode)), 0));
    setWindowTitle(caption);
    Command2->setText(caption);
    if (mode == FunctionMode::Permutation) Label1->setText(latin1(kPermutationTemplate));
    if (mode == FunctionMode::Combination) Label1->setText(latin1(kCombinationTemplate));
}

void Dialog::openModal(Form1& form, FunctionMode mode) {
    Dialog dialog(form);
    dialog.prepare(mode);
    dialog.exec();
}

int Dialog::templateMode() const {
    if (mode_ == FunctionMode::Permutation) return PermutationTemplate;
    if (mode_ == FunctionMode::Combination) return CombinationTemplate;
    return 0;
}

void Dialog::setVisible(bool visible) {
    QDialog::setVisible(visible);
    if (visible && !activated_) activate();
}

void Dialog::activate() {
    activated_ = true;
    if (templateMode() != 0) {
        // Checking stays off while the slots are filled; the state to
        // restore goes in front of the template.
        Label1->setText(QString::number(form_.iputFlag) + Label1->text());
        form_.iputFlag = Form1::kInputCheckOffFlag;
        Text1->setText(Label1->text().mid(1));
        Text1->setCursorPosition(kFirstSlot);
        Text1->setValidator(new TemplateValidator(templateMode(), Text1));
    }
}

void Dialog::done(int result) {
    form_.runner().cancel(); // a calculation still running stops first
    unload();
    QDialog::done(result);
}

void Dialog::unload() {
    if (unloaded_ || !activated_) return;
    unloaded_ = true;
    if (templateMode() != 0) {
        const QString saved = Label1->text().left(1);
        form_.iputFlag = static_cast<unsigned char>(numericValue(saved.toStdString()));
    }
    form_.sound().stop("");
}

// ---- The argument line -------------------------------------------------------

void Dialog::argumentChanged() {
    if (checking_) return; // our own write-back
    if (form_.iputFlag == Form1::kInputCheckOnFlag) commonInputchecking();
}

void Dialog::commonInputchecking() {
    setWindowTitle(latin1(Form1::kCheckingCaption));
    // The caption comes back however the pass ends, out of memory included.
    const auto restoreCaption = qScopeGuard([this] { setWindowTitle(Command2->text()); });
    const QString text = Text1->text();
    const QString clean =
        QString::fromStdString(settleInputText(text.toStdString(), ArgumentField, mode_));
    if (clean != text) {
        const QScopedValueRollback<bool> writing(checking_, true);
        Text1->setText(clean);
    }
    Text1->setCursorPosition(static_cast<int>(clean.size()));
}

bool Dialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Text1) return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) return argumentKey(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::ContextMenu) {
        argumentMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (templateMode() == 0) return QDialog::eventFilter(watched, event);
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
            static_cast<QObject*>(Text1)->event(event);
            Text1->setCursorPosition(kFirstSlot);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Dialog::argumentMenu(const QPoint& at) {
    std::unique_ptr<QMenu> menu;
    if (templateMode() == 0) {
        menu.reset(Text1->createStandardContextMenu());
    } else {
        // Nothing that edits: copying and selecting only.
        menu = std::make_unique<QMenu>();
        QAction* copy = menu->addAction(tr("&Copy"), Text1, &QLineEdit::copy);
        copy->setEnabled(Text1->hasSelectedText());
        menu->addAction(tr("Select &All"), Text1, &QLineEdit::selectAll);
    }
    form_.presenter().popup(menu.get(), at);
}

// True when the key is swallowed.
bool Dialog::argumentKey(QKeyEvent* event) {
    // Delete never deletes: the caret moves one place right.
    if (event->key() == Qt::Key_Delete) {
        Text1->cursorForward(false, 1);
        return true;
    }
    const int mode = templateMode();
    if (mode == 0) return false;

    for (auto shortcut : kEditingShortcuts) {
        if (event->matches(shortcut)) return true;
    }
    int keyAscii = 0;
    if (event->key() == Qt::Key_Backspace) {
        // Backspace deletes one character at most.
        if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return true;
        keyAscii = kKeyBackspace;
    } else if (typesNothing(event)) {
        return false;
    } else if (event->text().size() == 1) {
        keyAscii = event->text().front().unicode();
    } else {
        return true; // several characters at once
    }
    const int caret = Text1->hasSelectedText() ? Text1->selectionStart() : Text1->cursorPosition();
    const QString line = Text1->text();
    const QChar before = caret > 0 ? line.at(caret - 1) : QChar();
    const char beforeChar =
        before.isNull() ? '\0' : (before.unicode() < 128 ? before.toLatin1() : '?');
    return filterTemplateKey(mode, keyAscii, beforeChar) == 0;
}

// ---- Computing ---------------------------------------------------------------

void Dialog::showResult(std::string result) {
    RichTextBox1->setText(std::move(result));
}

void Dialog::compute() {
    if (form_.soundFlag == Form1::kSoundOnFlag) form_.sound().stop(" ");
    if (!Command3->isHidden()) Command3->hide();

    const std::string t = Text1->text().toStdString();
    bool wentOn = true;
    if (mode_) {
        switch (*mode_) {
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
    }
    if (!wentOn) return; // cancelled: everything stays as it was
    clearStatus(Label2);
}

bool Dialog::computeFactorial(const std::string& t) {
    const double value = numericValue(t);
    FactorialStore store(host_->facDataPath());
    Outcome outcome;
    if (value == 0) {
        if (t != "0") return true;
        Progress progress;
        outcome = factorial(t, nullptr, progress); // 0! = 1, from no store
    } else if (value >= 1) {
        CalcRunner& runner = form_.runner();
        if (runner.refuseTooLarge(this, form_.presenter(), estimateFactorial(t))) return true;
        // The worker reads the store and computes; the finished signal, the
        // save question and the writing follow here, after the work.
        std::optional<Outcome> ran = runner.run(
            dialogScene(*this), [&](Progress& progress) { return factorial(t, &store, progress); });
        if (!ran) return false;
        outcome = std::move(*ran);
    }
    // An argument the factorial does not take gives nothing: the box keeps
    // its text.
    if (host_->follow(outcome, &store)) showResult(std::move(outcome.text));
    return true;
}

bool Dialog::computePower(const std::string& t) {
    const auto caret = t.find('^');
    if (caret == std::string::npos) return true;
    const std::string base = t.substr(0, caret);
    const std::string exponent = t.substr(caret + 1);
    CalcRunner& runner = form_.runner();
    if (runner.refuseTooLarge(this, form_.presenter(), estimatePower(base, exponent))) return true;
    std::optional<Outcome> ran = runner.run(
        dialogScene(*this), [&](Progress& progress) { return power(base, exponent, progress); });
    if (!ran) return false;
    if (host_->follow(*ran)) showResult(std::move(ran->text));
    return true;
}

bool Dialog::computeSelection(const std::string& t, bool permutation) {
    const Arguments args = splitArguments(t);
    if (!args.ok) return true;
    const int flag = flagValue(args.flag);
    CalcRunner& runner = form_.runner();
    const LengthEstimate estimate = permutation ? estimatePermutation(args.n, args.r, flag)
                                                : estimateCombination(args.n, args.r, flag);
    if (runner.refuseTooLarge(this, form_.presenter(), estimate)) return true;
    // n! and r! on the way may go into the factorial store once the work is
    // done; a cancelled run stores nothing.
    FactorialStore store(host_->facDataPath());
    std::optional<Outcome> ran = runner.run(dialogScene(*this), [&](Progress& progress) {
        return permutation ? permutations(args.n, args.r, flag, &store, progress)
                           : combinations(args.n, args.r, flag, &store, progress);
    });
    if (!ran) return false;
    if (host_->follow(*ran, &store)) showResult(std::move(*ran).text);
    return true;
}

// ---- The table of 1! to 100! ------------------------------------------------

unsigned char Dialog::Makeit(const std::string& vok) {
    if (vok != kFactorialTableGuard) return 0;
    showResult("1");
    // The table is built on the worker; the dialog, hidden meanwhile, shows
    // its last step afterwards.
    struct Table {
        std::vector<std::string> factorials;
        int last = 0;
    };
    const std::optional<Table> built =
        form_.runner().run(mainWindowScene(form_), [](Progress& progress) {
            Table t;
            t.factorials = factorialTable(kFactorialTableTop, [&](int i, const std::string&) {
                t.last = i;
                progress.report(static_cast<double>(i) / kFactorialTableTop);
            });
            return t;
        });
    if (!built) return 0;
    Text1->setText(QString::number(built->last));
    setWindowTitle(QString::number(built->last));
    showResult(built->factorials.back());
    // The table takes the place of the records 1 to 100; larger ones stay,
    // and the largest stored n follows the store. Completion is told only
    // once the store holds the table.
    FactorialStore store(host_->facDataPath());
    const FactorialStore::Change change = store.storeTable(built->factorials);
    for (const std::string& message : store.messages(change))
        form_.presenter().inform(this, QString::fromStdString(message));
    if (change.outcome != FactorialStore::Change::Outcome::Written &&
        change.outcome != FactorialStore::Change::Outcome::Unchanged)
        return 0;
    host_->setFacUpper(change.largest);
    form_.presenter().inform(this,
                             QString::fromStdString(readTextEntry(k1to100Key, k1to100Length)));
    return 1;
}

void generateFactorialTable(Form1& form) {
    Dialog dialog(form);
    if (dialog.Makeit(std::string(kFactorialTableGuard)) != 1) return;
    dialog.Text1->clear();
    dialog.RichTextBox1->setText("");
}

} // namespace longhand
