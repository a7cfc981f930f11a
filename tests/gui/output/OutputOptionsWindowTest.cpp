// The output options through the program: the menu item, the window's refusals and stored
// keys, and a save that writes with them and carries no metadata of the source.

#include "gui/output/OutputOptionsWindow.h"
#include "core/ini/IniFile.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/output/OutputOptionsFeature.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace portiqa;

namespace {

struct Rig {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<PortiqaApp> app;
    explicit Rig(const QString& storedBackground = QString()) {
        QDir().mkpath(dir.filePath("s"));
        if (!storedBackground.isEmpty()) {
            IniFile(dir.filePath("s/set.dll")).write("输出选项", "背景颜色", storedBackground);
        }
        LaunchOptions options;
        options.settingsDir = dir.filePath("s");
        app = std::make_unique<PortiqaApp>(options, &dialogs);
        app->start();
    }
    QString stored(const char* key) const {
        return IniFile(dir.filePath("s/set.dll")).read("输出选项", QString::fromUtf8(key));
    }
    OutputOptionsWindow& open() {
        app->outputOptions().commandAction()->trigger();
        return *app->outputOptions().window();
    }
};

} // namespace

TEST(OutputOptionsWindow, RefusesWhatCannotBeKeptAndStoresTheRest) {
    struct Case {
        const char* dpi;
        const char* minKb;
        bool best;
        bool accepted;
        const char* focus; // the field the cursor goes back to
    } cases[] = {
        {"350", "20", true, true, ""},
        {"", "", false, true, ""},
        {"50", "", true, false, "分辨率编辑框"},
        {"2000", "", true, false, "分辨率编辑框"},
        {"300", "500", true, false, "最小体积编辑框"}, // the limit is 500 KB
        {"300", "abc", true, false, "最小体积编辑框"},
    };
    for (const Case& c : cases) {
        Rig rig;
        OutputOptionsWindow& window = rig.open();
        EXPECT_EQ(window.windowTitle(), "输出选项");
        window.dpiEdit()->setText(QString::fromUtf8(c.dpi));
        window.minKbEdit()->setText(QString::fromUtf8(c.minKb));
        window.bestPictureBox()->setChecked(c.best);
        window.accept();
        if (c.accepted) {
            EXPECT_TRUE(rig.dialogs.messages.isEmpty()) << c.dpi << " " << c.minKb;
            EXPECT_EQ(rig.stored("分辨率"), QString::fromUtf8(c.dpi));
            EXPECT_EQ(rig.stored("最小体积"), QString::fromUtf8(c.minKb));
            EXPECT_EQ(rig.stored("最佳画质"), c.best ? "真" : "");
        } else {
            ASSERT_EQ(rig.dialogs.messages.size(), 1) << c.dpi << " " << c.minKb;
            EXPECT_EQ(rig.dialogs.messages[0].caption, "提示");
            EXPECT_FALSE(QFile::exists(rig.dir.filePath("s/set.dll")));
            EXPECT_TRUE(window.isVisible());
            // The window's focus child, whether or not the window is active offscreen.
            ASSERT_NE(window.focusWidget(), nullptr);
            EXPECT_EQ(window.focusWidget()->objectName(), QString::fromUtf8(c.focus))
                << c.dpi << " " << c.minKb;
        }
    }
}

TEST(OutputOptionsWindow, TheBackgroundListStoresItsColourAndAskedForOneStartsFromTheColourInUse) {
    struct Case {
        const char* stored;
        int chosen;           // the list's item picked
        const char* answer;   // the colour dialog's, "" for cancel; unused for the presets
        const char* expected; // what OK stores
        int shownItem;        // the list's item after the pick
        const char* start;    // the colour the dialog started from
    } cases[] = {
        {"#FF0000", 4, "#3366CC", "#3366CC", 4, "#ff0000"},
        {"#123456", 4, "#654321", "#654321", 4, "#123456"},
        {"", 4, "", "", 0, "#ffffff"}, // cancelled: the list goes back to 不更换
        {"#438EDB", 4, "", "#438EDB", 2, "#438edb"},
        {"#438EDB", 1, "", "#FFFFFF", 1, nullptr},
        {"#FFFFFF", 0, "", "", 0, nullptr},
    };
    for (const Case& c : cases) {
        Rig rig(QString::fromUtf8(c.stored));
        if (c.start != nullptr) {
            rig.dialogs.colours.push_back(*c.answer ? std::optional<QColor>(QColor(c.answer))
                                                    : std::nullopt);
        }
        OutputOptionsWindow& window = rig.open();
        QComboBox* list = window.backgroundBox();
        list->setCurrentIndex(c.chosen);
        emit list->activated(c.chosen);
        EXPECT_EQ(list->currentIndex(), c.shownItem) << c.stored << " " << c.chosen;
        if (c.start != nullptr) {
            ASSERT_EQ(rig.dialogs.colourStarts.size(), 1) << c.stored;
            EXPECT_EQ(rig.dialogs.colourStarts[0].name(), QString::fromUtf8(c.start)) << c.stored;
        } else {
            EXPECT_TRUE(rig.dialogs.colourStarts.isEmpty()) << c.stored;
        }
        window.accept();
        EXPECT_EQ(rig.stored("背景颜色"), QString::fromUtf8(c.expected))
            << c.stored << " " << c.chosen;
    }
}

TEST(OutputOptionsWindow, ASaveWritesTheResolutionAndNoMetadataOfTheSource) {
    Rig rig;
    const MainControls& controls = rig.app->window().controls();
    controls.sizeTypeCombo->setCurrentIndex(2); // 学籍/身份证, 350 dpi
    emit controls.sizeTypeCombo->activated(2);
    ASSERT_TRUE(rig.app->workspace().openFile(test::fixturePath("output/with_metadata.jpg")));
    rig.app->workspace().waitForPicture();
    const QString path = rig.dir.filePath("saved.jpg");
    rig.dialogs.files.push_back(path);
    controls.saveButton->click();
    const QByteArray saved = test::readAll(path);
    ASSERT_FALSE(saved.isEmpty());
    EXPECT_EQ(saved.mid(6, 5), QByteArray("JFIF\0", 5));
    EXPECT_EQ(saved[13], 1);
    EXPECT_EQ((uchar(saved[14]) << 8) | uchar(saved[15]), 350);
    // No APP1 (EXIF), APP2 (ICC) or COM segment before the image data.
    const int scan = saved.indexOf("\xff\xda");
    for (const char* marker : {"\xff\xe1", "\xff\xe2", "\xff\xfe"}) {
        const int at = saved.indexOf(marker);
        EXPECT_TRUE(at < 0 || at > scan) << int(uchar(marker[1]));
    }
    EXPECT_FALSE(saved.contains("Portiqa test"));
    EXPECT_FALSE(saved.contains("a comment from the camera"));
}
