#include "core/naming/PromptedNameSaver.h"

#include "core/dialogs/Dialogs.h"
#include "core/files/SystemErrorText.h"
#include "core/naming/OutputNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace portiqa {

QString temporaryPictureFile(const QString& settingsFolder, const QString& extension) {
    return QDir(settingsFolder).filePath(QStringLiteral("临时C") + extension);
}

NamePromptTarget namePromptTarget(bool batchCropMode, const BatchCropSettings& crop,
                                  const QuickShootSettings& quick, const QString& settingsFolder) {
    NamePromptTarget target;
    target.folder = batchCropMode ? crop.saveFolder : quick.saveFolder;
    target.extension = formats::extension(batchCropMode ? crop.format : quick.format);
    target.temporaryFile = temporaryPictureFile(settingsFolder, target.extension);
    return target;
}

QString namePromptTitle(bool batchCropMode, bool quickShootMode) {
    if (batchCropMode) {
        return QStringLiteral("请为刚才截图命名（不需填写扩展名）");
    }
    if (quickShootMode) {
        return QStringLiteral("请为刚才拍照命名（不需填写扩展名）");
    }
    return QString();
}

PromptedNameSaver::PromptedNameSaver(NamePromptTarget target, Dialogs& dialogs)
    : target_(std::move(target)), dialogs_(dialogs) {}

QString PromptedNameSaver::nameFromTyped(const QString& typed) {
    QString name = typed.trimmed();
    for (const char* extension : {".bmp", ".jpg", ".gif", ".png"}) {
        name.remove(QLatin1String(extension), Qt::CaseInsensitive);
    }
    return name.trimmed();
}

void PromptedNameSaver::refuse(const QString& text, bool warning) {
    dialogs_.inform(QStringLiteral("提示"), text,
                    warning ? MessageIcon::Warning : MessageIcon::Information);
}

bool PromptedNameSaver::confirm(const QString& typed) {
    const QString name = nameFromTyped(typed);
    if (name.isEmpty()) {
        refuse(QStringLiteral("新照片命名不能为空。"), false);
        return false;
    }
    const QString problem = outputNameProblem(name);
    if (!problem.isEmpty()) {
        refuse(problem, true);
        return false;
    }
    if (!QFileInfo(target_.temporaryFile).isFile()) {
        refuse(QStringLiteral("找不到刚才的照片“%1”，无法保存。")
                   .arg(QDir::toNativeSeparators(target_.temporaryFile)),
               true);
        return false;
    }
    const QString path = rosterFileName(target_.folder, name, target_.extension);
    QFile source(target_.temporaryFile);
    if (!source.copy(path)) {
        refuse(QStringLiteral(
                   "无法把照片保存为“%1”（%2）。\n照片仍在临时文件中，请检查保存目录后重试。")
                   .arg(QDir::toNativeSeparators(path), fileErrorText(source)),
               true);
        return false;
    }
    QFile::remove(target_.temporaryFile);
    savedPath_ = path;
    return true;
}

} // namespace portiqa
