#include "core/batch/BatchCropRun.h"

#include "core/app/AppTexts.h"
#include "core/workspace/OutputSizeEdits.h"
#include "core/settings/SettingsFile.h"
#include "core/dialogs/Dialogs.h"

#include <QFileInfo>

namespace portiqa {

BatchCropRun::BatchCropRun(BatchCropSettings& settings, SettingsFile& settingsFile,
                           OutputSizeEdits& edits, BatchTaskFile& task, Dialogs& dialogs,
                           BatchCropHooks hooks)
    : settings_(settings), settingsFile_(settingsFile), edits_(edits), task_(task),
      dialogs_(dialogs), hooks_(std::move(hooks)) {}

void BatchCropRun::switchPressed() {
    if (ticked_) {
        switchOff();
    } else {
        switchOn();
    }
}

bool BatchCropRun::folderUsable(const QString& folder) {
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        return true;
    }
    dialogs_.inform(QStringLiteral("提示："),
                    folder.isEmpty() ? QStringLiteral("批量截图保存目录尚未设置，请先设置。")
                                     : QStringLiteral("批量截图保存目录不存在，请重新设置。"),
                    MessageIcon::None);
    hooks_.openSettingsWindow();
    return false;
}

void BatchCropRun::switchOn() {
    if (hooks_.cameraWindowOpen()) {
        hooks_.closeCameraWindow();
    }
    ticked_ = true;
    hooks_.setSwitchTicked(true);
    if (!settings_.settingsSaved) {
        hooks_.openSettingsWindow();
        return;
    }
    if (!dialogs_.ask(QStringLiteral("询问："),
                      QStringLiteral("是否沿用上次批量截图设置，并继续上次操作？"))) {
        hooks_.openSettingsWindow();
        return;
    }
    // The mode is on from here: a folder that fails its test leads to the settings window
    // with the mode already on, and closing it unconfirmed leaves the mode on.
    mode_ = true;
    settingsFile_.reuseOutputSize(BatchKind::Crop, settings_.format, edits_);
    if (!folderUsable(settings_.sourceFolder) || !folderUsable(settings_.saveFolder)) {
        return;
    }
    hooks_.registerHotkeys();
    hooks_.untickEditorTools();
    task_.resume();
    if (namingBehaviour(BatchKind::Crop, settings_.namingMode) == NamingBehaviour::RosterCell &&
        !hooks_.rosterWindowOpen()) {
        hooks_.openRosterWindow();
    }
}

void BatchCropRun::switchOff() {
    mode_ = false;
    ticked_ = false;
    hooks_.setSwitchTicked(false);
    hooks_.setWindowTitle(texts::windowTitle());
    task_.endRun();
    hooks_.unregisterHotkeys();
}

BatchSettingsForm BatchCropRun::settingsWindowOpened() {
    hooks_.unregisterHotkeys();
    confirmed_ = false;
    return formForSettings(settings_);
}

void BatchCropRun::formatChosen(int index) {
    settings_.format = formatForItem(index);
}

bool BatchCropRun::namingChosen(int index) {
    if (index < 0 || index >= namingModeTexts(BatchKind::Crop).size()) {
        return false;
    }
    settings_.namingIndex = index;
    settings_.namingMode = namingModeText(BatchKind::Crop, index);
    if (index != kRosterCellItem && hooks_.rosterWindowOpen()) {
        hooks_.closeRosterWindow();
    }
    return index == kCustomPrefixItem;
}

void BatchCropRun::cropSoundClicked(bool ticked) {
    settings_.cropSound = ticked;
}

ConfirmCheck BatchCropRun::confirm(const BatchSettingsForm& form) {
    const ConfirmCheck check = confirmForm(form, settings_);
    if (!check.accepted()) {
        dialogs_.inform(confirmRefusalCaption(), check.refusal, MessageIcon::Information);
        return check;
    }
    settings_.cropSound = form.cropSound;
    settingsFile_.saveBatchCropSettings(settings_, form.keep, edits_);
    // The run is on from its first picture: what follows it (the roster window's texts, the
    // pictures read ahead) already sees batch crop mode.
    mode_ = true;
    if (!task_.startNewRun()) {
        dialogs_.inform(QStringLiteral("提示"), QStringLiteral("待截图文件夹中没有可截图的图片。"),
                        MessageIcon::None);
    }
    if (namingBehaviour(BatchKind::Crop, settings_.namingMode) == NamingBehaviour::RosterCell) {
        if (hooks_.rosterWindowOpen()) {
            hooks_.retargetRosterWindow();
        } else {
            hooks_.openRosterWindow();
        }
    }
    ticked_ = true;
    hooks_.setSwitchTicked(true);
    hooks_.registerHotkeys();
    confirmed_ = true;
    return check;
}

void BatchCropRun::settingsWindowClosed() {
    if (!confirmed_ && !mode_) {
        ticked_ = false;
        hooks_.setSwitchTicked(false);
        hooks_.setWindowTitle(texts::windowTitle());
        hooks_.unregisterHotkeys();
    } else if (!confirmed_ && mode_) {
        hooks_.registerHotkeys(); // the keys work again as before the window opened
    }
}

void BatchCropRun::navigate(TaskStep step) {
    if (mode_) {
        task_.navigate(step);
    }
}

} // namespace portiqa
