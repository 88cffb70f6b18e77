#include "numberfile.h"

#include "core/filetext.h"
#include "core/inputcheck.h"
#include "numberbox.h"
#include "outofmemory.h"
#include "presenter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace longhand {

namespace {

// Bytes written between two looks at the Progress token.
constexpr std::size_t kWriteChunk = std::size_t{1} << 20;

// Where the file dialogs start: the folder of the last file opened or
// saved while the program runs.
QString& lastFolder() {
    static QString folder = QDir::homePath();
    return folder;
}

void rememberFolder(const QString& path) {
    lastFolder() = QFileInfo(path).absolutePath();
}

QString shown(const std::string& text) {
    return QString::fromStdString(text);
}

struct OpenedFile {
    NumberFile file;
    NumberBox::PreparedText prepared;
};

// Writes all `n` bytes; a short write is followed by another, so that a
// failure leaves the system's reason in the file's error string.
bool writeAll(QSaveFile& file, const char* data, std::size_t n) {
    while (n > 0) {
        const qint64 written = file.write(data, static_cast<qint64>(n));
        if (written <= 0) return false;
        data += written;
        n -= static_cast<std::size_t>(written);
    }
    return true;
}

// The reason a save failed, or "" when it did not; nothing is kept of a
// cancelled save.
QString writeAtomically(const QString& path, const std::string& text, Progress& progress) {
    QSaveFile file(path);
    // Unbuffered, so that a failed write reports the system's reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
    for (std::size_t at = 0; at < text.size(); at += kWriteChunk) {
        if (progress.cancelled()) {
            file.cancelWriting();
            return {};
        }
        const std::size_t n = std::min(kWriteChunk, text.size() - at);
        if (!writeAll(file, text.data() + at, n)) return file.errorString();
        progress.report(static_cast<double>(at + n) / static_cast<double>(text.size()));
    }
    if (!writeAll(file, "\n", 1)) return file.errorString();
    // On the disk before the old file is replaced.
    if (::fsync(file.handle()) != 0) return QString::fromLocal8Bit(std::strerror(errno));
    if (!file.commit()) return file.errorString();
    return {};
}

} // namespace

void openNumberFile(const FileWork& work, NumberBox& box, const QString& caption, bool tidy) {
    const std::optional<QString> path =
        work.presenter.chooseFile(work.window, FileChoice::Open, caption, lastFolder());
    if (path) openNumberFileAt(work, box, *path, tidy);
}

bool openNumberFileAt(const FileWork& work, NumberBox& box, const QString& path, bool tidy) {
    const std::string name = QFile::encodeName(path).toStdString();
    const auto maxLength = static_cast<std::size_t>(box.maxLength());
    const int charsPerRow = box.charsPerRow();
    std::optional<OpenedFile> ran = work.runner.run(work.scene, [&](Progress& progress) {
        OpenedFile opened{readNumberFile(name, maxLength, progress), {}};
        NumberFile& file = opened.file;
        if (file.status != NumberFile::Status::Number || progress.cancelled()) return opened;
        if (tidy) file.text = settleInputText(file.text, InputField::Operand);
        opened.prepared = NumberBox::prepare(file.text, charsPerRow);
        return opened;
    });
    if (!ran) return false;
    const std::string shownPath = path.toStdString();
    switch (ran->file.status) {
    case NumberFile::Status::Number:
        box.showPrepared(std::move(ran->prepared));
        rememberFolder(path);
        return true;
    case NumberFile::Status::NotNumber:
        work.presenter.inform(work.window, shown(notANumberMessage(shownPath)));
        break;
    case NumberFile::Status::CannotRead:
        work.presenter.inform(work.window, shown(cannotReadMessage(shownPath, ran->file.reason)));
        break;
    case NumberFile::Status::TooLong:
        tellOutOfMemory(work.presenter, work.window);
        break;
    case NumberFile::Status::Cancelled:
        break;
    }
    return false;
}

void saveNumberFile(const FileWork& work, const std::string& text) {
    if (text.empty()) return;
    const QString start = QDir(lastFolder()).filePath(QString::fromLatin1(kResultFileName));
    const std::optional<QString> path = work.presenter.chooseFile(
        work.window, FileChoice::Save, QString::fromLatin1(kSaveResultCaption), start);
    if (path) saveNumberFileAt(work, text, *path);
}

bool saveNumberFileAt(const FileWork& work, const std::string& text, const QString& path) {
    const std::optional<QString> failure = work.runner.run(
        work.scene, [&](Progress& progress) { return writeAtomically(path, text, progress); });
    if (!failure) return false;
    if (!failure->isEmpty()) {
        work.presenter.inform(work.window, QStringLiteral("Cannot save the result to \"%1\": %2. "
                                                          "A file already there is as it was.")
                                               .arg(path, *failure));
        return false;
    }
    rememberFolder(path);
    return true;
}

} // namespace longhand
