#pragma once

// Reads a roster workbook (.xls or .xlsx) whole into memory. The extension chooses the
// format; a file whose content plainly is the other of the two formats (web systems often
// send .xlsx content under a .xls name) is read as what it is. Everything that can go wrong
// with a file from outside (damage, truncation, passwords, other file types, zip bombs,
// hostile XML) ends in a reason for the operator, never in a crash, a hang or unbounded
// memory. Safe to call on a worker thread; it touches no shared state.

#include "core/roster/Workbook.h"

#include <QString>

namespace portiqa {

struct WorkbookReadResult {
    bool ok = false;
    Workbook workbook;
    QString reason; // why the file could not be read, for the operator; empty when ok

    static WorkbookReadResult failure(const QString& why) {
        WorkbookReadResult r;
        r.reason = why;
        return r;
    }
};

class WorkbookReader {
public:
    // Files larger than this are not read at all, and an .xlsx may not unpack to more.
    static constexpr qint64 kMaxFileBytes = 200LL * 1024 * 1024;
    static constexpr qint64 kMaxUnpackedBytes = 200LL * 1024 * 1024;

    static WorkbookReadResult read(const QString& path);

    // The message the operator sees for a failed read.
    static QString failureMessage(const QString& reason);
};

// Reasons shared by both readers.
namespace readreason {
QString notWorkbook();
QString damaged();
QString passwordProtected();
QString tooManyCells();
} // namespace readreason

} // namespace portiqa
