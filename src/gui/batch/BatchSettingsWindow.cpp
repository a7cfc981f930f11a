#include "gui/batch/BatchSettingsWindow.h"

#include "core/batch/BatchCropRun.h"
#include "core/dialogs/Dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace portiqa {

namespace {

QLabel* label(QWidget* parent, const char* name, const QString& text, QRect at) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromUtf8(name));
    l->setGeometry(at);
    return l;
}

template <typename W> W* placed(W* widget, const char* name, QRect at) {
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(at);
    return widget;
}

} // namespace

BatchSettingsWindow::BatchSettingsWindow(BatchCropRun& run, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), run_(run), dialogs_(dialogs) {
    setObjectName(QStringLiteral("批量截图设置"));
    setWindowTitle(QStringLiteral("批量截图设置"));
    setFixedSize(kClientWidth, kClientHeight);

    label(this, "标签4", QStringLiteral("等待截图目录"), {10, 12, 80, 24});
    sourceEdit_ = placed(new QLineEdit(this), "批截目标目录编辑框", {90, 12, 268, 24});
    sourceBrowse_ = placed(new QPushButton(QStringLiteral("浏览待截图目录"), this),
                           "浏览批截目标目录按钮", {362, 12, 94, 24});
    label(this, "标签1", QStringLiteral("图片保存目录"), {10, 48, 80, 24});
    saveEdit_ = placed(new QLineEdit(this), "批截保存目录编辑框", {90, 48, 268, 24});
    saveBrowse_ = placed(new QPushButton(QStringLiteral("新建、浏览目录"), this),
                         "浏览批截保存目录按钮", {362, 48, 94, 24});
    label(this, "标签3", QStringLiteral("图片保存格式"), {10, 84, 80, 24});
    formatBox_ = placed(new QComboBox(this), "批截格式组合框", {90, 84, 368, 22});
    formatBox_->addItems({QStringLiteral(" *.JPG"), QStringLiteral(" *.BMP"),
                          QStringLiteral(" *.GIF"), QStringLiteral(" *.PNG")});
    label(this, "标签2", QStringLiteral("图片命名方式"), {10, 120, 80, 24});
    namingBox_ = placed(new QComboBox(this), "批截命名方式组合框", {90, 120, 368, 22});
    namingBox_->setInsertPolicy(QComboBox::NoInsert);
    soundBox_ = placed(new QCheckBox(QStringLiteral("截图时发出裁切声"), this), "裁切声选择框",
                       {64, 156, 144, 24});
    keepBox_ = placed(new QCheckBox(QStringLiteral("保存上述设置供下次使用"), this),
                      "保存批截设置选择框", {232, 156, 180, 24});
    confirm_ = placed(new QPushButton(QStringLiteral("确定"), this), "确定批截设置按钮",
                      {194, 189, 80, 32});
    // Enter in an edit must not confirm behind the operator's back.
    for (QPushButton* b : {sourceBrowse_, saveBrowse_, confirm_}) {
        b->setAutoDefault(false);
    }

    connect(formatBox_, &QComboBox::activated, this,
            [this](int index) { run_.formatChosen(index); });
    connect(namingBox_, &QComboBox::activated, this, &BatchSettingsWindow::chooseNaming);
    // The arrow keys and the wheel change the item as well; the rule follows every change the
    // operator makes (the form's own filling is not one).
    connect(namingBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!fillingForm_ && index >= 0) {
            chooseNaming(index);
        }
    });
    connect(soundBox_, &QCheckBox::clicked, this,
            [this](bool ticked) { run_.cropSoundClicked(ticked); });
    connect(sourceBrowse_, &QPushButton::clicked, this,
            [this] { browse(sourceEdit_, sourcePickerTitle()); });
    connect(saveBrowse_, &QPushButton::clicked, this,
            [this] { browse(saveEdit_, savePickerTitle()); });
    connect(confirm_, &QPushButton::clicked, this, &BatchSettingsWindow::confirm);

    showForm(run_.settingsWindowOpened());
}

QString BatchSettingsWindow::sourcePickerTitle() {
    return QStringLiteral("选择待截图文件夹，以便对文件夹中的图片进行批量截图。");
}

QString BatchSettingsWindow::savePickerTitle() {
    return QStringLiteral("请选择或者新建一个文件夹");
}

void BatchSettingsWindow::showForm(const BatchSettingsForm& form) {
    sourceEdit_->setText(form.sourceText);
    saveEdit_->setText(form.saveText);
    formatBox_->setCurrentIndex(form.formatIndex);
    fillingForm_ = true;
    namingBox_->clear();
    namingBox_->addItems(namingModeTexts(BatchKind::Crop));
    namingBox_->setCurrentIndex(form.namingIndex);
    fillingForm_ = false;
    namingBox_->setEditable(form.namingEditable);
    if (form.namingEditable) {
        namingBox_->setEditText(form.namingText);
    }
    soundBox_->setChecked(form.cropSound);
    keepBox_->setChecked(form.keep);
    sourceEdit_->setFocus();
}

void BatchSettingsWindow::chooseNaming(int index) {
    const bool editable = run_.namingChosen(index);
    namingBox_->setEditable(editable);
    if (editable) {
        namingBox_->clearEditText(); // the operator types the prefix here
        namingBox_->setFocus();
    }
}

void BatchSettingsWindow::browse(QLineEdit* edit, const QString& title) {
    const QString chosen = dialogs_.chooseFolder(title, edit->text());
    // A cancelled picker leaves the typed folder as it was.
    if (!chosen.isEmpty()) {
        edit->setText(chosen);
    }
}

BatchSettingsForm BatchSettingsWindow::form() const {
    BatchSettingsForm f;
    f.sourceText = sourceEdit_->text();
    f.saveText = saveEdit_->text();
    f.formatIndex = formatBox_->currentIndex();
    f.namingIndex = namingBox_->currentIndex();
    f.namingText = namingBox_->currentText();
    f.namingEditable = namingBox_->isEditable();
    f.cropSound = soundBox_->isChecked();
    f.keep = keepBox_->isChecked();
    return f;
}

void BatchSettingsWindow::confirm() {
    const ConfirmCheck check = run_.confirm(form());
    if (check.accepted()) {
        accept();
        return;
    }
    if (check.focus == ConfirmFocus::NamingBox) {
        namingBox_->setFocus();
    } else if (check.focus == ConfirmFocus::SaveBoxEmptied) {
        saveEdit_->clear();
    }
}

void BatchSettingsWindow::done(int result) {
    QDialog::done(result);
    if (closed_) {
        return;
    }
    closed_ = true;
    run_.settingsWindowClosed();
    if (parentWidget() != nullptr) {
        parentWidget()->activateWindow();
        parentWidget()->setFocus();
    }
}

} // namespace portiqa
