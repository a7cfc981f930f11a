#include "core/roster/XlsxReader.h"

#include "core/roster/XlsxPackage.h"
#include "core/roster/XlsxParts.h"

namespace portiqa {

namespace {

bool typeIs(const QString& type, QLatin1String kind) {
    return type.endsWith(QLatin1Char('/') + kind);
}

// The workbook part named by the package relationships.
QString workbookPart(XlsxPackage& package, QString* reason) {
    const QString fallback = QStringLiteral("xl/workbook.xml");
    const std::optional<QByteArray> rootRels = package.read(QStringLiteral("_rels/.rels"), reason);
    if (!rootRels)
        return reason->isEmpty() ? fallback : QString();
    xlsx::Relationships rels;
    if (!xlsx::parseRelationships(*rootRels, &rels, reason))
        return {};
    for (const xlsx::Relationship& r : rels)
        if (typeIs(r.type, QLatin1String("officeDocument")) && !r.external)
            return xlsx::resolveTarget(QString(), r.target);
    return fallback;
}

// Reads a part that must be there; an empty result with a reason when it is not.
std::optional<QByteArray> requiredPart(XlsxPackage& package, const QString& part, QString* reason) {
    std::optional<QByteArray> data = package.read(part, reason);
    if (!data && reason->isEmpty())
        *reason = readreason::damaged();
    return data;
}

} // namespace

WorkbookReadResult XlsxReader::read(const QByteArray& content) {
    XlsxPackage package;
    QString reason;
    if (!package.open(content, WorkbookReader::kMaxUnpackedBytes, &reason))
        return WorkbookReadResult::failure(reason);

    const QString bookPart = workbookPart(package, &reason);
    if (bookPart.isEmpty())
        return WorkbookReadResult::failure(reason);
    if (!package.contains(bookPart))
        return WorkbookReadResult::failure(readreason::notWorkbook());
    const std::optional<QByteArray> bookXml = requiredPart(package, bookPart, &reason);
    std::vector<xlsx::SheetEntry> sheets;
    if (!bookXml || !xlsx::parseWorkbookSheets(*bookXml, &sheets, &reason))
        return WorkbookReadResult::failure(reason);

    xlsx::Relationships rels;
    const std::optional<QByteArray> relsXml =
        package.read(xlsx::relationshipsPartOf(bookPart), &reason);
    if (!relsXml && !reason.isEmpty())
        return WorkbookReadResult::failure(reason);
    if (relsXml && !xlsx::parseRelationships(*relsXml, &rels, &reason))
        return WorkbookReadResult::failure(reason);

    QStringList shared;
    QString sharedPart = QStringLiteral("xl/sharedStrings.xml");
    for (const xlsx::Relationship& r : rels)
        if (typeIs(r.type, QLatin1String("sharedStrings")))
            sharedPart = xlsx::resolveTarget(bookPart, r.target);
    if (const std::optional<QByteArray> sharedXml = package.read(sharedPart, &reason)) {
        if (!xlsx::parseSharedStrings(*sharedXml, &shared, &reason))
            return WorkbookReadResult::failure(reason);
    } else if (!reason.isEmpty()) {
        return WorkbookReadResult::failure(reason);
    }

    WorkbookReadResult result;
    for (const xlsx::SheetEntry& entry : sheets) {
        const int index = result.workbook.addSheet(entry.name);
        const auto rel = rels.constFind(entry.relationshipId);
        // Chart and dialog sheets are listed but hold no cells.
        if (rel == rels.constEnd() || !typeIs(rel->type, QLatin1String("worksheet")))
            continue;
        const std::optional<QByteArray> sheetXml =
            requiredPart(package, xlsx::resolveTarget(bookPart, rel->target), &reason);
        if (!sheetXml || !xlsx::parseWorksheet(*sheetXml, shared, &result.workbook, index, &reason))
            return WorkbookReadResult::failure(reason);
    }
    result.ok = true;
    return result;
}

} // namespace portiqa
