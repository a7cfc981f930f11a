#include "core/ini/IniFile.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace portiqa;
using portiqa::test::fixturePath;
using portiqa::test::readAll;
using portiqa::test::writeAll;

namespace {

QByteArray gbk(const QString& text) {
    return IniDocument::encode(text);
}

class IniFileTest : public ::testing::Test {
protected:
    QString copyOfFixture() {
        const QString path = dir.filePath(QStringLiteral("set.dll"));
        EXPECT_TRUE(writeAll(path, readAll(fixturePath(QStringLiteral("ini/gbk_settings.ini")))));
        return path;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(IniFileTest, ReadsAGbkFileMadeByAnotherEncoder) {
    const IniFile file(copyOfFixture());
    const struct {
        const char16_t* section;
        const char16_t* key;
        const char16_t* expected;
    } cases[] = {
        {u"批量截图", u"命名方式", u"3"},              // first of two copies of the section
        {u"批量截图", u"自定义命名", u"高一3班"},      // blanks and quotes removed
        {u"批量截图", u"保存目录", u"D:\\照片\\输出"}, // backslashes and GBK trail bytes
        {u"批量截图", u"mixed key", u"Value"},         // ASCII letters in any case
        {u" 批量截图 ", u"  MIXED KEY", u"Value"},
        {u"其他程序", u"名称", u"别的程序的值"},
        {u"批量截图", u"发裁切声", u""}, // missing key
        {u"批量速拍", u"命名方式", u""}, // missing section
    };
    for (const auto& c : cases) {
        EXPECT_EQ(file.read(QString::fromUtf16(c.section), QString::fromUtf16(c.key)),
                  QString::fromUtf16(c.expected))
            << QString::fromUtf16(c.key).toStdString();
    }
    EXPECT_EQ(IniFile(dir.filePath(QStringLiteral("none.ini"))).read(u"a"_qs, u"b"_qs), QString());
}

TEST_F(IniFileTest, WriteChangesOnlyTheLinesItMust) {
    const QString path = copyOfFixture();
    const QByteArray original = readAll(path);
    IniFile file(path);

    ASSERT_TRUE(file.write(u"批量截图"_qs, u"保存格式"_qs, u".JPG"_qs));
    QByteArray expected = original;
    expected.replace(gbk(u"保存格式=.PNG"_qs), gbk(u"保存格式=.JPG"_qs));
    EXPECT_EQ(readAll(path), expected);

    // A new key goes after the section's last key; a new section goes at the end.
    ASSERT_TRUE(file.write(u"批量截图"_qs, u"发裁切声"_qs, u"真"_qs));
    ASSERT_TRUE(file.write(u"批量速拍"_qs, u"保存格式"_qs, u".BMP"_qs));
    expected.replace(QByteArray("Mixed Key=Value\r\n"),
                     "Mixed Key=Value\r\n" + gbk(u"发裁切声=真\r\n"_qs));
    expected.append(gbk(u"[批量速拍]\r\n保存格式=.BMP\r\n"_qs));
    EXPECT_EQ(readAll(path), expected);
    EXPECT_EQ(IniFile(path).read(u"批量截图"_qs, u"命名方式"_qs), u"3"_qs);
}

TEST(IniFileLines, NewLinesFollowTheFileAndItsEnd) {
    const struct {
        const char* before;
        const char* after;
    } cases[] = {
        {"", "[s]\r\nk=v\r\n"},
        {"[a]\nx=1", "[a]\nx=1\n[s]\nk=v\n"},           // LF file without a final break
        {"[s]\nk=old\n; note\n", "[s]\nk=v\n; note\n"}, // replaced in place
        {"[s]\r\nx=1\r\n\r\n[t]\r\n", "[s]\r\nx=1\r\nk=v\r\n\r\n[t]\r\n"},
        {"[S]\r\nK = \"old\"\r\n", "[S]\r\nk=v\r\n"},                  // found whatever the case
        {"junk\xff\xfe\r\n[s]\r\n", "junk\xff\xfe\r\n[s]\r\nk=v\r\n"}, // bad bytes kept
        {"[s]\nx=\x81\nk=old\n", "[s]\nx=\x81\nk=v\n"}, // a cut character before a break
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QStringLiteral("t.ini"));
        QFile::remove(path);
        if (*c.before != '\0') {
            ASSERT_TRUE(writeAll(path, c.before));
        }
        IniFile file(path);
        ASSERT_TRUE(file.write(u"s"_qs, u"k"_qs, u"v"_qs));
        EXPECT_EQ(readAll(path), QByteArray(c.after)) << c.before;
    }
}

TEST_F(IniFileTest, LongValuesAreCutAtACharacterEdge) {
    const QString path = dir.filePath(QStringLiteral("long.ini"));
    const QByteArray ascii(10300, 'x');
    const QByteArray chinese = gbk(QString(6000, QChar(0x5F20))); // 张: two bytes each
    ASSERT_TRUE(writeAll(path, "[s]\r\na=" + ascii + "\r\nb=" + chinese + "\r\n"));
    const IniFile file(path);
    EXPECT_EQ(file.read(u"s"_qs, u"a"_qs).size(), IniFile::kMaxValueBytes);
    EXPECT_EQ(file.read(u"s"_qs, u"b"_qs), QString(5119, QChar(0x5F20)));
}

TEST_F(IniFileTest, CharactersOutsideGbkSurviveAndTheFileIsPlainGb18030) {
    const QString path = dir.filePath(QStringLiteral("set.dll"));
    const QString rare = QString::fromUcs4(U"𠮷野家");
    ASSERT_TRUE(IniFile(path).writeGroup(
        {{u"批量截图"_qs, u"保存目录"_qs, u"/照片/"_qs + rare}, {rare, u"名"_qs, rare}}));
    const IniFile again(path);
    EXPECT_EQ(again.read(u"批量截图"_qs, u"保存目录"_qs), u"/照片/"_qs + rare);
    EXPECT_EQ(again.read(rare, u"名"_qs), rare);

    // Checked with an independent converter where one is installed.
    const QString iconv = QStandardPaths::findExecutable(QStringLiteral("iconv"));
    if (iconv.isEmpty()) {
        GTEST_SKIP() << "iconv not installed";
    }
    QProcess process;
    process.start(iconv, {QStringLiteral("-f"), QStringLiteral("GB18030"), QStringLiteral("-t"),
                          QStringLiteral("UTF-8"), path});
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0);
    const QString expected = u"[批量截图]\r\n保存目录=/照片/"_qs + rare + u"\r\n["_qs + rare +
                             u"]\r\n名="_qs + rare + u"\r\n"_qs;
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()), expected);
}

