#include "mainwindow.h"

#include "core/grouping.h"
#include "engine/estimate.h"
#include "engine/numtext.h"
#include "engine/operations.h"
#include "services/paths.h"
#include "services/settings.h"
#include "ui/common/clicklabel.h"
#include "ui/common/helplauncher.h"
#include "ui/common/historykeeper.h"
#include "ui/common/lengthline.h"
#include "ui/common/look.h"
#include "ui/common/numberbox.h"
#include "ui/common/numberview.h"
#include "ui/common/outofmemory.h"
#include "ui/common/presenter.h"
#include "ui/common/refusalwords.h"
#include "ui/common/resultarea.h"
#include "ui/common/resultfinder.h"
#include "ui/common/roundhint.h"
#include "ui/common/rounding.h"
#include "ui/common/soundport.h"
#include "ui/common/status.h"
#include "ui/common/winstyle.h"
#include "ui/main/factorialtable.h"
#include "ui/main/partialproductcommand.h"
#include "ui/splash/splashscreen.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace longhand {

namespace {

// Client area of the window, in layout pixels: the controls above the
// length line, and the line at the bottom.
constexpr int kClientWidth = 612;
constexpr int kControlsHeight = 405;
constexpr int kLengthLineTop = 396;
constexpr int kClientHeight = kControlsHeight + LengthLine::kHeight;

// What the history says produced a result of the operation buttons.
std::string operationName(Operation operation) {
    switch (operation) {
    case Operation::Add:
        return "Add";
    case Operation::Subtract:
        return "Subtract";
    case Operation::Multiply:
        return "Multiply";
    case Operation::Divide:
        return "Divide";
    }
    return {};
}

// The window's caption before anything has been written into it.
const QString kBlankCaption = QStringLiteral(" ");

} // namespace

MainWindow::MainWindow(Presenter* presenter, SoundPort* sound, QWidget* parent)
    : QMainWindow(parent), presenter_(presenter), sound_(sound) {
    if (!presenter_) {
        ownPresenter_ = std::make_unique<QtPresenter>();
        presenter_ = ownPresenter_.get();
    }
    if (!sound_) {
        ownSound_ = std::make_unique<ServicesSound>();
        sound_ = ownSound_.get();
    }
    setWindowTitle(kBlankCaption);
    setFont(plainFont());
    help_ = new HelpLauncher(this);
    runner_ = new CalcRunner(this);
    history_ = new HistoryKeeper(appFolder(), *presenter_, this);
    history_->setRunner(runner_);
    context_.emplace(
        WindowContext{this, *presenter_, *runner_, *sound_, options_, *history_,
                      [this](MoveTarget box, const std::string& text, QWidget* window) {
                          return putOperand(box, text, window);
                      }});
    createControls();
    describeControls();
    createMenus();
    connectControls();
}

MainWindow::~MainWindow() {
    delete splash_;
}

void MainWindow::createControls() {
    auto* client = new QWidget(this);
    const qreal dpi = logicalDpi(this);
    client->setFixedSize(scaledSize(kClientWidth, kClientHeight, dpi));
    paintBackground(client, kBlack);
    setCentralWidget(client);

    const QFont bold = boldFont();
    auto button = [&](const char* caption, QRect geometry, QRgb colour) {
        auto* b = new QPushButton(QString::fromLatin1(caption), client);
        b->setGeometry(geometry);
        b->setFont(bold);
        paintButton(b, colour);
        return b;
    };
    stopSoundButton = button("Stop Sound", scaledRect(57, 8, 99, 25, dpi), kRed);
    addButton = button("Add", scaledRect(169, 8, 67, 25, dpi), kLightYellow);
    subtractButton = button("Subtract", scaledRect(249, 8, 67, 25, dpi), kLightYellow);
    divideButton = button("Divide", scaledRect(329, 8, 67, 25, dpi), kLightYellow);
    multiplyButton = button("Multiply", scaledRect(409, 8, 67, 25, dpi), kLightYellow);
    functionButton = button("Function", scaledRect(488, 8, 67, 25, dpi), kLightYellow);
    stopSoundButton->hide();

    auto box = [&](QRect geometry) {
        auto* b = new NumberBox(client);
        b->setGeometry(geometry);
        b->setFont(bold);
        return b;
    };
    firstOperand = box(scaledRect(56, 40, 497, 103, dpi));
    secondOperand = box(scaledRect(56, 147, 497, 103, dpi));
    const ResultLayout layout{scaledRect(56, 256, 497, 103, dpi),
                              scaledRect(58, kLengthLineTop, 495, LengthLine::kHeight, dpi),
                              scaledRect(58, 368, 361, 25, dpi), scaledRect(466, 368, 89, 25, dpi),
                              Qt::AlignLeft};
    const ResultArea area =
        makeResultArea(client, layout, bold, *context_, [this] { return scene(); });
    resultView = area.view;
    lengthLine = area.lengthLine;
    finder = area.finder;
    roundHint = area.roundHint;
    roundHint->show(); // the main window's hint stands empty until a click fills it
    moveLabel = area.moveLabel;

    QWidget::setTabOrder(multiplyButton, firstOperand);
    QWidget::setTabOrder(firstOperand, secondOperand);
    QWidget::setTabOrder(secondOperand, resultView);
    QWidget::setTabOrder(resultView, addButton);
    QWidget::setTabOrder(addButton, subtractButton);
    QWidget::setTabOrder(subtractButton, functionButton);
    QWidget::setTabOrder(functionButton, divideButton);
    QWidget::setTabOrder(divideButton, stopSoundButton);
    multiplyButton->setFocus();
}

