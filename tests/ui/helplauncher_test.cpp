// Help, Contents: the chain of viewers, ending in Longhand's own window.
#include "ui/common/helplauncher.h"
#include "uitest.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QSignalSpy>

namespace longhand {
namespace {

constexpr int kWaitMs = 5000;

// A viewer that writes its argument count and first argument to "viewer.log".
QString recordingViewer(const test::AppFolder& folder) {
    folder.write("viewer.sh",
                 "#!/bin/sh\nprintf '%s:%s' \"$#\" \"$1\" > '" + folder.file("viewer.log") + "'\n");
    QFile::setPermissions(QString::fromStdString(folder.file("viewer.sh")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return QString::fromStdString(folder.file("viewer.sh"));
}

TEST(HelpContents, TheHelpFileGoesToTheViewerAsOneArgument) {
    test::WindowRig rig;
    HelpLauncher& launcher = rig.window->helpLauncher();
    launcher.setViewers({recordingViewer(rig.folder)});
    ui(*rig.window).contentsAction->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(rig.folder.read("viewer.log").has_value(), kWaitMs);
    EXPECT_EQ(rig.folder.read("viewer.log"), "1:" + rig.folder.file("cphelp.vok"));
    EXPECT_EQ(launcher.ownViewer(), nullptr);

    // A path with blanks stays one argument.
    std::filesystem::remove(rig.folder.file("viewer.log"));
    launcher.open(QStringLiteral("/some folder/with blanks/cphelp.vok"));
    QTRY_VERIFY_WITH_TIMEOUT(rig.folder.read("viewer.log").has_value(), kWaitMs);
    EXPECT_EQ(rig.folder.read("viewer.log"), "1:/some folder/with blanks/cphelp.vok");
}

TEST(HelpContents, WhenEveryViewerFailsLonghandShowsTheText) {
    test::AppFolder folder;
    folder.write("cphelp.vok", "How to use Longhand\nType two numbers.\n");
    QWidget owner;
    HelpLauncher launcher(&owner);
    // One that cannot be started, one that gives up at once.
    launcher.setViewers({QStringLiteral("/nonexistent/longhand-viewer"), QStringLiteral("false")});
    QSignalSpy own(&launcher, &HelpLauncher::ownViewerShown);
    launcher.open(QString::fromStdString(folder.file("cphelp.vok")));
    ASSERT_TRUE(own.count() == 1 || own.wait(kWaitMs));
    EXPECT_TRUE(launcher.ownViewer()->isReadOnly());
    EXPECT_TRUE(launcher.ownViewer()->isVisible());
    EXPECT_EQ(launcher.ownViewer()->toPlainText(), "How to use Longhand\nType two numbers.\n");
    launcher.ownViewer()->close();

    // Without a help file, the own window says so.
    HelpLauncher second(&owner);
    second.setViewers({});
    second.open(QString::fromStdString(folder.file("missing.vok")));
    EXPECT_TRUE(second.ownViewer()->toPlainText().contains("cannot be read"));
    second.ownViewer()->close();
}

} // namespace
} // namespace longhand
