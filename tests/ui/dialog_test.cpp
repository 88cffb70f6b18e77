// The function dialog driven as a person would: the argument line typed
// into, the compute button pressed, the result box clicked, the hint and
// Move labels clicked; files and settings read back afterwards.
#include "engine/factable.h"
#include "engine/factorial.h"
#include "engine/multiply.h"
#include "ui/dialog/dialog.h"
#include "ui/main/clicklabel.h"
#include "ui/main/move.h"
#include "ui/main/numberbox.h"
#include "ui/main/numberview.h"
#include "uitest.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

namespace longhand {
namespace {

using test::FormRig;
using enum FunctionMode;

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// A main window and a function dialog opened over it for one settings key.
struct DialogRig : FormRig {
    explicit DialogRig(FunctionMode mode, unsigned char iput = Form1::kInputCheckOffFlag,
                       bool deliveredSettings = true)
        : FormRig(deliveredSettings) {
        form->iputFlag = iput;
        dialog = std::make_unique<Dialog>(*form);
        dialog->prepare(mode);
        dialog->show();
    }
    ~DialogRig() { dialog->close(); }

    std::string result() const { return dialog->RichTextBox1->text(); }
    std::string line() const { return dialog->Text1->text().toStdString(); }
    std::string caption() const { return dialog->windowTitle().toStdString(); }
    void setLine(const char* text) const { dialog->Text1->setText(QString::fromLatin1(text)); }
    void compute() const { QTest::mouseClick(dialog->Command2, Qt::LeftButton); }