void MainWindow::describeControls() {
    // Alt with the caption's first letter: the boxes' editing keys leave
    // Alt alone, and the menus' letters (F, E, O, H) are others.
    const struct {
        QPushButton* button;
        int key;
        const char* description;
    } operations[] = {
        {addButton, Qt::Key_A, "Adds the lower operand to the upper one"},
        {subtractButton, Qt::Key_S, "Subtracts the lower operand from the upper one"},
        {multiplyButton, Qt::Key_M, "Multiplies the two operands"},
        {divideButton, Qt::Key_D, "Divides the upper operand by the lower one"},
    };
    for (const auto& o : operations) {
        o.button->setShortcut(QKeySequence(Qt::ALT | o.key));
        const QString keys = o.button->shortcut().toString(QKeySequence::NativeText);
        o.button->setToolTip(QStringLiteral("%1 (%2)").arg(o.button->text(), keys));
        o.button->setAccessibleDescription(
            QStringLiteral("%1 (%2)").arg(QString::fromLatin1(o.description), keys));
    }
    functionButton->setToolTip(QStringLiteral("Factorial, power, permutation, combination"));
    functionButton->setAccessibleDescription(
        QStringLiteral("Opens the menu of factorial, power, permutation, combination and "
                       "the product of a run"));
    const struct {
        QWidget* widget;
        const char* name;
        const char* description;
    } described[] = {
        {firstOperand, "Upper operand", "The first number of a calculation"},
        {secondOperand, "Lower operand", "The second number of a calculation"},
        {resultView, "Result", "The result of the last calculation, read only"},
        {roundHint, "Round hint",
         "Rounds the result to the decimals left of the caret (Ctrl+R asks for them)"},
        {moveLabel, "Move", "Carries the result into an operand box (Ctrl+M)"},
    };
    for (const auto& d : described) {
        d.widget->setAccessibleName(QString::fromLatin1(d.name));
        d.widget->setAccessibleDescription(QString::fromLatin1(d.description));
    }
    firstOperand->setPlaceholderText(QStringLiteral("first number"));
    secondOperand->setPlaceholderText(QStringLiteral("second number"));
}

