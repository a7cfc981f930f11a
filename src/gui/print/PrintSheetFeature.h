#pragma once

// The print sheet in the main window: the item "排版打印…" at the end of menu 文件 and the
// window it opens on the framed picture. The application object owns one for the life of the
// main window.

#include "core/print/PrintSheetSettings.h"
#include "gui/print/PrintSheetWindow.h"

#include <QImage>
#include <QPointer>

#include <functional>

class QAction;

namespace portiqa {

class Dialogs;
struct FeatureLinks;
class MainWindow;

struct PrintSheetSources {
    std::function<bool()> pictureLoaded = [] { return false; };
    std::function<bool()> outputSizeUsable = [] { return true; };
    // The framed picture exactly as a save writes it.
    std::function<QImage()> framedPicture = [] { return QImage(); };
};

class PrintSheetFeature {
public:
    static QString commandText() { return QStringLiteral("排版打印…"); }

    PrintSheetFeature(MainWindow& window, Dialogs& dialogs, FeatureLinks& links,
                      PrintSheetSources sources);
    ~PrintSheetFeature();

    QAction* commandAction() const { return command_; }
    // The open window, or null.
    PrintSheetWindow* sheetWindow() const { return sheetWindow_; }

    // What the menu item does: takes the framed picture and opens the window on it (modal to
    // the program, not blocking the caller). Without a picture, or with an output size that
    // cannot be captured, it tells the operator as a save does and opens nothing.
    void openWindow();

private:
    MainWindow& window_;
    Dialogs& dialogs_;
    FeatureLinks& links_;
    PrintSheetSources sources_;
    PrintSheetSettings settings_;
    QAction* command_ = nullptr; // owned by the menu
    QPointer<PrintSheetWindow> sheetWindow_;
};

} // namespace portiqa
