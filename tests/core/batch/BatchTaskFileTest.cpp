#include "core/batch/BatchTaskFile.h"

#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace portiqa;
using portiqa::test::readAll;
using portiqa::test::ScriptedDialogs;
using portiqa::test::writeAll;

namespace {

struct RecordingView final : TaskPictureView {
    QStringList loaded;
    QStringList titles;
    int clears = 0;
    void loadPictureFile(const QString& path) override { loaded.append(path); }
    void clearPicturePanels() override { ++clears; }
    void setWindowTitle(const QString& title) override { titles.append(title); }
    QString title() const { return titles.isEmpty() ? QString() : titles.last(); }
};

class BatchTaskFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(root.path()).mkpath(u"settings"_qs));
        ASSERT_TRUE(QDir(root.path()).mkpath(u"pictures"_qs));
        settings.sourceFolder = pictures();
    }
    QString pictures() const { return root.filePath(u"pictures"_qs); }
    void addPicture(const QString& name) {
        ASSERT_TRUE(writeAll(pictures() + u"/"_qs + name, "p"));
    }
    QString taskText() const { return IniDocument::decode(readAll(task.path())); }
    QString stored(const QString& section, const QString& key) const {
        return IniFile(task.path()).read(section, key);
    }
    void writeTask(const QString& text) {
        ASSERT_TRUE(writeAll(task.path(), IniDocument::encode(text)));
    }
    // A task of `names`, written as a fresh run writes it, with the first picture shown.
    void startWith(const QStringList& names) {
        for (const QString& name : names) {
            addPicture(name);
        }
        ASSERT_TRUE(task.writeNewTask(names));
        task.showTaskPicture(TaskStep::Current);
    }

    QTemporaryDir root;
    ScriptedDialogs dialogs;
    RecordingView view;
    BatchCropSettings settings;
    PictureSourceRecord source;
    BatchTaskFile task{root.filePath(u"settings"_qs), settings, source, dialogs, view};
};

} // namespace

TEST_F(BatchTaskFileTest, ScanListsPictureFilesByTheirLastExtension) {
    for (const char16_t* name : {u"x.JPG", u"y.Jpeg", u"notes.txt", u"photo.tar.png", u"gif",
                                 u".hidden.bmp", u"readme", u"a.png.txt", u"张三.GIF"}) {
        addPicture(QString::fromUtf16(name));
    }
    ASSERT_TRUE(QDir(pictures()).mkdir(u"z.png"_qs));
    QStringList names = BatchTaskFile::scanPictureFolder(pictures());
    names.sort();
    EXPECT_EQ(names, QStringList({u".hidden.bmp"_qs, u"gif"_qs, u"photo.tar.png"_qs, u"x.JPG"_qs,
                                  u"y.Jpeg"_qs, u"张三.GIF"_qs}));
    EXPECT_TRUE(BatchTaskFile::scanPictureFolder(QString()).isEmpty());
    EXPECT_TRUE(BatchTaskFile::scanPictureFolder(root.filePath(u"missing"_qs)).isEmpty());
}

TEST_F(BatchTaskFileTest, ANewTaskIsWrittenInOrderAndShowsTheFirstPicture) {
    startWith({u"a.jpg"_qs, u"b.png"_qs});
    EXPECT_EQ(taskText(), u"[批截位置]\r\n批截位置=1\r\n[最大位置]\r\n最大位置=2\r\n[1]\r\n"
                          u"操作记录=未截图\r\n图片名=a.jpg\r\n[2]\r\n操作记录=未截图\r\n"
                          u"图片名=b.png\r\n"_qs);
    EXPECT_EQ(task.taskCount(), 2);
    EXPECT_EQ(task.taskPosition(), 1);
    EXPECT_EQ(task.taskPictureName(), u"a.jpg"_qs);
    EXPECT_EQ(view.title(), u" 当前文件：a.jpg  未截图"_qs);
    EXPECT_EQ(view.loaded, QStringList{pictures() + u"/a.jpg"_qs});
}

