#include "core/naming/OutputNames.h"
#include "core/settings/NamingModes.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace portiqa;
using portiqa::test::writeAll;

namespace {

class OutputNamesTest : public ::testing::Test {
protected:
    void touch(const QString& name) { ASSERT_TRUE(writeAll(dir.filePath(name), "x")); }
    QString at(const QString& name) const { return dir.path() + u"/"_qs + name; }
    QTemporaryDir dir;
};

} // namespace

TEST_F(OutputNamesTest, SequenceTakesTheFirstFreeNumberEveryTime) {
    touch(u"0001.jpg"_qs);
    touch(u"0003.jpg"_qs);
    touch(u"0002.bmp"_qs); // other formats do not block a number
    const QString first = sequenceFileName(dir.path(), u".jpg"_qs);
    EXPECT_EQ(first, at(u"0002.jpg"_qs));
    touch(u"0002.jpg"_qs);
    EXPECT_EQ(sequenceFileName(dir.path(), u".jpg"_qs), at(u"0004.jpg"_qs));
    EXPECT_EQ(sequenceFileName(dir.path(), u".bmp"_qs), at(u"0001.bmp"_qs));

    ASSERT_TRUE(QDir(dir.path()).mkdir(u"0004.jpg"_qs)); // a folder blocks the name too
    for (int n = 5; n <= 11; ++n) {
        touch(QStringLiteral("%1.jpg").arg(n, 4, 10, QLatin1Char('0')));
    }
    EXPECT_EQ(sequenceFileName(dir.path(), u".jpg"_qs), at(u"0012.jpg"_qs));
    EXPECT_EQ(sequenceFileName(dir.filePath(u"missing"_qs), u".png"_qs),
              dir.filePath(u"missing"_qs) + u"/0001.png"_qs);
}

TEST_F(OutputNamesTest, PrefixedSequenceAndRosterNames) {
    EXPECT_EQ(prefixedSequenceFileName(dir.path(), u"高一3班"_qs, u".jpg"_qs),
              at(u"高一3班0001.jpg"_qs));
    touch(u"张三.jpg"_qs);
    touch(u"张三—1.jpg"_qs);
    touch(u"李四.png"_qs);
    EXPECT_EQ(rosterFileName(dir.path(), u"张三"_qs, u".jpg"_qs), at(u"张三—2.jpg"_qs));
    EXPECT_EQ(rosterFileName(dir.path(), u"李四"_qs, u".jpg"_qs), at(u"李四.jpg"_qs));
    EXPECT_EQ(rosterFileName(dir.path(), u"李四"_qs, u".png"_qs), at(u"李四—1.png"_qs));
    EXPECT_EQ(rosterFileName(dir.path(), QString(), u".jpg"_qs), QString());
}

TEST(OutputNames, NamesThatLeaveTheFolderOrCannotBeFilesAreRefused) {
    const struct {
        const char16_t* name;
        const char16_t* named; // what the message must name
    } refused[] = {
        {u"../evil", u"“/”"}, {u"a\\b", u"“\\”"},        {u"..", u"“..”"},      {u"C:x", u"“:”"},
        {u"a*b", u"“*”"},     {u"问?", u"“?”"},          {u"\"q\"", u"“\"”"},   {u"a<b", u"“<”"},
        {u"a|b", u"“|”"},     {u"tab\there", u"U+0009"}, {u"nl\nx", u"U+000A"},
    };
    for (const auto& c : refused) {
        const QString name = QString::fromUtf16(c.name);
        const QString problem = outputNameProblem(name);
        EXPECT_TRUE(problem.contains(QString::fromUtf16(c.named))) << problem.toStdString();
        EXPECT_EQ(rosterFileName(u"/out"_qs, name, u".jpg"_qs), QString()) << name.toStdString();
        EXPECT_EQ(prefixedSequenceFileName(u"/out"_qs, name, u".jpg"_qs), QString());
    }
    EXPECT_FALSE(outputNameProblem(QString(300, QChar(0x5F20))).isEmpty());
    for (const char16_t* fine : {u"李四", u"a.b", u"高一(3)班 王五", u"O'Neil"}) {
        EXPECT_EQ(outputNameProblem(QString::fromUtf16(fine)), QString());
    }
}

TEST(OutputNames, TimestampHasNoLeadingZeros) {
    const struct {
        QDateTime when;
        const char* text;
    } cases[] = {
        {QDateTime(QDate(2024, 3, 5), QTime(0, 0, 0)), "2024-3-5 0-0-0"},
        {QDateTime(QDate(2022, 1, 10), QTime(11, 45, 23)), "2022-1-10 11-45-23"},
        {QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)), "1999-12-31 23-59-59"},
    };
    for (const auto& c : cases) {
        const Clock clock = [&] { return c.when; };
        EXPECT_EQ(timestampText(clock()), QString::fromLatin1(c.text));
    }
    const Clock midnight = [] { return QDateTime(QDate(2024, 3, 5), QTime(0, 0, 0, 400)); };
    EXPECT_EQ(captureTimeFileName(u"/out"_qs, u".jpg"_qs, midnight()),
              u"/out/2024-3-5 0-0-0.jpg"_qs);
}

