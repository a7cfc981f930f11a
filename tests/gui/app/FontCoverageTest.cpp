// Names outside the Basic Multilingual Plane (王𠮷) are drawn with a glyph, not a box: the
// program depends on a font of CJK Extension B, which font fallback finds for such characters.

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QRawFont>

TEST(FontCoverage, AFontForCjkExtensionBIsThere) {
    constexpr char32_t kJi = 0x20BB7; // 𠮷
    bool covered = false;
    for (const QString& family : QFontDatabase::families()) {
        const QRawFont raw = QRawFont::fromFont(QFont(family));
        if (raw.isValid() && raw.supportsCharacter(kJi)) {
            covered = true;
            break;
        }
    }
    EXPECT_TRUE(covered) << "install fonts-hanazono (scripts/packages.txt)";
}
