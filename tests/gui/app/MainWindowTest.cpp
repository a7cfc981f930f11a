#include "MainWindowFixture.h"

#include "core/app/AppTexts.h"
#include "core/app/MainCommands.h"
#include "gui/app/AppCommands.h"
#include "gui/app/ColourPickerButton.h"
#include "gui/app/HelpWindow.h"
#include "gui/app/StatusBarWidget.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>

using namespace portiqa;
using portiqa::test::StartedMainWindow;

namespace {

QString shownText(const QWidget* w) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        return edit->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        return label->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return button->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
        return group->title();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
        return combo->currentText();
    }
    return {};
}

} // namespace

TEST(MainWindow, ClientAreaAndTitleAfterStart) {
    StartedMainWindow started;
    EXPECT_EQ(started.window->centralWidget()->size(), QSize(586, 360));
    EXPECT_EQ(started.window->effectiveWidth(), 594);
    EXPECT_EQ(started.window->effectiveHeight(), 414);
    EXPECT_EQ(started.window->windowTitle(), "Portiqa V2.7");
    EXPECT_EQ(started.window->statusHintText(), texts::defaultHint());
    EXPECT_FALSE(started.window->controls().horizontalBar->isEnabled());
    EXPECT_FALSE(started.window->controls().verticalBar->isEnabled());
    EXPECT_TRUE(QDir(started.dir.path() + "/settings").exists());
    started.window->show();
    EXPECT_EQ(started.window->centralWidget()->size(), QSize(586, 360));
}

TEST(MainWindow, EveryControlHasItsNameGeometryAndFirstText) {
    StartedMainWindow started;
    const struct {
        const char16_t* name;
        QRect geometry;
        const char16_t* text;
    } controls[] = {
        {u"工具条1", {0, 0, 590, 49}, u""},
        {u"可视画板", {4, 48, 411, 279}, u""},
        {u"截图画板", {(411 / 2) - 80, (279 / 2) - 105, 160, 210}, u""},
        {u"文字输入编辑框", {307, 78, 12, 18}, u""},
        {u"显图画板", {4, 48, 411, 279}, u""},
        {u"后台画板", {392, 12, 24, 24}, u""},
        {u"横向滚动条", {4, 328, 411, 12}, u""},
        {u"纵向滚动条", {416, 48, 12, 279}, u""},
        {u"头像采集分组框", {432, 48, 152, 292}, u"头像采集"},
        {u"尺寸类型标签", {8, 23, 72, 20}, u"尺寸类型"},
        {u"尺寸类型组合框", {72, 22, 72, 20}, u"默认"},
        {u"宽度标签", {8, 51, 72, 20}, u"宽度(像素)"},
        {u"像素宽编辑框", {72, 51, 54, 20}, u"160"},
        {u"高度标签", {8, 80, 72, 20}, u"高度(像素)"},
        {u"像素高编辑框", {72, 80, 54, 20}, u"210"},
        {u"JPG体积标签", {8, 108, 76, 20}, u"JPG体积(KB)"},
        {u"体积编辑框", {84, 108, 42, 20}, u""},
        {u"小于编辑框", {86, 110, 14, 16}, u"≤"},
        {u"JPG体积编辑框", {100, 110, 24, 16}, u"500"},
        {u"颜色选择标签", {8, 137, 76, 20}, u"采集框颜色"},
        {u"采集框颜色选择器", {84, 137, 60, 20}, u""},
        {u"截图上移按钮", {60, 171, 28, 32}, u"↑"},
        {u"截图左移按钮", {20, 210, 32, 28}, u"←"},
        {u"截图保存按钮", {53, 203, 44, 44}, u"截图"},
        {u"截图右移按钮", {98, 210, 32, 28}, u"→"},
        {u"截图下移按钮", {60, 247, 28, 32}, u"↓"},
        {u"状态条1", {0, 340, 588, 20}, u""},
        {u"焦点框", {364, 16, 216, 20}, u""},
    };
    for (const auto& c : controls) {
        const QString name = QString::fromUtf16(c.name);
        const auto* widget = started.window->findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name.toStdString();
        EXPECT_EQ(widget->geometry(), c.geometry) << name.toStdString();
        EXPECT_EQ(shownText(widget), QString::fromUtf16(c.text)) << name.toStdString();
    }
    const QStringList items = {"默认",  "自定义",    "学籍/身份证", "小1寸",
                               "1寸照", "小2寸普通", "小2寸护照",   "2寸照"};
    QStringList shown;
    for (int i = 0; i < started.window->controls().sizeTypeCombo->count(); ++i) {
        shown << started.window->controls().sizeTypeCombo->itemText(i);
    }
    EXPECT_EQ(shown, items);
    EXPECT_EQ(started.window->controls().colourPicker->colour(), QColor(255, 255, 0));
    EXPECT_EQ(started.window->findChild<QTimer*>("截图时钟")->interval(), 5);
}