TEST_F(IniFileTest, ReadsSeeChangesMadeByOthers) {
    const QString path = dir.filePath(QStringLiteral("t.ini"));
    ASSERT_TRUE(writeAll(path, "[s]\nk=1\n"));
    const IniFile file(path);
    EXPECT_EQ(file.read(u"s"_qs, u"k"_qs), u"1"_qs);

    // Same size within the same time-stamp tick: still noticed.
    ASSERT_TRUE(writeAll(path, "[s]\nk=2\n"));
    EXPECT_EQ(file.read(u"s"_qs, u"k"_qs), u"2"_qs);

    // Same size, later time stamp.
    ASSERT_TRUE(writeAll(path, "[s]\nk=3\n"));
    QFile touched(path);
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(touched.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                    QFileDevice::FileModificationTime));
    touched.close();
    EXPECT_EQ(file.read(u"s"_qs, u"k"_qs), u"3"_qs);

    QFile::remove(path);
    EXPECT_EQ(file.read(u"s"_qs, u"k"_qs), QString());
}

TEST_F(IniFileTest, FailedWriteKeepsTheValuesInMemoryAndTheDiskUntouched) {
    // A path below a plain file cannot be created, whoever runs the test.
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("plain")), "x"));
    IniFile file(dir.filePath(QStringLiteral("plain/set.dll")));
    EXPECT_FALSE(file.write(u"s"_qs, u"k"_qs, u"v"_qs));
    EXPECT_FALSE(file.lastError().isEmpty());
    EXPECT_TRUE(file.hasUnsavedChanges());
    EXPECT_EQ(file.read(u"s"_qs, u"k"_qs), u"v"_qs);
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("plain"))), QByteArray("x"));
}

TEST_F(IniFileTest, GroupedWriteIsAllOrNothing) {
    const QString path = copyOfFixture();
    const QByteArray original = readAll(path);
    IniFile file(path);
    const QList<IniEntry> bad = {{u"批量截图"_qs, u"保存格式"_qs, u".BMP"_qs},
                                 {u"批量截图"_qs, u"保存目录"_qs, u"two\nlines"_qs}};
    EXPECT_FALSE(file.writeGroup(bad));
    EXPECT_EQ(readAll(path), original);
    EXPECT_EQ(file.read(u"批量截图"_qs, u"保存格式"_qs), u".PNG"_qs);

    const QList<IniEntry> invalid[] = {{{u"a]b"_qs, u"k"_qs, u"v"_qs}},
                                       {{u"s"_qs, u"k=1"_qs, u"v"_qs}},
                                       {{u"s"_qs, u" "_qs, u"v"_qs}}};
    for (const auto& entries : invalid) {
        EXPECT_FALSE(file.writeGroup(entries)) << entries.first().key.toStdString();
    }
    EXPECT_EQ(readAll(path), original);
}

TEST_F(IniFileTest, RemoveDeletesTheFileAndForgetsItsText) {
    const QString path = copyOfFixture();
    IniFile file(path);
    EXPECT_EQ(file.read(u"批量截图"_qs, u"命名方式"_qs), u"3"_qs);
    EXPECT_TRUE(file.remove());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(file.read(u"批量截图"_qs, u"命名方式"_qs), QString());
    EXPECT_TRUE(file.remove());
}
