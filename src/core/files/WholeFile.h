#pragma once

// Files the operator cares about are written whole: into a temporary file beside the target,
// then renamed over it, so a failure never leaves a truncated file over an older good one, and
// a process killed at any moment leaves the old file or the new one. On Linux the temporary
// file has no name until its data is on disk; a name a killed writer left in the last instant
// is removed by the next write of the same file.

#include <QByteArray>
#include <QString>

namespace portiqa {

// Writes `bytes` to `path`; on failure `error` (when given) gets the reason.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace portiqa
