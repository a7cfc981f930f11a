// The 排版打印 window through the program: the menu item opens it on the framed picture as a
// save would write it, the choices redraw the sheet and count what fits, and the sheet is
// saved as PDF or JPEG or printed to a PDF printer, each read back by tools that are not ours.

#include "gui/print/PrintSheetWindow.h"
#include "core/ini/IniFile.h"
#include "core/output/SaveCommand.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/print/PrintSheetFeature.h"
#include "gui/print/SheetPreview.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"
#include "support/SheetProbe.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace portiqa;

namespace {

struct RunningProgram {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<PortiqaApp> app;

    explicit RunningProgram(bool withPicture = true) {
        LaunchOptions options;
        options.settingsDir = dir.filePath("settings");
        app = std::make_unique<PortiqaApp>(options, &dialogs);
        app->start();
        if (!withPicture) {
            return;
        }
        QImage photo(1200, 1600, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y) {
            for (int x = 0; x < photo.width(); ++x) {
                photo.setPixel(x, y, qRgb(x % 256, y % 256, (x / 7 + y / 5) % 256));
            }
        }
        photo.save(dir.filePath("photo.png"));
        dialogs.files.push_back(dir.filePath("photo.png"));
        app->window().dispatchToolbar(1);
        app->workspace().waitForPicture();
        QComboBox* sizeType = app->window().controls().sizeTypeCombo;
        sizeType->setCurrentIndex(4); // 1寸照 295 x 413
        emit sizeType->activated(4);
    }
    PrintSheetWindow* openSheet() {
        app->printSheet().commandAction()->trigger();
        return app->printSheet().sheetWindow();
    }
    QString stored(const char* key) const {
        return IniFile(dir.filePath("settings/set.dll")).read("排版打印", key);
    }
};

} // namespace

TEST(PrintSheetWindow, MenuItemOpensItOnTheFramedPictureAsASaveWritesIt) {
    RunningProgram p;
    // The batch hotkeys are given up while the window is open (its save dialogs take typing).
    int released = 0;
    int restored = 0;
    p.app->links().releaseBatchHotkeys = [&] { ++released; };
    p.app->links().restoreBatchHotkeys = [&] { ++restored; };
    PrintSheetWindow* window = p.openSheet();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("排版打印"));
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
    const QImage framed = p.app->workspace().captureFramedImage();
    ASSERT_EQ(framed.size(), QSize(295, 413));
    EXPECT_EQ(window->sheet().picture(), framed);
    EXPECT_EQ(window->countLabel()->text(), QStringLiteral("可放 8 张，排 8 张（2 行 × 4 列）。"));
    EXPECT_EQ(window->sizeBox()->itemText(window->sizeBox()->count() - 1),
              QStringLiteral("输出尺寸 (295×413 像素, 300 dpi)"));
    // The preview shows the whole 127 × 89 mm paper.
    const QRect paper = window->preview()->paperRect();
    EXPECT_NEAR(double(paper.width()) / paper.height(), 127.0 / 89.0, 0.02);
    EXPECT_TRUE(p.dialogs.messages.isEmpty());
    EXPECT_FALSE(QFile::exists(p.dir.filePath("settings/set.dll"))); // nothing changed yet
    EXPECT_EQ(released, 1);
    EXPECT_EQ(restored, 0);
    window->close();
    EXPECT_EQ(restored, 1);
}

TEST(PrintSheetWindow, WithoutAPictureItSaysSoAndOpensNothing) {
    RunningProgram p(false);
    EXPECT_EQ(p.openSheet(), nullptr);
    ASSERT_EQ(p.dialogs.messages.size(), 1);
    EXPECT_EQ(p.dialogs.messages.at(0).caption, QStringLiteral("提示"));
    EXPECT_EQ(p.dialogs.messages.at(0).text, SaveCommand::noPictureMessage());
}