void MainWindow::createMenus() {
    functionMenu = new QMenu(QStringLiteral("function"), this);
    factorialAction = functionMenu->addAction(QStringLiteral("&Factorial"));
    powerAction = functionMenu->addAction(QStringLiteral("&Power"));
    permutationAction = functionMenu->addAction(QStringLiteral("&Permutation"));
    combinationAction = functionMenu->addAction(QStringLiteral("&Combination"));
    partialProductAction = functionMenu->addAction(QStringLiteral("&m(m+1)(m+2)...(n)"));

    fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    openFirstAction = fileMenu->addAction(QStringLiteral("Open into Upper Box..."));
    openFirstAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    openSecondAction = fileMenu->addAction(QStringLiteral("Open into Lower Box..."));
    openSecondAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    fileMenu->addSeparator();
    saveAction = fileMenu->addAction(QStringLiteral("Save Result As..."));
    saveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    fileMenu->addSeparator();
    quitAction = fileMenu->addAction(QStringLiteral("Quit"));
    quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    createEditMenu();

    optionMenu = menuBar()->addMenu(QStringLiteral("&Option"));
    inputCheckAction = optionMenu->addAction(QString());
    optionMenu->addSeparator();
    soundAction = optionMenu->addAction(QString());
    optionMenu->addSeparator();
    factorialTableAction = optionMenu->addAction(QStringLiteral("&Generate 1! to 100!"));
    optionMenu->addSeparator();
    expressionAction = optionMenu->addAction(QStringLiteral("&Expression and History..."));
    expressionAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    keepHistoryAction = optionMenu->addAction(QStringLiteral("&Keep History"));
    keepHistoryAction->setCheckable(true);
    clearHistoryAction = optionMenu->addAction(QStringLiteral("C&lear History..."));
    optionMenu->addSeparator();
    groupingMenu = optionMenu->addMenu(QStringLiteral("&Digit Grouping"));
    // Each item holds its group size.
    auto* grouping = new QActionGroup(this);
    auto groupingItem = [&](const QString& caption, int size) {
        QAction* action = groupingMenu->addAction(caption);
        action->setCheckable(true);
        action->setData(size);
        grouping->addAction(action);
        groupingActions.push_back(action);
    };
    groupingItem(QStringLiteral("&None"), 0);
    for (int size : kGroupSizes)
        groupingItem(QStringLiteral("Every &%1 Digits").arg(size), size);
    groupingActions.front()->setChecked(true);
    showOptions();

    helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    contentsAction = helpMenu->addAction(QStringLiteral("&Contents"));
    aboutAction = helpMenu->addAction(QStringLiteral("&About"));
}

void MainWindow::createEditMenu() {
    editMenu = menuBar()->addMenu(QStringLiteral("&Edit"));
    copyAction = editMenu->addAction(QStringLiteral("&Copy"));
    copyAction->setShortcut(QKeySequence::Copy);
    selectAllAction = editMenu->addAction(QStringLiteral("Select &All"));
    selectAllAction->setShortcut(QKeySequence::SelectAll);
    editMenu->addSeparator();
    editMenu->addAction(finder->findAction);
    editMenu->addAction(finder->findNextAction);
    editMenu->addAction(finder->goToAction);
    editMenu->addSeparator();
    roundAction = editMenu->addAction(QStringLiteral("&Round Result..."));
    roundAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    moveAction = editMenu->addAction(QStringLiteral("&Move Result..."));
    moveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    // The window's own shortcuts; a focused box keeps its Ctrl+C and Ctrl+A.
    for (QAction* action : editMenu->actions())
        addAction(action);
}

