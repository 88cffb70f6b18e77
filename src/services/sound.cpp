#include "sound.h"

#include "paths.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>

namespace longhand {

namespace {

bool onAppThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// The one effect of the process. It belongs to the application object, so
// that it goes with it (a test may create several applications in turn).
QPointer<QSoundEffect>& effectSlot() {
    static QPointer<QSoundEffect> effect;
    return effect;
}

QSoundEffect* makeEffect() {
    QPointer<QSoundEffect>& effect = effectSlot();
    if (!effect) {
        if (QMediaDevices::audioOutputs().isEmpty()) return nullptr;
        effect = new QSoundEffect(QCoreApplication::instance());
        effect->setLoopCount(QSoundEffect::Infinite);
    }
    return effect;
}

} // namespace

void playLoopSound(const std::string& name) {
    if (!onAppThread()) return;
    stopSound();
    const QString path = QFile::decodeName(QByteArray::fromStdString(appFilePath(name)));
    if (!QFileInfo(path).isFile()) return;
    QSoundEffect* effect = makeEffect();
    if (!effect) return;
    const QUrl url = QUrl::fromLocalFile(path);
    if (effect->source() != url) effect->setSource(url);
    effect->play();
}

void stopSound() {
    if (!onAppThread()) return;
    if (QSoundEffect* effect = effectSlot()) effect->stop();
}

bool isSoundLooping() {
    if (!onAppThread()) return false;
    const QSoundEffect* effect = effectSlot();
    return effect && effect->isPlaying();
}

} // namespace longhand
