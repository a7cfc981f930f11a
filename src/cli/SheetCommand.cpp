#include "cli/SheetCommand.h"

#include "core/image/PictureDecoder.h"
#include "core/print/PrintSheetOptions.h"
#include "core/print/SheetFiles.h"

#include <QCommandLineParser>
#include <QDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace portiqa::cli {

namespace {

constexpr int kFailed = 1;
constexpr int kBadUsage = 2;

void printError(const QString& text) {
    std::fprintf(stderr, "portiqa sheet: %s\n", text.toLocal8Bit().constData());
}

int badUsage(const QString& text) {
    printError(text);
    std::fputs("用 portiqa sheet --help 查看用法。\n", stderr);
    return kBadUsage;
}

QString names(bool papers) {
    QStringList list;
    if (papers) {
        for (const PaperChoice& paper : paperChoices()) {
            list << paper.name;
        }
    } else {
        for (const PhotoSizeChoice& size : photoSizeChoices()) {
            list << size.name;
        }
        list << outputSizeName();
    }
    return list.join(QStringLiteral(", "));
}

// `text` padded to `columns` terminal columns; Chinese characters take two.
QString padded(const QString& text, int columns) {
    int used = 0;
    for (const QChar c : text) {
        used += c.unicode() >= 0x2E80 ? 2 : 1;
    }
    return text + QString(std::max(1, columns - used), QLatin1Char(' '));
}

// A millimetre option: a number from 0 to `high`.
bool readMillimetres(const QString& text, double high, double* value) {
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok || !std::isfinite(number) || number < 0 || number > high) {
        return false;
    }
    *value = number;
    return true;
}

} // namespace

QString sheetUsageText() {
    QString papers;
    for (const PaperChoice& paper : paperChoices()) {
        papers += QStringLiteral("  %1%2 x %3 mm\n")
                      .arg(padded(paper.name, 10))
                      .arg(paper.portraitMm.height())
                      .arg(paper.portraitMm.width());
    }
    QString sizes;
    for (const PhotoSizeChoice& size : photoSizeChoices()) {
        sizes += QStringLiteral("  %1%2 x %3 mm\n")
                     .arg(padded(size.name, 10))
                     .arg(size.sizeMm.width())
                     .arg(size.sizeMm.height());
    }
    sizes += QStringLiteral("  %1图片本身的像素，按 %2 dpi\n")
                 .arg(padded(outputSizeName(), 10))
                 .arg(kDefaultOutputDpi);
    const PrintSheetOptions defaults;
    return QStringLiteral(
               "用法: portiqa sheet 图片 --paper 相纸 --size 尺寸 [选项] --out 文件\n"
               "把照片按实际打印尺寸排在相纸上，带细裁切线，存为页面恰为相纸大小的 PDF，\n"
               "或 %1 dpi 的相纸 JPEG。不需要显示器。\n"
               "\n"
               "参数:\n"
               "  图片                JPEG、PNG、GIF 或 BMP 照片，整张打印\n"
               "\n"
               "选项:\n"
               "  --paper 相纸        相纸（见下）\n"
               "  --size 尺寸         每张的打印尺寸（见下）\n"
               "  --out 文件          排好的相纸: 文件.pdf 或 文件.jpg\n"
               "  --copies N          张数；默认放满\n"
               "  --orientation 方向  横向（默认）或 纵向\n"
               "  --margin MM         四边边距，毫米（默认 %2）\n"
               "  --gap MM            照片间距，毫米（默认 %3）\n"
               "  --no-cut-lines      不画裁切线\n"
               "  -h, --help          显示本帮助\n"
               "\n"
               "相纸（长边 x 短边）:\n%4"
               "\n"
               "尺寸（宽 x 高）:\n%5"
               "\n"
               "退出状态: 0 已保存；1 无法排版或写入；2 用法错误。\n")
        .arg(SheetFiles::kDotsPerInch)
        .arg(defaults.marginMm)
        .arg(defaults.gapMm)
        .arg(papers, sizes);
}

namespace {

// What the command line asks for, once it has been read and checked.
struct SheetJob {
    QString picture;
    QString out;
    PrintSheetOptions options;
};

struct SheetParser {
    QCommandLineParser parser;
    const QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, {}};
    const QCommandLineOption paper{QStringLiteral("paper"), {}, QStringLiteral("PAPER")};
    const QCommandLineOption size{QStringLiteral("size"), {}, QStringLiteral("SIZE")};
    const QCommandLineOption out{QStringLiteral("out"), {}, QStringLiteral("FILE")};
    const QCommandLineOption copies{QStringLiteral("copies"), {}, QStringLiteral("N")};
    const QCommandLineOption orientation{QStringLiteral("orientation"), {}, QStringLiteral("O")};
    const QCommandLineOption margin{QStringLiteral("margin"), {}, QStringLiteral("MM")};
    const QCommandLineOption gap{QStringLiteral("gap"), {}, QStringLiteral("MM")};
    const QCommandLineOption noCutLines{QStringLiteral("no-cut-lines"), {}};

    SheetParser() {
        parser.addOptions({help, paper, size, out, copies, orientation, margin, gap, noCutLines});
        parser.addPositionalArgument(QStringLiteral("picture"), {});
    }

