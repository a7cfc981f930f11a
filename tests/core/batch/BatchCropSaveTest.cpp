#include "core/batch/BatchCropSave.h"

#include "core/ini/IniFile.h"
#include "core/output/ImageCodec.h"
#include "core/output/OutputEncoder.h"
#include "core/roster/RosterSheet.h"
#include "support/BatchFixture.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

using namespace portiqa;
using portiqa::test::writeAll;

namespace {

struct SaveFixture : test::BatchRunFixture {
    ImageCodec codec;
    OutputEncoder encoder{codec};
    RosterSheet roster{dialogs};
    QList<NamePromptTarget> prompts;
    QStringList opened;
    int sounds = 0;
    int cursorDepth = 0;
    BatchCropSave save{dialogs, encoder, settings, task, roster, saveHooks()};

    SaveFixture() {
        settings.sourceFolder = folder("in");
        settings.saveFolder = folder("out");
    }

    BatchSaveHooks saveHooks() {
        BatchSaveHooks h;
        h.captureFramedImage = [] {
            QImage image(40, 50, QImage::Format_RGB32);
            image.fill(qRgb(200, 120, 90));
            return image;
        };
        h.setWaitCursor = [this](bool on) { cursorDepth += on ? 1 : -1; };
        h.playCropSound = [this] { ++sounds; };
        h.askName = [this](const NamePromptTarget& t) { prompts.append(t); };
        h.openRosterWindow = [this] { opened << "roster"; };
        h.openSettingsWindow = [this] { opened << "settings"; };
        h.settingsFolder = settingsFolder;
        h.clock = [] { return QDateTime(QDate(2024, 3, 5), QTime(0, 0, 0)); };
        return h;
    }
    void useMode(int index) { settings.namingMode = namingModeText(BatchKind::Crop, index); }
    QStringList outputs() const {
        return QDir(settings.saveFolder).entryList(QDir::Files, QDir::Name);
    }
    // A task over the source folder's pictures, entry 1 shown.
    void startTask(const QStringList& names) {
        for (const QString& n : names) {
            writeAll(settings.sourceFolder + "/" + n, "p");
        }
        task.writeNewTask(names);
        task.showTaskPicture(TaskStep::Current);
    }
    QString record(int entry) const {
        return IniFile(task.path()).read(QString::number(entry), QStringLiteral("操作记录"));
    }
};

} // namespace

TEST(BatchCropSave, EachNamingModeWritesItsName) {
    const struct {
        int mode;
        const char* format;
        QStringList existing;
        QStringList expected; // the save folder afterwards, sorted
    } cases[] = {
        {0, ".JPG", {}, {"IMG.jpg"}},
        {0, ".BMP", {"IMG.bmp"}, {"IMG.bmp"}}, // the same name is written over
        {1, ".JPG", {}, {"2024-3-5 0-0-0.jpg"}},
        {2, ".JPG", {"0001.jpg", "0003.jpg"}, {"0001.jpg", "0002.jpg", "0003.jpg"}},
        {2, ".PNG", {"0001.jpg"}, {"0001.jpg", "0001.png"}},
        {3, ".GIF", {}, {"高一3班0001.gif"}},
    };
    for (const auto& c : cases) {
        SaveFixture f;
        f.startTask({"IMG.2023.01.jpg"});
        f.useMode(c.mode);
        f.settings.format = c.format;
        f.settings.customPrefix = "高一3班";
        for (const QString& name : c.existing) {
            writeAll(f.settings.saveFolder + "/" + name, "old");
        }
        EXPECT_EQ(f.save.save(), SaveOutcome::Saved) << c.mode;
        EXPECT_EQ(f.outputs(), c.expected) << c.mode;
        EXPECT_TRUE(f.dialogs.messages.isEmpty()) << f.dialogs.lastText().toStdString();
        EXPECT_EQ(f.record(1), "已截图") << c.mode;
        EXPECT_EQ(f.view.title, " 当前文件：IMG.2023.01.jpg  已截图");
        EXPECT_EQ(f.cursorDepth, 0);
        EXPECT_EQ(f.sounds, 0);
    }
}

TEST(BatchCropSave, ASequenceGoesOnPastTheNextGap) {
    SaveFixture f;
    f.useMode(2);
    f.settings.cropSound = true;
    writeAll(f.settings.saveFolder + "/0001.jpg", "old");
    writeAll(f.settings.saveFolder + "/0003.jpg", "old");
    f.save.save();
    f.save.save();
    EXPECT_EQ(f.outputs(), QStringList({"0001.jpg", "0002.jpg", "0003.jpg", "0004.jpg"}));
    EXPECT_EQ(f.sounds, 2);
    // Without a task (count 0) nothing is marked and no task file appears.
    EXPECT_FALSE(QFile::exists(f.task.path()));
    const QImage saved(f.settings.saveFolder + "/0004.jpg");
    EXPECT_EQ(saved.size(), QSize(40, 50));
}

