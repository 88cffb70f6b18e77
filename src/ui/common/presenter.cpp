#include "presenter.h"

#include <QAction>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>

namespace longhand {

namespace {

QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// What the file dialogs list first.
const QString kTextFiles = QStringLiteral("Text files (*.txt);;All files (*)");

// Texts may break their lines with CR LF or a lone CR; the boxes break on LF.
QString withLineFeeds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

MsgAnswer QtPresenter::message(QWidget* parent, const QString& text, MsgButtons buttons,
                               MsgIcon icon) {
    QMessageBox box(boxIcon(icon), QString::fromLatin1(kAppTitle), withLineFeeds(text),
                    QMessageBox::NoButton, parent);
    // A screen reader says the message as the box appears; Enter and Esc
    // answer it, and Tab goes from button to button.
    box.setAccessibleName(QString::fromLatin1(kAppTitle));
    box.setAccessibleDescription(withLineFeeds(text));
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Ok:
        return MsgAnswer::Ok;
    default:
        // Closed by Escape or the window's close button.
        return buttons == MsgButtons::Ok      ? MsgAnswer::Ok
               : buttons == MsgButtons::YesNo ? MsgAnswer::No
                                              : MsgAnswer::Cancel;
    }
}

std::optional<QString> QtPresenter::input(QWidget* parent, const QString& prompt,
                                          const QString& defaultAnswer) {
    bool ok = false;
    QString answer =
        QInputDialog::getText(parent, QString::fromLatin1(kAppTitle), withLineFeeds(prompt),
                              QLineEdit::Normal, defaultAnswer, &ok);
    if (!ok) return std::nullopt;
    return answer;
}

QAction* QtPresenter::popup(QMenu* menu, const QPoint& at) {
    return menu->exec(at);
}

std::optional<QString> QtPresenter::chooseFile(QWidget* parent, FileChoice choice,
                                               const QString& caption, const QString& start) {
    const QString path = choice == FileChoice::Open
                             ? QFileDialog::getOpenFileName(parent, caption, start, kTextFiles)
                             : QFileDialog::getSaveFileName(parent, caption, start, kTextFiles);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

} // namespace longhand
