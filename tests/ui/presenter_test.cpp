// The real message and input boxes, answered from a timer: their title,
// text, icon and buttons, and what each button gives back.
#include "uitest.h"

#include <QInputDialog>
#include <QMessageBox>

namespace longhand {
namespace {

// Runs `answer` on the modal box as soon as it is up.
template <class Box> void answerWhenUp(std::function<void(Box*)> answer) {
    QTimer::singleShot(10, [answer] {
        if (auto* box = qobject_cast<Box*>(QApplication::activeModalWidget()))
            answer(box);
        else
            answerWhenUp(answer);
    });
}

TEST(QtPresenter, AMessageBoxCarriesTheTitleIconAndButtons) {
    QtPresenter presenter;
    struct Case {
        MsgButtons buttons;
        MsgIcon icon;
        QMessageBox::StandardButton pressed; // NoButton: closed by Escape
        QMessageBox::StandardButtons shown;
        QMessageBox::Icon shownIcon;
        MsgAnswer answer;
    } const cases[] = {
        {MsgButtons::Ok, MsgIcon::Information, QMessageBox::Ok, QMessageBox::Ok,
         QMessageBox::Information, MsgAnswer::Ok},
        {MsgButtons::YesNo, MsgIcon::Question, QMessageBox::No, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Question, MsgAnswer::No},
        {MsgButtons::OkCancel, MsgIcon::None, QMessageBox::NoButton,
         QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoIcon, MsgAnswer::Cancel},
    };
    for (const Case& c : cases) {
        QString title, text;
        QMessageBox::StandardButtons shown;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        answerWhenUp<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            shown = box->standardButtons();
            icon = box->icon();
            if (c.pressed == QMessageBox::NoButton)
                box->reject();
            else
                box->button(c.pressed)->click();
        });
        EXPECT_EQ(presenter.message(nullptr, "one\r\rtwo\r\nthree", c.buttons, c.icon), c.answer);
        EXPECT_EQ(title, "Longhand");
        // Lines broken with carriage returns show as lines.
        EXPECT_EQ(text, "one\n\ntwo\nthree");
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(icon, c.shownIcon);
    }
}

TEST(QtPresenter, AnInputBoxGivesTheAnswerOrNothingOnCancel) {
    QtPresenter presenter;
    QString title, prompt, offered;
    answerWhenUp<QInputDialog>([&](QInputDialog* box) {
        title = box->windowTitle();
        prompt = box->labelText();
        offered = box->textValue();
        box->setTextValue("2");
        box->accept();
    });
    EXPECT_EQ(presenter.input(nullptr, "Which box?\r1 = upper", "1"), QString("2"));
    EXPECT_EQ(title, "Longhand");
    EXPECT_EQ(prompt, "Which box?\n1 = upper");
    EXPECT_EQ(offered, "1");
    answerWhenUp<QInputDialog>([](QInputDialog* box) { box->reject(); });
    EXPECT_EQ(presenter.input(nullptr, "Which box?", "1"), std::nullopt);
}

} // namespace
} // namespace longhand
