// The main window driven as a person would: typing into the operand boxes,
// pressing the buttons and menu items, reading the boxes, captions, labels
// and the settings file.
#include "engine/operations.h"
#include "support/alloc_failure.h"
#include "support/gmp.h"
#include "ui/main/application.h"
#include "ui/main/clicklabel.h"
#include "ui/main/numberbox.h"
#include "ui/main/numberview.h"
#include "ui/splash/frmsplash.h"
#include "uitest.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <new>
#include <ostream>
#include <string>
#include <vector>

namespace longhand {
namespace {

using test::FormRig;

std::string caption(const Form1& form) {
    return form.windowTitle().toStdString();
}

void click(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

QPushButton* buttonFor(Form1& form, Operation operation) {
    switch (operation) {
    case Operation::Add:
        return form.Command2;
    case Operation::Subtract:
        return form.Command3;
    case Operation::Multiply:
        return form.Command1;
    default:
        return form.Command5;
    }
}

// ---- The four operations ----------------------------------------------------

constexpr const char* kNotANumber = "Turn on input-checking. Reenter data.";

struct OperationCase {
    const char* a;
    const char* b;
    Operation operation;
    const char* shown;   // the result box afterwards
    const char* message; // the message shown instead, or null
};

void PrintTo(const OperationCase& c, std::ostream* os) {
    *os << '"' << c.a << "\" op " << static_cast<int>(c.operation) << " \"" << c.b << '"';
}

void showsTheResultOrTheMessage(const OperationCase& c, FormRig& rig) {
    Form1& form = *rig.form;
    form.RichTextBox3->setText("old");
    form.Label1->setText("12: Click To Round.");
    form.setWindowTitle("3");
    QTest::keyClicks(form.RichTextBox1, QString::fromLatin1(c.a));
    QTest::keyClicks(form.RichTextBox2, QString::fromLatin1(c.b));
    ASSERT_EQ(form.RichTextBox1->text(), c.a); // checking is off: typed as is
    click(buttonFor(form, c.operation));

    EXPECT_EQ(form.RichTextBox3->text(), c.shown);
    if (c.message) {
        ASSERT_EQ(rig.presenter.messages.size(), 1u);
        EXPECT_EQ(rig.presenter.messages[0].text.toStdString(), c.message);
        EXPECT_EQ(rig.presenter.messages[0].buttons, MsgButtons::Ok);
        // A refusal leaves the status displays and the sound alone.
        EXPECT_EQ(form.Label1->text(), "12: Click To Round.");
        EXPECT_EQ(caption(form), "3");
        EXPECT_TRUE(form.Command6->isHidden());
    } else {
        EXPECT_TRUE(rig.presenter.messages.empty());
        EXPECT_TRUE(form.Label1->text().isEmpty());
        EXPECT_TRUE(form.Label1->isHidden());
        EXPECT_EQ(caption(form), "");
    }
    // The operand boxes are never changed by the operation.
    EXPECT_EQ(form.RichTextBox1->text(), c.a);
    EXPECT_EQ(form.RichTextBox2->text(), c.b);
}

class OperationButtons : public ::testing::TestWithParam<OperationCase> {};

// With input checking unset (a first start: the delivered settings hold no
// state) and with it off, nothing tidies the boxes: the operation itself
// refuses what is not a number.
TEST_P(OperationButtons, ShowsTheResultOrTheMessage) {
    const OperationCase& c = GetParam();
    for (const bool checkingOff : {false, true}) {
        SCOPED_TRACE(checkingOff ? "input checking off" : "input checking unset");
        FormRig rig;
        if (checkingOff) {
            rig.folder.write("rcnt.vok", "[Input Check]\nState=1\n");
            rig.form->readOptions();
        }
        showsTheResultOrTheMessage(c, rig);
    }
}

INSTANTIATE_TEST_SUITE_P(
    FourButtons, OperationButtons,
    ::testing::Values(OperationCase{"12.5", "-3", Operation::Add, "9.5", nullptr},
                      OperationCase{"0", "2.50", Operation::Subtract, "-2.5", nullptr},
                      OperationCase{"0", "007", Operation::Add, "007", nullptr},
                      OperationCase{"123456789", "987654321", Operation::Multiply,
                                    "121932631112635269", nullptr},
                      OperationCase{"-1.5", "0.2", Operation::Multiply, "-.3", nullptr},
                      OperationCase{"10", "4", Operation::Divide, "2.5", nullptr},
                      // The division's special cases.
                      OperationCase{"0", "5", Operation::Divide, "0", nullptr},
                      OperationCase{"0", "-0", Operation::Divide, "0", nullptr},
                      OperationCase{"0", "00", Operation::Divide, "0", nullptr},
                      OperationCase{"7.50", "1", Operation::Divide, "7.5", nullptr},
                      OperationCase{"-3", "1.0", Operation::Divide, "-3", nullptr},
                      OperationCase{"0", "0", Operation::Divide, "old", "Division by zero."},
                      OperationCase{"5", "-0.0", Operation::Divide, "old", "Division by zero."},
                      OperationCase{"5", "000", Operation::Divide, "old", "Division by zero."},
                      OperationCase{"5", "-.", Operation::Divide, "old", "Division by zero."},
                      // Operands that are only a point.
                      OperationCase{".000", "1", Operation::Add, "old", "Weird Input."},
                      OperationCase{"1", ".", Operation::Multiply, "old", "Weird Input."},
                      OperationCase{"0.", "1", Operation::Add, "1", nullptr},
                      // Operands that are not decimal numbers.
                      OperationCase{"1,000", "1", Operation::Add, "old", kNotANumber},
                      OperationCase{"2.5e3", "1", Operation::Subtract, "old", kNotANumber},
                      OperationCase{"1", "+0", Operation::Divide, "old", kNotANumber},
                      OperationCase{"1", "abc", Operation::Divide, "old", kNotANumber},
                      OperationCase{"1.2.3", "4", Operation::Multiply, "old", kNotANumber},
                      OperationCase{"7", "1-2", Operation::Add, "old", kNotANumber},
                      OperationCase{"--5", "1", Operation::Subtract, "old", kNotANumber}));

TEST(Form1Operation, AnEmptyBoxIsRefusedWithTheInformationIcon) {
    FormRig rig;
    Form1& form = *rig.form;
    form.RichTextBox3->setText("42");
    QTest::keyClicks(form.RichTextBox1, "5");
    click(form.Command2);
    ASSERT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_EQ(rig.presenter.messages[0].text, "1 or 2 boxes are Empty.");
    EXPECT_EQ(rig.presenter.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(form.RichTextBox3->text(), "42");
    // Blanks are not empty for this check (with checking off they stay).
    QTest::keyClicks(form.RichTextBox2, " ");
    ASSERT_EQ(form.RichTextBox2->text(), " ");
    form.checkBothBoxes("5", " ");
    EXPECT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_EQ(form.checkBothBoxes("", "1"), 1);
    EXPECT_EQ(form.checkBothBoxes("1", "1"), 0);
}

TEST(Form1Operation, TheWeirdInputAndDivisionMessagesHaveNoIcon) {
    FormRig rig;
    Form1& form = *rig.form;
    form.RichTextBox1->setText(".");
    form.RichTextBox2->setText("1");
    click(form.Command2);
    form.RichTextBox1->setText("1");
    form.RichTextBox2->setText("0");
    click(form.Command5);
    ASSERT_EQ(rig.presenter.messages.size(), 2u);
    EXPECT_EQ(rig.presenter.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(rig.presenter.messages[1].icon, MsgIcon::None);
}

TEST(Form1Operation, TheSameResultAsTheSharedFlow) {
    FormRig rig;
    Form1& form = *rig.form;
    const std::string a = "98765432109876543210.0123456789";
    const std::string b = "-12345678901234567.89";
    form.RichTextBox1->setText(a);
    form.RichTextBox2->setText(b);
    for (Operation operation :
         {Operation::Add, Operation::Subtract, Operation::Multiply, Operation::Divide}) {
        click(buttonFor(form, operation));
        Progress progress;
        EXPECT_EQ(form.RichTextBox3->text(), calculate(operation, a, b, progress).text)
            << static_cast<int>(operation);
    }
}

// ---- The finished sound ------------------------------------------------------

TEST(Form1Sound, AFinishedOperationLoopsTheSoundAndShowsStopSound) {
    FormRig rig; // the delivered settings: sound on
    Form1& form = *rig.form;
    ASSERT_EQ(form.soundFlag, Form1::kSoundOnFlag);
    ASSERT_TRUE(form.Command6->isHidden());
    form.RichTextBox1->setText("1");
    form.RichTextBox2->setText("2");
    click(form.Command2);
    EXPECT_EQ(rig.sound.log, (std::vector<std::string>{"stop ", "play 1.wav"}));
    EXPECT_FALSE(form.Command6->isHidden());

    // The next operation stops the sound first and starts it again.
    click(form.Command2);
    EXPECT_EQ(rig.sound.log,
              (std::vector<std::string>{"stop ", "play 1.wav", "stop ", "play 1.wav"}));

    // A refused operation only stops it.
    form.RichTextBox2->setText("");
    click(form.Command2);
    EXPECT_EQ(rig.sound.log.back(), "stop ");
    EXPECT_FALSE(rig.sound.looping);

    click(form.Command6);
    EXPECT_EQ(rig.sound.log.back(), "stop 1.wav");
    EXPECT_TRUE(form.Command6->isHidden());
}

TEST(Form1Sound, WithTheSoundOffNothingPlays) {
    FormRig rig;
    Form1& form = *rig.form;
    form.sndmnu->trigger(); // "Disable Sound When Finished?"
    ASSERT_EQ(form.soundFlag, Form1::kSoundOffFlag);
    form.RichTextBox1->setText("1");
    form.RichTextBox2->setText("2");
    click(form.Command1);
    EXPECT_EQ(form.RichTextBox3->text(), "2");
    EXPECT_TRUE(rig.sound.log.empty());
    EXPECT_TRUE(form.Command6->isHidden());
}

// ---- Input checking in the operand boxes -----------------------------------

class Form1Checking : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.folder.write("rcnt.vok", "[Input Check]\nState=2\n");
        rig.form->readOptions();
        ASSERT_EQ(rig.form->iputFlag, Form1::kInputCheckOnFlag);
        connect();
    }
    void connect() {
        QObject::connect(rig.form.get(), &QWidget::windowTitleChanged,
                         [this](const QString& title) { titles.push_back(title.toStdString()); });
    }
    FormRig rig;
    std::vector<std::string> titles;
};

TEST_F(Form1Checking, TypedTextIsCleanedAsItIsTyped) {
    struct {
        const char* typed;
        const char* kept;
    } cases[] = {{"12a3", "123"},  {"1+2", "12"},   {"1 2", "12"},       {"5.5.5", "5.55"},
                 {"-5-5", "-55"},  {"5^2", "52"},   {"007", "7"},        {"0.5", ".5"},
                 {"-0.5", "-0.5"}, {"-.5", "-0.5"}, {"-00.25", "-0.25"}, {"-007", "-7"},
                 {"000", "0"},     {"-0", "-0"}};
    for (auto [typed, kept] : cases) {
        for (NumberBox* box : {rig.form->RichTextBox1, rig.form->RichTextBox2}) {
            box->setText("");
            QTest::keyClicks(box, QString::fromLatin1(typed));
            EXPECT_EQ(box->text(), kept) << "typed " << typed;
            EXPECT_EQ(box->caretPosition(), static_cast<std::int64_t>(std::string(kept).size()))
                << "typed " << typed;
        }
    }
}

TEST_F(Form1Checking, EachChangeRunsOnePassWithCheckingInTheCaption) {
    QTest::keyClicks(rig.form->RichTextBox1, "-.5");
    // One pass per keystroke: the write-back of "-0.5" raises no second one.
    EXPECT_EQ(titles, (std::vector<std::string>{"Checking", "", "Checking", "", "Checking", ""}));
    EXPECT_EQ(rig.form->RichTextBox1->text(), "-0.5");
    EXPECT_EQ(caption(*rig.form), "");
}

TEST_F(Form1Checking, TheCaretEndsAtTheEndEvenAfterAnEditInTheMiddle) {
    NumberBox* box = rig.form->RichTextBox2;
    QTest::keyClicks(box, "123");
    box->setCaretPosition(1);
    QTest::keyClicks(box, "4");
    EXPECT_EQ(box->text(), "1423");
    EXPECT_EQ(box->caretPosition(), 4);
    // A refused key changes nothing but still leaves the caret at the end.
    box->setCaretPosition(2);
    QTest::keyClicks(box, "x");
    EXPECT_EQ(box->text(), "1423");
    EXPECT_EQ(box->caretPosition(), 4);
}

TEST_F(Form1Checking, APastedLongNumberIsCleanedOnce) {
    std::string digits(200000, '7');
    digits[100] = 'a';
    rig.form->RichTextBox1->setText("0" + digits);
    std::string expected = std::string(100, '7') + std::string(199899, '7');
    EXPECT_EQ(rig.form->RichTextBox1->text(), expected);
    EXPECT_EQ(titles, (std::vector<std::string>{"Checking", ""}));
}

// A long paste that memory cannot take, refused by the box or running out
// in the cleaning pass: one message, the caption back, and the box goes on
// being checked once memory is back.
TEST_F(Form1Checking, APasteOutOfMemoryEndsInTheMessage) {
    NumberBox* box = rig.form->RichTextBox1;
    box->freeMemory = [] { return std::optional<std::uint64_t>(std::uint64_t{1} << 40); };
    const QString pasted = QString(300000, QLatin1Char('7'));
    QApplication::clipboard()->setText(pasted);
    {
        test::FailLargeAllocations fail(1 << 18);
        box->paste();
        EXPECT_GT(fail.refused(), 0u);
    }
    ASSERT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_EQ(rig.presenter.messages[0].text, "Not enough memory for numbers this long.");
    EXPECT_EQ(caption(*rig.form), "");

    box->setText("");
    QTest::keyClicks(box, "0a1");
    EXPECT_EQ(box->text(), "1");

    // Refused by the box before anything changes.
    box->freeMemory = [] { return std::optional<std::uint64_t>(1 << 20); };
    box->paste();
    EXPECT_EQ(box->text(), "1");
    ASSERT_EQ(rig.presenter.messages.size(), 2u);
    EXPECT_EQ(rig.presenter.messages[1].text, "Not enough memory for numbers this long.");
}

TEST(Form1Spaces, WithCheckingOffOnlyTheSpaceIsRefused) {
    FormRig rig;
    rig.folder.write("rcnt.vok", "[Input Check]\nState=1\n");
    rig.form->readOptions();
    ASSERT_EQ(rig.form->iputFlag, Form1::kInputCheckOffFlag);
    QTest::keyClicks(rig.form->RichTextBox1, "1 a+2 ");
    EXPECT_EQ(rig.form->RichTextBox1->text(), "1a+2");
    QTest::keyClicks(rig.form->RichTextBox2, " -0");
    EXPECT_EQ(rig.form->RichTextBox2->text(), "-0");
}

TEST(Form1Spaces, WithoutAnySettingNothingIsChecked) {
    FormRig rig(false);
    ASSERT_EQ(rig.form->iputFlag, Form1::kInputUnset);
    QTest::keyClicks(rig.form->RichTextBox1, "0 1a");
    EXPECT_EQ(rig.form->RichTextBox1->text(), "0 1a");
}

// ---- Start-up and the option toggles --------------------------------------------

struct StartCase {
    const char* settings; // null: no settings file
    unsigned char iputFlag;
    const char* iputCaption;
    unsigned char soundFlag;
    const char* sndCaption;
    const char* facUpper;
};

class StartUp : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartUp, ReadsTheThreeOptions) {
    const StartCase& c = GetParam();
    test::AppFolder folder(false);
    if (c.settings) folder.write("rcnt.vok", c.settings);
    ScriptedPresenter presenter;
    RecordingSound sound;
    Form1 form(&presenter, &sound);
    EXPECT_EQ(form.iputmnu->text(), "Enable Input-checking?");
    EXPECT_EQ(form.sndmnu->text(), "Enable Sound When Finished?");
    form.readOptions();
    EXPECT_EQ(form.iputFlag, c.iputFlag);
    EXPECT_EQ(form.iputmnu->text().toStdString(), c.iputCaption);
    EXPECT_EQ(form.soundFlag, c.soundFlag);
    EXPECT_EQ(form.sndmnu->text().toStdString(), c.sndCaption);
    EXPECT_EQ(form.facUpper, c.facUpper);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsFiles, StartUp,
    ::testing::Values(
        StartCase{nullptr, 0, "Enable Input-checking?", 0, "Disable Sound When Finished?", "0"},
        StartCase{"[Input Check]\nState=1\n[Sound Check]\nState=1\n", 1, "Enable Input-checking?",
                  1, "Enable Sound When Finished?", "0"},
        StartCase{"[Input Check]\nState=2\n[Sound Check]\nState=0\n[Recent Factorial]\nUpper=100\n",
                  2, "Disable Input-checking?", 0, "Disable Sound When Finished?", "100"},
        // Odd values: judged by the first character; others leave state 0
        // and the design caption.
        StartCase{
            "[Input Check]\nState=10\n[Sound Check]\nState=2\n[Recent Factorial]\nUpper=007\n", 1,
            "Enable Input-checking?", 0, "Enable Sound When Finished?", "7"},
        StartCase{"[Input Check]\nState=x\n[Sound Check]\nState=\n[Recent Factorial]\nUpper=abc\n",
                  0, "Enable Input-checking?", 0, "Disable Sound When Finished?", "0"},
        StartCase{"garbage\n\x01\x02[[[\n", 0, "Enable Input-checking?", 0,
                  "Disable Sound When Finished?", "0"}));

// At start the largest stored n follows the store, whatever the settings
// file says; without a store it stays as read.
TEST(Form1StartUp, UpperFollowsTheStore) {
    struct Case {
        const char* upperLine; // "": no Upper
        bool store;
        const char* facUpper;
    };
    const Case cases[] = {
        {"", true, "9"},          {"Upper=0\n", true, "9"},
        {"Upper=5\n", true, "9"}, {"Upper=100\n", true, "9"},
        {"Upper=9\n", true, "9"}, {"Upper=5\n", false, "5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.upperLine) + (c.store ? "store" : "no store"));
        test::AppFolder folder(false);
        folder.write("rcnt.vok", std::string("[Recent Factorial]\n") + c.upperLine);
        const std::string store = test::storeOf({1, 5, 9});
        if (c.store) folder.write("facDat.vok", store);
        ScriptedPresenter presenter;
        RecordingSound sound;
        Form1 form(&presenter, &sound);
        form.readOptions();
        EXPECT_EQ(form.facUpper, c.facUpper);
        EXPECT_EQ(folder.setting("Recent Factorial", "Upper").value_or("(none)"),
                  c.upperLine[0] || c.store ? c.facUpper : "(none)");
        if (c.store) {
            QFile file(QString::fromStdString(folder.file("facDat.vok")));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll().toStdString(), store);
        }
    }
}

TEST(Form1Toggles, InputCheckingFlipsAndIsWritten) {
    FormRig rig(false);
    Form1& form = *rig.form;
    form.iputmnu->trigger();
    EXPECT_EQ(form.iputFlag, Form1::kInputCheckOnFlag);
    EXPECT_EQ(form.iputmnu->text(), "Disable Input-checking?");
    EXPECT_EQ(rig.folder.setting("Input Check", "State"), "2");
    QTest::keyClicks(form.RichTextBox1, "0 7");
    EXPECT_EQ(form.RichTextBox1->text(), "7");

    form.iputmnu->trigger();
    EXPECT_EQ(form.iputFlag, Form1::kInputCheckOffFlag);
    EXPECT_EQ(form.iputmnu->text(), "Enable Input-checking?");
    EXPECT_EQ(rig.folder.setting("Input Check", "State"), "1");
    QTest::keyClicks(form.RichTextBox1, " 0");
    EXPECT_EQ(form.RichTextBox1->text(), "70");
}

TEST(Form1Toggles, TheCaptionDecidesNotTheState) {
    FormRig rig(false);
    Form1& form = *rig.form;
    form.iputFlag = Form1::kInputCheckOnFlag; // caption still offers "Enable"
    form.iputmnu->trigger();
    EXPECT_EQ(form.iputFlag, Form1::kInputCheckOnFlag);
    EXPECT_EQ(rig.folder.setting("Input Check", "State"), "2");
}

TEST(Form1Toggles, SoundOffWhileItLoopsStopsIt) {
    FormRig rig(false);
    Form1& form = *rig.form;
    form.RichTextBox1->setText("2");
    form.RichTextBox2->setText("2");
    click(form.Command1);
    ASSERT_FALSE(form.Command6->isHidden());

    form.sndmnu->trigger();
    EXPECT_EQ(form.soundFlag, Form1::kSoundOffFlag);
    EXPECT_EQ(form.sndmnu->text(), "Enable Sound When Finished?");
    EXPECT_EQ(rig.folder.setting("Sound Check", "State"), "1");
    EXPECT_TRUE(form.Command6->isHidden());
    EXPECT_EQ(rig.sound.log.back(), "stop 1.wav");

    const std::size_t calls = rig.sound.log.size();
    form.sndmnu->trigger();
    EXPECT_EQ(form.soundFlag, Form1::kSoundOnFlag);
    EXPECT_EQ(form.sndmnu->text(), "Disable Sound When Finished?");
    EXPECT_EQ(rig.folder.setting("Sound Check", "State"), "0");
    // Off again while nothing plays: only the file and the caption change.
    form.sndmnu->trigger();
    EXPECT_EQ(rig.folder.setting("Sound Check", "State"), "1");
    EXPECT_EQ(rig.sound.log.size(), calls);
}

TEST(Form1Toggles, AFailedWriteStillFlipsTheOption) {
    FormRig rig;
    rig.folder.write("rcnt.vok", "");
    // The settings "file" is a folder: nothing can be written.
    std::filesystem::remove(rig.folder.file("rcnt.vok"));
    std::filesystem::create_directory(rig.folder.file("rcnt.vok"));
    rig.form->iputmnu->trigger();
    EXPECT_EQ(rig.form->iputFlag, Form1::kInputCheckOnFlag);
    EXPECT_EQ(rig.form->iputmnu->text(), "Disable Input-checking?");
}

// ---- Function button, menus, layout ------------------------------------------------

TEST(Form1Menus, TheBarShowsOptionAndHelpOnly) {
    FormRig rig;
    Form1& form = *rig.form;
    QStringList bar;
    for (QAction* a : form.menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, (QStringList{"&Option", "&Help"}));
    QStringList option;
    for (QAction* a : form.optmnu->actions())
        option << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(option, (QStringList{"Enable Input-checking?", "-", "Disable Sound When Finished?",
                                   "-", "&Generate 1! to 100!"}));
    QStringList function;
    for (QAction* a : form.functionmnu->actions())
        function << a->text();
    EXPECT_EQ(function, (QStringList{"&Factorial", "&Power", "&Permutation", "&Combination",
                                     "&m(m+1)(m+2)...(n)"}));
    QStringList help;
    for (QAction* a : form.helpmnu->actions())
        help << a->text();
    EXPECT_EQ(help, (QStringList{"&Contents", "&About"}));
}

TEST(Form1Function, StopsTheSoundHidesStopSoundAndPopsTheMenuUp) {
    FormRig rig;
    Form1& form = *rig.form;
    form.RichTextBox1->setText("2");
    form.RichTextBox2->setText("3");
    click(form.Command1);
    ASSERT_FALSE(form.Command6->isHidden());
    QSignalSpy chosen(form.factorialmnu, &QAction::triggered);
    rig.presenter.menuChoices.push_back("&Factorial");
    // The item opens the modal function dialog: close it once it is up.
    QTimer::singleShot(0, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });

