#pragma once

// The naming prompt of the ask-every-time mode: shown modally after a picture was written to
// the temporary file, it asks for the picture's name and gives the file that name in the
// batch's output folder (PromptedNameSaver does the work). Confirming with "确定" or Enter
// closes it when the name was taken; a refused name leaves it open with the picture kept.
//
// The batch hotkeys must not take the typed letters: they are released while the prompt is
// open and taken again when it closes in batch crop mode. The hotkey calls are seams filled
// by the owner of the hotkeys.

#include "core/naming/PromptedNameSaver.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

namespace portiqa {

struct NamePromptHotkeys {
    std::function<bool()> registered;  // the batch hotkeys are registered now
    std::function<void()> registerAll; // register the batch hotkeys
    std::function<void()> unregisterAll;
    // Whether batch crop mode is on when the prompt closes, so the keys it released are taken
    // back (also when the prompt was opened for a quick shot); without it, the prompt's own
    // batch crop flag decides.
    std::function<bool()> batchCropModeOnClose;
};

class NamePrompt final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 334;
    static constexpr int kClientHeight = 55;

    NamePrompt(const NamePromptTarget& target, Dialogs& dialogs, bool batchCropMode,
               bool quickShootMode, NamePromptHotkeys hotkeys, QWidget* parent = nullptr);

    QLineEdit* nameEdit() const { return edit_; }
    QPushButton* confirmButton() const { return button_; }
    // The final path once a name was taken, else empty.
    const QString& savedPath() const { return saver_.savedPath(); }

    void done(int result) override;

private:
    void confirm();

    PromptedNameSaver saver_;
    NamePromptHotkeys hotkeys_;
    bool batchCropMode_;
    bool closed_ = false;
    QLineEdit* edit_;
    QPushButton* button_;
};

} // namespace portiqa
