#pragma once

// The output options in the main window: the item "输出选项…" of menu 文件, its window and the
// stored options every save reads through FeatureLinks::outputOptions. The application object
// owns one for the life of the window.

#include "core/output/OutputOptionsSetting.h"
#include "core/workspace/OutputSpec.h"
#include "gui/output/OutputOptionsWindow.h"

#include <QPointer>

class QAction;

namespace portiqa {

class Dialogs;
struct FeatureLinks;
class MainWindow;

class OutputOptionsFeature {
public:
    static QString commandText() { return QStringLiteral("输出选项…"); }

    // Fills the output options entries of `links`; `output` is the main window's output size.
    OutputOptionsFeature(MainWindow& window, Dialogs& dialogs, FeatureLinks& links,
                         const OutputSpec& output);
    ~OutputOptionsFeature();

    QAction* commandAction() const { return command_; }
    OutputOptionsWindow* window() const { return optionsWindow_; }
    OutputOptionsSetting& setting() { return setting_; }
    void openWindow();

private:
    MainWindow& window_;
    Dialogs& dialogs_;
    FeatureLinks& links_;
    const OutputSpec& output_;
    OutputOptionsSetting setting_;
    QAction* command_ = nullptr; // owned by the menu
    QPointer<OutputOptionsWindow> optionsWindow_;
};

} // namespace portiqa
