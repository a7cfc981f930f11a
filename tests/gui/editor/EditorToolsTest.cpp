#include "core/editor/BrushRaster.h"
#include "gui/app/ColourPickerButton.h"
#include "gui/app/UpDownEdit.h"
#include "gui/editor/ColourChartBox.h"
#include "gui/editor/EditorFixture.h"

#include <QFont>
#include <QGroupBox>
#include <QToolBar>

#include <gtest/gtest.h>

#include <functional>

namespace portiqa {
namespace {

using test::EditorFixture;

TEST(EditorWindowTest, ToggleNeedsAPictureAndFollowsTheMainWindow) {
    EditorFixture f;
    f.editor().toggleEditor();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(f.dialogs.messages[0].text,
              QStringLiteral("请打开一张图片或拍照一幅图象再进行操作。"));
    EXPECT_FALSE(f.tools().isVisible());

    f.showGreyPicture();
    f.app->window().dispatchToolbar(8); // 编辑
    EXPECT_TRUE(f.editor().editorOpen());
    EXPECT_TRUE(f.tools().isVisible());
    EXPECT_EQ(f.tools().size(), QSize(75, 318));
    EXPECT_EQ(f.tools().pos(), f.app->window().pos() + QPoint(-75, 75));
    f.app->window().move(f.app->window().pos() + QPoint(30, 20));
    EXPECT_EQ(f.tools().pos(), f.app->window().pos() + QPoint(-75, 75));

    f.tick(f.tools().brushBox);
    f.app->window().controls().menuEdit->trigger(); // 文件 → 编辑 hides it
    EXPECT_FALSE(f.tools().isVisible());
    EXPECT_EQ(f.editor().activeTool(), EditorTool::None);
    EXPECT_FALSE(f.tools().brushBox->isChecked());
    EXPECT_EQ(f.area().cursor().shape(), Qt::ArrowCursor);
}

// Ticking a box switches the others off; the text tool gives the batch keys up while it is on
// and takes them back when it is left.
TEST(EditorWindowTest, ToolsAreExclusiveAndTheTextToolHoldsTheBatchKeys) {
    EditorFixture f;
    f.batchMode = true;
    f.showGreyPicture();
    f.openEditor();
    f.dialogs.fonts.push_back(QFont(QStringLiteral("宋体"), 14));
    struct Step {
        const char* name;
        std::function<void(EditorFixture&)> act;
        EditorTool tool;
        int released;
        int restored;
        Qt::CursorShape cursor;
    };
    auto tickBox = [](QCheckBox* EditorWindow::*box) {
        return [box](EditorFixture& x) { x.tick(x.tools().*box); };
    };
    const Step steps[] = {
        {"brush", tickBox(&EditorWindow::brushBox), EditorTool::Brush, 0, 0, Qt::BitmapCursor},
        {"text", tickBox(&EditorWindow::textBox), EditorTool::Text, 1, 0, Qt::IBeamCursor},
        {"eyedropper", tickBox(&EditorWindow::eyedropperBox), EditorTool::Eyedropper, 1, 1,
         Qt::BitmapCursor},
        {"text again", tickBox(&EditorWindow::textBox), EditorTool::Text, 2, 1, Qt::IBeamCursor},
        {"untick text", tickBox(&EditorWindow::textBox), EditorTool::None, 2, 2, Qt::ArrowCursor},
        {"text", tickBox(&EditorWindow::textBox), EditorTool::Text, 3, 2, Qt::IBeamCursor},
        {"right click on the picture",
         [](EditorFixture& x) {
             x.press({50, 50}, Qt::RightButton);
         },
         EditorTool::None, 3, 3, Qt::ArrowCursor},
        {"eyedropper", tickBox(&EditorWindow::eyedropperBox), EditorTool::Eyedropper, 3, 3,
         Qt::BitmapCursor},
        {"untick eyedropper", tickBox(&EditorWindow::eyedropperBox), EditorTool::None, 3, 3,
         Qt::ArrowCursor},
        {"font chosen", [](EditorFixture& x) { x.editor().chooseFont(); }, EditorTool::Text, 4, 3,
         Qt::IBeamCursor},
        {"brush over text", tickBox(&EditorWindow::brushBox), EditorTool::Brush, 4, 4,
         Qt::BitmapCursor},
        {"text", tickBox(&EditorWindow::textBox), EditorTool::Text, 5, 4, Qt::IBeamCursor},
        {"window hidden", [](EditorFixture& x) { x.editor().toggleEditor(); }, EditorTool::None, 5,
         5, Qt::ArrowCursor},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act(f);
        EXPECT_EQ(f.editor().activeTool(), step.tool);
        EXPECT_EQ(f.tools().brushBox->isChecked(), step.tool == EditorTool::Brush);
        EXPECT_EQ(f.tools().textBox->isChecked(), step.tool == EditorTool::Text);
        EXPECT_EQ(f.tools().eyedropperBox->isChecked(), step.tool == EditorTool::Eyedropper);
        EXPECT_EQ(f.released, step.released);
        EXPECT_EQ(f.restored, step.restored);
        EXPECT_EQ(f.area().cursor().shape(), step.cursor);
    }
    EXPECT_EQ(f.editor().textTool().characterCell().height(),
              QFontMetrics(f.editor().textTool().font()).height());
}

TEST(EditorWindowTest, BatchKeysAreNotTakenBackOutsideBatchCropMode) {
    EditorFixture f;
    f.showGreyPicture();
    f.openEditor();
    f.tick(f.tools().textBox);
    f.tick(f.tools().textBox);
    EXPECT_EQ(f.released, 1);
    EXPECT_EQ(f.restored, 0);
}

// A press leaves a disc exactly w pixels across (none for w = 1) in the committed picture.
TEST(BrushTool, PressCommitsADiscOfTheBrushBox) {
    for (int width : {5, 4, 1}) {
        SCOPED_TRACE(width);
        EditorFixture f;
        f.showGreyPicture();
        const QImage before = f.photo().picture();
        const QPoint offset = f.photo().offset();
        f.openEditor();
        f.tick(f.tools().brushBox);
        f.tools().widthEdit->setText(QString::number(width));
        EXPECT_EQ(f.tools().widthBar->height(), width);
        const QPoint at = offset + QPoint(40, 30);
        f.click(at);
        const QImage after = f.photo().picture();
        ASSERT_EQ(after.size(), before.size());
        if (width == 1) {
            EXPECT_EQ(after, before);
        } else {
            EXPECT_EQ(test::boundsOf(after, 0xFF000000),
                      BrushRaster::brushBox(QPoint(40, 30), width));
        }
        EXPECT_EQ(f.editor().history().undoLevels(), 1);
    }
}

// A commit that would make the picture too large is refused with a message, and the view goes
// back to what the picture holds instead of showing an edit that was not kept.
TEST(BrushTool, RefusedCommitIsToldAndTheViewShowsThePicture) {
    EditorFixture f;
    f.showGreyPicture(QSize(1000, 1000));
    ASSERT_TRUE(f.photo().setZoom(15.0)); // 15000 x 15000 zoomed: over the commit limit
    f.openEditor();
    f.tick(f.tools().brushBox);
    f.tools().widthEdit->setText(QStringLiteral("9"));
    f.click({100, 100});
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(f.photo().pictureSize(), QSize(1000, 1000));
    EXPECT_TRUE(test::boundsOf(f.photo().view(), 0xFF000000).isNull());
    EXPECT_FALSE(f.editor().history().canUndo());
}

TEST(BrushTool, HoverOutlineIsOnTheViewOnly) {
    EditorFixture f;
    f.showGreyPicture();
    f.openEditor();
    f.tick(f.tools().brushBox);
    f.tools().widthEdit->setText(QStringLiteral("7"));
    const QPoint at = f.photo().offset() + QPoint(60, 60);
    f.hover(&f.area(), at);
    EXPECT_EQ(test::boundsOf(f.photo().view(), 0xFF000000), BrushRaster::brushBox(at, 7));
    EXPECT_TRUE(test::boundsOf(f.photo().composition(), 0xFF000000).isNull());
    f.tick(f.tools().brushBox); // unticking removes it
    EXPECT_TRUE(test::boundsOf(f.photo().view(), 0xFF000000).isNull());
}

// A release the picture area never saw (the button came up outside the program) leaves the
// stroke pending until the pointer first moves over the toolbar.
TEST(BrushTool, StrokeReleasedElsewhereCommitsAtTheFirstMoveOverTheToolbar) {
    EditorFixture f;
    f.showGreyPicture(QSize(400, 270));
    f.photo().setZoom(0.5); // the commit makes the display the picture: 200 x 135
    f.openEditor();
    f.tick(f.tools().brushBox);
    f.tools().widthEdit->setText(QStringLiteral("3"));
    const QPoint start = f.photo().offset() + QPoint(20, 20);
    f.press(start);
    f.moveHeld(start + QPoint(60, 0));
    QToolBar* toolbar = f.app->window().controls().toolbar;
    EXPECT_TRUE(f.editor().strokeHeld());
    EXPECT_EQ(f.photo().pictureSize(), QSize(400, 270));

    f.hover(toolbar, {6, 5});
    EXPECT_FALSE(f.editor().strokeHeld());
    EXPECT_EQ(f.photo().pictureSize(), QSize(200, 135));
    EXPECT_EQ(test::boundsOf(f.photo().picture(), 0xFF000000),
              QRect(QPoint(19, 19), QPoint(81, 21)));
}

TEST(TextTool, BoxGrowsByBytesAndEnterWritesTheLineAndMovesDown) {
    EditorFixture f;
    f.showGreyPicture();
    f.openEditor();
    f.tick(f.tools().textBox);
    const QPoint offset = f.photo().offset();
    const QPoint at = offset + QPoint(30, 40);
    f.click(at);
    ASSERT_TRUE(f.editor().textTool().boxVisible());
    EXPECT_EQ(f.entry().pos(), at + QPoint(0, -12 + 4));
    EXPECT_EQ(f.app->window().statusHintText(), QString());
    f.hover(&f.area(), at + QPoint(50, 50)); // the picture area leaves the hint while typing
    EXPECT_EQ(f.app->window().statusHintText(), QString());
    f.entry().setText(QStringLiteral("ab"));
    EXPECT_EQ(f.entry().width(), 24);
    f.entry().setText(QStringLiteral("中文"));
    EXPECT_EQ(f.entry().width(), 36);

    const QPoint top = f.entry().pos();
    const int height = f.entry().height();
    const QImage blank = f.photo().picture();
    emit f.entry().returnPressed();
    EXPECT_EQ(f.entry().text(), QString());
    EXPECT_EQ(f.entry().pos(), top + QPoint(0, height));
    EXPECT_EQ(f.editor().history().undoLevels(), 1);
    // The line lies from 3 pixels below the box's top, inside the box's columns.
    const QRect ink = test::changedBounds(blank, f.photo().picture());
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.top(), top.y() + 3 - offset.y());
    EXPECT_LE(ink.bottom(), top.y() + 3 + 12 - offset.y());
    EXPECT_GE(ink.left(), top.x() - offset.x());
    EXPECT_LE(ink.right(), top.x() - offset.x() + 36);

