#pragma once

// Tells the operator once that a file of the program's state could not be written. The
// program goes on with the values it holds in memory; repeating the message at every later
// write would only get in the way, so it is shown again only after a write succeeded in
// between.

#include "core/dialogs/Dialogs.h"

#include <QString>

namespace portiqa {

class IniFile;

class WriteFailureNotice {
public:
    // `consequence` completes the message: what the failure means for the operator.
    WriteFailureNotice(Dialogs& dialogs, QString consequence);

    // Call after every write of `file` with its result.
    void report(bool ok, const IniFile& file);

private:
    Dialogs& dialogs_;
    QString consequence_;
    bool shown_ = false;
};

} // namespace portiqa
