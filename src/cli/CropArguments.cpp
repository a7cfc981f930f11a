#include "cli/CropArguments.h"

#include "core/crop/CropInputs.h"
#include "core/text/Numbers.h"
#include "core/workspace/OutputSpec.h"

#include <QCommandLineParser>
#include <QMap>
#include <QRegularExpression>

namespace portiqa {

namespace {

QCommandLineOption valued(const QString& name, const QString& valueName) {
    return QCommandLineOption(name, QString(), valueName);
}

std::optional<double> positiveNumber(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !(value > 0) || value > 1e9) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<QSize> parseOutputSize(const QString& text) {
    const int preset = sizePresetNames().indexOf(text.trimmed());
    if (preset >= 0) {
        return sizePreset(preset);
    }
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,5})\\s*[xX×]\\s*(\\d{1,5})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const int width = match.captured(1).toInt();
    const int height = match.captured(2).toInt();
    if (!OutputSpec::usableSide(width) || !OutputSpec::usableSide(height)) {
        return std::nullopt;
    }
    return QSize(width, height);
}

ParsedCropArguments parseCropArguments(const QStringList& words, int cores) {
    ParsedCropArguments parsed;
    CropArguments& a = parsed.arguments;
    a.jobs = std::max(1, cores);
    auto refuse = [&](const QString& why) {
        parsed.action = ParsedCropArguments::Action::Refused;
        parsed.error = why;
        return parsed;
    };

    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption list = valued(QStringLiteral("list"), QStringLiteral("FILE"));
    const QCommandLineOption out = valued(QStringLiteral("out"), QStringLiteral("DIR"));
    const QCommandLineOption size = valued(QStringLiteral("size"), QStringLiteral("WxH"));
    const QCommandLineOption maxKb = valued(QStringLiteral("max-kb"), QStringLiteral("KB"));
    const QCommandLineOption minKb = valued(QStringLiteral("min-kb"), QStringLiteral("KB"));
    const QCommandLineOption dpi = valued(QStringLiteral("dpi"), QStringLiteral("DPI"));
    const QCommandLineOption best =
        valued(QStringLiteral("best-picture"), QStringLiteral("on|off"));
    const QCommandLineOption background =
        valued(QStringLiteral("background"), QStringLiteral("COLOUR"));
    const QCommandLineOption format = valued(QStringLiteral("format"), QStringLiteral("TYPE"));
    const QCommandLineOption frame = valued(QStringLiteral("frame"), QStringLiteral("MODE"));
    const QCommandLineOption noFace = valued(QStringLiteral("no-face"), QStringLiteral("MODE"));
    const QCommandLineOption name = valued(QStringLiteral("name"), QStringLiteral("MODE"));
    const QCommandLineOption match = valued(QStringLiteral("match"), QStringLiteral("COLUMN"));
    const QCommandLineOption firstRow = valued(QStringLiteral("first-row"), QStringLiteral("N"));
    const QCommandLineOption jobs = valued(QStringLiteral("jobs"), QStringLiteral("N"));
    const QCommandLineOption shard = valued(QStringLiteral("shard"), QStringLiteral("K/N"));
    const QCommandLineOption resume(QStringLiteral("resume"));
    const QCommandLineOption report = valued(QStringLiteral("report"), QStringLiteral("FILE"));
    const QCommandLineOption settingsDir =
        valued(QStringLiteral("settings-dir"), QStringLiteral("DIR"));
    parser.addOptions({help,     list,       out,    size,   maxKb,  minKb,      dpi,
                       best,     background, format, frame,  noFace, name,       match,
                       firstRow, jobs,       shard,  resume, report, settingsDir});
    if (!parser.parse(QStringList{QStringLiteral("portiqa crop")} + words)) {
        return refuse(parser.errorText());
    }
    if (parser.isSet(help)) {
        parsed.action = ParsedCropArguments::Action::ShowHelp;
        return parsed;
    }
    for (const QCommandLineOption& single :
         {list, out, size, maxKb, minKb, dpi, best, background, format, frame, noFace, name, match,
          firstRow, jobs, shard, report, settingsDir}) {
        if (parser.values(single).size() > 1) {
            return refuse(QStringLiteral("选项 --%1 只能给一次").arg(single.names().constFirst()));
        }
    }

    a.inputs = parser.positionalArguments();
    a.listFile = parser.value(list);
    if (a.inputs.isEmpty() && a.listFile.isEmpty()) {
        return refuse(QStringLiteral("没有给出要裁剪的图片（文件、文件夹或 --list 清单）"));
    }
    a.outFolder = parser.value(out);
    if (a.outFolder.isEmpty()) {
        return refuse(QStringLiteral("缺少 --out 输出文件夹"));
    }
    if (parser.isSet(size)) {
        const std::optional<QSize> wanted = parseOutputSize(parser.value(size));
        if (!wanted) {
            return refuse(QStringLiteral("无法识别的尺寸：%1（写作 358x441，或尺寸类型名称如 "
                                         "学籍/身份证、1寸照）")
                              .arg(parser.value(size)));
        }
        a.settings.outputSize = *wanted;
    }
    if (parser.isSet(maxKb)) {
        const std::optional<double> value = positiveNumber(parser.value(maxKb));
        if (!value) {
            return refuse(QStringLiteral("--max-kb 须为正数：%1").arg(parser.value(maxKb)));
        }
        a.settings.maxKb = *value;
    }
    if (parser.isSet(minKb)) {
        const QString text = parser.value(minKb).trimmed();
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (!ok || value < 0) {
            return refuse(QStringLiteral("--min-kb 须为 0 或正数：%1").arg(text));
        }
        a.minKb = value;
        if (value > 0 && !numbers::greater(a.settings.maxKb, value)) {
            return refuse(QStringLiteral("最小体积须小于最大体积（%1 KB）")
                              .arg(numbers::numberText(a.settings.maxKb)));
        }
    }
    if (parser.isSet(dpi)) {
        bool ok = false;
        a.dpi = parser.value(dpi).trimmed().toInt(&ok);
        if (!ok || a.dpi < 72 || a.dpi > 1200) {
            return refuse(
                QStringLiteral("--dpi 须为 72 到 1200 之间的整数：%1").arg(parser.value(dpi)));
        }
    }
    if (parser.isSet(best)) {
        const QString value = parser.value(best);
        if (value != QLatin1String("on") && value != QLatin1String("off")) {
            return refuse(QStringLiteral("--best-picture 须为 on 或 off：%1").arg(value));
        }
        a.bestPicture = value == QLatin1String("on") ? 1 : 0;
    }
    if (parser.isSet(background)) {
        const QString value = parser.value(background);
        const QMap<QString, BackgroundColour> named{
            {QStringLiteral("none"), BackgroundColour()},
            {QStringLiteral("white"), BackgroundColour::white()},
            {QStringLiteral("blue"), BackgroundColour::blue()},
            {QStringLiteral("red"), BackgroundColour::red()}};
        const std::optional<BackgroundColour> colour =
            named.contains(value) ? std::optional(named.value(value))
                                  : BackgroundColour::fromStored(value.toUpper());
        if (!colour || value.isEmpty()) {
            return refuse(QStringLiteral("--background 须为 none、white、blue、red 或 #RRGGBB：%1")
                              .arg(value));
        }
        a.background = colour;
    }
    if (parser.isSet(format)) {
        const QString type = parser.value(format).trimmed().toLower();
        static const QStringList types{QStringLiteral("jpg"), QStringLiteral("png"),
                                       QStringLiteral("bmp"), QStringLiteral("gif")};
        if (!types.contains(type)) {
            return refuse(
                QStringLiteral("--format 须为 jpg、png、bmp 或 gif：%1").arg(parser.value(format)));
        }
        a.settings.extension = QLatin1Char('.') + type;
    }
    if (parser.isSet(frame)) {
        const QString mode = parser.value(frame);
        if (mode == QLatin1String("face")) {
            a.settings.framing = CropFraming::Face;
        } else if (mode == QLatin1String("centre") || mode == QLatin1String("center")) {
            a.settings.framing = CropFraming::Centre;
        } else {
            return refuse(QStringLiteral("--frame 须为 face 或 centre：%1").arg(mode));
        }
    }
    if (parser.isSet(noFace)) {
        const QString mode = parser.value(noFace);
        if (mode == QLatin1String("skip")) {
            a.settings.noFace = NoFacePolicy::Skip;
        } else if (mode == QLatin1String("centre") || mode == QLatin1String("center")) {
            a.settings.noFace = NoFacePolicy::Centre;
        } else {
            return refuse(QStringLiteral("--no-face 须为 skip 或 centre：%1").arg(mode));
        }
    }
    if (parser.isSet(name)) {
        QString why;
        const std::optional<CropNamingRule> rule = parseNamingRule(parser.value(name), &why);
        if (!rule) {
            return refuse(why);
        }
        a.naming = *rule;
    }
    const bool roster = a.naming.kind == CropNamingRule::Kind::Roster;
    if ((parser.isSet(match) || parser.isSet(firstRow)) && !roster) {
        return refuse(QStringLiteral("--match 和 --first-row 只用于 --name roster:…"));
    }
    if (parser.isSet(match)) {
        a.naming.matchColumn = parser.value(match);
        if (columnIndex(a.naming.matchColumn) < 0) {
            return refuse(QStringLiteral("无法识别的列：%1").arg(a.naming.matchColumn));
        }
    }
    if (parser.isSet(firstRow)) {
        bool ok = false;
        a.naming.firstRow = parser.value(firstRow).toInt(&ok);
        if (!ok || a.naming.firstRow < 1 || a.naming.firstRow > 1048576) {
            return refuse(
                QStringLiteral("--first-row 须为从 1 起的行号：%1").arg(parser.value(firstRow)));
        }
    }
    if (parser.isSet(jobs)) {
        bool ok = false;
        a.jobs = parser.value(jobs).toInt(&ok);
        if (!ok || a.jobs < 1 || a.jobs > 256) {
            return refuse(
                QStringLiteral("--jobs 须为 1 到 256 之间的整数：%1").arg(parser.value(jobs)));
        }
    }
    if (parser.isSet(shard)) {
        a.shard = parseShard(parser.value(shard));
        if (!a.shard) {
            return refuse(
                QStringLiteral("--shard 须写作 K/N（1 ≤ K ≤ N）：%1").arg(parser.value(shard)));
        }
    }
    a.resume = parser.isSet(resume);
    a.reportFile = parser.value(report);
    a.settingsDir = parser.value(settingsDir);
    parsed.action = ParsedCropArguments::Action::Run;
    return parsed;
}

