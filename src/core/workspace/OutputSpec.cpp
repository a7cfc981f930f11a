#include "core/workspace/OutputSpec.h"

#include "core/text/Numbers.h"

namespace portiqa {

QString unusableOutputSizeHint() {
    return QStringLiteral("输出图片的宽度和高度须为1到%1之间的整数，修改前不能截图。")
        .arg(OutputSpec::kMaxSide);
}

const QStringList& sizePresetNames() {
    static const QStringList names{QStringLiteral("默认"),      QStringLiteral("自定义"),
                                   QStringLiteral("学籍/身份证"), QStringLiteral("小1寸"),
                                   QStringLiteral("1寸照"),     QStringLiteral("小2寸普通"),
                                   QStringLiteral("小2寸护照"),  QStringLiteral("2寸照")};
    return names;
}

std::optional<QSize> sizePreset(int index) {
    switch (index) {
    case 0:
        return QSize(160, 210); // 默认
    case 2:
        return QSize(358, 441); // 学籍/身份证
    case 3:
        return QSize(260, 390); // 小1寸
    case 4:
        return QSize(295, 413); // 1寸照
    case 5:
        return QSize(413, 531); // 小2寸普通
    case 6:
        return QSize(390, 567); // 小2寸护照
    case 7:
        return QSize(413, 626); // 2寸照
    default:
        return std::nullopt; // 自定义 and anything else change nothing
    }
}

int standardResolution(QSize outputSize) {
    return outputSize == QSize(358, 441) ? 350 : 300;
}

std::int32_t outputSideFromText(const QString& text) {
    return numbers::truncateToInt32(numbers::leadingNumber(text));
}

double sizeLimitFromText(const QString& text) {
    QString compact = text;
    compact.remove(QLatin1Char(' '));
    compact.remove(QChar(0x3000));
    return numbers::leadingNumber(compact);
}

} // namespace portiqa
