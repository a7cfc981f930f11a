#pragma once

// Files the operator cares about are written whole: into a temporary file beside the target,
// then renamed over it, so a failure never leaves a truncated file over an older good one.

#include <QByteArray>
#include <QString>

namespace portiqa {

// Writes `bytes` to `path`; on failure `error` (when given) gets the reason.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace portiqa
