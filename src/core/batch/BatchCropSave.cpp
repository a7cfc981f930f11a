#include "core/batch/BatchCropSave.h"

#include "core/batch/BatchTaskFile.h"
#include "core/dialogs/Dialogs.h"
#include "core/files/WholeFile.h"
#include "core/output/BmpWriter.h"
#include "core/output/OutputEncoder.h"
#include "core/roster/RosterSheet.h"
#include "core/workspace/OutputSpec.h"

#include <QFileInfo>

namespace portiqa {

namespace {

const QString kCaption = QStringLiteral("提示");

} // namespace

BatchCropSave::BatchCropSave(Dialogs& dialogs, OutputEncoder& encoder,
                             const BatchCropSettings& settings, BatchTaskFile& task,
                             RosterSheet& roster, BatchSaveHooks hooks)
    : dialogs_(dialogs), encoder_(encoder), settings_(settings), task_(task), roster_(roster),
      hooks_(std::move(hooks)) {}

QString BatchCropSave::noSourceNameMessage() {
    return QStringLiteral("当前图片没有可用作文件名的原文件名，未保存。请换用其他命名方式。");
}

QString BatchCropSave::destination(NamingBehaviour behaviour) {
    NamingRequest request;
    request.behaviour = behaviour;
    request.folder = settings_.saveFolder;
    request.extension = formats::extension(settings_.format);
    switch (behaviour) {
    case NamingBehaviour::SourceName:
        request.sourceName = sourceFileName(task_.source(), task_.taskPictureName());
        break;
    case NamingBehaviour::CaptureTime:
        request.now = hooks_.clock();
        break;
    case NamingBehaviour::CustomPrefix:
        request.customPrefix = settings_.customPrefix;
        break;
    case NamingBehaviour::AskEveryTime:
        request.temporaryFile = temporaryPictureFile(hooks_.settingsFolder, request.extension);
        break;
    case NamingBehaviour::RosterCell:
        switch (roster_.checkRosterNaming(RosterMode::BatchCrop)) {
        case RosterNamingCheck::Proceed:
            break;
        case RosterNamingCheck::OpenRosterWindow:
            hooks_.openRosterWindow();
            return QString();
        case RosterNamingCheck::OpenModeSettings:
            hooks_.openSettingsWindow();
            return QString();
        case RosterNamingCheck::Refused:
            return QString();
        }
        request.rosterText = roster_.selectedCellText();
        break;
    case NamingBehaviour::Sequence:
        break;
    }
    const QString path = namedOutputPath(request);
    if (!path.isEmpty()) {
        return path;
    }
    if (behaviour == NamingBehaviour::SourceName) {
        dialogs_.inform(kCaption, noSourceNameMessage(), MessageIcon::Warning);
    } else if (behaviour == NamingBehaviour::CustomPrefix) {
        dialogs_.inform(kCaption, outputNameProblem(request.customPrefix), MessageIcon::Warning);
    } else if (behaviour == NamingBehaviour::RosterCell) {
        dialogs_.inform(kCaption, outputNameProblem(request.rosterText), MessageIcon::Warning);
    }
    return QString();
}

QString BatchCropSave::nothingShownMessage(const QString& fileName) {
    return QStringLiteral("图片“%1”未能打开，没有可截取的图片，本张未截图。").arg(fileName);
}

SaveOutcome BatchCropSave::save() {
    const NamingBehaviour behaviour = namingBehaviour(BatchKind::Crop, settings_.namingMode)
                                          .value_or(NamingBehaviour::SourceName);
    if (!hooks_.outputSizeUsable()) {
        dialogs_.inform(kCaption, unusableOutputSizeHint(), MessageIcon::Information);
        return SaveOutcome::Refused;
    }
    if (!hooks_.pictureShown()) {
        // Without a picture there is nothing to crop: a blank file under a person's name
        // would pass for their photo.
        const QString name = sourceFileName(task_.source(), task_.taskPictureName());
        dialogs_.inform(
            kCaption, name.isEmpty() ? SaveCommand::noPictureMessage() : nothingShownMessage(name),
            MessageIcon::Information);
        return SaveOutcome::Refused;
    }
    const QString path = destination(behaviour);
    if (path.isEmpty()) {
        return SaveOutcome::Refused;
    }
    hooks_.setWaitCursor(true);
    if (settings_.cropSound) {
        hooks_.playCropSound();
    }
    const QByteArray capture = encodeBmp24(hooks_.captureFramedImage());
    const OutputOptions options = hooks_.outputOptions();
    const OutputEncoding encoded = encoder_.encodeForOutput(
        capture, formats::extension(settings_.format), hooks_.sizeLimitKb(), options);
    QString error = QStringLiteral("图片编码失败。");
    if (!encoded.hasFile() || !writeWholeFile(path, encoded.bytes, &error)) {
        hooks_.setWaitCursor(false);
        dialogs_.inform(kCaption, SaveCommand::writeFailedMessage(path, error),
                        MessageIcon::Warning);
        return SaveOutcome::WriteFailed;
    }
    if (task_.taskCount() >= 1) {
        task_.markCurrentDone();
    }
    hooks_.setWaitCursor(false);
    const bool overLimit = encoded.status == OutputStatus::SizeUnreachable;
    if (overLimit && settings_.format == formats::kJpg) {
        reportUnreachableSize(dialogs_, encoded.bytes.size());
    }
    if (encoded.belowMinimum) {
        const QString told = belowMinimumMessage(encoded.bytes.size(), options.minKb);
        hooks_.statusHint(QFileInfo(path).fileName() + QStringLiteral("：") + told);
        if (!belowMinimumTold_) {
            belowMinimumTold_ = true; // once a run; the rest go to the status hint only
            dialogs_.inform(kCaption, told, MessageIcon::None);
        }
    }
    if (behaviour == NamingBehaviour::AskEveryTime) {
        hooks_.askName(
            NamePromptTarget{settings_.saveFolder, formats::extension(settings_.format), path});
    } else if (behaviour == NamingBehaviour::RosterCell) {
        roster_.advanceRosterRow(true, RosterMode::BatchCrop);
    }
    return overLimit ? SaveOutcome::SavedOverLimit : SaveOutcome::Saved;
}

} // namespace portiqa