TEST(MainWindow, ToolbarHasThirteenEntriesWithCaptionsAndTooltips) {
    StartedMainWindow started;
    const auto& actions = started.window->controls().toolbarActions;
    ASSERT_EQ(actions.size(), 13);
    const QStringList captions = {"",     "打开", "保存", "",     "放大", "缩小", "顺转",
                                  "逆转", "编辑", "",     "拍摄", "帮助", "主页"};
    const QStringList tips = {
        "",           "打开一幅图片", "保存采集框内图片", "",         "放大显示",
        "缩小显示",   "顺时针转90度", "逆时针转90度",     "编辑图象", "",
        "启动摄像头", "使用帮助",     "软件主页"};
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(actions[i]->isSeparator(), captions[i].isEmpty()) << i;
        if (!actions[i]->isSeparator()) {
            EXPECT_EQ(actions[i]->text(), captions[i]) << i;
            EXPECT_EQ(actions[i]->toolTip(), tips[i]) << i;
            EXPECT_EQ(actions[i]->icon().actualSize(QSize(24, 24)), QSize(24, 24)) << i;
        }
    }
}

namespace {

class RecordingCommands : public MainCommands {
public:
    QStringList calls;
    void openPicture() override { calls << "open"; }
    void savePicture() override { calls << "save"; }
    void zoomIn() override { calls << "zoomIn"; }
    void zoomOut() override { calls << "zoomOut"; }
    void turnClockwise() override { calls << "cw"; }
    void turnAnticlockwise() override { calls << "ccw"; }
    void toggleEditor() override { calls << "editor"; }
    void leaveBatchCropMode() override { calls << "leaveBatch"; }
    void openCamera() override { calls << "camera"; }
    void showHelpFile() override { calls << "help"; }
    void openHomepage() override { calls << "home"; }
    void showAbout() override { calls << "about"; }
};

} // namespace

TEST(MainWindow, ToolbarIndicesRouteToTheirCommands) {
    StartedMainWindow started;
    RecordingCommands commands;
    started.window->setCommands(&commands);
    const struct {
        int index;
        QStringList calls;
    } cases[] = {
        {0, {}},
        {1, {"open"}},
        {2, {"save"}},
        {3, {}},
        {4, {"zoomIn"}},
        {5, {"zoomOut"}},
        {6, {"cw"}},
        {7, {"ccw"}},
        {8, {"editor"}},
        {9, {}},
        {10, {"leaveBatch", "camera"}},
        {11, {"help"}},
        {12, {"home"}},
        {13, {}},
        {-1, {}},
        {1000, {}},
    };
    for (const auto& c : cases) {
        commands.calls.clear();
        started.window->dispatchToolbar(c.index);
        EXPECT_EQ(commands.calls, c.calls) << c.index;
    }
    // Clicking the real buttons goes through the same table.
    commands.calls.clear();
    started.window->controls().toolbarActions[6]->trigger();
    started.window->controls().menuCamera->trigger(); // the menu keeps batch crop mode on
    EXPECT_EQ(commands.calls, QStringList({"cw", "camera"}));
}

TEST(MainWindow, HoveringOneControlWritesTheStatusPanelOnce) {
    StartedMainWindow started;
    started.window->show();
    auto* bar = started.window->controls().statusBar;
    QWidget* saveButton = started.window->controls().saveButton;
    const int before = bar->hintWrites();
    for (int i = 0; i < 10; ++i) {
        QTest::mouseMove(saveButton, QPoint(10 + i % 3, 10 + i % 2));
    }
    EXPECT_EQ(bar->hintText(), "保存采集框内图片");
    EXPECT_EQ(bar->hintWrites(), before + 1);
    QTest::mouseMove(started.window->controls().pictureArea, QPoint(30, 30));
    EXPECT_EQ(bar->hintText(), texts::defaultHint());
    EXPECT_EQ(bar->hintWrites(), before + 2);
}