    // Enter on an empty box commits nothing and moves one more line down.
    const QImage written = f.photo().picture();
    emit f.entry().returnPressed();
    EXPECT_EQ(f.entry().pos(), top + QPoint(0, 2 * height));
    EXPECT_EQ(f.photo().picture(), written);
    EXPECT_EQ(f.editor().history().undoLevels(), 1);
}

TEST(TextTool, ClickElsewhereWritesTheLineAndRightClickOnTheBoxEndsTheTool) {
    EditorFixture f;
    f.showGreyPicture();
    f.openEditor();
    const QPoint offset = f.photo().offset();
    f.typeLineAt(offset + QPoint(20, 30), QStringLiteral("Hi"));
    f.click(offset + QPoint(20, 90));
    EXPECT_EQ(f.editor().history().undoLevels(), 1);
    EXPECT_EQ(f.entry().pos(), offset + QPoint(20, 82));
    f.entry().setText(QStringLiteral("Yo"));
    EditorFixture::send(&f.entry(), QEvent::MouseButtonPress, {2, 2}, Qt::RightButton,
                        Qt::RightButton);
    EXPECT_EQ(f.editor().activeTool(), EditorTool::None);
    EXPECT_FALSE(f.editor().textTool().boxVisible());
    EXPECT_EQ(f.editor().history().undoLevels(), 2);
}

// A font chosen in points is written into the picture at the size the box shows it.
TEST(TextTool, ChosenFontWritesAtTheBoxSize) {
    EditorFixture f;
    f.showGreyPicture(QSize(400, 270));
    f.openEditor();
    QFont chosen(QStringLiteral("宋体"));
    chosen.setPointSize(20);
    f.dialogs.fonts.push_back(chosen);
    f.editor().chooseFont();
    ASSERT_TRUE(f.editor().textActive());
    const QSize cell = f.editor().textTool().characterCell();
    EXPECT_EQ(cell.height(), QFontMetrics(f.entry().font()).height());
    EXPECT_GT(cell.height(), 20);
    const QImage blank = f.photo().picture();
    f.typeLineAt(f.photo().offset() + QPoint(20, 60), QStringLiteral("中"));
    EXPECT_EQ(f.entry().height(), cell.height() + 6);
    emit f.entry().returnPressed();
    const QRect ink = test::changedBounds(blank, f.photo().picture());
    EXPECT_GT(ink.height(), cell.height() / 2);
    EXPECT_LE(ink.height(), cell.height());
}

TEST(EditorColour, EyedropperPicksTheFrameOutlineAndTheChartItsShownColour) {
    EditorFixture f;
    f.showGreyPicture(QSize(400, 270));
    f.openEditor();
    f.tick(f.tools().eyedropperBox);
    const QRect frame = f.photo().frame().rect();
    f.press(frame.topLeft() - QPoint(1, 1)); // on the outline
    const QColor frameColour = f.photo().frame().colour();
    EXPECT_EQ(f.editor().colour(), frameColour);
    EXPECT_EQ(f.tools().picker->colour(), frameColour);
    const QPalette box = f.entry().palette();
    EXPECT_EQ(box.color(QPalette::Text), frameColour);
    EXPECT_EQ(box.color(QPalette::Base).rgb() & 0xFFFFFF, ~frameColour.rgb() & 0xFFFFFF);

    const QPoint onChart(30, 70);
    const QColor chartColour = f.tools().chart->colourAt(onChart);
    ASSERT_TRUE(chartColour.isValid());
    EditorFixture::send(f.tools().chart, QEvent::MouseButtonPress, onChart, Qt::LeftButton,
                        Qt::LeftButton);
    EXPECT_EQ(f.editor().colour(), chartColour);
    EXPECT_EQ(f.tools().picker->colour(), chartColour);

    f.editor().applyColour(QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(f.entry().palette().color(QPalette::Base), QColor(Qt::white));
}

TEST(EditorHints, ToolWindowControlsSetTheirHints) {
    EditorFixture f;
    f.showGreyPicture();
    f.openEditor();
    struct Case {
        QWidget* widget;
        QString hint;
    };
    f.app->window().setStatusHint(QStringLiteral("x"));
    const Case cases[] = {
        {f.tools().brushBox, QStringLiteral("画笔工具")},
        {f.tools().textBox, QStringLiteral("文字工具，右击文字工具按钮可设置字体。")},
        {f.tools().eyedropperBox, QStringLiteral("吸取颜色")},
        {f.tools().widthEdit, QStringLiteral("设置画笔粗细")},
        {f.tools().picker, QStringLiteral("设置画笔及文字颜色")},
        {f.tools().chart, QStringLiteral("选取画笔文字颜色")},
        {f.tools().widthGroup, QStringLiteral("选取画笔文字颜色")}, // group boxes leave it
        {&f.tools(), QString()},
    };
    int moment = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hint.toStdString());
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), c.widget->mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        move.setTimestamp(++moment);
        QApplication::sendEvent(c.widget, &move);
        EXPECT_EQ(f.app->window().statusHintText(), c.hint);
    }
}

} // namespace
} // namespace portiqa
