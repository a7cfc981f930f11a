#pragma once

// `portiqa sheet PICTURE --paper P --size S [--copies N] --out SHEET.pdf|SHEET.jpg`: the print
// sheet of the 排版打印 window for scripts, with the same layout and drawing. The picture is
// used as it is (no framing).
//
// Exit status: 0 when the sheet was written, 1 when the picture could not be read, nothing
// fits or the file could not be written, 2 for bad usage. Messages go to standard error, the
// one-line result to standard output.

#include <QString>
#include <QStringList>

namespace portiqa::cli {

// `arguments` start with the command's name.
int runSheetCommand(const QStringList& arguments);

// What `portiqa sheet --help` prints: usage, the papers and the photo sizes.
QString sheetUsageText();

} // namespace portiqa::cli
