// The main window's function menu, the 1! to 100! table, the partial
// product command, and the round hint, rounding and Move on its result box,
// driven through the real controls.
#include "engine/factorial.h"
#include "engine/partialproduct.h"
#include "support/gmp.h"
#include "ui/dialog/dialog.h"
#include "ui/main/clicklabel.h"
#include "ui/main/numberbox.h"
#include "ui/main/numberview.h"
#include "ui/main/windowhost.h"
#include "uitest.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>

namespace longhand {
namespace {

// n! as the main window gets it from the store: the work, then what the
// window does with the outcome (the store's writes, the sound, the offer).
std::string factorialThroughTheWindow(Form1& form, const char* n) {
    FactorialStore store(form.host().facDataPath());
    Progress progress;
    Outcome outcome = factorial(n, &store, progress);
    form.host().follow(outcome, &store);
    return outcome.text;
}

using test::FormRig;

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string caption(const QWidget& window) {
    return window.windowTitle().toStdString();
}

void clickAtCaret(NumberView* box, int position) {
    QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::NoModifier,
                      box->cursorRect(position).center());
}

// Triggers `item` and runs `inside` on the modal function dialog it opens,
// which is then closed. False when no dialog came up.
bool withModalDialog(QAction* item, const std::function<void(Dialog&)>& inside) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!d) return;
        seen = true;
        inside(*d);
        d->close();
    });
    item->trigger();
    return seen;
}

// ---- The function menu ------------------------------------------------------------

