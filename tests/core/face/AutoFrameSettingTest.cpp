#include "core/face/AutoFrameSetting.h"
#include "core/ini/IniFile.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace portiqa {
namespace {

struct StoredCase {
    const char* name;
    const char* stored; // nullptr: the file has no such section
    bool enabled;
};

class AutoFrameSettingRead : public ::testing::TestWithParam<StoredCase> {};

TEST_P(AutoFrameSettingRead, OnlyTrueReadsAsOn) {
    QTemporaryDir dir;
    IniFile file(QDir(dir.path()).filePath(QStringLiteral("set.dll")));
    ASSERT_TRUE(
        file.write(QStringLiteral("批量截图"), QStringLiteral("保存格式"), QStringLiteral(".JPG")));
    if (GetParam().stored != nullptr) {
        ASSERT_TRUE(file.write(QStringLiteral("自动框选"), QStringLiteral("启用"),
                               QString::fromUtf8(GetParam().stored)));
    }
    test::ScriptedDialogs dialogs;
    EXPECT_EQ(AutoFrameSetting(dir.path(), dialogs).enabled(), GetParam().enabled);
}

INSTANTIATE_TEST_SUITE_P(Values, AutoFrameSettingRead,
                         ::testing::Values(StoredCase{"OlderFile", nullptr, false},
                                           StoredCase{"True", "真", true},
                                           StoredCase{"Empty", "", false},
                                           StoredCase{"False", "假", false},
                                           StoredCase{"One", "1", false}),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST(AutoFrameSetting, WritesItsOwnSectionAndKeepsTheOthers) {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("set.dll"));
    IniFile file(path);
    ASSERT_TRUE(
        file.write(QStringLiteral("批量截图"), QStringLiteral("保存格式"), QStringLiteral(".PNG")));
    test::ScriptedDialogs dialogs;
    AutoFrameSetting setting(dir.path(), dialogs);
    ASSERT_TRUE(setting.setEnabled(true));
    EXPECT_EQ(file.read(QStringLiteral("自动框选"), QStringLiteral("启用")), QStringLiteral("真"));
    EXPECT_TRUE(setting.enabled());
    ASSERT_TRUE(setting.setEnabled(false));
    EXPECT_EQ(file.read(QStringLiteral("自动框选"), QStringLiteral("启用")), QString());
    EXPECT_FALSE(setting.enabled());
    EXPECT_EQ(file.read(QStringLiteral("批量截图"), QStringLiteral("保存格式")),
              QStringLiteral(".PNG"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(AutoFrameSetting, AFailedWriteIsToldOnceAndTheRunGoesOn) {
    QTemporaryDir dir;
    const QString blocked = QDir(dir.path()).filePath(QStringLiteral("blocked"));
    QFile plain(blocked); // a file where the settings folder should be
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    test::ScriptedDialogs dialogs;
    AutoFrameSetting setting(blocked, dialogs);
    EXPECT_FALSE(setting.setEnabled(true));
    EXPECT_FALSE(setting.setEnabled(true));
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(setting.enabled()); // the run keeps the switch from memory
}

} // namespace
} // namespace portiqa
