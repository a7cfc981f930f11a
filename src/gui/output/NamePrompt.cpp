#include "gui/output/NamePrompt.h"

#include <QLineEdit>
#include <QPushButton>

namespace portiqa {

NamePrompt::NamePrompt(const NamePromptTarget& target, Dialogs& dialogs, bool batchCropMode,
                       bool quickShootMode, NamePromptHotkeys hotkeys, QWidget* parent)
    : QDialog(parent), saver_(target, dialogs), hotkeys_(std::move(hotkeys)),
      batchCropMode_(batchCropMode), edit_(new QLineEdit(this)),
      button_(new QPushButton(QStringLiteral("确定"), this)) {
    setObjectName(QStringLiteral("NamePrompt"));
    resize(kClientWidth, kClientHeight);
    setWindowTitle(namePromptTitle(batchCropMode, quickShootMode));

    edit_->setObjectName(QStringLiteral("编辑框1"));
    edit_->setGeometry(8, 15, 232, 24);
    button_->setObjectName(QStringLiteral("按钮1"));
    button_->setGeometry(248, 11, 78, 32);
    // Enter in the edit confirms through returnPressed alone; a default button would confirm
    // a second time.
    button_->setAutoDefault(false);
    button_->setDefault(false);
    connect(button_, &QPushButton::clicked, this, &NamePrompt::confirm);
    connect(edit_, &QLineEdit::returnPressed, this, &NamePrompt::confirm);
    edit_->setFocus();

    if (hotkeys_.registered && hotkeys_.registered() && hotkeys_.unregisterAll) {
        hotkeys_.unregisterAll();
    }
}

void NamePrompt::confirm() {
    if (!closed_ && saver_.confirm(edit_->text())) {
        accept();
    }
}

void NamePrompt::done(int result) {
    QDialog::done(result);
    if (closed_) {
        return;
    }
    closed_ = true;
    const bool batchCropOn =
        hotkeys_.batchCropModeOnClose ? hotkeys_.batchCropModeOnClose() : batchCropMode_;
    if (batchCropOn && hotkeys_.registerAll) {
        hotkeys_.registerAll();
    }
}

} // namespace portiqa
