#include "core/print/SheetChoices.h"

#include <cmath>

namespace portiqa {

namespace {

constexpr double kMmPerInch = 25.4;

template <typename Choice>
std::optional<Choice> byName(const QList<Choice>& choices, const QString& name) {
    const QString wanted = name.trimmed();
    for (const Choice& choice : choices) {
        if (choice.name.compare(wanted, Qt::CaseInsensitive) == 0) {
            return choice;
        }
    }
    return std::nullopt;
}

} // namespace

const QList<PaperChoice>& paperChoices() {
    // Photo papers are named by their long side in inches (5寸 is 3R, 6寸 is 4R).
    static const QList<PaperChoice> papers{
        {QStringLiteral("5寸"), QStringLiteral("5寸 (127×89 mm)"), QSizeF(89, 127)},
        {QStringLiteral("6寸"), QStringLiteral("6寸 (152×102 mm)"), QSizeF(102, 152)},
        {QStringLiteral("A4"), QStringLiteral("A4 (210×297 mm)"), QSizeF(210, 297)},
        {QStringLiteral("A6"), QStringLiteral("A6"), QSizeF(105, 148)},
    };
    return papers;
}

const QList<PhotoSizeChoice>& photoSizeChoices() {
    static const QList<PhotoSizeChoice> sizes{
        {QStringLiteral("1寸"), QStringLiteral("1寸 (25×35 mm)"), QSizeF(25, 35)},
        {QStringLiteral("小2寸"), QStringLiteral("小2寸 (33×48 mm)"), QSizeF(33, 48)},
        {QStringLiteral("2寸"), QStringLiteral("2寸 (35×49 mm)"), QSizeF(35, 49)},
        {QStringLiteral("身份证"), QStringLiteral("身份证 (26×32 mm)"), QSizeF(26, 32)},
    };
    return sizes;
}

std::optional<PaperChoice> paperByName(const QString& name) {
    return byName(paperChoices(), name);
}

std::optional<PhotoSizeChoice> photoSizeByName(const QString& name) {
    return byName(photoSizeChoices(), name);
}

QString outputSizeName() {
    return QStringLiteral("输出尺寸");
}

PhotoSizeChoice outputPhotoSize(QSize pixels, int dotsPerInch) {
    const double dpi = dotsPerInch > 0 ? dotsPerInch : kDefaultOutputDpi;
    PhotoSizeChoice choice;
    choice.name = outputSizeName();
    choice.label = QStringLiteral("%1 (%2×%3 像素, %4 dpi)")
                       .arg(choice.name)
                       .arg(pixels.width())
                       .arg(pixels.height())
                       .arg(dpi);
    choice.sizeMm = QSizeF(pixels.width() / dpi * kMmPerInch, pixels.height() / dpi * kMmPerInch);
    return choice;
}

int millimetresToPixels(double mm, double dotsPerInch) {
    return int(std::lround(mm / kMmPerInch * dotsPerInch));
}

QSizeF orientedPaper(const PaperChoice& paper, bool landscape) {
    return landscape ? paper.portraitMm.transposed() : paper.portraitMm;
}

} // namespace portiqa
