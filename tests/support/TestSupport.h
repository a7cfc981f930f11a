#pragma once

// Small helpers shared by the test suites.

#include <QByteArray>
#include <QString>
#include <QStringList>

class QProcess;

namespace portiqa::test {

// Path of a committed fixture file below tests/fixtures.
QString fixturePath(const QString& relative);

// Reads a whole file; an empty array when it cannot be read.
QByteArray readAll(const QString& path);

// Writes a whole file, creating missing folders; false when it fails.
bool writeAll(const QString& path, const QByteArray& bytes);

// Path of the built program, for end-to-end tests that start it.
QString programPath();

// Starts the built program on the real display (Qt's platform chosen by the environment's
// DISPLAY, not by the test suite's offscreen setting), with its settings in `settingsDir`.
// `home` replaces HOME when given. False when the process did not start.
bool startProgramOnDisplay(QProcess& program, const QString& settingsDir,
                           const QStringList& extraArguments = {}, const QString& home = {});

} // namespace portiqa::test
