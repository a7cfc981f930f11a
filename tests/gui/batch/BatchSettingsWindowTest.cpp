// The settings window "批量截图设置" as the operator sees it: every control at its design
// place, the naming box, the folder pickers and the confirm refusals.

#include "gui/batch/BatchSettingsWindow.h"

#include "support/BatchFixture.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace portiqa;

TEST(BatchSettingsWindow, ControlsAtTheirDesignPlaces) {
    test::BatchRunFixture f;
    BatchSettingsWindow window(f.run, f.dialogs);
    EXPECT_EQ(window.size(), QSize(466, 236));
    EXPECT_EQ(window.windowTitle(), "批量截图设置");
    const struct {
        const char* name;
        const char* text;
        QRect at;
    } controls[] = {
        {"标签4", "等待截图目录", {10, 12, 80, 24}},
        {"批截目标目录编辑框", "", {90, 12, 268, 24}},
        {"浏览批截目标目录按钮", "浏览待截图目录", {362, 12, 94, 24}},
        {"标签1", "图片保存目录", {10, 48, 80, 24}},
        {"批截保存目录编辑框", "", {90, 48, 268, 24}},
        {"浏览批截保存目录按钮", "新建、浏览目录", {362, 48, 94, 24}},
        {"标签3", "图片保存格式", {10, 84, 80, 24}},
        {"批截格式组合框", " *.JPG", {90, 84, 368, 22}},
        {"标签2", "图片命名方式", {10, 120, 80, 24}},
        {"批截命名方式组合框", "与原图片文件名同名", {90, 120, 368, 22}},
        {"裁切声选择框", "截图时发出裁切声", {64, 156, 144, 24}},
        {"保存批截设置选择框", "保存上述设置供下次使用", {232, 156, 180, 24}},
        {"确定批截设置按钮", "确定", {194, 189, 80, 32}},
    };
    for (const auto& c : controls) {
        auto* w = window.findChild<QWidget*>(QString::fromUtf8(c.name));
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(w->geometry(), c.at) << c.name;
        QString text;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            text = l->text();
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            text = b->text();
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            text = e->text();
        } else if (auto* box = qobject_cast<QComboBox*>(w)) {
            text = box->currentText();
        }
        EXPECT_EQ(text, QString::fromUtf8(c.text)) << c.name;
    }
    EXPECT_EQ(window.formatBox()->count(), 4);
    EXPECT_EQ(window.formatBox()->itemText(3), " *.PNG");
    ASSERT_EQ(window.namingBox()->count(), 6);
    EXPECT_EQ(window.namingBox()->itemText(2), "根据截图先后用序号命名  如： 0001   0002 ");
    // Opening the window released the hotkeys.
    EXPECT_EQ(f.calls, QStringList({"hotkeys off"}));
}

TEST(BatchSettingsWindow, OnlyTheCustomItemMakesTheNamingBoxEditable) {
    test::BatchRunFixture f;
    BatchSettingsWindow window(f.run, f.dialogs);
    for (int i = 0; i < 6; ++i) {
        window.namingBox()->setCurrentIndex(i);
        emit window.namingBox()->activated(i);
        EXPECT_EQ(window.namingBox()->isEditable(), i == 3) << i;
        if (i == 3) {
            EXPECT_TRUE(window.namingBox()->currentText().isEmpty());
        }
    }
    emit window.formatBox()->activated(2);
    EXPECT_EQ(f.settings.format, ".GIF");
    window.cropSoundBox()->click();
    EXPECT_TRUE(f.settings.cropSound);
}

// The arrow keys walk the items without opening the list: the rule follows each step, also
// out of the editable custom item.
TEST(BatchSettingsWindow, TheNamingRuleFollowsKeyboardChanges) {
    test::BatchRunFixture f;
    BatchSettingsWindow window(f.run, f.dialogs);
    window.show();
    QComboBox* box = window.namingBox();
    box->setFocus();
    ASSERT_EQ(box->currentIndex(), 0);
    for (int i = 1; i < 6; ++i) {
        QTest::keyClick(box->isEditable() ? static_cast<QWidget*>(box->lineEdit()) : box,
                        Qt::Key_Down);
        ASSERT_EQ(box->currentIndex(), i);
        EXPECT_EQ(box->isEditable(), i == 3) << i;
        EXPECT_EQ(f.settings.namingIndex, i) << i;
    }
    for (int i = 4; i >= 0; --i) {
        QTest::keyClick(box->isEditable() ? static_cast<QWidget*>(box->lineEdit()) : box,
                        Qt::Key_Up);
        ASSERT_EQ(box->currentIndex(), i);
        EXPECT_EQ(box->isEditable(), i == 3) << i;
    }
}

TEST(BatchSettingsWindow, FolderPickersFillTheirBoxesAndACancelKeepsTheText) {
    test::BatchRunFixture f;
    BatchSettingsWindow window(f.run, f.dialogs);
    f.dialogs.folders = {"/photos/in", "/photos/out", ""};
    window.sourceBrowseButton()->click();
    window.saveBrowseButton()->click();
    window.saveBrowseButton()->click(); // cancelled
    EXPECT_EQ(f.dialogs.folderTitles,
              QStringList({"选择待截图文件夹，以便对文件夹中的图片进行批量截图。",
                           "请选择或者新建一个文件夹", "请选择或者新建一个文件夹"}));
    EXPECT_EQ(window.sourceEdit()->text(), "/photos/in");
    EXPECT_EQ(window.saveEdit()->text(), "/photos/out");
}

TEST(BatchSettingsWindow, RefusedConfirmsKeepTheWindowOpen) {
    test::BatchRunFixture f;
    const QString in = f.folder("in");
    BatchSettingsWindow window(f.run, f.dialogs);
    window.show();
    window.sourceEdit()->setText(in);
    window.saveEdit()->setText(in + "/");
    window.confirmButton()->click();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].caption, "提醒：");
    EXPECT_EQ(f.dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(f.dialogs.lastText(), "待截图文件夹不可再用于保存截图，请换一个文件夹保存截图。");
    EXPECT_TRUE(window.saveEdit()->text().isEmpty());
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(f.run.mode());

    window.saveEdit()->setText(f.folder("out"));
    window.confirmButton()->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(f.run.mode());
    EXPECT_TRUE(f.ticked);
    EXPECT_EQ(f.calls, QStringList({"hotkeys off", "hotkeys on"}));
}
