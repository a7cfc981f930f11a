#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace portiqa::test {

QString fixturePath(const QString& relative) {
    return QStringLiteral(PORTIQA_FIXTURES) + QLatin1Char('/') + relative;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return file.write(bytes) == bytes.size();
}

QString programPath() {
    return QStringLiteral(PORTIQA_BINARY);
}

bool startProgramOnDisplay(QProcess& program, const QString& settingsDir,
                           const QStringList& extraArguments, const QString& home) {
    program.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!home.isEmpty()) {
        env.insert(QStringLiteral("HOME"), home);
    }
    program.setProcessEnvironment(env);
    program.start(programPath(),
                  QStringList{QStringLiteral("--settings-dir"), settingsDir} + extraArguments);
    return program.waitForStarted(5000);
}

} // namespace portiqa::test
