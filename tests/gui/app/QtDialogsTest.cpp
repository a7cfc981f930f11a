// The real Qt file dialogs as the commands prepare them: the label each filter shows, the
// folder they start in and an empty file name.

#include "gui/app/QtDialogs.h"
#include "core/files/DialogStartFolder.h"
#include "core/output/ImageCodec.h"
#include "core/output/OutputEncoder.h"
#include "core/output/SaveCommand.h"
#include "core/roster/RosterSheet.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/PictureSources.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace portiqa {
namespace {

struct SeenDialog {
    QStringList filterLabels;
    QString fileName = QStringLiteral("(not seen)");
    QString folder;
};

// Runs `ask`, which opens one file dialog; records what it shows and cancels it.
SeenDialog inspectFileDialog(const std::function<void()>& ask) {
    SeenDialog seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible()) {
            return;
        }
        const auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; types != nullptr && i < types->count(); ++i) {
            seen.filterLabels << types->itemText(i);
        }
        const auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        seen.fileName = name ? name->text() : QStringLiteral("(no name field)");
        seen.folder = dialog->directory().absolutePath();
        dialog->reject();
    });
    poll.start(10);
    ask();
    return seen;
}

TEST(QtDialogs, FileDialogsShowTheirLabelsAndStartWithAnEmptyName) {
    QWidget parent;
    QtDialogs dialogs(&parent);
    test::ScriptedDialogs quiet;
    const QString start = QDir(dialogStartFolder()).absolutePath();

    ImageCodec codec;
    OutputEncoder encoder(codec);
    SaveContext context;
    context.pictureLoaded = [] { return true; };
    SaveCommand save(dialogs, encoder, context);
    const SeenDialog saveSeen = inspectFileDialog([&] { save.savePicture(); });
    EXPECT_EQ(saveSeen.filterLabels,
              QStringList{QStringLiteral("图片文件 *.jpg *.bmp *.gif *.png")});
    EXPECT_EQ(saveSeen.fileName, QString());
    EXPECT_EQ(saveSeen.folder, start);

    RosterSheet roster(dialogs);
    const SeenDialog rosterSeen = inspectFileDialog([&] { roster.chooseWorkbookFile(); });
    EXPECT_EQ(rosterSeen.filterLabels, QStringList{QStringLiteral("Excel文件(*.xls、*.xlsx)")});
    EXPECT_EQ(rosterSeen.fileName, QString());
    EXPECT_EQ(rosterSeen.folder, start);

    PhotoWorkspace workspace;
    PictureSources sources(workspace, dialogs);
    const SeenDialog openSeen = inspectFileDialog([&] { sources.openPicture(); });
    EXPECT_EQ(openSeen.filterLabels, QStringList{QStringLiteral("图片文件")});
    EXPECT_EQ(openSeen.fileName, QString());

    // A folder that does not exist is never offered as the file name.
    SaveFileRequest request;
    request.title = QStringLiteral("t");
    request.folder = QDir::home().filePath(QStringLiteral("no-such-folder-here"));
    request.filter = QStringLiteral("a (*.a)");
    const SeenDialog missing = inspectFileDialog([&] { dialogs.saveFile(request); });
    EXPECT_EQ(missing.fileName, QString());
    EXPECT_TRUE(quiet.messages.isEmpty());
}

} // namespace
} // namespace portiqa

// A message raised from another window (the quick-shoot settings, the camera window) is
// centred on that window, not on the main window behind it.
TEST(QtDialogs, AMessageBelongsToTheWindowThatRaisedIt) {
    QWidget main;
    main.resize(600, 400);
    main.show();
    QDialog settings(&main);
    settings.resize(300, 200);
    settings.show();
    QApplication::setActiveWindow(&settings);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &settings; }));
    portiqa::QtDialogs dialogs(&main);
    dialogs.showNotice(QStringLiteral("提示"), QStringLiteral("text"),
                       portiqa::MessageIcon::Information);
    QPointer<QMessageBox> box;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<QMessageBox*>(w); found && found->isVisible()) {
            box = found;
        }
    }
    ASSERT_TRUE(box);
    EXPECT_EQ(box->parentWidget(), &settings);
    dialogs.closeNotice();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !box || !box->isVisible(); }, 1000));
}