    std::unique_ptr<Dialog> dialog;
};

// Clicks into a number box where the caret is to stand after `position`
// characters.
void clickAtCaret(NumberView* box, int position) {
    const QPoint at = box->cursorRect(position).center();
    QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

// ---- Opening and closing ----------------------------------------------------------

TEST(Dialog, OpeningSetsCaptionModeAndTemplate) {
    DialogRig rig(Permutation, Form1::kInputCheckOnFlag);
    Dialog& d = *rig.dialog;
    EXPECT_EQ(rig.caption(), "Permutation");
    EXPECT_EQ(d.Command2->text(), "Permutation");
    EXPECT_EQ(d.Label1->text(), "2p(,,)"); // the saved state in front
    EXPECT_EQ(rig.line(), "p(,,)");
    EXPECT_EQ(d.Text1->cursorPosition(), 2);
    EXPECT_TRUE(d.Label1->isHidden());
    EXPECT_TRUE(d.Command3->isHidden());
    EXPECT_TRUE(d.Label2->isHidden());
    EXPECT_EQ(d.Label3->text(), "Move");
    EXPECT_EQ(rig.form->iputFlag, Form1::kInputCheckOffFlag);
}

TEST(Dialog, ClosingRestoresTheSavedStateOnlyInTemplateModes) {
    {
        DialogRig rig(Combination, Form1::kInputCheckOnFlag);
        rig.dialog->close();
        EXPECT_EQ(rig.form->iputFlag, Form1::kInputCheckOnFlag);
    }
    {
        DialogRig rig(Factorial, Form1::kInputCheckOnFlag);
        EXPECT_EQ(rig.form->iputFlag, Form1::kInputCheckOnFlag);
        rig.form->iputFlag = Form1::kInputCheckOffFlag; // switched elsewhere
        rig.dialog->close();
        EXPECT_EQ(rig.form->iputFlag, Form1::kInputCheckOffFlag);
    }
}

// ---- The mode is the menu's choice; the settings give only the caption -----------------

struct CaptionCase {
    const char* settings; // null: no settings file
    FunctionMode mode;
    const char* caption; // shown by the dialog and its compute button
};

class ModeFromMenu : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(ModeFromMenu, ComputesWhateverTheCaptionSays) {
    const CaptionCase& c = GetParam();
    FormRig rig(false);
    if (c.settings) rig.folder.write("rcnt.vok", c.settings);
    Dialog dialog(*rig.form);
    dialog.prepare(c.mode);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle().toStdString(), c.caption);
    EXPECT_EQ(dialog.Command2->text().toStdString(), c.caption);
    dialog.RichTextBox1->setText("old");
    struct Work {
        FunctionMode mode;
        const char* typed; // into the line; ',' is the Right arrow
        const char* shown;
    } const work[] = {{Factorial, "4", "24"},
                      {Power, "2^10", "1024"},
                      {Permutation, "5,3", "60"},
                      {Combination, "5,3", "10"}};
    for (const Work& w : work) {
        if (w.mode != c.mode) continue;
        for (const char* p = w.typed; *p; ++p) {
            if (*p == ',')
                QTest::keyClick(dialog.Text1, Qt::Key_Right);
            else
                QTest::keyClick(dialog.Text1, *p);
        }
        QTest::mouseClick(dialog.Command2, Qt::LeftButton);
        EXPECT_EQ(dialog.RichTextBox1->text(), w.shown) << dialog.Text1->text().toStdString();
    }
    dialog.close();
}

constexpr const char* kEditedTexts = "[Text]\nf=Fakultaet\nw=\"Power \"\n"
                                     "p=Permutaci\xC3\xB3n\nc=  \n";

INSTANTIATE_TEST_SUITE_P(
    Settings, ModeFromMenu,
    ::testing::Values(CaptionCase{nullptr, Factorial, "Factorial"},
                      CaptionCase{nullptr, Power, "Power"},
                      CaptionCase{nullptr, Permutation, "Permutation"},
                      CaptionCase{nullptr, Combination, "Combination"},
                      CaptionCase{"", Factorial, "Factorial"}, CaptionCase{"", Power, "Power"},
                      CaptionCase{kEditedTexts, Factorial, "Fakultaet"},
                      CaptionCase{kEditedTexts, Power, "Power "},
                      CaptionCase{kEditedTexts, Permutation, "Permutaci\xC3\xB3n"},
                      CaptionCase{kEditedTexts, Combination, "Combination"}));

TEST(Dialog, TheArgumentLineIsCheckedByTheModeNotItsCaption) {
    FormRig rig;
    rig.folder.write("rcnt.vok", "[Text]\nf=Power\nw=Factorial\n");
    rig.form->iputFlag = Form1::kInputCheckOnFlag;
    for (auto [mode, typed, kept] :
         {std::tuple{Factorial, "-5.5^2", "552"}, std::tuple{Power, "-2.5^3.5", "-2.5^35"}}) {
        Dialog dialog(*rig.form);
        dialog.prepare(mode);
        dialog.show();
        QTest::keyClicks(dialog.Text1, QString::fromLatin1(typed));
        EXPECT_EQ(dialog.Text1->text().toStdString(), kept) << typed;
        dialog.close();
    }
}

TEST(Dialog, EachFunctionMenuItemOpensItsMode) {
    FormRig rig(false);
    Form1& form = *rig.form;
    for (auto [item, mode] :
         {std::pair{form.factorialmnu, Factorial}, std::pair{form.powermnu, Power},
          std::pair{form.permu, Permutation}, std::pair{form.comu, Combination}}) {
        std::optional<FunctionMode> opened;
        QTimer::singleShot(0, [&opened] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                opened = dialog->mode();
                dialog->close();
            }
        });
        item->trigger();
        EXPECT_EQ(opened, mode) << item->text().toStdString();
    }
}

// ---- Permutation and combination ----------------------------------------------------

struct SelectionCase {
    FunctionMode mode;
    const char* typed; // typed into the template: digits, ',' = Right arrow
    const char* shown; // null: nothing computed
};

class Selection : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(Selection, TypedIntoTheTemplate) {
    const SelectionCase& c = GetParam();
    DialogRig rig(c.mode);
    Dialog& d = *rig.dialog;
    d.RichTextBox1->setText("old");
    d.setWindowTitle("3");
    for (const char* p = c.typed; *p; ++p) {
        if (*p == ',')
            QTest::keyClick(d.Text1, Qt::Key_Right);
        else
            QTest::keyClick(d.Text1, *p);
    }
    rig.compute();
    EXPECT_EQ(rig.result(), c.shown ? c.shown : "old") << rig.line();
    EXPECT_EQ(rig.caption(), ""); // cleared after every press
    EXPECT_TRUE(d.Label2->isHidden());
    EXPECT_EQ(d.Command3->isHidden(), c.shown == nullptr); // the finished signal
}

