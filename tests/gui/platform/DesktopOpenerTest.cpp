// The desktop opener hears back from the launcher: a launcher that starts and then fails (as
// xdg-open does with no browser: exit 3) is reported after the fact, one that succeeds is not,
// and a launcher that cannot start is a failure at once. Small shell scripts play the launcher.

#include "platform/DesktopOpener.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace portiqa;

TEST(DesktopOpener, LauncherFailuresComeBackToTheCaller) {
    QTemporaryDir dir;
    const QString argumentFile = dir.filePath("argument.txt");
    struct Case {
        const char* name;
        int exitCode; // of the launcher script; -1: no launcher file at all
        bool startsAtAll;
        bool reportedLater;
    };
    const Case cases[] = {
        {"opens", 0, true, false},
        {"no browser", 3, true, true},
        {"action failed", 4, true, true},
        {"missing launcher", -1, false, false},
    };
    const QString page = dir.filePath("帮助 页.html");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(argumentFile);
        const QString launcher = dir.filePath(QStringLiteral("launcher-%1").arg(c.name));
        if (c.exitCode >= 0) {
            ASSERT_TRUE(
                test::writeAll(launcher, QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\n"
                                                        "exit %2\n")
                                             .arg(argumentFile)
                                             .arg(c.exitCode)
                                             .toUtf8()));
            QFile::setPermissions(launcher, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        platform::DesktopOpener opener(launcher);
        bool failed = false;
        EXPECT_EQ(opener.open(QUrl::fromLocalFile(page), [&] { failed = true; }), c.startsAtAll);
        if (!c.startsAtAll) {
            continue;
        }
        // The opener lets go of a launcher once it has ended and its end was handled.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return opener.findChildren<QProcess*>().isEmpty(); }, 10000));
        EXPECT_EQ(failed, c.reportedLater);
        // A local file goes to the launcher as its path, not a percent-encoded address.
        EXPECT_EQ(QString::fromUtf8(test::readAll(argumentFile)), page);
    }
}
