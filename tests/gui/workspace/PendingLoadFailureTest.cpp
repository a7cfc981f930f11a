// A load in flight meets a second picture source that fails (or succeeds): whatever stage the
// load had reached, the workspace ends on a full picture, never on the preview.

#include "core/image/PictureDecoder.h"
#include "core/output/JpegWriter.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/TestPictures.h"
#include "gui/workspace/PictureAreaWidget.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QLineEdit>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>

namespace portiqa {
namespace {

using Stage = WorkspaceLoader::Stage;

enum class LoadStage { Decoding, PreviewShown, PyramidBuilding };
enum class Second { PasteEmptyClipboard, OpenBrokenFile, DropBrokenFile, PastePicture };

// Holds the first load that reaches `stage` until released.
struct StageGate {
    Stage stage = Stage::FullDecode;
    std::atomic<bool> armed{true};
    QSemaphore hold;

    std::function<void(Stage)> hook() {
        return [this](Stage reached) {
            if (reached == stage && armed.exchange(false)) {
                hold.acquire();
            }
        };
    }
    void release() { hold.release(4); }
};

// A window with the picture area and its scroll bars around one controller.
struct Workspace {
    test::ScriptedDialogs dialogs;
    QWidget window;
    QFrame* host = new QFrame(&window);
    QScrollBar* horizontal = new QScrollBar(Qt::Horizontal, &window);
    QScrollBar* vertical = new QScrollBar(Qt::Vertical, &window);
    std::unique_ptr<WorkspaceController> controller;

    Workspace() {
        window.resize(586, 360);
        host->setGeometry(4, 48, 411, 279);
        controller = std::make_unique<WorkspaceController>(dialogs, host);
        controller->attachScrollBars(horizontal, vertical);
        controller->layoutMainWindow(594, 414);
        window.show();
    }
    PhotoWorkspace& workspace() { return controller->workspace(); }
};

struct Snapshot {
    QImage picture;
    double zoom;
    QPoint scroll;
    QImage view;
};

Snapshot snapshot(PhotoWorkspace& workspace) {
    return {workspace.picture(), workspace.zoom(), workspace.scrollPosition(),
            workspace.view().copy()};
}

class PendingLoadFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        // Large enough that the loader shows a scaled preview first.
        largePath = folder.filePath(QStringLiteral("large.jpg"));
        const std::optional<QByteArray> jpeg = encodeJpeg(test::patternPicture(1600, 1200), 90);
        ASSERT_TRUE(jpeg && test::writeAll(largePath, *jpeg));
        brokenPath = test::fixturePath(QStringLiteral("image/truncated.jpg"));
    }

    QTemporaryDir folder;
    QString largePath;
    QString brokenPath;
};

TEST_F(PendingLoadFailureTest, EndsOnThePreviousOrTheNewFullPicture) {
    const QImage largePicture = PictureDecoder().decodeFile(largePath).image;
    const QImage pasted = test::patternPicture(90, 70);
    ASSERT_FALSE(largePicture.isNull());

    for (const LoadStage stage :
         {LoadStage::Decoding, LoadStage::PreviewShown, LoadStage::PyramidBuilding}) {
        for (const Second second : {Second::PasteEmptyClipboard, Second::OpenBrokenFile,
                                    Second::DropBrokenFile, Second::PastePicture}) {
            const auto label = ::testing::Message()
                               << "stage " << int(stage) << ", second " << int(second);
            StageGate gate; // outlives the workspace, whose workers may still call it
            Workspace w;
            // A failed assertion must not leave a worker held while the workspace waits for it.
            const auto releaseOnExit = qScopeGuard([&gate] { gate.release(); });
            gate.stage =
                stage == LoadStage::PyramidBuilding ? Stage::PyramidBuild : Stage::FullDecode;
            w.controller->loader().setStageHook(gate.hook());
            w.controller->loader().pictureLoader().setPreviewBesideFull(false);

            // The picture before: zoomed and scrolled away from the middle.
            ASSERT_TRUE(w.workspace().showNewPicture(test::patternPicture(900, 700)));
            ASSERT_TRUE(w.workspace().setZoom(0.9));
            w.workspace().applyScroll(37, 21);
            const Snapshot before = snapshot(w.workspace());

            w.controller->openFile(largePath);
            if (stage == LoadStage::PreviewShown) {
                ASSERT_TRUE(QTest::qWaitFor([&] { return w.workspace().showingPreview(); }))
                    << "no preview";
            } else if (stage == LoadStage::PyramidBuilding) {
                ASSERT_TRUE(QTest::qWaitFor([&] {
                    return !w.controller->loader().pictureLoader().isLoading();
                })) << "no decode";
                ASSERT_TRUE(w.controller->loader().isLoading()) << label;
            }

            switch (second) {
            case Second::PasteEmptyClipboard:
                QGuiApplication::clipboard()->clear();
                w.controller->pasteFromClipboard();
                break;
            case Second::OpenBrokenFile:
                w.dialogs.files.push_back(brokenPath);
                w.controller->openPicture();
                break;
            case Second::DropBrokenFile:
                w.controller->dropUrls({QUrl::fromLocalFile(brokenPath)});
                break;
            case Second::PastePicture:
                QGuiApplication::clipboard()->setImage(pasted);
                w.controller->pasteFromClipboard();
                break;
            }
            gate.release();
            w.controller->waitForPicture();
            QTest::qWait(20); // late results of a superseded load must change nothing

            EXPECT_FALSE(w.workspace().showingPreview()) << label;
            EXPECT_FALSE(w.controller->loader().isLoading()) << label;
            EXPECT_EQ(w.dialogs.messages.size(), second == Second::PastePicture ? 0 : 1) << label;
            if (second == Second::PasteEmptyClipboard) {
                // The refused paste leaves the load to finish.
                EXPECT_TRUE(w.workspace().picture() == largePicture) << label;
                EXPECT_EQ(w.workspace().pictureSize(), QSize(1600, 1200)) << label;
            } else if (second == Second::PastePicture) {
                EXPECT_TRUE(w.workspace().picture() == pasted) << label;
            } else {
                const Snapshot after = snapshot(w.workspace());
                EXPECT_TRUE(after.picture == before.picture) << label;
                EXPECT_DOUBLE_EQ(after.zoom, before.zoom) << label;
                EXPECT_EQ(after.scroll, before.scroll) << label;
                EXPECT_TRUE(after.view == before.view) << label;
            }
            // What a save or copy reads is the picture on show.
            EXPECT_FALSE(w.workspace().captureFramedImage().isNull()) << label;
        }
    }
}

TEST_F(PendingLoadFailureTest, ArrivingPicturesLeaveTheFocusWhereTheOperatorPutIt) {
    Workspace w;
    auto* widthEdit = new QLineEdit(&w.window);
    widthEdit->setGeometry(440, 100, 54, 20);
    widthEdit->show();
    QApplication::setActiveWindow(&w.window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
    w.controller->loader().pictureLoader().setPreviewBesideFull(false);

    // The command itself hands the focus to the picture area when it returns.
    w.controller->openFile(largePath);
    EXPECT_TRUE(w.controller->pictureArea()->hasFocus());
    widthEdit->setFocus();
    widthEdit->clear();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("3"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return w.workspace().showingPreview() || !w.controller->loader().isLoading(); }));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.controller->loader().isLoading(); }));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("8"));
    EXPECT_TRUE(widthEdit->hasFocus());
    EXPECT_EQ(widthEdit->text(), QStringLiteral("358"));
    EXPECT_EQ(w.workspace().pictureSize(), QSize(1600, 1200));
}

} // namespace
} // namespace portiqa
