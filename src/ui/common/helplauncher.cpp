#include "helplauncher.h"

#include "look.h"
#include "presenter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QWidget>
#include <memory>

namespace longhand {

namespace {

// Size of Longhand's own help window, in pixels at 96 dpi.
constexpr int kViewerWidth = 640;
constexpr int kViewerHeight = 480;

// Desktop text editors that take a file name, in order of preference.
const char* const kEditors[] = {
    "gnome-text-editor", "gedit",     "mousepad", "kate", "kwrite", "pluma", "xed",
    "leafpad",           "featherpad"};

// The help text is 8-bit text: UTF-8 when it is valid as such, else Latin-1.
QString decodeHelp(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) text = QString::fromLatin1(bytes);
    return text;
}

} // namespace

HelpLauncher::HelpLauncher(QWidget* owner) : owner_(owner), viewers_(defaultViewers()) {}

HelpLauncher::~HelpLauncher() {
    // Destroying a QProcess kills its program; a viewer the person is
    // reading must outlive Longhand, so running ones are let go.
    for (QProcess* process : running_) {
        process->disconnect(this);
        process->setParent(nullptr);
    }
}

QStringList HelpLauncher::defaultViewers() {
    QStringList viewers{QStringLiteral("xdg-open")};
    for (const char* editor : kEditors) {
        if (!QStandardPaths::findExecutable(QString::fromLatin1(editor)).isEmpty()) {
            viewers << QString::fromLatin1(editor);
            break;
        }
    }
    return viewers;
}

void HelpLauncher::open(const QString& path) {
    tryViewer(0, path);
}

void HelpLauncher::release(QProcess* process) {
    running_.removeAll(process);
    process->deleteLater();
}

void HelpLauncher::tryViewer(int index, const QString& path) {
    if (index >= viewers_.size()) {
        showOwnViewer(path);
        return;
    }
    auto* process = new QProcess;
    running_.append(process);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    process->setProgram(viewers_[index]);
    process->setArguments({path});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    connect(process, &QProcess::errorOccurred, this,
            [this, process, index, path](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart) return;
                release(process);
                tryViewer(index + 1, path);
            });
    connect(process, &QProcess::started, this,
            [this, index] { emit viewerStarted(viewers_.value(index)); });
    connect(process, &QProcess::finished, this,
            [this, process, index, path, clock](int code, QProcess::ExitStatus status) {
                const bool failed = status == QProcess::CrashExit || code != 0;
                release(process);
                if (failed && clock->elapsed() < kQuickFailureMs) tryViewer(index + 1, path);
            });
    process->start();
}

void HelpLauncher::showOwnViewer(const QString& path) {
    if (!own_) {
        own_ = new QPlainTextEdit(owner_);
        own_->setWindowFlag(Qt::Window);
        own_->setAttribute(Qt::WA_DeleteOnClose);
        own_->setReadOnly(true);
        own_->setFont(plainFont());
        own_->setWindowTitle(QString::fromLatin1(kAppTitle));
        const qreal scale = logicalDpi(owner_) / kLayoutDpi;
        own_->resize(qRound(kViewerWidth * scale), qRound(kViewerHeight * scale));
    }
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        own_->setPlainText(decodeHelp(file.readAll()));
    } else {
        own_->setPlainText(tr("The help file %1 cannot be read: %2")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    own_->show();
    own_->raise();
    own_->activateWindow();
    emit ownViewerShown();
}

} // namespace longhand
