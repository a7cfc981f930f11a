// `portiqa sheet` as a script meets it: no display at all, the same sheet as the window's
// save (read back with poppler and the JPEG header), its help, and bad usage or bad input
// answered with the exit status and nothing written.

#include "support/SheetProbe.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace portiqa::test;

namespace {

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the program with no display and no Qt platform chosen.
Finished runSheet(const QStringList& arguments) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(programPath(), QStringList{QStringLiteral("sheet")} + arguments);
    Finished run;
    if (!program.waitForFinished(30000)) {
        program.kill();
        program.waitForFinished();
        return run;
    }
    run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    run.out = QString::fromLocal8Bit(program.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(program.readAllStandardError());
    return run;
}

QString portrait() {
    return fixturePath(QStringLiteral("output/portrait_413x626.jpg"));
}

} // namespace

TEST(SheetCommand, WritesThePdfAndTheJpegWithoutADisplay) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    Finished run = runSheet({portrait(), "--paper", "5寸", "--size", "1寸", "--out", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("8 张1寸 (25×35 mm)排在5寸")))
        << run.out.toStdString();
    PdfFacts facts = probePdf(pdf);
    ASSERT_TRUE(facts.read);
    EXPECT_EQ(facts.pagePoints, QSizeF(360, 252));
    // The 413 x 626 portrait fitted into 25 x 35 mm at 300 dpi.
    EXPECT_EQ(facts.images, QList<QSize>(8, QSize(272, 413)));

    // More copies than fit: what fits is laid out, and said.
    run = runSheet({portrait(), "--paper", "5寸", "--size", "1寸", "--copies", "20", "--out", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("只放得下 8 张"))) << run.err.toStdString();
    EXPECT_EQ(probePdf(pdf).images.size(), 8);

    // The output size: the picture's own pixels at 300 dpi, placed without resampling.
    run = runSheet(
        {portrait(), "--paper", "6寸", "--size", "输出尺寸", "--copies", "3", "--out", pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    facts = probePdf(pdf);
    EXPECT_EQ(facts.pagePoints, QSizeF(431, 289));
    EXPECT_EQ(facts.images, QList<QSize>(3, QSize(413, 626)));

    const QString jpg = dir.filePath(QStringLiteral("sheet.jpg"));
    run = runSheet({portrait(), "--paper", "a4", "--size", "身份证", "--orientation", "纵向",
                    "--margin", "5", "--gap", "0", "--no-cut-lines", "--out", jpg});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const JpegFacts jpeg = probeJpeg(readAll(jpg));
    ASSERT_TRUE(jpeg.read);
    EXPECT_EQ(jpeg.size, QSize(2480, 3508)); // 210 x 297 mm at 300 dpi
    EXPECT_EQ(jpeg.densityUnit, 1);
    EXPECT_EQ(jpeg.xDensity, 300);
    EXPECT_EQ(jpeg.yDensity, 300);
}

TEST(SheetCommand, HelpListsThePapersAndTheSizes) {
    const Finished run = runSheet({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("用法: portiqa sheet 图片")));
    for (const char* named : {"5寸", "6寸", "A4", "A6", "1寸", "小2寸", "2寸", "身份证", "输出尺寸",
                              "--copies N", "--out 文件", "300 dpi"}) {
        EXPECT_TRUE(run.out.contains(QString::fromUtf8(named))) << named;
    }
}

TEST(SheetCommand, BadUsageAndBadInputEndWithTheirStatusAndWriteNothing) {
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("sheet.pdf"));
    const QString damaged = dir.filePath(QStringLiteral("damaged.jpg"));
    ASSERT_TRUE(writeAll(damaged, QByteArray("\xFF\xD8\xFF not a picture", 18)));
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* says;
    };
    const QString p = portrait();
    const Case cases[] = {
        {{p, "--paper", "7寸", "--size", "1寸", "--out", out}, 2, "无法识别的相纸“7寸”"},
        {{p, "--paper", "5寸", "--size", "3寸", "--out", out}, 2, "无法识别的尺寸“3寸”"},
        {{p, "--paper", "5寸", "--size", "1寸"}, 2, "缺少 --out"},
        {{"--paper", "5寸", "--size", "1寸", "--out", out}, 2, "没有给出图片"},
        {{p, "--paper", "5寸", "--size", "1寸", "--copies", "0", "--out", out}, 2, "--copies"},
        {{p, "--paper", "5寸", "--size", "1寸", "--gap", "-1", "--out", out}, 2, "--gap"},
        {{p, "--paper", "5寸", "--size", "1寸", "--out", dir.filePath("sheet.png")}, 2, "--out"},
        {{dir.filePath("missing.jpg"), "--paper", "5寸", "--size", "1寸", "--out", out},
         1,
         "missing.jpg"},
        {{damaged, "--paper", "5寸", "--size", "1寸", "--out", out}, 1, "damaged.jpg"},
        {{p, "--paper", "5寸", "--size", "2寸", "--margin", "30", "--out", out}, 1, "放不进"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Finished run = runSheet(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith(QStringLiteral("portiqa sheet: ")));
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(c.says))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(QFile::exists(out));
    }
}
