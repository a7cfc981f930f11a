#include "core/print/SheetFiles.h"

#include "core/files/WholeFile.h"
#include "core/output/JpegWriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace portiqa {

namespace {

void setError(QString* error, const QString& text) {
    if (error != nullptr) {
        *error = text;
    }
}

} // namespace

// Page sizes are portrait by definition: the paper is given short side first and the
// orientation turns it.
QPageLayout SheetFiles::pageLayout(const QSizeF& paperMm) {
    const QSizeF portrait(std::min(paperMm.width(), paperMm.height()),
                          std::max(paperMm.width(), paperMm.height()));
    const QPageSize size(portrait, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    const auto orientation =
        paperMm.width() > paperMm.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
    return QPageLayout(size, orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

SheetFormat SheetFiles::formatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf")) {
        return SheetFormat::Pdf;
    }
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
        return SheetFormat::Jpeg;
    }
    return SheetFormat::Unknown;
}

QByteArray SheetFiles::pdf(const SheetRenderer& sheet) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Portiqa"));
        writer.setTitle(QStringLiteral("排版打印"));
        writer.setResolution(kDotsPerInch);
        if (!writer.setPageLayout(pageLayout(sheet.layout().paperMm))) {
            return {};
        }
        QPainter painter;
        if (!painter.begin(&writer)) {
            return {};
        }
        sheet.paint(painter, kDotsPerInch);
        painter.end(); // writes the file's end into the buffer
    }
    return bytes;
}

QByteArray SheetFiles::jpeg(const SheetRenderer& sheet) {
    const QImage image = sheet.render(kDotsPerInch);
    if (image.isNull()) {
        return {};
    }
    return encodeJpegWithDensity(image, kJpegQuality, kDotsPerInch);
}

bool SheetFiles::save(const SheetRenderer& sheet, const QString& path, QString* error) {
    const SheetFormat format = formatOf(path);
    if (format == SheetFormat::Unknown) {
        setError(error, QStringLiteral("只能保存为 .pdf 或 .jpg 文件。"));
        return false;
    }
    if (sheet.layout().copies.isEmpty()) {
        setError(error, QStringLiteral("纸张上放不下一张照片。"));
        return false;
    }
    const QByteArray bytes = format == SheetFormat::Pdf ? pdf(sheet) : jpeg(sheet);
    if (bytes.isEmpty()) {
        setError(error, QStringLiteral("排版图片生成失败。"));
        return false;
    }
    return writeWholeFile(path, bytes, error);
}

} // namespace portiqa