INSTANTIATE_TEST_SUITE_P(
    Templates, Selection,
    ::testing::Values(
        SelectionCase{Permutation, "5,3,", "60"}, SelectionCase{Permutation, "5,3,1", "125"},
        SelectionCase{Permutation, "5,5,", "120"}, SelectionCase{Permutation, "5,3,2", "60"},
        SelectionCase{Permutation, "5,0,", "1"}, SelectionCase{Combination, "5,3,", "10"},
        SelectionCase{Combination, "5,0,", "1"}, SelectionCase{Combination, "5,1,", "5"},
        SelectionCase{Combination, "5,3,1", "35"}, SelectionCase{Combination, "20,10,", "184756"},
        SelectionCase{Permutation, "3,5,", nullptr}, SelectionCase{Permutation, ",3,", nullptr},
        SelectionCase{Combination, "5,,", nullptr}));

TEST(Dialog, TemplateKeys) {
    DialogRig rig(Permutation);
    Dialog& d = *rig.dialog;
    QTest::keyClicks(d.Text1, "5");
    QTest::keyClick(d.Text1, Qt::Key_Right);
    ASSERT_EQ(rig.line(), "p(5,,)");
    ASSERT_EQ(d.Text1->cursorPosition(), 4);

    QTest::keyClick(d.Text1, Qt::Key_Backspace); // right after a comma
    EXPECT_EQ(rig.line(), "p(5,,)");
    QTest::keyClicks(d.Text1, "a-.x ^"); // letters and signs refused
    EXPECT_EQ(rig.line(), "p(5,,)");
    QTest::keyClick(d.Text1, 'v', Qt::ControlModifier); // no paste
    EXPECT_EQ(rig.line(), "p(5,,)");

    QTest::keyClick(d.Text1, Qt::Key_Delete); // moves the caret, deletes nothing
    EXPECT_EQ(rig.line(), "p(5,,)");
    EXPECT_EQ(d.Text1->cursorPosition(), 5);

    QTest::keyClicks(d.Text1, "3");
    QTest::keyClick(d.Text1, Qt::Key_Backspace); // a digit may go
    EXPECT_EQ(rig.line(), "p(5,,)");

    d.Text1->setCursorPosition(0);
    QTest::keyClick(d.Text1, Qt::Key_Backspace); // at the very start
    EXPECT_EQ(rig.line(), "p(5,,)");
    QTest::keyClick(d.Text1, Qt::Key_Delete);
    QTest::keyClick(d.Text1, Qt::Key_Delete);
    EXPECT_EQ(d.Text1->cursorPosition(), 2);
    EXPECT_EQ(rig.line(), "p(5,,)");
}

// ---- The keyboard, in every mode ----------------------------------------------------

struct KeyboardCase {
    FunctionMode mode;
    const char* typed; // into the line; ',' is the Right arrow
    const char* shown;
};

class Keyboard : public ::testing::TestWithParam<KeyboardCase> {};

TEST_P(Keyboard, TabMovesEnterComputesEscCloses) {
    const KeyboardCase& c = GetParam();
    DialogRig rig(c.mode);
    Dialog& d = *rig.dialog;
    QApplication::setActiveWindow(&d);
    d.Text1->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), d.Text1);
    const std::string line = rig.line();

    // Tab order: result box, compute button, argument line, Stop Sound
    // (hidden here).
    QTest::keyClick(d.Text1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), d.RichTextBox1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), d.Text1);
    if (c.mode == Permutation || c.mode == Combination) {
        // Tabbed into, a template waits with the caret in its first slot.
        EXPECT_FALSE(d.Text1->hasSelectedText());
        EXPECT_EQ(d.Text1->cursorPosition(), 2);
    }
    QTest::keyClick(d.Text1, Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), d.Command2);
    EXPECT_EQ(rig.line(), line); // no key typed anything

    d.Text1->setFocus();
    for (const char* p = c.typed; *p; ++p)
        QTest::keyClick(d.Text1, *p == ',' ? Qt::Key_Right : static_cast<Qt::Key>(*p));
    QTest::keyClick(d.Text1, Qt::Key_Return);
    EXPECT_EQ(rig.result(), c.shown) << rig.line();
    d.RichTextBox1->setText("");
    QTest::keyClick(d.RichTextBox1, Qt::Key_Enter);
    EXPECT_EQ(rig.result(), c.shown) << "Enter on the result box";

    QTest::keyClick(d.Text1, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Modes, Keyboard,
                         ::testing::Values(KeyboardCase{Factorial, "5", "120"},
                                           KeyboardCase{Power, "2^10", "1024"},
                                           KeyboardCase{Permutation, "5,3", "60"},
                                           KeyboardCase{Combination, "5,3", "10"}));

