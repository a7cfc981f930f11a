#pragma once

// Parsers for the XML parts of an .xlsx that a roster needs: relationships, the workbook's
// sheet list, the shared strings and the worksheets. Each parser refuses a document type
// declaration (the only way to declare entities, so no entity expansion can happen) and
// nesting deeper than any spreadsheet writer produces, and reports malformed XML; all three
// end in a reason instead of a result.

#include "core/roster/Workbook.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace portiqa::xlsx {

struct Relationship {
    QString type;   // the relationship type URI
    QString target; // as written: relative to the source part's folder, or absolute from "/"
    bool external = false;
};
using Relationships = QHash<QString, Relationship>; // by id

struct SheetEntry {
    QString name;
    QString relationshipId;
};

// Each returns false with a reason when the part cannot be parsed.
bool parseRelationships(const QByteArray& xml, Relationships* out, QString* reason);
bool parseWorkbookSheets(const QByteArray& xml, std::vector<SheetEntry>* out, QString* reason);
bool parseSharedStrings(const QByteArray& xml, QStringList* out, QString* reason);
// Stores the texts of the worksheet's cells into `sheet` of `workbook`.
bool parseWorksheet(const QByteArray& xml, const QStringList& sharedStrings, Workbook* workbook,
                    int sheet, QString* reason);

// The part a relationship target points at, from the folder of the part that holds the
// relationship ("xl/workbook.xml" + "worksheets/sheet1.xml" -> "xl/worksheets/sheet1.xml").
QString resolveTarget(const QString& sourcePart, const QString& target);
// The relationships part of a part ("xl/workbook.xml" -> "xl/_rels/workbook.xml.rels").
QString relationshipsPartOf(const QString& part);

// 0-based row and column of a cell reference such as "AB12"; false when it is not one.
bool parseCellReference(QStringView reference, int* row, int* column);

} // namespace portiqa::xlsx
