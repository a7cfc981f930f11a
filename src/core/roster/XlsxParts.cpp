#include "core/roster/XlsxParts.h"

#include "core/roster/CellText.h"
#include "core/roster/WorkbookReader.h"

#include <QDir>
#include <QXmlStreamReader>

namespace portiqa::xlsx {

namespace {

// No spreadsheet writer nests its elements more than a dozen levels deep.
constexpr int kMaxDepth = 64;
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
// Far more sheets than any roster has; each costs memory even when empty.
constexpr size_t kMaxSheets = 4096;

// Walks the start and end elements of a part, refusing what a spreadsheet part never holds.
class XmlCursor {
public:
    explicit XmlCursor(const QByteArray& data) : xml_(data) {}

    // Moves to the next start or end element; false at the end of the document or on error.
    bool next() {
        while (!xml_.atEnd()) {
            switch (xml_.readNext()) {
            case QXmlStreamReader::DTD:
                return fail(QStringLiteral("文件含有不允许的文档类型声明。"));
            case QXmlStreamReader::StartElement:
                if (++depth_ > kMaxDepth)
                    return fail(QStringLiteral("文件内容嵌套过深。"));
                return true;
            case QXmlStreamReader::EndElement:
                --depth_;
                return true;
            default:
                break;
            }
        }
        if (xml_.hasError() && reason_.isEmpty())
            reason_ = QStringLiteral("文件内容格式错误。");
        return false;
    }

    bool atStart(QStringView name) const { return xml_.isStartElement() && xml_.name() == name; }
    bool atEnd(QStringView name) const { return xml_.isEndElement() && xml_.name() == name; }
    QStringView attribute(const char* name) const {
        return xml_.attributes().value(QLatin1String(name));
    }
    // The id of an r:id attribute, whatever prefix the writer gave the namespace.
    QString relationshipId() const {
        for (const QXmlStreamAttribute& a : xml_.attributes())
            if (a.name() == u"id" && !a.namespaceUri().isEmpty())
                return a.value().toString();
        return {};
    }

    // The text of the current leaf element; moves past its end.
    QString text() {
        QString t = xml_.readElementText(QXmlStreamReader::SkipChildElements);
        --depth_;
        return t;
    }
    // Moves past the end of the current element.
    void skip() {
        const int level = depth_ - 1;
        while (depth_ > level && next()) {
        }
    }

    // True when the whole part was read without a refusal or an XML error.
    bool finish(QString* reason) {
        if (reason_.isEmpty() && xml_.hasError())
            reason_ = QStringLiteral("文件内容格式错误。");
        *reason = reason_;
        return reason_.isEmpty();
    }

private:
    bool fail(const QString& why) {
        reason_ = why;
        xml_.raiseError(why);
        return false;
    }

