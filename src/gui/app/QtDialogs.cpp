#include "gui/app/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>

namespace portiqa {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QWidget* QtDialogs::owner() const {
    // A message belongs over the window that raised it (a settings window, the camera
    // window), not always over the main window behind it.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    return parent_;
}

void QtDialogs::showNotice(const QString& caption, const QString& text, MessageIcon icon) {
    closeNotice();
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    auto* box = new QMessageBox(toQtIcon(icon), caption, shown, QMessageBox::Ok, owner());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    notice_ = box;
    box->show();
}

void QtDialogs::closeNotice() {
    if (notice_) {
        notice_->close();
    }
}

MessageAnswer QtDialogs::message(const QString& caption, const QString& text, MessageIcon icon,
                                 MessageButtons buttons) {
    // Messages join their lines with CR LF; a Qt label wants a plain line feed.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(toQtIcon(icon), caption, shown, QMessageBox::NoButton, owner());
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    return result == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

namespace {

// Filters are written "label (patterns)"; the dialog shows the label alone. The folder is
// set as a folder only, so the file name starts empty: a folder path handed to the
// constructor that does not exist would be offered as the file name.
void prepare(QFileDialog& dialog, const QString& folder) {
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (!folder.isEmpty()) {
        dialog.setDirectory(folder);
    }
}

} // namespace

QString QtDialogs::openFile(const QString& title, const QString& folder, const QString& filter) {
    QFileDialog dialog(owner(), title, QString(), filter);
    prepare(dialog, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::saveFile(const SaveFileRequest& request) {
    QFileDialog dialog(owner(), request.title, QString(), request.filter);
    prepare(dialog, request.folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::chooseFolder(const QString& title, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(owner(), title, startFolder);
}

std::optional<QColor> QtDialogs::chooseColour(const QColor& initial) {
    const QColor colour = QColorDialog::getColor(initial, owner());
    if (!colour.isValid()) {
        return std::nullopt;
    }
    return colour;
}

std::optional<QFont> QtDialogs::chooseFont(const QFont& initial) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, owner());
    if (!ok) {
        return std::nullopt;
    }
    return font;
}

} // namespace portiqa
