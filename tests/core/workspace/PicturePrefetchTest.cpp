// Pictures read ahead for a batch run: shown at once, exactly as a fresh load shows them;
// only the pictures asked for are kept; a changed or broken file loads afresh.

#include "core/output/JpegWriter.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/PicturePrefetcher.h"
#include "core/workspace/TestPictures.h"
#include "core/workspace/WorkspaceLoader.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <QThread>

#include <atomic>

#include <gtest/gtest.h>

using namespace portiqa;

namespace {

const QSize kArea(411, 279);

struct Shown {
    QImage view;
    double zoom = 0;
    QPoint scroll;
    QSize pictureSize;
    bool preview = true;
};

struct Loading {
    test::ScriptedDialogs dialogs;
    PhotoWorkspace workspace;
    WorkspaceLoader loader{workspace, dialogs};
    Loading() { workspace.setAreaSize(kArea); }
    Shown shown() const {
        return {workspace.view().copy(), workspace.zoom(), workspace.scrollPosition(),
                workspace.picture().size(), workspace.showingPreview()};
    }
};

void expectSame(const Shown& a, const Shown& b) {
    EXPECT_EQ(a.view, b.view);
    EXPECT_EQ(a.zoom, b.zoom);
    EXPECT_EQ(a.scroll, b.scroll);
    EXPECT_EQ(a.pictureSize, b.pictureSize);
    EXPECT_FALSE(b.preview);
}

class PicturePrefetchTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const QString name : {"a.jpg", "b.jpg", "c.jpg"}) {
            const std::optional<QByteArray> jpeg =
                encodeJpeg(test::patternPicture(1600 + name.at(0).unicode(), 1200), 90);
            ASSERT_TRUE(jpeg && test::writeAll(path(name), *jpeg));
        }
    }
    QString path(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
};

} // namespace

TEST_F(PicturePrefetchTest, APrefetchedPictureIsShownAtOnceAsAFreshLoadShowsIt) {
    Loading fresh;
    fresh.loader.loadFile(path("a.jpg"));
    fresh.loader.waitForPicture();
    const Shown expected = fresh.shown();

    // Ready before the step: on show when loadFile returns.
    Loading ahead;
    PicturePrefetcher prefetcher;
    ahead.loader.setPrefetcher(&prefetcher);
    prefetcher.prefetch({path("a.jpg")}, kArea);
    PicturePrefetcher::wait(prefetcher.find(path("a.jpg")));
    ahead.loader.loadFile(path("a.jpg"));
    EXPECT_FALSE(ahead.loader.isLoading());
    expectSame(expected, ahead.shown());

    // Still being read when the step comes: the step waits for that work, not a second read.
    Loading midway;
    PicturePrefetcher second;
    midway.loader.setPrefetcher(&second);
    second.prefetch({path("a.jpg")}, kArea);
    midway.loader.loadFile(path("a.jpg"));
    midway.loader.waitForPicture();
    expectSame(expected, midway.shown());
}

TEST_F(PicturePrefetchTest, OnlyThePicturesAskedForAreKept) {
    PicturePrefetcher prefetcher;
    prefetcher.adopt(path("a.jpg"), PicturePyramid::build(QImage(8, 8, QImage::Format_RGB32)));
    EXPECT_EQ(prefetcher.entryCount(), 0); // nothing is adopted while nothing is read ahead
    prefetcher.prefetch({path("a.jpg"), path("b.jpg")}, kArea);
    const PicturePrefetcher::EntryPtr b = prefetcher.find(path("b.jpg"));
    ASSERT_TRUE(b);
    prefetcher.prefetch({path("c.jpg"), path("b.jpg")}, kArea);
    EXPECT_EQ(prefetcher.entryCount(), 2);
    EXPECT_FALSE(prefetcher.find(path("a.jpg")));
    EXPECT_EQ(prefetcher.find(path("b.jpg")), b); // kept work is not redone
    prefetcher.prefetch({}, kArea);
    EXPECT_EQ(prefetcher.entryCount(), 0);
}

