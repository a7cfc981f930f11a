#include "core/editor/EditorColours.h"
#include "core/editor/TextEntryRules.h"

#include <gtest/gtest.h>

namespace portiqa {
namespace {

TEST(TextEntryRules, BoxWidthFollowsTheGbkByteLength) {
    struct Case {
        QString text;
        int charWidth;
        int width;
    };
    const Case cases[] = {
        {QString(), 6, 12},
        {QStringLiteral("ab"), 6, 24}, // 6 x 2 + 6 x 2
        {QStringLiteral("中"), 6, 24}, // a Chinese character counts two bytes
        {QStringLiteral("张三1"), 6, 42},
        {QStringLiteral("ab"), 9, 36},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(TextEntryRules::boxWidth(c.charWidth, c.text), c.width);
    }
    // A character GBK lacks still counts (as its GB18030 bytes), never as nothing.
    EXPECT_GE(TextEntryRules::gbkByteLength(QString::fromUcs4(U"\U0001F600", 1)), 1);
}

TEST(TextEntryRules, BoxSitsAboveTheClickAndWritesThreePixelsBelowItsTop) {
    EXPECT_EQ(TextEntryRules::boxTopLeftForClick(QPoint(50, 40), 12), QPoint(50, 32));
    EXPECT_EQ(TextEntryRules::writeOrigin(QPoint(50, 32)), QPoint(50, 35));
    EXPECT_EQ(TextEntryRules::boxHeight(12), 18);
}

TEST(EditorColours, EntryBackgroundIsTheComplementExceptForMiddleGrey) {
    struct Case {
        QRgb text;
        QRgb background;
    };
    const Case cases[] = {
        {0x000000, 0xFFFFFF}, {0xFFFFFF, 0x000000}, {0x808080, 0xFFFFFF},
        {0x123456, 0xEDCBA9}, {0x7F7F7F, 0x808080}, {0x818080, 0x7E7F7F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(EditorColours::entryBackground(QColor(c.text)).rgb() & 0xFFFFFF, c.background);
    }
}

} // namespace
} // namespace portiqa
