#include "cli/CropCommand.h"

#include "cli/ConsoleDialogs.h"
#include "cli/CropProgress.h"
#include "cli/CropReport.h"
#include "core/app/SettingsLocation.h"
#include "core/crop/CropInputs.h"
#include "core/crop/CropJournal.h"
#include "core/crop/CropRun.h"
#include "core/face/AutoFramer.h"
#include "core/files/SystemErrorText.h"
#include "core/output/OutputOptionsSetting.h"
#include "core/text/Numbers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

namespace portiqa {

namespace {

void say(std::FILE* stream, const QString& text) {
    std::fprintf(stream, "%s\n", text.toUtf8().constData());
    std::fflush(stream);
}

int refuse(const CropStreams& streams, const QString& text) {
    say(streams.err, QStringLiteral("portiqa crop: %1").arg(text));
    say(streams.err, QStringLiteral("用 portiqa crop --help 查看用法。"));
    return 2;
}

bool readList(const CropArguments& a, const CropStreams& streams, QStringList& paths,
              QString* error) {
    QFile file;
    const bool fromStdin = a.listFile == QLatin1String("-");
    const bool opened = fromStdin ? file.open(streams.in, QIODevice::ReadOnly)
                                  : (file.setFileName(a.listFile), file.open(QIODevice::ReadOnly));
    if (!opened) {
        *error = QStringLiteral("无法读取清单 %1：%2").arg(a.listFile, fileErrorText(file));
        return false;
    }
    const QString base = fromStdin ? QDir::currentPath() : QFileInfo(a.listFile).absolutePath();
    paths += readPathList(file.readAll(), base);
    return true;
}

// The settings that shape the output files, as one line of the work's fingerprint.
QString settingsLine(const CropSettings& s) {
    return QStringLiteral("%1x%2 %3 %4 %5 %6 %7 %8 %9")
               .arg(s.outputSize.width())
               .arg(s.outputSize.height())
               .arg(s.maxKb)
               .arg(s.extension)
               .arg(int(s.framing))
               .arg(int(s.noFace))
               .arg(s.output.minKb)
               .arg(s.output.dotsPerInch)
               .arg(int(s.output.bestPicture)) +
           // Only a colour is written, so runs begun without one resume as before.
           (s.background.replaces() ? QStringLiteral(" ") + s.background.stored() : QString());
}

// The output options as the window would save with them (the settings folder's "输出选项"),
// with what the command line says on top.
CropSettings withOutputOptions(const CropArguments& a, std::FILE* err) {
    const SettingsLocation location = resolveSettingsLocation(
        QCoreApplication::applicationDirPath(), a.settingsDir,
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            QStringLiteral("/Portiqa"));
    ConsoleDialogs dialogs(err);
    const OutputOptionsSetting stored(location.settingsFolder, dialogs);
    CropSettings settings = a.settings;
    settings.output = stored.optionsFor(settings.outputSize);
    if (a.dpi > 0) {
        settings.output.dotsPerInch = a.dpi;
    }
    if (a.minKb >= 0) {
        settings.output.minKb = a.minKb;
    }
    if (a.bestPicture >= 0) {
        settings.output.bestPicture = a.bestPicture == 1;
    }
    const StoredOutputOptions options = stored.stored();
    settings.background = a.background ? *a.background : options.background;
    const QString notice = OutputOptionsSetting::backgroundNotice(options);
    if (!a.background && !notice.isEmpty()) {
        say(err, notice);
    }
    return settings;
}

} // namespace

int runCropCommand(const CropArguments& a, const CropStreams& streams) {
    const CropSettings settings = withOutputOptions(a, streams.err);
    if (settings.output.minKb > 0 && !numbers::greater(settings.maxKb, settings.output.minKb)) {
        return refuse(streams, QStringLiteral("最小体积（%1KB）须小于最大体积（%2KB）")
                                   .arg(numbers::numberText(settings.output.minKb),
                                        numbers::numberText(settings.maxKb)));
    }
    QStringList given = a.inputs;
    if (!a.listFile.isEmpty()) {
        QString error;
        if (!readList(a, streams, given, &error)) {
            return refuse(streams, error);
        }
    }
    if (isInputFolder(a.outFolder, given)) {
        return refuse(streams, QStringLiteral("输出文件夹不能是输入文件夹：%1").arg(a.outFolder));
    }
    if (!QDir().mkpath(a.outFolder)) {
        return refuse(streams, QStringLiteral("无法创建输出文件夹：%1").arg(a.outFolder));
    }
    const QString outFolder = QFileInfo(a.outFolder).absoluteFilePath();

    const CropInputList inputs = expandCropInputs(given);
    const CropNames names = assignCropNames(inputs.pictures, a.naming, settings.extension);
    if (!names.error.isEmpty()) {
        return refuse(streams, names.error);
    }

    // The run's own list: the shard's slice of the whole list, names already settled.
    std::vector<CropItem> items;
    const int k = a.shard ? a.shard->first : 1;
    const int n = a.shard ? a.shard->second : 1;
    for (int i = k - 1; i < inputs.pictures.size(); i += n) {
        CropItem item;
        item.index = static_cast<int>(items.size());
        item.input = inputs.pictures.at(i);
        const QString& name = names.fileNames.at(i);
        item.output = name.isEmpty() ? QString() : QDir(outFolder).filePath(name);
        item.problem = names.problems.at(i);
        items.push_back(item);
    }

    std::vector<QString> fingerprint{settingsLine(settings)};
    std::vector<QString> outputs;
    for (const CropItem& item : items) {
        fingerprint.push_back(item.input + QLatin1Char('\t') + item.output);
        outputs.push_back(item.output);
    }
    CropJournal journal(outFolder, CropJournal::fingerprintOf(fingerprint),
                        static_cast<int>(items.size()));
    if (a.resume) {
        switch (journal.resumeFrom(outputs)) {
        case CropJournal::Resume::OtherWork:
            return refuse(streams, QStringLiteral("%1 记录的是另一批图片或另一组设置的进度；"
                                                  "请换一个输出文件夹，或去掉 --resume 重新开始")
                                       .arg(journal.path()));
        case CropJournal::Resume::Unreadable:
            return refuse(streams, QStringLiteral("进度记录 %1 已损坏，无法继续；"
                                                  "请删除它，或去掉 --resume 重新开始")
                                       .arg(journal.path()));
        case CropJournal::Resume::Fresh:
        case CropJournal::Resume::Continued:
            break;
        }
    }

    CropReport report;
    QString reportError;
    if (!report.open(a.reportFile, a.resume, &reportError)) {
        return refuse(streams,
                      QStringLiteral("无法写入报告 %1：%2").arg(a.reportFile, reportError));
    }

    std::vector<char> skip(items.size(), 0);
    for (size_t i = 0; i < items.size(); ++i) {
        skip[i] = journal.isDone(static_cast<int>(i)) ? 1 : 0;
    }
    const int total = static_cast<int>(items.size());
    const int resumed = journal.doneCount();
    if (resumed > 0) {
        say(streams.err, QStringLiteral("继续上次的运行：%1 张已完成，还有 %2 张")
                             .arg(resumed)
                             .arg(total - resumed));
    }
    for (const QString& problem : inputs.problems) {
        say(streams.err, problem);
    }

    CropProgress progress(streams.err, streams.errIsTerminal, total, resumed);
    int written = 0;
    int skipped = 0;
    int failed = 0;
    int backgroundKept = 0; // written with their background as it was
    bool journalWarned = false;
    CropRun run(settings, a.jobs);
    run.run(items, skip, [&](const CropItem& item, const CropOutcome& outcome) {
        if (outcome.status != CropStatus::Failed) {
            QString error;
            if (!journal.markDone(item.index, &error) && !journalWarned) {
                journalWarned = true;
                progress.note(QStringLiteral("无法写入进度记录 %1：%2").arg(journal.path(), error));
            }
        }
        report.add(item, outcome);
        switch (outcome.status) {
        case CropStatus::Written:
            ++written;
            if (outcome.belowMinimum) {
                progress.note(QStringLiteral("低于最小体积：%1（最高画质也只有 %2 字节，未填充）")
                                  .arg(item.input)
                                  .arg(outcome.bytes));
            }
            if (!outcome.backgroundRefusal.isEmpty()) {
                ++backgroundKept;
                progress.note(QStringLiteral("%1：%2").arg(item.input, outcome.backgroundRefusal));
            }
            if (outcome.hairCut || outcome.band) { // in the window's status bar's words
                progress.note(QStringLiteral("%1：%2").arg(
                    item.input, AutoFramer::keptHint(outcome.hairCut, outcome.band)));
            }
            if (outcome.overLimit) {
                progress.note(QStringLiteral("超出体积：%1（最小也有 %2 字节）")
                                  .arg(item.input)
                                  .arg(outcome.bytes));
            }
            break;
        case CropStatus::Skipped:
            ++skipped;
            progress.note(QStringLiteral("已跳过：%1：%2").arg(item.input, outcome.reason));
            break;
        case CropStatus::Failed:
            ++failed;
            progress.note(QStringLiteral("失败：%1：%2").arg(item.input, outcome.reason));
            break;
        }
        progress.pictureDone();
    });
    progress.finish();
    if (report.failed()) {
        say(streams.err, QStringLiteral("报告 %1 未能完整写入").arg(a.reportFile));
    }

    const int problems = static_cast<int>(inputs.problems.size());
    say(streams.out,
        QStringLiteral("完成：共 %1 张，写出 %2 张，此前已完成 %3 张，跳过 %4 张，"
                       "失败 %5 张%6%7")
            .arg(total)
            .arg(written)
            .arg(resumed)
            .arg(skipped)
            .arg(failed)
            .arg(backgroundKept > 0
                     ? QStringLiteral("，写出的照片中有 %1 张未更换背景颜色").arg(backgroundKept)
                     : QString())
            .arg(problems > 0 ? QStringLiteral("，另有 %1 个输入无法使用").arg(problems)
                              : QString()));
    return skipped + failed + problems > 0 ? 1 : 0;
}

int cropCommandMain(const QStringList& words, const CropStreams& streams) {
    const ParsedCropArguments parsed =
        parseCropArguments(words, std::max(1, QThread::idealThreadCount()));
    switch (parsed.action) {
    case ParsedCropArguments::Action::ShowHelp:
        std::fputs(cropHelpText().toUtf8().constData(), streams.out);
        return 0;
    case ParsedCropArguments::Action::Refused:
        return refuse(streams, parsed.error);
    case ParsedCropArguments::Action::Run:
        break;
    }
    return runCropCommand(parsed.arguments, streams);
}

} // namespace portiqa
