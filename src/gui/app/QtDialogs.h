#pragma once

// The program's Dialogs: Qt message boxes and file, folder, colour and font dialogs, each
// parented to the window given at construction so they stay on top of it.

#include "core/dialogs/Dialogs.h"

#include <QMessageBox>
#include <QPointer>

class QWidget;

namespace portiqa {

class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void showNotice(const QString& caption, const QString& text, MessageIcon icon) override;
    void closeNotice() override;
    MessageAnswer message(const QString& caption, const QString& text, MessageIcon icon,
                          MessageButtons buttons) override;
    QString openFile(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFile(const SaveFileRequest& request) override;
    QString chooseFolder(const QString& title, const QString& startFolder) override;
    std::optional<QColor> chooseColour(const QColor& initial) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;

private:
    // The window a dialog is centred on: the one the operator works in, else the main window.
    QWidget* owner() const;

    QWidget* parent_;
    QPointer<QMessageBox> notice_; // the notice on show, if any
};

} // namespace portiqa
