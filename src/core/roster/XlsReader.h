#pragma once

// .xls workbooks (BIFF in a compound file) through libfreexl, with libgsf in front of it.
//
// libgsf opens the compound file and takes out the workbook stream; libfreexl then reads a
// fresh compound file that libgsf wrote around that stream. This has two reasons. libfreexl
// 1.0.6 cannot read a workbook stream kept in the compound file's mini stream, which is where
// small files of several writers keep it (streams under 4096 bytes), so the stream is padded
// with zeros to 4096 bytes (the workbook ends at its EOF record, so the padding is never read
// as data). And libfreexl trusts the sizes in the container and the records: damaged files
// made it read past its buffers, so it gets only containers libgsf wrote and records whose
// framing was checked.

#include "core/roster/WorkbookReader.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace portiqa {

class XlsReader {
public:
    // Reads the .xls held in `content`.
    static WorkbookReadResult read(const QByteArray& content);

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
