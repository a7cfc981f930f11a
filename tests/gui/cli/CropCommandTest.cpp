// `portiqa crop` as a user runs it: the built program, no display, real pictures and
// workbooks; its exit status, its report and the files it leaves.

#include "core/ini/IniFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

using namespace portiqa;

namespace {

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

QProcessEnvironment noDisplay() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return env;
}

Finished crop(const QStringList& arguments, int timeoutMs = 120000) {
    QProcess program;
    program.setProcessEnvironment(noDisplay());
    program.start(test::programPath(), QStringList{"crop"} + arguments);
    Finished run;
    if (!program.waitForFinished(timeoutMs)) {
        program.kill();
        program.waitForFinished();
        return run;
    }
    run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -2;
    run.out = QString::fromUtf8(program.readAllStandardOutput());
    run.err = QString::fromUtf8(program.readAllStandardError());
    return run;
}

QList<QJsonObject> reportLines(const QString& path) {
    QList<QJsonObject> lines;
    for (const QByteArray& line : test::readAll(path).split('\n')) {
        if (!line.isEmpty()) {
            lines << QJsonDocument::fromJson(line).object();
        }
    }
    return lines;
}

// A folder of `count` real portraits (copies of the face fixtures), named p000.jpg, ...
QStringList portraits(const QString& folder, int count) {
    const QStringList sources =
        QDir(test::fixturePath("faces")).entryList({"*.jpg"}, QDir::Files, QDir::Name);
    QDir().mkpath(folder);
    QStringList made;
    for (int i = 0; i < count; ++i) {
        const QString path =
            QDir(folder).filePath(QStringLiteral("p%1.jpg").arg(i, 3, 10, QLatin1Char('0')));
        QFile::copy(QDir(test::fixturePath("faces")).filePath(sources[i % sources.size()]), path);
        made << path;
    }
    return made;
}

} // namespace

TEST(CropCommand, UsageMistakesEndWithTwoAndASentence) {
    QTemporaryDir dir;
    const QString picture = test::fixturePath("faces/audrey_0.jpg");
    const QString out = dir.filePath("out");
    struct Case {
        QStringList arguments;
        const char* says;
    } cases[] = {
        {{picture}, "--out"},
        {{"--out", out}, "没有给出"},
        {{picture, "--out", out, "--size", "0x441"}, "尺寸"},
        {{picture, "--out", out, "--size", "大头照"}, "尺寸"},
        {{picture, "--out", out, "--max-kb", "-3"}, "--max-kb"},
        {{picture, "--out", out, "--max-kb", "30", "--min-kb", "30"}, "最小体积"},
        {{picture, "--out", out, "--dpi", "50"}, "--dpi"},
        {{picture, "--out", out, "--format", "tif"}, "--format"},
        {{picture, "--out", out, "--background", "green"}, "--background"},
        {{picture, "--out", out, "--frame", "eyes"}, "--frame"},
        {{picture, "--out", out, "--no-face", "keep"}, "--no-face"},
        {{picture, "--out", out, "--name", "number"}, "命名"},
        {{picture, "--out", out, "--match", "A"}, "--match"},
        {{picture, "--out", out, "--jobs", "0"}, "--jobs"},
        {{picture, "--out", out, "--shard", "3/2"}, "--shard"},
        {{picture, "--out", out, "--bogus"}, "bogus"},
        {{test::fixturePath("faces"), "--out", test::fixturePath("faces/../faces/")}, "输入文件夹"},
        {{picture, "--out", out, "--list", dir.filePath("no-list.txt")}, "清单"},
        {{picture, "--out", out, "--name",
          "roster:" + test::fixturePath("roster/garbage.xlsx") + ":1:A"},
         "花名册"},
    };
    for (const Case& c : cases) {
        const Finished run = crop(c.arguments);
        EXPECT_EQ(run.exitCode, 2) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.says)))
            << c.arguments.join(' ').toStdString() << "\n"
            << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(out + "/0001.jpg"));

    const Finished help = crop({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option :
         {"--list", "--out", "--size", "--max-kb", "--min-kb", "--dpi", "--format", "--frame",
          "--no-face", "--background", "--name", "--match", "--jobs", "--shard", "--resume",
          "--report", "--settings-dir", "学籍/身份证"}) {
        EXPECT_TRUE(help.out.contains(QString::fromUtf8(option))) << option;
    }
}

