// Help, Contents: the chain of viewers, ending in Longhand's own window.
#include "ui/main/helplauncher.h"
#include "uitest.h"

#include <QAction>
#include <QFile>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace longhand {
namespace {

constexpr int kWaitMs = 5000;

// A viewer that writes its argument count and first argument to `log`.
QString recordingViewer(const test::AppFolder& folder, const std::string& log) {
    const std::string path = folder.file("viewer.sh");
    folder.write("viewer.sh", "#!/bin/sh\nprintf '%s:%s' \"$#\" \"$1\" > '" + log + "'\n");
    QFile::setPermissions(QString::fromStdString(path),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return QString::fromStdString(path);
}

std::string readAll(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

TEST(HelpContents, TheHelpFileGoesToTheViewerAsOneArgument) {
    test::FormRig rig;
    const std::string log = rig.folder.file("viewer.log");
    rig.form->helpLauncher().setViewers({recordingViewer(rig.folder, log)});
    QSignalSpy started(&rig.form->helpLauncher(), &HelpLauncher::viewerStarted);
    rig.form->contentsmnu->trigger();
    ASSERT_TRUE(started.wait(kWaitMs));
    QTRY_VERIFY_WITH_TIMEOUT(!readAll(log).empty(), kWaitMs);
    EXPECT_EQ(readAll(log), "1:" + rig.folder.file("cphelp.vok"));
    QTest::qWait(200);
    EXPECT_EQ(rig.form->helpLauncher().ownViewer(), nullptr);
}

TEST(HelpContents, APathWithBlanksStaysOneArgument) {
    test::AppFolder folder;
    const std::string log = folder.file("viewer.log");
    QWidget owner;
    HelpLauncher launcher(&owner);
    launcher.setViewers({recordingViewer(folder, log)});
    launcher.open(QStringLiteral("/some folder/with blanks/cphelp.vok"));
    QTRY_VERIFY_WITH_TIMEOUT(!readAll(log).empty(), kWaitMs);
    EXPECT_EQ(readAll(log), "1:/some folder/with blanks/cphelp.vok");
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
    ASSERT_NE(launcher.ownViewer(), nullptr);
    EXPECT_TRUE(launcher.ownViewer()->isReadOnly());
    EXPECT_TRUE(launcher.ownViewer()->isVisible());
    EXPECT_EQ(launcher.ownViewer()->toPlainText(), "How to use Longhand\nType two numbers.\n");
    launcher.ownViewer()->close();
}

TEST(HelpContents, AMissingHelpFileIsSaidInTheOwnWindow) {
    test::AppFolder folder;
    QWidget owner;
    HelpLauncher launcher(&owner);
    launcher.setViewers({});
    launcher.open(QString::fromStdString(folder.file("cphelp.vok")));
    ASSERT_NE(launcher.ownViewer(), nullptr);
    EXPECT_TRUE(launcher.ownViewer()->toPlainText().contains("cannot be read"));
    launcher.ownViewer()->close();
}

TEST(HelpContents, TheDesktopOpenerComesFirst) {
    const QStringList viewers = HelpLauncher::defaultViewers();
    ASSERT_FALSE(viewers.isEmpty());
    EXPECT_EQ(viewers.front(), "xdg-open");
    EXPECT_LE(viewers.size(), 2);
}

} // namespace
} // namespace longhand
