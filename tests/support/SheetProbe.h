#pragma once

// Reads saved print sheets back with tools that are not ours: poppler's pdfinfo and pdfimages
// for PDFs, the JFIF header's bytes for JPEGs.

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QSizeF>
#include <QString>

namespace portiqa::test {

struct PdfFacts {
    bool read = false; // false when the tools failed on the file
    int pages = 0;
    QSizeF pagePoints;        // the first page as pdfinfo reports it
    QList<QSize> images;      // every picture drawn on the pages, in pixels, as pdfimages lists
    QList<QSize> resolutions; // their x and y pixels per inch as placed
};

PdfFacts probePdf(const QString& path);

struct JpegFacts {
    bool read = false;
    QSize size;
    int densityUnit = -1; // JFIF: 0 none, 1 dots per inch, 2 per centimetre
    int xDensity = 0;
    int yDensity = 0;
};

JpegFacts probeJpeg(const QByteArray& bytes);

// Millimetres as PostScript points.
inline double pointsOf(double mm) {
    return mm / 25.4 * 72.0;
}

} // namespace portiqa::test