QString cropHelpText() {
    QString sizes;
    const QStringList names = sizePresetNames();
    for (int i = 0; i < names.size(); ++i) {
        if (const std::optional<QSize> preset = sizePreset(i)) {
            sizes += QStringLiteral("                        %1 = %2x%3\n")
                         .arg(names[i])
                         .arg(preset->width())
                         .arg(preset->height());
        }
    }
    return QStringLiteral(
               "用法: portiqa crop [选项] 图片或文件夹... --out 输出文件夹\n"
               "不开窗口批量裁剪证件照：与窗口中的截图相同的解码、框选、截取和编码，\n"
               "不需要显示器（DISPLAY 可不设）。\n"
               "\n"
               "输入:\n"
               "  图片或文件夹          文件夹中的 jpg、jpeg、png、gif、bmp 图片（不含子文件夹）\n"
               "  --list FILE           从文件读取图片路径，每行一个；- 表示标准输入\n"
               "\n"
               "输出:\n"
               "  --out DIR             输出文件夹（必需；不能是输入文件夹）\n"
               "  --size WxH            输出尺寸，如 358x441，或尺寸类型名称（默认 358x441）:\n") +
           sizes +
           QStringLiteral(
               "  --max-kb KB           JPEG 文件的最大体积（默认 500）\n"
               "  --min-kb KB           JPEG 文件的最小体积（默认: 输出选项中的设置，未设置时无）\n"
               "  --dpi DPI             图片中记录的分辨率，72 到 1200（默认: 输出选项中的\n"
               "                        设置，未设置时按尺寸: 358x441 为 350，其余 300）\n"
               "  --best-picture on|off 在体积上限内选更接近原图的色度采样（默认: 输出选项中\n"
               "                        的设置，未设置时 on）\n"
               "  --background COLOUR   把背景换成 white、blue、red 或 #RRGGBB，none 为不更换\n"
               "                        （默认: 输出选项中的设置，未设置时不更换）；背景\n"
               "                        无法可靠分开的图片照原样写出，并列入报告\n"
               "  --format TYPE         jpg、png、bmp 或 gif（默认 jpg）\n"
               "\n"
               "框选:\n"
               "  --frame face|centre   face: 按证件照标准自动框选人脸（默认）；\n"
               "                        centre: 与窗口中刚打开图片时相同的居中缩放\n"
               "  --no-face skip|centre 找不到人脸的图片: 跳过并列入报告（默认），或居中截取\n"
               "\n"
               "命名:\n"
               "  --name MODE           same: 与原图同名（默认）；seq: 0001、0002…；\n"
               "                        prefix:TEXT: 前缀加序号；\n"
               "                        roster:BOOK.xlsx:SHEET:COLUMN: 花名册某列的单元格，\n"
               "                        按顺序一行对应一张图片\n"
               "  --match COLUMN        花名册命名时，按图片的文件名（不含扩展名）在该列中查找\n"
               "                        对应的行，例如文件名为学号时\n"
               "  --first-row N         花名册从第 N 行起（默认 2，第 1 行为表头）\n"
               "\n"
               "运行:\n"
               "  --jobs N              同时处理的图片数（默认: 处理器核数）\n"
               "  --shard K/N           只处理清单的第 K 份（共 N 份），供多台机器分担\n"
               "  --resume              从输出文件夹中的进度记录继续上次中断的运行\n"
               "  --report FILE.jsonl   每张图片一行 JSON: 输入、输出、状态、字节数、质量、\n"
               "                        是否找到人脸、用时\n"
               "  --settings-dir DIR    设置文件夹，与窗口程序相同\n"
               "  -h, --help            显示本帮助\n"
               "\n"
               "退出状态: 0 全部写出；1 有图片失败或被跳过（逐一列出）；2 用法错误。\n");
}

} // namespace portiqa
