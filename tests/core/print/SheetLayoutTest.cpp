// The print sheet's layout: every paper with every photo size, what fits, where each copy
// goes, and the promises every layout keeps (inside the printable area, no overlaps, cut
// lines clear of the copies).

#include "core/print/SheetLayout.h"
#include "core/print/PrintSheetOptions.h"
#include "core/print/SheetChoices.h"

#include <gtest/gtest.h>

using namespace portiqa;

namespace {

constexpr double kEps = 1e-6;

// The promises of any layout.
void expectSound(const SheetLayout& layout, const SheetRequest& request) {
    const QRectF area = layout.printableMm.adjusted(-kEps, -kEps, kEps, kEps);
    EXPECT_EQ(layout.copies.size(),
              request.copies > 0 ? std::min(request.copies, layout.fits()) : layout.fits());
    for (int i = 0; i < layout.copies.size(); ++i) {
        const QRectF& copy = layout.copies.at(i);
        EXPECT_NEAR(copy.width(), request.photoMm.width(), kEps);
        EXPECT_NEAR(copy.height(), request.photoMm.height(), kEps);
        EXPECT_TRUE(area.contains(copy)) << "copy " << i << " leaves the printable area";
        for (int j = i + 1; j < layout.copies.size(); ++j) {
            const QRectF overlap = copy.intersected(layout.copies.at(j));
            EXPECT_TRUE(overlap.width() < kEps || overlap.height() < kEps)
                << "copies " << i << " and " << j << " overlap";
        }
    }
    for (const QLineF& line : layout.cutLines) {
        EXPECT_TRUE(area.contains(line.p1()) && area.contains(line.p2()));
        for (const QRectF& copy : layout.copies) {
            const QRectF inside = copy.adjusted(kEps, kEps, -kEps, -kEps);
            const bool vertical = line.x1() == line.x2();
            const bool crosses = vertical ? line.x1() > inside.left() && line.x1() < inside.right()
                                          : line.y1() > inside.top() && line.y1() < inside.bottom();
            EXPECT_FALSE(crosses) << "a cut line runs through a copy";
        }
    }
}

SheetRequest request(const QString& paper, const QString& size, bool landscape = true) {
    PrintSheetOptions options;
    options.paper = paper;
    options.photoSize = size;
    options.landscape = landscape;
    return sheetRequest(options, *photoSizeByName(size));
}

} // namespace

TEST(SheetLayout, EachPaperWithEachPhotoSizeAtTheDefaultMarginAndGap) {
    struct Case {
        const char* paper;
        const char* size;
        int columns;
        int rows;
    };
    // Landscape, 3 mm margin, 2 mm gap. 6寸 with 2寸 fills its width exactly (4 × 35 + 3 × 2 =
    // 146 mm), which only the tolerance admits.
    const Case cases[] = {
        {"5寸", "1寸", 4, 2}, {"5寸", "小2寸", 3, 1}, {"5寸", "2寸", 3, 1}, {"5寸", "身份证", 4, 2},
        {"6寸", "1寸", 5, 2}, {"6寸", "小2寸", 4, 1}, {"6寸", "2寸", 4, 1}, {"6寸", "身份证", 5, 2},
        {"A4", "1寸", 10, 5}, {"A4", "小2寸", 8, 4},  {"A4", "2寸", 7, 4},  {"A4", "身份证", 10, 6},
        {"A6", "1寸", 5, 2},  {"A6", "小2寸", 4, 2},  {"A6", "2寸", 3, 1},  {"A6", "身份证", 5, 2},
    };
    ASSERT_EQ(std::size(cases), std::size_t(paperChoices().size() * photoSizeChoices().size()));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.paper) + " / " + c.size);
        const SheetRequest r = request(QString::fromUtf8(c.paper), QString::fromUtf8(c.size));
        const SheetLayout layout = layoutSheet(r);
        EXPECT_EQ(layout.fitColumns, c.columns);
        EXPECT_EQ(layout.fitRows, c.rows);
        EXPECT_EQ(layout.columns, c.columns);
        EXPECT_EQ(layout.rows, c.rows);
        expectSound(layout, r);
        // Row by row, left to right, one photo and one gap apart, the block centred.
        const QRectF first = layout.copies.constFirst();
        const QRectF last = layout.copies.constLast();
        EXPECT_NEAR(first.left() - layout.printableMm.left(),
                    layout.printableMm.right() - last.right(), kEps);
        EXPECT_NEAR(first.top() - layout.printableMm.top(),
                    layout.printableMm.bottom() - last.bottom(), kEps);
        for (int i = 0; i < layout.copies.size(); ++i) {
            const QPointF expected =
                first.topLeft() + QPointF((i % c.columns) * (r.photoMm.width() + r.gapMm),
                                          (i / c.columns) * (r.photoMm.height() + r.gapMm));
            EXPECT_NEAR(layout.copies.at(i).left(), expected.x(), kEps) << i;
            EXPECT_NEAR(layout.copies.at(i).top(), expected.y(), kEps) << i;
        }
        // Around the block and through each gap, across the printable area.
        EXPECT_EQ(layout.cutLines.size(), (c.columns + 1) + (c.rows + 1));
    }
}

