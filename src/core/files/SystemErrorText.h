#pragma once

// The operating system's reasons for a failed file operation, said in the program's language.
// The system's own texts ("Permission denied") follow the machine's locale, and on most
// machines that run the program they would be English inside a Chinese message.

#include <QFileDevice>
#include <QString>

namespace portiqa {

// The reason for an errno value; a value without a sentence of its own is named by its code.
QString systemErrorText(int code);

// The reason a file operation of `file` just failed, from its error kind and the system's
// last error number (read at once, before anything else can change it).
QString fileErrorText(const QFileDevice& file);

} // namespace portiqa