    click(form.Command4);
    // The button stops the sound; closing the dialog stops it once more.
    ASSERT_GE(rig.sound.log.size(), 2u);
    EXPECT_EQ(rig.sound.log[rig.sound.log.size() - 2], "stop 1.wav");
    EXPECT_EQ(rig.sound.log.back(), "stop ");
    EXPECT_TRUE(form.Command6->isHidden());
    EXPECT_EQ(rig.presenter.popups.size(), 1u);
    EXPECT_EQ(chosen.count(), 1);
}

TEST(Form1Layout, ControlsStandWhereTheTwipsSay) {
    FormRig rig;
    Form1& form = *rig.form;
    if (form.logicalDpiY() != 96) GTEST_SKIP() << "laid out for " << form.logicalDpiY() << " dpi";
    EXPECT_EQ(form.centralWidget()->size(), QSize(612, 405));
    EXPECT_EQ(form.Command6->geometry(), QRect(57, 8, 99, 25));
    EXPECT_EQ(form.Command4->geometry(), QRect(488, 8, 67, 25));
    EXPECT_EQ(form.RichTextBox2->geometry(), QRect(56, 147, 497, 103));
    EXPECT_EQ(form.Label2->geometry(), QRect(466, 368, 89, 25));
    EXPECT_EQ(caption(Form1(&rig.presenter, &rig.sound)), " ");
    EXPECT_TRUE(form.RichTextBox1->font().bold());
    EXPECT_EQ(form.Label2->text(), "Move");
    EXPECT_TRUE(form.Label2->alignment() & Qt::AlignRight);
}

TEST(Form1Layout, ColoursAsDrawn) {
    FormRig rig;
    Form1& form = *rig.form;
    form.Command6->show();
    const QImage client = form.centralWidget()->grab().toImage();
    EXPECT_EQ(client.pixelColor(3, 3), QColor(0, 0, 0));
    const QImage add = form.Command2->grab().toImage();
    EXPECT_EQ(add.pixelColor(4, 4), QColor(0xFF, 0xFF, 0x80));
    const QImage stop = form.Command6->grab().toImage();
    EXPECT_EQ(stop.pixelColor(4, 4), QColor(0xFF, 0, 0));
    // "Move" in light yellow on black.
    const QImage move = form.Label2->grab().toImage();
    bool lightYellow = false;
    for (int y = 0; y < move.height(); ++y)
        for (int x = 0; x < move.width(); ++x)
            lightYellow |= move.pixelColor(x, y) == QColor(0xFF, 0xFF, 0x80);
    EXPECT_TRUE(lightYellow);
    EXPECT_EQ(move.pixelColor(0, move.height() - 1), QColor(0, 0, 0));
}

TEST(Form1Layout, TabGoesFromMultiplyThroughTheBoxesAndButtons) {
    FormRig rig;
    Form1& form = *rig.form;
    form.Command6->show();
    form.activateWindow();
    QApplication::setActiveWindow(&form);
    form.Command1->setFocus();
    std::vector<QWidget*> order{form.Command1};
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(order,
              (std::vector<QWidget*>{form.Command1, form.RichTextBox1, form.RichTextBox2,
                                     form.RichTextBox3, form.Command2, form.Command3, form.Command4,
                                     form.Command5, form.Command6, form.Command1}));
}

TEST(Form1Result, ADoubleClickPutsTheCaretAtTheStartOfTheRow) {
    FormRig rig;
    Form1& form = *rig.form;
    form.activateWindow();
    QApplication::setActiveWindow(&form);
    form.RichTextBox3->setText("123456");
    form.RichTextBox3->setFocus();
    form.RichTextBox3->moveCaretToEnd();
    QTest::mouseDClick(form.RichTextBox3->viewport(), Qt::LeftButton, {}, QPoint(30, 8));
    EXPECT_EQ(form.RichTextBox3->caretPosition(), 0);
    EXPECT_FALSE(form.RichTextBox3->hasSelection());
}

// Memory running out in any other handler (here a press on a widget) is
// answered by the application object with the message; the program goes on.
TEST(Application, AnOutOfMemoryLeavingAHandlerEndsInTheMessage) {
    struct Greedy : QWidget {
        void mousePressEvent(QMouseEvent*) override { throw std::bad_alloc(); }
    };
    auto* app = qobject_cast<Application*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    ScriptedPresenter presenter;
    app->setPresenter(&presenter);
    Greedy greedy;
    greedy.show();
    QTest::mouseClick(&greedy, Qt::LeftButton);
    app->setPresenter(nullptr);
    ASSERT_EQ(presenter.messages.size(), 1u);
    EXPECT_EQ(presenter.messages[0].text, "Not enough memory for numbers this long.");
}

TEST(Form1Closing, StopsTheSoundAndClosesTheOtherWindows) {
    FormRig rig;
    Form1& form = *rig.form;
    QWidget other;
    other.show();
    form.close();
    EXPECT_EQ(rig.sound.log.back(), "stop 1.wav");
    EXPECT_FALSE(other.isVisible());
}

} // namespace
} // namespace longhand
