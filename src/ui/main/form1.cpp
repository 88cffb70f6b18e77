#include "form1.h"

#include "calcrunner.h"
#include "clicklabel.h"
#include "engine/estimate.h"
#include "engine/factorialstore.h"
#include "engine/numtext.h"
#include "engine/operations.h"
#include "helplauncher.h"
#include "inputcheck.h"
#include "look.h"
#include "numberbox.h"
#include "numberview.h"
#include "outofmemory.h"
#include "presenter.h"
#include "services/paths.h"
#include "services/settings.h"
#include "services/winstyle.h"
#include "soundport.h"
#include "status.h"
#include "ui/splash/frmsplash.h"
#include "windowhost.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTimer>
#include <utility>

namespace longhand {

namespace {

// Client area of the window, in twips.
constexpr int kClientWidth = 9180;
constexpr int kClientHeight = 6075;

// The window's caption before anything has been written into it.
const QString kBlankCaption = QStringLiteral(" ");

// The looping finished sound file.
const std::string kSound = kFinishedSound;

} // namespace

Form1::Form1(Presenter* presenter, SoundPort* sound, QWidget* parent)
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
    createControls();
    createMenus();
    connectControls();
    host_ = std::make_unique<WindowHost>(*this, this, Command6);
    help_ = new HelpLauncher(this);
    runner_ = new CalcRunner(this);
}

Form1::~Form1() {
    delete splash_;
}

void Form1::createControls() {
    auto* client = new QWidget(this);
    const qreal dpi = logicalDpi(this);
    client->setFixedSize(twipsSize(kClientWidth, kClientHeight, dpi));
    paintBackground(client, kBgrBlack);
    setCentralWidget(client);

    const QFont bold = boldFont();
    auto button = [&](const char* caption, QRect geometry, unsigned bgr) {
        auto* b = new QPushButton(QString::fromLatin1(caption), client);
        b->setGeometry(geometry);
        b->setFont(bold);
        paintButton(b, bgr);
        return b;
    };
    Command6 = button("Stop Sound", twipsRect(853, 120, 1485, 375, dpi), kBgrRed);
    Command2 = button("Add", twipsRect(2537, 120, 1000, 375, dpi), kBgrLightYellow);
    Command3 = button("Subtract", twipsRect(3737, 120, 1000, 375, dpi), kBgrLightYellow);
    Command5 = button("Divide", twipsRect(4937, 120, 1000, 375, dpi), kBgrLightYellow);
    Command1 = button("Multiply", twipsRect(6137, 120, 1000, 375, dpi), kBgrLightYellow);
    Command4 = button("Function", twipsRect(7327, 120, 1000, 375, dpi), kBgrLightYellow);
    Command6->hide();

    auto box = [&](QRect geometry) {
        auto* b = new NumberBox(client);
        b->setGeometry(geometry);
        b->setFont(bold);
        return b;
    };
    RichTextBox1 = box(twipsRect(840, 600, 7455, 1545, dpi));
    RichTextBox2 = box(twipsRect(840, 2212, 7455, 1545, dpi));
    RichTextBox3 = new NumberView(client);
    RichTextBox3->setGeometry(twipsRect(840, 3840, 7455, 1545, dpi));
    RichTextBox3->setFont(bold);

    auto label = [&](const QString& caption, QRect geometry, Qt::Alignment alignment) {
        auto* l = new ClickLabel(caption, client);
        l->setGeometry(geometry);
        l->setFont(bold);
        l->setAlignment(alignment | Qt::AlignTop);
        paintLabel(l, kBgrLightYellow, kBgrBlack);
        return l;
    };
    Label1 = label(QString(), twipsRect(870, 5520, 5415, 375, dpi), Qt::AlignLeft);
    Label2 = label(QStringLiteral("Move"), twipsRect(6990, 5520, 1335, 375, dpi), Qt::AlignRight);

    QWidget::setTabOrder(Command1, RichTextBox1);
    QWidget::setTabOrder(RichTextBox1, RichTextBox2);
    QWidget::setTabOrder(RichTextBox2, RichTextBox3);
    QWidget::setTabOrder(RichTextBox3, Command2);
    QWidget::setTabOrder(Command2, Command3);
    QWidget::setTabOrder(Command3, Command4);
    QWidget::setTabOrder(Command4, Command5);
    QWidget::setTabOrder(Command5, Command6);
    Command1->setFocus();
}

