#pragma once

// The window "排版打印": copies of the framed picture laid out on photo paper at their printed
// size. The operator chooses the paper, its orientation, the photo size, the number of copies,
// the gap, the cut lines and the margin; the sheet is drawn live with the count that fits.
// 打印… goes through Qt's print preview and print dialog (a machine without printers still
// gets the preview and printing to a PDF file); 保存PDF… and 保存JPG… write the sheet through
// SheetFiles. Every change of a choice is stored in the settings file's section "排版打印".
//
// A thin view: the layout is core/print's layoutSheet, the drawing SheetRenderer's.

#include "core/print/PrintSheetOptions.h"
#include "core/print/SheetRenderer.h"

#include <QDialog>
#include <QImage>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPrinter;
class QPushButton;
class QSpinBox;

namespace portiqa {

class Dialogs;
class PrintSheetSettings;
class SheetPreview;

class PrintSheetWindow final : public QDialog {
    Q_OBJECT
public:
    static QString title() { return QStringLiteral("排版打印"); }

    // `picture` is the framed picture as a save writes it; `outputDpi` the resolution the
    // output size choice prints it at.
    PrintSheetWindow(QImage picture, int outputDpi, PrintSheetSettings& settings, Dialogs& dialogs,
                     QWidget* parent = nullptr);

    // The choices as the controls hold them, and the sheet they make.
    PrintSheetOptions options() const;
    const SheetRenderer& sheet() const { return sheet_; }

    // 保存PDF… / 保存JPG…: asks for a file and writes the sheet; true when a file was written.
    bool savePdf();
    bool saveJpeg();
    // 打印…: the print preview, whose print button opens the print dialog.
    void print();
    // Sets the printer to the sheet's paper (full page, no margins) whatever paper it was
    // given, and draws the sheet on it; what the preview and the print dialog's printing run.
    void printTo(QPrinter& printer) const;

    QComboBox* paperBox() const { return paper_; }
    QComboBox* orientationBox() const { return orientation_; }
    QComboBox* sizeBox() const { return size_; }
    QSpinBox* copiesBox() const { return copies_; }
    QDoubleSpinBox* gapBox() const { return gap_; }
    QCheckBox* cutLinesBox() const { return cutLines_; }
    QDoubleSpinBox* marginBox() const { return margin_; }
    QLabel* countLabel() const { return count_; }
    SheetPreview* preview() const { return preview_; }
    QPushButton* printButton() const { return print_; }
    QPushButton* pdfButton() const { return pdf_; }
    QPushButton* jpegButton() const { return jpeg_; }

private:
    void buildControls();
    void showOptions(const PrintSheetOptions& options);
    void optionsChanged();
    bool saveAs(const QString& title, const QString& suffix, const QString& filter);

    QImage picture_;
    int outputDpi_;
    PrintSheetSettings& settings_;
    Dialogs& dialogs_;
    SheetRenderer sheet_;
    PrintSheetOptions stored_; // what the settings file holds, so only changes are written
    bool showing_ = false;     // the controls are being filled: no layout, no store

    QComboBox* paper_ = nullptr;
    QComboBox* orientation_ = nullptr;
    QComboBox* size_ = nullptr;
    QSpinBox* copies_ = nullptr;
    QDoubleSpinBox* gap_ = nullptr;
    QCheckBox* cutLines_ = nullptr;
    QDoubleSpinBox* margin_ = nullptr;
    QLabel* count_ = nullptr;
    SheetPreview* preview_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* pdf_ = nullptr;
    QPushButton* jpeg_ = nullptr;
};

} // namespace portiqa
