#include "gui/print/PrintSheetWindow.h"

#include "core/dialogs/Dialogs.h"
#include "core/files/DialogStartFolder.h"
#include "core/output/SaveCommand.h"
#include "core/print/PrintSheetSettings.h"
#include "core/print/SheetFiles.h"
#include "gui/print/SheetPreview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace portiqa {

namespace {

const QString kCaption = QStringLiteral("提示");
const QString kLandscape = QStringLiteral("横向");
const QString kPortrait = QStringLiteral("纵向");

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

QDoubleSpinBox* millimetreBox(double high, const char* name) {
    auto* box = named(new QDoubleSpinBox, name);
    box->setRange(0, high);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" mm"));
    box->setKeyboardTracking(false); // a typed number counts once it is complete
    return box;
}

void selectData(QComboBox* box, const QString& data) {
    const int index = box->findData(data);
    box->setCurrentIndex(index >= 0 ? index : 0);
}

} // namespace

PrintSheetWindow::PrintSheetWindow(QImage picture, int outputDpi, PrintSheetSettings& settings,
                                   Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), picture_(std::move(picture)), outputDpi_(outputDpi), settings_(settings),
      dialogs_(dialogs), sheet_(SheetLayout(), QImage()) {
    setObjectName(title());
    setWindowTitle(title());
    buildControls();
    stored_ = settings_.load();
    showOptions(stored_);
}

