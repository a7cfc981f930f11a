// The crop command against the window: the same picture, the same output size and the same
// framing must give the same file, byte for byte.

#include "cli/CropCommand.h"
#include "core/face/AutoFramer.h"
#include "core/ini/IniFile.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/face/AutoFrameFeature.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdlib>

using namespace portiqa;

namespace {

struct Case {
    const char* picture;
    const char* framing; // the command's --frame
    const char* format;
    const char* background = ""; // the colour kept in the output options, "" for none
};

// The window: size type 学籍/身份证, the picture opened, framed by the command or left as
// opened, saved through 截图 into `path`.
QByteArray savedByTheWindow(const Case& c, const QString& settings, const QString& path) {
    test::ScriptedDialogs dialogs;
    QDir().mkpath(settings);
    IniFile(settings + "/set.dll").write("输出选项", "背景颜色", QString::fromUtf8(c.background));
    LaunchOptions options;
    options.settingsDir = settings;
    PortiqaApp app(options, &dialogs);
    app.start();
    const MainControls& controls = app.window().controls();
    controls.sizeTypeCombo->setCurrentIndex(2);
    emit controls.sizeTypeCombo->activated(2);
    WorkspaceController& workspace = app.workspace();
    EXPECT_TRUE(workspace.openFile(test::fixturePath(QString::fromUtf8(c.picture))));
    workspace.waitForPicture();
    if (QByteArray(c.framing) == "face") {
        EXPECT_TRUE(app.autoFrame().framer().frameNow());
    }
    dialogs.files.push_back(path);
    controls.saveButton->click();
    EXPECT_EQ(dialogs.saveRequests.size(), 1);
    return test::readAll(path);
}

} // namespace

TEST(CropSameAsWindow, CommandAndWindowWriteTheSameBytes) {
    const Case cases[] = {
        {"faces/grace_hopper_0.jpg", "face", "jpg"},
        {"faces/astronaut_0.jpg", "face", "png"},
        {"faces/audrey_0.jpg", "centre", "jpg"},
        {"faces/cage_0.jpg", "centre", "png"},
        // The background replaced: the window's frame and the command agree on it too.
        {"faces/franck_02159_0.jpg", "face", "png", "#438EDB"},
        {"faces/cage_0.jpg", "centre", "jpg", "#FF0000"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString extension = QStringLiteral(".") + QString::fromLatin1(c.format);
        const QByteArray window =
            savedByTheWindow(c, dir.filePath("s"), dir.filePath("window" + extension));
        ASSERT_FALSE(window.isEmpty()) << c.picture;

        CropStreams streams;
        const int status = cropCommandMain(
            {test::fixturePath(QString::fromUtf8(c.picture)), "--out", dir.filePath("out"),
             "--size", "358x441", "--max-kb", "500", "--frame", c.framing, "--format", c.format,
             "--name", "seq", "--jobs", "1", "--settings-dir", dir.filePath("s")},
            streams);
        ASSERT_EQ(status, 0) << c.picture;
        const QByteArray command = test::readAll(dir.filePath("out/0001" + extension));
        if (*c.background != 0) { // and it was replaced: the corner is the colour
            const QColor corner = QImage::fromData(command).pixelColor(3, 3);
            const QColor colour(QString::fromUtf8(c.background));
            EXPECT_LE(std::abs(corner.red() - colour.red()) +
                          std::abs(corner.green() - colour.green()) +
                          std::abs(corner.blue() - colour.blue()),
                      12)
                << c.picture;
        }
        EXPECT_TRUE(command == window) << c.picture << " " << c.framing << " " << c.format << ": "
                                       << command.size() << " vs " << window.size();
    }
}
