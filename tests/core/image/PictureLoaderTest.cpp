#include "core/image/PictureLoader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>

#include <memory>

using namespace portiqa;

namespace {

QString fixture(const char* name) {
    return test::fixturePath(QStringLiteral("image/") + QLatin1String(name));
}

// Lets queued deliveries that are still on their way arrive (or prove they never do).
void settle(PictureLoader& loader) {
    QElapsedTimer timer;
    timer.start();
    while (loader.isLoading() && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

struct Spies {
    explicit Spies(PictureLoader& loader)
        : preview(&loader, &PictureLoader::previewReady),
          full(&loader, &PictureLoader::pictureReady), failed(&loader, &PictureLoader::loadFailed) {
    }
    QSignalSpy preview;
    QSignalSpy full;
    QSignalSpy failed;
};

} // namespace

TEST(PictureLoader, ReportsAScaledPreviewThenTheFullPicture) {
    for (const bool beside : {false, true}) {
        PictureLoader loader;
        loader.setPreviewBesideFull(beside);
        Spies spies(loader);
        std::vector<QString> order;
        QObject::connect(&loader, &PictureLoader::previewReady,
                         [&] { order.push_back("preview"); });
        QObject::connect(&loader, &PictureLoader::pictureReady, [&] { order.push_back("full"); });

        const quint64 request = loader.loadFile(fixture("large.jpg"), QSize(64, 32));
        settle(loader);

        ASSERT_EQ(spies.preview.count(), 1) << beside;
        ASSERT_EQ(spies.full.count(), 1) << beside;
        EXPECT_EQ(spies.failed.count(), 0);
        EXPECT_EQ(order, (std::vector<QString>{"preview", "full"}));
        EXPECT_EQ(spies.preview[0][0].toULongLong(), request);
        EXPECT_EQ(spies.preview[0][1].value<QImage>().size(), QSize(64, 32));
        EXPECT_EQ(spies.preview[0][2].toSize(), QSize(512, 256));
        EXPECT_EQ(spies.full[0][0].toULongLong(), request);
        EXPECT_EQ(spies.full[0][1].value<QImage>().size(), QSize(512, 256));
        EXPECT_FALSE(loader.isLoading());
    }
}

TEST(PictureLoader, PicturesThatCannotScaleComeOnceInFull) {
    const struct {
        const char* file;
        QSize preview;
    } cases[] = {{"alpha.png", {4, 4}}, {"baseline.jpg", {128, 64}}, {"large.jpg", {}}};
    for (const auto& c : cases) {
        PictureLoader loader;
        Spies spies(loader);
        loader.loadBytes(test::readAll(fixture(c.file)), c.preview);
        settle(loader);
        EXPECT_EQ(spies.preview.count(), 0) << c.file;
        EXPECT_EQ(spies.full.count(), 1) << c.file;
    }
}

TEST(PictureLoader, OnlyTheNewestRequestIsHeard) {
    PictureLoader loader;
    Spies spies(loader);
    loader.loadFile(fixture("large.jpg"), QSize(64, 32));
    loader.loadFile(fixture("notes.jpg"), QSize(64, 32));
    const quint64 newest = loader.loadFile(fixture("baseline.jpg"), QSize(16, 8));
    settle(loader);

    EXPECT_EQ(spies.failed.count(), 0);
    ASSERT_EQ(spies.full.count(), 1);
    EXPECT_EQ(spies.full[0][0].toULongLong(), newest);
    EXPECT_EQ(spies.full[0][1].value<QImage>().size(), QSize(128, 64));
    for (const auto& call : spies.preview) {
        EXPECT_EQ(call[0].toULongLong(), newest);
    }
}

TEST(PictureLoader, WaitForPictureDeliversTheFullPictureBeforeReturning) {
    PictureLoader loader;
    Spies spies(loader);
    const quint64 request = loader.loadFile(fixture("large.jpg"), QSize(64, 32));
    loader.waitForPicture();
    ASSERT_EQ(spies.full.count(), 1);
    EXPECT_EQ(spies.full[0][0].toULongLong(), request);
    EXPECT_FALSE(loader.isLoading());

    // The preview and the worker's own delivery are stale now and must stay silent.
    settle(loader);
    EXPECT_EQ(spies.full.count(), 1);
    EXPECT_EQ(spies.preview.count(), 0);
    loader.waitForPicture(); // nothing pending: returns at once
    EXPECT_EQ(spies.full.count(), 1);
}

TEST(PictureLoader, FailuresArriveAsAMessageAndNoPicture) {
    for (const bool beside : {false, true}) {
        PictureLoader loader;
        loader.setPreviewBesideFull(beside);
        Spies spies(loader);
        for (const char* file : {"truncated.jpg", "notes.jpg", "huge_header.png", "missing.png"}) {
            const quint64 request = loader.loadFile(fixture(file), QSize(32, 32));
            loader.waitForPicture();
            ASSERT_EQ(spies.failed.count(), 1) << file;
            EXPECT_EQ(spies.failed[0][0].toULongLong(), request);
            EXPECT_FALSE(spies.failed[0][1].toString().isEmpty()) << file;
            spies.failed.clear();
        }
        settle(loader);
        EXPECT_EQ(spies.full.count(), 0);
        EXPECT_EQ(spies.preview.count(), 0);
        EXPECT_EQ(spies.failed.count(), 0);
    }
}

TEST(PictureLoader, DestroyingWithWorkInFlightIsSafe) {
    for (int i = 0; i < 5; ++i) {
        auto loader = std::make_unique<PictureLoader>();
        Spies spies(*loader);
        loader->loadFile(fixture("large.jpg"), QSize(64, 32));
        loader.reset();
        QCoreApplication::processEvents();
    }
    SUCCEED();
}
