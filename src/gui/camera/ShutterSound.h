#pragma once

// The shutter sound of quick-shoot (resources/sounds/shutter.wav, made by make_shutter_wav.py):
// started without waiting for it, silent on a machine without an audio output.

#include <QObject>

#include <memory>

class QSoundEffect;

namespace portiqa {

class ShutterSound : public QObject {
    Q_OBJECT
public:
    explicit ShutterSound(QObject* parent = nullptr);
    ~ShutterSound() override;

    static QString resourcePath() { return QStringLiteral(":/sounds/shutter.wav"); }

    void play();

private:
    QSoundEffect* effect_ = nullptr; // made at the first shot with sound
    bool noOutput_ = false;
};

} // namespace portiqa
