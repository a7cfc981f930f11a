#include "support/SheetProbe.h"

#include <QProcess>
#include <QRegularExpression>

namespace portiqa::test {

namespace {

QString run(const QString& program, const QStringList& arguments, bool* ok) {
    QProcess process;
    process.start(program, arguments);
    *ok = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
          process.exitCode() == 0;
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

PdfFacts probePdf(const QString& path) {
    PdfFacts facts;
    bool infoOk = false;
    const QString info = run(QStringLiteral("pdfinfo"), {path}, &infoOk);
    const QRegularExpressionMatch page =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(info);
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    bool listOk = false;
    const QString list = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}, &listOk);
    if (!infoOk || !listOk || !page.hasMatch() || !pages.hasMatch()) {
        return facts;
    }
    facts.pages = pages.captured(1).toInt();
    facts.pagePoints = QSizeF(page.captured(1).toDouble(), page.captured(2).toDouble());
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
    for (const QString& line : list.split(QLatin1Char('\n'))) {
        const QStringList f = line.simplified().split(QLatin1Char(' '));
        if (f.size() >= 14 && f.at(2) == QLatin1String("image")) {
            facts.images.append(QSize(f.at(3).toInt(), f.at(4).toInt()));
            facts.resolutions.append(QSize(f.at(12).toInt(), f.at(13).toInt()));
        }
    }
    facts.read = true;
    return facts;
}

JpegFacts probeJpeg(const QByteArray& bytes) {
    JpegFacts facts;
    auto byte = [&bytes](qsizetype at) { return int(quint8(bytes.at(at))); };
    auto word = [&byte](qsizetype at) { return byte(at) * 256 + byte(at + 1); };
    if (bytes.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8) {
        return facts;
    }
    qsizetype at = 2;
    while (at + 4 <= bytes.size() && byte(at) == 0xFF) {
        const int marker = byte(at + 1);
        const int length = word(at + 2);
        const qsizetype body = at + 4;
        if (marker == 0xE0 && body + 12 <= bytes.size() &&
            bytes.mid(body, 5) == QByteArray("JFIF", 5)) {
            facts.densityUnit = byte(body + 7);
            facts.xDensity = word(body + 8);
            facts.yDensity = word(body + 10);
        }
        if ((marker == 0xC0 || marker == 0xC1 || marker == 0xC2) && body + 5 <= bytes.size()) {
            facts.size = QSize(word(body + 3), word(body + 1));
            facts.read = facts.densityUnit >= 0;
            return facts;
        }
        at += 2 + length;
    }
    return facts;
}

} // namespace portiqa::test
