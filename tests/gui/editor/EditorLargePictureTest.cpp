// The editor on a photograph of camera size: a stroke at zoom 2 makes the picture take its
// on-screen resolution (four times the pixels), a later stroke writes into that enlarged
// picture, and both stay undoable and redoable to the exact pixels.

#include "core/editor/EditHistory.h"
#include "gui/app/UpDownEdit.h"
#include "gui/editor/EditorFixture.h"

#include "../../core/workspace/TestPictures.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace portiqa {
namespace {

using test::EditorFixture;

void strokeAcross(EditorFixture& f, QPoint from, QPoint to) {
    f.press(from);
    f.moveHeld((from + to) / 2);
    f.moveHeld(to);
    f.release(to);
}

TEST(EditorLargePicture, TwoStrokesAtZoomTwoUndoAndRedoExactly) {
    EditorFixture f;
    f.photo().showNewPicture(test::patternPicture(6000, 4000)); // 24 MP
    ASSERT_TRUE(f.photo().setZoom(2.0));
    const QImage original = f.photo().picture();
    const QImage originalView = f.photo().view();
    f.openEditor();
    f.tick(f.tools().brushBox);
    f.tools().widthEdit->setText(QStringLiteral("9"));

    strokeAcross(f, {40, 40}, {200, 120});
    const QImage first = f.photo().picture();
    ASSERT_EQ(first.size(), QSize(12000, 8000)); // the on-screen resolution
    EXPECT_DOUBLE_EQ(f.photo().zoom(), 1.0);
    strokeAcross(f, {60, 200}, {300, 60});
    const QImage second = f.photo().picture();
    ASSERT_EQ(second.size(), first.size());
    ASSERT_NE(second, first);
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
    EXPECT_EQ(f.editor().history().undoLevels(), 2);

    f.app->window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.app->window()));
    QTest::keyClick(&f.area(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.photo().picture(), first);
    QTest::keyClick(&f.area(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.photo().picture(), original);
    EXPECT_DOUBLE_EQ(f.photo().zoom(), 2.0);
    EXPECT_EQ(f.photo().view(), originalView);

    QTest::keyClick(&f.area(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(f.photo().picture(), first);
    QTest::keyClick(&f.area(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(f.photo().picture(), second);
}

} // namespace
} // namespace portiqa
