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
    // A relationship without a target (damaged, or a misspelt attribute) names nothing.
    for (const xlsx::Relationship& r : rels) {
        if (typeIs(r.type, QLatin1String("officeDocument")) && !r.external) {
            const QString target = xlsx::resolveTarget(QString(), r.target);
            if (!target.isEmpty())
                return target;
        }
    }
    return fallback;
}

// The part of the workbook's relationship of `kind`, or `fallback` when there is none.
QString partOfType(const xlsx::Relationships& rels, const QString& bookPart, QLatin1String kind,
                   const QString& fallback) {
    for (const xlsx::Relationship& r : rels)
        if (typeIs(r.type, kind) && !r.external)
            return xlsx::resolveTarget(bookPart, r.target);
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
    WorkbookReadResult result = readPackage(content);
    if (!result.ok && result.reason.isEmpty())
        result.reason = readreason::damaged(); // the operator always learns why
    return result;
}

WorkbookReadResult XlsxReader::readPackage(const QByteArray& content) {
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
    xlsx::WorkbookInfo book;
    if (!bookXml || !xlsx::parseWorkbook(*bookXml, &book, &reason))
        return WorkbookReadResult::failure(reason);

    xlsx::Relationships rels;
    const std::optional<QByteArray> relsXml =
        package.read(xlsx::relationshipsPartOf(bookPart), &reason);
    if (!relsXml && !reason.isEmpty())
        return WorkbookReadResult::failure(reason);
    if (relsXml && !xlsx::parseRelationships(*relsXml, &rels, &reason))
        return WorkbookReadResult::failure(reason);

    xlsx::SheetContext context;
    context.epoch1904 = book.epoch1904;
    const QString sharedPart = partOfType(rels, bookPart, QLatin1String("sharedStrings"),
                                          QStringLiteral("xl/sharedStrings.xml"));
    if (const std::optional<QByteArray> sharedXml = package.read(sharedPart, &reason)) {
        if (!xlsx::parseSharedStrings(*sharedXml, &context.sharedStrings, &reason))
            return WorkbookReadResult::failure(reason);
    } else if (!reason.isEmpty()) {
        return WorkbookReadResult::failure(reason);
    }
    // Styles only tell dates from other numbers: without them every number reads as one.
    const QString stylesPart =
        partOfType(rels, bookPart, QLatin1String("styles"), QStringLiteral("xl/styles.xml"));
    if (const std::optional<QByteArray> stylesXml = package.read(stylesPart, &reason)) {
        if (!xlsx::parseStyles(*stylesXml, &context.cellFormats, &reason))
            context.cellFormats.clear();
    }

    WorkbookReadResult result;
    for (const xlsx::SheetEntry& entry : book.sheets) {
        const int index = result.workbook.addSheet(entry.name);
        const auto rel = rels.constFind(entry.relationshipId);
        // Chart and dialog sheets are listed but hold no cells.
        if (rel == rels.constEnd() || !typeIs(rel->type, QLatin1String("worksheet")))
            continue;
        const std::optional<QByteArray> sheetXml =
            requiredPart(package, xlsx::resolveTarget(bookPart, rel->target), &reason);
        if (!sheetXml ||
            !xlsx::parseWorksheet(*sheetXml, context, &result.workbook, index, &reason))
            return WorkbookReadResult::failure(reason);
    }
    result.ok = true;
    return result;
}

} // namespace portiqa
