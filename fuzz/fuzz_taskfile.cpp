// The batch crop task over an arbitrary task file and an arbitrary folder listing: resume,
// step forward past the end (which appends new pictures), back past the start, mark a picture
// cropped. Every operation works on the files, as in the program.
//
// Input: the task file's bytes; when a 0 byte is present, what follows the last one lists the
// source folder's file names (UTF-8, one per line), created empty before the run.

#include "FuzzSupport.h"

#include "core/batch/BatchTaskFile.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>

using namespace portiqa;

namespace {

class RecordingView final : public TaskPictureView {
public:
    void loadPictureFile(const QString& path) override { loaded = path; }
    void clearPicturePanels() override { loaded.clear(); }
    void setWindowTitle(const QString& text) override { title = text; }
    QString loaded;
    QString title;
};

void createFiles(const QString& folder, const QByteArray& listing) {
    int created = 0;
    for (const QByteArray& line : listing.split('\n')) {
        const QString name = QString::fromUtf8(line);
        // Names a file system can hold in one folder; a few are enough to reach every path.
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
            name.contains(QLatin1Char('/')) || name.contains(QChar(0)) || line.size() > 200) {
            continue;
        }
        QFile(folder + QLatin1Char('/') + name).open(QIODevice::WriteOnly);
        if (++created == 16) {
            return;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = fuzz::bytesOf(data, size);
    const qsizetype split = input.lastIndexOf('\0');
    const QString root = fuzz::freshFolder();
    const QString settings = root + QStringLiteral("/settings");
    const QString source = root + QStringLiteral("/source");
    QDir(root).mkpath(QStringLiteral("settings"));
    QDir(root).mkpath(QStringLiteral("source"));
    createFiles(source, split < 0 ? QByteArray() : input.mid(split + 1));

    test::ScriptedDialogs dialogs;
    RecordingView view;
    BatchCropSettings cropSettings;
    cropSettings.sourceFolder = source;
    PictureSourceRecord pictureSource;
    BatchTaskFile task(settings, cropSettings, pictureSource, dialogs, view);
    {
        QFile file(task.path());
        file.open(QIODevice::WriteOnly);
        file.write(split < 0 ? input : input.left(split));
    }
    task.resume();
    const TaskStep steps[] = {TaskStep::Next,     TaskStep::Next,     TaskStep::Previous,
                              TaskStep::Previous, TaskStep::Previous, TaskStep::Next};
    for (TaskStep step : steps) {
        task.navigate(step);
        fuzz::require(task.taskCount() >= 0, "the count is never negative");
        fuzz::require(view.loaded.isEmpty() || view.loaded.startsWith(source + QLatin1Char('/')),
                      "only pictures of the source folder are shown");
        task.markCurrentDone();
    }
    return 0;
}
