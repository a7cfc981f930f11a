// The background colour in the window: what the frame shows is what is captured, a capture
// that comes before the work is done waits for it, the menu item switches the stored colour,
// and a picture without a face is captured unchanged with the reason in the status hint.

#include "gui/background/BackgroundFeature.h"
#include "core/face/AutoFramer.h"
#include "core/ini/IniFile.h"
#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/face/AutoFrameFeature.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

namespace portiqa {
namespace {

struct Rig {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<PortiqaApp> app;

    explicit Rig(const QString& colour) {
        QDir().mkpath(dir.filePath("s"));
        IniFile(dir.filePath("s/set.dll")).write("输出选项", "背景颜色", colour);
        LaunchOptions options;
        options.settingsDir = dir.filePath("s");
        app = std::make_unique<PortiqaApp>(options, &dialogs);
        app->start();
    }
    PhotoWorkspace& photo() { return app->workspace().workspace(); }
    // A portrait on a plain wall, framed to the standard by the auto-frame.
    void showPortrait(const char* name = "franck_02159_0.jpg") {
        const QImage portrait(QStringLiteral(PORTIQA_FIXTURES "/faces/") + name);
        ASSERT_FALSE(portrait.isNull());
        photo().showNewPicture(portrait.convertToFormat(QImage::Format_RGB32));
        ASSERT_TRUE(app->autoFrame().framer().frameNow());
    }
    QImage shownInFrame() {
        return photo().view().copy(photo().frame().rect()).convertToFormat(QImage::Format_RGB32);
    }
};

// Pixel for pixel (a PNG read back carries a colour space the screen's pixels do not).
bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if ((a.pixel(x, y) | 0xff000000u) != (b.pixel(x, y) | 0xff000000u)) {
                return false;
            }
        }
    }
    return true;
}

QImage capture(Rig& rig) {
    return rig.app->workspace().captureFramedImage().convertToFormat(QImage::Format_RGB32);
}
QImage own(Rig& rig) {
    return rig.photo().captureOwnFramedImage().convertToFormat(QImage::Format_RGB32);
}

TEST(BackgroundFeature, TheFrameShowsWhatIsCapturedAndAnEarlyCaptureWaits) {
    Rig rig(QStringLiteral("#FFFFFF"));
    rig.showPortrait();
    // Saved at once, before the framing has settled: the save waits for the replacement,
    // and the file holds exactly the pixels the frame then shows.
    rig.dialogs.files.push_back(rig.dir.filePath("saved.png"));
    rig.app->window().controls().saveButton->click();
    ASSERT_TRUE(rig.photo().frameReplaced()) << rig.app->window().statusHintText().toStdString();
    const QImage captured =
        QImage(rig.dir.filePath("saved.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(captured.size(), rig.shownInFrame().size()) << rig.dialogs.lastText().toStdString();
    EXPECT_TRUE(samePixels(captured, rig.shownInFrame()));
    EXPECT_FALSE(samePixels(captured, own(rig)));
    EXPECT_EQ(captured.pixel(3, 3), qRgb(255, 255, 255)); // the wall above the head
    EXPECT_EQ(rig.app->window().statusHintText(), QStringLiteral("背景颜色：白色"));

    // A frame move shows the frame's own pixels at once, then the replacement once the
    // framing has settled.
    rig.photo().stepFrame(1, 0);
    EXPECT_FALSE(rig.photo().frameReplaced());
    EXPECT_TRUE(samePixels(rig.shownInFrame(), own(rig)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.photo().frameReplaced(); }, 10000));
    EXPECT_TRUE(samePixels(capture(rig), rig.shownInFrame()));
}

// Holds the window's face search on worker threads until released, so the background work
// handed to a worker waits there; the window's own searches go on.
class HeldFaceSearch {
public:
    explicit HeldFaceSearch(FeatureLinks& links) : links_(links), search_(links.findFaces) {
        auto gate = gate_;
        links_.findFaces = [gate, search = search_](const PicturePyramid& picture, QSize area) {
            if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
                gate->acquire();
                gate->release();
            }
            return search(picture, area);
        };
    }
    ~HeldFaceSearch() { release(); }
    void release() {
        if (gate_->available() == 0) {
            gate_->release();
        }
        links_.findFaces = search_;
    }

private:
    FeatureLinks& links_;
    FaceSearch search_;
    std::shared_ptr<QSemaphore> gate_ = std::make_shared<QSemaphore>(0);
};

