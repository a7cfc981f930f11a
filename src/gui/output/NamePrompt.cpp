#include "gui/output/NamePrompt.h"

#include <QLineEdit>
#include <QPushButton>

namespace portiqa {

NamePrompt::NamePrompt(const NamePromptTarget& target, Dialogs& dialogs, bool batchCropMode,
                       bool quickShootMode, NamePromptHotkeys hotkeys, QWidget* parent)
    : QDialog(parent), m_saver(target, dialogs), m_hotkeys(std::move(hotkeys)),
      m_batchCropMode(batchCropMode), m_edit(new QLineEdit(this)),
      m_button(new QPushButton(QStringLiteral("确定"), this)) {
    setObjectName(QStringLiteral("NamePrompt"));
    resize(kClientWidth, kClientHeight);
    setWindowTitle(namePromptTitle(batchCropMode, quickShootMode));

    m_edit->setObjectName(QStringLiteral("编辑框1"));
    m_edit->setGeometry(8, 15, 232, 24);
    m_button->setObjectName(QStringLiteral("按钮1"));
    m_button->setGeometry(248, 11, 78, 32);
    // Enter in the edit confirms through returnPressed alone; a default button would confirm
    // a second time.
    m_button->setAutoDefault(false);
    m_button->setDefault(false);
    connect(m_button, &QPushButton::clicked, this, &NamePrompt::confirm);
    connect(m_edit, &QLineEdit::returnPressed, this, &NamePrompt::confirm);
    m_edit->setFocus();

    if (m_hotkeys.registered && m_hotkeys.registered() && m_hotkeys.unregisterAll) {
        m_hotkeys.unregisterAll();
    }
}

void NamePrompt::confirm() {
    if (!m_closed && m_saver.confirm(m_edit->text())) {
        accept();
    }
}

void NamePrompt::done(int result) {
    QDialog::done(result);
    if (m_closed) {
        return;
    }
    m_closed = true;
    if (m_batchCropMode && m_hotkeys.registerAll) {
        m_hotkeys.registerAll();
    }
}

} // namespace portiqa
