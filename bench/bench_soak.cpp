// A day at the office in a few minutes: the program's own window (offscreen) crops a folder of
// pictures in batch crop mode, as an operator with the hotkeys does: the settings window
// confirmed with the folders, then for every picture: wait for it, every fifth one turned or
// zoomed, 截图 (saved under its own name into the output folder, marked cropped), A for the
// next.
//
// Then quick-shoot: the camera window on the built-in test-pattern camera, quick-shoot on, and
// the shutter button pressed for one shot after another, each saved by sequence number.
//
// Each phase prints resident memory and open file descriptors every 50 steps, then checks that
// memory stayed flat (growth under 10 % after the first 100 steps, on averages of four
// samples), that descriptors did not grow, that the output folder holds exactly the expected files
// and that no message appeared. Exits non-zero when a check fails. Not a timed test: the figures go
// into docs/testing.md.
//
//   bench_soak [--pictures N] [--shots N]   (default 1000 each)

#include "BenchSupport.h"

#include "core/dialogs/Dialogs.h"
#include "core/settings/NamingModes.h"
#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/batch/BatchCropWiring.h"
#include "gui/batch/BatchSettingsWindow.h"
#include "gui/camera/CameraFeature.h"
#include "gui/camera/CameraWindow.h"
#include "gui/workspace/WorkspaceController.h"
#include "platform/camera/PatternCamera.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <map>
#include <vector>

#include <unistd.h>

using namespace portiqa;

namespace {

struct Sample {
    int step;
    double rssMb;
    int descriptors;
};

// The open descriptors and what each refers to (without the one listing them).
std::map<QString, QString> openDescriptors() {
    std::map<QString, QString> open;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd :
         fds.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)) {
        char target[512] = {};
        const ssize_t n =
            ::readlink(QFile::encodeName(fds.filePath(fd)).constData(), target, sizeof target - 1);
        if (n > 0) { // the listing's own descriptor is closed by now
            open[fd] = QString::fromLocal8Bit(target, int(n));
        }
    }
    return open;
}

Sample sampleAt(int step) {
    Sample sample{step, 0, 0};
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (statm.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> fields = statm.readAll().split(' ');
        if (fields.size() > 1) {
            sample.rssMb = fields[1].toDouble() * double(::sysconf(_SC_PAGESIZE)) / (1 << 20);
        }
    }
    sample.descriptors = static_cast<int>(openDescriptors().size());
    return sample;
}

