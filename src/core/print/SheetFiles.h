#pragma once

// A sheet as a file: a PDF whose page is exactly the paper (the copies embedded at 300 dpi),
// or a JPEG of the whole paper at 300 dpi with that density in its header. The file is made in
// memory and written whole (core/files/WholeFile), so a failed save leaves an older file as it
// was.

#include "core/print/SheetRenderer.h"

#include <QByteArray>
#include <QPageLayout>
#include <QString>

namespace portiqa {

enum class SheetFormat { Unknown, Pdf, Jpeg };

class SheetFiles {
public:
    // The resolution of the PDF's pictures and of the JPEG.
    static constexpr int kDotsPerInch = 300;
    static constexpr int kJpegQuality = 95;

    // By the file name's extension: .pdf, .jpg or .jpeg in any letter case.
    static SheetFormat formatOf(const QString& path);

    // The paper as a page without margins, for the PDF and the printer. Qt keeps page sizes in
    // whole points, so a page is the paper to within a point (0.35 mm; Qt's own A6 is 297 ×
    // 420 points); the copies keep their places from the paper's top-left corner.
    static QPageLayout pageLayout(const QSizeF& paperMm);

    static QByteArray pdf(const SheetRenderer& sheet);
    static QByteArray jpeg(const SheetRenderer& sheet);

    // Writes the sheet in the format of `path`. False with a reason in `error` (a sentence for
    // the operator) for an unknown extension, an empty layout or a failed write.
    static bool save(const SheetRenderer& sheet, const QString& path, QString* error);
};

} // namespace portiqa
