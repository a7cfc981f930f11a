// Batch crop through the whole program (offscreen): the status-bar switch, the resumed run,
// saving, the navigation keys and the moments the hotkeys are released and taken back.

#include "gui/app/PortiqaApp.h"

#include "core/batch/BatchTaskFile.h"
#include "core/ini/IniFile.h"
#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/StatusBarWidget.h"
#include "gui/batch/BatchCropWiring.h"
#include "gui/batch/BatchSettingsWindow.h"
#include "gui/output/NamePrompt.h"
#include "gui/workspace/WorkspaceController.h"
#include "platform/GlobalHotkeys.h"
#include "support/BatchSwitch.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>
#include <QTimer>

#include <utility>

using namespace portiqa;

namespace {

// Scripted dialogs that can act while a message is open, as events arriving under a box do.
struct HookedDialogs final : test::ScriptedDialogs {
    std::function<void()> duringMessage;
    MessageAnswer message(const QString& caption, const QString& text, MessageIcon icon,
                          MessageButtons buttons) override {
        if (duringMessage) {
            const auto act = std::exchange(duringMessage, nullptr);
            act();
        }
        return ScriptedDialogs::message(caption, text, icon, buttons);
    }
};

// A program started over kept settings: pictures a.png and b.png to crop into "out".
struct KeptBatchApp {
    QTemporaryDir dir;
    HookedDialogs dialogs;
    std::unique_ptr<PortiqaApp> app;
    QStringList settingsOpened;

