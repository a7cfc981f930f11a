#include "gui/output/NamePrompt.h"

#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace portiqa;
using portiqa::test::readAll;
using portiqa::test::ScriptedDialogs;
using portiqa::test::writeAll;

namespace {

class NamePromptTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(root.path()).mkpath(u"out"_qs));
        target.folder = root.filePath(u"out"_qs);
        target.extension = u".jpg"_qs;
        target.temporaryFile = temporaryPictureFile(root.path(), u".jpg"_qs);
        ASSERT_TRUE(writeAll(target.temporaryFile, "picture"));
        hotkeys.registered = [this] { return registered; };
        hotkeys.registerAll = [this] { registered = true, ++registers; };
        hotkeys.unregisterAll = [this] { registered = false, ++unregisters; };
    }

    QTemporaryDir root;
    NamePromptTarget target;
    ScriptedDialogs dialogs;
    NamePromptHotkeys hotkeys;
    bool registered = true;
    int registers = 0;
    int unregisters = 0;
};

} // namespace

TEST_F(NamePromptTest, LayoutAndTitleFollowTheBatchMode) {
    NamePrompt crop(target, dialogs, true, true, hotkeys);
    EXPECT_EQ(crop.size(), QSize(334, 55));
    EXPECT_EQ(crop.windowTitle(), u"请为刚才截图命名（不需填写扩展名）"_qs);
    EXPECT_EQ(crop.nameEdit()->objectName(), u"编辑框1"_qs);
    EXPECT_EQ(crop.confirmButton()->objectName(), u"按钮1"_qs);
    EXPECT_EQ(crop.confirmButton()->text(), u"确定"_qs);
    EXPECT_EQ(unregisters, 1); // the typed letters must not navigate

    NamePrompt quick(target, dialogs, false, true, hotkeys);
    EXPECT_EQ(quick.windowTitle(), u"请为刚才拍照命名（不需填写扩展名）"_qs);
    EXPECT_EQ(unregisters, 1); // nothing registered any more
}

TEST_F(NamePromptTest, EnterSavesOnceAndTheHotkeysComeBack) {
    NamePrompt prompt(target, dialogs, true, false, hotkeys);
    prompt.show();
    QTest::keyClicks(prompt.nameEdit(), u" a.JPG "_qs);
    QTest::keyClick(prompt.nameEdit(), Qt::Key_Return);
    EXPECT_EQ(prompt.result(), QDialog::Accepted);
    EXPECT_FALSE(prompt.isVisible());
    EXPECT_EQ(prompt.savedPath(), target.folder + u"/a.jpg"_qs);
    EXPECT_EQ(readAll(prompt.savedPath()), QByteArray("picture"));
    EXPECT_FALSE(QFileInfo::exists(target.temporaryFile));
    EXPECT_TRUE(dialogs.messages.isEmpty()); // not confirmed a second time
    EXPECT_EQ(registers, 1);
}

TEST_F(NamePromptTest, ARefusedNameKeepsThePromptOpen) {
    NamePrompt prompt(target, dialogs, false, true, hotkeys);
    prompt.show();
    QTest::mouseClick(prompt.confirmButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.lastText(), u"新照片命名不能为空。"_qs);
    prompt.nameEdit()->setText(u"a/b"_qs);
    QTest::mouseClick(prompt.confirmButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.messages.size(), 2);
    EXPECT_TRUE(prompt.isVisible());
    EXPECT_EQ(readAll(target.temporaryFile), QByteArray("picture"));

    prompt.reject(); // closed without a name: the picture stays in the temporary file
    EXPECT_EQ(readAll(target.temporaryFile), QByteArray("picture"));
    EXPECT_EQ(registers, 0); // quick-shoot has no batch hotkeys to restore
}

// A quick shot's prompt while batch crop mode is on (camera opened from the menu): the keys it
// released come back when it closes, however it closes.
TEST_F(NamePromptTest, AQuickShotPromptGivesTheBatchHotkeysBackWhileBatchCropIsOn) {
    bool batchCropOn = true;
    hotkeys.batchCropModeOnClose = [&batchCropOn] { return batchCropOn; };
    for (const bool confirmed : {true, false}) {
        registered = true;
        registers = 0;
        ASSERT_TRUE(writeAll(target.temporaryFile, "picture"));
        NamePrompt prompt(target, dialogs, false, true, hotkeys);
        EXPECT_FALSE(registered);
        prompt.show();
        if (confirmed) {
            QTest::keyClicks(prompt.nameEdit(), confirmed ? u"b"_qs : QString());
            QTest::keyClick(prompt.nameEdit(), Qt::Key_Return);
        } else {
            prompt.reject();
        }
        EXPECT_TRUE(registered) << confirmed;
        EXPECT_EQ(registers, 1) << confirmed;
    }
    batchCropOn = false; // switched off meanwhile: nothing to take back
    registers = 0;
    NamePrompt prompt(target, dialogs, false, true, hotkeys);
    prompt.reject();
    EXPECT_EQ(registers, 0);
}
