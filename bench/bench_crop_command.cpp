// `portiqa crop` over many large photos, beside ImageMagick doing the simpler job of a centred
// resize-and-crop under the same size limit, in the same run.
//
//   bench_crop_command [COUNT]   (default 200 photos)
//
// The photos are 20 MP JPEGs made from the portraits of tests/fixtures/faces (each enlarged
// to 20 MP with a little grain, so they decode and compress like camera pictures); ten distinct
// ones are linked under COUNT names. Prints photos per second for --jobs 1 and --jobs 2 and
// ImageMagick one and two at a time, peak resident memory of each, and the ratios against the
// goals: 3x ImageMagick's rate per core while also finding the face, --jobs 2 at 1.8x --jobs 1,
// peak memory under two photos' worth per job.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

struct Measured {
    double seconds = 0;
    long peakKb = 0; // the largest resident size of any process of the run
    bool ok = true;
};

// Runs a program and waits for it; the peak is the child's own maximum resident size.
bool runProgram(const QStringList& command, long* peakKb) {
    std::vector<QByteArray> words;
    for (const QString& word : command) {
        words.push_back(word.toLocal8Bit());
    }
    std::vector<char*> argv;
    for (QByteArray& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        unsetenv("DISPLAY");
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) {
        return false;
    }
    *peakKb = std::max(*peakKb, usage.ru_maxrss);
    return WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 1);
}

QStringList makePhotos(const QString& folder, int count) {
    const QStringList portraits =
        QDir(QStringLiteral(PORTIQA_FIXTURES "/faces"))
            .entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    QStringList distinct;
    QRandomGenerator grain(7);
    for (int i = 0; i < 10 && i < portraits.size(); ++i) {
        const QImage small(QDir(QStringLiteral(PORTIQA_FIXTURES "/faces")).filePath(portraits[i]));
        const double factor = std::sqrt(20e6 / (double(small.width()) * small.height()));
        QImage big = small
                         .scaled(qRound(small.width() * factor), qRound(small.height() * factor),
                                 Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                         .convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < big.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(big.scanLine(y));
            for (int x = 0; x < big.width(); ++x) {
                const int d = int(grain.bounded(9)) - 4;
                const QRgb p = line[x];
                line[x] = qRgb(qBound(0, qRed(p) + d, 255), qBound(0, qGreen(p) + d, 255),
                               qBound(0, qBlue(p) + d, 255));
            }
        }
        const QString path = QDir(folder).filePath(QStringLiteral("distinct%1.jpg").arg(i));
        big.save(path, "JPEG", 90);
        distinct << path;
    }
    QDir().mkpath(QDir(folder).filePath(QStringLiteral("photos")));
    QStringList photos;
    for (int i = 0; i < count; ++i) {
        const QString path =
            QDir(folder).filePath(QStringLiteral("photos/p%1.jpg").arg(i, 4, 10, QLatin1Char('0')));
        if (::link(distinct[i % distinct.size()].toLocal8Bit().constData(),
                   path.toLocal8Bit().constData()) != 0) {
            QFile::copy(distinct[i % distinct.size()], path);
        }
        photos << path;
    }
    return photos;
}

Measured ours(const QString& photos, const QString& out, int jobs) {
    QDir(out).removeRecursively();
    Measured m;
    QElapsedTimer timer;
    timer.start();
    m.ok = runProgram({QStringLiteral(PORTIQA_BINARY), QStringLiteral("crop"), photos,
                       QStringLiteral("--out"), out, QStringLiteral("--size"),
                       QStringLiteral("358x441"), QStringLiteral("--max-kb"), QStringLiteral("30"),
                       QStringLiteral("--frame"), QStringLiteral("face"), QStringLiteral("--jobs"),
                       QString::number(jobs)},
                      &m.peakKb);
    m.seconds = timer.nsecsElapsed() / 1e9;
    return m;
}

