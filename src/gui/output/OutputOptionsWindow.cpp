#include "gui/output/OutputOptionsWindow.h"

#include "core/dialogs/Dialogs.h"
#include "core/text/Numbers.h"
#include "core/workspace/OutputSpec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace portiqa {

OutputOptionsWindow::OutputOptionsWindow(OutputOptionsSetting& setting, Dialogs& dialogs,
                                         QSize outputSize, std::function<double()> sizeLimitKb,
                                         QWidget* parent)
    : QDialog(parent), setting_(setting), dialogs_(dialogs), sizeLimitKb_(std::move(sizeLimitKb)) {
    setObjectName(QStringLiteral("输出选项窗口"));
    setWindowTitle(QStringLiteral("输出选项"));
    const StoredOutputOptions stored = setting.stored();

    dpi_ = new QLineEdit(this);
    dpi_->setObjectName(QStringLiteral("分辨率编辑框"));
    dpi_->setPlaceholderText(
        QStringLiteral("留空：按尺寸（%1）").arg(standardResolution(outputSize)));
    if (stored.dotsPerInch > 0) {
        dpi_->setText(QString::number(stored.dotsPerInch));
    }
    minKb_ = new QLineEdit(this);
    minKb_->setObjectName(QStringLiteral("最小体积编辑框"));
    minKb_->setPlaceholderText(QStringLiteral("留空或0：不限"));
    if (stored.minKb > 0) {
        minKb_->setText(numbers::numberText(stored.minKb));
    }
    best_ = new QCheckBox(QStringLiteral("最佳画质"), this);
    best_->setObjectName(QStringLiteral("最佳画质选择框"));
    best_->setChecked(stored.bestPicture);
    best_->setToolTip(QStringLiteral("在体积上限内比较两种色度采样，保存更接近原图的一种"));

    background_ = new QComboBox(this);
    background_->setObjectName(QStringLiteral("背景颜色组合框"));
    background_->addItems(backgroundItems());
    customShown_ = new QLabel(this);
    customShown_->setObjectName(QStringLiteral("自定义颜色标签"));
    lastBackgroundItem_ = 4;
    for (int i = 0; i < 4; ++i) {
        if (stored.background == presetAt(i)) {
            lastBackgroundItem_ = i;
        }
    }
    if (lastBackgroundItem_ == 4) {
        custom_ = stored.background;
        customShown_->setText(custom_.stored());
    }
    background_->setCurrentIndex(lastBackgroundItem_);
    connect(background_, &QComboBox::activated, this, &OutputOptionsWindow::backgroundItemChosen);

    // Room for the hints the empty fields show.
    for (QLineEdit* edit : {dpi_, minKb_}) {
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(edit->placeholderText()) + 24);
    }
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("分辨率(dpi)"), dpi_);
    form->addRow(QStringLiteral("最小体积(KB)"), minKb_);
    form->addRow(QString(), best_);
    auto* backgroundRow = new QHBoxLayout;
    backgroundRow->addWidget(background_);
    backgroundRow->addWidget(customShown_);
    form->addRow(QStringLiteral("背景颜色"), backgroundRow);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &OutputOptionsWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void OutputOptionsWindow::accept() {
    int field = 0;
    const QString refusal =
        OutputOptionsSetting::refusal(dpi_->text(), minKb_->text(), sizeLimitKb_(), &field);
    if (!refusal.isEmpty()) {
        dialogs_.inform(QStringLiteral("提示"), refusal, MessageIcon::Information);
        QLineEdit* back = field == 0 ? dpi_ : minKb_;
        back->setFocus();
        back->selectAll();
        return;
    }
    StoredOutputOptions options;
    options.dotsPerInch = dpi_->text().trimmed().toInt();
    options.minKb = std::max(0.0, minKb_->text().trimmed().toDouble());
    options.bestPicture = best_->isChecked();
    options.background = chosenBackground();
    setting_.store(options);
    QDialog::accept();
}

QStringList OutputOptionsWindow::backgroundItems() {
    return {QStringLiteral("不更换"), QStringLiteral("白色"), QStringLiteral("蓝色"),
            QStringLiteral("红色"), QStringLiteral("自定义…")};
}

BackgroundColour OutputOptionsWindow::presetAt(int index) {
    switch (index) {
    case 1:
        return BackgroundColour::white();
    case 2:
        return BackgroundColour::blue();
    case 3:
        return BackgroundColour::red();
    default:
        return {};
    }
}

BackgroundColour OutputOptionsWindow::colourOfItem(int index) const {
    return index == 4 ? custom_ : presetAt(index);
}

BackgroundColour OutputOptionsWindow::chosenBackground() const {
    return colourOfItem(background_->currentIndex());
}

void OutputOptionsWindow::backgroundItemChosen(int index) {
    if (index == 4) {
        // The dialog starts from the colour in use, so a shade of it is one step away.
        const BackgroundColour inUse = colourOfItem(lastBackgroundItem_);
        const QColor initial = inUse.replaces() ? QColor(*inUse.colour) : QColor(Qt::white);
        const std::optional<QColor> picked = dialogs_.chooseColour(initial);
        if (!picked || !picked->isValid()) {
            background_->setCurrentIndex(lastBackgroundItem_); // cancelled: as before
            return;
        }
        custom_ = BackgroundColour{picked->rgb()};
        customShown_->setText(custom_.stored());
    }
    lastBackgroundItem_ = index;
}

} // namespace portiqa
