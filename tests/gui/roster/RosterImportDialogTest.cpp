#include "core/roster/RosterSheet.h"
#include "gui/app/QtDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

namespace portiqa {
namespace {

struct SeenDialog {
    QString title, folder, filterLabel, fileName;
};

// Opens the roster's import dialog for real and reads what the operator sees, then cancels.
SeenDialog lookAtImportDialog() {
    QtDialogs dialogs;
    RosterSheet roster(dialogs);
    SeenDialog seen;
    QTimer::singleShot(0, [&seen] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen.title = dialog->windowTitle();
        seen.folder = dialog->directory().absolutePath();
        seen.filterLabel =
            dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText();
        seen.fileName = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        dialog->reject();
    });
    EXPECT_TRUE(roster.chooseWorkbookFile().isEmpty());
    return seen;
}

TEST(RosterImportDialog, ShowsItsTitleFilterAndStartingFolder) {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));

    const SeenDialog withoutDesktop = lookAtImportDialog();
    EXPECT_EQ(withoutDesktop.title, QStringLiteral("导入Excel名单"));
    EXPECT_EQ(withoutDesktop.filterLabel, QStringLiteral("Excel文件(*.xls、*.xlsx)"));
    EXPECT_TRUE(withoutDesktop.fileName.isEmpty());
    EXPECT_EQ(withoutDesktop.folder, QDir(home.path()).absolutePath());

    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("Desktop")));
    EXPECT_EQ(lookAtImportDialog().folder,
              QDir(home.filePath(QStringLiteral("Desktop"))).absolutePath());

    qputenv("HOME", oldHome);
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
}

} // namespace
} // namespace portiqa
