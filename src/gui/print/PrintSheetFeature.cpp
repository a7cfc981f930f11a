#include "gui/print/PrintSheetFeature.h"

#include "core/dialogs/Dialogs.h"
#include "core/output/SaveCommand.h"
#include "core/workspace/OutputSpec.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/MainWindow.h"
#include "gui/print/PrintSheetWindow.h"

#include <QAction>
#include <QMenu>

namespace portiqa {

PrintSheetFeature::PrintSheetFeature(MainWindow& window, Dialogs& dialogs, FeatureLinks& links,
                                     PrintSheetSources sources)
    : window_(window), dialogs_(dialogs), links_(links), sources_(std::move(sources)),
      settings_(window.services().location.settingsFolder, dialogs) {
    QMenu* menu = window.fileMenu();
    if (menu == nullptr) {
        return;
    }
    command_ = menu->addAction(commandText());
    QObject::connect(command_, &QAction::hovered, &window, [&window] {
        window.setStatusHint(
            QStringLiteral("把采集框内图片按实际尺寸排在相纸上，预览、打印或存为PDF"));
    });
    QObject::connect(command_, &QAction::triggered, &window, [this] { openWindow(); });
}

PrintSheetFeature::~PrintSheetFeature() {
    delete sheetWindow_.data();
}

void PrintSheetFeature::openWindow() {
    links_.finishTextForSave(); // a line typed with the text tool belongs to the picture
    const QString caption = QStringLiteral("提示");
    if (!sources_.pictureLoaded()) {
        dialogs_.inform(caption, SaveCommand::noPictureMessage(), MessageIcon::Information);
        return;
    }
    if (!sources_.outputSizeUsable()) {
        dialogs_.inform(caption, unusableOutputSizeHint(), MessageIcon::Information);
        return;
    }
    const QImage picture = sources_.framedPicture();
    if (picture.isNull()) {
        dialogs_.inform(caption, SaveCommand::noPictureMessage(), MessageIcon::Information);
        return;
    }
    delete sheetWindow_.data();
    sheetWindow_ =
        new PrintSheetWindow(picture, links_.outputResolutionDpi(), settings_, dialogs_, &window_);
    sheetWindow_->setAttribute(Qt::WA_DeleteOnClose);
    sheetWindow_->setWindowModality(Qt::ApplicationModal);
    // In batch crop mode A, S, D and F are grabbed system-wide; they would be lost from the
    // file names typed in the save dialog and turn the pictures over behind the window.
    links_.releaseBatchHotkeys();
    QObject::connect(sheetWindow_, &QDialog::finished, &window_,
                     [this] { links_.restoreBatchHotkeys(); });
    sheetWindow_->show();
}

} // namespace portiqa