TEST(MainWindow, HoverHintsFollowTheProgramState) {
    StartedMainWindow started;
    MainWindow& w = *started.window;
    bool loaded = false;
    bool hotkeys = false;
    w.hintSources().pictureLoaded = [&] { return loaded; };
    w.hintSources().hotkeysRegistered = [&] { return hotkeys; };
    w.show();
    int step = 0;
    auto hover = [&](QWidget* widget) {
        ++step;
        QTest::mouseMove(widget, QPoint(3 + step % 4, 5));
        return w.statusHintText();
    };
    EXPECT_EQ(hover(w.controls().widthLabel), "设置输出图片宽度");
    EXPECT_EQ(hover(w.controls().sizeLimitEdit), "预设JPG图片输出体积");
    EXPECT_EQ(hover(w.controls().colourPicker), "采集框颜色不会影响输出图片颜色");
    EXPECT_EQ(hover(w.controls().verticalBar), "上下移动图片");
    loaded = true;
    EXPECT_EQ(hover(w.controls().pictureArea), "滚动鼠标滚轮可缩放图片");
    hotkeys = true;
    EXPECT_EQ(hover(w.controls().pictureArea),
              "A键或S键：下一图片   D键或F键：上一图片        滚动鼠标滚轮可缩放图片");
}

TEST(MainWindow, ControlsWithoutAHintLeaveItAndOnlyTheBareClientAreaClearsIt) {
    StartedMainWindow started;
    MainWindow& w = *started.window;
    w.show();
    const MainControls& c = w.controls();
    QTest::mouseMove(c.widthLabel, QPoint(5, 5));
    ASSERT_EQ(w.statusHintText(), "设置输出图片宽度");
    const struct {
        QWidget* widget;
        QPoint at;
        const char* place;
    } quiet[] = {{c.sizeTypeLabel, {4, 6}, "size type label"},
                 {c.settingsGroup, {140, 160}, "group body"},
                 {c.settingsGroup, {20, 3}, "group title"},
                 {c.settingsGroup, {140, 280}, "group bottom"}};
    for (const auto& q : quiet) {
        QTest::mouseMove(q.widget, q.at);
        EXPECT_EQ(w.statusHintText(), "设置输出图片宽度") << q.place;
    }
    // Between the vertical scroll bar and the group: the window's own client area.
    QTest::mouseMove(c.client, QPoint(430, 100));
    EXPECT_EQ(w.statusHintText(), "");
}

TEST(MainWindow, BatchSwitchBandIncludesBothEnds) {
    StartedMainWindow started;
    MainWindow& w = *started.window;
    w.show();
    int switches = 0;
    int settings = 0;
    QObject::connect(&w, &MainWindow::batchSwitchPressed, [&] { ++switches; });
    QObject::connect(&w, &MainWindow::batchSettingsRequested, [&] { ++settings; });
    const int e = w.effectiveWidth();
    const struct {
        int x;
        bool inside;
    } cases[] = {{e - 161, false}, {e - 160, true}, {e - 45, true}, {e - 44, false}};
    for (const auto& c : cases) {
        const int beforeSwitch = switches;
        const int beforeSettings = settings;
        QTest::mouseClick(w.controls().statusBar, Qt::LeftButton, {}, QPoint(c.x, 10));
        QTest::mouseClick(w.controls().statusBar, Qt::RightButton, {}, QPoint(c.x, 10));
        EXPECT_EQ(switches - beforeSwitch, c.inside ? 1 : 0) << c.x;
        EXPECT_EQ(settings - beforeSettings, c.inside ? 1 : 0) << c.x;
    }
    QTest::mouseMove(w.controls().statusBar, QPoint(e - 100, 10));
    EXPECT_EQ(w.statusHintText(), "勾选、右击此选择框可弹出批量截图设置窗口。");
    QTest::mouseMove(w.controls().statusBar, QPoint(20, 10));
    EXPECT_EQ(w.statusHintText(), texts::defaultHint());
}