Measured imageMagick(const QString& convert, const QStringList& photos, const QString& out,
                     int parallel) {
    QDir().mkpath(out);
    Measured m;
    std::vector<long> peaks(static_cast<size_t>(parallel), 0);
    std::vector<char> oks(static_cast<size_t>(parallel), 1);
    QElapsedTimer timer;
    timer.start();
    std::vector<std::thread> threads;
    for (int t = 0; t < parallel; ++t) {
        threads.emplace_back([&, t] {
            for (int i = t; i < photos.size(); i += parallel) {
                const QString target = QDir(out).filePath(QFileInfo(photos[i]).fileName());
                oks[size_t(t)] &= runProgram(
                    {convert, photos[i], QStringLiteral("-resize"), QStringLiteral("358x441^"),
                     QStringLiteral("-gravity"), QStringLiteral("center"),
                     QStringLiteral("-extent"), QStringLiteral("358x441"),
                     QStringLiteral("-define"), QStringLiteral("jpeg:extent=30kb"), target},
                    &peaks[size_t(t)]);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    m.seconds = timer.nsecsElapsed() / 1e9;
    for (size_t t = 0; t < peaks.size(); ++t) {
        m.peakKb = std::max(m.peakKb, peaks[t]);
        m.ok = m.ok && oks[t];
    }
    return m;
}

} // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::max(2, std::atoi(argv[1])) : 200;
    QTemporaryDir dir;
    std::printf("making %d photos of 20 MP...\n", count);
    const QStringList photos = makePhotos(dir.path(), count);
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("photos"));
    const double photoMb = 20e6 * 4 * 4.0 / 3.0 / 1e6; // the picture and its pyramid

    const Measured one = ours(folder, dir.filePath(QStringLiteral("out1")), 1);
    const Measured two = ours(folder, dir.filePath(QStringLiteral("out2")), 2);
    auto rate = [&](const Measured& m) { return count / m.seconds; };
    std::printf("portiqa crop --jobs 1: %6.2f photos/s  peak %6.0f MB (%.2f photos' worth)%s\n",
                rate(one), one.peakKb / 1024.0, one.peakKb / 1024.0 / photoMb,
                one.ok ? "" : "  [FAILED]");
    std::printf(
        "portiqa crop --jobs 2: %6.2f photos/s  peak %6.0f MB (%.2f photos' worth per job)%s\n",
        rate(two), two.peakKb / 1024.0, two.peakKb / 1024.0 / photoMb / 2,
        two.ok ? "" : "  [FAILED]");
    std::printf("--jobs 2 / --jobs 1: %.2fx (goal >= 1.8x)\n", rate(two) / rate(one));

    // Debian's ImageMagick; a convert elsewhere on the path may be some other tool's stand-in.
    const QString convert = QStringLiteral("/usr/bin/convert");
    if (!QFileInfo(convert).isExecutable()) {
        std::printf("ImageMagick's convert not found (Debian's imagemagick): no baseline\n");
        return 0;
    }
    const Measured im1 = imageMagick(convert, photos, dir.filePath(QStringLiteral("im1")), 1);
    const Measured im2 = imageMagick(convert, photos, dir.filePath(QStringLiteral("im2")), 2);
    std::printf("ImageMagick, one at a time: %6.2f photos/s  peak %6.0f MB%s\n", rate(im1),
                im1.peakKb / 1024.0, im1.ok ? "" : "  [FAILED]");
    std::printf("ImageMagick, two at a time: %6.2f photos/s  peak %6.0f MB%s\n", rate(im2),
                im2.peakKb / 1024.0, im2.ok ? "" : "  [FAILED]");
    std::printf("per core, ours (with the face search) / ImageMagick: %.2fx (goal >= 3x)\n",
                rate(one) / rate(im1));
    std::printf("two at a time, ours / ImageMagick: %.2fx\n", rate(two) / rate(im2));
    return 0;
}