TEST(CropCommand, BadPicturesInTheMiddleAreReportedAndTheOthersWritten) {
    QTemporaryDir dir;
    const QString in = dir.filePath("in");
    portraits(in, 4);
    QFile::copy(test::fixturePath("image/truncated.jpg"), in + "/p001b.jpg");
    QFile::copy(test::fixturePath("image/notes.jpg"), in + "/p002b.jpg");
    QFile::copy(test::fixturePath("image/huge_header.png"), in + "/p003b.png");
    QImage flat(800, 600, QImage::Format_RGB32); // no face in it
    flat.fill(QColor(200, 210, 220));
    ASSERT_TRUE(flat.save(in + "/p002c.png"));
    // An output name that is taken by a folder cannot be written.
    ASSERT_TRUE(QDir().mkpath(dir.filePath("out/p003.jpg")));
    ASSERT_TRUE(test::writeAll(dir.filePath("out/p001b.jpg"), "an older file, kept"));

    const Finished run = crop({in, "--out", dir.filePath("out"), "--max-kb", "30", "--report",
                               dir.filePath("r.jsonl"), "--jobs", "2"});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    const QList<QJsonObject> lines = reportLines(dir.filePath("r.jsonl"));
    ASSERT_EQ(lines.size(), 8) << run.err.toStdString();
    QMap<QString, QString> status;
    for (const QJsonObject& line : lines) {
        status[QFileInfo(line["input"].toString()).fileName()] = line["status"].toString();
        if (line["status"] == "written") {
            const QString output = line["output"].toString();
            EXPECT_EQ(QImage(output).size(), QSize(358, 441)) << output.toStdString();
            EXPECT_LE(QFileInfo(output).size(), 30 * 1024);
            EXPECT_EQ(line["bytes"].toInt(), QFileInfo(output).size());
            EXPECT_TRUE(line["face"].toBool());
        } else {
            EXPECT_FALSE(line["reason"].toString().isEmpty());
        }
    }
    EXPECT_EQ(status["p000.jpg"], "written");
    EXPECT_EQ(status["p001b.jpg"], "failed");
    EXPECT_EQ(status["p002b.jpg"], "failed");
    EXPECT_EQ(status["p002c.png"], "skipped");
    EXPECT_EQ(status["p003b.png"], "failed");
    EXPECT_EQ(status["p003.jpg"], "failed");
    EXPECT_EQ(test::readAll(dir.filePath("out/p001b.jpg")), "an older file, kept");
    EXPECT_TRUE(run.err.contains("p002c.png"));
    EXPECT_TRUE(run.out.contains("失败 4 张")) << run.out.toStdString();

    // Every picture fine: exit 0; --no-face centre keeps the faceless one.
    QTemporaryDir good;
    portraits(good.filePath("in"), 2);
    ASSERT_TRUE(flat.save(good.filePath("in/z.png")));
    const Finished clean = crop({good.filePath("in"), "--out", good.filePath("out"), "--no-face",
                                 "centre", "--format", "png", "--size", "1寸照"});
    EXPECT_EQ(clean.exitCode, 0) << clean.err.toStdString();
    EXPECT_EQ(QImage(good.filePath("out/z.png")).size(), QSize(295, 413));
}

