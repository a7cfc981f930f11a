#pragma once

// The batch crop settings window "批量截图设置": two folders, the format, the naming mode
// and two boxes, at their design places in a client area of 466 x 236. A thin view: what
// each control does is BatchCropRun's; the window only copies its controls in and out.

#include "core/batch/BatchSettingsForm.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace portiqa {

class BatchCropRun;
class Dialogs;

class BatchSettingsWindow final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 466;
    static constexpr int kClientHeight = 236;

    BatchSettingsWindow(BatchCropRun& run, Dialogs& dialogs, QWidget* parent = nullptr);

    static QString sourcePickerTitle();
    static QString savePickerTitle();

    QLineEdit* sourceEdit() const { return sourceEdit_; }
    QLineEdit* saveEdit() const { return saveEdit_; }
    QPushButton* sourceBrowseButton() const { return sourceBrowse_; }
    QPushButton* saveBrowseButton() const { return saveBrowse_; }
    QComboBox* formatBox() const { return formatBox_; }
    QComboBox* namingBox() const { return namingBox_; }
    QCheckBox* cropSoundBox() const { return soundBox_; }
    QCheckBox* keepBox() const { return keepBox_; }
    QPushButton* confirmButton() const { return confirm_; }

    // The controls as a form, as confirm hands them on.
    BatchSettingsForm form() const;

    void done(int result) override;

private:
    void showForm(const BatchSettingsForm& form);
    void chooseNaming(int index);
    void browse(QLineEdit* edit, const QString& title);
    void confirm();

    BatchCropRun& run_;
    Dialogs& dialogs_;
    QLineEdit* sourceEdit_;
    QPushButton* sourceBrowse_;
    QLineEdit* saveEdit_;
    QPushButton* saveBrowse_;
    QComboBox* formatBox_;
    QComboBox* namingBox_;
    QCheckBox* soundBox_;
    QCheckBox* keepBox_;
    QPushButton* confirm_;
    bool closed_ = false;
    bool fillingForm_ = false;
};

} // namespace portiqa
