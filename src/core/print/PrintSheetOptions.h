#pragma once

// The choices of the 排版打印 window, and the sheet they ask for. The command line builds the
// same options from its arguments.

#include "core/print/SheetChoices.h"
#include "core/print/SheetLayout.h"

#include <QSize>
#include <QString>

#include <optional>

namespace portiqa {

struct PrintSheetOptions {
    // Bounds of the typed millimetres; values outside are brought within them.
    static constexpr double kMaxGapMm = 20;
    static constexpr double kMaxMarginMm = 30;
    static constexpr int kMaxCopies = 999;

    QString paper = paperChoices().constFirst().name;
    bool landscape = true; // photo papers are printed long side across
    QString photoSize = photoSizeChoices().constFirst().name; // or outputSizeName()
    int copies = 0;                                           // 0: as many as fit
    double gapMm = 2;
    bool cutLines = true;
    double marginMm = 3;

    // The options with unknown names replaced by the defaults and numbers brought within
    // their bounds.
    PrintSheetOptions normalised() const;

    bool operator==(const PrintSheetOptions& other) const;
    bool operator!=(const PrintSheetOptions& other) const { return !(*this == other); }
};

// The printed photo size a name stands for: one of the table, or the output size (a picture
// of `outputPixels` at `dotsPerInch`). Nothing for an unknown name.
std::optional<PhotoSizeChoice> photoSizeFor(const QString& name, QSize outputPixels,
                                            int dotsPerInch);

// The layout request for the options; `photo` is what photoSizeFor() gave.
SheetRequest sheetRequest(const PrintSheetOptions& options, const PhotoSizeChoice& photo);

} // namespace portiqa
