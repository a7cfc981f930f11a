#include "core/batch/BatchCropRun.h"

#include "core/ini/IniFile.h"
#include "support/BatchFixture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace portiqa;
using portiqa::test::BatchRunFixture;
using portiqa::test::writeAll;

namespace {

const QString kResumeQuestion = QStringLiteral("是否沿用上次批量截图设置，并继续上次操作？");
const QString kSection = QStringLiteral("批量截图");

// A fixture whose settings were kept by an earlier run: folders, size and a task at entry 2.
struct KeptRun : BatchRunFixture {
    KeptRun() {
        settings.sourceFolder = folder(QStringLiteral("in"));
        settings.saveFolder = folder(QStringLiteral("out"));
        settings.settingsSaved = true;
        for (const char* name : {"a.jpg", "b.jpg"}) {
            writeAll(settings.sourceFolder + QLatin1Char('/') + QLatin1String(name), "p");
        }
        IniFile ini(file.path());
        ini.writeGroup({{kSection, QStringLiteral("像素宽"), QStringLiteral("358")},
                        {kSection, QStringLiteral("像素高"), QStringLiteral("441")},
                        {kSection, QStringLiteral("JPG体积"), QStringLiteral("30")}});
        task.writeNewTask({QStringLiteral("a.jpg"), QStringLiteral("b.jpg")});
        IniFile(task.path())
            .write(QStringLiteral("批截位置"), QStringLiteral("批截位置"), QStringLiteral("2"));
        task.endRun();
    }
};

} // namespace

TEST(BatchCropRun, SwitchingOnWithoutKeptSettingsOpensTheSettingsWindowAtOnce) {
    BatchRunFixture f;
    f.cameraOpen = true;
    f.run.switchPressed();
    EXPECT_EQ(f.calls, QStringList({"camera closed", "settings", "hotkeys off", "hotkeys off"}));
    EXPECT_TRUE(f.dialogs.messages.isEmpty()); // no resume question
    // Closed unconfirmed with the mode off: the switch goes back and the title is restored.
    EXPECT_FALSE(f.ticked);
    EXPECT_FALSE(f.run.mode());
    EXPECT_EQ(f.title, QStringLiteral("Portiqa V2.7"));
}

TEST(BatchCropRun, ResumingShowsTheStoredPictureWithTheStoredSize) {
    KeptRun f;
    f.dialogs.answers = {MessageAnswer::Yes};
    f.run.switchPressed();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].caption, QStringLiteral("询问："));
    EXPECT_EQ(f.dialogs.messages[0].text, kResumeQuestion);
    EXPECT_EQ(f.dialogs.messages[0].icon, MessageIcon::Question);
    EXPECT_TRUE(f.run.mode());
    EXPECT_TRUE(f.ticked);
    EXPECT_TRUE(f.hotkeys);
    EXPECT_EQ(f.edits.width, "358");
    EXPECT_EQ(f.edits.limit, "30");
    EXPECT_EQ(f.task.taskCount(), 2);
    EXPECT_EQ(f.task.taskPosition(), 2);
    EXPECT_EQ(f.view.title, QStringLiteral(" 当前文件：b.jpg  未截图"));

    f.run.switchPressed(); // off
    EXPECT_FALSE(f.run.mode());
    EXPECT_FALSE(f.ticked);
    EXPECT_FALSE(f.hotkeys);
    EXPECT_EQ(f.title, QStringLiteral("Portiqa V2.7"));
    EXPECT_EQ(f.task.taskCount(), 0);
    EXPECT_EQ(f.task.taskPosition(), 0);
    EXPECT_TRUE(QFileInfo::exists(f.task.path()));
}

TEST(BatchCropRun, ResumeRefusesFoldersThatAreNotThereWithTheModeLeftOn) {
    const struct {
        const char* source;
        const char* save;
        const char* text;
    } cases[] = {
        {"", "out", "批量截图保存目录尚未设置，请先设置。"},
        {"gone", "out", "批量截图保存目录不存在，请重新设置。"},
        {"in", "", "批量截图保存目录尚未设置，请先设置。"},
        {"in", "gone", "批量截图保存目录不存在，请重新设置。"},
    };
    for (const auto& c : cases) {
        KeptRun f;
        const auto path = [&f](const char* name) {
            const QString n = QString::fromUtf8(name);
            return n.isEmpty() ? n : f.root.filePath(n);
        };
        f.settings.sourceFolder = path(c.source);
        f.settings.saveFolder = path(c.save);
        f.dialogs.answers = {MessageAnswer::Yes};
        f.run.switchPressed();
        ASSERT_EQ(f.dialogs.messages.size(), 2) << c.text;
        EXPECT_EQ(f.dialogs.messages[1].caption, QStringLiteral("提示："));
        EXPECT_EQ(f.dialogs.messages[1].text, QString::fromUtf8(c.text));
        EXPECT_EQ(f.dialogs.messages[1].icon, MessageIcon::None);
        // The window was opened and closed unconfirmed: the mode stays on, the keys come back.
        EXPECT_EQ(f.calls, QStringList({"settings", "hotkeys off", "hotkeys on"})) << c.text;
        EXPECT_TRUE(f.run.mode());
        EXPECT_TRUE(f.ticked);
        EXPECT_EQ(f.edits.width, "358"); // the size was reused before the folder tests
    }
}

TEST(BatchCropRun, AnsweringNoOpensTheSettingsWindowInstead) {
    KeptRun f;
    f.run.switchPressed();
    EXPECT_EQ(f.calls.value(0), "settings");
    EXPECT_FALSE(f.run.mode());
    EXPECT_EQ(f.edits.width, "160");
}

