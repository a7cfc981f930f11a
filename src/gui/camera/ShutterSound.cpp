#include "gui/camera/ShutterSound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace portiqa {

ShutterSound::ShutterSound(QObject* parent) : QObject(parent) {}

ShutterSound::~ShutterSound() = default;

void ShutterSound::play() {
    if (noOutput_) {
        return;
    }
    if (effect_ == nullptr) {
        if (QMediaDevices::audioOutputs().isEmpty()) {
            noOutput_ = true; // no sound card: the shot stays silent
            return;
        }
        effect_ = new QSoundEffect(this);
        effect_->setSource(QUrl(QStringLiteral("qrc") + resourcePath()));
    }
    effect_->play();
}

} // namespace portiqa