TEST(PrintSheetWindow, ChoicesRedrawTheSheetCountWhatFitsAndAreKeptForNextTime) {
    RunningProgram p;
    PrintSheetWindow* window = p.openSheet();
    ASSERT_NE(window, nullptr);
    window->paperBox()->setCurrentIndex(1); // 6寸
    window->sizeBox()->setCurrentIndex(2);  // 2寸
    EXPECT_EQ(window->countLabel()->text(), QStringLiteral("可放 4 张，排 4 张（1 行 × 4 列）。"));
    const QRect paper = window->preview()->paperRect();
    EXPECT_NEAR(double(paper.width()) / paper.height(), 152.0 / 102.0, 0.02);
    // A number typed and confirmed with Enter: taken, and nothing else starts (a print
    // preview opened by it is noted and closed).
    QString stray;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != window) {
            stray = modal->metaObject()->className();
            modal->close();
        }
    });
    QTest::keyClick(window->copiesBox(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(window->copiesBox(), "3");
    QTest::keyClick(window->copiesBox(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->sheet().layout().copies.size(), 3);
    EXPECT_EQ(stray.toStdString(), "");
    EXPECT_TRUE(p.dialogs.saveRequests.isEmpty());
    EXPECT_EQ(window->countLabel()->text(), QStringLiteral("可放 4 张，排 3 张（1 行 × 3 列）。"));
    window->copiesBox()->setValue(9);
    EXPECT_EQ(window->countLabel()->text(), QStringLiteral("最多可放 4 张，只排了 4 张。"));
    window->orientationBox()->setCurrentIndex(1); // 纵向
    window->cutLinesBox()->setChecked(false);
    window->gapBox()->setValue(0);
    window->marginBox()->setValue(1.5);
    EXPECT_TRUE(window->sheet().layout().cutLines.isEmpty());
    EXPECT_EQ(p.stored("纸张"), QStringLiteral("6寸"));
    EXPECT_EQ(p.stored("方向"), QStringLiteral("纵向"));
    EXPECT_EQ(p.stored("照片尺寸"), QStringLiteral("2寸"));
    EXPECT_EQ(p.stored("张数"), QStringLiteral("9"));
    EXPECT_EQ(p.stored("裁切线"), QStringLiteral("假"));
    EXPECT_EQ(p.stored("边距"), QStringLiteral("1.5"));
    const PrintSheetOptions chosen = window->options();
    window->close();

    PrintSheetWindow* again = p.openSheet();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->options(), chosen);
    EXPECT_EQ(again->paperBox()->currentText(), QStringLiteral("6寸 (152×102 mm)"));

    // A margin that leaves no room for one photo: said plainly, nothing to print or save.
    again->paperBox()->setCurrentIndex(0); // 5寸, upright: 29 mm across inside the margins
    again->marginBox()->setValue(30);
    EXPECT_EQ(again->countLabel()->text(),
              QStringLiteral("纸上放不下一张照片，请换大一些的纸张或减小边距。"));
    EXPECT_FALSE(again->printButton()->isEnabled());
    EXPECT_FALSE(again->pdfButton()->isEnabled());
    EXPECT_FALSE(again->jpegButton()->isEnabled());
}

TEST(PrintSheetWindow, SavesThePdfAndTheJpegOfTheSheetShown) {
    RunningProgram p;
    PrintSheetWindow* window = p.openSheet();
    ASSERT_NE(window, nullptr);
    window->paperBox()->setCurrentIndex(1); // 6寸
    window->sizeBox()->setCurrentIndex(2);  // 2寸: the 295 x 413 picture is 413 x 578 in it
    p.dialogs.files.push_back(p.dir.filePath("sheet")); // no extension typed
    window->pdfButton()->click();
    ASSERT_EQ(p.dialogs.saveRequests.size(), 1);
    EXPECT_EQ(p.dialogs.saveRequests.at(0).defaultSuffix, QStringLiteral("pdf"));
    const test::PdfFacts pdf = test::probePdf(p.dir.filePath("sheet.pdf"));
    ASSERT_TRUE(pdf.read);
    EXPECT_EQ(pdf.pagePoints, QSizeF(431, 289)); // 152 x 102 mm
    EXPECT_EQ(pdf.images, QList<QSize>(4, QSize(413, 578)));

    p.dialogs.files.push_back(p.dir.filePath("sheet.jpg"));
    window->jpegButton()->click();
    const test::JpegFacts jpeg = test::probeJpeg(test::readAll(p.dir.filePath("sheet.jpg")));
    ASSERT_TRUE(jpeg.read);
    EXPECT_EQ(jpeg.size, QSize(1795, 1205));
    EXPECT_EQ(jpeg.xDensity, 300);
    EXPECT_EQ(jpeg.densityUnit, 1);

    // A file that cannot be written: told, and the window stays.
    p.dialogs.files.push_back(p.dir.filePath("no/such/folder/sheet.pdf"));
    window->pdfButton()->click();
    ASSERT_EQ(p.dialogs.messages.size(), 1);
    EXPECT_EQ(p.dialogs.messages.at(0).caption, QStringLiteral("提示"));
    EXPECT_TRUE(p.dialogs.messages.at(0).text.startsWith(QStringLiteral("无法保存文件")));
    EXPECT_TRUE(window->isVisible());
}

TEST(PrintSheetWindow, PrintingPutsTheSheetOnAPageOfThePaper) {
    RunningProgram p;
    PrintSheetWindow* window = p.openSheet();
    ASSERT_NE(window, nullptr);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(p.dir.filePath("printed.pdf"));
    // What Qt's print dialog leaves for "Print to File (PDF)" on this machine.
    printer.setPageSize(QPageSize(QPageSize::Letter));
    window->printTo(printer);
    const test::PdfFacts pdf = test::probePdf(p.dir.filePath("printed.pdf"));
    ASSERT_TRUE(pdf.read);
    EXPECT_EQ(pdf.pages, 1);
    EXPECT_EQ(pdf.pagePoints, QSizeF(360, 252)); // 127 x 89 mm
    // Eight copies, each the picture scaled once to 1寸 at the printer's resolution.
    const QSize copy = window->sheet().pictureRectInCopy(printer.resolution()).size();
    EXPECT_EQ(copy, QSize(1181, 1653));
    EXPECT_EQ(pdf.images, QList<QSize>(8, copy));
}
