// Numbers in and out of text files: a file opened into an operand box, a
// shown result saved as a file.
//
// Both run on the calculation runner's worker, so a file of 100,000,000
// digits never holds the window still and shows the progress and Cancel of
// long work; a cancelled run changes nothing. The file dialogs start in the
// folder last used while the program runs.
#pragma once

#include "calcrunner.h"

#include <QString>
#include <string>

class QWidget;

namespace longhand {

class NumberBox;
class Presenter;

// Captions of the file dialogs.
inline constexpr const char* kOpenUpperCaption = "Open into Upper Box";
inline constexpr const char* kOpenLowerCaption = "Open into Lower Box";
inline constexpr const char* kSaveResultCaption = "Save Result As";
// The name a result is offered under.
inline constexpr const char* kResultFileName = "result.txt";

// The window that opens or saves and how it runs its work.
struct FileWork {
    QWidget* window;
    Presenter& presenter;
    CalcRunner& runner;
    CalcRunner::Scene scene;
};

// Asks for a file (`caption`) and opens it into `box` (openNumberFileAt).
void openNumberFile(const FileWork& work, NumberBox& box, const QString& caption, bool tidy);

// Opens the number in the file at `path` into `box`. The text is cleaned
// of blanks, tabs, line breaks and underscores and checked once, as a
// whole: a file that does not hold a decimal number is refused with a
// message that names it, as is one that cannot be read, and the box keeps
// what it had. With `tidy` (input checking on) the number is tidied once,
// as typing it would have. True when the box took the number.
bool openNumberFileAt(const FileWork& work, NumberBox& box, const QString& path, bool tidy);

// Asks where to save `text` and saves it there (saveNumberFileAt). An
// empty text is not saved.
void saveNumberFile(const FileWork& work, const std::string& text);

// Writes `text` and one line end to `path`, atomically: a failed write
// shows a message with the path and leaves any file there as it was. True
// when the file was saved.
bool saveNumberFileAt(const FileWork& work, const std::string& text, const QString& path);

} // namespace longhand
