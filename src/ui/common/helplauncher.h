// Opening the help text in a viewer of the desktop.
//
// The viewers are tried in turn, without waiting for any of them: the
// desktop's opener (xdg-open) first, then an installed text editor. A
// viewer that cannot be started, or that gives up at once (exits with a
// failure within kQuickFailureMs), hands over to the next one. When every
// viewer has failed, Longhand shows the text in a read-only window of its
// own, so the help is always seen.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class QPlainTextEdit;
class QProcess;
class QWidget;

namespace longhand {

class HelpLauncher : public QObject {
    Q_OBJECT

  public:
    // A viewer failing within this time is taken as unable to show the file.
    static constexpr int kQuickFailureMs = 10000;

    // `owner` parents Longhand's own viewer window.
    explicit HelpLauncher(QWidget* owner);
    // Viewers still running are left to run on.
    ~HelpLauncher() override;

    // "xdg-open", then the first installed of a few desktop text editors.
    static QStringList defaultViewers();

    void setViewers(const QStringList& programs) { viewers_ = programs; }
    const QStringList& viewers() const { return viewers_; }

    // Starts showing `path` and returns at once.
    void open(const QString& path);

    // Longhand's own viewer window, once it has been needed.
    QPlainTextEdit* ownViewer() const { return own_; }

  signals:
    // A viewer program is running (it may still fail and hand over).
    void viewerStarted(const QString& program);
    // Every viewer failed; the text is in Longhand's own window.
    void ownViewerShown();

  private:
    void tryViewer(int index, const QString& path);
    void showOwnViewer(const QString& path);
    void release(QProcess* process);

    QWidget* owner_;
    QStringList viewers_;
    QList<QProcess*> running_;
    QPointer<QPlainTextEdit> own_;
};

} // namespace longhand
