#include "core/naming/PromptedNameSaver.h"

#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace portiqa;
using portiqa::test::readAll;
using portiqa::test::ScriptedDialogs;
using portiqa::test::writeAll;

namespace {

class PromptedNameSaverTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(root.path()).mkpath(u"out"_qs));
        ASSERT_TRUE(QDir(root.path()).mkpath(u"settings"_qs));
        target.folder = root.filePath(u"out"_qs);
        target.extension = u".jpg"_qs;
        target.temporaryFile = temporaryPictureFile(root.filePath(u"settings"_qs), u".jpg"_qs);
        ASSERT_TRUE(writeAll(target.temporaryFile, "picture"));
    }
    QString out(const QString& name) const { return target.folder + u"/"_qs + name; }

    QTemporaryDir root;
    NamePromptTarget target;
    ScriptedDialogs dialogs;
};

} // namespace

TEST(PromptedName, TypedTextLosesBlanksAndPictureExtensions) {
    const struct {
        const char16_t* typed;
        const char16_t* name;
    } cases[] = {
        {u"a.JPG", u"a"},       {u"  李四  ", u"李四"}, {u"x.Png.bmp", u"x"},
        {u"a.jpgb.GIF", u"ab"}, {u"a.jpeg", u"a.jpeg"}, {u"王五 .jpg", u"王五"},
        {u".jpg", u""},         {u"   ", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PromptedNameSaver::nameFromTyped(QString::fromUtf16(c.typed)),
                  QString::fromUtf16(c.name));
    }
}

TEST_F(PromptedNameSaverTest, ConfirmMovesThePictureToItsName) {
    ASSERT_TRUE(writeAll(out(u"张三.jpg"_qs), "older"));
    const struct {
        const char16_t* typed;
        const char16_t* saved;
    } cases[] = {{u"a.JPG", u"a.jpg"}, {u" 李四 ", u"李四.jpg"}, {u"张三", u"张三—1.jpg"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(writeAll(target.temporaryFile, "picture"));
        PromptedNameSaver saver(target, dialogs);
        EXPECT_TRUE(saver.confirm(QString::fromUtf16(c.typed)));
        EXPECT_EQ(saver.savedPath(), out(QString::fromUtf16(c.saved)));
        EXPECT_EQ(readAll(saver.savedPath()), QByteArray("picture"));
        EXPECT_FALSE(QFileInfo::exists(target.temporaryFile));
    }
    EXPECT_EQ(readAll(out(u"张三.jpg"_qs)), QByteArray("older"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(PromptedNameSaverTest, RefusedNamesKeepTheTemporaryPicture) {
    const struct {
        const char16_t* typed;
        const char16_t* message; // a part of the message
        MessageIcon icon;
    } cases[] = {
        {u"   ", u"新照片命名不能为空。", MessageIcon::Information},
        {u".PNG", u"新照片命名不能为空。", MessageIcon::Information},
        {u"../../etc/x", u"“/”", MessageIcon::Warning},
        {u"a:b", u"“:”", MessageIcon::Warning},
    };
    for (const auto& c : cases) {
        PromptedNameSaver saver(target, dialogs);
        EXPECT_FALSE(saver.confirm(QString::fromUtf16(c.typed)));
        ASSERT_FALSE(dialogs.messages.isEmpty());
        EXPECT_EQ(dialogs.messages.last().caption, u"提示"_qs);
        EXPECT_TRUE(dialogs.lastText().contains(QString::fromUtf16(c.message)))
            << dialogs.lastText().toStdString();
        EXPECT_EQ(dialogs.messages.last().icon, c.icon);
        EXPECT_EQ(readAll(target.temporaryFile), QByteArray("picture"));
    }
    EXPECT_TRUE(QDir(target.folder).isEmpty());
}

TEST_F(PromptedNameSaverTest, AFailedCopyIsReportedAndThePictureKept) {
    target.folder = root.filePath(u"gone"_qs);
    PromptedNameSaver saver(target, dialogs);
    EXPECT_FALSE(saver.confirm(u"李四"_qs));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.lastText().contains(u"李四.jpg"_qs));
    EXPECT_EQ(readAll(target.temporaryFile), QByteArray("picture"));

    QFile::remove(target.temporaryFile);
    target.folder = root.filePath(u"out"_qs);
    PromptedNameSaver again(target, dialogs);
    EXPECT_FALSE(again.confirm(u"李四"_qs)); // nothing to name
    EXPECT_EQ(dialogs.messages.size(), 2);
}

TEST(PromptedName, TargetAndTitleFollowTheModeThatIsOn) {
    BatchCropSettings crop;
    crop.saveFolder = u"/crop"_qs;
    crop.format = formats::kPng;
    QuickShootSettings quick;
    quick.saveFolder = u"/quick"_qs;
    const NamePromptTarget c = namePromptTarget(true, crop, quick, u"/s"_qs);
    EXPECT_EQ(c.folder, u"/crop"_qs);
    EXPECT_EQ(c.extension, u".png"_qs);
    EXPECT_EQ(c.temporaryFile, u"/s/临时C.png"_qs);
    const NamePromptTarget q = namePromptTarget(false, crop, quick, u"/s"_qs);
    EXPECT_EQ(q.folder, u"/quick"_qs);
    EXPECT_EQ(q.temporaryFile, u"/s/临时C.jpg"_qs);
    EXPECT_EQ(namePromptTitle(true, true), u"请为刚才截图命名（不需填写扩展名）"_qs);
    EXPECT_EQ(namePromptTitle(false, true), u"请为刚才拍照命名（不需填写扩展名）"_qs);
    EXPECT_EQ(namePromptTitle(false, false), QString());
}
