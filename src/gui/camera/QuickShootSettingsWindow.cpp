#include "gui/camera/QuickShootSettingsWindow.h"

#include "core/settings/SettingsFile.h"
#include "core/dialogs/Dialogs.h"
#include "core/naming/OutputNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace portiqa {

namespace {

const QString kCaption = QStringLiteral("提醒：");
const QStringList kFormats = {formats::kJpg, formats::kBmp, formats::kGif, formats::kPng};
constexpr int kPrefixItem = 2;

QLabel* label(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    return l;
}

} // namespace

QuickShootSettingsWindow::QuickShootSettingsWindow(QuickShootSettings& settings, SettingsFile& file,
                                                   OutputSizeEdits& edits, Dialogs& dialogs,
                                                   QuickSettingsSeams seams, QWidget* parent)
    : QDialog(parent), settings_(settings), file_(file), edits_(edits), dialogs_(dialogs),
      seams_(std::move(seams)) {
    setObjectName(QStringLiteral("批量速拍设置"));
    setWindowTitle(QStringLiteral("批量速拍设置"));
    setFixedSize(kClientWidth, kClientHeight);
    buildControls();
    loadSettings();
}

void QuickShootSettingsWindow::buildControls() {
    label(this, QStringLiteral("标签1"), QStringLiteral("图片保存目录"), {10, 12, 80, 24});
    folderEdit_ = new QLineEdit(this);
    folderEdit_->setObjectName(QStringLiteral("速拍保存目录编辑框"));
    folderEdit_->setGeometry(90, 12, 268, 24);
    browseButton_ = new QPushButton(QStringLiteral("新建、浏览目录"), this);
    browseButton_->setObjectName(QStringLiteral("浏览按钮"));
    browseButton_->setGeometry(362, 12, 94, 24);
    browseButton_->setAutoDefault(false);
    label(this, QStringLiteral("标签3"), QStringLiteral("图片保存格式"), {10, 48, 80, 24});
    formatBox_ = new QComboBox(this);
    formatBox_->setObjectName(QStringLiteral("速拍格式组合框"));
    formatBox_->setGeometry(90, 48, 368, 22);
    formatBox_->addItems({QStringLiteral(" *.JPG"), QStringLiteral(" *.BMP"),
                          QStringLiteral(" *.GIF"), QStringLiteral(" *.PNG")});
    label(this, QStringLiteral("标签2"), QStringLiteral("图片命名方式"), {10, 84, 80, 24});
    namingBox_ = new QComboBox(this);
    namingBox_->setObjectName(QStringLiteral("速拍命名方式组合框"));
    namingBox_->setGeometry(90, 84, 368, 22);
    shutterBox_ = new QCheckBox(QStringLiteral("拍照时发出快门声"), this);
    shutterBox_->setObjectName(QStringLiteral("发快门声选择框"));
    shutterBox_->setGeometry(92, 116, 144, 24);
    keepBox_ = new QCheckBox(QStringLiteral("保存上述设置供下次使用"), this);
    keepBox_->setObjectName(QStringLiteral("保存速拍设置选择框"));
    keepBox_->setGeometry(92, 148, 212, 24);
    confirmButton_ = new QPushButton(QStringLiteral("确定"), this);
    confirmButton_->setObjectName(QStringLiteral("确定速拍设置按钮"));
    confirmButton_->setGeometry(194, 177, 80, 32);
    confirmButton_->setAutoDefault(false);

    connect(formatBox_, qOverload<int>(&QComboBox::activated), this,
            &QuickShootSettingsWindow::formatChosen);
    connect(namingBox_, qOverload<int>(&QComboBox::activated), this,
            &QuickShootSettingsWindow::namingChosen);
    connect(shutterBox_, &QCheckBox::clicked, this,
            [this](bool ticked) { settings_.shutterSound = ticked; });
    connect(browseButton_, &QPushButton::clicked, this, &QuickShootSettingsWindow::browse);
    connect(confirmButton_, &QPushButton::clicked, this, &QuickShootSettingsWindow::confirm);
}

void QuickShootSettingsWindow::loadSettings() {
    folderEdit_->setText(folders::shown(settings_.saveFolder));
    settings_.format = formats::normalised(settings_.format);
    formatBox_->setCurrentIndex(int(kFormats.indexOf(settings_.format)));
    namingBox_->addItems(namingModeTexts(BatchKind::QuickShoot));
    const int index = namingModeIndex(BatchKind::QuickShoot, settings_.namingMode);
    if (index >= 0) {
        settings_.namingIndex = index;
    }
    namingBox_->setCurrentIndex(settings_.namingIndex);
    // The prefix mode shows the stored prefix in the box, ready to be confirmed or changed;
    // the entry's own text would otherwise be taken as the prefix.
    setNamingEditable(settings_.namingIndex == kPrefixItem, settings_.customPrefix);
    shutterBox_->setChecked(settings_.shutterSound);
    keepBox_->setChecked(settings_.settingsSaved);
    folderEdit_->setFocus();
}

void QuickShootSettingsWindow::setNamingEditable(bool editable, const QString& text) {
    namingBox_->setEditable(editable);
    if (editable) {
        namingBox_->setEditText(text);
    }
}

void QuickShootSettingsWindow::formatChosen(int index) {
    settings_.format = index >= 0 && index < kFormats.size() ? kFormats.at(index) : formats::kJpg;
}

void QuickShootSettingsWindow::namingChosen(int index) {
    settings_.namingIndex = index;
    settings_.namingMode = namingModeText(BatchKind::QuickShoot, index);
    setNamingEditable(index == kPrefixItem, QString());
    if (namingBehaviour(BatchKind::QuickShoot, settings_.namingMode) !=
            NamingBehaviour::RosterCell &&
        seams_.rosterWindowOpen()) {
        seams_.closeRosterWindow();
    }
}

void QuickShootSettingsWindow::browse() {
    const QString folder =
        dialogs_.chooseFolder(QStringLiteral("请选择或者新建一个文件夹"), folderEdit_->text());
    if (!folder.isEmpty()) {
        folderEdit_->setText(folders::shown(folders::stored(folder)));
    }
}

void QuickShootSettingsWindow::refuse(const QString& text) {
    dialogs_.inform(kCaption, text, MessageIcon::Information);
}

bool QuickShootSettingsWindow::confirm() {
    const QString folder = folders::stored(folderEdit_->text());
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        refuse(QStringLiteral("请设置正确的图片保存目录。"));
        return false;
    }
    const bool prefixMode = settings_.namingIndex == kPrefixItem;
    const QString typed = namingBox_->currentText();
    if (prefixMode) {
        if (QString(typed).remove(QLatin1Char(' ')).isEmpty()) {
            refuse(QStringLiteral("自定义命名不能为空。"));
            namingBox_->setFocus();
            return false;
        }
        // A prefix that cannot start a file name is refused now, not at the first shot.
        const QString problem = outputNameProblem(typed.trimmed());
        if (!problem.isEmpty()) {
            refuse(problem);
            namingBox_->setFocus();
            return false;
        }
    }
    seams_.switchQuickShootOn();
    settings_.saveFolder = folder;
    settings_.customPrefix = prefixMode ? typed.trimmed() : QString();
    file_.saveQuickShootSettings(settings_, keepBox_->isChecked(), edits_);
    if (namingBehaviour(BatchKind::QuickShoot, settings_.namingMode) ==
        NamingBehaviour::RosterCell) {
        seams_.openRosterWindow();
    }
    accept();
    return true;
}

} // namespace portiqa
