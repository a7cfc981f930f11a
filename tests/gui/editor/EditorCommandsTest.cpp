// The editor inside the program's commands: the commands that write a typed line first, those
// that drop it or leave it alone, and the undo history of committed edits.

#include "gui/app/ColourPickerButton.h"
#include "gui/app/UpDownEdit.h"
#include "gui/editor/EditorFixture.h"

#include "../../core/workspace/TestPictures.h"

#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace portiqa {
namespace {

using test::EditorFixture;

// Every command that must write a pending line first does so; the text tool stays on except
// for the save, which ends it.
TEST(EditorCommands, CommandsWriteAPendingLineFirst) {
    struct Command {
        const char* name;
        std::function<void(EditorFixture&)> run;
        EditorTool toolAfter;
    };
    const Command commands[] = {
        {"toolbar 放大", [](EditorFixture& f) { f.app->window().dispatchToolbar(4); },
         EditorTool::Text},
        {"toolbar 缩小", [](EditorFixture& f) { f.app->window().dispatchToolbar(5); },
         EditorTool::Text},
        {"scroll bar",
         [](EditorFixture& f) {
             QScrollBar* bar = f.app->window().controls().horizontalBar;
             bar->setValue(bar->value() + 7);
         },
         EditorTool::Text},
        {"frame move button",
         [](EditorFixture& f) {
             QPushButton* up = f.app->window().controls().moveUpButton;
             EditorFixture::send(up, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton,
                                 Qt::LeftButton);
             EditorFixture::send(up, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton,
                                 Qt::NoButton);
         },
         EditorTool::Text},
        {"frame colour",
         [](EditorFixture& f) {
             emit f.app->window().controls().colourPicker->colourChosen(QColor(Qt::red));
         },
         EditorTool::Text},
        {"size type",
         [](EditorFixture& f) {
             QComboBox* sizeType = f.app->window().controls().sizeTypeCombo;
             sizeType->setCurrentIndex(3);
             emit sizeType->activated(3);
         },
         EditorTool::Text},
        {"width edit",
         [](EditorFixture& f) {
             f.app->window().controls().widthEdit->setText(QStringLiteral("150"));
         },
         EditorTool::Text},
        {"save",
         [](EditorFixture& f) {
             f.batchMode = false; // the normal save, through its dialog
             f.dialogs.files.push_back(f.dir.filePath(QStringLiteral("out.png")));
             f.app->window().dispatchToolbar(2);
             EXPECT_TRUE(QFileInfo::exists(f.dir.filePath(QStringLiteral("out.png"))));
         },
         EditorTool::None},
    };
    for (const Command& command : commands) {
        SCOPED_TRACE(command.name);
        EditorFixture f;
        f.batchMode = true;
        f.showGreyPicture(QSize(800, 600));
        f.photo().setZoom(1.0); // both directions scroll
        f.openEditor();
        f.typeLineAt(f.photo().frame().rect().center(), QStringLiteral("Lee"));
        const int restoredBefore = f.restored;
        command.run(f);
        EXPECT_FALSE(f.editor().textTool().boxVisible());
        EXPECT_EQ(f.entry().text(), QString());
        EXPECT_EQ(f.editor().history().undoLevels(), 1);
        EXPECT_EQ(f.editor().activeTool(), command.toolAfter);
        // Only leaving the tool gives the batch keys back (the save's own moment is in the
        // hotkey table).
        EXPECT_EQ(f.restored - restoredBefore, 0);
    }
}

// A new picture from a file or the camera drops the line; a turn and a paste keep it typed.
TEST(EditorCommands, NewPicturesDropThePendingLineTurnsKeepIt) {
    struct Case {
        const char* name;
        std::function<void(EditorFixture&)> run;
        bool kept;
    };
    const Case cases[] = {
        {"open file",
         [](EditorFixture& f) {
             const QString path = f.dir.filePath(QStringLiteral("next.png"));
             test::patternPicture(120, 90).save(path);
             f.app->workspace().openFile(path);
             ASSERT_TRUE(
                 QTest::qWaitFor([&] { return f.photo().pictureSize() == QSize(120, 90); }));
             f.app->workspace().waitForPicture();
         },
         false},
        {"camera photo", [](EditorFixture& f) { f.app->links().discardPendingText(); }, false},
        {"turn", [](EditorFixture& f) { f.app->window().dispatchToolbar(6); }, true},
        {"paste", [](EditorFixture& f) { f.app->workspace().sources().pastePicture(QImage()); },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFixture f;
        f.showGreyPicture();
        f.openEditor();
        f.typeLineAt(f.photo().offset() + QPoint(20, 30), QStringLiteral("Lee"));
        c.run(f);
        EXPECT_EQ(f.editor().textTool().boxVisible(), c.kept);
        EXPECT_EQ(f.entry().text(), c.kept ? QStringLiteral("Lee") : QString());
        EXPECT_EQ(f.editor().history().undoLevels(), 0);
    }
}

// Undo gives back the exact picture, zoom and view of before the edit; redo the edit.
TEST(EditorUndo, UndoAndRedoRestoreExactPixelsZoomAndView) {
    EditorFixture f;
    f.photo().showNewPicture(test::patternPicture(900, 700));
    const QImage original = f.photo().picture();
    const double fitZoom = f.photo().zoom();
    ASSERT_LT(fitZoom, 1.0);
    f.openEditor();
    f.tick(f.tools().brushBox);
    f.tools().widthEdit->setText(QStringLiteral("6"));
    const QPoint start = f.photo().offset() + QPoint(30, 30);
    f.press(start);
    f.moveHeld(start + QPoint(80, 40));
    f.release(start + QPoint(80, 40));
    const QImage stroked = f.photo().picture();
    const QImage strokedView = f.photo().view();
    EXPECT_DOUBLE_EQ(f.photo().zoom(), 1.0);

    f.typeLineAt(f.photo().offset() + QPoint(40, 120), QStringLiteral("张三"));
    emit f.entry().returnPressed();
    const QImage written = f.photo().picture();
    EXPECT_NE(written, stroked);
    EXPECT_EQ(f.editor().history().undoLevels(), 2);

    f.app->window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.app->window()));
    QTest::keyClick(&f.area(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.photo().picture(), stroked);
    f.editor().undo();
    EXPECT_EQ(f.photo().picture(), original);
    EXPECT_DOUBLE_EQ(f.photo().zoom(), fitZoom);
    f.editor().undo(); // nothing further back
    EXPECT_EQ(f.photo().picture(), original);

    QTest::keyClick(&f.area(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(f.photo().picture(), stroked);
    EXPECT_EQ(f.photo().view(), strokedView);
    QTest::keyClick(&f.area(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(f.photo().picture(), written);

    // A new picture starts a history of its own.
    f.showGreyPicture();
    EXPECT_FALSE(f.editor().history().canUndo());
    EXPECT_FALSE(f.editor().history().canRedo());
}

} // namespace
} // namespace portiqa
