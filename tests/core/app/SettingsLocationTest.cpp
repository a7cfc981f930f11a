#include "core/app/SettingsLocation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace portiqa;

TEST(SettingsLocation, BesideTheProgramWhenWritable) {
    QTemporaryDir program;
    const SettingsLocation l = resolveSettingsLocation(program.path(), {}, "/nonexistent/user");
    EXPECT_EQ(l.settingsFolder, program.path() + "/头像采集设置");
    EXPECT_EQ(l.helpFolder, program.path());
}

TEST(SettingsLocation, UserDataFolderWhenTheProgramFolderIsReadOnly) {
    QTemporaryDir program;
    QTemporaryDir user;
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::ExeOwner);
    const SettingsLocation l = resolveSettingsLocation(program.path(), {}, user.path());
    QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (l.settingsFolder.startsWith(program.path())) {
        GTEST_SKIP() << "running as a user who can write anywhere";
    }
    EXPECT_EQ(l.settingsFolder, user.path() + "/头像采集设置");
}

TEST(SettingsLocation, OverrideWinsAndAnExistingFolderIsKept) {
    QTemporaryDir program;
    QTemporaryDir chosen;
    const SettingsLocation l = resolveSettingsLocation(program.path(), chosen.path() + "/", {});
    EXPECT_EQ(l.settingsFolder, chosen.path());
    QFile marker(chosen.filePath("keep.txt"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.write("x");
    marker.close();
    EXPECT_TRUE(ensureSettingsFolder(l));
    EXPECT_TRUE(QFile::exists(chosen.filePath("keep.txt")));

    SettingsLocation missing = l;
    missing.settingsFolder = chosen.path() + "/new";
    EXPECT_TRUE(ensureSettingsFolder(missing));
    EXPECT_TRUE(QDir(missing.settingsFolder).exists());
}

// An installed program keeps its settings per user even where its bin folder is writable
// (root, or a prefix in the user's home); a bin folder without the desktop entry beside it is
// still a portable copy.
TEST(SettingsLocation, InstalledProgramUsesTheUserDataFolder) {
    struct Case {
        const char* name;
        const char* entry; // created below the prefix, or null
        bool installed;
    };
    const Case cases[] = {
        {"installed prefix", "share/applications/org.example.Portiqa.desktop", true},
        {"another program's entry", "share/applications/other.desktop", false},
        {"bare bin folder", nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir prefix;
        QTemporaryDir user;
        ASSERT_TRUE(QDir(prefix.path()).mkpath("bin"));
        if (c.entry != nullptr) {
            ASSERT_TRUE(QDir(prefix.path()).mkpath(QFileInfo(prefix.filePath(c.entry)).path()));
            QFile entry(prefix.filePath(c.entry));
            ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        }
        const QString bin = prefix.filePath("bin");
        EXPECT_EQ(isInstalledProgramDir(bin), c.installed);
        const SettingsLocation l = resolveSettingsLocation(bin, {}, user.path());
        EXPECT_EQ(l.settingsFolder,
                  (c.installed ? user.path() : bin) + QStringLiteral("/头像采集设置"));
        EXPECT_EQ(l.helpFolder, c.installed ? l.settingsFolder : bin);
    }
}
