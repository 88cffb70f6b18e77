// Where Longhand keeps its files.
//
// Every file of the program (the settings file "rcnt.vok", the factorial
// store "facDat.vok", the help text "cphelp.vok", the sound "1.wav") lies in
// one folder, the app folder:
//
// - A copy run from the build tree or from an unpacked folder has the
//   delivered files beside its executable and keeps everything there.
// - An installed copy (executable in <prefix>/bin, delivered files in
//   <prefix>/share/longhand) keeps the files it writes in the user's data
//   folder, $XDG_DATA_HOME/longhand or ~/.local/share/longhand. On the first
//   start the delivered "rcnt.vok" and "cphelp.vok" are copied there; other
//   delivered files that the program only reads ("1.wav", the icon) are read
//   from the install folder as long as the user's folder has no copy.
//
// The folder is chosen once per process, on first use, unless
// setAppFolder() has chosen it before. The choice is process-wide and meant
// to be made once at start-up (tests set it per test to a folder of their
// own); calls are safe from any thread.
#pragma once

#include <string>
#include <vector>

namespace longhand {

// Settings file, factorial store, help text and finished sound.
inline constexpr const char* kSettingsFile = "rcnt.vok";
inline constexpr const char* kFactorialFile = "facDat.vok";
inline constexpr const char* kHelpFile = "cphelp.vok";
inline constexpr const char* kFinishedSound = "1.wav";

// The full path of `name` in the app folder: the folder, one "/" and the
// name. An empty name gives the folder followed by "/".
std::string appFilePath(const std::string& name);

// The app folder, without a trailing "/" (except for the root folder "/").
std::string appFolder();

// Makes `dir` the app folder for the rest of the process (or until the next
// call); no files are copied and no install folder is consulted.
void setAppFolder(const std::string& dir);

// The folder of the running executable, without a trailing "/".
std::string executableFolder();

// $XDG_DATA_HOME/longhand when XDG_DATA_HOME is an absolute path, else
// $HOME/.local/share/longhand (the home folder from the password database
// when HOME is not set).
std::string userDataFolder();

// The choice behind appFolder(), open to tests.
struct AppFolders {
    std::string folder;    // where files are read and written
    std::string delivered; // where the delivered files lie ("" when nowhere)
};

// Makes `folders` the choice for the rest of the process: files missing
// from folders.folder that the program never writes are read from
// folders.delivered.
void setAppFolders(const AppFolders& folders);

// Chooses the app folder for an executable in `exeDir`. `installed` lists
// the folders where an installed copy's delivered files may lie, in order.
// The executable's folder is used when it holds the delivered settings file
// and can be written, or when no delivered files are found anywhere and it
// can be written. Otherwise `userDir` is used: it is created when missing
// and receives a copy of each delivered file that the program changes or
// hands to an editor and that it does not hold yet. When `userDir` cannot be
// created the folder of the delivered files is used as it is.
AppFolders chooseAppFolders(const std::string& exeDir, const std::vector<std::string>& installed,
                            const std::string& userDir);

} // namespace longhand