TEST_F(PicturePrefetchTest, ChangedAndBrokenFilesLoadAfresh) {
    Loading l;
    PicturePrefetcher prefetcher;
    l.loader.setPrefetcher(&prefetcher);
    const QString broken = path("broken.jpg");
    ASSERT_TRUE(test::writeAll(broken, test::readAll(test::fixturePath("image/truncated.jpg"))));
    prefetcher.prefetch({path("a.jpg"), broken}, kArea);
    PicturePrefetcher::wait(prefetcher.find(path("a.jpg")));
    const PicturePrefetcher::EntryPtr brokenEntry = prefetcher.find(broken);
    if (brokenEntry) {
        PicturePrefetcher::wait(brokenEntry);
    }
    EXPECT_FALSE(prefetcher.find(broken)); // never offered

    // The broken one is read afresh, which tells the operator and keeps the picture on show.
    l.loader.loadFile(path("a.jpg"));
    const Shown before = l.shown();
    l.loader.loadFile(broken);
    l.loader.waitForPicture();
    ASSERT_EQ(l.dialogs.messages.size(), 1);
    EXPECT_EQ(l.shown().view, before.view);

    // A file replaced after it was read ahead shows its new content.
    QThread::msleep(20);
    const std::optional<QByteArray> other = encodeJpeg(test::patternPicture(900, 700), 90);
    ASSERT_TRUE(other && test::writeAll(path("a.jpg"), *other));
    EXPECT_FALSE(prefetcher.find(path("a.jpg")));
    l.loader.loadFile(path("a.jpg"));
    l.loader.waitForPicture();
    EXPECT_EQ(l.workspace.picture().size(), QSize(900, 700));
}

TEST_F(PicturePrefetchTest, APreparationRunsWithTheWholePictureAndHandsOverJustBeforeItIsShown) {
    Loading ahead;
    PicturePrefetcher prefetcher;
    ahead.loader.setPrefetcher(&prefetcher);
    std::atomic<int> prepared{0};
    PicturePyramidPtr handedOver;
    bool shownBeforeHandOver = true;
    prefetcher.setPreparation([&](const PicturePyramidPtr& picture) -> std::function<void()> {
        ++prepared;
        return [&, picture] {
            handedOver = picture;
            shownBeforeHandOver = ahead.workspace.pyramid() == picture;
        };
    });
    prefetcher.prefetch({path("a.jpg"), path("b.jpg")}, kArea);
    PicturePrefetcher::wait(prefetcher.find(path("a.jpg")));
    PicturePrefetcher::wait(prefetcher.find(path("b.jpg")));
    EXPECT_EQ(prepared, 2);

    ahead.loader.loadFile(path("b.jpg"));
    ASSERT_TRUE(handedOver);
    EXPECT_FALSE(shownBeforeHandOver);
    EXPECT_EQ(ahead.workspace.pyramid(), handedOver);

    // Reads started after the preparation is removed do no extra work.
    prefetcher.setPreparation({});
    prefetcher.prefetch({path("c.jpg")}, kArea);
    PicturePrefetcher::wait(prefetcher.find(path("c.jpg")));
    EXPECT_EQ(prepared, 2);
}

TEST_F(PicturePrefetchTest, TheBytesKeptStayWithinTheBudget) {
    // Each picture here is about 1700 x 1200: a budget of one and a half pictures keeps the
    // next one only; the first asked for is read even when alone it is over the budget.
    const qint64 one = PicturePrefetcher::pictureBytes(QSize(1700, 1200));
    struct Case {
        const char* label;
        qint64 budget;
        bool previousKept;
    };
    for (const Case& c :
         {Case{"room for both", 3 * one, true}, Case{"room for one and a half", one * 3 / 2, false},
          Case{"no room at all", 0, false}}) {
        SCOPED_TRACE(c.label);
        PicturePrefetcher prefetcher;
        prefetcher.setByteBudget(c.budget);
        prefetcher.prefetch({path("c.jpg"), path("a.jpg")}, kArea, path("b.jpg"));
        const PicturePrefetcher::EntryPtr next = prefetcher.find(path("c.jpg"));
        ASSERT_TRUE(next);
        EXPECT_EQ(bool(prefetcher.find(path("a.jpg"))), c.previousKept);
        // Once read, the kept picture's own size counts, and the budget still holds.
        PicturePrefetcher::wait(next);
        prefetcher.prefetch({path("c.jpg"), path("a.jpg")}, kArea, path("b.jpg"));
        EXPECT_EQ(prefetcher.find(path("c.jpg")), next);
        EXPECT_EQ(bool(prefetcher.find(path("a.jpg"))), c.previousKept);
    }
}
