#include "core/crop/CropInputs.h"

#include "core/batch/BatchTaskFile.h"
#include "core/text/PictureExtensions.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace portiqa {

CropInputList expandCropInputs(const QStringList& inputs) {
    CropInputList list;
    QSet<QString> seen;
    auto add = [&](const QString& path) {
        const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        if (!seen.contains(clean)) {
            seen.insert(clean);
            list.pictures.append(clean);
        }
    };
    for (const QString& input : inputs) {
        const QFileInfo info(input);
        if (info.isDir()) {
            const QDir folder(info.absoluteFilePath());
            for (const QString& name : BatchTaskFile::scanPictureFolder(folder.path())) {
                add(folder.filePath(name));
            }
        } else if (!info.exists()) {
            list.problems.append(QStringLiteral("找不到文件或文件夹：%1").arg(input));
        } else if (!isPictureExtension(textAfterLastDot(info.fileName()))) {
            list.problems.append(
                QStringLiteral("不是图片文件（jpg、jpeg、png、gif、bmp）：%1").arg(input));
        } else {
            add(input);
        }
    }
    std::sort(list.pictures.begin(), list.pictures.end());
    return list;
}

QStringList readPathList(const QByteArray& text, const QString& baseFolder) {
    QStringList paths;
    const QDir base(baseFolder);
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (!line.isEmpty()) {
            paths.append(QDir::isAbsolutePath(line) ? line : base.filePath(line));
        }
    }
    return paths;
}

QStringList shardSlice(const QStringList& pictures, int k, int n) {
    QStringList slice;
    if (n < 1 || k < 1 || k > n) {
        return slice;
    }
    for (int i = k - 1; i < pictures.size(); i += n) {
        slice.append(pictures.at(i));
    }
    return slice;
}

std::optional<std::pair<int, int>> parseShard(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 2) {
        return std::nullopt;
    }
    bool kOk = false;
    bool nOk = false;
    const int k = parts[0].trimmed().toInt(&kOk);
    const int n = parts[1].trimmed().toInt(&nOk);
    if (!kOk || !nOk || k < 1 || n < 1 || k > n) {
        return std::nullopt;
    }
    return std::make_pair(k, n);
}

bool isInputFolder(const QString& outputFolder, const QStringList& inputs) {
    const QString output = QFileInfo(outputFolder).canonicalFilePath();
    if (output.isEmpty()) {
        return false; // not there yet, so it cannot be an input
    }
    return std::any_of(inputs.begin(), inputs.end(), [&](const QString& input) {
        const QFileInfo info(input);
        return info.isDir() && info.canonicalFilePath() == output;
    });
}

} // namespace portiqa
