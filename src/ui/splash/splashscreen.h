// The welcome window: "WELCOME TO THE FREE SOFTWARE" and a picture, shown
// before the main window appears and again from Help, About, where it also
// tells the program's version.
//
// It hides itself on the third tick of its one-second timer and stays
// loaded; a key press or a click on its frame (not on a picture or the
// text) unloads it at once. Whoever shows it deletes it once unloaded().
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QTimer;

namespace longhand {

class SplashScreen : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kTickMs = 1000;
    // The tick on which the window hides itself.
    static constexpr int kTicksShown = 3;
    static constexpr const char* kGreeting = "WELCOME TO THE FREE SOFTWARE";
    // The About view's version line: this, then the program's version.
    static constexpr const char* kVersionPrefix = "Version ";

    explicit SplashScreen(QWidget* parent = nullptr);

    // The start-up picture is shown until showAbout(), which shows the
    // About picture and the version in its place.
    void showAbout();

    // Centres the window on its screen and shows it modally; returns when
    // it has been hidden or unloaded.
    void showModal();

    // Closed by a key or a frame click: the owner deletes it.
    bool unloaded() const { return unloaded_; }

    // One tick of the timer.
    void tick();

    QFrame* frame;
    QLabel* aboutPicture; // hidden at first
    QLabel* startPicture;
    QLabel* greeting;
    QLabel* versionLabel; // shown with the About picture
    QTimer* timer;
    int ticks = 0;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void unload();

    bool unloaded_ = false;
};

} // namespace longhand
