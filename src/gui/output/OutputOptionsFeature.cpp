#include "gui/output/OutputOptionsFeature.h"

#include "gui/app/FeatureLinks.h"
#include "gui/app/MainWindow.h"
#include "gui/output/OutputOptionsWindow.h"

#include <QAction>
#include <QMenu>

namespace portiqa {

OutputOptionsFeature::OutputOptionsFeature(MainWindow& window, Dialogs& dialogs,
                                           FeatureLinks& links, const OutputSpec& output)
    : window_(window), dialogs_(dialogs), links_(links), output_(output),
      setting_(window.services().location.settingsFolder, dialogs) {
    links.outputOptions = [this] {
        return setting_.optionsFor(QSize(output_.outputWidth, output_.outputHeight));
    };
    links.outputResolutionDpi = [this] { return links_.outputOptions().dotsPerInch; };
    QMenu* menu = window.fileMenu();
    if (menu == nullptr) {
        return;
    }
    command_ = menu->addAction(commandText());
    QObject::connect(command_, &QAction::hovered, &window, [&window] {
        window.setStatusHint(QStringLiteral("设置保存图片的分辨率、最小体积、最佳画质和背景颜色"));
    });
    QObject::connect(command_, &QAction::triggered, &window, [this] { openWindow(); });
}

OutputOptionsFeature::~OutputOptionsFeature() {
    delete optionsWindow_.data();
}

void OutputOptionsFeature::openWindow() {
    delete optionsWindow_.data();
    optionsWindow_ = new OutputOptionsWindow(
        setting_, dialogs_, QSize(output_.outputWidth, output_.outputHeight),
        [this] { return output_.sizeLimitKb; }, &window_);
    optionsWindow_->setAttribute(Qt::WA_DeleteOnClose);
    optionsWindow_->setWindowModality(Qt::ApplicationModal);
    // The batch hotkeys would take the letters typed into the fields.
    links_.releaseBatchHotkeys();
    QObject::connect(optionsWindow_, &QDialog::finished, &window_, [this](int result) {
        links_.restoreBatchHotkeys();
        if (result == QDialog::Accepted) {
            links_.outputOptionsStored();
        }
    });
    optionsWindow_->show();
}

} // namespace portiqa
