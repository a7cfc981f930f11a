#include "core/camera/QuickShot.h"

#include "core/dialogs/Dialogs.h"
#include "core/files/WholeFile.h"
#include "core/output/BmpWriter.h"
#include "core/output/OutputEncoder.h"
#include "core/output/SaveCommand.h"
#include "core/workspace/OutputSpec.h"

#include <QFileInfo>

namespace portiqa {

namespace {

const QString kCaption = QStringLiteral("提示：");

// Restores the cursor however the shot ends.
class WaitCursor {
public:
    explicit WaitCursor(const std::function<void(bool)>& set) : set_(set) { set_(true); }
    ~WaitCursor() { set_(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    const std::function<void(bool)>& set_;
};

} // namespace

QuickShot::QuickShot(Dialogs& dialogs, OutputEncoder& encoder, RosterSheet& roster,
                     QuickShotContext context)
    : dialogs_(dialogs), encoder_(encoder), roster_(roster), context_(std::move(context)) {}

QString QuickShot::folderNotSetMessage() {
    return QStringLiteral("批量速拍图片保存目录尚未设置，请先设置。");
}

QString QuickShot::folderMissingMessage() {
    return QStringLiteral("批量速拍图片保存目录不存在，请重新设置。");
}

QString QuickShot::destination(const QuickShootSettings& settings, NamingBehaviour behaviour) {
    NamingRequest request;
    request.behaviour = behaviour;
    request.folder = settings.saveFolder;
    request.extension = formats::extension(settings.format);
    request.customPrefix = settings.customPrefix;
    request.temporaryFile = temporaryPictureFile(context_.settingsFolder, request.extension);
    request.now = context_.clock();
    if (behaviour == NamingBehaviour::RosterCell) {
        switch (roster_.checkRosterNaming(RosterMode::QuickShoot)) {
        case RosterNamingCheck::Proceed:
            break;
        case RosterNamingCheck::OpenRosterWindow:
            context_.openRosterWindow();
            return {};
        case RosterNamingCheck::OpenModeSettings:
            context_.openSettingsWindow();
            return {};
        case RosterNamingCheck::Refused:
            return {};
        }
        request.rosterText = roster_.selectedCellText();
    }
    const QString path = namedOutputPath(request);
    if (path.isEmpty()) {
        const QString name =
            behaviour == NamingBehaviour::RosterCell ? request.rosterText : request.customPrefix;
        const QString problem = outputNameProblem(name);
        dialogs_.inform(kCaption,
                        problem.isEmpty() ? QStringLiteral("无法为图片生成文件名。") : problem,
                        MessageIcon::Warning);
    }
    return path;
}

QuickShotResult QuickShot::shoot(const QuickShootSettings& settings) {
    QuickShotResult result;
    if (!context_.outputSizeUsable()) {
        dialogs_.inform(QStringLiteral("提示"), unusableOutputSizeHint(), MessageIcon::Information);
        return result;
    }
    if (settings.saveFolder.isEmpty() || !QFileInfo(settings.saveFolder).isDir()) {
        dialogs_.message(kCaption,
                         settings.saveFolder.isEmpty() ? folderNotSetMessage()
                                                       : folderMissingMessage(),
                         MessageIcon::None, MessageButtons::Ok);
        context_.openSettingsWindow();
        return result;
    }
    const NamingBehaviour behaviour = namingBehaviour(BatchKind::QuickShoot, settings.namingMode)
                                          .value_or(NamingBehaviour::CaptureTime);
    result.path = destination(settings, behaviour);
    if (result.path.isEmpty()) {
        return result;
    }

    OutputEncoding encoded;
    double minKb = 0;
    QString writeError;
    bool written = false;
    {
        WaitCursor busy(context_.setWaitCursor);
        if (settings.shutterSound) {
            context_.playShutterSound();
        }
        const QImage frame = context_.captureFrame ? context_.captureFrame() : QImage();
        minKb = context_.outputOptions().minKb;
        encoded = encoder_.encodeForOutput(encodeBmp24(frame), formats::extension(settings.format),
                                           context_.sizeLimitKb(), context_.outputOptions());
        if (encoded.hasFile()) {
            written = writeWholeFile(result.path, encoded.bytes, &writeError);
        }
    }
    if (!encoded.hasFile() || !written) {
        const QString reason = encoded.hasFile() ? writeError : QStringLiteral("图片编码失败。");
        dialogs_.inform(QStringLiteral("提示"),
                        SaveCommand::writeFailedMessage(result.path, reason), MessageIcon::Warning);
        result.outcome = QuickShotOutcome::Failed;
        return result;
    }
    result.outcome = QuickShotOutcome::Saved;
    if (encoded.status == OutputStatus::SizeUnreachable) {
        result.outcome = QuickShotOutcome::SavedOverLimit;
        if (settings.format == formats::kJpg) {
            reportUnreachableSize(dialogs_, encoded.bytes.size());
        }
    }
    if (encoded.belowMinimum) {
        dialogs_.inform(QStringLiteral("提示"), belowMinimumMessage(encoded.bytes.size(), minKb),
                        MessageIcon::None);
    }
    if (behaviour == NamingBehaviour::AskEveryTime) {
        NamePromptTarget target;
        target.folder = settings.saveFolder;
        target.extension = formats::extension(settings.format);
        target.temporaryFile = result.path;
        context_.promptForName(target);
        result.outcome = QuickShotOutcome::Prompted;
    } else if (behaviour == NamingBehaviour::RosterCell) {
        roster_.advanceRosterRow(true, RosterMode::QuickShoot);
    }
    return result;
}

} // namespace portiqa
