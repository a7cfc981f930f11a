#include "core/workspace/PictureSources.h"

#include "core/text/PictureExtensions.h"
#include "core/workspace/OutputSpec.h"
#include "core/workspace/PhotoWorkspace.h"

#include <QFileInfo>

namespace portiqa {

namespace {

const QString Caption = QStringLiteral("提示");

} // namespace

PictureSources::PictureSources(PhotoWorkspace& workspace, Dialogs& dialogs)
    : workspace_(workspace), dialogs_(dialogs),
      decoder_([this](const QString& path) { return pictureDecoder_.decodeFile(path); }) {}

bool PictureSources::openPicture() {
    const QString path =
        dialogs_.openFile(QStringLiteral("打开图片文件"), QString(),
                          QStringLiteral("图片文件 (*.bmp *.jpg *.gif *.png *.jpeg)"));
    if (path.isEmpty()) {
        return false;
    }
    const bool loaded = loadPictureFile(path);
    recordSource(path);
    return loaded;
}

bool PictureSources::loadPictureFile(const QString& path) {
    if (fileLoader_) {
        fileLoader_(path);
        return true;
    }
    const DecodedPicture decoded = decoder_(path);
    if (!decoded.ok()) {
        dialogs_.inform(PictureDecoder::messageCaption(), decoded.message, MessageIcon::Warning);
        return false;
    }
    if (!workspace_.showNewPicture(decoded.image, true)) {
        dialogs_.inform(PictureDecoder::messageCaption(),
                        pictureDecoder_.messageFor(DecodeError::OutOfMemory), MessageIcon::Warning);
        return false;
    }
    return true;
}

std::optional<QString> PictureSources::acceptedDrop(const QString& droppedText, Dialogs& dialogs) {
    if (droppedText.contains(QStringLiteral("\r\n"))) {
        const int count = static_cast<int>(droppedText.split(QStringLiteral("\r\n")).size());
        dialogs.inform(Caption,
                       QStringLiteral("您同时拖放了") + QString::number(count) +
                           QStringLiteral("个文件，请每次只拖放一个文件。"),
                       MessageIcon::None);
        return std::nullopt;
    }
    // The extension is the text after the last dot; a folder is never a picture, whatever its
    // name looks like.
    if (!isPictureExtension(textAfterLastDot(droppedText)) || QFileInfo(droppedText).isDir()) {
        dialogs.inform(Caption,
                       QStringLiteral("本软件只接收jpg、bmp、gif、png四类图片文件，"
                                      "您拖放的文件不属此范围。"),
                       MessageIcon::None);
        return std::nullopt;
    }
    return droppedText;
}

QString PictureSources::dropText(const QList<QUrl>& urls) {
    QStringList paths;
    for (const QUrl& url : urls) {
        paths << (url.isLocalFile() ? url.toLocalFile() : url.toString());
    }
    return paths.join(QStringLiteral("\r\n"));
}

bool PictureSources::dropFiles(const QString& droppedText) {
    const std::optional<QString> path = acceptedDrop(droppedText, dialogs_);
    if (!path) {
        return false;
    }
    const bool loaded = loadPictureFile(*path);
    recordSource(*path);
    return loaded;
}

bool PictureSources::dropUrls(const QList<QUrl>& urls) {
    if (urls.isEmpty()) {
        return false;
    }
    return dropFiles(dropText(urls));
}

bool PictureSources::pastePicture(const QImage& clipboardImage) {
    if (clipboardImage.isNull()) {
        dialogs_.inform(Caption, QStringLiteral("剪贴板中没有可粘贴的图片。"), MessageIcon::None);
        return false;
    }
    const DecodedPicture checked = pictureDecoder_.fromImage(clipboardImage);
    const auto show = [this](const QImage& picture) {
        return pictureShower_ ? pictureShower_(picture) : workspace_.showNewPicture(picture, true);
    };
    if (!checked.ok() || !show(checked.image)) {
        const QString reason =
            checked.ok() ? pictureDecoder_.messageFor(DecodeError::OutOfMemory) : checked.message;
        dialogs_.inform(PictureDecoder::messageCaption(), reason, MessageIcon::Warning);
        return false;
    }
    return true;
}

QImage PictureSources::copyFramedRegion() const {
    if (!workspace_.pictureLoaded()) {
        return {};
    }
    if (outputSizeUsable_ && !outputSizeUsable_()) {
        dialogs_.inform(Caption, unusableOutputSizeHint(), MessageIcon::Information);
        return {};
    }
    return workspace_.captureFramedImage();
}

void PictureSources::recordSource(const QString& path) {
    if (batchCropMode_ && batchCropMode_()) {
        record_.fromFile(path);
    }
}

} // namespace portiqa
