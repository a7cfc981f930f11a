#pragma once

// The report of a crop run: one JSON object per line and picture (input, output, status, size
// in bytes, JPEG quality, whether a face was found, seconds), appended as each picture ends and
// flushed at once, so a report of a run that was killed still holds every picture it finished.
// A resumed run appends to the report of the run it continues.

#include "core/crop/CropRun.h"

#include <QFile>
#include <QString>

namespace portiqa {

class CropReport {
public:
    // No file: nothing is written. False from open() with `error` when it cannot be written.
    bool open(const QString& path, bool append, QString* error);
    void add(const CropItem& item, const CropOutcome& outcome);
    bool failed() const { return failed_; }

    // The status word of an outcome as the report gives it.
    static QString statusWord(CropStatus status);
    // One report line without its line break.
    static QByteArray line(const CropItem& item, const CropOutcome& outcome);

private:
    QFile file_;
    bool failed_ = false;
};

} // namespace portiqa
