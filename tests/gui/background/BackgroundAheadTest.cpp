// A batch run with the face framing and a background colour on: the next picture's
// background is worked out while it is read ahead, so it is shown replaced at once.

#include "BackgroundBatchRun.h"

#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/PicturePrefetcher.h"
#include "gui/background/BackgroundFeature.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>

#include <gtest/gtest.h>

namespace portiqa {
namespace {

// A batch run on two portraits in white, with the picture not on show read ahead.
struct AheadRun {
    QTemporaryDir dir;
    std::unique_ptr<test::BackgroundBatchRun> run;
    QString other; // the picture read ahead

    AheadRun() {
        QDir().mkpath(dir.filePath("in"));
        const QString faces = QStringLiteral(PORTIQA_FIXTURES "/faces/");
        QFile::copy(faces + "franck_02159_0.jpg", dir.filePath("in/a.jpg"));
        QFile::copy(faces + "bald_guys_2.jpg", dir.filePath("in/b.jpg"));
        run =
            std::make_unique<test::BackgroundBatchRun>(QDir(dir.path()), QStringLiteral("#FFFFFF"));
        const bool atB = app().window().windowTitle().contains(QStringLiteral("b.jpg"));
        other = dir.filePath(atB ? "in/a.jpg" : "in/b.jpg");
    }
    PortiqaApp& app() { return *run->app; }
    PhotoWorkspace& photo() { return app().workspace().workspace(); }
    // Waits for the picture on show to be replaced and the other to be read ahead.
    bool readAhead() {
        if (!QTest::qWaitFor([&] { return photo().frameReplaced(); }, 10000)) {
            return false;
        }
        const auto next = app().batchCrop().prefetcher().find(other);
        if (!next) {
            return false;
        }
        PicturePrefetcher::wait(next);
        QCoreApplication::processEvents(); // the read-ahead's result reaches the window
        return true;
    }
    bool showingOther() {
        return app().window().windowTitle().contains(QFileInfo(other).fileName());
    }
    QRgb frameCorner() {
        return photo().view().pixel(photo().frame().rect().topLeft() + QPoint(3, 3));
    }
};

TEST(BackgroundAhead, TheNextPictureIsShownWithItsBackgroundReplaced) {
    AheadRun ahead;
    ASSERT_TRUE(ahead.readAhead());
    ahead.app().batchCrop().hotkeyPressed('S'); // the task's next picture, read ahead
    ASSERT_TRUE(ahead.showingOther()) << ahead.run->dialogs.lastText().toStdString();
    EXPECT_TRUE(ahead.photo().frameReplaced()); // when the key returns, no wait
    EXPECT_EQ(ahead.frameCorner() | 0xff000000u, qRgb(255, 255, 255));
}

TEST(BackgroundAhead, AColourChosenAfterTheReadAheadIsTheOneTheNextPictureGets) {
    AheadRun ahead;
    ASSERT_TRUE(ahead.readAhead());
    ahead.app().background().setColour(BackgroundColour::red(), false);
    ahead.app().batchCrop().hotkeyPressed('S');
    ASSERT_TRUE(ahead.showingOther());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ahead.photo().frameReplaced(); }, 10000));
    EXPECT_EQ(ahead.frameCorner() | 0xff000000u, qRgb(255, 0, 0));
}

} // namespace
} // namespace portiqa
