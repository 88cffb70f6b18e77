#include "frmsplash.h"

#include "ui/main/look.h"
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

// Layout in twips.
constexpr int kClientWidth = 7320, kClientHeight = 3840;

QLabel* pictureBox(QWidget* parent, const QRect& geometry, const char* resource) {
    auto* box = new QLabel(parent);
    box->setGeometry(geometry);
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(1);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setPixmap(QPixmap(QString::fromLatin1(resource)));
    paintBackground(box, kBgrBlack);
    return box;
}

bool isModifierOnly(int key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock ||
           key == Qt::Key_NumLock;
}

} // namespace

frmSplash::frmSplash(QWidget* parent) : QDialog(parent) {
    registerPictures();
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(QString());
    const qreal dpi = logicalDpi(this);
    setFixedSize(twipsSize(kClientWidth, kClientHeight, dpi));
    paintBackground(this, kBgrBlack);

    Frame1 = new QFrame(this);
    Frame1->setGeometry(twipsRect(120, 30, 7080, 3675, dpi));
    Frame1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Frame1->setStyleSheet(QStringLiteral("QFrame#Frame1 { border: 1px solid #808080; }"));
    Frame1->setObjectName(QStringLiteral("Frame1"));
    paintBackground(Frame1, kBgrBlack);

    Picture2 = pictureBox(Frame1, twipsRect(240, 323, 2820, 3195, dpi), ":/splash/start.png");
    Picture1 = pictureBox(Frame1, twipsRect(240, 570, 2025, 2640, dpi), ":/splash/about.png");
    Picture1->hide();

    lblProductName = new QLabel(QString::fromLatin1(kGreeting), Frame1);
    lblProductName->setGeometry(twipsRect(3480, 1680, 3000, 480, dpi));
    lblProductName->setAlignment(Qt::AlignCenter);
    lblProductName->setWordWrap(true); // two lines where the font is wide
    lblProductName->setFont(arialBoldFont());
    paintLabel(lblProductName, kBgrYellow, kBgrBlack);

    lblVersion =
        new QLabel(QString::fromLatin1(kVersionPrefix) + QString::fromLatin1(kVersion), Frame1);
    lblVersion->setGeometry(twipsRect(3480, 2280, 3000, 300, dpi));
    lblVersion->setAlignment(Qt::AlignCenter);
    lblVersion->setFont(plainFont());
    paintLabel(lblVersion, kBgrYellow, kBgrBlack);
    lblVersion->hide();

    // Clicks on the pictures and the text must not reach the frame.
    Frame1->installEventFilter(this);
    for (QWidget* child :
         {static_cast<QWidget*>(Picture1), static_cast<QWidget*>(Picture2),
          static_cast<QWidget*>(lblProductName), static_cast<QWidget*>(lblVersion)})
        child->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setInterval(kTickMs);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::tick);
    Timer1->start();
}

void frmSplash::chooseAboutPicture() {
    Picture1->show();
    Picture2->hide();
    lblVersion->show();
}

void frmSplash::showModal() {
    if (const QScreen* screen = this->screen()) {
        QRect area = frameGeometry();
        area.moveCenter(screen->availableGeometry().center());
        move(area.topLeft());
    }
    exec();
}

void frmSplash::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    raise();
    activateWindow();
}

void frmSplash::tick() {
    ++tickCount;
    if (tickCount == kTicksShown) {
        Timer1->stop();
        hide();
        tickCount = 0;
    }
}

void frmSplash::unload() {
    Timer1->stop();
    unloaded_ = true;
    hide();
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (!isModifierOnly(event->key())) unload();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        if (watched == Frame1) {
            Timer1->stop();
            unload();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace longhand
