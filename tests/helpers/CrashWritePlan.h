#pragma once

// What the crash-safety test and its child program (crash_writer) agree on: the three kinds
// of file the program promises to write whole, how generation g of each is written through the
// program's own writers, and how a file found on disk is checked to be one whole generation.

#include <QByteArray>
#include <QString>

namespace portiqa::test::crashplan {

enum class Kind { Picture, Settings, Task };

Kind kindFromName(const QString& name); // "picture", "settings", "task"
QString fileName(Kind kind);

// Writes generation `generation` of the kind's file into `folder`; false when the write
// failed (the reason then goes to `error`).
class Writer {
public:
    Writer(Kind kind, const QString& folder);
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    bool write(int generation, QString* error = nullptr);

private:
    struct State;
    State* state_;
};

// Why the kind's file in `folder` is not one whole generation, or an empty text when it is.
QString checkWhole(Kind kind, const QString& folder);

} // namespace portiqa::test::crashplan
