// The history as the windows see it: every result they show is handed to
// record() with what produced it, and kept (while "Keep History" is on) in
// the history store in the app folder. One keeper serves every window of
// the program; it tells them through changed() when the history grew or
// was cleared, so that an open history window follows at once.
#pragma once

#include "calcrunner.h"
#include "store/history.h"

#include <QObject>
#include <QString>
#include <string>
#include <vector>

class QWidget;

namespace longhand {

class Presenter;

class HistoryKeeper : public QObject {
    Q_OBJECT

  public:
    // The question before Clear History, and what is said when the history
    // cannot be written (followed by the log's path).
    static constexpr const char* kClearQuestion =
        "Clear the whole history? Every kept result is removed for good.";
    static constexpr const char* kUnwritable = "The history cannot be written: ";
    static constexpr const char* kBusy =
        "Another window kept the history busy, so this result was not kept: ";
    static constexpr const char* kClearBusy =
        "Another window kept the history busy, so it was not cleared: ";

    // The history in `folder` (the app folder), with the keeping option and
    // the size limit read from the settings file.
    HistoryKeeper(std::string folder, Presenter& presenter, QObject* parent = nullptr);

    const HistoryStore& store() const { return store_; }

    bool keeping() const { return keeping_; }
    // Turns keeping on or off and keeps the choice in the settings file;
    // what is kept stays.
    void setKeeping(bool keep);

    // Keeps a result: `source` says what produced it ("Multiply",
    // "Factorial 25"), `note` is its length line ("" for the one the result
    // boxes show: digits, decimals and whether it was cut). A failure is
    // told in `window` once per run of the program, not after every result.
    // Given a `scene`, a value too long for the log's line is written on the
    // runner (setRunner()) while the scene is held still, so that the window
    // keeps turning; in place without one, or while the runner is busy.
    void record(QWidget* window, const std::string& source, const std::string& value,
                bool cut = false, std::string note = {}, const CalcRunner::Scene* scene = nullptr);
    void setRunner(CalcRunner* runner) { runner_ = runner; }
    void recordAll(QWidget* window, std::vector<HistoryRecord> records);

    // Asks in `window` first; true when the history was cleared.
    bool clear(QWidget* window);

  signals:
    void changed();

  private:
    // Tells what an append came to.
    void follow(QWidget* window, const HistoryStore::Appended& done);

    HistoryStore store_;
    CalcRunner* runner_ = nullptr;
    Presenter& presenter_;
    bool keeping_ = true;
    bool told_ = false; // a failure was told already
};

// The length line of a result as the result boxes show it.
std::string resultNote(const std::string& value, bool cut);

} // namespace longhand