TEST(SheetLayout, EightOneInchPhotosOnFiveInchPaperSitWhereTheyShould) {
    const SheetLayout layout = layoutSheet(request("5寸", "1寸"));
    ASSERT_EQ(layout.copies.size(), 8);
    // 127 × 89 less 3 mm all round: 121 × 83; the block is 106 × 72.
    EXPECT_EQ(layout.printableMm, QRectF(3, 3, 121, 83));
    EXPECT_EQ(layout.copies.at(0), QRectF(10.5, 8.5, 25, 35));
    EXPECT_EQ(layout.copies.at(3), QRectF(91.5, 8.5, 25, 35));
    EXPECT_EQ(layout.copies.at(7), QRectF(91.5, 45.5, 25, 35));
    EXPECT_EQ(layout.cutLines.constFirst(), QLineF(9.5, 3, 9.5, 86));
    // Portrait holds one more here: 3 × 3.
    EXPECT_EQ(layoutSheet(request("5寸", "1寸", false)).fits(), 9);
}

TEST(SheetLayout, CopiesAskedForFewerOrMoreThanFit) {
    struct Case {
        int copies;
        int laid;
        int columns;
        int rows;
    };
    // 5寸 with 1寸 fits 4 × 2.
    const Case cases[] = {{1, 1, 1, 1}, {3, 3, 3, 1}, {5, 5, 4, 2}, {8, 8, 4, 2}, {50, 8, 4, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.copies);
        SheetRequest r = request("5寸", "1寸");
        r.copies = c.copies;
        const SheetLayout layout = layoutSheet(r);
        EXPECT_EQ(layout.fits(), 8);
        EXPECT_EQ(layout.copies.size(), c.laid);
        EXPECT_EQ(layout.columns, c.columns);
        EXPECT_EQ(layout.rows, c.rows);
        expectSound(layout, r);
    }
}

TEST(SheetLayout, MarginsGapsAndCutLinesAtTheirEdges) {
    struct Case {
        const char* what;
        double margin;
        double gap;
        bool cutLines;
        int fits;
    };
    // 5寸 landscape with 1寸.
    const Case cases[] = {
        {"no margin, no gap", 0, 0, true, 5 * 2},
        {"negative numbers count as 0", -4, -1, true, 5 * 2},
        {"not a number counts as 0", std::nan(""), std::nan(""), true, 5 * 2},
        {"wide gap", 3, 10, true, 3 * 2},
        {"no cut lines", 3, 2, false, 4 * 2},
        {"margin leaves less than one photo", 30, 2, true, 0},
        {"margin larger than the paper", 100, 2, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SheetRequest r = request("5寸", "1寸");
        r.marginMm = c.margin;
        r.gapMm = c.gap;
        r.cutLines = c.cutLines;
        const SheetLayout layout = layoutSheet(r);
        EXPECT_EQ(layout.fits(), c.fits);
        expectSound(layout, r);
        EXPECT_EQ(layout.cutLines.isEmpty(), !c.cutLines || c.fits == 0);
    }
}

TEST(SheetLayout, PhotosLargerThanThePaperOrOfNoSizeGiveAnEmptySheet) {
    for (const QSizeF photo : {QSizeF(200, 35), QSizeF(25, 200), QSizeF(0, 35), QSizeF(-25, 35)}) {
        SheetRequest r = request("5寸", "1寸");
        r.photoMm = photo;
        const SheetLayout layout = layoutSheet(r);
        EXPECT_EQ(layout.fits(), 0);
        EXPECT_TRUE(layout.copies.isEmpty());
        EXPECT_TRUE(layout.cutLines.isEmpty());
    }
}

TEST(SheetChoices, OutputSizeIsThePicturesPixelsAtTheResolution) {
    const PhotoSizeChoice choice = outputPhotoSize(QSize(295, 413), 300);
    EXPECT_EQ(choice.name, QStringLiteral("输出尺寸"));
    EXPECT_NEAR(choice.sizeMm.width(), 24.977, 0.001);
    EXPECT_NEAR(choice.sizeMm.height(), 34.967, 0.001);
    EXPECT_EQ(choice.label, QStringLiteral("输出尺寸 (295×413 像素, 300 dpi)"));
    // 1寸 at 300 dpi is 295 × 413 pixels again.
    EXPECT_EQ(millimetresToPixels(25, 300), 295);
    EXPECT_EQ(millimetresToPixels(35, 300), 413);
    EXPECT_EQ(paperByName("a4")->name, QStringLiteral("A4"));
    EXPECT_FALSE(paperByName("7寸"));
    EXPECT_FALSE(photoSizeFor("输出尺寸", QSize(), 300));
}
