#include "paths.h"

#include "store/filestore.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <pwd.h>
#include <string_view>
#include <system_error>
#include <unistd.h>

// Where an installed copy's delivered files lie: relative to the folder of
// the executable (so that a moved prefix still works) and as configured.
#ifndef LONGHAND_DATA_FROM_BIN
#define LONGHAND_DATA_FROM_BIN "../share/longhand"
#endif
#ifndef LONGHAND_INSTALL_DATADIR
#define LONGHAND_INSTALL_DATADIR "/usr/local/share/longhand"
#endif

namespace longhand {

namespace {

namespace fs = std::filesystem;

// Delivered files that the program changes (the settings) or hands to an
// editor (the help text): each user gets a copy of their own.
constexpr const char* kCopiedFiles[] = {kSettingsFile, kHelpFile};

// Files the program writes: never looked for among the delivered files.
constexpr const char* kWrittenFiles[] = {kSettingsFile, kFactorialFile};

std::string join(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

bool isFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool isWritableFolder(const std::string& dir) {
    std::error_code ec;
    return fs::is_directory(dir, ec) && ::access(dir.c_str(), W_OK) == 0;
}

bool makeFolder(const std::string& dir) {
    if (dir.empty()) return false;
    std::error_code ec;
    fs::create_directories(dir, ec);
    return fs::is_directory(dir, ec) && ::access(dir.c_str(), W_OK) == 0;
}

void copyIfMissing(const std::string& from, const std::string& to) {
    if (isFile(to) || !isFile(from)) return;
    if (std::optional<std::string> bytes = readWholeFile(from)) replaceFileAtomically(to, *bytes);
}

bool isWrittenFile(const std::string& name) {
    for (const char* written : kWrittenFiles)
        if (name == written) return true;
    return false;
}

struct State {
    std::mutex mutex;
    std::optional<AppFolders> folders;
};

State& state() {
    static State s;
    return s;
}

AppFolders currentFolders() {
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (!s.folders) {
        const std::string exeDir = executableFolder();
        const std::vector<std::string> installed = {
            fs::path(join(exeDir, LONGHAND_DATA_FROM_BIN)).lexically_normal().string(),
            LONGHAND_INSTALL_DATADIR};
        s.folders = chooseAppFolders(exeDir, installed, userDataFolder());
    }
    return *s.folders;
}

} // namespace

std::string executableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && exe.has_parent_path()) return exe.parent_path().string();
    const fs::path cwd = fs::current_path(ec);
    return ec ? std::string(".") : cwd.string();
}

std::string userDataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/') return join(xdg, "longhand");
    std::string home;
    if (const char* env = std::getenv("HOME"); env && env[0] == '/') {
        home = env;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    if (home.empty()) return {};
    return join(home, ".local/share/longhand");
}

AppFolders chooseAppFolders(const std::string& exeDir, const std::vector<std::string>& installed,
                            const std::string& userDir) {
    std::string delivered;
    if (isFile(join(exeDir, kSettingsFile))) {
        if (isWritableFolder(exeDir)) return {exeDir, exeDir};
        delivered = exeDir; // an unpacked copy in a folder the user cannot write
    } else {
        for (const std::string& dir : installed) {
            if (isFile(join(dir, kSettingsFile))) {
                delivered = dir;
                break;
            }
        }
        if (delivered.empty() && isWritableFolder(exeDir)) return {exeDir, ""};
    }

    if (!makeFolder(userDir)) return {delivered.empty() ? exeDir : delivered, delivered};
    if (!delivered.empty() && delivered != userDir) {
        for (const char* name : kCopiedFiles)
            copyIfMissing(join(delivered, name), join(userDir, name));
    }
    return {userDir, delivered};
}

std::string appFolder() {
    return currentFolders().folder;
}

void setAppFolder(const std::string& dir) {
    setAppFolders({dir, dir});
}

void setAppFolders(const AppFolders& folders) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.folders = folders;
}

std::string appFilePath(const std::string& name) {
    const AppFolders folders = currentFolders();
    const std::string path = join(folders.folder, name);
    if (name.empty() || folders.delivered.empty() || folders.delivered == folders.folder ||
        isWrittenFile(name) || isFile(path))
        return path;
    const std::string deliveredPath = join(folders.delivered, name);
    return isFile(deliveredPath) ? deliveredPath : path;
}

} // namespace longhand
