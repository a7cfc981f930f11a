#include "core/crop/CropInputs.h"
#include "core/crop/CropJournal.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

using namespace portiqa;

TEST(CropInputs, FoldersScannedFilesCheckedSortedOnce) {
    QTemporaryDir dir;
    for (const char* name : {"b.JPG", "a.png", "notes.txt", "sub/c.jpg"}) {
        ASSERT_TRUE(test::writeAll(dir.filePath(name), "x"));
    }
    const CropInputList list =
        expandCropInputs({dir.path(), dir.filePath("a.png"), dir.filePath("missing.jpg"),
                          dir.filePath("notes.txt")});
    EXPECT_EQ(list.pictures, QStringList({dir.filePath("a.png"), dir.filePath("b.JPG")}));
    EXPECT_EQ(list.problems.size(), 2);

    EXPECT_TRUE(isInputFolder(dir.path() + "/sub/..//", {dir.path()}));
    EXPECT_FALSE(isInputFolder(dir.filePath("sub"), {dir.path()}));
    EXPECT_EQ(readPathList("  a.jpg \n\n/x/b.jpg\n", "/base"),
              QStringList({"/base/a.jpg", "/x/b.jpg"}));
}

TEST(CropInputs, ShardsCoverTheListExactlyOnce) {
    QStringList pictures;
    for (int i = 0; i < 103; ++i) {
        pictures << QString::number(i);
    }
    for (int n : {1, 2, 7, 103, 200}) {
        QStringList seen;
        for (int k = 1; k <= n; ++k) {
            const QStringList slice = shardSlice(pictures, k, n);
            EXPECT_LE(slice.size(), (pictures.size() + n - 1) / n) << k << "/" << n;
            seen += slice;
        }
        EXPECT_EQ(seen.size(), pictures.size()) << n;
        EXPECT_EQ(QSet<QString>(seen.begin(), seen.end()).size(), pictures.size()) << n;
    }
    for (const char* bad : {"0/3", "4/3", "1/0", "a/b", "2", "1/2/3"}) {
        EXPECT_FALSE(parseShard(bad).has_value()) << bad;
    }
    EXPECT_EQ(parseShard(" 2/3"), std::make_pair(2, 3));
}

TEST(CropJournal, RangesRoundTripAndDamageIsRefused) {
    std::vector<char> done{1, 1, 1, 0, 1, 0, 0, 1, 1};
    EXPECT_EQ(CropJournal::rangesText(done), "0-2 4 7-8");
    std::vector<char> back(done.size());
    ASSERT_TRUE(CropJournal::parseRanges("0-2 4 7-8", back));
    EXPECT_EQ(back, done);
    for (const char* bad : {"0-9", "3-1", "x", "1--2", "-1"}) {
        EXPECT_FALSE(CropJournal::parseRanges(bad, back)) << bad;
    }
}

TEST(CropJournal, ResumeTakesOverOnlyTheSameWork) {
    QTemporaryDir dir;
    {
        CropJournal journal(dir.path(), "work-a", 4);
        ASSERT_TRUE(journal.markDone(1));
    }
    // The output of picture 2 was written after the run started but never recorded.
    QThread::msleep(20);
    ASSERT_TRUE(test::writeAll(dir.filePath("two.jpg"), "jpeg"));
    const std::vector<QString> outputs{dir.filePath("zero.jpg"), dir.filePath("one.jpg"),
                                       dir.filePath("two.jpg"), dir.filePath("three.jpg")};
    CropJournal same(dir.path(), "work-a", 4);
    EXPECT_EQ(same.resumeFrom(outputs), CropJournal::Resume::Continued);
    EXPECT_FALSE(same.isDone(0));
    EXPECT_TRUE(same.isDone(1));
    EXPECT_TRUE(same.isDone(2));
    EXPECT_EQ(same.doneCount(), 2);

    CropJournal other(dir.path(), "work-b", 4);
    EXPECT_EQ(other.resumeFrom(outputs), CropJournal::Resume::OtherWork);
    CropJournal longer(dir.path(), "work-a", 5);
    EXPECT_EQ(longer.resumeFrom(outputs), CropJournal::Resume::OtherWork);

    ASSERT_TRUE(test::writeAll(same.path(), "[裁剪任务]\n任务标识=work-a\n已完成=0-99\n"));
    CropJournal damaged(dir.path(), "work-a", 4);
    EXPECT_EQ(damaged.resumeFrom(outputs), CropJournal::Resume::Unreadable);
    EXPECT_EQ(test::readAll(same.path()), "[裁剪任务]\n任务标识=work-a\n已完成=0-99\n");

    QTemporaryDir empty;
    CropJournal fresh(empty.path(), "work-a", 4);
    EXPECT_EQ(fresh.resumeFrom(outputs), CropJournal::Resume::Fresh);
}