// ---- The template is edited by typed digits only -------------------------------------

// A point of the line where a click puts the caret after `position`
// characters.
QPoint pointAt(QLineEdit* line, int position) {
    QPoint at(0, line->height() / 2);
    while (at.x() < line->width() && line->cursorPositionAt(at) < position)
        at.rx()++;
    return at;
}

// Drops `text`, as a drag would carry it, into the first slot of the line,
// where digits would keep the template.
void dropText(QLineEdit* line, const QString& text) {
    QMimeData data;
    data.setText(text);
    const QPoint at = pointAt(line, 2);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(line, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(line, &drop);
}

TEST(DialogTemplate, NoWayOfEditingBreaksIt) {
    struct Way {
        const char* name;
        const char* line; // before
        std::function<void(QLineEdit*)> edit;
    } const ways[] = {
        {"a digit typed over the whole line", "p(5,3,)",
         [](QLineEdit* l) {
             l->selectAll();
             QTest::keyClick(l, Qt::Key_7);
         }},
        {"Backspace over a selection across a comma", "p(55,3,)",
         [](QLineEdit* l) {
             l->setSelection(3, 3);
             QTest::keyClick(l, Qt::Key_Backspace);
         }},
        {"a dropped text", "p(5,3,)", [](QLineEdit* l) { dropText(l, QStringLiteral("x,)")); }},
        {"dropped digits", "p(5,3,)", [](QLineEdit* l) { dropText(l, QStringLiteral("9")); }},
        {"an input method's text", "p(5,3,)",
         [](QLineEdit* l) {
             QInputMethodEvent commit;
             commit.setCommitString(QStringLiteral("x"));
             QApplication::sendEvent(l, &commit);
         }},
        {"Ctrl+V", "p(5,3,)",
         [](QLineEdit* l) {
             QApplication::clipboard()->setText(QStringLiteral("9"));
             QTest::keyClick(l, Qt::Key_V, Qt::ControlModifier);
         }},
        {"Ctrl+X", "p(5,3,)",
         [](QLineEdit* l) {
             l->setSelection(2, 1);
             QTest::keyClick(l, Qt::Key_X, Qt::ControlModifier);
         }},
        {"Ctrl+Z after a digit", "p(5,3,)",
         [](QLineEdit* l) {
             l->setCursorPosition(3);
             QTest::keyClick(l, Qt::Key_4);
             QTest::keyClick(l, Qt::Key_Backspace);
             QTest::keyClick(l, Qt::Key_Z, Qt::ControlModifier);
         }},
    };
    for (FunctionMode mode : {Permutation, Combination}) {
        for (const Way& way : ways) {
            DialogRig rig(mode);
            QLineEdit* line = rig.dialog->Text1;
            // Typed into the template, as a person fills it.
            std::string before = way.line;
            before[0] = mode == Permutation ? 'p' : 'c';
            line->setCursorPosition(2);
            for (char ch : before.substr(2))
                QTest::keyClick(line,
                                ch == ',' || ch == ')' ? Qt::Key_Right : static_cast<Qt::Key>(ch));
            ASSERT_EQ(rig.line(), before) << way.name;
            way.edit(line);
            EXPECT_EQ(rig.line(), before) << way.name;
        }
    }
}

TEST(DialogTemplate, ItsMenuOffersOnlyCopyAndSelectAll) {
    DialogRig rig(Permutation);
    QLineEdit* line = rig.dialog->Text1;
    QTest::keyClick(line, Qt::Key_5);
    auto rightClick = [&] {
        QContextMenuEvent menu(QContextMenuEvent::Mouse, line->rect().center(),
                               line->mapToGlobal(line->rect().center()));
        QApplication::sendEvent(line, &menu);
    };
    rig.presenter.menuChoices = {QStringLiteral("Select &All")};
    rightClick();
    ASSERT_EQ(rig.presenter.popupItems.size(), 1u);
    EXPECT_EQ(rig.presenter.popupItems[0], (QStringList{"&Copy", "Select &All"}));
    EXPECT_EQ(line->selectedText(), "p(5,,)");

    QApplication::clipboard()->clear();
    rig.presenter.menuChoices = {QStringLiteral("&Copy")};
    rightClick();
    EXPECT_EQ(QApplication::clipboard()->text(), "p(5,,)");
    EXPECT_EQ(rig.line(), "p(5,,)");

    // The keys of the same two work as well.
    line->deselect();
    QApplication::clipboard()->clear();
    QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(line, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "p(5,,)");

    // In the other modes the line is an ordinary one, with its whole menu.
    DialogRig power(Power);
    const QPoint at = power.dialog->Text1->rect().center();
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, power.dialog->Text1->mapToGlobal(at));
    QApplication::sendEvent(power.dialog->Text1, &menu);
    ASSERT_EQ(power.presenter.popupItems.size(), 1u);
    EXPECT_TRUE(power.presenter.popupItems[0].filter(QStringLiteral("&Paste")).size() == 1)
        << power.presenter.popupItems[0].join(QLatin1Char('|')).toStdString();
}