TEST_F(BatchTaskFileTest, NavigationStopsAtBothEndsWithAMessage) {
    startWith({u"a.jpg"_qs, u"b.jpg"_qs, u"c.jpg"_qs});
    task.showTaskPicture(TaskStep::Previous);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, u"提示"_qs);
    EXPECT_EQ(dialogs.messages[0].text, u"当前已是最初图片"_qs);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(stored(u"批截位置"_qs, u"批截位置"_qs), u"1"_qs);

    task.navigate(TaskStep::Next);
    task.navigate(TaskStep::Next);
    EXPECT_EQ(task.taskPosition(), 3);
    EXPECT_EQ(view.title(), u" 当前文件：c.jpg  未截图"_qs);
    task.navigate(TaskStep::Next);
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.lastText(), u"当前已是末位图片"_qs);
    EXPECT_EQ(stored(u"批截位置"_qs, u"批截位置"_qs), u"3"_qs);
    EXPECT_EQ(task.taskPosition(), 3);

    task.markCurrentDone();
    EXPECT_EQ(view.title(), u" 当前文件：c.jpg  已截图"_qs);
    EXPECT_EQ(stored(u"3"_qs, u"操作记录"_qs), u"已截图"_qs);
    task.navigate(TaskStep::Previous);
    task.navigate(TaskStep::Next);
    EXPECT_EQ(view.title(), u" 当前文件：c.jpg  已截图"_qs);
}

TEST_F(BatchTaskFileTest, AMissingPictureIsShownAsLostAndSkippedPast) {
    startWith({u"a.jpg"_qs, u"b.jpg"_qs, u"c.jpg"_qs});
    ASSERT_TRUE(QFile::remove(pictures() + u"/b.jpg"_qs));
    task.navigate(TaskStep::Next);
    EXPECT_EQ(view.title(), u" 当前文件：b.jpg  已丢失"_qs);
    EXPECT_EQ(view.clears, 1);
    EXPECT_EQ(view.loaded.size(), 1);
    task.navigate(TaskStep::Next);
    EXPECT_EQ(view.title(), u" 当前文件：c.jpg  未截图"_qs);
    EXPECT_EQ(view.loaded.last(), pictures() + u"/c.jpg"_qs);
}

TEST_F(BatchTaskFileTest, PicturesAddedDuringTheRunAreAppendedInScanOrder) {
    startWith({u"a.jpg"_qs, u"b.jpg"_qs});
    task.navigate(TaskStep::Next);
    addPicture(u"c.png"_qs);
    addPicture(u"d.gif"_qs);
    QStringList expected = BatchTaskFile::scanPictureFolder(pictures());
    expected.removeAll(u"a.jpg"_qs);
    expected.removeAll(u"b.jpg"_qs);
    task.navigate(TaskStep::Next);
    EXPECT_EQ(task.taskCount(), 4);
    EXPECT_EQ(stored(u"最大位置"_qs, u"最大位置"_qs), u"4"_qs);
    EXPECT_EQ(stored(u"3"_qs, u"图片名"_qs), expected.value(0));
    EXPECT_EQ(stored(u"4"_qs, u"图片名"_qs), expected.value(1));
    EXPECT_EQ(stored(u"4"_qs, u"操作记录"_qs), u"未截图"_qs);
    EXPECT_EQ(task.taskPosition(), 3);
    EXPECT_EQ(view.title(), u" 当前文件："_qs + expected.value(0) + u"  未截图"_qs);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // A name whose letter case changed is a new picture; the old entry is lost.
    task.navigate(TaskStep::Next);
    ASSERT_TRUE(QFile::rename(pictures() + u"/a.jpg"_qs, pictures() + u"/A.jpg"_qs));
    task.navigate(TaskStep::Next);
    EXPECT_EQ(task.taskCount(), 5);
    EXPECT_EQ(stored(u"5"_qs, u"图片名"_qs), u"A.jpg"_qs);
    for (int i = 0; i < 4; ++i) {
        task.navigate(TaskStep::Previous);
    }
    EXPECT_EQ(view.title(), u" 当前文件：a.jpg  已丢失"_qs);
}

TEST_F(BatchTaskFileTest, AFreshRunRemovesStaleEntriesAndAKeyStartedRunKeepsThem) {
    QString old = u"[批截位置]\n批截位置=4\n[最大位置]\n最大位置=5\n"_qs;
    for (int k = 1; k <= 5; ++k) {
        old += QStringLiteral("[%1]\n操作记录=已截图\n图片名=old%1.jpg\n").arg(k);
    }
    addPicture(u"new1.jpg"_qs);
    addPicture(u"new2.jpg"_qs);

    writeTask(old);
    task.navigate(TaskStep::Next); // no task loaded yet: built from the folder
    EXPECT_EQ(task.taskCount(), 2);
    EXPECT_EQ(task.taskPosition(), 1);
    EXPECT_EQ(stored(u"最大位置"_qs, u"最大位置"_qs), u"2"_qs);
    EXPECT_EQ(stored(u"5"_qs, u"图片名"_qs), u"old5.jpg"_qs);

    writeTask(old);
    EXPECT_TRUE(task.startNewRun());
    EXPECT_EQ(IniFile(task.path()).sectionNames(),
              QStringList({u"批截位置"_qs, u"最大位置"_qs, u"1"_qs, u"2"_qs}));
    EXPECT_EQ(task.taskPosition(), 1);

    ASSERT_TRUE(QFile::remove(pictures() + u"/new1.jpg"_qs));
    ASSERT_TRUE(QFile::remove(pictures() + u"/new2.jpg"_qs));
    EXPECT_FALSE(task.startNewRun());
    EXPECT_EQ(task.taskCount(), 0);
    EXPECT_FALSE(QFileInfo::exists(task.path()));
    task.navigate(TaskStep::Next); // an empty folder does nothing
    EXPECT_FALSE(QFileInfo::exists(task.path()));
}

