// A day at the office in a few minutes: the program's own window (offscreen) crops a folder of
// pictures through the batch task, one after another, as an operator with the hotkeys would:
// next picture, wait for it, every fifth one turned or zoomed, save, mark done.
//
// Prints resident memory and open file descriptors every 50 pictures, then checks that memory
// stayed flat (growth under 10 % after the first 100 pictures), that descriptors did not grow,
// and that the output folder holds exactly the expected files. Exits non-zero when a check
// fails. Not a timed test: the figures go into docs/testing.md.
//
//   bench_soak [--pictures N]   (default 1000)

#include "BenchSupport.h"

#include "core/batch/BatchTaskFile.h"
#include "core/dialogs/Dialogs.h"
#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/workspace/WorkspaceController.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <vector>

#include <unistd.h>

using namespace portiqa;

namespace {

// Answers the save dialog from a queue; any message box is a failure of the run.
class SoakDialogs final : public Dialogs {
public:
    std::deque<QString> files;
    QStringList messages;

    MessageAnswer message(const QString& caption, const QString& text, MessageIcon,
                          MessageButtons) override {
        messages.append(caption + QStringLiteral(": ") + text);
        return MessageAnswer::Ok;
    }
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const SaveFileRequest&) override {
        if (files.empty()) {
            return {};
        }
        const QString file = files.front();
        files.pop_front();
        return file;
    }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    std::optional<QColor> chooseColour(const QColor&) override { return std::nullopt; }
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }
};

struct Sample {
    int step;
    double rssMb;
    int descriptors;
};

Sample sampleAt(int step) {
    Sample sample{step, 0, 0};
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (statm.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> fields = statm.readAll().split(' ');
        if (fields.size() > 1) {
            sample.rssMb = fields[1].toDouble() * double(::sysconf(_SC_PAGESIZE)) / (1 << 20);
        }
    }
    sample.descriptors = static_cast<int>(QDir(QStringLiteral("/proc/self/fd"))
                                              .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                                              .size());
    return sample;
}

// A few camera-sized photos (2 megapixels), written under many names: every picture is still
// read and decoded on its own.
bool writePictures(const QString& folder, int count) {
    std::vector<QByteArray> photos;
    for (int v = 0; v < 4; ++v) {
        QImage photo(1200 + 100 * v, 1600 - 100 * v, QImage::Format_RGB32);
        photo.fill(qRgb(180 + 10 * v, 170, 160));
        QPainter painter(&photo);
        for (int k = 0; k < 40; ++k) {
            painter.fillRect((k * 97 + v * 31) % photo.width(), (k * 53) % photo.height(), 150, 90,
                             QColor::fromHsv((k * 29 + v * 60) % 360, 120, 200));
        }
        painter.end();
        const QString path = QDir(folder).filePath(QStringLiteral("seed.jpg"));
        if (!photo.save(path, "JPG", 90)) {
            return false;
        }
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        photos.push_back(file.readAll());
        file.close();
        QFile::remove(path);
    }
    for (int i = 1; i <= count; ++i) {
        QFile file(
            QDir(folder).filePath(QStringLiteral("学生%1.jpg").arg(i, 4, 10, QLatin1Char('0'))));
        if (!file.open(QIODevice::WriteOnly) || file.write(photos[size_t(i % 4)]) < 0) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    bench::preferOffscreenPlatform();
    int pictures = 1000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--pictures") == 0) {
            pictures = std::max(1, std::atoi(argv[i + 1]));
        }
    }
    QApplication application(argc, argv);
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("照片"));
    const QString output = dir.filePath(QStringLiteral("证件照"));
    QDir().mkpath(source);
    QDir().mkpath(output);
    if (!writePictures(source, pictures)) {
        std::fprintf(stderr, "cannot write the pictures\n");
        return 2;
    }

    SoakDialogs dialogs;
    LaunchOptions options;
    options.settingsDir = dir.filePath(QStringLiteral("设置"));
    PortiqaApp app(options, &dialogs);
    app.start();
    BatchTaskFile& task = app.batchTask();
    WorkspaceController& workspace = app.workspace();
    task.setSourceFolder(source);

    std::vector<Sample> samples;
    QStringList expected;
    QElapsedTimer clock;
    clock.start();
    std::printf("%8s %10s %12s %10s\n", "picture", "RSS MB", "descriptors", "seconds");
    for (int step = 1; step <= pictures; ++step) {
        task.navigate(TaskStep::Next); // the first press builds the task and shows picture 1
        workspace.waitForPicture();
        application.processEvents();
        if (step % 5 == 0) {
            if (step % 10 == 0) {
                workspace.turn(true);
            } else {
                workspace.zoomIn();
            }
        }
        const QString name = QStringLiteral("%1.jpg").arg(step, 4, 10, QLatin1Char('0'));
        dialogs.files.push_back(QDir(output).filePath(name));
        app.window().controls().saveButton->click();
        task.markCurrentDone();
        expected.append(name);
        application.processEvents();
        if (step % 50 == 0 || step == pictures) {
            samples.push_back(sampleAt(step));
            const Sample& s = samples.back();
            std::printf("%8d %10.1f %12d %10.1f\n", s.step, s.rssMb, s.descriptors,
                        clock.elapsed() / 1000.0);
            std::fflush(stdout);
        }
    }

    bool ok = true;
    const auto settled =
        std::find_if(samples.begin(), samples.end(), [](const Sample& s) { return s.step >= 100; });
    if (settled != samples.end()) {
        double peak = 0;
        int fdPeak = 0;
        for (auto it = settled; it != samples.end(); ++it) {
            peak = std::max(peak, it->rssMb);
            fdPeak = std::max(fdPeak, it->descriptors);
        }
        const double growth = (peak - settled->rssMb) / settled->rssMb * 100;
        std::printf("memory after picture %d: %.1f MB, highest later %.1f MB: growth %.1f %% "
                    "(limit 10 %%)\n",
                    settled->step, settled->rssMb, peak, growth);
        std::printf("descriptors after picture %d: %d, highest later %d\n", settled->step,
                    settled->descriptors, fdPeak);
        ok = ok && growth < 10 && fdPeak <= settled->descriptors;
    }
    QStringList written =
        QDir(output).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    const bool filesOk = written == expected;
    std::printf("output folder: %lld files, %s\n", static_cast<long long>(written.size()),
                filesOk ? "exactly the expected ones" : "NOT the expected ones");
    if (!dialogs.messages.isEmpty()) {
        std::printf("messages shown: %lld, first: %s\n",
                    static_cast<long long>(dialogs.messages.size()),
                    qPrintable(dialogs.messages.first()));
    }
    ok = ok && filesOk && dialogs.messages.isEmpty();
    std::printf("soak %s\n", ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}
