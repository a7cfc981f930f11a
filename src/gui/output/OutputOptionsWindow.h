#pragma once

// The window "输出选项": the resolution written into saved pictures, the smallest JPEG size,
// the best picture within the limit and the background colour ("自定义…" asks for any colour). OK
// checks the fields (a refusal says why and puts the cursor back in the field) and stores them;
// Cancel keeps what was stored.

#include "core/output/OutputOptionsSetting.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace portiqa {

class Dialogs;

class OutputOptionsWindow : public QDialog {
    Q_OBJECT
public:
    // `sizeLimitKb` is the main window's JPEG limit at the time of OK; `outputSize` gives the
    // resolution used while the field is empty.
    OutputOptionsWindow(OutputOptionsSetting& setting, Dialogs& dialogs, QSize outputSize,
                        std::function<double()> sizeLimitKb, QWidget* parent = nullptr);

    QLineEdit* dpiEdit() const { return dpi_; }
    QLineEdit* minKbEdit() const { return minKb_; }
    QCheckBox* bestPictureBox() const { return best_; }
    QComboBox* backgroundBox() const { return background_; }
    // The colour the window would store now.
    BackgroundColour chosenBackground() const;

    // The items of the background list, in order; the last asks for a colour.
    static QStringList backgroundItems();

    void accept() override;

private:
    OutputOptionsSetting& setting_;
    Dialogs& dialogs_;
    std::function<double()> sizeLimitKb_;
    QLineEdit* dpi_ = nullptr;
    QLineEdit* minKb_ = nullptr;
    QCheckBox* best_ = nullptr;
    QComboBox* background_ = nullptr;
    QLabel* customShown_ = nullptr;
    BackgroundColour custom_;
    int lastBackgroundItem_ = 0;

    void backgroundItemChosen(int index);
    // The colour of the list's item `index`: the custom colour for 自定义….
    BackgroundColour colourOfItem(int index) const;
    // The colour of a preset item (none for 不更换 and for 自定义…).
    static BackgroundColour presetAt(int index);
};

} // namespace portiqa
