#include "expressionwindow.h"

#include "expr/expr.h"
#include "expressionwords.h"
#include "historylist.h"
#include "ui/common/answerwords.h"
#include "ui/common/historykeeper.h"
#include "ui/common/look.h"
#include "ui/common/numberfile.h"
#include "ui/common/numberview.h"
#include "ui/common/outofmemory.h"
#include "ui/common/presenter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

namespace longhand {

namespace {

// The window's size when it first opens, in layout pixels.
constexpr int kWidth = 640;
constexpr int kHeight = 560;

const HistoryEntry* findEntry(const HistorySnapshot& snapshot, std::int64_t number) {
    for (auto it = snapshot.entries.rbegin(); it != snapshot.entries.rend(); ++it)
        if (it->number == number) return &*it;
    return nullptr;
}

// An entry's exact value: its fraction where the shown text is less than
// all of it, its text where it is no number, else the shown number (read
// from its file when long).
std::optional<expr::Value> entryValue(const HistoryStore& store, const HistoryEntry& entry,
                                      const fast::CancelCheck* cancel) {
    const bool text = entry.exact == kHistoryTextMark;
    if (!entry.exact.empty() && !text) return expr::parseFractionText(entry.exact, cancel);
    std::optional<std::string> value = store.value(entry);
    if (!value) return std::nullopt;
    if (text) return expr::Value::ofText(std::move(*value));
    return expr::fromNumberText(*value, cancel);
}

bool isText(const HistoryEntry* entry) {
    return entry && entry->exact == kHistoryTextMark;
}

} // namespace

ExpressionWindow::ExpressionWindow(Services services, QWidget* parent)
    : QWidget(parent, Qt::Window), services_(std::move(services)),
      snapshot_(std::make_shared<HistorySnapshot>(services_.history.store().read())) {
    setWindowTitle(QString::fromLatin1(kTitle));
    setFont(plainFont());
    createControls();
    connectControls();
    historyList->historyModel().setSnapshot(snapshot_);
    historyList->scrollToBottom();
    tellDamage();
    follower_ = new QTimer(this);
    connect(follower_, &QTimer::timeout, this, &ExpressionWindow::follow);
    follower_->start(kFollowMs);
}

ExpressionWindow::~ExpressionWindow() = default;

void ExpressionWindow::createControls() {
    const qreal dpi = logicalDpi(this);
    resize(scaledSize(kWidth, kHeight, dpi));
    paintBackground(this, kBlack);
    const QFont bold = boldFont();

    historyList = new HistoryList(this);
    valueView = new NumberView(this);
    valueView->setFont(bold);
    noteLabel = new QLabel(this);
    noteLabel->setFont(plainFont());
    paintLabel(noteLabel, kQuietGrey, kBlack);
    statusLabel = new QLabel(this);
    statusLabel->setFont(bold);
    statusLabel->setWordWrap(true);
    statusLabel->setMinimumHeight(scaled(25, dpi));
    paintLabel(statusLabel, kLightYellow, kBlack);
    input = new QLineEdit(this);
    input->setFont(bold);
    input->setPlaceholderText(QStringLiteral("2^100-1, 30!/(10!*20!), 1/7, #3*ans ... then Enter"));

    auto* valueArea = new QWidget(this);
    auto* valueColumn = new QVBoxLayout(valueArea);
    valueColumn->setContentsMargins(0, 0, 0, 0);
    valueColumn->setSpacing(2);
    valueColumn->addWidget(valueView, 1);
    valueColumn->addWidget(noteLabel);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(historyList);
    splitter->addWidget(valueArea);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(scaled(8, dpi), scaled(8, dpi), scaled(8, dpi), scaled(8, dpi));
    column->addWidget(splitter, 1);
    column->addWidget(statusLabel);
    column->addWidget(input);

    // What a screen reader calls the parts.
    historyList->setAccessibleName(QStringLiteral("History"));
    valueView->setAccessibleName(QStringLiteral("Value of the chosen entry"));
    noteLabel->setAccessibleName(QStringLiteral("Length of the chosen entry"));
    statusLabel->setAccessibleName(QStringLiteral("Status"));
    input->setAccessibleName(QStringLiteral("Expression"));

    entryMenu = new QMenu(this);
    copyAction = entryMenu->addAction(QString::fromLatin1(kCopy));
    saveAction = entryMenu->addAction(QString::fromLatin1(kSaveAs));
    entryMenu->addSeparator();
    moveUpperAction = entryMenu->addAction(QString::fromLatin1(kMoveUpper));
    moveLowerAction = entryMenu->addAction(QString::fromLatin1(kMoveLower));
    entryMenu->addSeparator();
    useAction = entryMenu->addAction(QString::fromLatin1(kUseInExpression));
    entryMenu->addSeparator();
    clearAction = entryMenu->addAction(QString::fromLatin1(kClearHistory));
    input->setFocus();
}

void ExpressionWindow::connectControls() {
    auto guard = [this](auto step) { return guarded(services_.presenter, this, std::move(step)); };
    connect(input, &QLineEdit::returnPressed, this, guard([this] { evaluate(); }));
    input->installEventFilter(this);
    connect(historyList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            guard([this] { showCurrent(); }));
    connect(historyList, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { openEntryMenu(at); });
    connect(valueView, &NumberView::outOfMemory, this,
            [this] { tellOutOfMemory(services_.presenter, this); });
    connect(&services_.history, &HistoryKeeper::changed, this, &ExpressionWindow::follow);

    connect(copyAction, &QAction::triggered, this, guard([this] {
                if (auto value = currentValue())
                    QApplication::clipboard()->setText(QString::fromStdString(*value));
            }));
    connect(saveAction, &QAction::triggered, this, guard([this] {
                if (auto value = currentValue())
                    saveNumberFile({this, services_.presenter, services_.runner, scene()}, *value);
            }));
    const std::pair<QAction*, Box> moves[] = {{moveUpperAction, Box::Upper},
                                              {moveLowerAction, Box::Lower}};
    for (const auto& [action, box] : moves)
        connect(action, &QAction::triggered, this, guard([this, box = box] {
                    if (isText(historyList->currentEntry())) return;
                    if (auto value = currentValue()) services_.putIntoBox(box, *value);
                }));
    connect(useAction, &QAction::triggered, this, [this] {
        if (const HistoryEntry* e = historyList->currentEntry()) {
            input->insert(QStringLiteral("#%1").arg(e->number));
            input->setFocus();
        }
    });
    connect(clearAction, &QAction::triggered, this, [this] { services_.history.clear(this); });
}

CalcRunner::Scene ExpressionWindow::scene() {
    CalcRunner::Scene scene;
    scene.window = this;
    scene.statusLabel = statusLabel;
    scene.presenter = &services_.presenter;
    scene.actions = {copyAction,      saveAction, moveUpperAction,
                     moveLowerAction, useAction,  clearAction};
    scene.readOnly = {input};
    return scene;
}

void ExpressionWindow::setGroupSize(int size) {
    valueView->setGroupSize(size);
}

void ExpressionWindow::follow() {
    const std::size_t count = snapshot_->entries.size();
    const std::uint64_t id = snapshot_->fileId;
    const std::uint64_t end = snapshot_->end;
    // A calculation reads the entries it was started with; new ones go to
    // a copy.
    if (services_.runner.isRunning()) snapshot_ = std::make_shared<HistorySnapshot>(*snapshot_);
    services_.history.store().refresh(*snapshot_);
    if (snapshot_->entries.size() == count && snapshot_->fileId == id && snapshot_->end == end)
        return;
    tellDamage();
    const HistoryEntry* current = historyList->currentEntry();
    const std::int64_t chosen = current ? current->number : 0;
    // A log that was missing before counts as having grown.
    const bool grew = (id == 0 || snapshot_->fileId == id) && snapshot_->entries.size() > count;
    historyList->historyModel().setSnapshot(snapshot_);
    // New entries are chosen and shown; otherwise the choice stays.
    const int row = grew ? historyList->historyModel().rowCount() - 1
                         : historyList->historyModel().rowOf(chosen);
    if (row >= 0) {
        historyList->setCurrentIndex(historyList->historyModel().index(row));
        historyList->scrollTo(historyList->currentIndex());
    } else {
        showCurrent();
    }
}

void ExpressionWindow::tellDamage() {
    if (snapshot_->unreadable)
        statusLabel->setText(QString::fromLatin1(kUnreadable) +
                             QString::fromStdString(services_.history.store().logPath()));
    else if (snapshot_->damaged > 0)
        statusLabel->setText(QString::fromLatin1(kDamaged).arg(snapshot_->damaged));
}

void ExpressionWindow::showCurrent() {
    const HistoryEntry* e = historyList->currentEntry();
    if (!e) {
        valueView->setText("");
        noteLabel->clear();
        return;
    }
    const std::optional<std::string> value = services_.history.store().value(*e);
    valueView->setText(value ? *value : std::string());
    noteLabel->setText(value ? QStringLiteral("#%1  ").arg(e->number) +
                                   QString::fromStdString(e->note)
                             : QString::fromLatin1(kValueLost) + QString::fromStdString(e->file));
}

std::optional<std::string> ExpressionWindow::currentValue() {
    const HistoryEntry* e = historyList->currentEntry();
    if (!e) return std::nullopt;
    std::optional<std::string> value = services_.history.store().value(*e);
    if (!value)
        services_.presenter.inform(this, QString::fromLatin1(kValueLost) +
                                             QString::fromStdString(e->file));
    return value;
}

void ExpressionWindow::openEntryMenu(const QPoint& at) {
    const QModelIndex index = historyList->indexAt(at);
    if (index.isValid()) historyList->setCurrentIndex(index);
    const bool chosen = historyList->currentEntry() != nullptr;
    for (QAction* action : {copyAction, saveAction, moveUpperAction, moveLowerAction, useAction})
        action->setEnabled(chosen && !services_.runner.isRunning());
    // A text is no number for an operand box.
    if (isText(historyList->currentEntry()))
        for (QAction* action : {moveUpperAction, moveLowerAction})
            action->setEnabled(false);
    services_.presenter.popup(entryMenu, historyList->viewport()->mapToGlobal(at));
}

void ExpressionWindow::evaluate() {
    const QString typed = input->text();
    const std::string line = typed.trimmed().toStdString();
    if (line.empty() || services_.runner.isRunning()) return;
    if (typed_.empty() || typed_.back() != typed) typed_.push_back(typed);
    recalled_ = typed_.size();
    draft_.clear();
    statusLabel->clear();

    // The run reads the entries as they are now, whatever is appended
    // meanwhile; "ans" is the newest of them.
    const std::shared_ptr<const HistorySnapshot> entries = snapshot_;
    const HistoryStore& store = services_.history.store();
    std::optional<expr::Evaluation> ran =
        services_.runner.run(scene(), [&, entries](Progress& progress) {
            expr::Environment env;
            env.entry = [&](std::uint64_t k) -> std::optional<expr::Value> {
                const HistoryEntry* e = findEntry(*entries, static_cast<std::int64_t>(k));
                return e ? entryValue(store, *e, nullptr) : std::nullopt;
            };
            if (line.find("ans") != std::string::npos && !entries->entries.empty())
                env.ans = entryValue(store, entries->entries.back(), nullptr);
            return expr::evaluate(line, env, progress);
        });
    if (!ran || ran->status == expr::Evaluation::Status::Cancelled) return;
    if (ran->status == expr::Evaluation::Status::Refused) {
        statusLabel->setText(QString::fromStdString(refusalWords(ran->refusal)));
        return;
    }
    HistoryRecord record{line, ran->shown.text, shownNote(ran->shown), {}};
    if (ran->shown.kind == expr::ShownKind::Answer) record.value = answerText(ran->shown.answer);
    if (!ran->value.isNumber())
        record.exact = kHistoryTextMark;
    else if (ran->shown.kind != expr::ShownKind::Ends)
        record.exact = expr::fractionText(ran->value.number);
    input->clear();
    if (services_.history.keeping()) {
        services_.history.recordAll(this, {record});
        return; // follow() shows the new entry
    }
    // Not kept: shown all the same.
    historyList->clearSelection();
    valueView->setText(std::move(record.value));
    noteLabel->setText(QString::fromStdString(record.note));
}

void ExpressionWindow::recall(int step) {
    if (typed_.empty()) return;
    if (recalled_ == typed_.size()) draft_ = input->text();
    if (step < 0 && recalled_ > 0) --recalled_;
    if (step > 0 && recalled_ < typed_.size()) ++recalled_;
    input->setText(recalled_ == typed_.size() ? draft_ : typed_[recalled_]);
}

bool ExpressionWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == input && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            if (!input->isReadOnly()) recall(key == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace longhand
