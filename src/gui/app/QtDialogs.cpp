#include "gui/app/QtDialogs.h"

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

MessageAnswer QtDialogs::message(const QString& caption, const QString& text, MessageIcon icon,
                                 MessageButtons buttons) {
    // Messages join their lines with CR LF; a Qt label wants a plain line feed.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(toQtIcon(icon), caption, shown, QMessageBox::NoButton, parent_);
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

QString QtDialogs::openFile(const QString& title, const QString& folder, const QString& filter) {
    // A label that already lists its patterns ("Excel文件(*.xls、*.xlsx)") is shown alone,
    // without a second copy of them after it.
    const QString label = filter.left(filter.lastIndexOf(QLatin1Char('(')));
    const QFileDialog::Options options = label.contains(QStringLiteral("*."))
                                             ? QFileDialog::HideNameFilterDetails
                                             : QFileDialog::Options();
    return QFileDialog::getOpenFileName(parent_, title, folder, filter, nullptr, options);
}

QString QtDialogs::saveFile(const SaveFileRequest& request) {
    QFileDialog dialog(parent_, request.title, request.folder, request.filter);
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
    return QFileDialog::getExistingDirectory(parent_, title, startFolder);
}

std::optional<QColor> QtDialogs::chooseColour(const QColor& initial) {
    const QColor colour = QColorDialog::getColor(initial, parent_);
    if (!colour.isValid()) {
        return std::nullopt;
    }
    return colour;
}

std::optional<QFont> QtDialogs::chooseFont(const QFont& initial) {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent_);
    if (!ok) {
        return std::nullopt;
    }
    return font;
}

} // namespace portiqa
