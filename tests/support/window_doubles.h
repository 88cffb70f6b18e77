// Stand-ins for the person at the keyboard and the sound device, so that
// the windows run headless: nothing blocks and nothing plays.
#pragma once

#include "ui/common/presenter.h"
#include "ui/common/soundport.h"

#include <QAction>
#include <QMenu>
#include <QStringList>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace longhand::test {

// Answers from a script and records what was asked. Without a scripted
// answer a message gets its first button (OK or Yes), an input box its
// default answer and a menu is dismissed.
class ScriptedPresenter final : public Presenter {
  public:
    struct Message {
        QString text;
        MsgButtons buttons;
        MsgIcon icon;
    };
    struct Input {
        QString prompt;
        QString defaultAnswer;
    };

    MsgAnswer message(QWidget*, const QString& text, MsgButtons buttons, MsgIcon icon) override {
        messages.push_back({text, buttons, icon});
        if (answers.empty()) return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
        const MsgAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::optional<QString> input(QWidget*, const QString& prompt,
                                 const QString& defaultAnswer) override {
        inputs.push_back({prompt, defaultAnswer});
        std::optional<QString> answer(defaultAnswer);
        if (!inputAnswers.empty()) {
            answer.swap(inputAnswers.front());
            inputAnswers.pop_front();
        }
        return answer;
    }

    QAction* popup(QMenu* menu, const QPoint&) override {
        QStringList items;
        for (const QAction* action : menu->actions())
            if (!action->isSeparator()) items << action->text();
        popupItems.push_back(items);
        if (menuChoices.empty()) return nullptr;
        const QString choice = menuChoices.front();
        menuChoices.pop_front();
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->text() == choice) {
                action->trigger();
                return action;
            }
        }
        return nullptr;
    }

    std::optional<QString> chooseFile(QWidget*, FileChoice choice, const QString&,
                                      const QString& start) override {
        fileDialogs.push_back({choice, start});
        if (files.empty()) return std::nullopt;
        std::optional<QString> path = files.front();
        files.pop_front();
        return path;
    }

    // Answers for the next boxes, in order.
    std::deque<MsgAnswer> answers;
    std::deque<std::optional<QString>> inputAnswers;
    // Captions of the items to choose from the next menus.
    std::deque<QString> menuChoices;
    // Paths chosen in the next file dialogs; without one a dialog is cancelled.
    std::deque<QString> files;

    // What was shown, in order.
    std::vector<Message> messages;
    std::vector<Input> inputs;
    // The captions of each popped-up menu's items, separators left out.
    std::vector<QStringList> popupItems;
    // Each file dialog's kind and where it started.
    std::vector<std::pair<FileChoice, QString>> fileDialogs;
};

// Keeps a log of the calls ("play", "stop") and whether a loop would be
// playing.
class RecordingSound final : public SoundPort {
  public:
    void play() override {
        log.push_back("play");
        looping = true;
    }
    void stop() override {
        log.push_back("stop");
        looping = false;
    }

    std::vector<std::string> log;
    bool looping = false;
};

} // namespace longhand::test