TEST_F(BatchTaskFileTest, BrokenTaskFilesCostOnlyTheEntriesThatExist) {
    addPicture(u"a.jpg"_qs);
    const struct {
        const char16_t* text;
        int count; // after resume
        const char16_t* title;
    } cases[] = {
        {u"", 0, u" 当前文件：  已丢失"},
        {u"[最大位置]\n最大位置=-5\n", 0, u" 当前文件：  已丢失"},
        {u"[批截位置]\n批截位置=3\n[最大位置]\n最大位置=2000000000\n[1]\n图片名=a.jpg\n",
         2000000000, u" 当前文件：  已丢失"},
        {u"[批截位置]\n批截位置=1\n[最大位置]\n最大位置=99999999999\n[1]\n图片名=a.jpg\n"
         u"操作记录=未截图\n",
         2147483647, u" 当前文件：a.jpg  未截图"},
        {u"[批截位置]\n批截位置=2147483647\n[最大位置]\n最大位置=2147483647\n", 2147483647,
         u" 当前文件：  已丢失"},
        {u"[批截位置]\n批截位置=1\n[1]\n图片名=../pictures/a.jpg\n", 0,
         u" 当前文件：../pictures/a.jpg  已丢失"},
    };
    for (const auto& c : cases) {
        writeTask(QString::fromUtf16(c.text));
        task.resume();
        const std::string label = QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(task.taskCount(), c.count) << label;
        EXPECT_EQ(view.title(), QString::fromUtf16(c.title)) << label;
        // Stepping on past missing entries and past the end stays cheap and bounded.
        task.showTaskPicture(TaskStep::Next);
        task.showTaskPicture(TaskStep::Next);
        task.showTaskPicture(TaskStep::Previous);
    }
}

TEST_F(BatchTaskFileTest, AnOpenedFileIsMarkedInTheTitleOnly) {
    startWith({u"a.jpg"_qs});
    const QString before = taskText();
    source.fromFile(u"/somewhere/else/z.png"_qs);
    task.markCurrentDone();
    EXPECT_EQ(view.title(), u" 当前文件：z.png  已截图"_qs);
    EXPECT_EQ(taskText(), before);
    // Navigation shows the task's pictures again, and marks follow the task.
    task.navigate(TaskStep::Previous);
    EXPECT_EQ(task.source().kind, SourceKind::Task);
    task.markCurrentDone();
    EXPECT_EQ(stored(u"1"_qs, u"操作记录"_qs), u"已截图"_qs);
}

TEST(BatchTaskFileFailure, AnUnwritableTaskIsReportedOnceAndTheRunGoesOn) {
    QTemporaryDir root;
    ASSERT_TRUE(writeAll(root.filePath(u"settings"_qs), "a plain file"));
    ASSERT_TRUE(writeAll(root.filePath(u"pictures/a.jpg"_qs), "p"));
    ASSERT_TRUE(writeAll(root.filePath(u"pictures/b.jpg"_qs), "p"));
    ScriptedDialogs dialogs;
    RecordingView view;
    BatchCropSettings settings;
    settings.sourceFolder = root.filePath(u"pictures"_qs);
    PictureSourceRecord source;
    BatchTaskFile task(root.filePath(u"settings"_qs), settings, source, dialogs, view);
    task.navigate(TaskStep::Next);
    task.navigate(TaskStep::Next);
    task.markCurrentDone();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.lastText().contains(u"批截任务.ini"_qs));
    EXPECT_EQ(task.taskPosition(), 2);
    EXPECT_EQ(view.loaded.size(), 2);
    EXPECT_TRUE(view.title().endsWith(u"  已截图"_qs));
}
