// Where the program finds its files: beside the executable in a build tree
// or a writable folder, in the user's data folder for an installed copy.
#include "services/paths.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace longhand {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

// Restores the process-wide choice after a test changed it.
class AppFolderGuard {
  public:
    ~AppFolderGuard() { setAppFolder(kNowhere); }
    static constexpr const char* kNowhere = "/nonexistent-longhand-folder";
};

TEST(AppFilePath, ReadsOnlyUnwrittenDeliveredFilesFromTheInstallFolder) {
    AppFolderGuard guard;
    TempDir user, delivered;
    for (const char* name : {"rcnt.vok", "facDat.vok", "1.wav", "cphelp.vok"})
        writeBytes(delivered.file(name), "x");
    writeBytes(user.file("cphelp.vok"), "own copy");
    setAppFolders({user.path(), delivered.path()});
    EXPECT_EQ(appFilePath("1.wav"), delivered.file("1.wav"));
    EXPECT_EQ(appFilePath("cphelp.vok"), user.file("cphelp.vok"));
    // Files the program writes always stay in the user's folder.
    EXPECT_EQ(appFilePath("rcnt.vok"), user.file("rcnt.vok"));
    EXPECT_EQ(appFilePath("facDat.vok"), user.file("facDat.vok"));
    EXPECT_EQ(appFilePath("missing.wav"), user.file("missing.wav"));
    setAppFolder("/opt/calc");
    EXPECT_EQ(appFilePath("1.wav"), "/opt/calc/1.wav");
}

TEST(AppFolders, BuildTreeKeepsFilesBesideTheExecutable) {
    // The build copies the delivered files beside every executable.
    const std::string exe = executableFolder();
    ASSERT_FALSE(exe.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(exe + "/rcnt.vok"));
    TempDir home;
    const AppFolders chosen = chooseAppFolders(exe, {}, home.file("longhand"));
    if (::access(exe.c_str(), W_OK) == 0) {
        EXPECT_EQ(chosen.folder, exe);
        EXPECT_FALSE(std::filesystem::exists(home.file("longhand")));
    } else {
        // Someone else's build: this user works on a copy of the settings.
        EXPECT_EQ(chosen.folder, home.file("longhand"));
        EXPECT_EQ(readBytes(home.file("longhand/rcnt.vok")), readBytes(exe + "/rcnt.vok"));
    }
}

TEST(AppFolders, BareExecutableInAWritableFolderKeepsFilesBesideIt) {
    TempDir root;
    std::filesystem::create_directories(root.file("bin"));
    const AppFolders chosen =
        chooseAppFolders(root.file("bin"), {root.file("share/longhand")}, root.file("user"));
    EXPECT_EQ(chosen.folder, root.file("bin"));
    EXPECT_EQ(chosen.delivered, "");
}

// An installed copy: the executable in <prefix>/bin and no delivered files
// beside it, the delivered files in <prefix>/share/longhand.
struct InstalledTree {
    TempDir root;
    std::string bin = root.file("usr/bin");
    std::string share = root.file("usr/share/longhand");
    std::string user = root.file("home/.local/share/longhand");
    InstalledTree() {
        std::filesystem::create_directories(bin);
        std::filesystem::create_directories(share);
        writeBytes(share + "/rcnt.vok", "[Text]\r\nc=Combination\r\n");
        writeBytes(share + "/cphelp.vok", "help\n");
        writeBytes(share + "/1.wav", "RIFF");
    }
};

TEST(AppFolders, InstalledCopyUsesTheUsersFolderAndCopiesTheDeliveredFiles) {
    InstalledTree tree;
    const AppFolders chosen =
        chooseAppFolders(tree.bin, {tree.root.file("elsewhere"), tree.share}, tree.user);
    EXPECT_EQ(chosen.folder, tree.user);
    EXPECT_EQ(chosen.delivered, tree.share);
    EXPECT_EQ(readBytes(tree.user + "/rcnt.vok"), "[Text]\r\nc=Combination\r\n");
    EXPECT_EQ(readBytes(tree.user + "/cphelp.vok"), "help\n");
    EXPECT_FALSE(std::filesystem::exists(tree.user + "/1.wav"));
    EXPECT_TRUE(std::filesystem::is_empty(tree.bin));

    // A later start keeps what the user's copy holds by now.
    writeBytes(tree.user + "/rcnt.vok", "[Sound Check]\nState=1\n");
    chooseAppFolders(tree.bin, {tree.share}, tree.user);
    EXPECT_EQ(readBytes(tree.user + "/rcnt.vok"), "[Sound Check]\nState=1\n");
}

TEST(AppFolders, UnusableUserFolderFallsBackToTheDeliveredFiles) {
    InstalledTree tree;
    writeBytes(tree.root.file("file"), "x");
    const AppFolders chosen =
        chooseAppFolders(tree.bin, {tree.share}, tree.root.file("file") + "/longhand");
    EXPECT_EQ(chosen.folder, tree.share);
}

} // namespace
} // namespace longhand