void MainWindow::connectControls() {
    // Handlers that may take or make a long number tell when memory runs out.
    auto guard = [this](auto step) { return guarded(*presenter_, this, std::move(step)); };
    const std::pair<QPushButton*, Operation> operations[] = {
        {addButton, Operation::Add},
        {subtractButton, Operation::Subtract},
        {multiplyButton, Operation::Multiply},
        {divideButton, Operation::Divide},
    };
    for (const auto& [button, operation] : operations)
        connect(button, &QPushButton::clicked, this,
                guard([this, operation = operation] { runOperation(operation); }));
    connect(functionButton, &QPushButton::clicked, this, &MainWindow::openFunctionMenu);
    connect(stopSoundButton, &QPushButton::clicked, this, &MainWindow::stopSound);

    for (NumberBox* box : {firstOperand, secondOperand}) {
        connect(box, &NumberBox::changed, this, guard([this, box] { operandChanged(*box); }));
        connect(box, &NumberBox::outOfMemory, this, [this] { tellOutOfMemory(*presenter_, this); });
        // With checking off, the space key is the one key refused.
        connect(box, &NumberBox::keyPressed, this, [this](QKeyEvent* event, bool* swallow) {
            if (options_.inputCheck == InputCheck::Off && event->text() == QLatin1String(" "))
                *swallow = true;
        });
    }
    connectResultArea(
        {resultView, lengthLine, finder, roundHint, moveLabel}, this, *context_, false,
        [this] { saveResult(); },
        [this](MoveTarget moved) {
            const CalcRunner::Scene held = scene();
            history_->record(
                this, moved == MoveTarget::FirstOperand ? "Move to Upper Box" : "Move to Lower Box",
                resultView->text(), resultView->isCut(), {}, &held);
        });
    connect(copyAction, &QAction::triggered, this, guard([this] {
                if (auto* box = qobject_cast<NumberBox*>(QApplication::focusWidget()))
                    box->copy();
                else
                    resultView->copy();
            }));
    connect(selectAllAction, &QAction::triggered, this, [this] {
        if (auto* box = qobject_cast<NumberBox*>(QApplication::focusWidget())) {
            box->selectAll();
            return;
        }
        resultView->setFocus(Qt::ShortcutFocusReason);
        resultView->selectAll();
    });
    connect(roundAction, &QAction::triggered, this,
            guard([this] { askAndRoundResult(*resultView, *roundHint, *presenter_); }));
    connect(moveAction, &QAction::triggered, moveLabel, &ClickLabel::clicked);

    const std::pair<QAction*, FunctionMode> dialogs[] = {
        {factorialAction, FunctionMode::Factorial},
        {powerAction, FunctionMode::Power},
        {permutationAction, FunctionMode::Permutation},
        {combinationAction, FunctionMode::Combination},
    };
    for (const auto& [action, mode] : dialogs)
        connect(action, &QAction::triggered, this,
                [this, mode = mode] { openFunctionDialog(mode); });
    connect(partialProductAction, &QAction::triggered, this,
            guard([this] { runPartialProduct(*this); }));
    connect(inputCheckAction, &QAction::triggered, this, &MainWindow::toggleInputCheck);
    connect(soundAction, &QAction::triggered, this, &MainWindow::toggleSound);
    connect(factorialTableAction, &QAction::triggered, this,
            guard([this] { generateFactorialTable(*this); }));
    connect(expressionAction, &QAction::triggered, this, &MainWindow::openExpressionWindow);
    connect(keepHistoryAction, &QAction::toggled, this,
            [this](bool keep) { history_->setKeeping(keep); });
    connect(clearHistoryAction, &QAction::triggered, this, [this] { history_->clear(this); });
    connect(contentsAction, &QAction::triggered, this, &MainWindow::openHelp);
    connect(aboutAction, &QAction::triggered, this, [this] { showSplash(true); });

    connect(openFirstAction, &QAction::triggered, this,
            guard([this] { openInto(*firstOperand, kOpenUpperCaption); }));
    connect(openSecondAction, &QAction::triggered, this,
            guard([this] { openInto(*secondOperand, kOpenLowerCaption); }));
    for (NumberBox* box : {firstOperand, secondOperand})
        connect(box, &NumberBox::fileDropped, this, [this, box, guard](const QString& path) {
            guard([this, box, path] { openDropped(*box, path); })();
        });
    connect(saveAction, &QAction::triggered, this, guard([this] { saveResult(); }));
    connect(quitAction, &QAction::triggered, this, &QWidget::close);
    for (QAction* action : groupingActions)
        connect(action, &QAction::triggered, this,
                [this, action] { setGroupSize(action->data().toInt(), true); });
}

CalcRunner::Scene MainWindow::scene() {
    CalcRunner::Scene scene;
    scene.window = this;
    scene.statusLabel = roundHint;
    scene.presenter = presenter_;
    scene.disabled = {multiplyButton, addButton, subtractButton, functionButton,
                      divideButton,   roundHint, moveLabel};
    scene.actions = {fileMenu->menuAction(),
                     editMenu->menuAction(),
                     roundAction,
                     moveAction,
                     openFirstAction,
                     openSecondAction,
                     saveAction,
                     finder->goToAction,
                     finder->findAction,
                     finder->findNextAction,
                     optionMenu->menuAction(),
                     helpMenu->menuAction(),
                     factorialAction,
                     powerAction,
                     permutationAction,
                     combinationAction,
                     partialProductAction,
                     inputCheckAction,
                     soundAction,
                     factorialTableAction,
                     clearHistoryAction,
                     contentsAction,
                     aboutAction};
    scene.readOnly = {firstOperand, secondOperand};
    return scene;
}