TEST(MainWindow, AboutShowsFourLinesWithoutIcon) {
    StartedMainWindow started;
    AppCommands commands(*started.window);
    commands.showAbout();
    ASSERT_EQ(started.dialogs.messages.size(), 1);
    const auto& shown = started.dialogs.messages.first();
    EXPECT_EQ(shown.caption, "关于本软件：");
    EXPECT_EQ(shown.icon, MessageIcon::None);
    EXPECT_EQ(shown.buttons, MessageButtons::Ok);
    const QStringList lines = shown.text.split("\r\n");
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "当前版本：V2.7");
    EXPECT_TRUE(lines[1].startsWith("软件作者："));
    EXPECT_TRUE(lines[2].startsWith("电子邮箱："));
    EXPECT_TRUE(lines[3].startsWith("软件主页："));
}

TEST(MainWindow, HelpCommandWritesThePageAndOpensIt) {
    StartedMainWindow started;
    AppCommands commands(*started.window);
    commands.showHelpFile();
    const QString page = started.dir.path() + "/Portiqa使用帮助.html";
    ASSERT_TRUE(QFileInfo::exists(page));
    ASSERT_EQ(started.openedUrls.size(), 1);
    EXPECT_EQ(started.openedUrls.first(), QUrl::fromLocalFile(page));
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains("截图"));
}

TEST(MainWindow, ClosingRunsShutDownAndTheEventLoopEndsWithZero) {
    StartedMainWindow started;
    started.window->show();
    QTimer::singleShot(0, started.window.get(), [&] { started.window->close(); });
    QApplication::setQuitOnLastWindowClosed(true);
    EXPECT_EQ(QApplication::exec(), 0);
}

// When the desktop cannot open them (no launcher at all, or a launcher that finds no browser
// and fails after it started), the help page appears in the program's own window (its title,
// its Chinese text) and the home page's address is shown in a message the operator can type.
TEST(MainWindow, HelpAndHomePageWhenTheDesktopCannotOpenThem) {
    for (const auto opener :
         {StartedMainWindow::Opener::FailsAtOnce, StartedMainWindow::Opener::FailsLater}) {
        SCOPED_TRACE(static_cast<int>(opener));
        StartedMainWindow started;
        started.opener = opener;
        AppCommands commands(*started.window);

        commands.showHelpFile();
        QCoreApplication::processEvents();
        HelpWindow* help = commands.helpWindow();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->windowTitle(), "Portiqa 使用帮助");
        EXPECT_TRUE(help->browser().toPlainText().contains("批量截图"));
        EXPECT_EQ(help->browser().source(),
                  QUrl::fromLocalFile(started.dir.path() + "/Portiqa使用帮助.html"));
        commands.showHelpFile(); // a second request reuses the window
        QCoreApplication::processEvents();
        EXPECT_EQ(commands.helpWindow(), help);
        EXPECT_TRUE(started.dialogs.messages.isEmpty());

        commands.openHomepage();
        QCoreApplication::processEvents();
        ASSERT_EQ(started.dialogs.messages.size(), 1);
        EXPECT_EQ(started.dialogs.messages[0].caption, "提示");
        EXPECT_TRUE(started.dialogs.lastText().endsWith(texts::homepage()))
            << started.dialogs.lastText().toStdString();
    }
}

TEST(MainWindow, NothingOfItsOwnWhenTheDesktopOpensThePages) {
    StartedMainWindow started;
    AppCommands commands(*started.window);
    commands.showHelpFile();
    commands.openHomepage();
    QCoreApplication::processEvents();
    EXPECT_EQ(commands.helpWindow(), nullptr);
    EXPECT_TRUE(started.dialogs.messages.isEmpty());
    ASSERT_EQ(started.openedUrls.size(), 2);
    EXPECT_EQ(started.openedUrls[1], QUrl(texts::homepage()));
}

TEST(MainWindow, HelpPageShownFromTheProgramWhenItCannotBeWrittenOut) {
    StartedMainWindow started;
    AppCommands commands(*started.window);
    // A folder in the page's place: the page cannot be written, so nothing goes to the desktop
    // (it would show its own "file not found") and the carried copy is shown instead.
    ASSERT_TRUE(QDir(started.dir.path()).mkpath("Portiqa使用帮助.html"));

    commands.showHelpFile();
    EXPECT_TRUE(started.openedUrls.isEmpty());
    ASSERT_NE(commands.helpWindow(), nullptr);
    EXPECT_EQ(commands.helpWindow()->windowTitle(), "Portiqa 使用帮助");
}
