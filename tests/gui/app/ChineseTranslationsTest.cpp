// Qt's own texts in Chinese whatever the locale the program was started in, and the system's
// reasons for failed writes in Chinese too.

#include "gui/app/ChineseTranslations.h"
#include "core/files/SystemErrorText.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <cerrno>

using namespace portiqa;

TEST(ChineseTranslations, MessageBoxButtonsAndFileDialogLabelsAreChinese) {
    ASSERT_TRUE(installChineseTranslations(*qApp));
    QMessageBox box(QMessageBox::Question, "询问", "text", QMessageBox::Yes | QMessageBox::No);
    const QString yes = box.button(QMessageBox::Yes)->text();
    const QString no = box.button(QMessageBox::No)->text();
    EXPECT_TRUE(yes.contains(QStringLiteral("是"))) << yes.toStdString();
    EXPECT_TRUE(no.contains(QStringLiteral("否"))) << no.toStdString();
    QMessageBox ok(QMessageBox::Information, "提示", "text", QMessageBox::Ok);
    EXPECT_TRUE(ok.button(QMessageBox::Ok)->text().contains(QStringLiteral("确定")))
        << ok.button(QMessageBox::Ok)->text().toStdString();

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        labels << label->text();
    }
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        labels << button->text();
    }
    const QString all = labels.join('|');
    for (const char* english : {"Look in", "File name", "Open", "Cancel", "Files of type"}) {
        EXPECT_FALSE(all.contains(QLatin1String(english))) << english << ": " << all.toStdString();
    }
}

TEST(ChineseTranslations, SystemErrorsAreSaidInChinese) {
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {EACCES, "没有权限"}, {ENOENT, "文件夹不存在"},     {ENOSPC, "磁盘空间不足"},
        {EROFS, "只读"},      {ENAMETOOLONG, "文件名太长"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(systemErrorText(c.code).contains(QString::fromUtf8(c.text))) << c.code;
    }
    EXPECT_TRUE(systemErrorText(12345).contains("12345"));
}
