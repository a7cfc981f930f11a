#include "core/output/OutputOptionsSetting.h"

#include "core/settings/SettingsFile.h"
#include "core/text/Numbers.h"
#include "core/workspace/OutputSpec.h"

#include <QDir>

namespace portiqa {

namespace {
const QString kTrue = QStringLiteral("真");
const QString kDpi = QStringLiteral("分辨率");
const QString kMin = QStringLiteral("最小体积");
const QString kBest = QStringLiteral("最佳画质");
const QString kBackground = QStringLiteral("背景颜色");
} // namespace

OutputOptionsSetting::OutputOptionsSetting(const QString& settingsFolder, Dialogs& dialogs)
    : file_(QDir(settingsFolder).filePath(SettingsFile::fileName())),
      notice_(dialogs, QStringLiteral("本次运行继续使用当前的设置，但这些设置不会留到下次运行。")) {
}

StoredOutputOptions OutputOptionsSetting::stored() const {
    StoredOutputOptions options;
    if (!file_.sectionNames().contains(section())) {
        return options;
    }
    const int dpi = numbers::truncateToInt32(numbers::leadingNumber(file_.read(section(), kDpi)));
    options.dotsPerInch = dpi >= kMinDpi && dpi <= kMaxDpi ? dpi : 0;
    const double minKb = numbers::leadingNumber(file_.read(section(), kMin));
    options.minKb = minKb > 0 ? minKb : 0;
    options.bestPicture = file_.read(section(), kBest) == kTrue;
    const QString background = file_.read(section(), kBackground);
    const std::optional<BackgroundColour> colour = BackgroundColour::fromStored(background);
    options.background = colour.value_or(BackgroundColour());
    if (!colour) {
        options.unreadBackground = background;
    }
    return options;
}

OutputOptions OutputOptionsSetting::optionsFor(QSize outputSize) const {
    const StoredOutputOptions s = stored();
    OutputOptions options;
    options.dotsPerInch = s.dotsPerInch > 0 ? s.dotsPerInch : standardResolution(outputSize);
    options.minKb = s.minKb;
    options.bestPicture = s.bestPicture;
    return options;
}

bool OutputOptionsSetting::store(const StoredOutputOptions& options) {
    const bool ok = file_.writeGroup(
        {{section(), kDpi,
          options.dotsPerInch > 0 ? QString::number(options.dotsPerInch) : QString()},
         {section(), kMin, options.minKb > 0 ? numbers::numberText(options.minKb) : QString()},
         {section(), kBest, options.bestPicture ? kTrue : QString()},
         {section(), kBackground, options.background.stored()}});
    notice_.report(ok, file_);
    return ok;
}

bool OutputOptionsSetting::storeBackground(const BackgroundColour& colour) {
    StoredOutputOptions options = stored();
    options.background = colour;
    return store(options);
}

QString OutputOptionsSetting::backgroundNotice(const StoredOutputOptions& options) {
    if (options.unreadBackground.isEmpty()) {
        return QString();
    }
    // A long run of garbage would push the rest of the text out of the status bar.
    constexpr int kShown = 12;
    const QString text = options.unreadBackground.size() > kShown
                             ? options.unreadBackground.left(kShown) + QStringLiteral("…")
                             : options.unreadBackground;
    return QStringLiteral("设置中的背景颜色“%1”无法识别，未更换背景颜色").arg(text);
}

QString OutputOptionsSetting::refusal(const QString& dpiText, const QString& minKbText,
                                      double maxKb, int* field) {
    const QString dpi = dpiText.trimmed();
    if (!dpi.isEmpty()) {
        bool ok = false;
        const int value = dpi.toInt(&ok);
        if (!ok || value < kMinDpi || value > kMaxDpi) {
            *field = 0;
            return QStringLiteral("分辨率须为%1到%2之间的整数，或留空按尺寸自动选择。")
                .arg(kMinDpi)
                .arg(kMaxDpi);
        }
    }
    const QString min = minKbText.trimmed();
    if (!min.isEmpty()) {
        bool ok = false;
        const double value = min.toDouble(&ok);
        if (!ok || value < 0) {
            *field = 1;
            return QStringLiteral("最小体积须为数字，留空或0表示不限。");
        }
        if (value > 0 && !numbers::greater(maxKb, value)) {
            *field = 1;
            return QStringLiteral("最小体积须小于JPG体积上限（%1KB）。")
                .arg(numbers::numberText(maxKb));
        }
    }
    return QString();
}

} // namespace portiqa