TEST(CropCommand, TheReportAndTheLogSayWhatTheFramingCouldNotKeep) {
    QTemporaryDir dir;
    struct Case {
        const char* picture;
        bool hairCut;
        bool band;
        const char* says; // on standard error, after the picture's name; empty for nothing
    } cases[] = {
        {"franck_02159_0.jpg", false, false, ""},
        {"cage_0.jpg", true, false, "头发顶部超出照片，已按眼睛位置截取"},
        {"tom_cruise_0.jpg", true, true, "头发顶部超出照片，照片边缘不足，截图含空白边"},
    };
    QStringList inputs;
    for (const Case& c : cases) {
        inputs << test::fixturePath(QStringLiteral("faces/") + c.picture);
    }
    const Finished run = crop(
        inputs + QStringList{"--out", dir.filePath("out"), "--report", dir.filePath("r.jsonl")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QMap<QString, QJsonObject> byName;
    for (const QJsonObject& line : reportLines(dir.filePath("r.jsonl"))) {
        byName[QFileInfo(line["input"].toString()).fileName()] = line;
    }
    for (const Case& c : cases) {
        const QJsonObject line = byName.value(c.picture);
        EXPECT_EQ(line["status"].toString(), "written") << c.picture;
        EXPECT_EQ(line["hair_cut"].toBool(), c.hairCut) << c.picture;
        EXPECT_EQ(line["band"].toBool(), c.band) << c.picture;
        const QString said = QString::fromUtf8(c.picture) + "：" + QString::fromUtf8(c.says);
        EXPECT_EQ(run.err.contains(said), *c.says != 0) << c.picture << "\n"
                                                        << run.err.toStdString();
    }
}

TEST(CropCommand, TheBackgroundColourIsReplacedAsInTheWindowOrItsRefusalReported) {
    QTemporaryDir dir;
    const QString portrait = test::fixturePath("faces/franck_02159_0.jpg");
    QImage flat(800, 600, QImage::Format_RGB32); // no face in it
    flat.fill(qRgb(200, 210, 220));
    ASSERT_TRUE(flat.save(dir.filePath("flat.png")));
    // The colour kept in the settings folder's output options, as the window keeps it.
    QDir().mkpath(dir.filePath("s"));
    IniFile(dir.filePath("s/set.dll")).write("输出选项", "背景颜色", "#FF0000");
    struct Case {
        QStringList extra;
        QRgb wall; // the portrait's output above the head
    } cases[] = {
        {{}, qRgb(255, 0, 0)},
        {{"--background", "blue"}, qRgb(67, 142, 219)},
        {{"--background", "#00ff00"}, qRgb(0, 255, 0)},
    };
    for (const Case& c : cases) {
        const QString out = dir.filePath("out" + c.extra.join('_'));
        const Finished run =
            crop(QStringList{portrait, dir.filePath("flat.png"), "--out", out, "--format", "png",
                             "--no-face", "centre", "--settings-dir", dir.filePath("s"), "--report",
                             out + ".jsonl"} +
                 c.extra);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(QImage(out + "/franck_02159_0.png").pixel(3, 3), c.wall) << out.toStdString();
        // Without a face the picture is written as it is, and the report and log say why.
        EXPECT_EQ(QImage(out + "/flat.png").pixel(179, 220), flat.pixel(0, 0));
        const QString refusal = QStringLiteral("未检测到人脸，未更换背景颜色");
        EXPECT_TRUE(run.err.contains("flat.png：" + refusal)) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains("失败 0 张，写出的照片中有 1 张未更换背景颜色"))
            << run.out.toStdString();
        for (const QJsonObject& line : reportLines(out + ".jsonl")) {
            const bool faceless = line["input"].toString().endsWith("flat.png");
            EXPECT_EQ(line["background_refused"].toString(), faceless ? refusal : QString());
        }
    }
    // "none" leaves the background of the kept colour as it is.
    const Finished plain = crop({portrait, "--out", dir.filePath("plain"), "--format", "png",
                                 "--settings-dir", dir.filePath("s"), "--background", "none"});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_FALSE(plain.out.contains("未更换背景颜色")) << plain.out.toStdString();
    EXPECT_NE(QImage(dir.filePath("plain/franck_02159_0.png")).pixel(3, 3), qRgb(255, 0, 0));

    // A kept value that is no colour is told, and the background stays.
    IniFile(dir.filePath("s/set.dll")).write("输出选项", "背景颜色", "red");
    const Finished unread = crop({portrait, "--out", dir.filePath("unread"), "--format", "png",
                                  "--settings-dir", dir.filePath("s")});
    EXPECT_EQ(unread.exitCode, 0);
    EXPECT_TRUE(unread.err.contains("设置中的背景颜色“red”无法识别")) << unread.err.toStdString();
    EXPECT_EQ(QImage(dir.filePath("unread/franck_02159_0.png")),
              QImage(dir.filePath("plain/franck_02159_0.png")));
}

TEST(CropCommand, RosterNamesByStudentNumberAndShardsShareTheList) {
    QTemporaryDir dir;
    const QString in = dir.filePath("in");
    QDir().mkpath(in);
    QFile::copy(test::fixturePath("faces/audrey_0.jpg"), in + "/2026030102.jpg");
    QFile::copy(test::fixturePath("faces/cage_0.jpg"), in + "/2026030101.jpg");
    QFile::copy(test::fixturePath("faces/grace_hopper_0.jpg"), in + "/2026039999.jpg");
    const QString book = test::fixturePath("roster/classlist_lo.xlsx");
    const Finished run = crop({in, "--out", dir.filePath("out"), "--frame", "centre", "--name",
                               "roster:" + book + ":H列起:H", "--match", "I"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(QFile::exists(dir.filePath("out/周九.jpg")));
    EXPECT_TRUE(QFile::exists(dir.filePath("out/吴十.jpg")));
    EXPECT_TRUE(run.err.contains("2026039999")) << run.err.toStdString();

    // Three machines, one list: every picture once, sequence numbers from the whole list.
    const QStringList all = portraits(dir.filePath("many"), 7);
    QSet<QString> written;
    for (int k = 1; k <= 3; ++k) {
        const QString list = dir.filePath("list.txt");
        ASSERT_TRUE(test::writeAll(list, all.join('\n').toUtf8()));
        const Finished shard = crop({"--list", list, "--out", dir.filePath("shards"), "--frame",
                                     "centre", "--name", "seq", "--shard", QString("%1/3").arg(k),
                                     "--report", dir.filePath(QString("s%1.jsonl").arg(k))});
        EXPECT_EQ(shard.exitCode, 0) << shard.err.toStdString();
        for (const QJsonObject& line : reportLines(dir.filePath(QString("s%1.jsonl").arg(k)))) {
            EXPECT_FALSE(written.contains(line["input"].toString()));
            written.insert(line["input"].toString());
        }
    }
    EXPECT_EQ(written.size(), 7);
    EXPECT_EQ(QDir(dir.filePath("shards")).entryList({"*.jpg"}, QDir::Files).size(), 7);
    EXPECT_TRUE(QFile::exists(dir.filePath("shards/0007.jpg")));
}

TEST(CropCommand, AKilledRunResumesWithoutRedoingOrLosingAPicture) {
    QTemporaryDir dir;
    const QStringList pictures = portraits(dir.filePath("in"), 40);
    const QStringList arguments{dir.filePath("in"),
                                "--out",
                                dir.filePath("out"),
                                "--resume",
                                "--report",
                                dir.filePath("r.jsonl"),
                                "--jobs",
                                "2",
                                "--max-kb",
                                "20"};
    QProcess first;
    first.setProcessEnvironment(noDisplay());
    first.start(test::programPath(), QStringList{"crop"} + arguments);
    ASSERT_TRUE(first.waitForStarted());
    // Kill it once some pictures are done and before all are.
    for (int i = 0; i < 600; ++i) {
        const int done = QDir(dir.filePath("out")).entryList({"*.jpg"}, QDir::Files).size();
        if (done >= 8) {
            break;
        }
        QThread::msleep(25);
    }
    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    first.waitForFinished();
    const int doneBefore = QDir(dir.filePath("out")).entryList({"*.jpg"}, QDir::Files).size();
    ASSERT_GE(doneBefore, 8);
    ASSERT_LT(doneBefore, 40) << "the run ended before it could be killed";
    QMap<QString, QDateTime> stamps;
    for (const QFileInfo& file : QDir(dir.filePath("out")).entryInfoList({"*.jpg"}, QDir::Files)) {
        stamps[file.fileName()] = file.lastModified();
    }

    const Finished second = crop(arguments);
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    const QStringList outputs = QDir(dir.filePath("out")).entryList({"*.jpg"}, QDir::Files);
    EXPECT_EQ(outputs.size(), 40);
    for (const QString& name : outputs) {
        EXPECT_EQ(QImage(dir.filePath("out/" + name)).size(), QSize(358, 441))
            << name.toStdString();
        if (stamps.contains(name)) { // finished before the kill: not written again
            EXPECT_EQ(QFileInfo(dir.filePath("out/" + name)).lastModified(), stamps[name])
                << name.toStdString();
        }
    }
    // Each picture is in the report once as written, over both runs.
    QMap<QString, int> writtenTimes;
    for (const QJsonObject& line : reportLines(dir.filePath("r.jsonl"))) {
        if (line["status"] == "written") {
            ++writtenTimes[line["input"].toString()];
        }
    }
    EXPECT_GE(writtenTimes.size(), 40 - 2); // at most the pictures in flight lost their line
    for (auto it = writtenTimes.cbegin(); it != writtenTimes.cend(); ++it) {
        EXPECT_EQ(it.value(), 1) << it.key().toStdString();
    }
    EXPECT_TRUE(second.err.contains("继续上次的运行")) << second.err.toStdString();
}