void Form1::createMenus() {
    functionmnu = new QMenu(QStringLiteral("function"), this);
    factorialmnu = functionmnu->addAction(QStringLiteral("&Factorial"));
    powermnu = functionmnu->addAction(QStringLiteral("&Power"));
    permu = functionmnu->addAction(QStringLiteral("&Permutation"));
    comu = functionmnu->addAction(QStringLiteral("&Combination"));
    partialFac = functionmnu->addAction(QStringLiteral("&m(m+1)(m+2)...(n)"));

    optmnu = menuBar()->addMenu(QStringLiteral("&Option"));
    iputmnu = optmnu->addAction(QString::fromLatin1(kEnableInputCheck));
    optmnu->addSeparator();
    sndmnu = optmnu->addAction(QString::fromLatin1(kEnableSound));
    optmnu->addSeparator();
    g100 = optmnu->addAction(QStringLiteral("&Generate 1! to 100!"));

    helpmnu = menuBar()->addMenu(QStringLiteral("&Help"));
    contentsmnu = helpmnu->addAction(QStringLiteral("&Contents"));
    aboutmnu = helpmnu->addAction(QStringLiteral("&About"));
}

void Form1::connectControls() {
    // Handlers that may take or make a long number tell when memory runs out.
    auto guard = [this](auto step) { return guarded(*presenter_, this, std::move(step)); };
    connect(Command2, &QPushButton::clicked, this, guard([this] { runOperation(Operation::Add); }));
    connect(Command3, &QPushButton::clicked, this,
            guard([this] { runOperation(Operation::Subtract); }));
    connect(Command1, &QPushButton::clicked, this,
            guard([this] { runOperation(Operation::Multiply); }));
    connect(Command5, &QPushButton::clicked, this,
            guard([this] { runOperation(Operation::Divide); }));
    connect(Command4, &QPushButton::clicked, this, &Form1::onFunctionButton);
    connect(Command6, &QPushButton::clicked, this, &Form1::onStopSound);

    for (int id : {OperandField1, OperandField2}) {
        NumberBox* box = operandBox(id);
        connect(box, &NumberBox::changed, this, guard([this, id] { operandChanged(id); }));
        connect(box, &NumberBox::outOfMemory, this, [this] { tellOutOfMemory(*presenter_, this); });
        // With checking off, the space key is the one key refused.
        connect(box, &NumberBox::keyPressed, this, [this](QKeyEvent* event, bool* swallow) {
            if (iputFlag == kInputCheckOffFlag && event->text() == QLatin1String(" "))
                *swallow = true;
        });
    }
    connect(RichTextBox3, &NumberView::clicked, this, guard([this] { onResultClicked(); }));
    connect(RichTextBox3, &NumberView::doubleClicked, this, [] { sendHomeKey(); });
    connect(RichTextBox3, &NumberView::outOfMemory, this,
            [this] { tellOutOfMemory(*presenter_, this); });
    connect(Label1, &ClickLabel::clicked, this, guard([this] { onLabel1Clicked(); }));
    connect(Label2, &ClickLabel::clicked, this, guard([this] { onLabel2Clicked(); }));

    connect(factorialmnu, &QAction::triggered, this, &Form1::onFactorialMenu);
    connect(powermnu, &QAction::triggered, this, &Form1::onPowerMenu);
    connect(permu, &QAction::triggered, this, &Form1::onPermutationMenu);
    connect(comu, &QAction::triggered, this, &Form1::onCombinationMenu);
    connect(partialFac, &QAction::triggered, this, guard([this] { onPartialProductMenu(); }));
    connect(iputmnu, &QAction::triggered, this, &Form1::onInputCheckToggle);
    connect(sndmnu, &QAction::triggered, this, &Form1::onSoundToggle);
    connect(g100, &QAction::triggered, this, guard([this] { onGenerate100Menu(); }));
    connect(contentsmnu, &QAction::triggered, this, &Form1::onContents);
    connect(aboutmnu, &QAction::triggered, this, &Form1::onAbout);
}

NumberBox* Form1::operandBox(int id) const {
    if (id == OperandField1) return RichTextBox1;
    if (id == OperandField2) return RichTextBox2;
    return nullptr;
}

// ---- Start-up -------------------------------------------------------------

void Form1::startUp() {
    showSplash(false);
    readOptions();
}

void Form1::readOptions() {
    const int inputCheck = readInputCheckState();
    const int soundState = readSoundState();
    facUpper = readFacUpper();
    // The largest stored n follows the store, whatever the settings say.
    const std::string stored =
        FactorialStore(host_->facDataPath()).currentLargestKey(facUpper, "1");
    if (!stored.empty() && stored != facUpper) host_->setFacUpper(stored);

    if (inputCheck == kInputCheckOn) {
        iputFlag = kInputCheckOnFlag;
        iputmnu->setText(QString::fromLatin1(kDisableInputCheck));
    } else if (inputCheck == kInputCheckOff) {
        iputFlag = kInputCheckOffFlag;
    }
    if (soundState == kSoundOn) {
        soundFlag = kSoundOnFlag;
        sndmnu->setText(QString::fromLatin1(kDisableSound));
    } else if (soundState == kSoundOff) {
        soundFlag = kSoundOffFlag;
    }
    for (QWidget* box : std::initializer_list<QWidget*>{RichTextBox1, RichTextBox2, RichTextBox3})
        setExStyle(box);
}