TEST(DialogTemplate, AMiddleClickPastesNothing) {
    if (!QApplication::clipboard()->supportsSelection())
        GTEST_SKIP() << "this platform has no selection to paste";
    DialogRig rig(Combination);
    QLineEdit* line = rig.dialog->Text1;
    // Aimed into the first slot, where a digit would keep the template.
    const QPoint slot = pointAt(line, 2);
    ASSERT_EQ(line->cursorPositionAt(slot), 2);
    QApplication::clipboard()->setText(QStringLiteral("7"), QClipboard::Selection);
    QTest::mouseClick(line, Qt::MiddleButton, {}, slot);
    EXPECT_EQ(rig.line(), "c(,,)");
}

// ---- Factorial and power ------------------------------------------------------------

struct LineCase {
    FunctionMode mode;
    const char* line;
    const char* shown; // null: nothing computed
};

class LineMode : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineMode, ComputesOrIgnores) {
    const LineCase& c = GetParam();
    DialogRig rig(c.mode); // checking off: the line stays as set
    rig.dialog->RichTextBox1->setText("old");
    rig.setLine(c.line);
    rig.compute();
    EXPECT_EQ(rig.result(), c.shown ? c.shown : "old") << c.line;
    EXPECT_EQ(rig.caption(), "");
    EXPECT_TRUE(rig.presenter.messages.empty()) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineMode,
    ::testing::Values(LineCase{Factorial, "0", "1"}, LineCase{Factorial, "00", nullptr},
                      LineCase{Factorial, "0.5", nullptr}, LineCase{Factorial, "-3", nullptr},
                      LineCase{Factorial, "", nullptr}, LineCase{Factorial, "5.5", nullptr},
                      LineCase{Factorial, "abc", nullptr}, LineCase{Power, "2^10", "1024"},
                      LineCase{Power, "210", nullptr}, LineCase{Power, "-3^3", "-27"},
                      LineCase{Power, "2.5^2", "6.25"}, LineCase{Power, "7^0", "1"}));

TEST(Dialog, PowerRefusesAnExponentThatIsNotWhole) {
    for (const char* line : {"2^-1", "2^1.5"}) {
        DialogRig rig(Power);
        rig.dialog->RichTextBox1->setText("old");
        rig.setLine(line);
        rig.compute();
        EXPECT_EQ(rig.result(), "old");
        ASSERT_EQ(rig.presenter.messages.size(), 1u) << line;
        EXPECT_EQ(rig.presenter.messages[0].text, "The exponent must be a whole number.");
        EXPECT_EQ(rig.caption(), "");
    }
}

TEST(Dialog, ArgumentLineIsCheckedInFactorialMode) {
    DialogRig rig(Factorial, Form1::kInputCheckOnFlag);
    QTest::keyClicks(rig.dialog->Text1, "-5.5a");
    EXPECT_EQ(rig.line(), "55");
    EXPECT_EQ(rig.caption(), "Factorial"); // the mode is back after the pass
    EXPECT_EQ(rig.dialog->Text1->cursorPosition(), 2);
}

