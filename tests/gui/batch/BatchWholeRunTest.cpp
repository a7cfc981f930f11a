// A whole batch crop as an operator does it, over 20 real photos: confirm the settings,
// crop each picture with "截图" and step on with the A key, close the program halfway,
// resume after the restart at the same picture, and find exactly the expected files.
//
// The photos are the public-domain face pictures of dlib's examples (Debian package
// libdlib19.1), scaled up and mirrored at test time into camera-sized photos.

#include "gui/app/PortiqaApp.h"

#include "core/batch/BatchTaskFile.h"
#include "core/ini/IniFile.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/StatusBarWidget.h"
#include "gui/app/UpDownEdit.h"
#include "gui/batch/BatchCropWiring.h"
#include "gui/batch/BatchSettingsWindow.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace portiqa;

namespace {

const QString kFaces = QStringLiteral("/usr/share/doc/libdlib19.1/examples/faces");

// Twenty photos: each face picture scaled to about 2000 px wide, then once more mirrored.
QStringList makePhotos(const QString& folder) {
    QStringList names;
    QStringList sources = QDir(kFaces).entryList({"20*.jpg", "bald_guys.jpg"}, QDir::Files);
    for (int round = 0; round < 2; ++round) {
        for (const QString& source : sources) {
            if (names.size() == 20) {
                return names;
            }
            QImage photo(kFaces + "/" + source);
            photo = photo.scaledToWidth(2000, Qt::SmoothTransformation);
            if (round == 1) {
                photo = photo.mirrored(true, false);
            }
            const QString name =
                QStringLiteral("学生%1.jpg").arg(names.size() + 1, 2, 10, QLatin1Char('0'));
            photo.save(folder + "/" + name, "JPG", 92);
            names << name;
        }
    }
    return names;
}

struct Session {
    test::ScriptedDialogs dialogs;
    std::unique_ptr<PortiqaApp> app;

    explicit Session(const QString& settingsDir) {
        LaunchOptions options;
        options.settingsDir = settingsDir;
        app = std::make_unique<PortiqaApp>(options, &dialogs);
        app->start();
        QApplication::setActiveWindow(&app->window());
    }
    void pressSwitch() {
        StatusBarWidget* bar = app->window().controls().statusBar;
        QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(bar->effectiveWidth() - 100, 5));
        app->workspace().waitForPicture();
    }
    // The A key as the operator types it into the program's window.
    void next() {
        QTest::keyClick(&app->window(), Qt::Key_A);
        app->workspace().waitForPicture();
    }
    void crop() { app->window().controls().saveButton->click(); }
    QString title() const { return app->window().windowTitle(); }
};

} // namespace

TEST(BatchWholeRun, TwentyPhotosCroppedAcrossARestart) {
    if (!QFileInfo(kFaces).isDir()) {
        GTEST_SKIP() << "libdlib19.1's example photos are not installed";
    }
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("photos");
    QDir(dir.path()).mkpath("crops");
    const QStringList names = makePhotos(dir.filePath("photos"));
    ASSERT_EQ(names.size(), 20);
    const QString settings = dir.filePath("settings");

    {
        Session s(settings);
        s.app->window().controls().widthEdit->setText("295");
        s.app->window().controls().heightEdit->setText("413");
        s.app->batchCrop().setSettingsWindowHook([&](QDialog& dialog) {
            auto& window = static_cast<BatchSettingsWindow&>(dialog);
            QTimer::singleShot(0, &window, [&] {
                window.sourceEdit()->setText(dir.filePath("photos") + "/");
                window.saveEdit()->setText(dir.filePath("crops"));
                window.keepBox()->setChecked(true);
                window.confirmButton()->click();
            });
        });
        s.pressSwitch(); // no kept settings yet: the settings window, confirmed
        ASSERT_TRUE(s.app->window().controls().statusBar->switchChecked());
        for (int i = 0; i < 12; ++i) {
            EXPECT_TRUE(s.title().endsWith("  未截图")) << s.title().toStdString();
            s.crop();
            EXPECT_TRUE(s.title().endsWith("  已截图")) << s.title().toStdString();
            s.next();
        }
        EXPECT_EQ(s.app->batchTask().taskPosition(), 13);
    } // the program is closed

    Session s(settings);
    s.dialogs.answers.push_back(MessageAnswer::Yes);
    s.pressSwitch(); // resume: the same picture as before the restart
    ASSERT_EQ(s.dialogs.messages.size(), 1);
    EXPECT_EQ(s.app->batchTask().taskPosition(), 13);
    EXPECT_EQ(s.app->window().controls().widthEdit->text(), "295");
    for (int i = 12; i < 20; ++i) {
        s.crop();
        s.next();
    }
    // Past the last picture the key says so and stays.
    EXPECT_EQ(s.dialogs.lastText(), "当前已是末位图片");
    EXPECT_EQ(s.app->batchTask().taskPosition(), 20);

    QStringList expected;
    for (const QString& name : names) {
        expected << name; // same-name mode, .JPG
    }
    expected.sort();
    const QStringList written = QDir(dir.filePath("crops")).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(written, expected);
    for (const QString& name : written) {
        const QString path = dir.filePath("crops/" + name);
        EXPECT_EQ(QImage(path).size(), QSize(295, 413)) << name.toStdString();
        EXPECT_LE(QFileInfo(path).size(), 500 * 1024) << name.toStdString();
    }
    IniFile task(dir.filePath("settings/批截任务.ini"));
    for (int k = 1; k <= 20; ++k) {
        EXPECT_EQ(task.read(QString::number(k), "操作记录"), "已截图") << k;
    }
}
