#include "gui/app/OutputSizeController.h"

#include "core/app/MainWindowLayout.h"
#include "core/dialogs/Dialogs.h"
#include "core/text/Numbers.h"
#include "gui/app/MainWindow.h"
#include "gui/app/UpDownEdit.h"

#include <QComboBox>
#include <QScreen>

namespace portiqa {

namespace {
using mainwindow::kFrameMargin;
using mainwindow::kHeightAroundArea;
using mainwindow::kWidthBesideArea;

QString lowResolutionMessage() {
    return QStringLiteral("此电脑屏幕像素分辩率不够高，不满足操作要求。");
}
} // namespace

OutputSizeController::OutputSizeController(MainWindow& window, OutputSpec& output,
                                           OutputSizeHooks hooks)
    : QObject(&window), window_(window), output_(output), hooks_(std::move(hooks)),
      frameSize_(output.outputWidth, output.outputHeight) {
    const MainControls& c = window_.controls();
    connect(c.sizeTypeCombo, qOverload<int>(&QComboBox::activated), this,
            &OutputSizeController::applySizeType);
    connect(c.widthEdit, &QLineEdit::textChanged, this, &OutputSizeController::applyOutputWidth);
    connect(c.heightEdit, &QLineEdit::textChanged, this, &OutputSizeController::applyOutputHeight);
    connect(c.widthEdit, &UpDownEdit::stepped, this, [this](int s) { stepOutputSide(true, s); });
    connect(c.heightEdit, &UpDownEdit::stepped, this, [this](int s) { stepOutputSide(false, s); });
    // Typing switches the list to 自定义; the typed character itself goes in unchanged.
    connect(c.widthEdit, &QLineEdit::textEdited, this, &OutputSizeController::markCustom);
    connect(c.heightEdit, &QLineEdit::textEdited, this, &OutputSizeController::markCustom);
    connect(c.sizeLimitEdit, &QLineEdit::textChanged, this,
            &OutputSizeController::normaliseSizeLimit);
    connect(c.sizeLimitStepper, &UpDownEdit::stepped, this, &OutputSizeController::stepSizeLimit);
    output_.sizeLimitKb = sizeLimitFromText(c.sizeLimitEdit->text());
}

void OutputSizeController::markCustom() {
    // setCurrentIndex does not emit activated(), so the size type handler does not run.
    window_.controls().sizeTypeCombo->setCurrentIndex(1);
}

void OutputSizeController::applySizeType(int index) {
    hooks_.commitPendingText();
    if (const auto preset = sizePreset(index)) {
        window_.controls().widthEdit->setText(QString::number(preset->width()));
        window_.controls().heightEdit->setText(QString::number(preset->height()));
    }
    window_.controls().pictureArea->setFocus();
}

void OutputSizeController::stepOutputSide(bool width, int step) {
    markCustom();
    QLineEdit* edit = width ? static_cast<QLineEdit*>(window_.controls().widthEdit)
                            : window_.controls().heightEdit;
    const double next = numbers::leadingNumber(edit->text()) + step;
    edit->setText(numbers::numberText(next));
}

void OutputSizeController::applyOutputWidth() {
    applySide(true);
}

void OutputSizeController::applyOutputHeight() {
    applySide(false);
}

void OutputSizeController::applySide(bool width) {
    hooks_.commitPendingText();
    const MainControls& c = window_.controls();
    const QString text = width ? c.widthEdit->text() : c.heightEdit->text();
    const std::int32_t side = outputSideFromText(text);
    (width ? output_.outputWidth : output_.outputHeight) = side;
    hooks_.outputSizeChanged(width);
    hooks_.sizeTextChanged(width ? QStringLiteral("像素宽") : QStringLiteral("像素高"), text);
    if (!OutputSpec::usableSide(side)) {
        window_.setStatusHint(unusableOutputSizeHint());
        return;
    }
    if (output_.usable() && window_.statusHintText() == unusableOutputSizeHint()) {
        window_.setStatusHint(QString());
    }
    (width ? frameSize_.rwidth() : frameSize_.rheight()) = side;
    const int area = width ? c.pictureArea->width() : c.pictureArea->height();
    if (numbers::greaterOrEqual(double(side) + kFrameMargin, area)) {
        hooks_.resizeFrame(frameSize_);
        growWindowFor(width); // the layout then centres the frame in the larger area
        return;
    }
    hooks_.resizeFrame(frameSize_);
    if (hooks_.pictureLoaded()) {
        hooks_.recomposeView();
    }
}

void OutputSizeController::growWindowFor(bool width) {
    const QSize screen = window_.screen() ? window_.screen()->size() : QSize(1 << 15, 1 << 15);
    if (width) {
        const int effective = output_.outputWidth + kWidthBesideArea;
        window_.setEffectiveSize(effective, window_.effectiveHeight());
        if (effective + 10 > screen.width()) {
            window_.dialogs().inform(QStringLiteral("提示"), lowResolutionMessage(),
                                     MessageIcon::None);
        }
    } else {
        const int effective = output_.outputHeight + kHeightAroundArea;
        window_.setEffectiveSize(window_.effectiveWidth(), effective);
        if (effective + 20 > screen.height()) {
            window_.dialogs().inform(QStringLiteral("提示"), lowResolutionMessage(),
                                     MessageIcon::None);
        }
    }
}

void OutputSizeController::normaliseSizeLimit() {
    // Writing a different text runs this handler again, which then finds the text settled and
    // stores the limit; so each path below stores exactly once.
    QLineEdit* edit = window_.controls().sizeLimitEdit;
    const double value = sizeLimitFromText(edit->text());
    if (!numbers::greater(value, 0)) {
        edit->setText(QStringLiteral("50"));
        return;
    }
    const QString form = numbers::numberText(value);
    if (form != edit->text()) {
        edit->setText(form);
        return;
    }
    output_.sizeLimitKb = value;
    hooks_.sizeLimitChanged(form);
}

void OutputSizeController::stepSizeLimit(int step) {
    QLineEdit* edit = window_.controls().sizeLimitEdit;
    edit->setText(numbers::numberText(numbers::leadingNumber(edit->text()) + step));
    if (numbers::leadingNumber(edit->text()) < 1) {
        edit->setText(QStringLiteral("500"));
    }
}

} // namespace portiqa
