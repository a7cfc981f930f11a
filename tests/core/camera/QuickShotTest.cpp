// The quick-shoot shot and switch with the real encoder, settings file and roster, scripted
// dialogs and a temporary folder.

#include "core/camera/QuickShot.h"
#include "core/settings/SettingsFile.h"
#include "core/camera/QuickShootSwitch.h"
#include "core/ini/IniFile.h"
#include "core/output/ImageCodec.h"
#include "core/output/OutputEncoder.h"
#include "support/PlainSizeEdits.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

using namespace portiqa;

namespace {

// A detailed picture, so the JPEG size search has real work to do.
QImage noisyFrame(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    quint32 state = 7;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            image.setPixel(x, y, qRgb(x % 256, (y * 3) % 256, int(state >> 24)));
        }
    }
    return image;
}

class QuickShotTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir().mkpath(outFolder()));
        settings.saveFolder = outFolder();
        context.settingsFolder = dir.path();
        context.sizeLimitKb = [this] { return limitKb; };
        context.captureFrame = [this] { return noisyFrame(output); };
        context.openSettingsWindow = [this] { ++settingsOpened; };
        context.openRosterWindow = [this] { ++rosterOpened; };
        context.playShutterSound = [this] { ++sounds; };
        context.setWaitCursor = [this](bool busy) { cursorChanges.append(busy); };
        context.promptForName = [this](const NamePromptTarget& target) { prompted = target; };
        context.clock = [] { return QDateTime(QDate(2022, 1, 10), QTime(11, 45, 23)); };
    }

    QString outFolder() const { return dir.filePath(QStringLiteral("照片")); }

    QuickShotResult shoot() {
        QuickShot shot(dialogs, encoder, roster, context);
        return shot.shoot(settings);
    }

    void useMode(int index) {
        settings.namingIndex = index;
        settings.namingMode = namingModeText(BatchKind::QuickShoot, index);
    }

    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    ImageCodec codec;
    OutputEncoder encoder{codec};
    RosterSheet roster{dialogs};
    QuickShootSettings settings;
    QuickShotContext context;
    QSize output{358, 441};
    double limitKb = 30;
    int settingsOpened = 0;
    int rosterOpened = 0;
    int sounds = 0;
    QList<bool> cursorChanges;
    NamePromptTarget prompted;
};

} // namespace

TEST_F(QuickShotTest, EachNamingModeWritesAFileOfTheOutputSizeWithinTheLimit) {
    struct Case {
        int mode;
        const char* prefix;
        const char* expectedName;
    };
    const Case cases[] = {
        {0, "", "2022-1-10 11-45-23.jpg"}, {1, "", "0001.jpg"},         {1, "", "0002.jpg"},
        {2, "高一", "高一0001.jpg"},       {2, "高一", "高一0002.jpg"},
    };
    for (const Case& c : cases) {
        useMode(c.mode);
        settings.customPrefix = QString::fromUtf8(c.prefix);
        const QuickShotResult result = shoot();
        EXPECT_EQ(result.outcome, QuickShotOutcome::Saved) << dialogs.lastText().toStdString();
        EXPECT_EQ(QFileInfo(result.path).fileName(), QString::fromUtf8(c.expectedName));
        QImageReader reader(result.path);
        EXPECT_EQ(reader.size(), output) << c.expectedName;
        EXPECT_LE(QFileInfo(result.path).size(), 30 * 1024) << c.expectedName;
    }
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.lastText().toStdString();
    EXPECT_EQ(sounds, 0);
    // The wait cursor came and went around every shot.
    EXPECT_EQ(cursorChanges.size(), 2 * int(std::size(cases)));
    EXPECT_FALSE(cursorChanges.last());
}

