#include "core/output/SaveCommand.h"

#include "core/dialogs/Dialogs.h"
#include "core/files/DialogStartFolder.h"
#include "core/files/WholeFile.h"
#include "core/output/BmpWriter.h"
#include "core/output/OutputEncoder.h"
#include "core/text/PictureExtensions.h"
#include "core/workspace/OutputSpec.h"

#include <QFileInfo>

namespace portiqa {

namespace {

const QString kCaption = QStringLiteral("提示");

} // namespace

SaveCommand::SaveCommand(Dialogs& dialogs, OutputEncoder& encoder, SaveContext context)
    : dialogs_(dialogs), encoder_(encoder), context_(std::move(context)) {}

QString SaveCommand::noPictureMessage() {
    return QStringLiteral("请打开一张图片或拍照一幅图象再进行操作。");
}

QString SaveCommand::unsupportedExtensionMessage(const QString& extension) {
    return QStringLiteral("不能保存为“%1”格式，请使用 .jpg、.jpeg、.bmp、.gif 或 .png 扩展名。")
        .arg(extension.isEmpty() ? QStringLiteral("无扩展名") : extension);
}

QString SaveCommand::writeFailedMessage(const QString& path, const QString& reason) {
    return QStringLiteral("无法保存文件“%1”：%2").arg(path, reason);
}

SaveOutcome SaveCommand::savePicture() {
    context_.commitPendingText();
    if (context_.batchCropMode()) {
        context_.saveInBatchCropMode();
        return SaveOutcome::Saved;
    }
    const SaveOutcome outcome = saveNormally();
    context_.focusPictureArea();
    return outcome;
}

SaveOutcome SaveCommand::saveNormally() {
    if (!context_.pictureLoaded()) {
        dialogs_.inform(kCaption, noPictureMessage(), MessageIcon::Information);
        return SaveOutcome::Refused;
    }
    if (!context_.outputSizeUsable()) {
        dialogs_.inform(kCaption, unusableOutputSizeHint(), MessageIcon::Information);
        return SaveOutcome::Refused;
    }
    SaveFileRequest request;
    request.title = QStringLiteral("采集框内图象另存为：");
    request.folder = context_.startFolder.isEmpty() ? dialogStartFolder() : context_.startFolder;
    request.defaultSuffix = QStringLiteral("jpg");
    // The label, then the patterns the dialog filters by (which it does not show).
    request.filter = QStringLiteral("图片文件 *.jpg *.bmp *.gif *.png (*.jpg *.bmp *.gif *.png)");
    request.confirmOverwrite = true;
    QString path = dialogs_.saveFile(request);
    if (path.isEmpty()) {
        return SaveOutcome::Cancelled;
    }
    if (!QFileInfo(path).fileName().contains(QLatin1Char('.'))) {
        path += QStringLiteral(".jpg"); // the dialog's default extension
    }
    const QString extension = lowerCaseExtension(path);
    if (!isPictureExtension(extension.mid(1))) {
        dialogs_.inform(kCaption, unsupportedExtensionMessage(extension), MessageIcon::Warning);
        return SaveOutcome::Refused;
    }
    const QByteArray capture = encodeBmp24(context_.captureFramedImage());
    const OutputOptions options = context_.outputOptions();
    const OutputEncoding encoded =
        encoder_.encodeForOutput(capture, extension, context_.sizeLimitKb(), options);
    if (!encoded.hasFile()) {
        dialogs_.inform(kCaption, writeFailedMessage(path, QStringLiteral("图片编码失败。")),
                        MessageIcon::Warning);
        return SaveOutcome::WriteFailed;
    }
    QString error;
    if (!writeWholeFile(path, encoded.bytes, &error)) {
        dialogs_.inform(kCaption, writeFailedMessage(path, error), MessageIcon::Warning);
        return SaveOutcome::WriteFailed;
    }
    if (encoded.status == OutputStatus::SizeUnreachable) {
        // Only a .jpg name reports the size; .jpeg saves the smallest file silently.
        if (extension == QLatin1String(".jpg")) {
            reportUnreachableSize(dialogs_, encoded.bytes.size());
        }
        return SaveOutcome::SavedOverLimit;
    }
    if (encoded.belowMinimum) {
        dialogs_.inform(kCaption, belowMinimumMessage(encoded.bytes.size(), options.minKb),
                        MessageIcon::None);
    }
    return SaveOutcome::Saved;
}

QString lowerCaseExtension(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const int dot = int(name.lastIndexOf(QLatin1Char('.')));
    if (dot < 0) {
        return {};
    }
    return name.mid(dot).toLower();
}

} // namespace portiqa
