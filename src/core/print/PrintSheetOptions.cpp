#include "core/print/PrintSheetOptions.h"

#include <algorithm>
#include <cmath>

namespace portiqa {

namespace {

double within(double value, double high, double fallback) {
    return std::isfinite(value) ? std::clamp(value, 0.0, high) : fallback;
}

} // namespace

PrintSheetOptions PrintSheetOptions::normalised() const {
    const PrintSheetOptions defaults;
    PrintSheetOptions result = *this;
    const std::optional<PaperChoice> knownPaper = paperByName(paper);
    result.paper = knownPaper ? knownPaper->name : defaults.paper;
    if (photoSize != outputSizeName()) {
        const std::optional<PhotoSizeChoice> knownSize = photoSizeByName(photoSize);
        result.photoSize = knownSize ? knownSize->name : defaults.photoSize;
    }
    result.copies = std::clamp(copies, 0, kMaxCopies);
    result.gapMm = within(gapMm, kMaxGapMm, defaults.gapMm);
    result.marginMm = within(marginMm, kMaxMarginMm, defaults.marginMm);
    return result;
}

bool PrintSheetOptions::operator==(const PrintSheetOptions& other) const {
    return paper == other.paper && landscape == other.landscape && photoSize == other.photoSize &&
           copies == other.copies && gapMm == other.gapMm && cutLines == other.cutLines &&
           marginMm == other.marginMm;
}

std::optional<PhotoSizeChoice> photoSizeFor(const QString& name, QSize outputPixels,
                                            int dotsPerInch) {
    if (name == outputSizeName()) {
        if (outputPixels.isEmpty()) {
            return std::nullopt;
        }
        return outputPhotoSize(outputPixels, dotsPerInch);
    }
    return photoSizeByName(name);
}

SheetRequest sheetRequest(const PrintSheetOptions& options, const PhotoSizeChoice& photo) {
    const PrintSheetOptions checked = options.normalised();
    SheetRequest request;
    request.paperMm = orientedPaper(*paperByName(checked.paper), checked.landscape);
    request.photoMm = photo.sizeMm;
    request.marginMm = checked.marginMm;
    request.gapMm = checked.gapMm;
    request.copies = checked.copies;
    request.cutLines = checked.cutLines;
    return request;
}

} // namespace portiqa
