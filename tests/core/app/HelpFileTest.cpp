#include "core/app/HelpFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

using namespace portiqa;

TEST(HelpFile, WrittenWhenMissingRewrittenWhenDifferentKeptWhenSame) {
    QTemporaryDir dir;
    const QString path = dir.filePath("help.html");
    const QByteArray carried = "<html><body>帮助</body></html>";

    EXPECT_EQ(installHelpFile(path, carried), HelpFileResult::Written);
    EXPECT_EQ(test::readAll(path), carried);

    ASSERT_TRUE(test::writeAll(path, carried.left(10))); // a truncated copy
    EXPECT_EQ(installHelpFile(path, carried), HelpFileResult::Rewritten);
    EXPECT_EQ(test::readAll(path), carried);

    const QDateTime written = QFileInfo(path).lastModified();
    QThread::msleep(20);
    EXPECT_EQ(installHelpFile(path, carried), HelpFileResult::Unchanged);
    EXPECT_EQ(QFileInfo(path).lastModified(), written);
}

TEST(HelpFile, UnwritableFolderFailsWithoutThrowing) {
    EXPECT_EQ(installHelpFile("/proc/portiqa-no-such/help.html", "x"), HelpFileResult::Failed);
}

TEST(HelpFile, Md5IsLowerCaseHex) {
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
}
