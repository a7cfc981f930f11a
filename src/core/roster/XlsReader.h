#pragma once

// .xls workbooks (BIFF in a compound file) through libfreexl. libfreexl 1.0.6 cannot read a
// workbook stream kept in the compound file's mini stream, which is where small files of
// several writers keep it (streams under 4096 bytes); such a file is copied through libgsf
// into a compound file whose workbook stream is padded with zeros to 4096 bytes. The
// workbook ends at its EOF record, so the padding is never read as data.

#include "core/roster/WorkbookReader.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace portiqa {

class XlsReader {
public:
    // `path` is the file on disk, `content` its bytes.
    static WorkbookReadResult read(const QString& path, const QByteArray& content);

    struct WorkbookStream {
        QByteArray bytes;
        const char* name = "Workbook";
    };
    // The BIFF workbook stream of a compound file; nullopt with a reason when `content` is no
    // readable compound file, holds no workbook or is an encrypted .xlsx package.
    static std::optional<WorkbookStream> workbookStream(const QByteArray& content, QString* reason);
    // True when the workbook's globals announce encryption (a FILEPASS record).
    static bool isEncrypted(const QByteArray& stream);
    // A compound file holding `stream`, padded so it is kept in regular sectors.
    static std::optional<QByteArray> packWithPadding(const WorkbookStream& stream);
};

} // namespace portiqa