TEST(BatchCropSave, AnOpenedFileIsNamedAfterItselfAndLeavesTheTaskAlone) {
    SaveFixture f;
    f.startTask({"task.jpg"});
    f.useMode(0);
    f.source.fromFile("/elsewhere/opened.by.hand.png");
    const QByteArray before = test::readAll(f.task.path());
    f.save.save();
    EXPECT_EQ(f.outputs(), QStringList({"opened.jpg"}));
    EXPECT_EQ(test::readAll(f.task.path()), before);
    EXPECT_EQ(f.view.title, " 当前文件：opened.by.hand.png  已截图");
}

TEST(BatchCropSave, NamesThatCannotBeMadeWriteNothing) {
    const struct {
        int mode;
        QString taskName, prefix;
        const char* message;
    } cases[] = {
        {0, "", "", "当前图片没有可用作文件名的原文件名，未保存。请换用其他命名方式。"},
        {0, "...", "", "当前图片没有可用作文件名的原文件名，未保存。请换用其他命名方式。"},
        {3, "a.jpg", "../up", "名称中含有不能用于文件名的字符“/”，请改用其他名称。"},
    };
    for (const auto& c : cases) {
        SaveFixture f;
        if (!c.taskName.isEmpty()) {
            f.startTask({c.taskName});
        }
        f.useMode(c.mode);
        f.settings.customPrefix = c.prefix;
        EXPECT_EQ(f.save.save(), SaveOutcome::Refused);
        EXPECT_EQ(f.dialogs.lastText(), QString::fromUtf8(c.message));
        EXPECT_TRUE(f.outputs().isEmpty());
        EXPECT_NE(f.record(1), "已截图");
    }
}

TEST(BatchCropSave, AFailedWriteIsToldAndTheEntryStaysUncropped) {
    SaveFixture f;
    f.startTask({"a.jpg"});
    f.useMode(0);
    QDir(f.settings.saveFolder).removeRecursively(); // the save folder went away mid-run
    EXPECT_EQ(f.save.save(), SaveOutcome::WriteFailed);
    ASSERT_EQ(f.dialogs.messages.size(), 1);
    EXPECT_TRUE(f.dialogs.lastText().startsWith("无法保存文件“"))
        << f.dialogs.lastText().toStdString();
    EXPECT_EQ(f.record(1), "未截图");
    EXPECT_EQ(f.cursorDepth, 0);
}

TEST(BatchCropSave, AnUnreachableLimitIsToldForJpgOnly) {
    for (const char* format : {".JPG", ".PNG"}) {
        SaveFixture f;
        f.useMode(2);
        f.settings.format = format;
        BatchSaveHooks hooks = f.saveHooks();
        hooks.sizeLimitKb = [] { return 0.1; };
        BatchCropSave save(f.dialogs, f.encoder, f.settings, f.task, f.roster, hooks);
        save.save();
        EXPECT_EQ(f.outputs().size(), 1);
        EXPECT_EQ(f.dialogs.messages.size(), QString(format) == ".JPG" ? 1 : 0) << format;
    }
}

TEST(BatchCropSave, AskEveryTimeWritesTheTemporaryPictureThenPrompts) {
    SaveFixture f;
    f.useMode(4);
    f.settings.format = ".PNG";
    f.save.save();
    ASSERT_EQ(f.prompts.size(), 1);
    EXPECT_EQ(f.prompts[0].folder, f.settings.saveFolder);
    EXPECT_EQ(f.prompts[0].extension, ".png");
    EXPECT_EQ(f.prompts[0].temporaryFile, f.settingsFolder + "/临时C.png");
    EXPECT_TRUE(QFile::exists(f.prompts[0].temporaryFile));
    EXPECT_TRUE(f.outputs().isEmpty());
}

TEST(BatchCropSave, NamingByCellChecksTheRosterFirstAndMovesItOn) {
    SaveFixture f;
    f.useMode(5);
    // 1. The roster window is closed: asked, and Yes opens it, No the settings window.
    f.dialogs.answers = {MessageAnswer::Yes, MessageAnswer::No};
    f.save.save();
    f.save.save();
    EXPECT_EQ(f.opened, QStringList({"roster", "settings"}));
    EXPECT_EQ(f.dialogs.messages[0].text, "当前批量命名方式需导入EXCEL文件，是否沿用此命名方式？");
    // 2. Open but nothing imported.
    f.roster.windowOpened();
    f.save.save();
    EXPECT_EQ(f.dialogs.lastText(), "请先导入EXCEL文件。");
    // 3. Imported, no cell chosen.
    ASSERT_TRUE(
        f.roster.importWorkbook(test::fixturePath("roster/roster_lo.xlsx"), RosterMode::BatchCrop));
    f.save.save();
    EXPECT_EQ(f.dialogs.lastText(), "请先点击有文字的单元格作为图片命名，再截图。");
    EXPECT_TRUE(f.outputs().isEmpty());
    // A chosen cell names the picture and the roster moves on a row.
    f.roster.clickCell(1, 0, RosterMode::BatchCrop);
    writeAll(f.settings.saveFolder + "/张三.jpg", "old");
    f.save.save();
    EXPECT_TRUE(f.outputs().contains("张三—1.jpg"));
    EXPECT_EQ(f.roster.cursorRow(), 2);
}
