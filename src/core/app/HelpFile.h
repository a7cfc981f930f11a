#pragma once

// The help page the program carries. Before it is opened it is written out beside the program
// when missing or when its content differs from the carried copy (an older version, a
// truncated copy); an identical file is left untouched.

#include <QByteArray>
#include <QString>

namespace portiqa {

enum class HelpFileResult { Written, Rewritten, Unchanged, Failed };

// Lower-case hexadecimal MD5 of `bytes` (32 digits).
QString md5Hex(const QByteArray& bytes);

// Makes `path` hold exactly `carried`; the write is atomic so a failure never leaves a
// truncated page behind.
HelpFileResult installHelpFile(const QString& path, const QByteArray& carried);

} // namespace portiqa
