// The real message and input boxes, answered from a timer: their title and
// text, and what closing them gives back.
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

TEST(QtPresenter, BoxesCarryTheTitleAndLinesAndEscapeCancels) {
    QtPresenter presenter;
    QString title, text;
    QMessageBox::StandardButtons buttons;
    answerWhenUp<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        buttons = box->standardButtons();
        box->reject();
    });
    EXPECT_EQ(presenter.message(nullptr, "one\r\rtwo\r\nthree", MsgButtons::OkCancel,
                                MsgIcon::Information),
              MsgAnswer::Cancel);
    EXPECT_EQ(title, "Longhand");
    EXPECT_EQ(text, "one\n\ntwo\nthree"); // lines broken with carriage returns
    EXPECT_EQ(buttons, QMessageBox::Ok | QMessageBox::Cancel);

    answerWhenUp<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(presenter.message(nullptr, "Keep?", MsgButtons::YesNo, MsgIcon::Question),
              MsgAnswer::Yes);
    answerWhenUp<QInputDialog>([](QInputDialog* box) {
        box->setTextValue(box->textValue() + "2");
        box->accept();
    });
    EXPECT_EQ(presenter.input(nullptr, "Which box?", "1"), QString("12"));
    answerWhenUp<QInputDialog>([](QInputDialog* box) { box->reject(); });
    EXPECT_EQ(presenter.input(nullptr, "Which box?", "1"), std::nullopt);
}

} // namespace
} // namespace longhand
