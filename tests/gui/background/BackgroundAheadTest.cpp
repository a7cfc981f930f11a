// A batch run with the face framing and a background colour on: the next picture's
// background is worked out while it is read ahead, so it is shown replaced at once.

#include "BackgroundBatchRun.h"

#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/PicturePrefetcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace portiqa {
namespace {

TEST(BackgroundAhead, TheNextPictureIsShownWithItsBackgroundReplaced) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("in"));
    const QString faces = QStringLiteral(PORTIQA_FIXTURES "/faces/");
    ASSERT_TRUE(QFile::copy(faces + "franck_02159_0.jpg", dir.filePath("in/a.jpg")));
    ASSERT_TRUE(QFile::copy(faces + "bald_guys_2.jpg", dir.filePath("in/b.jpg")));
    test::BackgroundBatchRun run(QDir(dir.path()), QStringLiteral("#FFFFFF"));
    PortiqaApp& app = *run.app;
    test::ScriptedDialogs& dialogs = run.dialogs;
    const bool atB = app.window().windowTitle().contains(QStringLiteral("b.jpg"));
    const QString other = dir.filePath(atB ? "in/a.jpg" : "in/b.jpg");
    PhotoWorkspace& photo = app.workspace().workspace();
    ASSERT_TRUE(QTest::qWaitFor([&] { return photo.frameReplaced(); }, 10000));

    const auto next = app.batchCrop().prefetcher().find(other);
    ASSERT_TRUE(next);
    PicturePrefetcher::wait(next);
    QCoreApplication::processEvents();  // the read-ahead's result reaches the window
    app.batchCrop().hotkeyPressed('S'); // the task's next picture, read ahead
    ASSERT_TRUE(app.window().windowTitle().contains(QFileInfo(other).fileName()))
        << app.window().windowTitle().toStdString() << dialogs.lastText().toStdString();
    EXPECT_TRUE(photo.frameReplaced()); // when the key returns, no wait
}

} // namespace
} // namespace portiqa
