#include "core/roster/WorkbookReader.h"

#include "core/files/SystemErrorText.h"
#include "core/roster/XlsReader.h"
#include "core/roster/XlsxReader.h"

#include <QFile>
#include <QFileInfo>

namespace portiqa {

namespace readreason {
QString notWorkbook() {
    return QStringLiteral("文件不是有效的EXCEL工作簿。");
}
QString damaged() {
    return QStringLiteral("文件已损坏或不完整。");
}
QString passwordProtected() {
    return QStringLiteral("文件设有打开密码，请先在EXCEL中取消密码再导入。");
}
QString tooManyCells() {
    return QStringLiteral("表格内容过多（超过200万个有文字的单元格）。");
}
} // namespace readreason

namespace {

enum class Signature { Zip, CompoundFile, Other };

Signature signatureOf(const QByteArray& head) {
    if (head.startsWith("PK\x03\x04"))
        return Signature::Zip;
    if (head.startsWith(QByteArray::fromHex("d0cf11e0a1b11ae1")))
        return Signature::CompoundFile;
    return Signature::Other;
}

// Web systems often export an HTML table or an XML spreadsheet under an .xls name; Excel
// opens those, so the operator is told how to turn them into a real workbook.
bool looksLikeWebExport(const QByteArray& head) {
    const QByteArray lower = head.toLower();
    return lower.contains("<html") || lower.contains("<table") ||
           (lower.contains("<?xml") &&
            lower.contains("urn:schemas-microsoft-com:office:spreadsheet"));
}

} // namespace

QString WorkbookReader::failureMessage(const QString& reason) {
    return QStringLiteral("读取EXCEL文件失败：") + reason;
}

WorkbookReadResult WorkbookReader::read(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("xls") && suffix != QLatin1String("xlsx"))
        return WorkbookReadResult::failure(
            QStringLiteral("只能导入扩展名为xls或xlsx的EXCEL文件。"));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return WorkbookReadResult::failure(
            QStringLiteral("无法打开文件（%1）。").arg(fileErrorText(file)));
    if (file.size() > kMaxFileBytes)
        return WorkbookReadResult::failure(QStringLiteral("文件过大（超过200MB）。"));
    const QByteArray content = file.readAll();
    if (content.isEmpty())
        return WorkbookReadResult::failure(QStringLiteral("文件是空的。"));

    switch (signatureOf(content.left(8))) {
    case Signature::Zip:
        return XlsxReader::read(content);
    case Signature::CompoundFile:
        // A password-protected .xlsx is a compound file too; the .xls reader tells it apart.
        return XlsReader::read(content);
    case Signature::Other:
        break;
    }
    if (looksLikeWebExport(content.left(4096)))
        return WorkbookReadResult::failure(
            QStringLiteral("文件实为网页或XML表格，请先用EXCEL打开并另存为xls或xlsx格式再导入。"));
    return WorkbookReadResult::failure(readreason::notWorkbook());
}

} // namespace portiqa