void PrintSheetWindow::buildControls() {
    paper_ = named(new QComboBox, "纸张组合框");
    for (const PaperChoice& paper : paperChoices()) {
        paper_->addItem(paper.label, paper.name);
    }
    orientation_ = named(new QComboBox, "方向组合框");
    orientation_->addItem(kLandscape, kLandscape);
    orientation_->addItem(kPortrait, kPortrait);
    size_ = named(new QComboBox, "照片尺寸组合框");
    for (const PhotoSizeChoice& size : photoSizeChoices()) {
        size_->addItem(size.label, size.name);
    }
    const PhotoSizeChoice output = outputPhotoSize(picture_.size(), outputDpi_);
    size_->addItem(output.label, output.name);
    copies_ = named(new QSpinBox, "张数编辑框");
    copies_->setRange(0, PrintSheetOptions::kMaxCopies);
    copies_->setSpecialValueText(QStringLiteral("放满")); // 0: as many as fit
    copies_->setKeyboardTracking(false);
    gap_ = millimetreBox(PrintSheetOptions::kMaxGapMm, "间距编辑框");
    cutLines_ = named(new QCheckBox(QStringLiteral("画裁切线")), "裁切线选择框");
    margin_ = millimetreBox(PrintSheetOptions::kMaxMarginMm, "边距编辑框");
    count_ = named(new QLabel, "张数提示标签");
    count_->setWordWrap(true);
    preview_ = new SheetPreview;
    print_ = named(new QPushButton(QStringLiteral("打印…")), "打印按钮");
    pdf_ = named(new QPushButton(QStringLiteral("保存PDF…")), "保存PDF按钮");
    jpeg_ = named(new QPushButton(QStringLiteral("保存JPG…")), "保存JPG按钮");
    auto* close = named(new QPushButton(QStringLiteral("关闭")), "关闭按钮");

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("纸张"), paper_);
    form->addRow(QStringLiteral("方向"), orientation_);
    form->addRow(QStringLiteral("照片尺寸"), size_);
    form->addRow(QStringLiteral("张数"), copies_);
    form->addRow(QStringLiteral("间距"), gap_);
    form->addRow(QString(), cutLines_);
    form->addRow(QStringLiteral("边距"), margin_);
    form->addRow(count_);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {print_, pdf_, jpeg_, close}) {
        // Enter confirms a typed number; it must not also start printing or a save.
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    auto* side = new QVBoxLayout;
    side->addLayout(form);
    side->addStretch();
    side->addLayout(buttons);
    auto* main = new QHBoxLayout(this);
    main->addLayout(side);
    main->addWidget(preview_, 1);
    resize(760, 480);

    for (QComboBox* box : {paper_, orientation_, size_}) {
        connect(box, &QComboBox::currentIndexChanged, this, &PrintSheetWindow::optionsChanged);
    }
    connect(copies_, &QSpinBox::valueChanged, this, &PrintSheetWindow::optionsChanged);
    connect(gap_, &QDoubleSpinBox::valueChanged, this, &PrintSheetWindow::optionsChanged);
    connect(margin_, &QDoubleSpinBox::valueChanged, this, &PrintSheetWindow::optionsChanged);
    connect(cutLines_, &QCheckBox::toggled, this, &PrintSheetWindow::optionsChanged);
    connect(print_, &QPushButton::clicked, this, &PrintSheetWindow::print);
    connect(pdf_, &QPushButton::clicked, this, &PrintSheetWindow::savePdf);
    connect(jpeg_, &QPushButton::clicked, this, &PrintSheetWindow::saveJpeg);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void PrintSheetWindow::showOptions(const PrintSheetOptions& options) {
    showing_ = true;
    selectData(paper_, options.paper);
    selectData(orientation_, options.landscape ? kLandscape : kPortrait);
    selectData(size_, options.photoSize);
    copies_->setValue(options.copies);
    gap_->setValue(options.gapMm);
    cutLines_->setChecked(options.cutLines);
    margin_->setValue(options.marginMm);
    showing_ = false;
    optionsChanged();
}

PrintSheetOptions PrintSheetWindow::options() const {
    PrintSheetOptions options;
    options.paper = paper_->currentData().toString();
    options.landscape = orientation_->currentData().toString() == kLandscape;
    options.photoSize = size_->currentData().toString();
    options.copies = copies_->value();
    options.gapMm = gap_->value();
    options.cutLines = cutLines_->isChecked();
    options.marginMm = margin_->value();
    return options;
}

void PrintSheetWindow::optionsChanged() {
    if (showing_) {
        return;
    }
    const PrintSheetOptions chosen = options();
    const std::optional<PhotoSizeChoice> photo =
        photoSizeFor(chosen.photoSize, picture_.size(), outputDpi_);
    SheetLayout layout;
    if (photo) {
        layout = layoutSheet(sheetRequest(chosen, *photo));
    }
    sheet_ = SheetRenderer(layout, picture_);
    preview_->setSheet(sheet_);
    const int fits = layout.fits();
    const bool any = !layout.copies.isEmpty();
    if (!any) {
        count_->setText(QStringLiteral("纸上放不下一张照片，请换大一些的纸张或减小边距。"));
    } else if (chosen.copies > fits) {
        count_->setText(QStringLiteral("最多可放 %1 张，只排了 %1 张。").arg(fits));
    } else {
        count_->setText(QStringLiteral("可放 %1 张，排 %2 张（%3 行 × %4 列）。")
                            .arg(fits)
                            .arg(layout.copies.size())
                            .arg(layout.rows)
                            .arg(layout.columns));
    }
    for (QPushButton* button : {print_, pdf_, jpeg_}) {
        button->setEnabled(any);
    }
    if (chosen.normalised() != stored_) {
        stored_ = chosen.normalised();
        settings_.store(stored_);
    }
}

bool PrintSheetWindow::savePdf() {
    return saveAs(QStringLiteral("排版另存为PDF："), QStringLiteral("pdf"),
                  QStringLiteral("PDF文件 (*.pdf)"));
}

bool PrintSheetWindow::saveJpeg() {
    return saveAs(QStringLiteral("排版另存为JPG："), QStringLiteral("jpg"),
                  QStringLiteral("JPG图片 (*.jpg *.jpeg)"));
}

bool PrintSheetWindow::saveAs(const QString& title, const QString& suffix, const QString& filter) {
    SaveFileRequest request;
    request.title = title;
    request.folder = dialogStartFolder();
    request.defaultSuffix = suffix;
    request.filter = filter;
    request.confirmOverwrite = true;
    QString path = dialogs_.saveFile(request);
    if (path.isEmpty()) {
        return false;
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QLatin1Char('.') + suffix;
    }
    QString error;
    if (!SheetFiles::save(sheet_, path, &error)) {
        dialogs_.inform(kCaption, SaveCommand::writeFailedMessage(path, error),
                        MessageIcon::Warning);
        return false;
    }
    return true;
}

void PrintSheetWindow::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(SheetFiles::pageLayout(sheet_.layout().paperMm));
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(title());
    // Runs for the preview and again for the printing the print dialog starts.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { printTo(*target); });
    preview.exec();
}

void PrintSheetWindow::printTo(QPrinter& printer) const {
    // The print dialog sets its printer's default paper (Letter for "Print to File"); the
    // sheet is laid out for its own paper, so that is put back before every drawing.
    printer.setFullPage(true); // the origin is the paper's corner, as the layout's
    printer.setPageLayout(SheetFiles::pageLayout(sheet_.layout().paperMm));
    QPainter painter;
    if (painter.begin(&printer)) {
        sheet_.paint(painter, printer.resolution());
    }
}

} // namespace portiqa
