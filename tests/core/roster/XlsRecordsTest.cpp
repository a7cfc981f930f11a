#include "core/roster/XlsRecords.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <cstring>
#include <vector>

namespace portiqa {
namespace {

void appendRecord(QByteArray* stream, quint16 type, const QByteArray& body) {
    char header[4];
    qToLittleEndian<quint16>(type, header);
    qToLittleEndian<quint16>(static_cast<quint16>(body.size()), header + 2);
    stream->append(header, 4).append(body);
}

QByteArray u16(quint16 v) {
    char b[2];
    qToLittleEndian<quint16>(v, b);
    return QByteArray(b, 2);
}

QByteArray u32(quint32 v) {
    char b[4];
    qToLittleEndian<quint32>(v, b);
    return QByteArray(b, 4);
}

QByteArray number(double v) {
    QByteArray b(8, '\0');
    std::memcpy(b.data(), &v, 8);
    return b;
}

quint32 rkInteger(qint32 v) {
    return (static_cast<quint32>(v) << 2) | 0x02;
}

quint16 formatAt(const QByteArray& stream, qsizetype offset) {
    return qFromLittleEndian<quint16>(stream.constData() + offset);
}

// Cells with a date format (index 21 here) keep it for values a date can have and lose it for
// the rest, in every record that carries numbers.
TEST(XlsRecords, OnlyNumbersPastTheLastDateLoseTheirFormat) {
    QByteArray stream;
    appendRecord(&stream, 0x0203, u16(1) + u16(1) + u16(21) + number(45296));           // NUMBER
    appendRecord(&stream, 0x0203, u16(2) + u16(1) + u16(21) + number(2023010101));      // NUMBER
    appendRecord(&stream, 0x027E, u16(3) + u16(1) + u16(21) + u32(rkInteger(2958465))); // RK
    appendRecord(&stream, 0x027E, u16(4) + u16(1) + u16(21) + u32(rkInteger(2958466))); // RK
    appendRecord(&stream, 0x00BD, // MULRK: columns 1 and 2 of row 5
                 u16(5) + u16(1) + u16(21) + u32(rkInteger(-7)) + u16(21) +
                     u32(rkInteger(100000000)) + u16(2));
    const QByteArray before = stream;

    xlsrecords::keepHugeNumbersFromDates(&stream);

    ASSERT_EQ(stream.size(), before.size());
    EXPECT_EQ(formatAt(stream, 4 + 4), 21);          // 2024-01-06
    EXPECT_EQ(formatAt(stream, 18 + 4 + 4), 0xFFFF); // an ID number
    EXPECT_EQ(formatAt(stream, 36 + 4 + 4), 21);     // 9999-12-31
    EXPECT_EQ(formatAt(stream, 50 + 4 + 4), 0xFFFF); // the day after
    EXPECT_EQ(formatAt(stream, 64 + 4 + 4), 21);     // negative: no days to count
    EXPECT_EQ(formatAt(stream, 64 + 4 + 10), 0xFFFF);
    // Only format fields change: the values stay as they were.
    for (qsizetype i = 0; i < stream.size(); ++i) {
        if (stream[i] != before[i]) {
            EXPECT_EQ(static_cast<uchar>(stream[i]), 0xFF) << "byte " << i;
        }
    }
}

QByteArray bof8() {
    return u16(0x0600) + u16(0x0010) + QByteArray(12, '\0');
}

// Framed records of one sheet's body.
QByteArray dimensions8(quint32 rows, quint16 columns, int cutShort = 0) {
    QByteArray record;
    appendRecord(&record, 0x0200,
                 (u32(0) + u32(rows) + u16(0) + u16(columns) + u16(0)).chopped(cutShort));
    return record;
}

QByteArray numberAt(quint16 column) {
    QByteArray record;
    appendRecord(&record, 0x0203, u16(0) + u16(column) + u16(15) + number(1));
    return record;
}

QByteArray nestedChart(const QByteArray& body) {
    QByteArray records;
    appendRecord(&records, 0x0809, bof8());
    records.append(body);
    appendRecord(&records, 0x000A, {});
    return records;
}

struct DimensionsCase {
    const char* name;
    std::vector<QByteArray> sheets; // the records of each sheet between its BOF and EOF
    bool sound;
};

class DimensionsTable : public testing::TestWithParam<DimensionsCase> {};

TEST_P(DimensionsTable, SheetsLibfreexlCanHoldAreSound) {
    QByteArray stream;
    appendRecord(&stream, 0x0809, bof8()); // the workbook globals
    appendRecord(&stream, 0x000A, {});
    for (const QByteArray& body : GetParam().sheets) {
        stream.append(nestedChart(body));
    }
    EXPECT_EQ(xlsrecords::dimensionsAreSound(stream), GetParam().sound);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DimensionsTable,
    testing::Values(
        DimensionsCase{"OnePerSheet", {dimensions8(10, 5), dimensions8(3, 6)}, true},
        DimensionsCase{"ASheetWithout", {numberAt(3), dimensions8(3, 6)}, true},
        DimensionsCase{"TheLargestSheet", {dimensions8(65536, 256) + numberAt(255)}, true},
        DimensionsCase{"TwoInOneSheet", {dimensions8(10, 5) + dimensions8(3, 6)}, false},
        DimensionsCase{"ASecondInAChartInTheSheet",
                       {dimensions8(10, 5) + nestedChart(dimensions8(3, 6))},
                       false},
        DimensionsCase{"MoreRowsThanASheetHas", {dimensions8(65537, 5)}, false},
        DimensionsCase{"MoreColumnsThanASheetHas", {dimensions8(10, 257)}, false},
        DimensionsCase{"ACellPastTheLastColumn", {numberAt(256)}, false},
        DimensionsCase{"ARecordCutShort", {dimensions8(10, 5, 1)}, false}),
    [](const testing::TestParamInfo<DimensionsCase>& tested) { return tested.param.name; });

// Each sheet without a DIMENSIONS record (a chart sheet, a sheet whose substream is missing)
// costs libfreexl a lost copy of the largest cell table: a few small ones are normal.
TEST(XlsRecords, SheetsWithoutDimensionsAreSoundOnlyWhileTheirLossIsSmall) {
    const auto workbook = [](const QByteArray& dataSheet, int sheetsElsewhere) {
        QByteArray globals;
        appendRecord(&globals, 0x0809, bof8());
        const qsizetype sheetCount = 1 + sheetsElsewhere;
        const qsizetype globalsSize = globals.size() + sheetCount * (4 + 8) + 4;
        for (int i = 0; i < sheetCount; ++i) {
            // the first sheet's substream follows the globals; the others point past the end
            const quint32 offset = i == 0 ? quint32(globalsSize) : 0x7FFF0000u + quint32(i);
            appendRecord(&globals, 0x0085, u32(offset) + u16(0) + QByteArray(2, '\0'));
        }
        appendRecord(&globals, 0x000A, {});
        return globals + nestedChart(dataSheet);
    };
    EXPECT_TRUE(xlsrecords::dimensionsAreSound(workbook(dimensions8(200, 20), 3)));
    EXPECT_FALSE(xlsrecords::dimensionsAreSound(workbook(dimensions8(65536, 256), 1)));
    EXPECT_TRUE(xlsrecords::dimensionsAreSound(workbook(dimensions8(65536, 256), 0)));
}

} // namespace
} // namespace portiqa
