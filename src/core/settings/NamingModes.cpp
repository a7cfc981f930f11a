#include "core/settings/NamingModes.h"

namespace portiqa {

namespace {

const QStringList& cropTexts() {
    static const QStringList texts = {
        QStringLiteral("与原图片文件名同名"),
        QStringLiteral("根据截图时刻命名  如：2022-1-10 11-45-23"),
        QStringLiteral("根据截图先后用序号命名  如： 0001   0002 "),
        QStringLiteral("自定义：如XXX 输出名称为XXX0001  XXX0002"),
        QStringLiteral("每次截图后都弹出命名框"),
        QStringLiteral("导入EXCEL，按选中单元格内文字命名"),
    };
    return texts;
}

const QStringList& quickTexts() {
    static const QStringList texts = {
        QStringLiteral("根据拍照时间命名  如：2022-1-10 11-45-23"),
        QStringLiteral("根据拍照先后用序号命名  如： 0001   0002"),
        QStringLiteral("自定义：如XXX 输出名称为XXX0001  XXX0002"),
        QStringLiteral("每次拍照后都弹出命名框"),
        QStringLiteral("导入EXCEL，按选中单元格内文字命名"),
    };
    return texts;
}

// The behaviour of each entry, in list order.
const NamingBehaviour kCropBehaviours[] = {
    NamingBehaviour::SourceName,   NamingBehaviour::CaptureTime,  NamingBehaviour::Sequence,
    NamingBehaviour::CustomPrefix, NamingBehaviour::AskEveryTime, NamingBehaviour::RosterCell,
};
const NamingBehaviour kQuickBehaviours[] = {
    NamingBehaviour::CaptureTime,  NamingBehaviour::Sequence,   NamingBehaviour::CustomPrefix,
    NamingBehaviour::AskEveryTime, NamingBehaviour::RosterCell,
};

NamingBehaviour behaviourAt(BatchKind kind, int index) {
    return kind == BatchKind::Crop ? kCropBehaviours[index] : kQuickBehaviours[index];
}

} // namespace

const QStringList& namingModeTexts(BatchKind kind) {
    return kind == BatchKind::Crop ? cropTexts() : quickTexts();
}

QString namingModeText(BatchKind kind, int index) {
    const QStringList& texts = namingModeTexts(kind);
    return index >= 0 && index < texts.size() ? texts.at(index) : texts.first();
}

int namingModeIndex(BatchKind kind, const QString& text) {
    return static_cast<int>(namingModeTexts(kind).indexOf(text));
}

std::optional<NamingBehaviour> namingBehaviour(BatchKind kind, const QString& text) {
    const int index = namingModeIndex(kind, text);
    if (index < 0) {
        return std::nullopt;
    }
    return behaviourAt(kind, index);
}

QString namingModeFor(BatchKind kind, NamingBehaviour behaviour) {
    const QStringList& texts = namingModeTexts(kind);
    for (int i = 0; i < texts.size(); ++i) {
        if (behaviourAt(kind, i) == behaviour) {
            return texts.at(i);
        }
    }
    return QString();
}

} // namespace portiqa