TEST(Form1FunctionMenu, EachItemOpensTheDialogInItsMode) {
    FormRig rig;
    Form1& form = *rig.form;
    struct Item {
        QAction* action;
        const char* word;
        const char* line;
    };
    for (const Item& item :
         {Item{form.factorialmnu, "Factorial", ""}, Item{form.powermnu, "Power", ""},
          Item{form.permu, "Permutation", "p(,,)"}, Item{form.comu, "Combination", "c(,,)"}}) {
        std::string shownCaption, button, line;
        ASSERT_TRUE(withModalDialog(item.action, [&](Dialog& d) {
            shownCaption = caption(d);
            button = d.Command2->text().toStdString();
            line = d.Text1->text().toStdString();
        })) << item.word;
        EXPECT_EQ(shownCaption, item.word);
        EXPECT_EQ(button, item.word);
        EXPECT_EQ(line, item.line);
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(Form1FunctionMenu, PermutationTurnsCheckingOffWhileOpen) {
    FormRig rig;
    Form1& form = *rig.form;
    form.onInputCheckToggle(); // checking on
    ASSERT_EQ(form.iputFlag, Form1::kInputCheckOnFlag);
    unsigned char whileOpen = 0;
    std::string result;
    ASSERT_TRUE(withModalDialog(form.permu, [&](Dialog& d) {
        whileOpen = form.iputFlag;
        QTest::keyClicks(d.Text1, "7");
        QTest::keyClick(d.Text1, Qt::Key_Right);
        QTest::keyClicks(d.Text1, "2");
        QTest::mouseClick(d.Command2, Qt::LeftButton);
        result = d.RichTextBox1->text();
    }));
    EXPECT_EQ(whileOpen, Form1::kInputCheckOffFlag);
    EXPECT_EQ(result, "42");
    EXPECT_EQ(form.iputFlag, Form1::kInputCheckOnFlag);
    EXPECT_EQ(rig.sound.log.back(), "stop "); // closing stops the sound
    EXPECT_FALSE(rig.sound.looping);
}

// ---- Generate 1! to 100! ----------------------------------------------------------------

std::set<unsigned long> oneToHundred() {
    std::set<unsigned long> keys;
    for (unsigned long n = 1; n <= 100; ++n)
        keys.insert(n);
    return keys;
}

TEST(Form1Generate100, WritesTheTableThenServesAndExtendsIt) {
    FormRig rig;
    Form1& form = *rig.form;
    form.g100->trigger();

    const std::string file = readBytes(rig.folder.file("facDat.vok"));
    EXPECT_EQ(file, test::storeOf(oneToHundred()));
    const std::string lastRecord = file.substr(file.rfind("\r\n") + 2);
    EXPECT_EQ(rig.folder.setting("Recent Factorial", "Upper"), "100");
    EXPECT_EQ(form.facUpper, "100");
    ASSERT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_EQ(rig.presenter.messages[0].text, "1! to 100! are in the store now.");
    EXPECT_EQ(rig.presenter.messages[0].buttons, MsgButtons::Ok);

    // 57! is read from the table: no sound, no question, the file unchanged.
    rig.sound.log.clear();
    const std::string record57 = file.substr(file.find("\r\n57,\"") + 6);
    const std::string fact57 = record57.substr(0, record57.find('"'));
    EXPECT_EQ(factorialThroughTheWindow(form, "57"), fact57);
    EXPECT_TRUE(rig.sound.log.empty());
    EXPECT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_EQ(readBytes(rig.folder.file("facDat.vok")), file);

    // 101! is computed from the stored 100! and offered for saving.
    const std::string fact100 = lastRecord.substr(5, 158);
    rig.presenter.answers.push_back(MsgAnswer::Yes);
    const std::string fact101 = factorialThroughTheWindow(form, "101");
    EXPECT_EQ(fact101, test::gmpFactorial(101));
    ASSERT_EQ(rig.presenter.messages.size(), 2u);
    EXPECT_EQ(rig.presenter.messages[1].buttons, MsgButtons::YesNo);
    EXPECT_EQ(rig.sound.log.back(), "play 1.wav");
    EXPECT_EQ(readBytes(rig.folder.file("facDat.vok")), file + "\r\n101,\"" + fact101 + "\"");
    EXPECT_EQ(form.facUpper, "101");
}

// The table takes the place of the records 1 to 100 only: larger ones stay
// and the largest stored n stays theirs; a damaged part is cut with its
// notice before the completion message.
TEST(Form1Generate100, KeepsTheRecordsAboveTheTable) {
    struct Case {
        std::string before;
        std::set<unsigned long> above;
        bool cut;
    };
    const Case cases[] = {
        {test::storeOf({1, 50, 150, 200}), {150, 200}, false},
        {"1,\"1\"\r\n200,\"x\"", {}, true},
    };
    for (const Case& c : cases) {
        FormRig rig;
        Form1& form = *rig.form;
        rig.folder.write("facDat.vok", c.before);
        form.facUpper = "200";
        form.g100->trigger();

        std::set<unsigned long> after = oneToHundred();
        after.insert(c.above.begin(), c.above.end());
        EXPECT_EQ(readBytes(rig.folder.file("facDat.vok")), test::storeOf(after));
        const std::string largest = std::to_string(*after.rbegin());
        EXPECT_EQ(form.facUpper, largest);
        EXPECT_EQ(rig.folder.setting("Recent Factorial", "Upper"), largest);
        ASSERT_EQ(rig.presenter.messages.size(), c.cut ? 2u : 1u);
        EXPECT_EQ(rig.presenter.messages.back().text, "1! to 100! are in the store now.");
        if (c.cut) {
            EXPECT_TRUE(rig.presenter.messages[0].text.contains(
                QString::fromStdString(rig.folder.file("facDat.vok.bak"))));
            EXPECT_EQ(readBytes(rig.folder.file("facDat.vok.bak")), c.before);
        }
    }
}

// ---- The partial product ---------------------------------------------------------------

const char* const kInstructions =
    "Product of all whole numbers from M up to N.\r\r"
    "Example: M = 3 and N = 5 give 3 x 4 x 5 = 60.\r\r"
    "Type whole numbers only, with no sign or point. N must be larger than M.\r\r"
    "A long run of numbers takes a while to multiply.\r\r"
    "Enter M, the first number of the run, then press OK. N is asked for next.";

struct PartialRig : FormRig {
    PartialRig() {
        form->RichTextBox1->setText("a");
        form->RichTextBox2->setText("b");
        form->RichTextBox3->setText("c");
    }
    void answer(std::initializer_list<std::optional<QString>> answers) {
        for (const auto& a : answers)
            presenter.inputAnswers.push_back(a);
    }
    std::string boxes() const {
        return form->RichTextBox1->text() + "|" + form->RichTextBox2->text() + "|" +
               form->RichTextBox3->text();
    }
};

TEST(Form1PartialProduct, AsksAndShowsTheProduct) {
    struct Case {
        const char* m;
        const char* n;
        const char* product;
    };
    for (const Case& c :
         {Case{"3", "5", "60"}, Case{"1", "20", "2432902008176640000"}, Case{"0", "5", "0"},
          Case{"9", "10", "90"},
          Case{"1000000000000000", "1000000000000001", "1000000000000001000000000000000"}}) {
        PartialRig rig;
        rig.answer({QString::fromLatin1(c.m), QString::fromLatin1(c.n)});
        rig.form->partialFac->trigger();
        EXPECT_EQ(rig.boxes(), std::string("||") + c.product) << c.m << " " << c.n;

        ASSERT_EQ(rig.presenter.messages.size(), 1u);
        const auto& opening = rig.presenter.messages[0];
        EXPECT_EQ(opening.buttons, MsgButtons::OkCancel);
        EXPECT_EQ(opening.icon, MsgIcon::Information);
        EXPECT_TRUE(opening.text.startsWith("m(m+1)(m+2)...(n) multiplies"));
        ASSERT_EQ(rig.presenter.inputs.size(), 2u);
        EXPECT_EQ(rig.presenter.inputs[0].prompt.toStdString(), kInstructions);
        EXPECT_EQ(rig.presenter.inputs[0].defaultAnswer, "");
        EXPECT_EQ(rig.presenter.inputs[1].prompt.toStdString(),
                  std::string("ENTER NUMBER > ") + c.m);
        EXPECT_TRUE(rig.sound.log.empty()); // no finished sound
    }
}

TEST(Form1PartialProduct, RefusalsAskAgainFromTheStart) {
    PartialRig rig;
    rig.answer({QStringLiteral("10"), QStringLiteral("9"), // N not larger
                QStringLiteral("5"), QStringLiteral("5"),  // equal
                QStringLiteral("9999999999999999"), QStringLiteral("1000000000000000"),
                QStringLiteral("-2"), QStringLiteral("30"), // not whole numbers
                QStringLiteral("3"), QStringLiteral("5")});
    rig.form->partialFac->trigger();
    EXPECT_EQ(rig.boxes(), "||60");
    ASSERT_EQ(rig.presenter.messages.size(), 5u);
    EXPECT_EQ(rig.presenter.messages[1].text, kChooseNGreater);
    EXPECT_EQ(rig.presenter.messages[2].text, kChooseNGreater);
    EXPECT_EQ(rig.presenter.messages[3].text, kChooseNGreater);
    EXPECT_EQ(rig.presenter.messages[4].text, kEnterWholeNumbers);
    EXPECT_EQ(rig.presenter.messages[4].buttons, MsgButtons::Ok);
    ASSERT_EQ(rig.presenter.inputs.size(), 10u);
    EXPECT_EQ(rig.presenter.inputs[8].prompt.toStdString(), kInstructions);
}

TEST(Form1PartialProduct, CancelOrEmptyChangesNothing) {
    {
        PartialRig rig;
        rig.presenter.answers.push_back(MsgAnswer::Cancel);
        rig.form->partialFac->trigger();
        EXPECT_EQ(rig.boxes(), "a|b|c");
        EXPECT_TRUE(rig.presenter.inputs.empty());
    }
    for (auto first : {std::optional<QString>(), std::optional<QString>(QString())}) {
        PartialRig rig;
        rig.answer({first});
        rig.form->partialFac->trigger();
        EXPECT_EQ(rig.boxes(), "a|b|c");
        EXPECT_EQ(rig.presenter.inputs.size(), 1u);
    }
    for (auto second : {std::optional<QString>(), std::optional<QString>(QString())}) {
        PartialRig rig;
        rig.answer({QStringLiteral("3"), second});
        rig.form->partialFac->trigger();
        EXPECT_EQ(rig.boxes(), "a|b|c");
        EXPECT_EQ(rig.presenter.inputs.size(), 2u);
    }
}

// ---- Rounding on the main window's result --------------------------------------------------

struct RoundCase {
    const char* text;
    int k;
    const char* rounded;
};

class Form1Rounding : public ::testing::TestWithParam<RoundCase> {};

TEST_P(Form1Rounding, ClickIntoTheResultThenOnTheHint) {
    const RoundCase& c = GetParam();
    FormRig rig;
    Form1& form = *rig.form;
    form.RichTextBox3->setText(c.text);
    const int point = static_cast<int>(std::string(c.text).find('.')) + 1;
    clickAtCaret(form.RichTextBox3, point + c.k);
    ASSERT_EQ(form.RichTextBox3->caretPosition(), point + c.k);
    EXPECT_EQ(caption(form), std::to_string(point));
    EXPECT_FALSE(form.Label1->isHidden());
    EXPECT_EQ(form.Label1->text().toStdString(), std::to_string(c.k) + ": Click To Round.");

    QTest::mouseClick(form.Label1, Qt::LeftButton);
    EXPECT_EQ(form.RichTextBox3->text(), c.rounded);
    EXPECT_TRUE(form.Label1->isHidden());
    EXPECT_EQ(caption(form), std::to_string(point));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Form1Rounding,
    ::testing::Values(
        RoundCase{"3.14159", 2, "3.14"}, RoundCase{"3.14159", 3, "3.142"}, RoundCase{"2.5", 0, "3"},
        RoundCase{"-2.5", 0, "-3"}, RoundCase{"9.96", 1, "10"}, RoundCase{"-1.25", 1, "-1.3"},
        RoundCase{"1.2049", 2, "1.2"}, RoundCase{"0.04", 1, "0"}, RoundCase{"-0.04", 1, "0"},
        RoundCase{"0.5", 0, "1"}, RoundCase{"-.5", 0, "-1"}, RoundCase{"123.456", 0, "123"},
        RoundCase{"99.95", 1, "100"}, RoundCase{"-0.45", 1, "-0.5"}, RoundCase{"-0.44", 1, "-0.4"},
        RoundCase{"1.2951", 2, "1.3"}, RoundCase{"5.0049", 2, "5"}, RoundCase{"7.49", 0, "7"}));

TEST(Form1RoundHint, CaretAtTheEndOrLeftOfThePoint) {
    FormRig rig;
    Form1& form = *rig.form;
    form.RichTextBox3->setText("12.345");
    clickAtCaret(form.RichTextBox3, 4);
    ASSERT_FALSE(form.Label1->isHidden());

    clickAtCaret(form.RichTextBox3, 6); // end of the fraction
    EXPECT_TRUE(form.Label1->isHidden());
    EXPECT_EQ(caption(form), "3");

    form.setWindowTitle("x");
    clickAtCaret(form.RichTextBox3, 1); // left of the point
    EXPECT_TRUE(form.Label1->isHidden());
    EXPECT_EQ(caption(form), "x");

    form.RichTextBox3->setText("-7.25");
    clickAtCaret(form.RichTextBox3, 4);
    EXPECT_EQ(caption(form), "3"); // the sign counts
    EXPECT_EQ(form.Label1->text(), "1: Click To Round.");

    form.RichTextBox3->setText("725");
    clickAtCaret(form.RichTextBox3, 2);
    EXPECT_TRUE(form.Label1->isHidden());
}

TEST(Form1RoundHint, AnEmptyResultChangesNothing) {
    FormRig rig;
    Form1& form = *rig.form;
    form.Label1->setText("2: Click To Round.");
    form.Label1->show();
    form.setWindowTitle("4");
    clickAtCaret(form.RichTextBox3, 0);
    EXPECT_FALSE(form.Label1->isHidden());
    EXPECT_EQ(form.Label1->text(), "2: Click To Round.");
    EXPECT_EQ(caption(form), "4");
}

TEST(Form1RoundHint, ClickingTheStatusLabelWithoutAHintDoesNothing) {
    FormRig rig;
    Form1& form = *rig.form;
    ASSERT_FALSE(form.Label1->isHidden()); // visible and empty from the start
    for (const char* text : {"7.5", "9", "-5.5", ""}) {
        form.RichTextBox3->setText(text);
        QTest::mouseClick(form.Label1, Qt::LeftButton);
        EXPECT_EQ(form.RichTextBox3->text(), text);
    }
    // After an operation the label is hidden and a click still does nothing.
    form.RichTextBox1->setText("1");
    form.RichTextBox2->setText("3");
    QTest::mouseClick(form.Command5, Qt::LeftButton);
    const std::string third = form.RichTextBox3->text();
    ASSERT_EQ(third.substr(0, 4), "0.33");
    QTest::mouseClick(form.Label1, Qt::LeftButton);
    EXPECT_EQ(form.RichTextBox3->text(), third);
}

TEST(Form1RoundHint, EditedResultIsNotRoundedAtAStalePoint) {
    FormRig rig;
    Form1& form = *rig.form;
    form.RichTextBox3->setText("12.345");
    clickAtCaret(form.RichTextBox3, 4);
    ASSERT_EQ(form.Label1->text(), "1: Click To Round.");
    form.RichTextBox3->setText("1.2345"); // the point moved since the hint
    QTest::mouseClick(form.Label1, Qt::LeftButton);
    EXPECT_EQ(form.RichTextBox3->text(), "1.2345");
}

// ---- Move from the main window ---------------------------------------------------------------

TEST(Form1Move, AnswersChooseTheBox) {
    struct Case {
        std::optional<const char*> answer;
        int target;
    };
    for (const Case& c : {Case{"1", 1}, Case{"12", 1}, Case{"2", 2}, Case{" 2", 0}, Case{"", 0},
                          Case{std::nullopt, 0}}) {
        FormRig rig;
        Form1& form = *rig.form;
        form.RichTextBox1->setText("a");
        form.RichTextBox2->setText("b");
        form.RichTextBox3->setText("-0.125");
        rig.presenter.inputAnswers.push_back(c.answer ? std::optional<QString>(*c.answer)
                                                      : std::nullopt);
        QTest::mouseClick(form.Label2, Qt::LeftButton);
        ASSERT_EQ(rig.presenter.inputs.size(), 1u);
        EXPECT_EQ(rig.presenter.inputs[0].defaultAnswer, "1");
        EXPECT_EQ(form.RichTextBox1->text(), c.target == 1 ? "-0.125" : "a");
        EXPECT_EQ(form.RichTextBox2->text(), c.target == 2 ? "-0.125" : "b");
        EXPECT_EQ(form.RichTextBox3->text(), "-0.125");
    }
}

TEST(Form1Move, WithCheckingOnTheCopyIsCleaned) {
    FormRig rig;
    Form1& form = *rig.form;
    form.onInputCheckToggle();
    form.RichTextBox3->setText("0.5");
    rig.presenter.inputAnswers.push_back(QStringLiteral("1"));
    QTest::mouseClick(form.Label2, Qt::LeftButton);
    EXPECT_EQ(form.RichTextBox1->text(), ".5");
}

} // namespace
} // namespace longhand
