#pragma once

// The quick-shoot settings window "批量速拍设置" (client area 466 x 225, modal): save folder,
// format, naming mode (with the custom prefix typed into the naming box), shutter sound and
// whether to keep the settings for the next run. Format, naming and shutter choices take
// effect at once; "确定" checks the folder and the prefix, switches quick-shoot on, takes the
// folder and prefix and writes (or empties) the "批量速拍" section of the settings file.
//
// GUI thread only.

#include "core/settings/BatchSettings.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace portiqa {

class Dialogs;
class OutputSizeEdits;
class SettingsFile;

struct QuickSettingsSeams {
    std::function<void()> switchQuickShootOn = [] {};
    std::function<bool()> rosterWindowOpen = [] { return false; };
    std::function<void()> openRosterWindow = [] {};
    std::function<void()> closeRosterWindow = [] {};
};

class QuickShootSettingsWindow final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 466;
    static constexpr int kClientHeight = 225;

    QuickShootSettingsWindow(QuickShootSettings& settings, SettingsFile& file,
                             OutputSizeEdits& edits, Dialogs& dialogs, QuickSettingsSeams seams,
                             QWidget* parent = nullptr);

    QLineEdit* folderEdit() const { return folderEdit_; }
    QPushButton* browseButton() const { return browseButton_; }
    QComboBox* formatBox() const { return formatBox_; }
    QComboBox* namingBox() const { return namingBox_; }
    QCheckBox* shutterBox() const { return shutterBox_; }
    QCheckBox* keepBox() const { return keepBox_; }
    QPushButton* confirmButton() const { return confirmButton_; }

    // The operator's choices, as the controls' events run them.
    void formatChosen(int index);
    void namingChosen(int index);
    void browse();
    // True when the settings were taken and the window closed.
    bool confirm();

private:
    void buildControls();
    void loadSettings();
    void setNamingEditable(bool editable, const QString& text);
    void refuse(const QString& text);

    QuickShootSettings& settings_;
    SettingsFile& file_;
    OutputSizeEdits& edits_;
    Dialogs& dialogs_;
    QuickSettingsSeams seams_;

    QLineEdit* folderEdit_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QComboBox* formatBox_ = nullptr;
    QComboBox* namingBox_ = nullptr;
    QCheckBox* shutterBox_ = nullptr;
    QCheckBox* keepBox_ = nullptr;
    QPushButton* confirmButton_ = nullptr;
};

} // namespace portiqa
