// The real message and input boxes, answered from a timer: their title,
// text, icon and buttons, and what each button gives back.
#include "ui/common/presenter.h"

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace longhand {
namespace {

// Runs `answer` on the modal box (or pop-up) as soon as it is up.
void answerWhenUp(std::function<void(QWidget*)> answer, bool popup = false) {
    QTimer::singleShot(10, [answer, popup] {
        QWidget* up = popup ? QApplication::activePopupWidget() : QApplication::activeModalWidget();
        if (up)
            answer(up);
        else
            answerWhenUp(answer, popup);
    });
}

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

TEST(QtPresenter, AMessageBoxCarriesTheTitleIconAndButtons) {
    QtPresenter presenter;
    Seen seen;
    answerWhenUp([&seen](QWidget* up) {
        auto* box = qobject_cast<QMessageBox*>(up);
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        box->button(QMessageBox::Ok)->click();
    });
    // Lines broken with carriage returns show as lines.
    EXPECT_EQ(
        presenter.message(nullptr, "one\r\rtwo\r\nthree", MsgButtons::Ok, MsgIcon::Information),
        MsgAnswer::Ok);
    EXPECT_EQ(seen.title, "Longhand");
    EXPECT_EQ(seen.text, "one\n\ntwo\nthree");
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

TEST(QtPresenter, YesNoAndOkCancelGiveTheButtonPressed) {
    QtPresenter presenter;
    Seen seen;
    answerWhenUp([&seen](QWidget* up) {
        auto* box = qobject_cast<QMessageBox*>(up);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(presenter.message(nullptr, "Keep it?", MsgButtons::YesNo, MsgIcon::Question),
              MsgAnswer::No);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);

    answerWhenUp([](QWidget* up) { qobject_cast<QMessageBox*>(up)->reject(); });
    EXPECT_EQ(presenter.message(nullptr, "Go on?", MsgButtons::OkCancel, MsgIcon::None),
              MsgAnswer::Cancel);
    answerWhenUp(
        [](QWidget* up) { qobject_cast<QMessageBox*>(up)->button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(presenter.message(nullptr, "Keep it?", MsgButtons::YesNo, MsgIcon::Question),
              MsgAnswer::Yes);
}

TEST(QtPresenter, AnInputBoxGivesTheAnswerOrNothingOnCancel) {
    QtPresenter presenter;
    QString title, prompt, offered;
    answerWhenUp([&](QWidget* up) {
        auto* box = qobject_cast<QInputDialog*>(up);
        ASSERT_NE(box, nullptr);
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

    answerWhenUp([](QWidget* up) { qobject_cast<QInputDialog*>(up)->reject(); });
    EXPECT_EQ(presenter.input(nullptr, "Which box?", "1"), std::nullopt);
}

TEST(QtPresenter, ADismissedMenuChoosesNothing) {
    QtPresenter presenter;
    QMenu menu;
    QAction* item = menu.addAction("&Factorial");
    int triggered = 0;
    QObject::connect(item, &QAction::triggered, [&triggered] { ++triggered; });
    answerWhenUp([](QWidget* up) { up->close(); }, true);
    EXPECT_EQ(presenter.popup(&menu, QPoint(10, 10)), nullptr);
    EXPECT_EQ(triggered, 0);
}

} // namespace
} // namespace longhand
