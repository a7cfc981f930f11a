#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace portiqa {
namespace {

// The program as it starts: the picture named on the command line, the output size fields
// and the frame all meet in the workspace.
TEST(ProgramWorkspace, CommandLinePictureAndOutputSizeDriveTheFrame) {
    QTemporaryDir dir;
    QImage photo(1200, 1600, QImage::Format_RGB32);
    photo.fill(qRgb(200, 150, 100));
    ASSERT_TRUE(photo.save(dir.filePath("photo.png"), "PNG"));

    test::ScriptedDialogs dialogs;
    LaunchOptions options;
    options.settingsDir = dir.filePath("s");
    options.picture = dir.filePath("photo.png");
    PortiqaApp app(options, &dialogs);
    app.start();
    PhotoWorkspace& photoWorkspace = app.workspace().workspace();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return photoWorkspace.pictureLoaded(); })); // opened once the window is up
    app.workspace().waitForPicture();
    EXPECT_DOUBLE_EQ(photoWorkspace.zoom(), 279.0 / 1600); // the heights decide
    EXPECT_EQ(photoWorkspace.frame().rect(), QRect(125, 34, 160, 210));

    // 学籍/身份证 (358 x 441) is taller than the area: the window grows, the frame is centred.
    QComboBox* sizeType = app.window().controls().sizeTypeCombo;
    sizeType->setCurrentIndex(2);
    emit sizeType->activated(2);
    EXPECT_EQ(photoWorkspace.frame().size(), QSize(358, 441));
    EXPECT_EQ(photoWorkspace.areaSize().height(), 441 + 30);
    EXPECT_EQ(photoWorkspace.frame().topLeft(),
              QPoint(photoWorkspace.areaSize().width() / 2 - 179, 235 - 220));
    EXPECT_EQ(app.window().controls().capturePanel->geometry(), photoWorkspace.frame().rect());
    EXPECT_EQ(app.workspace().captureFramedImage().size(), QSize(358, 441));
}

} // namespace
} // namespace portiqa
