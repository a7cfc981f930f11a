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
    std::fputs("Try 'portiqa sheet --help' for more information.\n", stderr);
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
    sizes += QStringLiteral("  %1the picture's own pixels at %2 dpi\n")
                 .arg(padded(outputSizeName(), 10))
                 .arg(kDefaultOutputDpi);
    const PrintSheetOptions defaults;
    return QStringLiteral(
               "Usage: portiqa sheet PICTURE --paper PAPER --size SIZE [OPTIONS] --out FILE\n"
               "Lay out copies of a photo on photo paper at their true printed size, with thin\n"
               "cut lines, and save the sheet as a PDF whose page is exactly the paper or as a\n"
               "JPEG of the paper at %1 dpi. Needs no display.\n"
               "\n"
               "Arguments:\n"
               "  PICTURE             a JPEG, PNG, GIF or BMP photo, printed whole\n"
               "\n"
               "Options:\n"
               "  --paper PAPER       the paper (below)\n"
               "  --size SIZE         each copy's printed size (below)\n"
               "  --out FILE          the sheet: FILE.pdf or FILE.jpg\n"
               "  --copies N          how many copies; by default as many as fit\n"
               "  --orientation O     横向 (landscape, the default) or 纵向 (portrait)\n"
               "  --margin MM         margin on every side in millimetres (default %2)\n"
               "  --gap MM            gap between copies in millimetres (default %3)\n"
               "  --no-cut-lines      leave out the cut lines\n"
               "  -h, --help          show this help and exit\n"
               "\n"
               "Papers (long side x short side):\n%4"
               "\n"
               "Sizes (width x height):\n%5"
               "\n"
               "Exit status: 0 when the sheet was saved, 1 when it could not be made or\n"
               "written, 2 for bad usage.\n")
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
            return fail(pictures.isEmpty()
                            ? QStringLiteral("No picture given.")
                            : QStringLiteral("Only one picture can be laid out at a time."));
        }
        for (const QCommandLineOption* required : {&paper, &size, &out}) {
            if (!parser.isSet(*required)) {
                return fail(
                    QStringLiteral("--%1 is required.").arg(required->names().constFirst()));
            }
        }
        SheetJob job{pictures.constFirst(), parser.value(out), {}};
        PrintSheetOptions& options = job.options;
        const std::optional<PaperChoice> chosenPaper = paperByName(parser.value(paper));
        if (!chosenPaper) {
            return fail(QStringLiteral("Unknown paper '%1' (papers: %2).")
                            .arg(parser.value(paper), names(true)));
        }
        options.paper = chosenPaper->name;
        options.photoSize = parser.value(size).trimmed();
        if (options.photoSize != outputSizeName() && !photoSizeByName(options.photoSize)) {
            return fail(QStringLiteral("Unknown size '%1' (sizes: %2).")
                            .arg(parser.value(size), names(false)));
        }
        if (parser.isSet(copies)) {
            bool ok = false;
            options.copies = parser.value(copies).toInt(&ok);
            if (!ok || options.copies < 1 || options.copies > PrintSheetOptions::kMaxCopies) {
                return fail(QStringLiteral("--copies takes a whole number from 1 to %1.")
                                .arg(PrintSheetOptions::kMaxCopies));
            }
        }
        if (parser.isSet(orientation)) {
            const QString value = parser.value(orientation);
            if (value != QStringLiteral("横向") && value != QStringLiteral("纵向")) {
                return fail(QStringLiteral("--orientation takes 横向 or 纵向."));
            }
            options.landscape = value == QStringLiteral("横向");
        }
        if (parser.isSet(margin) &&
            !readMillimetres(parser.value(margin), PrintSheetOptions::kMaxMarginMm,
                             &options.marginMm)) {
            return fail(QStringLiteral("--margin takes millimetres from 0 to %1.")
                            .arg(PrintSheetOptions::kMaxMarginMm));
        }
        if (parser.isSet(gap) &&
            !readMillimetres(parser.value(gap), PrintSheetOptions::kMaxGapMm, &options.gapMm)) {
            return fail(QStringLiteral("--gap takes millimetres from 0 to %1.")
                            .arg(PrintSheetOptions::kMaxGapMm));
        }
        options.cutLines = !parser.isSet(noCutLines);
        if (SheetFiles::formatOf(job.out) == SheetFormat::Unknown) {
            return fail(QStringLiteral("--out must name a .pdf or .jpg file."));
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
        printError(QStringLiteral("A %1 photo does not fit on %2 paper with a %3 mm margin.")
                       .arg(photo.label, paper.label)
                       .arg(job.options.marginMm));
        return kFailed;
    }
    if (job.options.copies > layout.fits()) {
        printError(QStringLiteral("Only %1 copies fit; %1 laid out.").arg(layout.fits()));
    }
    QString error;
    if (!SheetFiles::save(SheetRenderer(layout, picture.image), job.out, &error)) {
        printError(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(job.out), error));
        return kFailed;
    }
    std::printf("%s\n", QStringLiteral("%1 copies of %2 on %3 (%4 fit): %5")
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
