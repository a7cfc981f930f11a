#pragma once

// What a print sheet can be made of: the photo papers and the printed photo sizes the window
// and `portiqa sheet` offer, each with its short name (what the command line takes and the
// settings file stores) and the label the window shows. Sizes are in millimetres.

#include <QList>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <optional>

namespace portiqa {

struct PaperChoice {
    QString name;      // "5寸", "A4"
    QString label;     // "5寸 (127×89 mm)"
    QSizeF portraitMm; // short side first
};

struct PhotoSizeChoice {
    QString name;  // "1寸"
    QString label; // "1寸 (25×35 mm)"
    QSizeF sizeMm; // width x height as printed
};

// The papers in list order; the first is the default.
const QList<PaperChoice>& paperChoices();
// The fixed photo sizes in list order; the first is the default. The window adds the output
// size after them (outputPhotoSize()).
const QList<PhotoSizeChoice>& photoSizeChoices();

// A paper or fixed photo size by its short name, exact or without regard to letter case
// ("a4"); nothing for an unknown name.
std::optional<PaperChoice> paperByName(const QString& name);
std::optional<PhotoSizeChoice> photoSizeByName(const QString& name);

// The name of the choice that prints the picture at its own pixel size at `dotsPerInch`.
QString outputSizeName();
// That choice for a picture of `pixels` at `dotsPerInch`: "输出尺寸 (W×H 像素, 300 dpi)".
// Its millimetres are pixels / dotsPerInch × 25.4.
PhotoSizeChoice outputPhotoSize(QSize pixels, int dotsPerInch);

// The resolution output pictures are meant for when nothing else says so: the usual 300 dpi
// of ID photo printing. The sheet's JPEG is written at it too.
inline constexpr int kDefaultOutputDpi = 300;

// Millimetres at a resolution as whole device pixels (rounded to the nearest).
int millimetresToPixels(double mm, double dotsPerInch);

// The paper's size on the sheet as laid: portrait is short side across.
QSizeF orientedPaper(const PaperChoice& paper, bool landscape);

} // namespace portiqa