    // The job the parsed arguments ask for; an empty result with `error` set on bad usage.
    std::optional<SheetJob> job(QString* error) const {
        auto fail = [error](const QString& text) {
            *error = text;
            return std::optional<SheetJob>();
        };
        const QStringList pictures = parser.positionalArguments();
        if (pictures.size() != 1) {
            return fail(pictures.isEmpty() ? QStringLiteral("没有给出图片。")
                                           : QStringLiteral("一次只能排一张图片。"));
        }
        for (const QCommandLineOption* required : {&paper, &size, &out}) {
            if (!parser.isSet(*required)) {
                return fail(QStringLiteral("缺少 --%1。").arg(required->names().constFirst()));
            }
        }
        SheetJob job{pictures.constFirst(), parser.value(out), {}};
        PrintSheetOptions& options = job.options;
        const std::optional<PaperChoice> chosenPaper = paperByName(parser.value(paper));
        if (!chosenPaper) {
            return fail(QStringLiteral("无法识别的相纸“%1”（可选：%2）。")
                            .arg(parser.value(paper), names(true)));
        }
        options.paper = chosenPaper->name;
        options.photoSize = parser.value(size).trimmed();
        if (options.photoSize != outputSizeName() && !photoSizeByName(options.photoSize)) {
            return fail(QStringLiteral("无法识别的尺寸“%1”（可选：%2）。")
                            .arg(parser.value(size), names(false)));
        }
        if (parser.isSet(copies)) {
            bool ok = false;
            options.copies = parser.value(copies).toInt(&ok);
            if (!ok || options.copies < 1 || options.copies > PrintSheetOptions::kMaxCopies) {
                return fail(QStringLiteral("--copies 须为 1 到 %1 之间的整数。")
                                .arg(PrintSheetOptions::kMaxCopies));
            }
        }
        if (parser.isSet(orientation)) {
            const QString value = parser.value(orientation);
            if (value != QStringLiteral("横向") && value != QStringLiteral("纵向")) {
                return fail(QStringLiteral("--orientation 须为 横向 或 纵向。"));
            }
            options.landscape = value == QStringLiteral("横向");
        }
        if (parser.isSet(margin) &&
            !readMillimetres(parser.value(margin), PrintSheetOptions::kMaxMarginMm,
                             &options.marginMm)) {
            return fail(QStringLiteral("--margin 须为 0 到 %1 毫米。")
                            .arg(PrintSheetOptions::kMaxMarginMm));
        }
        if (parser.isSet(gap) &&
            !readMillimetres(parser.value(gap), PrintSheetOptions::kMaxGapMm, &options.gapMm)) {
            return fail(
                QStringLiteral("--gap 须为 0 到 %1 毫米。").arg(PrintSheetOptions::kMaxGapMm));
        }
        options.cutLines = !parser.isSet(noCutLines);
        if (SheetFiles::formatOf(job.out) == SheetFormat::Unknown) {
            return fail(QStringLiteral("--out 须为 .pdf 或 .jpg 文件。"));
        }
        return job;
    }
};

// Reads the picture, lays the sheet out and writes it; the exit status.
int makeSheet(const SheetJob& job) {
    const DecodedPicture picture = PictureDecoder().decodeFile(job.picture);
    if (!picture.ok()) {
        printError(
            QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(job.picture), picture.message));
        return kFailed;
    }
    const PaperChoice paper = *paperByName(job.options.paper);
    const PhotoSizeChoice photo =
        *photoSizeFor(job.options.photoSize, picture.image.size(), kDefaultOutputDpi);
    const SheetLayout layout = layoutSheet(sheetRequest(job.options, photo));
    if (layout.copies.isEmpty()) {
        printError(QStringLiteral("%1的照片放不进留 %3 毫米边距的%2相纸。")
                       .arg(photo.label, paper.label)
                       .arg(job.options.marginMm));
        return kFailed;
    }
    if (job.options.copies > layout.fits()) {
        printError(QStringLiteral("只放得下 %1 张，已排 %1 张。").arg(layout.fits()));
    }
    QString error;
    if (!SheetFiles::save(SheetRenderer(layout, picture.image), job.out, &error)) {
        printError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(job.out), error));
        return kFailed;
    }
    std::printf("%s\n", QStringLiteral("%1 张%2排在%3上（可放 %4 张）：%5")
                            .arg(layout.copies.size())
                            .arg(photo.label, paper.label)
                            .arg(layout.fits())
                            .arg(QDir::toNativeSeparators(job.out))
                            .toLocal8Bit()
                            .constData());
    return 0;
}

} // namespace

int runSheetCommand(const QStringList& arguments) {
    SheetParser sheet;
    if (!sheet.parser.parse(arguments)) {
        return badUsage(sheet.parser.errorText());
    }
    if (sheet.parser.isSet(sheet.help)) {
        std::fputs(sheetUsageText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    QString error;
    const std::optional<SheetJob> job = sheet.job(&error);
    if (!job) {
        return badUsage(error);
    }
    return makeSheet(*job);
}

} // namespace portiqa::cli