TEST(BackgroundFeature, AColourChosenWhileTheWorkIsUnderWayIsTheOneShownAndCaptured) {
    Rig rig(QStringLiteral("#FFFFFF"));
    {
        // The work in white is still waiting for a worker when red is chosen.
        HeldFaceSearch held(rig.app->links());
        rig.showPortrait();
        QTest::qWait(BackgroundFeature::kSettleMs * 3);
        rig.app->background().setColour(BackgroundColour::red(), false);
    }
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return rig.photo().frameReplaced() && rig.shownInFrame().pixel(3, 3) == qRgb(255, 0, 0);
        },
        10000))
        << std::hex << rig.shownInFrame().pixel(3, 3);
    EXPECT_EQ(rig.app->window().statusHintText(), QStringLiteral("背景颜色：红色"));

    // Saved at once after blue is chosen: the red work ends first, and is not what is saved.
    HeldFaceSearch held(rig.app->links());
    rig.photo().stepFrame(1, 0);
    QTest::qWait(BackgroundFeature::kSettleMs * 3);
    rig.app->background().setColour(BackgroundColour::blue(), false);
    held.release();
    const QImage captured = capture(rig);
    EXPECT_EQ(captured.pixel(3, 3), qRgb(67, 142, 219));
    EXPECT_TRUE(samePixels(captured, rig.shownInFrame()));
}

TEST(BackgroundFeature, TheMenuItemSwitchesTheStoredColour) {
    Rig rig(QStringLiteral("#438EDB"));
    QAction* item = rig.app->background().commandAction();
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(IniFile(rig.dir.filePath("s/set.dll")).read("输出选项", "背景颜色"), "");
    rig.showPortrait();
    EXPECT_TRUE(samePixels(capture(rig), own(rig)));
    item->trigger(); // back on with the colour chosen before
    EXPECT_EQ(IniFile(rig.dir.filePath("s/set.dll")).read("输出选项", "背景颜色"), "#438EDB");
    const QImage captured = capture(rig);
    EXPECT_EQ(captured.pixel(3, 3), qRgb(67, 142, 219));
}

TEST(BackgroundFeature, AStoredColourThatCannotBeReadIsToldAndLeftInTheFile) {
    Rig rig(QStringLiteral("red"));
    EXPECT_EQ(rig.app->window().statusHintText(),
              QStringLiteral("设置中的背景颜色“red”无法识别，未更换背景颜色"));
    EXPECT_FALSE(rig.app->background().commandAction()->isChecked());
    rig.showPortrait();
    EXPECT_TRUE(samePixels(capture(rig), own(rig)));
    EXPECT_EQ(IniFile(rig.dir.filePath("s/set.dll")).read("输出选项", "背景颜色"), "red");
}

TEST(BackgroundFeature, WhereTheFramePassesThePicturesEdgeTheWhiteTakesTheColourToo) {
    Rig rig(QStringLiteral("#438EDB"));
    // A tight portrait: the standard's framing at the window's first size leaves white bands
    // where the photo ends beside and below the head.
    rig.showPortrait("cage_0.jpg");
    const QRect part = rig.photo().framedPicturePart();
    const QRect frame(QPoint(0, 0), rig.photo().frame().rect().size());
    ASSERT_NE(part, frame);
    const QImage before = own(rig);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rig.photo().frameReplaced(); }, 10000));
    const QImage captured = capture(rig);
    EXPECT_TRUE(samePixels(captured, rig.shownInFrame()));
    const QRgb blue = qRgb(67, 142, 219);
    int band = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            if (!part.contains(x, y)) {
                ++band;
                ASSERT_EQ(before.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
                ASSERT_EQ(captured.pixel(x, y), blue) << x << "," << y;
            }
        }
    }
    EXPECT_GT(band, 0);
    // The face itself is the photo's.
    const QPoint face = part.center();
    EXPECT_EQ(captured.pixel(face), before.pixel(face));
    EXPECT_EQ(rig.app->window().statusHintText(), QStringLiteral("背景颜色：蓝色"));
}

TEST(BackgroundFeature, APictureWithoutAFaceIsCapturedUnchangedWithTheReason) {
    Rig rig(QStringLiteral("#FF0000"));
    QImage flat(800, 600, QImage::Format_RGB32);
    flat.fill(qRgb(90, 120, 150));
    rig.photo().showNewPicture(flat);
    const QImage captured = capture(rig);
    EXPECT_TRUE(samePixels(captured, own(rig)));
    EXPECT_FALSE(rig.photo().frameReplaced());
    EXPECT_EQ(rig.app->window().statusHintText(), QStringLiteral("未检测到人脸，未更换背景颜色"));

    // Framed again onto the same pixels, after another hint: the reason comes back.
    rig.app->window().setStatusHint(QStringLiteral("采集框已移动"));
    rig.photo().moveFrameTo(rig.photo().frame().rect().topLeft() + QPoint(7, 5));
    ASSERT_TRUE(samePixels(own(rig), captured));
    QTest::qWait(20);
    EXPECT_EQ(rig.app->window().statusHintText(), QStringLiteral("未检测到人脸，未更换背景颜色"));
}

} // namespace
} // namespace portiqa
