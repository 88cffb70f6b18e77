// Message boxes, input boxes and pop-up menus: everything that waits for the
// person at the keyboard. The windows ask through a Presenter, so that
// another one can answer without anything blocking.
#pragma once

#include <QPoint>
#include <QString>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace longhand {

// The title of every message and input box.
inline constexpr const char* kAppTitle = "Longhand";

enum class MsgIcon { None, Information, Question };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };
enum class FileChoice { Open, Save };

class Presenter {
  public:
    virtual ~Presenter() = default;

    // A modal message box titled "Longhand"; returns the button pressed.
    virtual MsgAnswer message(QWidget* parent, const QString& text, MsgButtons buttons,
                              MsgIcon icon) = 0;

    // A modal input box titled "Longhand" with a prompt and a default
    // answer; nothing when the person cancels.
    virtual std::optional<QString> input(QWidget* parent, const QString& prompt,
                                         const QString& defaultAnswer) = 0;

    // Pops the menu up at `at` (global coordinates) and runs the chosen
    // item; returns it, or null when the menu was dismissed.
    virtual QAction* popup(QMenu* menu, const QPoint& at) = 0;

    // A modal file dialog with a caption, for a text file to open or to
    // save as, starting at `start` (a folder, or a file in it); the path
    // chosen, or nothing when the person cancels.
    virtual std::optional<QString> chooseFile(QWidget* parent, FileChoice choice,
                                              const QString& caption, const QString& start) = 0;

    // Shorthand for an OK-only box.
    void inform(QWidget* parent, const QString& text, MsgIcon icon = MsgIcon::None) {
        message(parent, text, MsgButtons::Ok, icon);
    }
};

// The real boxes and menus.
class QtPresenter final : public Presenter {
  public:
    MsgAnswer message(QWidget* parent, const QString& text, MsgButtons buttons,
                      MsgIcon icon) override;
    std::optional<QString> input(QWidget* parent, const QString& prompt,
                                 const QString& defaultAnswer) override;
    QAction* popup(QMenu* menu, const QPoint& at) override;
    std::optional<QString> chooseFile(QWidget* parent, FileChoice choice, const QString& caption,
                                      const QString& start) override;
};

} // namespace longhand
