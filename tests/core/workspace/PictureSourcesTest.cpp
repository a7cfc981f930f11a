#include "core/workspace/PictureSources.h"
#include "core/workspace/OutputSpec.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/WorkspaceKeys.h"
#include "support/ScriptedDialogs.h"
#include "TestPictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace portiqa {
namespace {

const QString ManyFiles = QStringLiteral("您同时拖放了3个文件，请每次只拖放一个文件。");
const QString WrongType =
    QStringLiteral("本软件只接收jpg、bmp、gif、png四类图片文件，您拖放的文件不属此范围。");

class PictureSourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(test::patternPicture(60, 40).save(path("a.JPG"), "JPG"));
        ASSERT_TRUE(test::patternPicture(30, 20).save(path("b.png"), "PNG"));
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir;
    PhotoWorkspace workspace;
    test::ScriptedDialogs dialogs;
    PictureSources sources{workspace, dialogs};
};

TEST_F(PictureSourcesTest, DropAcceptsOnePictureFileByItsExtension) {
    QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));
    struct Case {
        QString dropped;
        QString message; // empty: loaded
    };
    const Case cases[] = {
        {path("a.JPG"), {}},
        {path("a.JPG") + "\r\n" + path("b.png") + "\r\n" + path("c.gif"), ManyFiles},
        {path("a.tif"), WrongType},
        {dir.path(), WrongType},
        {path("folder.jpg"), WrongType},
        {path("noextension"), WrongType},
    };
    for (const Case& c : cases) {
        dialogs.messages.clear();
        const bool loaded = sources.dropFiles(c.dropped);
        EXPECT_EQ(loaded, c.message.isEmpty()) << c.dropped.toStdString();
        EXPECT_EQ(dialogs.lastText(), c.message) << c.dropped.toStdString();
        if (!c.message.isEmpty()) {
            EXPECT_EQ(dialogs.messages.last().caption, QStringLiteral("提示"));
        }
    }
    EXPECT_EQ(workspace.picture().size(), QSize(60, 40));
    // A drop from a file manager arrives as URLs.
    EXPECT_TRUE(sources.dropUrls({QUrl::fromLocalFile(path("b.png"))}));
    EXPECT_EQ(workspace.picture().size(), QSize(30, 20));
    EXPECT_EQ(PictureSources::dropText(
                  {QUrl::fromLocalFile("/x/a.jpg"), QUrl::fromLocalFile("/x/b.jpg")}),
              QStringLiteral("/x/a.jpg\r\n/x/b.jpg"));
}

TEST_F(PictureSourcesTest, UnreadableFileIsToldAndKeepsThePicture) {
    ASSERT_TRUE(sources.loadPictureFile(path("b.png")));
    workspace.setZoom(2.0);
    const QImage view = workspace.view().copy();
    writeFile("empty.jpg", {});
    writeFile("text.jpg", "this is not a picture");
    QFile png(path("b.png"));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    writeFile("truncated.png", png.readAll().left(40));
    for (const QString name : {"empty.jpg", "text.jpg", "truncated.png", "missing.png"}) {
        dialogs.messages.clear();
        EXPECT_FALSE(sources.loadPictureFile(path(name))) << name.toStdString();
        ASSERT_EQ(dialogs.messages.size(), 1) << name.toStdString();
        EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("提示"));
        EXPECT_EQ(workspace.picture().size(), QSize(30, 20));
        EXPECT_DOUBLE_EQ(workspace.zoom(), 2.0);
        EXPECT_TRUE(workspace.view() == view);
    }
}

TEST_F(PictureSourcesTest, OpenUsesTheDialogAndRecordsTheSourceOnlyInBatchMode) {
    EXPECT_FALSE(sources.openPicture()); // cancelled
    EXPECT_FALSE(workspace.pictureLoaded());
    EXPECT_EQ(dialogs.openTitles, QStringList{QStringLiteral("打开图片文件")});

    dialogs.files.push_back(path("a.JPG"));
    EXPECT_TRUE(sources.openPicture());
    EXPECT_TRUE(workspace.pictureLoaded());
    EXPECT_TRUE(sources.sourcePath().isEmpty());

    bool batch = true;
    sources.setBatchCropMode([&batch] { return batch; });
    dialogs.files.push_back(path("b.png"));
    EXPECT_TRUE(sources.openPicture());
    EXPECT_EQ(sources.sourceKind(), 1);
    EXPECT_EQ(sources.sourcePath(), path("b.png"));
}