bool MainWindow::putOperand(MoveTarget target, const std::string& text, QWidget* window) {
    NumberBox* box = target == MoveTarget::FirstOperand    ? firstOperand
                     : target == MoveTarget::SecondOperand ? secondOperand
                                                           : nullptr;
    if (!box) return false;
    if (!box->fits(static_cast<std::int64_t>(text.size()))) {
        tellOutOfMemory(*presenter_, window);
        return false;
    }
    if (text.size() <= static_cast<std::size_t>(NumberBox::kChunkThreshold)) {
        box->setText("");
        box->setText(text);
        return true;
    }
    // A long text is made ready on the runner while the window keeps
    // turning; then it only has to be handed over. A text with other
    // characters than ASCII (no result has them) takes the way above.
    const int perRow = box->charsPerRow();
    std::optional<NumberBox::PreparedText> ready =
        runner_->run(scene(), [&](Progress&) -> NumberBox::PreparedText {
            const bool ascii =
                std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
            return ascii ? NumberBox::prepare(text, perRow) : NumberBox::PreparedText{};
        });
    if (!ready) return false;
    if (!ready->document) {
        box->setText("");
        box->setText(text);
        return true;
    }
    box->showPrepared(std::move(*ready));
    // What a new text in the box sets off, as setText() would.
    operandChanged(*box);
    return true;
}

// ---- Start-up -------------------------------------------------------------

void MainWindow::startUp() {
    showSplash(false);
    readOptions();
}

void MainWindow::readOptions() {
    const int inputState = readInputCheckState();
    const int soundState = readSoundState();
    // The largest stored n follows the store, whatever the settings say. The
    // store is read on the runner, as every read of it is: a store whose
    // last record cannot vouch for the settings is read through, which can
    // take a while.
    const std::string remembered = readLargestStored();
    FactorialStore store = appFactorialStore();
    if (const auto largest = runner().run(scene(), [&](Progress& progress) {
            return store.currentLargestKey(remembered, "1", &progress);
        }))
        followLargestStored(*largest);

    // Other stored values leave the options as they are.
    if (inputState == kInputCheckOn) options_.inputCheck = InputCheck::On;
    if (inputState == kInputCheckOff) options_.inputCheck = InputCheck::Off;
    if (soundState == kSoundOn || soundState == kSoundOff) {
        options_.soundOn = soundState == kSoundOn;
        soundChosen_ = true;
    }
    showOptions();
    if (const int size = readGroupSize(); isGroupSize(size)) setGroupSize(size, false);
    for (QWidget* box : std::initializer_list<QWidget*>{firstOperand, secondOperand, resultView})
        setSunkenFrame(box);
}

void MainWindow::setGroupSize(int size, bool keep) {
    if (!isGroupSize(size)) return;
    options_.groupSize = size;
    resultView->setGroupSize(size);
    for (QAction* action : groupingActions)
        if (action->data().toInt() == size) action->setChecked(true);
    if (keep) writeGroupSize(size);
}

// Each option item offers what a click on it does.
void MainWindow::showOptions() {
    inputCheckAction->setText(QString::fromLatin1(
        options_.inputCheck == InputCheck::On ? kDisableInputCheck : kEnableInputCheck));
    soundAction->setText(
        QString::fromLatin1(options_.soundOn && soundChosen_ ? kDisableSound : kEnableSound));
    const QSignalBlocker quiet(keepHistoryAction);
    keepHistoryAction->setChecked(history_->keeping());
}

void MainWindow::showSplash(bool about) {
    if (!splash_) splash_ = new SplashScreen;
    if (about) {
        splash_->timer->start();
        splash_->showAbout();
        setSunkenFrame(splash_->aboutPicture);
    }
    splash_->showModal();
    if (splash_ && splash_->unloaded()) unloadSplash();
}

void MainWindow::unloadSplash() {
    delete splash_;
    splash_ = nullptr;
}

// ---- The four operations ---------------------------------------------------

bool MainWindow::readOperands(std::string& first, std::string& second) {
    // A long box is read on every core; the second only when the first
    // holds something.
    first = firstOperand->text();
    const bool firstEmpty = textKind(first) == TextKind::Empty;
    if (!firstEmpty) {
        second = secondOperand->text();
        if (textKind(second) != TextKind::Empty) return true;
    }
    tellRefusal(*presenter_, this, {RefusalKind::EmptyOperand, firstEmpty ? 0 : 1});
    return false;
}

