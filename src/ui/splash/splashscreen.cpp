#include "splashscreen.h"

#include "ui/common/look.h"
#include "version.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QTimer>

// The pictures are compiled into the program; a static library needs its
// resources registered by hand.
static void registerPictures() {
    static bool registered = false;
    if (registered) return;
    Q_INIT_RESOURCE(pictures);
    registered = true;
}

namespace longhand {

namespace {

// Client area, in layout pixels.
constexpr int kClientWidth = 488, kClientHeight = 256;

// The picture for a screen of `ratio` device pixels per layout pixel: on a
// dense screen the one drawn at twice the size ("start@2x.png"), which
// keeps its layout size and every device pixel.
QPixmap sharpPicture(const QString& resource, qreal ratio) {
    if (ratio > 1) {
        QString dense = resource;
        dense.insert(dense.lastIndexOf(QLatin1Char('.')), QStringLiteral("@2x"));
        QPixmap picture(dense);
        if (!picture.isNull()) {
            picture.setDevicePixelRatio(2);
            return picture;
        }
    }
    return QPixmap(resource);
}

QLabel* pictureBox(QWidget* parent, const QRect& geometry, const char* resource) {
    auto* box = new QLabel(parent);
    box->setGeometry(geometry);
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(1);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setPixmap(sharpPicture(QString::fromLatin1(resource), parent->devicePixelRatioF()));
    paintBackground(box, kBlack);
    return box;
}

bool isModifierOnly(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock ||
           key == Qt::Key_NumLock;
}

} // namespace

SplashScreen::SplashScreen(QWidget* parent) : QDialog(parent) {
    registerPictures();
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QString());
    const qreal dpi = logicalDpi(this);
    setFixedSize(scaledSize(kClientWidth, kClientHeight, dpi));
    paintBackground(this, kBlack);

    frame = new QFrame(this);
    frame->setGeometry(scaledRect(8, 2, 472, 245, dpi));
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setStyleSheet(QStringLiteral("QFrame#frame { border: 1px solid #808080; }"));
    frame->setObjectName(QStringLiteral("frame"));
    paintBackground(frame, kBlack);

    startPicture = pictureBox(frame, scaledRect(16, 22, 188, 213, dpi), ":/splash/start.png");
    aboutPicture = pictureBox(frame, scaledRect(16, 38, 135, 176, dpi), ":/splash/about.png");
    aboutPicture->hide();

    greeting = new QLabel(QString::fromLatin1(kGreeting), frame);
    greeting->setGeometry(scaledRect(232, 112, 200, 32, dpi));
    greeting->setAlignment(Qt::AlignCenter);
    greeting->setWordWrap(true); // two lines where the font is wide
    greeting->setFont(greetingFont());
    paintLabel(greeting, kYellow, kBlack);

    versionLabel =
        new QLabel(QString::fromLatin1(kVersionPrefix) + QString::fromLatin1(kVersion), frame);
    versionLabel->setGeometry(scaledRect(232, 152, 200, 20, dpi));
    versionLabel->setAlignment(Qt::AlignCenter);
    versionLabel->setFont(plainFont());
    paintLabel(versionLabel, kYellow, kBlack);
    versionLabel->hide();

    // Clicks on the pictures and the text must not reach the frame.
    frame->installEventFilter(this);
    for (QWidget* child : {static_cast<QWidget*>(aboutPicture), static_cast<QWidget*>(startPicture),
                           static_cast<QWidget*>(greeting), static_cast<QWidget*>(versionLabel)})
        child->installEventFilter(this);

    timer = new QTimer(this);
    timer->setInterval(kTickMs);
    connect(timer, &QTimer::timeout, this, &SplashScreen::tick);
    timer->start();
}

void SplashScreen::showAbout() {
    aboutPicture->show();
    startPicture->hide();
    versionLabel->show();
}

void SplashScreen::showModal() {
    if (const QScreen* screen = this->screen()) {
        QRect area = frameGeometry();
        area.moveCenter(screen->availableGeometry().center());
        move(area.topLeft());
    }
    exec();
}

void SplashScreen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    raise();
    activateWindow();
}

void SplashScreen::tick() {
    ++ticks;
    if (ticks == kTicksShown) {
        timer->stop();
        hide();
        ticks = 0;
    }
}

void SplashScreen::unload() {
    timer->stop();
    unloaded_ = true;
    hide();
}

void SplashScreen::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (!isModifierOnly(event->key())) unload();
}

bool SplashScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        if (watched == frame) {
            timer->stop();
            unload();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace longhand