TEST_F(PictureSourcesTest, NewPictureIsFittedAndCentred) {
    const QImage wide = test::patternPicture(3000, 2000);
    ASSERT_TRUE(wide.save(path("wide.bmp"), "BMP"));
    workspace.applyScroll(5, 5);
    ASSERT_TRUE(sources.loadPictureFile(path("wide.bmp")));
    EXPECT_DOUBLE_EQ(workspace.zoom(), 411.0 / 3000);
    EXPECT_EQ(workspace.zoomedSize(), QSize(411, 274));
    EXPECT_EQ(workspace.offset(), QPoint(0, 2));
    EXPECT_DOUBLE_EQ(workspace.scrollFractionX(), 0.5);
}

TEST_F(PictureSourcesTest, PasteWithoutPictureKeepsTheCurrentOne) {
    ASSERT_TRUE(sources.pastePicture(test::patternPicture(70, 50)));
    EXPECT_EQ(workspace.picture().size(), QSize(70, 50));
    EXPECT_FALSE(sources.pastePicture(QImage()));
    EXPECT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(workspace.picture().size(), QSize(70, 50));
    const QImage copied = sources.copyFramedRegion();
    EXPECT_EQ(copied.size(), workspace.frame().size());
}

TEST_F(PictureSourcesTest, CopyRefusesAnUnusableOutputSizeLikeTheSave) {
    bool usable = true;
    sources.setOutputSizeUsable([&usable] { return usable; });
    EXPECT_TRUE(sources.copyFramedRegion().isNull()); // no picture: nothing, silently
    EXPECT_TRUE(dialogs.messages.isEmpty());
    ASSERT_TRUE(sources.pastePicture(test::patternPicture(300, 200)));
    usable = false;
    EXPECT_TRUE(sources.copyFramedRegion().isNull());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(dialogs.messages[0].text, unusableOutputSizeHint());
    usable = true;
    EXPECT_EQ(sources.copyFramedRegion().size(), workspace.frame().size());
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST(WorkspaceKeys, OnlyCtrlAloneWithVOrCPastesOrCopies) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        WorkspaceKeyAction action;
    };
    const Case cases[] = {
        {Qt::Key_V, Qt::ControlModifier, WorkspaceKeyAction::Paste},
        {Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier, WorkspaceKeyAction::None},
        {Qt::Key_V, Qt::NoModifier, WorkspaceKeyAction::None},
        {Qt::Key_V, Qt::ControlModifier | Qt::AltModifier, WorkspaceKeyAction::None},
        {Qt::Key_C, Qt::ControlModifier, WorkspaceKeyAction::Copy},
        {Qt::Key_C, Qt::ShiftModifier, WorkspaceKeyAction::None},
        {Qt::Key_Equal, Qt::NoModifier, WorkspaceKeyAction::ZoomIn},
        {Qt::Key_Plus, Qt::ShiftModifier | Qt::ControlModifier, WorkspaceKeyAction::ZoomIn},
        {Qt::Key_Minus, Qt::AltModifier, WorkspaceKeyAction::ZoomOut},
        {Qt::Key_Minus, Qt::KeypadModifier, WorkspaceKeyAction::None},
        {Qt::Key_Left, Qt::ShiftModifier, WorkspaceKeyAction::FrameLeft},
        {Qt::Key_Down, Qt::NoModifier, WorkspaceKeyAction::FrameDown},
        {Qt::Key_A, Qt::NoModifier, WorkspaceKeyAction::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WorkspaceKeys::action(c.key, c.modifiers), c.action)
            << c.key << " " << c.modifiers.toInt();
    }
}

} // namespace
} // namespace portiqa
