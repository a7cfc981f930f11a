#include "core/settings/BatchSettings.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace portiqa;

TEST(BatchSettings, FolderTextsLoseOneTrailingSeparator) {
    const struct {
        const char16_t* shown;
        const char16_t* stored;
    } cases[] = {
        {u"/照片/输出/", u"/照片/输出"},
        {u"/照片/输出", u"/照片/输出"},
        {u"D:\\照片\\", u"D:\\照片"},
        {u"/a//", u"/a/"},
        {u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(folders::stored(QString::fromUtf16(c.shown)), QString::fromUtf16(c.stored));
    }
    EXPECT_EQ(folders::shown(u"/照片"_qs), u"/照片"_qs + QDir::separator());
    EXPECT_EQ(folders::shown(QString()), QString());
}

TEST(BatchSettings, FormatsAreOneOfFourAndGiveLowerCaseExtensions) {
    EXPECT_EQ(formats::normalised(u" .gif "_qs), formats::kGif);
    EXPECT_EQ(formats::normalised(u".webp"_qs), formats::kJpg);
    EXPECT_EQ(formats::extension(formats::kPng), u".png"_qs);
}