void MainWindow::runOperation(Operation operation) {
    if (options_.soundOn) sound_->stop();
    std::string a, b;
    if (!readOperands(a, b)) return;
    if (runner_->refuseTooLarge(this, *presenter_, estimateCalculation(operation, a, b))) return;

    // The window keeps turning while the worker computes; a cancelled
    // calculation, or one that ran out of memory, leaves everything as it was.
    // The result's shape is found there too, so that showing it costs the
    // window no pass over its digits.
    NumberShape shape;
    std::optional<Outcome> ran = runner_->run(scene(), [&](Progress& progress) {
        Outcome outcome = calculate(operation, a, b, progress);
        shape = shapeOf(outcome.text);
        return outcome;
    });
    if (!ran || !followOutcome(*ran, context_->outcomeWindow(this, stopSoundButton))) return;
    resultView->setText(std::move(ran->text), ran->cut, shape);
    clearStatus(*roundHint);
    const CalcRunner::Scene held = scene();
    history_->record(this, operationName(operation), resultView->text(), ran->cut, {}, &held);
}

// ---- Files -------------------------------------------------------------------

void MainWindow::openInto(NumberBox& box, const char* caption) {
    openNumberFile(context_->fileWork(this, scene()), box, QString::fromLatin1(caption),
                   options_.inputCheck == InputCheck::On);
}

void MainWindow::openDropped(NumberBox& box, const QString& path) {
    openNumberFileAt(context_->fileWork(this, scene()), box, path,
                     options_.inputCheck == InputCheck::On);
}

void MainWindow::saveResult() {
    saveNumberFile(context_->fileWork(this, scene()), resultView->text());
}

// ---- Input checking --------------------------------------------------------

void MainWindow::operandChanged(NumberBox& box) {
    if (checking_) return; // our own write-back
    if (options_.inputCheck == InputCheck::On) checkOperand(box);
}

void MainWindow::checkOperand(NumberBox& box) {
    setWindowTitle(QString::fromLatin1(kCheckingCaption));
    // The caption comes back however the pass ends, out of memory included.
    const auto restoreCaption = qScopeGuard([this] { setWindowTitle(QString()); });
    const std::string clean = settleInputText(box.text(), InputField::Operand);
    {
        const QScopedValueRollback<bool> writing(checking_, true);
        box.setText(clean);
    }
    box.moveCaretToEnd();
}

// ---- Menus and buttons -----------------------------------------------------

void MainWindow::toggleInputCheck() {
    const bool on = options_.inputCheck != InputCheck::On;
    writeInputCheckState(on ? "2" : "1");
    options_.inputCheck = on ? InputCheck::On : InputCheck::Off;
    showOptions();
}

void MainWindow::toggleSound() {
    const bool on = !(options_.soundOn && soundChosen_);
    writeSoundState(on ? "0" : "1");
    options_.soundOn = on;
    soundChosen_ = true;
    showOptions();
    if (!on && !stopSoundButton->isHidden()) {
        stopSoundButton->hide();
        sound_->stop();
    }
}

void MainWindow::openFunctionMenu() {
    unloadSplash();
    if (options_.soundOn) sound_->stop();
    if (!stopSoundButton->isHidden()) stopSoundButton->hide();
    presenter_->popup(functionMenu, QCursor::pos());
}

void MainWindow::stopSound() {
    sound_->stop();
    stopSoundButton->hide();
}

void MainWindow::openExpressionWindow() {
    if (!expressionWindow_ && makeExpressionWindow) expressionWindow_ = makeExpressionWindow();
    if (!expressionWindow_) return;
    expressionWindow_->show();
    expressionWindow_->raise();
    expressionWindow_->activateWindow();
}

void MainWindow::openHelp() {
    help_->open(QString::fromStdString(appFilePath(kHelpFile)));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    runner_->cancel(); // a calculation still running stops first
    sound_->stop();
    unloadSplash();
    // Closing the main window ends the program: every other window goes.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible()) window->close();
    }
    event->accept();
}

} // namespace longhand
