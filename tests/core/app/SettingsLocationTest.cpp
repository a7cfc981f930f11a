#include "core/app/SettingsLocation.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
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
