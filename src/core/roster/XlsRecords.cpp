#include "core/roster/XlsRecords.h"

#include "core/roster/CellText.h"

#include <QHash>

#include <algorithm>
#include <cstring>
#include <optional>

namespace portiqa::xlsrecords {

namespace {

constexpr quint16 kBof = 0x0809;
constexpr quint16 kEof = 0x000A;
constexpr quint16 kBoundSheet = 0x0085;
constexpr quint16 kRString = 0x00D6;
constexpr quint16 kFormula = 0x0006;
constexpr quint16 kString = 0x0207;
constexpr quint16 kBoolErr = 0x0205;
constexpr quint16 kBiff8 = 0x0600;
constexpr quint16 kDimensions = 0x0200;
constexpr quint16 kBiff2Dimensions = 0x0000;
constexpr quint16 kNumber = 0x0203;
constexpr quint16 kLabel = 0x0204;
constexpr quint16 kLabelSst = 0x00FD;
constexpr quint16 kRk = 0x027E;
constexpr quint16 kMulRk = 0x00BD;

struct Record {
    quint16 type = 0;
    qsizetype offset = 0; // of the record header in the stream
    const uchar* data = nullptr;
    quint16 length = 0;
};

quint16 u16(const uchar* p) {
    return static_cast<quint16>(p[0] | (p[1] << 8));
}
quint32 u32(const uchar* p) {
    return u16(p) | (static_cast<quint32>(u16(p + 2)) << 16);
}

// The record that starts at `at` in `stream`; nothing when no whole record starts there.
std::optional<Record> recordAt(const QByteArray& stream, qsizetype at) {
    const auto* base = reinterpret_cast<const uchar*>(stream.constData());
    if (at < 0 || at + 4 > stream.size())
        return std::nullopt;
    const Record r{u16(base + at), at, base + at + 4, u16(base + at + 2)};
    if (at + 4 + r.length > stream.size())
        return std::nullopt;
    return r;
}

qsizetype after(const Record& r) {
    return r.offset + 4 + r.length;
}

// A BIFF8 string body: flags, then compressed Latin-1 or UTF-16LE characters; `count` is the
// character count read before it. Characters past the record's end are dropped.
QString biff8String(const uchar* p, qsizetype available, quint16 count) {
    if (available < 1)
        return {};
    const uchar flags = p[0];
    qsizetype at = 1;
    if (flags & 0x08)
        at += 2; // rich-text run count
    if (flags & 0x04)
        at += 4; // phonetic data size
    const bool wide = flags & 0x01;
    const qsizetype width = wide ? 2 : 1;
    const qsizetype chars = std::min<qsizetype>(count, (available - at) / width);
    if (chars <= 0)
        return {};
    if (!wide)
        return QString::fromLatin1(reinterpret_cast<const char*>(p + at), chars);
    QString s(chars, Qt::Uninitialized);
    for (qsizetype i = 0; i < chars; ++i)
        s[i] = QChar(u16(p + at + 2 * i));
    return s;
}

void store(Workbook* workbook, int sheet, const uchar* cell, const QString& text) {
    const int row = u16(cell);
    const int column = u16(cell + 2);
    if (workbook->cellText(sheet, row, column).isEmpty() &&
        workbook->cellCount() < Workbook::kMaxCells)
        workbook->setCell(sheet, row, column, text);
}

// The text of a formula's cached result; a string result comes in the next STRING record,
// which `*pending` marks.
void formulaResult(const Record& r, Workbook* workbook, int sheet, const uchar** pending) {
    if (r.length < 14)
        return;
    const uchar* value = r.data + 6;
    if (u16(value + 6) != 0xFFFF) {
        double number = 0;
        std::memcpy(&number, value, sizeof number);
        store(workbook, sheet, r.data, celltext::fromNumber(number));
    } else if (value[0] == 0x00) {
        *pending = r.data;
    }
}

} // namespace

namespace {

constexpr quint16 kFormat = 0x041E;

// True when the string a LABEL or FORMAT record declares fits in the record; libfreexl copies
// as many characters as declared.
bool stringFits(quint16 type, const uchar* data, quint16 length, bool biff8) {
    qsizetype at = 0;
    if (type == kLabel)
        at = 6;
    else if (type == kFormat && biff8)
        at = 2;
    else
        return true;
    if (at + 2 > length)
        return false;
    const qsizetype count = u16(data + at);
    at += 2;
    if (!biff8)
        return at + count <= length;
    if (at + 1 > length)
        return false;
    const qsizetype width = (data[at] & 0x01) ? 2 : 1;
    return at + 1 + count * width <= length;
}

// The workbook's index of the sheet a BOUNDSHEET record names, matched by name so that
// sheets libfreexl leaves out (charts, macros) cannot shift the others; -1 when none.
int sheetIndexOf(const Record& r, const Workbook& workbook, std::vector<bool>* claimed) {
    const quint16 count = r.data[6];
    const QString name = biff8String(r.data + 7, r.length - 7, count);
    for (int i = 0; i < workbook.sheetCount(); ++i) {
        if (!(*claimed)[static_cast<size_t>(i)] && workbook.sheetName(i) == name) {
            (*claimed)[static_cast<size_t>(i)] = true;
            return i;
        }
    }
    return -1;
}

// The value of an RK number: 30 bits of an integer or of a double's top, maybe divided by 100.
double rkValue(quint32 rk) {
    double value = 0;
    if (rk & 0x02) {
        value = static_cast<qint32>(rk) >> 2;
    } else {
        const quint64 bits = static_cast<quint64>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100 : value;
}

// Whether a day count can be a date a workbook shows (NaN cannot).
bool canBeADate(double value) {
    constexpr double kLastDate = 2958465; // 9999-12-31 in the 1900 date system
    return value <= kLastDate || !(value == value);
}

void unknownFormat(uchar* xf) {
    xf[0] = 0xFF;
    xf[1] = 0xFF;
}

} // namespace

bool dimensionsAreSound(const QByteArray& stream) {
    constexpr quint32 kMaxRows = 65536;
    constexpr quint16 kMaxColumns = 256;
    constexpr qint64 kCellBytes = 16;                 // one cell of libfreexl's table
    constexpr qint64 kMaxLostBytes = 4 * 1024 * 1024; // see below
    const auto* base = reinterpret_cast<const uchar*>(stream.constData());
    if (stream.size() < 6)
        return true;
    // The version decides the record's layout: BIFF8 counts rows in 32 bits.
    const quint16 bof = u16(base);
    const bool biff2 = bof == 0x0009;
    const bool biff8 = bof == kBof && stream.size() >= 8 && u16(base + 4) == kBiff8;
    const quint16 type = biff2 ? kBiff2Dimensions : kDimensions;
    const quint16 expectedLength = biff8 ? 14 : (biff2 ? 8 : 10);

    struct Substream {
        bool dimensions = false;
        qint64 cells = 0; // of the table libfreexl makes for it
        quint32 lastRow = 0;
        quint32 lastColumn = 0;
    };
    QHash<quint32, Substream> substreams; // by the offset of their BOF
    std::vector<quint32> sheetOffsets;    // of the BOUNDSHEET records
    Substream* current = nullptr;
    // libfreexl keeps one cell table per sheet, also while it reads a chart substream nested
    // in the sheet; the count runs from a sheet's BOF to its EOF.
    int depth = 0;
    for (auto next = recordAt(stream, 0); next; next = recordAt(stream, after(*next))) {
        const quint16 recordType = next->type;
        const quint16 length = next->length;
        const uchar* data = next->data;
        const auto offset = static_cast<quint32>(next->offset);
        if (recordType == 0x0009 || recordType == 0x0209 || recordType == 0x0409 ||
            recordType == kBof) {
            if (depth++ == 0)
                current = &substreams[offset];
            continue;
        }
        if (recordType == kEof) {
            depth = std::max(0, depth - 1);
            continue;
        }
        if (recordType == kBoundSheet && length >= 4) {
            sheetOffsets.push_back(u32(data));
            continue;
        }
        // Without a DIMENSIONS record libfreexl sizes the table from the cells' places.
        const bool cell = recordType == kNumber || recordType == kRk || recordType == kMulRk ||
                          recordType == kBoolErr || recordType == kLabel || recordType == kLabelSst;
        if (!biff2 && cell && length >= 4) {
            const quint16 lastColumn =
                recordType == kMulRk && length >= 6 ? u16(data + length - 2) : u16(data + 2);
            if (u16(data + 2) >= kMaxColumns || lastColumn >= kMaxColumns)
                return false;
            if (current != nullptr) {
                current->lastRow = std::max<quint32>(current->lastRow, u16(data));
                current->lastColumn = std::max<quint32>(current->lastColumn, lastColumn);
            }
        }
        if (recordType != type || current == nullptr)
            continue;
        if (length != expectedLength || current->dimensions)
            return false;
        const quint32 rows = biff8 ? u32(data + 4) : u16(data + 2);
        const quint32 firstRow = biff8 ? u32(data) : u16(data);
        const quint16 columns = u16(data + (biff8 ? 10 : 6));
        const quint16 firstColumn = u16(data + (biff8 ? 8 : 4));
        if (rows > kMaxRows || firstRow > kMaxRows || columns > kMaxColumns ||
            firstColumn > kMaxColumns)
            return false;
        current->dimensions = true;
        current->cells = qint64(rows) * columns;
    }
    // After reading, libfreexl gives every sheet without a DIMENSIONS record (a chart sheet, or
    // one whose substream is missing) a new cell table, but stores it in the last sheet it
    // read, losing the one before: as much memory as the largest table, for each such sheet.
    // A few of those are normal (chart sheets); a loss of more than a few megabytes is a
    // damaged file.
    qint64 largest = 0;
    for (const Substream& substream : std::as_const(substreams)) {
        const qint64 cells = substream.dimensions
                                 ? substream.cells
                                 : qint64(substream.lastRow + 1) * (substream.lastColumn + 1);
        largest = std::max(largest, cells);
    }
    qint64 withoutDimensions = 0;
    for (const quint32 offset : sheetOffsets) {
        const auto found = substreams.constFind(offset);
        if (found == substreams.constEnd() || !found->dimensions)
            ++withoutDimensions;
    }
    return withoutDimensions * largest * kCellBytes <= kMaxLostBytes;
}

void keepHugeNumbersFromDates(QByteArray* stream) {
    auto* base = reinterpret_cast<uchar*>(stream->data()); // detached: written in place
    for (auto next = recordAt(*stream, 0); next; next = recordAt(*stream, after(*next))) {
        const quint16 type = next->type;
        const quint16 length = next->length;
        uchar* data = base + next->offset + 4;
        if (type == kNumber && length >= 14) {
            double value = 0;
            std::memcpy(&value, data + 6, sizeof value);
            if (!canBeADate(value))
                unknownFormat(data + 4);
        } else if (type == kRk && length >= 10) {
            if (!canBeADate(rkValue(u32(data + 6))))
                unknownFormat(data + 4);
        } else if (type == kMulRk && length >= 6) {
            // row, first column, then (format, RK) pairs, then the last column
            for (qsizetype cell = 4; cell + 6 <= length - 2; cell += 6) {
                if (!canBeADate(rkValue(u32(data + cell + 2))))
                    unknownFormat(data + cell);
            }
        }
    }
}

qsizetype framedLength(const QByteArray& stream) {
    constexpr quint16 kMaxRecordLength = 8224;
    const auto* base = reinterpret_cast<const uchar*>(stream.constData());
    if (stream.size() < 6 || (u16(base) & 0x00FF) != 0x09) // a BOF of any BIFF version
        return 0;
    const bool biff8 = u16(base) == kBof && u16(base + 4) == kBiff8;
    qsizetype at = 0;
    qsizetype afterLastEof = 0;
    while (at + 4 <= stream.size()) {
        const quint16 type = u16(base + at);
        const quint16 length = u16(base + at + 2);
        if (length > kMaxRecordLength || at + 4 + length > stream.size())
            break;
        if (!stringFits(type, base + at + 4, length, biff8))
            return 0;
        at += 4 + length;
        if (type == kEof)
            afterLastEof = at;
    }
    return afterLastEof;
}

void completeFromRecords(const QByteArray& stream, Workbook* workbook) {
    QHash<quint32, int> sheetAtOffset; // BOF offset of each sheet -> its index, -1 for none
    std::vector<bool> claimed(static_cast<size_t>(workbook->sheetCount()), false);
    bool globals = true;
    int depth = 0;  // substreams open after the globals: 1 in a sheet, 2 in a chart inside it
    int sheet = -1; // the sheet of the open substream, -1 for one not read
    const uchar* pendingString = nullptr;
    for (auto next = recordAt(stream, 0); next; next = recordAt(stream, after(*next))) {
        const Record& r = *next;
        if (r.type == kBof) {
            if (r.offset == 0) {
                if (r.length < 2 || u16(r.data) != kBiff8)
                    return;
            } else if (++depth == 1) {
                sheet = sheetAtOffset.value(quint32(r.offset), -1);
            }
            continue;
        }
        if (r.type == kEof) {
            if (globals)
                globals = false;
            else if (depth > 0 && --depth == 0)
                sheet = -1;
            continue;
        }
        if (globals) {
            if (r.type == kBoundSheet && r.length >= 8)
                sheetAtOffset.insert(u32(r.data), sheetIndexOf(r, *workbook, &claimed));
            continue;
        }
        if (depth != 1 || sheet < 0)
            continue;
        if (r.type == kBoolErr && r.length >= 8) {
            workbook->setCell(sheet, u16(r.data), u16(r.data + 2), QString());
        } else if (r.type == kRString && r.length >= 8) {
            store(workbook, sheet, r.data, biff8String(r.data + 8, r.length - 8, u16(r.data + 6)));
        } else if (r.type == kFormula) {
            formulaResult(r, workbook, sheet, &pendingString);
            continue;
        } else if (r.type == kString && pendingString && r.length >= 2) {
            store(workbook, sheet, pendingString,
                  biff8String(r.data + 2, r.length - 2, u16(r.data)));
        }
        pendingString = nullptr;
    }
}

} // namespace portiqa::xlsrecords