TEST(Dialog, ComputeStopsTheSoundAndGivesTheFinishedSignal) {
    DialogRig rig(Power);
    rig.setLine("3^3");
    rig.compute();
    EXPECT_EQ(rig.result(), "27");
    ASSERT_GE(rig.sound.log.size(), 2u);
    EXPECT_EQ(rig.sound.log[rig.sound.log.size() - 2], "stop  "); // the press, stopSound(" ")
    EXPECT_EQ(rig.sound.log.back(), "play 1.wav");
    EXPECT_FALSE(rig.dialog->Command3->isHidden());

    QTest::mouseClick(rig.dialog->Command3, Qt::LeftButton);
    EXPECT_TRUE(rig.dialog->Command3->isHidden());
    EXPECT_FALSE(rig.sound.looping);

    rig.form->soundFlag = Form1::kSoundOffFlag;
    rig.sound.log.clear();
    rig.compute();
    EXPECT_TRUE(rig.sound.log.empty());
    EXPECT_TRUE(rig.dialog->Command3->isHidden());
}

// ---- The save question ----------------------------------------------------------------

TEST(Dialog, FactorialBeyondTheTableAsksToSave) {
    for (bool yes : {true, false}) {
        DialogRig rig(Factorial);
        ASSERT_EQ(rig.form->facUpper, "0");
        rig.presenter.answers.push_back(yes ? MsgAnswer::Yes : MsgAnswer::No);
        rig.setLine("5");
        rig.compute();
        EXPECT_EQ(rig.result(), "120");
        ASSERT_EQ(rig.presenter.messages.size(), 1u);
        const auto& question = rig.presenter.messages[0];
        EXPECT_EQ(question.buttons, MsgButtons::YesNo);
        EXPECT_EQ(question.icon, MsgIcon::Question);
        EXPECT_EQ(question.text.toStdString(),
                  "Keep this factorial in the store? n = 5\rYou should save this result.");
        EXPECT_FALSE(rig.dialog->Command3->isHidden());

        const std::string file = readBytes(rig.folder.file("facDat.vok"));
        if (yes) {
            EXPECT_EQ(file, "1,\"1\"\r\n5,\"120\"");
            EXPECT_EQ(rig.folder.setting("Recent Factorial", "Upper"), "5");
            EXPECT_EQ(rig.form->facUpper, "5");
        } else {
            EXPECT_EQ(file, "1,\"1\"");
            EXPECT_EQ(rig.folder.setting("Recent Factorial", "Upper"), "1");
            EXPECT_EQ(rig.form->facUpper, "1");
        }
    }
}

// ---- Round hint and rounding in the dialog ----------------------------------------------

TEST(Dialog, ResultClickOffersRoundingAndTheHintRounds) {
    DialogRig rig(Power);
    Dialog& d = *rig.dialog;
    d.RichTextBox1->setText("3.14159");
    clickAtCaret(d.RichTextBox1, 5); // after "3.14"
    ASSERT_EQ(d.RichTextBox1->caretPosition(), 5);
    EXPECT_EQ(rig.caption(), "2");
    EXPECT_FALSE(d.Label2->isHidden());
    EXPECT_EQ(d.Label2->text(), "3: Click To Round.");

    QTest::mouseClick(d.Label2, Qt::LeftButton);
    EXPECT_EQ(rig.result(), "3.142");
    EXPECT_TRUE(d.Label2->isHidden());

    // A second click on the hidden hint does nothing.
    QTest::mouseClick(d.Label2, Qt::LeftButton);
    EXPECT_EQ(rig.result(), "3.142");
}

TEST(Dialog, ResultWithoutPointOffersNothing) {
    DialogRig rig(Power);
    Dialog& d = *rig.dialog;
    d.RichTextBox1->setText("12345");
    d.setWindowTitle("x");
    clickAtCaret(d.RichTextBox1, 3);
    EXPECT_EQ(rig.caption(), "x");
    EXPECT_TRUE(d.Label2->isHidden());
}

TEST(Dialog, DoubleClickPutsTheCaretAtTheStart) {
    DialogRig rig(Power);
    Dialog& d = *rig.dialog;
    d.RichTextBox1->setText("12.5");
    d.RichTextBox1->setFocus();
    QApplication::setActiveWindow(&d);
    d.RichTextBox1->setCaretPosition(3);
    QTest::mouseDClick(d.RichTextBox1->viewport(), Qt::LeftButton, Qt::NoModifier,
                       d.RichTextBox1->cursorRect().center());
    if (QApplication::focusWidget() != d.RichTextBox1) GTEST_SKIP() << "no focus on this platform";
    EXPECT_EQ(d.RichTextBox1->caretPosition(), 0);
}