TEST(BatchCropRun, ResumingWithAZeroLimitKeepsTheCurrentOneAndStoresIt) {
    KeptRun f;
    IniFile(f.file.path()).write(kSection, QStringLiteral("JPG体积"), QStringLiteral("0"));
    f.edits.limit = "45";
    f.dialogs.answers = {MessageAnswer::Yes};
    f.run.switchPressed();
    EXPECT_EQ(f.edits.limit, "45");
    EXPECT_EQ(IniFile(f.file.path()).read(kSection, QStringLiteral("JPG体积")), "45");
}

TEST(BatchCropRun, ConfirmingStartsAFreshRun) {
    BatchRunFixture f;
    const QString in = f.folder("in");
    const QString out = f.folder("out");
    writeAll(in + "/x.png", "p");
    f.task.writeNewTask({"old1.jpg", "old2.jpg", "old3.jpg"});
    f.settingsWindow = [&](BatchCropRun& run) {
        BatchSettingsForm form;
        form.sourceText = in + "/";
        form.saveText = out;
        form.keep = true;
        form.cropSound = true;
        ASSERT_TRUE(run.confirm(form).accepted());
    };
    f.run.switchPressed();
    EXPECT_TRUE(f.run.mode());
    EXPECT_TRUE(f.ticked);
    EXPECT_TRUE(f.run.settingsConfirmed());
    EXPECT_EQ(f.calls, QStringList({"settings", "hotkeys off", "hotkeys on"}));
    EXPECT_EQ(f.settings.sourceFolder, in);
    EXPECT_TRUE(f.settings.cropSound);
    // The old task was deleted first: no stale sections of the longer run remain.
    EXPECT_EQ(f.task.taskCount(), 1);
    EXPECT_TRUE(IniFile(f.task.path()).read("2", QStringLiteral("图片名")).isEmpty());
    EXPECT_EQ(f.view.loaded, QStringList({in + "/x.png"}));
    // Kept: the ten keys hold the settings; the next switch-on asks to resume.
    EXPECT_EQ(IniFile(f.file.path()).read(kSection, QStringLiteral("是否保存设置")), "真");
    EXPECT_EQ(IniFile(f.file.path()).read(kSection, QStringLiteral("像素宽")), "160");
}

TEST(BatchCropRun, ConfirmingWithoutKeepingEmptiesTheSectionAndAnEmptyFolderStillStarts) {
    BatchRunFixture f;
    const QString in = f.folder("in");
    const QString out = f.folder("out");
    f.settings.settingsSaved = true;
    f.settingsWindow = [&](BatchCropRun& run) {
        BatchSettingsForm form;
        form.sourceText = in;
        form.saveText = out;
        form.namingIndex = kRosterCellItem;
        run.namingChosen(kRosterCellItem);
        EXPECT_TRUE(run.confirm(form).accepted());
    };
    f.run.settingsRequested();
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_EQ(f.dialogs.messages[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(f.dialogs.messages[0].text, QStringLiteral("待截图文件夹中没有可截图的图片。"));
    EXPECT_TRUE(f.run.mode());
    EXPECT_EQ(f.task.taskCount(), 0);
    EXPECT_TRUE(f.calls.contains("roster opened"));
    const QString text = QString::fromUtf8(test::readAll(f.file.path()));
    EXPECT_FALSE(f.settings.settingsSaved);
    for (const char* key : {"命名方式", "自定义命名", "保存格式", "保存目录", "待截图目录",
                            "发裁切声", "是否保存设置", "像素宽", "像素高", "JPG体积"}) {
        EXPECT_TRUE(IniFile(f.file.path()).read(kSection, QString::fromUtf8(key)).isEmpty()) << key;
    }
    // With the keep flag cleared, the next switch-on goes straight to the settings window.
    f.run.switchOff();
    f.dialogs.messages.clear();
    f.settingsWindow = nullptr;
    f.run.switchPressed();
    EXPECT_TRUE(f.dialogs.messages.isEmpty());
    // A second confirm with the roster window open retargets it.
    f.settingsWindow = [&](BatchCropRun& run) {
        BatchSettingsForm form;
        form.sourceText = in;
        form.saveText = out;
        run.confirm(form);
    };
    f.calls.clear();
    f.run.settingsRequested();
    EXPECT_TRUE(f.calls.contains("roster retargeted"));
}

TEST(BatchCropRun, ChoosingAnotherNamingModeClosesTheRosterWindow) {
    BatchRunFixture f;
    f.rosterOpen = true;
    EXPECT_FALSE(f.run.namingChosen(kRosterCellItem));
    EXPECT_TRUE(f.rosterOpen);
    EXPECT_TRUE(f.run.namingChosen(kCustomPrefixItem)); // the only editable item
    EXPECT_FALSE(f.rosterOpen);
    EXPECT_EQ(f.settings.namingIndex, kCustomPrefixItem);
    EXPECT_EQ(f.settings.namingMode, namingModeText(BatchKind::Crop, kCustomPrefixItem));
    EXPECT_FALSE(f.run.namingChosen(-1));
    EXPECT_EQ(f.settings.namingIndex, kCustomPrefixItem);
}

TEST(BatchCropRun, NavigationShowsTaskPicturesAgainAfterAnOpenedFile) {
    KeptRun f;
    f.dialogs.answers = {MessageAnswer::Yes};
    f.run.switchPressed();
    f.source.fromFile("/elsewhere/z.png");
    f.run.navigate(TaskStep::Previous);
    EXPECT_EQ(f.task.source().kind, SourceKind::Task);
    EXPECT_EQ(f.view.title, QStringLiteral(" 当前文件：a.jpg  未截图"));
    f.run.switchOff();
    f.view.loaded.clear();
    f.run.navigate(TaskStep::Next); // keys that arrive after the mode went off do nothing
    EXPECT_TRUE(f.view.loaded.isEmpty());
}