TEST(OutputNames, SourceNameGivesTheBaseBeforeTheFirstDot) {
    const struct {
        const char16_t* name;
        const char16_t* path;
    } cases[] = {
        {u"a.jpg", u"/out/a.png"},
        {u"photo.tar.png", u"/out/photo.png"},
        {u"gif", u"/out/gif.png"},
        {u".hidden.jpg", u"/out/hidden.png"},
        {u"张 三.JPEG", u"/out/张 三.png"},
        {u"", u""},
        {u"...", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sourceNameFileName(u"/out"_qs, QString::fromUtf16(c.name), u".png"_qs),
                  QString::fromUtf16(c.path))
            << QString::fromUtf16(c.name).toStdString();
    }
    EXPECT_EQ(sourceFileName({SourceKind::File, u"/pics/x/张三.JPG"_qs}, u"task.jpg"_qs),
              u"张三.JPG"_qs);
    EXPECT_EQ(sourceFileName({SourceKind::Task, u"/pics/x/张三.JPG"_qs}, u"task.jpg"_qs),
              u"task.jpg"_qs);
}

TEST(NamingModes, TextsAreExactAndIndicesOutsideTheListReadAsTheFirst) {
    const QStringList& crop = namingModeTexts(BatchKind::Crop);
    const QStringList& quick = namingModeTexts(BatchKind::QuickShoot);
    ASSERT_EQ(crop.size(), 6);
    ASSERT_EQ(quick.size(), 5);
    EXPECT_EQ(crop[2], u"根据截图先后用序号命名  如： 0001   0002 "_qs);
    EXPECT_EQ(quick[1], u"根据拍照先后用序号命名  如： 0001   0002"_qs);
    EXPECT_EQ(crop[1], u"根据截图时刻命名  如：2022-1-10 11-45-23"_qs);
    EXPECT_EQ(namingModeText(BatchKind::Crop, 6), crop[0]);
    EXPECT_EQ(namingModeText(BatchKind::QuickShoot, -1), quick[0]);
    EXPECT_EQ(namingBehaviour(BatchKind::Crop, crop[0]), NamingBehaviour::SourceName);
    EXPECT_EQ(namingBehaviour(BatchKind::QuickShoot, quick[0]), NamingBehaviour::CaptureTime);
    EXPECT_EQ(namingBehaviour(BatchKind::Crop, crop[3]), NamingBehaviour::CustomPrefix);
    EXPECT_EQ(namingBehaviour(BatchKind::Crop, crop[2].trimmed()), std::nullopt);
    EXPECT_EQ(namingModeFor(BatchKind::QuickShoot, NamingBehaviour::SourceName), QString());
    EXPECT_EQ(namingModeFor(BatchKind::QuickShoot, NamingBehaviour::RosterCell), quick[4]);
}

TEST_F(OutputNamesTest, EachModeBuildsItsPath) {
    touch(u"0001.jpg"_qs);
    touch(u"王五.jpg"_qs);
    NamingRequest request;
    request.folder = dir.path();
    request.extension = u".jpg"_qs;
    request.customPrefix = u"高一3班"_qs;
    request.rosterText = u"王五"_qs;
    request.sourceName = u"IMG_7.tar.JPG"_qs;
    request.temporaryFile = u"/settings/临时C.jpg"_qs;
    request.now = QDateTime(QDate(2024, 3, 5), QTime(0, 0, 0));
    const struct {
        NamingBehaviour behaviour;
        QString path;
    } cases[] = {
        {NamingBehaviour::SourceName, at(u"IMG_7.jpg"_qs)},
        {NamingBehaviour::CaptureTime, at(u"2024-3-5 0-0-0.jpg"_qs)},
        {NamingBehaviour::Sequence, at(u"0002.jpg"_qs)},
        {NamingBehaviour::CustomPrefix, at(u"高一3班0001.jpg"_qs)},
        {NamingBehaviour::AskEveryTime, u"/settings/临时C.jpg"_qs},
        {NamingBehaviour::RosterCell, at(u"王五—1.jpg"_qs)},
    };
    for (const auto& c : cases) {
        request.behaviour = c.behaviour;
        EXPECT_EQ(namedOutputPath(request), c.path) << c.path.toStdString();
    }
    request.behaviour = NamingBehaviour::RosterCell;
    request.rosterText = u"../王五"_qs;
    EXPECT_EQ(namedOutputPath(request), QString());
}
