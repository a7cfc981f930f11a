#include "core/workspace/PictureSources.h"

#include "core/workspace/PhotoWorkspace.h"

#include <QFileInfo>
#include <QImageReader>

namespace portiqa {

namespace {

const QString Caption = QStringLiteral("提示");

bool isPictureExtension(const QString& extension) {
    static const QStringList accepted = {QStringLiteral("bmp"), QStringLiteral("jpg"),
                                         QStringLiteral("gif"), QStringLiteral("png"),
                                         QStringLiteral("jpeg")};
    return accepted.contains(extension);
}

} // namespace

PictureSources::PictureSources(PhotoWorkspace& workspace, Dialogs& dialogs)
    : workspace_(workspace), dialogs_(dialogs), decoder_(&PictureSources::readPictureFile) {}

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
    const PictureReadResult decoded = decoder_ ? decoder_(path) : readPictureFile(path);
    if (decoded.image.isNull() || !workspace_.showNewPicture(decoded.image, true)) {
        const QString reason =
            decoded.error.isEmpty() ? QStringLiteral("无法读取这个图片文件。") : decoded.error;
        dialogs_.inform(Caption, reason + QStringLiteral("当前图片保持不变。"),
                        MessageIcon::Warning);
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
    const QString extension = droppedText.mid(droppedText.lastIndexOf(QLatin1Char('.')) + 1);
    if (!isPictureExtension(extension.toLower()) || QFileInfo(droppedText).isDir()) {
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
    if (clipboardImage.isNull() || !workspace_.showNewPicture(clipboardImage, true)) {
        dialogs_.inform(Caption, QStringLiteral("剪贴板中没有可粘贴的图片。"), MessageIcon::None);
        return false;
    }
    return true;
}

QImage PictureSources::copyFramedRegion() const {
    if (!workspace_.pictureLoaded()) {
        return {};
    }
    return workspace_.captureFramedImage();
}

PictureReadResult PictureSources::readPictureFile(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && static_cast<qint64>(size.width()) * size.height() > MaxPicturePixels) {
        return {QImage(), QStringLiteral("图片尺寸过大，无法打开。")};
    }
    // Four bytes a pixel for the budget, in megabytes.
    reader.setAllocationLimit(static_cast<int>(MaxPicturePixels * 4 / (1024 * 1024)));
    QImage image = reader.read();
    if (image.isNull()) {
        return {QImage(), QStringLiteral("无法读取这个图片文件，它可能已损坏或不是图片。")};
    }
    return {image, QString()};
}

void PictureSources::setSource(int kind, const QString& path) {
    sourceKind_ = kind;
    sourcePath_ = path;
}

void PictureSources::recordSource(const QString& path) {
    if (batchCropMode_ && batchCropMode_()) {
        setSource(1, path);
    }
}

} // namespace portiqa