// A few camera-sized photos (2 megapixels), written under many names: every picture is still
// read and decoded on its own.
QStringList writePictures(const QString& folder, int count) {
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
            return {};
        }
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        photos.push_back(file.readAll());
        file.close();
        QFile::remove(path);
    }
    QStringList names;
    for (int i = 1; i <= count; ++i) {
        names.append(QStringLiteral("学生%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
        QFile file(QDir(folder).filePath(names.last()));
        if (!file.open(QIODevice::WriteOnly) || file.write(photos[size_t(i % 4)]) < 0) {
            return {};
        }
    }
    return names;
}

// Samples every 50 steps and at the end; prints each as it is taken.
class Sampler {
public:
    Sampler() {
        clock_.start();
        std::printf("%8s %10s %12s %10s\n", "step", "RSS MB", "descriptors", "seconds");
    }
    void step(int step, int last) {
        if (step % 50 != 0 && step != last) {
            return;
        }
        samples_.push_back(sampleAt(step));
        const Sample& s = samples_.back();
        // Name what a new descriptor refers to, so a growing count can be traced.
        const std::map<QString, QString> open = openDescriptors();
        for (const auto& [fd, target] : open) {
            if (!known_.empty() && known_.count(fd) == 0) {
                std::printf("         new descriptor %s -> %s\n", qPrintable(fd),
                            qPrintable(target));
            }
        }
        known_ = open;
        std::printf("%8d %10.1f %12d %10.1f\n", s.step, s.rssMb, s.descriptors,
                    clock_.elapsed() / 1000.0);
        std::fflush(stdout);
    }
    // Memory and descriptors after the first 100 steps: flat, and said so. Resident memory moves
    // by a tenth up and down from one sample to the next as the allocator keeps or returns
    // picture-sized blocks, so the trend is judged on averages: the four samples after the
    // first 100 steps against the last four. Descriptors may never rise above their count at
    // step 100.
    bool flat() const {
        std::vector<Sample> settled;
        for (const Sample& s : samples_) {
            if (s.step >= 100) {
                settled.push_back(s);
            }
        }
        if (settled.size() < 8) {
            return true;
        }
        const auto mean = [](auto first, auto last) {
            double sum = 0;
            for (auto it = first; it != last; ++it) {
                sum += it->rssMb;
            }
            return sum / double(last - first);
        };
        const double early = mean(settled.begin(), settled.begin() + 4);
        const double late = mean(settled.end() - 4, settled.end());
        const auto [low, high] =
            std::minmax_element(settled.begin(), settled.end(),
                                [](const Sample& a, const Sample& b) { return a.rssMb < b.rssMb; });
        int fdPeak = 0;
        for (const Sample& s : settled) {
            fdPeak = std::max(fdPeak, s.descriptors);
        }
        const double growth = (late - early) / early * 100;
        std::printf("memory from step %d on: %.1f to %.1f MB; average of the first four samples "
                    "%.1f MB, of the last four %.1f MB: growth %.1f %% (limit 10 %%)\n",
                    settled.front().step, low->rssMb, high->rssMb, early, late, growth);
        std::printf("descriptors at step %d: %d, highest later %d:", settled.front().step,
                    settled.front().descriptors, fdPeak);
        for (const auto& [fd, target] : known_) {
            std::printf(" %s=%s", qPrintable(fd), qPrintable(target));
        }
        std::printf("\n");
        return growth < 10 && fdPeak <= settled.front().descriptors;
    }

private:
    QElapsedTimer clock_;
    std::vector<Sample> samples_;
    std::map<QString, QString> known_;
};

bool sameFiles(const QString& folder, QStringList expected) {
    expected.sort();
    const QStringList written =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    const bool same = written == expected;
    std::printf("output folder: %lld files, %s\n", static_cast<long long>(written.size()),
                same ? "exactly the expected ones" : "NOT the expected ones");
    return same;
}

bool noMessages(const bench::BenchDialogs& dialogs) {
    if (!dialogs.messages.isEmpty()) {
        std::printf("messages shown: %lld, first: %s\n",
                    static_cast<long long>(dialogs.messages.size()),
                    qPrintable(dialogs.messages.first()));
    }
    return dialogs.messages.isEmpty();
}

bool soakBatchCrop(QApplication& application, const QString& folder, int pictures) {
    std::printf("batch crop: %d pictures\n", pictures);
    const QString source = QDir(folder).filePath(QStringLiteral("照片"));
    const QString output = QDir(folder).filePath(QStringLiteral("证件照"));
    QDir().mkpath(source);
    QDir().mkpath(output);
    const QStringList expected = writePictures(source, pictures);
    if (expected.size() != pictures) {
        std::fprintf(stderr, "cannot write the pictures\n");
        return false;
    }

    bench::BenchDialogs dialogs;
    LaunchOptions options;
    options.settingsDir = QDir(folder).filePath(QStringLiteral("设置"));
    PortiqaApp app(options, &dialogs);
    app.start();
    WorkspaceController& workspace = app.workspace();
    // The operator's settings: the two folders, named after the source pictures (the first
    // naming mode), kept for the next session.
    app.batchCrop().setSettingsWindowHook([&](QDialog& dialog) {
        auto& window = static_cast<BatchSettingsWindow&>(dialog);
        QTimer::singleShot(0, &window, [&] {
            window.sourceEdit()->setText(source + QLatin1Char('/'));
            window.saveEdit()->setText(output);
            window.keepBox()->setChecked(true);
            window.confirmButton()->click();
        });
    });
    app.batchCrop().run().switchPressed();
    workspace.waitForPicture();
    if (!app.batchCrop().run().mode()) {
        std::fprintf(stderr, "batch crop mode did not start\n");
        return false;
    }
    Sampler sampler;
    for (int step = 1; step <= pictures; ++step) {
        workspace.waitForPicture();
        application.processEvents();
        if (step % 5 == 0) {
            if (step % 10 == 0) {
                workspace.turn(true);
            } else {
                workspace.zoomIn();
            }
        }
        app.window().controls().saveButton->click();
        if (step < pictures) {
            app.batchCrop().hotkeyPressed('A');
        }
        application.processEvents();
        sampler.step(step, pictures);
    }
    const bool flat = sampler.flat();
    const bool files = sameFiles(output, expected);
    return flat && files && noMessages(dialogs);
}

bool soakQuickShoot(QApplication& application, const QString& folder, int shots) {
    std::printf("quick-shoot: %d shots from the test-pattern camera\n", shots);
    const QString output = QDir(folder).filePath(QStringLiteral("速拍"));
    QDir().mkpath(output);
    bench::BenchDialogs dialogs;
    LaunchOptions options;
    options.settingsDir = QDir(folder).filePath(QStringLiteral("速拍设置"));
    auto backend = std::make_unique<PatternCamera>(QSize(1280, 720));
    PatternCamera* camera = backend.get();
    PortiqaApp app(options, &dialogs, std::move(backend));
    app.start();
    QuickShootSettings& settings = app.quickShootSettings();
    settings.saveFolder = output;
    settings.namingIndex = 1; // by sequence number
    settings.namingMode = namingModeText(BatchKind::QuickShoot, 1);
    app.links().openCameraWindow();
    CameraWindow* window = app.camera().window();
    if (window == nullptr) {
        std::fprintf(stderr, "the camera window did not open\n");
        return false;
    }
    window->quickBox()->click();
    QStringList expected;
    Sampler sampler;
    for (int shot = 1; shot <= shots; ++shot) {
        camera->advance();
        window->shootButton()->click();
        expected.append(QStringLiteral("%1.jpg").arg(shot, 4, 10, QLatin1Char('0')));
        application.processEvents();
        sampler.step(shot, shots);
    }
    const bool flat = sampler.flat();
    const bool files = sameFiles(output, expected);
    return flat && files && noMessages(dialogs);
}

} // namespace

int main(int argc, char** argv) {
    bench::preferOffscreenPlatform();
    int pictures = 1000;
    int shots = 1000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--pictures") == 0) {
            pictures = std::max(0, std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--shots") == 0) {
            shots = std::max(0, std::atoi(argv[i + 1]));
        }
    }
    QApplication application(argc, argv);
    QTemporaryDir dir;
    bool ok = true;
    if (pictures > 0) {
        ok = soakBatchCrop(application, dir.path(), pictures) && ok;
    }
    if (shots > 0) {
        ok = soakQuickShoot(application, dir.path(), shots) && ok;
    }
    std::printf("soak %s\n", ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}