    QXmlStreamReader xml_;
    int depth_ = 0;
    QString reason_;
};

// The text of an <si> or <is>: its own <t> and the <t> of its runs, without phonetic runs.
QString richText(XmlCursor& cursor, QStringView container) {
    QString text;
    while (cursor.next() && !cursor.atEnd(container)) {
        if (cursor.atStart(u"t"))
            text += cursor.text();
        else if (cursor.atStart(u"rPh"))
            cursor.skip();
    }
    return celltext::decodeEscapes(text);
}

} // namespace

bool parseRelationships(const QByteArray& xml, Relationships* out, QString* reason) {
    XmlCursor cursor(xml);
    while (cursor.next()) {
        if (!cursor.atStart(u"Relationship"))
            continue;
        Relationship r;
        r.type = cursor.attribute("Type").toString();
        r.target = cursor.attribute("Target").toString();
        r.external = cursor.attribute("TargetMode") == u"External";
        out->insert(cursor.attribute("Id").toString(), r);
    }
    return cursor.finish(reason);
}

bool parseWorkbook(const QByteArray& xml, WorkbookInfo* out, QString* reason) {
    XmlCursor cursor(xml);
    while (cursor.next()) {
        if (cursor.atStart(u"workbookPr")) {
            const QStringView flag = cursor.attribute("date1904");
            out->epoch1904 = flag == u"1" || flag == u"true";
        }
        if (!cursor.atStart(u"sheet"))
            continue;
        if (out->sheets.size() >= kMaxSheets) {
            *reason = QStringLiteral("工作簿中的工作表过多。");
            return false;
        }
        out->sheets.push_back({cursor.attribute("name").toString(), cursor.relationshipId()});
    }
    return cursor.finish(reason);
}

bool parseStyles(const QByteArray& xml, std::vector<celltext::NumberKind>* out, QString* reason) {
    XmlCursor cursor(xml);
    QHash<int, QString> codes; // the workbook's own number formats
    bool inCellFormats = false;
    while (cursor.next()) {
        if (cursor.atStart(u"numFmt")) {
            codes.insert(cursor.attribute("numFmtId").toInt(),
                         cursor.attribute("formatCode").toString());
        } else if (cursor.atStart(u"cellXfs") || cursor.atEnd(u"cellXfs")) {
            inCellFormats = cursor.atStart(u"cellXfs");
        } else if (inCellFormats && cursor.atStart(u"xf")) {
            if (out->size() >= 65536) // more styles than any writer makes
                continue;
            const int id = cursor.attribute("numFmtId").toInt();
            out->push_back(celltext::kindOfFormat(id, codes.value(id)));
        }
    }
    return cursor.finish(reason);
}

bool parseSharedStrings(const QByteArray& xml, QStringList* out, QString* reason) {
    XmlCursor cursor(xml);
    while (cursor.next()) {
        if (!cursor.atStart(u"si"))
            continue;
        // Millions of tiny entries would cost far more memory than their XML.
        if (out->size() >= Workbook::kMaxCells) {
            *reason = readreason::tooManyCells();
            return false;
        }
        out->append(richText(cursor, u"si"));
    }
    return cursor.finish(reason);
}

namespace {

// The t attribute of a cell.
enum class CellType { Number, Shared, Inline, String, IsoDate, Empty };

CellType cellTypeOf(QStringView t) {
    if (t.isEmpty() || t == u"n")
        return CellType::Number;
    if (t == u"s")
        return CellType::Shared;
    if (t == u"inlineStr")
        return CellType::Inline;
    if (t == u"str")
        return CellType::String;
    if (t == u"d")
        return CellType::IsoDate;
    return CellType::Empty; // booleans, errors and what no writer uses
}

struct CellState {
    int row = -1;
    int column = -1;
    CellType type = CellType::Number;
    int style = 0;
    QString value;
    QString inlineText;
};

QString cellText(const CellState& cell, const SheetContext& context) {
    const QStringList& shared = context.sharedStrings;
    switch (cell.type) {
    case CellType::Shared: {
        bool ok = false;
        const int index = cell.value.trimmed().toInt(&ok);
        return ok && index >= 0 && index < shared.size() ? shared[index] : QString();
    }
    case CellType::Inline:
        return cell.inlineText;
    case CellType::String:
        return celltext::decodeEscapes(cell.value);
    case CellType::IsoDate: // shown as written
        return cell.value;
    case CellType::Empty:
        return {};
    case CellType::Number:
        break;
    }
    const size_t style = static_cast<size_t>(cell.style);
    if (style < context.cellFormats.size() &&
        context.cellFormats[style] != celltext::NumberKind::Number) {
        bool ok = false;
        const double serial = cell.value.trimmed().toDouble(&ok);
        return ok ? celltext::fromDateSerial(serial, context.cellFormats[style], context.epoch1904)
                  : QString();
    }
    return celltext::fromNumberText(cell.value);
}

} // namespace

bool parseWorksheet(const QByteArray& xml, const SheetContext& context, Workbook* workbook,
                    int sheet, QString* reason) {
    XmlCursor cursor(xml);
    int row = -1;
    CellState cell;
    bool inData = false; // only <sheetData> holds cells
    while (cursor.next()) {
        if (cursor.atStart(u"sheetData") || cursor.atEnd(u"sheetData")) {
            inData = cursor.atStart(u"sheetData");
        } else if (!inData) {
            continue;
        } else if (cursor.atStart(u"row")) {
            bool ok = false;
            const int r = cursor.attribute("r").toInt(&ok);
            row = ok && r >= 1 ? r - 1 : row + 1;
            cell.column = -1;
        } else if (cursor.atStart(u"c")) {
            const QStringView reference = cursor.attribute("r");
            int r = row;
            int c = cell.column + 1;
            if (!reference.isEmpty() && !parseCellReference(reference, &r, &c))
                r = -1;
            cell = CellState{
                r, c, cellTypeOf(cursor.attribute("t")), cursor.attribute("s").toInt(), {}, {}};
        } else if (cursor.atStart(u"v")) {
            cell.value = cursor.text();
        } else if (cursor.atStart(u"is")) {
            cell.inlineText = richText(cursor, u"is");
        } else if (cursor.atStart(u"f")) {
            cursor.skip();
        } else if (cursor.atEnd(u"c")) {
            if (cell.row < 0 || cell.row >= kMaxRows || cell.column < 0 ||
                cell.column >= kMaxColumns)
                continue;
            workbook->setCell(sheet, cell.row, cell.column, cellText(cell, context));
            if (workbook->cellCount() > Workbook::kMaxCells) {
                *reason = readreason::tooManyCells();
                return false;
            }
        }
    }
    return cursor.finish(reason);
}

QString resolveTarget(const QString& sourcePart, const QString& target) {
    QString t = target;
    t.replace(u'\\', u'/');
    if (t.startsWith(u'/'))
        return QDir::cleanPath(t).mid(1);
    const int slash = sourcePart.lastIndexOf(u'/');
    const QString folder = slash >= 0 ? sourcePart.left(slash + 1) : QString();
    return QDir::cleanPath(QStringLiteral("/") + folder + t).mid(1);
}

QString relationshipsPartOf(const QString& part) {
    const int slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) +
           QStringLiteral(".rels");
}

bool parseCellReference(QStringView reference, int* row, int* column) {
    qsizetype i = 0;
    int c = 0;
    while (i < reference.size() && reference[i].isLetter() && reference[i].unicode() < 128) {
        c = c * 26 + (reference[i].toUpper().unicode() - 'A' + 1);
        if (c > kMaxColumns)
            return false;
        ++i;
    }
    if (i == 0 || i == reference.size())
        return false;
    bool ok = false;
    const int r = reference.mid(i).toInt(&ok);
    if (!ok || r < 1 || r > kMaxRows)
        return false;
    *row = r - 1;
    *column = c - 1;
    return true;
}

} // namespace portiqa::xlsx