TEST_F(QuickShotTest, OtherFormatsAndTheShutter) {
    const char* formats[] = {".PNG", ".BMP", ".GIF"};
    useMode(1);
    settings.shutterSound = true;
    limitKb = 1; // no limit applies to these formats, and no size message
    output = QSize(64, 80);
    for (const char* format : formats) {
        settings.format = QString::fromLatin1(format);
        const QuickShotResult result = shoot();
        EXPECT_EQ(result.outcome, QuickShotOutcome::Saved) << format;
        EXPECT_TRUE(result.path.endsWith(QString::fromLatin1(format).toLower())) << format;
        EXPECT_EQ(QImageReader(result.path).size(), output) << format;
    }
    EXPECT_EQ(sounds, 3);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(QuickShotTest, UnreachableJpegIsWrittenAndReported) {
    useMode(1);
    limitKb = 1;
    const QuickShotResult result = shoot();
    EXPECT_EQ(result.outcome, QuickShotOutcome::SavedOverLimit);
    EXPECT_TRUE(QFileInfo::exists(result.path));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.first().text, unreachableSizeMessage(QFileInfo(result.path).size()));
}

TEST_F(QuickShotTest, AskEveryTimeWritesTheTemporaryFileAndPrompts) {
    useMode(3);
    const QuickShotResult result = shoot();
    EXPECT_EQ(result.outcome, QuickShotOutcome::Prompted);
    EXPECT_EQ(result.path, temporaryPictureFile(dir.path(), ".jpg"));
    EXPECT_TRUE(QFileInfo::exists(result.path));
    EXPECT_EQ(prompted.temporaryFile, result.path);
    EXPECT_EQ(prompted.folder, outFolder());
    EXPECT_EQ(prompted.extension, ".jpg");
}

TEST_F(QuickShotTest, RosterNamingChecksThenNamesAndAdvances) {
    useMode(4);
    // No roster window: the question; No opens the settings, Yes the roster window.
    dialogs.answers = {MessageAnswer::No, MessageAnswer::Yes};
    EXPECT_EQ(shoot().outcome, QuickShotOutcome::Stopped);
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_EQ(shoot().outcome, QuickShotOutcome::Stopped);
    EXPECT_EQ(rosterOpened, 1);
    EXPECT_EQ(dialogs.messages.first().text,
              QStringLiteral("当前批量命名方式需导入EXCEL文件，是否沿用此命名方式？"));

    roster.windowOpened();
    ASSERT_TRUE(
        roster.importWorkbook(test::fixturePath("roster/roster_lo.xlsx"), RosterMode::QuickShoot));
    roster.clickCell(1, 0, RosterMode::QuickShoot);
    const QuickShotResult first = shoot();
    EXPECT_EQ(first.outcome, QuickShotOutcome::Saved);
    EXPECT_EQ(QFileInfo(first.path).fileName(), QStringLiteral("张三.jpg"));
    EXPECT_EQ(roster.cursorRow(), 2);
    // The same name again gets the dash and a number.
    roster.clickCell(1, 0, RosterMode::QuickShoot);
    EXPECT_EQ(QFileInfo(shoot().path).fileName(), QStringLiteral("张三—1.jpg"));
    EXPECT_EQ(QDir(outFolder()).entryList(QDir::Files).size(), 2);
}

TEST_F(QuickShotTest, FolderChecksStopBeforeAnythingIsWritten) {
    struct Case {
        QString folder;
        QString message;
    };
    const Case cases[] = {
        {QString(), QuickShot::folderNotSetMessage()},
        {dir.filePath("gone"), QuickShot::folderMissingMessage()},
    };
    for (const Case& c : cases) {
        settings.saveFolder = c.folder;
        dialogs.messages.clear();
        EXPECT_EQ(shoot().outcome, QuickShotOutcome::Stopped);
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages.first().caption, QStringLiteral("提示："));
        EXPECT_EQ(dialogs.messages.first().text, c.message);
        EXPECT_EQ(dialogs.messages.first().icon, MessageIcon::None);
    }
    EXPECT_EQ(settingsOpened, 2);
    EXPECT_TRUE(cursorChanges.isEmpty());
}

