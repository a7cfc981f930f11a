#include "core/files/DialogStartFolder.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace portiqa {
namespace {

TEST(DialogStartFolder, TheDesktopOnlyWhenItIsAnExistingFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("桌面")));
    ASSERT_TRUE(test::writeAll(dir.filePath(QStringLiteral("Desktop.txt")), "x"));
    const QString home = dir.filePath(QStringLiteral("home"));
    const struct {
        QString desktop;
        QString expected;
    } cases[] = {
        {dir.filePath(QStringLiteral("桌面")), dir.filePath(QStringLiteral("桌面"))},
        {dir.filePath(QStringLiteral("Desktop")), home},     // missing
        {dir.filePath(QStringLiteral("Desktop.txt")), home}, // a file, not a folder
        {QString(), home},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(dialogStartFolder(c.desktop, home), c.expected) << qPrintable(c.desktop);
    }
}

} // namespace
} // namespace portiqa