// ---- Move from the dialog ------------------------------------------------------------------

struct MoveCase {
    std::optional<const char*> answer; // nullopt: Cancel
    int target;                        // 0: no box changes
};

class MoveFromDialog : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveFromDialog, CopiesIntoTheChosenOperandBox) {
    const MoveCase& c = GetParam();
    DialogRig rig(Power);
    Form1& form = *rig.form;
    form.RichTextBox1->setText("a");
    form.RichTextBox2->setText("b");
    rig.dialog->RichTextBox1->setText("-12.50");
    rig.presenter.inputAnswers.push_back(c.answer ? std::optional<QString>(*c.answer)
                                                  : std::nullopt);
    QTest::mouseClick(rig.dialog->Label3, Qt::LeftButton);

    ASSERT_EQ(rig.presenter.inputs.size(), 1u);
    EXPECT_EQ(rig.presenter.inputs[0].prompt.toStdString(),
              "Copy the result into a box.\r\r1 = upper box\r\r2 = lower box. Any other answer, "
              "or Cancel, leaves both boxes as they are.");
    EXPECT_EQ(rig.presenter.inputs[0].defaultAnswer, "1");
    EXPECT_EQ(form.RichTextBox1->text(), c.target == 1 ? "-12.50" : "a");
    EXPECT_EQ(form.RichTextBox2->text(), c.target == 2 ? "-12.50" : "b");
}

INSTANTIATE_TEST_SUITE_P(Answers, MoveFromDialog,
                         ::testing::Values(MoveCase{"1", 1}, MoveCase{"12", 1}, MoveCase{"2", 2},
                                           MoveCase{" 2", 0}, MoveCase{"", 0}, MoveCase{"3", 0},
                                           MoveCase{std::nullopt, 0}));

TEST(Dialog, MoveGivesTheTargetTwoChanges) {
    DialogRig rig(Power);
    Form1& form = *rig.form;
    form.RichTextBox2->setText("9");
    rig.dialog->RichTextBox1->setText("");
    int changes = 0;
    QObject::connect(form.RichTextBox2, &NumberBox::changed, [&] { ++changes; });
    rig.presenter.inputAnswers.push_back(QStringLiteral("2"));
    QTest::mouseClick(rig.dialog->Label3, Qt::LeftButton);
    EXPECT_EQ(form.RichTextBox2->text(), ""); // an empty result empties the box
    EXPECT_EQ(changes, 1);                    // the second write changes nothing

    rig.dialog->RichTextBox1->setText("7");
    rig.presenter.inputAnswers.push_back(QStringLiteral("2"));
    form.RichTextBox2->setText("5");
    changes = 0;
    QTest::mouseClick(rig.dialog->Label3, Qt::LeftButton);
    EXPECT_EQ(form.RichTextBox2->text(), "7");
    EXPECT_EQ(changes, 2);
}

// ---- The table of 1! to 100! ------------------------------------------------------------------

TEST(Makeit, RefusesAnyOtherPhraseAndTouchesNothing) {
    DialogRig rig(Factorial);
    rig.folder.write("facDat.vok", "1,\"1\"\r\n3,\"6\"");
    for (const char* phrase :
         {"", "Every day brings rain", "every day brings rain.", "Every day brings rain. "}) {
        EXPECT_EQ(rig.dialog->Makeit(phrase), 0) << phrase;
    }
    EXPECT_EQ(readBytes(rig.folder.file("facDat.vok")), "1,\"1\"\r\n3,\"6\"");
    EXPECT_TRUE(rig.presenter.messages.empty());
}

TEST(Makeit, AFailedWriteKeepsTheSettingAndSaysSo) {
    FormRig rig;
    rig.form->facUpper = "5";
    setAppFolder(rig.folder.path() + "/missing-folder");
    generateFactorialTable(*rig.form);
    setAppFolder(rig.folder.path());
    EXPECT_EQ(rig.form->facUpper, "5");
    EXPECT_FALSE(rig.folder.setting("Recent Factorial", "Upper").has_value());
    ASSERT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_TRUE(rig.presenter.messages[0].text.startsWith("The factorial store cannot be written"));
}

} // namespace
} // namespace longhand
