#pragma once

// Small helpers shared by the test suites.

#include <QByteArray>
#include <QString>

namespace portiqa::test {

// Path of a committed fixture file below tests/fixtures.
QString fixturePath(const QString& relative);

// Reads a whole file; an empty array when it cannot be read.
QByteArray readAll(const QString& path);

// Writes a whole file, creating missing folders; false when it fails.
bool writeAll(const QString& path, const QByteArray& bytes);

// Path of the built program, for end-to-end tests that start it.
QString programPath();

} // namespace portiqa::test