    explicit KeptBatchApp(int namingIndex = 0) {
        QDir().mkpath(dir.filePath("s"));
        QDir().mkpath(dir.filePath("in"));
        QDir().mkpath(dir.filePath("out"));
        QImage picture(300, 200, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        picture.save(dir.filePath("in/a.png"));
        picture.fill(Qt::darkBlue);
        picture.save(dir.filePath("in/b.png"));
        IniFile file(dir.filePath("s/set.dll"));
        const QString s = QStringLiteral("批量截图");
        file.writeGroup({{s, "命名方式", QString::number(namingIndex)},
                         {s, "保存目录", dir.filePath("out")},
                         {s, "待截图目录", dir.filePath("in")},
                         {s, "是否保存设置", "真"},
                         {s, "像素宽", "120"},
                         {s, "像素高", "150"},
                         {s, "JPG体积", "40"}});
        // The task of an earlier session, at its first picture.
        IniFile task(dir.filePath("s/批截任务.ini"));
        task.writeGroup({{"批截位置", "批截位置", "1"},
                         {"最大位置", "最大位置", "2"},
                         {"1", "操作记录", "未截图"},
                         {"1", "图片名", "a.png"},
                         {"2", "操作记录", "未截图"},
                         {"2", "图片名", "b.png"}});
        LaunchOptions options;
        options.settingsDir = dir.filePath("s");
        app = std::make_unique<PortiqaApp>(options, &dialogs);
        app->start();
        // The settings window records that it opened and closes unconfirmed.
        app->batchCrop().setSettingsWindowHook([this](QDialog& window) {
            settingsOpened << QString::number(app->batchCrop().hotkeys().registered());
            QTimer::singleShot(0, &window, [&window] { window.reject(); });
        });
    }
    StatusBarWidget& bar() { return *app->window().controls().statusBar; }
    void press(int x, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(&bar(), button, {}, QPoint(x, bar().height() / 2));
    }
    void switchOn() {
        dialogs.answers.push_back(MessageAnswer::Yes);
        test::pressBatchSwitch(bar());
        app->workspace().waitForPicture();
    }
    bool hotkeys() { return app->batchCrop().hotkeys().registered(); }
    QString title() { return app->window().windowTitle(); }
    void save() { app->window().controls().saveButton->click(); }
    QStringList outputs() { return QDir(dir.filePath("out")).entryList(QDir::Files, QDir::Name); }
    QString record(int entry) {
        return IniFile(app->batchTask().path()).read(QString::number(entry), "操作记录");
    }
};

} // namespace

TEST(BatchCropApp, TheSwitchBandAndItsTwoButtons) {
    KeptBatchApp t;
    const int e = t.bar().effectiveWidth();
    t.press(e - 161); // left of the band: nothing
    t.press(e - 44);  // right of it: nothing
    EXPECT_TRUE(t.dialogs.messages.isEmpty());
    EXPECT_FALSE(t.bar().switchChecked());

    t.switchOn(); // the band's right end still counts
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_TRUE(t.bar().switchChecked());
    EXPECT_TRUE(t.hotkeys());
    EXPECT_EQ(t.title(), " 当前文件：a.png  未截图");
    EXPECT_EQ(t.app->window().controls().sizeLimitEdit->text(), "40");

    t.press(e - 160, Qt::RightButton); // the settings window, the keys released meanwhile
    EXPECT_EQ(t.settingsOpened, QStringList({"0"}));
    EXPECT_TRUE(t.hotkeys()); // closed unconfirmed with the mode on: back again
    EXPECT_TRUE(t.bar().switchChecked());

    t.press(e - 100); // off
    EXPECT_FALSE(t.bar().switchChecked());
    EXPECT_FALSE(t.hotkeys());
    EXPECT_EQ(t.title(), "Portiqa V2.7");
    EXPECT_EQ(t.app->batchTask().taskCount(), 0);

    t.switchOn();
    t.app->window().dispatchToolbar(10); // 拍摄 leaves batch crop mode first
    EXPECT_FALSE(t.app->links().batchCropMode());
    EXPECT_FALSE(t.bar().switchChecked());
    EXPECT_FALSE(t.hotkeys());
    EXPECT_EQ(t.title(), "Portiqa V2.7");
    t.press(e - 100, Qt::RightButton); // the settings window opens with the mode off too
    EXPECT_EQ(t.settingsOpened.size(), 2);
    EXPECT_FALSE(t.bar().switchChecked());
}

TEST(BatchCropApp, AFileOpenedByHandIsNamedAfterItselfAndLeavesTheTaskAlone) {
    KeptBatchApp t;
    t.switchOn();
    QImage other(200, 200, QImage::Format_RGB32);
    other.fill(Qt::red);
    ASSERT_TRUE(other.save(t.dir.filePath("opened.by.hand.png")));
    t.dialogs.files.push_back(t.dir.filePath("opened.by.hand.png"));
    t.app->workspace().openPicture();
    t.save();
    EXPECT_EQ(t.outputs(), QStringList({"opened.jpg"}));
    EXPECT_EQ(t.record(1), "未截图");
    EXPECT_EQ(t.title(), " 当前文件：opened.by.hand.png  已截图");
    EXPECT_EQ(QImage(t.dir.filePath("out/opened.jpg")).size(), QSize(120, 150));

    // A key shows the task's next picture; its save marks its entry.
    t.app->batchCrop().hotkeyPressed('A');
    t.app->workspace().waitForPicture();
    EXPECT_EQ(t.title(), " 当前文件：b.png  未截图");
    t.save();
    EXPECT_EQ(t.outputs(), QStringList({"b.jpg", "opened.jpg"}));
    EXPECT_EQ(t.record(2), "已截图");
    EXPECT_EQ(t.title(), " 当前文件：b.png  已截图");

    QFile::remove(t.dir.filePath("in/a.png"));
    t.app->batchCrop().hotkeyPressed('D');
    EXPECT_EQ(t.title(), " 当前文件：a.png  已丢失");
}

TEST(BatchCropApp, TheNamingPromptAndShutdownReleaseTheKeys) {
    KeptBatchApp t(4);
    t.switchOn();
    QStringList whileOpen;
    t.app->batchCrop().setNamePromptHook([&](QDialog& dialog) {
        auto& prompt = static_cast<NamePrompt&>(dialog);
        whileOpen << QString::number(t.hotkeys());
        QTimer::singleShot(0, &prompt, [&prompt] {
            prompt.nameEdit()->setText("李四");
            prompt.confirmButton()->click();
        });
    });
    t.save();
    EXPECT_EQ(whileOpen, QStringList({"0"}));
    EXPECT_TRUE(t.hotkeys());
    EXPECT_EQ(t.outputs(), QStringList({"李四.jpg"}));
    EXPECT_EQ(t.record(1), "已截图");

    t.app->window().close();
    EXPECT_FALSE(t.hotkeys());
}

TEST(BatchCropApp, TheLimitIsStoredWhileTheModeIsOn) {
    KeptBatchApp t;
    const QString file = t.dir.filePath("s/set.dll");
    QLineEdit* limit = t.app->window().controls().sizeLimitEdit;
    limit->setText("35");
    EXPECT_EQ(IniFile(file).read("批量截图", "JPG体积"), "40"); // mode off: not stored
    t.switchOn();
    limit->setText("30.5");
    EXPECT_EQ(IniFile(file).read("批量截图", "JPG体积"), "30.5");
}

TEST(BatchCropApp, TheNextPictureIsReadAheadAndShownAtOnce) {
    KeptBatchApp t;
    t.switchOn();
    PicturePrefetcher& prefetcher = t.app->batchCrop().prefetcher();
    const auto next = prefetcher.find(t.dir.filePath("in/b.png"));
    ASSERT_TRUE(next);
    PicturePrefetcher::wait(next);
    t.app->batchCrop().hotkeyPressed('S');
    EXPECT_FALSE(t.app->workspace().loader().isLoading()); // on show when the key returns
    EXPECT_EQ(t.title(), " 当前文件：b.png  未截图");
    EXPECT_EQ(t.app->workspace().workspace().picture().pixel(10, 10), QColor(Qt::darkBlue).rgb());
    // a.png is kept for the step back; nothing beyond the neighbours and the picture on show.
    EXPECT_TRUE(prefetcher.find(t.dir.filePath("in/a.png")));
    EXPECT_LE(prefetcher.entryCount(), 2);
    t.press(t.bar().effectiveWidth() - 100); // off: nothing is kept
    EXPECT_EQ(prefetcher.entryCount(), 0);
}

TEST(BatchCropApp, KeysDuringAnEndOfRunMessageDoNotStackSteps) {
    KeptBatchApp t;
    t.switchOn();
    t.app->batchCrop().hotkeyPressed('A'); // b.png, the last picture
    t.app->workspace().waitForPicture();
    const auto before = t.dialogs.messages.size();
    // A held key goes on arriving while the "last picture" message is open.
    t.dialogs.duringMessage = [&t] {
        t.app->batchCrop().hotkeyPressed('A');
        t.app->batchCrop().hotkeyPressed('S');
    };
    t.app->batchCrop().hotkeyPressed('A');
    EXPECT_EQ(t.dialogs.messages.size(), before + 1);
    EXPECT_EQ(t.dialogs.lastText(), "当前已是末位图片");
}

TEST(BatchCropApp, TheCropSoundIsShortStereoPcm) {
    QFile wav(":/sounds/crop.wav");
    ASSERT_TRUE(wav.open(QIODevice::ReadOnly));
    const QByteArray bytes = wav.readAll();
    ASSERT_GE(bytes.size(), 44);
    const auto u16 = [&bytes](int at) {
        return qFromLittleEndian<quint16>(bytes.constData() + at);
    };
    const auto u32 = [&bytes](int at) {
        return qFromLittleEndian<quint32>(bytes.constData() + at);
    };
    EXPECT_EQ(bytes.left(4), "RIFF");
    EXPECT_EQ(bytes.mid(8, 4), "WAVE");
    EXPECT_EQ(u16(20), 1);     // PCM
    EXPECT_EQ(u16(22), 2);     // stereo
    EXPECT_EQ(u32(24), 44100); // Hz
    EXPECT_EQ(u16(34), 16);    // bits
    EXPECT_EQ(bytes.mid(36, 4), "data");
    EXPECT_EQ(u32(40), 40000u);
}

// Naming by roster cell with the roster window closed: the check's No opens the settings
// window and the save ends at once, so the operator can still work in the main window.
TEST(BatchCropApp, TheRosterCheckNoOpensTheSettingsWindowWithoutHoldingTheSave) {
    KeptBatchApp t(5);
    t.switchOn();
    t.app->links().closeRosterWindow(); // closed: the check asks whether to go to the settings
    QPointer<QDialog> shown;
    t.app->batchCrop().setSettingsWindowHook([&shown](QDialog& window) { shown = &window; });
    t.dialogs.messages.clear();
    t.dialogs.answers.push_back(MessageAnswer::No);
    t.save();
    ASSERT_FALSE(t.dialogs.messages.isEmpty());
    ASSERT_TRUE(shown) << t.dialogs.lastText().toStdString();
    EXPECT_TRUE(shown->isVisible()); // still open after the save returned
    EXPECT_EQ(shown->windowModality(), Qt::NonModal);
    EXPECT_TRUE(t.outputs().isEmpty());
    t.save(); // a second save does not open a second window
    QList<QDialog*> open;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible()) {
            open << dialog;
        }
    }
    EXPECT_EQ(open.size(), 1);
    shown->reject();
}