void Form1::showSplash(bool about) {
    if (!splash_) splash_ = new frmSplash;
    if (about) {
        splash_->Timer1->start();
        splash_->chooseAboutPicture();
        setExStyle(splash_->Picture1);
    }
    splash_->showModal();
    if (splash_ && splash_->unloaded()) unloadSplash();
}

void Form1::unloadSplash() {
    delete splash_;
    splash_ = nullptr;
}

// ---- The four operations ---------------------------------------------------

int Form1::checkBothBoxes(const std::string& text1, const std::string& text2) {
    if (textKind(text1) == TextKind::Empty || textKind(text2) == TextKind::Empty) {
        presenter_->inform(this, QString::fromLatin1(kEmptyBoxes), MsgIcon::Information);
        return 1;
    }
    return 0;
}

void Form1::runOperation(Operation operation) {
    if (soundFlag == kSoundOnFlag) sound_->stop("");
    if (checkBothBoxes(RichTextBox1->text(), RichTextBox2->text()) == 1) return;

    const std::string a = RichTextBox1->text();
    const std::string b = RichTextBox2->text();
    if (runner_->refuseTooLarge(this, *presenter_, estimateCalculation(operation, a, b))) return;

    // The window keeps turning while the worker computes; a cancelled
    // calculation, or one that ran out of memory, leaves everything as it was.
    std::optional<Outcome> ran = runner_->run(mainWindowScene(*this), [&](Progress& progress) {
        return calculate(operation, a, b, progress);
    });
    if (!ran || !host_->follow(*ran)) return;
    RichTextBox3->setText(std::move(ran->text));
    clearStatus(Label1);
}

// ---- Input checking --------------------------------------------------------

void Form1::operandChanged(int id) {
    if (checking_) return; // our own write-back
    if (iputFlag == kInputCheckOnFlag) commonInputchecking(id);
}

void Form1::commonInputchecking(int id) {
    NumberBox* box = operandBox(id);
    if (!box) return;
    setWindowTitle(QString::fromLatin1(kCheckingCaption));
    // The caption comes back however the pass ends, out of memory included.
    const auto restoreCaption = qScopeGuard([this] { setWindowTitle(QString()); });
    const std::string clean = settleInputText(box->text(), id);
    {
        const QScopedValueRollback<bool> writing(checking_, true);
        box->setText(clean);
    }
    box->moveCaretToEnd();
}

// ---- Menus and buttons -----------------------------------------------------

void Form1::onInputCheckToggle() {
    if (iputmnu->text() != QLatin1String(kDisableInputCheck)) {
        writeInputCheckState("2");
        iputFlag = kInputCheckOnFlag;
        iputmnu->setText(QString::fromLatin1(kDisableInputCheck));
    } else {
        writeInputCheckState("1");
        iputFlag = kInputCheckOffFlag;
        iputmnu->setText(QString::fromLatin1(kEnableInputCheck));
    }
}

void Form1::onSoundToggle() {
    if (sndmnu->text() != QLatin1String(kDisableSound)) {
        writeSoundState("0");
        soundFlag = kSoundOnFlag;
        sndmnu->setText(QString::fromLatin1(kDisableSound));
    } else {
        writeSoundState("1");
        soundFlag = kSoundOffFlag;
        sndmnu->setText(QString::fromLatin1(kEnableSound));
        if (!Command6->isHidden()) {
            Command6->hide();
            sound_->stop(kSound);
        }
    }
}

void Form1::onFunctionButton() {
    unloadSplash();
    if (soundFlag == kSoundOnFlag) sound_->stop(kSound);
    if (!Command6->isHidden()) Command6->hide();
    presenter_->popup(functionmnu, QCursor::pos());
}

void Form1::onStopSound() {
    sound_->stop(kSound);
    Command6->hide();
}

void Form1::onContents() {
    help_->open(QString::fromStdString(appFilePath(kHelpFile)));
}

void Form1::onAbout() {
    showSplash(true);
}

void Form1::closeEvent(QCloseEvent* event) {
    runner_->cancel(); // a calculation still running stops first
    sound_->stop(kSound);
    unloadSplash();
    // Closing the main window ends the program: every other window goes.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible()) window->close();
    }
    event->accept();
}

} // namespace longhand
