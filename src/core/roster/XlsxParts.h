#pragma once

// Parsers for the XML parts of an .xlsx that a roster needs: relationships, the workbook's
// sheet list, the shared strings and the worksheets. Each parser refuses a document type
// declaration (the only way to declare entities, so no entity expansion can happen) and
// nesting deeper than any spreadsheet writer produces, and reports malformed XML; all three
// end in a reason instead of a result.

#include "core/roster/CellText.h"
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

struct WorkbookInfo {
    std::vector<SheetEntry> sheets;
    bool epoch1904 = false; // dates count from 1904 instead of 1900
};

// What a worksheet's cells refer to elsewhere in the workbook.
struct SheetContext {
    QStringList sharedStrings;
    std::vector<celltext::NumberKind> cellFormats; // by the cells' style index s
    bool epoch1904 = false;
};

// Each returns false with a reason when the part cannot be parsed.
bool parseRelationships(const QByteArray& xml, Relationships* out, QString* reason);
bool parseWorkbook(const QByteArray& xml, WorkbookInfo* out, QString* reason);
bool parseSharedStrings(const QByteArray& xml, QStringList* out, QString* reason);
// The kind of number each cell style shows (the <cellXfs> of the styles part, in order).
bool parseStyles(const QByteArray& xml, std::vector<celltext::NumberKind>* out, QString* reason);
// Stores the texts of the worksheet's cells into `sheet` of `workbook`.
bool parseWorksheet(const QByteArray& xml, const SheetContext& context, Workbook* workbook,
                    int sheet, QString* reason);

// The part a relationship target points at, from the folder of the part that holds the
// relationship ("xl/workbook.xml" + "worksheets/sheet1.xml" -> "xl/worksheets/sheet1.xml").
QString resolveTarget(const QString& sourcePart, const QString& target);
// The relationships part of a part ("xl/workbook.xml" -> "xl/_rels/workbook.xml.rels").
QString relationshipsPartOf(const QString& part);

// 0-based row and column of a cell reference such as "AB12"; false when it is not one.
bool parseCellReference(QStringView reference, int* row, int* column);

} // namespace portiqa::xlsx