TEST_F(QuickShotTest, FailuresAreReportedAndNothingHalfIsLeft) {
    useMode(2);
    settings.customPrefix = QStringLiteral("../逃出");
    EXPECT_EQ(shoot().outcome, QuickShotOutcome::Stopped);
    EXPECT_EQ(dialogs.lastText(), outputNameProblem(settings.customPrefix));

    // A folder that cannot be written: the write fails and says so.
    useMode(1);
    QFile::setPermissions(outFolder(), QFile::ReadOwner | QFile::ExeOwner);
    const bool writable = QFileInfo(outFolder()).isWritable(); // root writes anyway
    const QuickShotResult result = shoot();
    QFile::setPermissions(outFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!writable) {
        EXPECT_EQ(result.outcome, QuickShotOutcome::Failed);
        EXPECT_TRUE(dialogs.lastText().startsWith(QStringLiteral("无法保存文件")));
    }

    // Nothing to capture (the preview has no picture yet): reported, no file.
    context.captureFrame = [] { return QImage(); };
    const int before = int(QDir(outFolder()).entryList(QDir::Files).size());
    EXPECT_EQ(shoot().outcome, QuickShotOutcome::Failed);
    EXPECT_EQ(QDir(outFolder()).entryList(QDir::Files).size(), before);
}

TEST(QuickShootSwitch, ReuseQuestionOnceThenTheSizeIsStored) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    SettingsFile file(dir.path(), dialogs);
    test::PlainSizeEdits edits(QStringLiteral("358"), QStringLiteral("441"), QStringLiteral("30"));
    QuickShootSettings settings;
    settings.settingsSaved = true;
    IniFile ini(file.path());
    ASSERT_TRUE(ini.write("批量速拍", "像素宽", "295"));
    ASSERT_TRUE(ini.write("批量速拍", "像素高", "413"));
    ASSERT_TRUE(ini.write("批量速拍", "JPG体积", "40"));
    int settingsOpened = 0;
    QuickShootSwitchSeams seams;
    seams.openSettingsWindow = [&] { ++settingsOpened; };
    QuickShootSwitch quick(settings, file, edits, dialogs, seams);

    dialogs.answers = {MessageAnswer::Yes};
    quick.boxClicked(true);
    EXPECT_TRUE(quick.isOn());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.first().caption, QStringLiteral("询问："));
    EXPECT_EQ(dialogs.messages.first().text, QuickShootSwitch::reuseQuestion());
    EXPECT_EQ(dialogs.messages.first().buttons, MessageButtons::YesNo);
    EXPECT_EQ(edits.width + "x" + edits.height + "/" + edits.limit, "295x413/40");

    quick.boxClicked(false);
    EXPECT_FALSE(quick.isOn());
    edits.width = QStringLiteral("358");
    quick.boxClicked(true);
    EXPECT_EQ(dialogs.messages.size(), 1); // not asked again
    EXPECT_EQ(ini.read("批量速拍", "像素宽"), "358");
    EXPECT_EQ(settingsOpened, 0);
}

TEST(QuickShootSwitch, NoOpensTheSettingsAndOffClosesTheRoster) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    SettingsFile file(dir.path(), dialogs);
    test::PlainSizeEdits edits(QStringLiteral("358"), QStringLiteral("441"), QStringLiteral("30"));
    QuickShootSettings settings;
    settings.settingsSaved = true;
    int settingsOpened = 0;
    int rosterClosed = 0;
    QuickShootSwitchSeams seams;
    seams.openSettingsWindow = [&] { ++settingsOpened; };
    seams.rosterWindowOpen = [] { return true; };
    seams.closeRosterWindow = [&] { ++rosterClosed; };
    QuickShootSwitch quick(settings, file, edits, dialogs, seams);
    dialogs.answers = {MessageAnswer::No};
    quick.boxClicked(true);
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_EQ(edits.width, "358");
    quick.boxClicked(false);
    EXPECT_EQ(rosterClosed, 1);

    // Without kept settings nothing is asked or stored.
    QuickShootSettings fresh;
    test::ScriptedDialogs quiet;
    QuickShootSwitch plain(fresh, file, edits, quiet, QuickShootSwitchSeams{});
    plain.boxClicked(true);
    EXPECT_TRUE(plain.isOn());
    EXPECT_TRUE(quiet.messages.isEmpty());
}
