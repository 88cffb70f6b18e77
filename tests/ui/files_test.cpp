// Numbers in and out of files through the windows: the File menu, a drop
// on an operand box, Ctrl+S in the function dialog; a refused file, a long
// read cancelled on the runner's panel, and a save that fails.
#include "uitest.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace longhand {
namespace {

using test::click;
using test::WindowRig;

void drop(NumberBox* box, const std::string& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    const QPoint at = box->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(box->viewport(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(box->viewport(), &event);
}

// With input checking on, an opened number is tidied once, as a whole: no
// pass per character, so the caption never reads "Checking". A refused
// file leaves the box as it was and names the file.
TEST(OpenFile, TheMenuAndADropOpenANumberOrRefuseTheFile) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    ui(w).inputCheckAction->trigger();
    ui(w).firstOperand->setText("1");
    ui(w).secondOperand->setText("2");
    std::vector<QString> titles;
    QObject::connect(&w, &QWidget::windowTitleChanged,
                     [&](const QString& title) { titles.push_back(title); });
    rig.folder.write("a.txt", "0012_345 678\r\n.50\n");
    rig.folder.write("b.txt", "1,5\n");
    rig.folder.write("c.txt", "-4 2\n");
    rig.presenter.files = {QString::fromStdString(rig.folder.file("a.txt")),
                           QString::fromStdString(rig.folder.file("b.txt"))};
    ui(w).openFirstAction->trigger();
    EXPECT_EQ(ui(w).firstOperand->text(), "12345678.50");
    ui(w).openSecondAction->trigger();
    EXPECT_EQ(ui(w).secondOperand->text(), "2");
    drop(ui(w).secondOperand, rig.folder.file("c.txt"));
    EXPECT_EQ(ui(w).secondOperand->text(), "-42");
    drop(ui(w).secondOperand, rig.folder.file("missing.txt"));
    EXPECT_EQ(ui(w).secondOperand->text(), "-42");
    EXPECT_TRUE(titles.empty());

    ASSERT_EQ(rig.presenter.messages.size(), 2u);
    EXPECT_TRUE(rig.presenter.messages[0].text.startsWith(
        QString::fromStdString("\"" + rig.folder.file("b.txt") + "\" does not hold a decimal")));
    EXPECT_EQ(rig.presenter.messages[1].text.toStdString(),
              "Cannot read \"" + rig.folder.file("missing.txt") + "\": No such file or directory.");
    // The second dialog starts where the first file was.
    ASSERT_EQ(rig.presenter.fileDialogs.size(), 2u);
    EXPECT_EQ(rig.presenter.fileDialogs[1].second.toStdString(), rig.folder.path());
}

// The read waits on a pipe, so the panel shows whatever the machine's pace.
TEST(OpenFile, ALongReadShowsTheWorkingPanelAndCancelLeavesTheBox) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    ui(w).firstOperand->setText("5");
    const std::string pipe = rig.folder.file("slow.txt");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    rig.presenter.files = {QString::fromStdString(pipe)};
    bool cancelShown = false;
    QObject::connect(&w.runner(), &CalcRunner::started, [&] {
        const int writer = ::open(pipe.c_str(), O_WRONLY); // once the worker reads
        EXPECT_EQ(::write(writer, "123", 3), 3);
        QSignalSpy shown(&w.runner(), &CalcRunner::workingShown);
        if (shown.wait(10000)) {
            cancelShown = w.runner().cancelButton()->isVisible();
            click(w.runner().cancelButton());
        }
        ::close(writer);
    });
    ui(w).openFirstAction->trigger();
    EXPECT_TRUE(cancelShown);
    EXPECT_EQ(ui(w).firstOperand->text(), "5");
    EXPECT_TRUE(rig.presenter.messages.empty());
}

// Grouped or not, a file gets the plain digits and one line end; the dialog
// saves with Ctrl+S.
TEST(SaveResult, WritesThePlainNumberFromTheMenuAndFromTheDialog) {
    test::DialogRig rig(FunctionMode::Power);
    MainWindow& w = *rig.window;
    w.setGroupSize(3, false);
    ui(w).resultView->setText("-1234567.891", true);
    const std::string first = rig.folder.file("first.txt");
    const std::string second = rig.folder.file("second.txt");
    rig.presenter.files = {QString::fromStdString(first), QString::fromStdString(second)};
    ui(w).saveAction->trigger();
    EXPECT_EQ(rig.folder.read("first.txt"), "-1234567.891\n");

    rig.compute("2^100");
    QTest::keyClick(rig.dialog.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(rig.folder.read("second.txt"), "1267650600228229401496703205376\n");
    EXPECT_TRUE(rig.presenter.messages.empty());
    ASSERT_EQ(rig.presenter.fileDialogs.size(), 2u);
    EXPECT_EQ(rig.presenter.fileDialogs[1].second.toStdString(), rig.folder.file("result.txt"));
}

// A write past the file size limit fails as a full disk would.
TEST(SaveResult, AFailedWriteNamesThePathAndLeavesTheOldFileWhole) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    ui(w).resultView->setText(std::string(100'000, '7'));
    const std::string path = rig.folder.file("old.txt");
    rig.folder.write("old.txt", "12\n");
    const std::vector<std::string> before = rig.folder.entries();
    rig.presenter.files = {QString::fromStdString(path)};
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{1000, limit.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    ui(w).saveAction->trigger();
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_DFL);

    ASSERT_EQ(rig.presenter.messages.size(), 1u);
    EXPECT_EQ(rig.presenter.messages[0].text.toStdString(),
              "Cannot save the result to \"" + path +
                  "\": File too large. A file already there is as it was.");
    EXPECT_EQ(rig.folder.read("old.txt"), "12\n");
    EXPECT_EQ(rig.folder.entries(), before); // no half-written file left over
}

} // namespace
} // namespace longhand
