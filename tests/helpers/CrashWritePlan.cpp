#include "helpers/CrashWritePlan.h"

#include "core/batch/BatchTaskFile.h"
#include "core/workspace/OutputSizeEdits.h"
#include "core/settings/SettingsFile.h"
#include "core/files/WholeFile.h"
#include "core/ini/IniFile.h"
#include "core/output/BmpWriter.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include <array>

namespace portiqa::test::crashplan {

namespace {

// Pictures of a few megabytes, so a kill often lands in the middle of writing one.
QByteArray pictureBytes(int generation) {
    static std::array<QByteArray, 3> variants; // made when first needed: the child starts sooner
    const int v = generation % 3;
    QByteArray& bytes = variants[size_t(v)];
    if (bytes.isEmpty()) {
        QImage image(900 + 50 * v, 1100 - 40 * v, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                row[x] = qRgb((x + v * 80) & 255, (y * 3) & 255, (x ^ y) & 255);
            }
        }
        bytes = encodeBmp24(image);
    }
    return bytes;
}

struct Edits final : OutputSizeEdits {
    QString width, height, limit;
    QString widthText() const override { return width; }
    QString heightText() const override { return height; }
    QString sizeLimitText() const override { return limit; }
    void setWidthText(const QString& text) override { width = text; }
    void setHeightText(const QString& text) override { height = text; }
    void setSizeLimitText(const QString& text) override { limit = text; }
};

struct NoView final : TaskPictureView {
    void loadPictureFile(const QString&) override {}
    void clearPicturePanels() override {}
    void setWindowTitle(const QString&) override {}
};

QString tag(int generation) {
    return QStringLiteral("第%1批").arg(generation);
}

// A task of a few hundred pictures: tens of kilobytes of GB18030 text.
QStringList taskNames(int generation) {
    QStringList names;
    const int count = 300 + (generation % 5) * 150;
    for (int k = 1; k <= count; ++k) {
        names.append(QStringLiteral("%1-学生%2.jpg").arg(tag(generation)).arg(k));
    }
    return names;
}

// The generation a text carries, or -1.
int generationIn(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("第(\\d+)批"));
    const QRegularExpressionMatch match = pattern.match(text);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString checkSettings(const QString& path) {
    const IniFile file(path);
    const QString section = SettingsFile::sectionName(BatchKind::Crop);
    const int g = generationIn(file.read(section, QStringLiteral("保存目录")));
    if (g < 0) {
        return QStringLiteral("no generation in the save folder");
    }
    const QStringList keys{QStringLiteral("自定义命名"), QStringLiteral("待截图目录"),
                           QStringLiteral("像素宽")};
    for (const QString& key : keys) {
        if (generationIn(file.read(section, key)) != g) {
            return QStringLiteral("%1 is not of generation %2").arg(key).arg(g);
        }
    }
    return {};
}

QString checkTask(const QString& path) {
    const IniFile file(path);
    const int count = file.read(QStringLiteral("最大位置"), QStringLiteral("最大位置")).toInt();
    if (count <= 0) {
        return QStringLiteral("no count");
    }
    QStringList sections;
    for (int k = 1; k <= count; ++k) {
        sections.append(QString::number(k));
    }
    const QStringList names = file.readEach(sections, QStringLiteral("图片名"));
    const int g = generationIn(names.value(0));
    if (g < 0 || names != taskNames(g)) {
        return QStringLiteral("the %1 entries are not one generation's").arg(count);
    }
    return {};
}

} // namespace

Kind kindFromName(const QString& name) {
    if (name == QLatin1String("settings")) {
        return Kind::Settings;
    }
    return name == QLatin1String("task") ? Kind::Task : Kind::Picture;
}

QString fileName(Kind kind) {
    switch (kind) {
    case Kind::Picture:
        return QStringLiteral("证件照.bmp");
    case Kind::Settings:
        return SettingsFile::fileName();
    case Kind::Task:
        return BatchTaskFile::fileName();
    }
    return {};
}

struct Writer::State {
    State(Kind k, const QString& f) : kind(k), folder(f) {}
    Kind kind;
    QString folder;
    ScriptedDialogs dialogs;
    NoView view;
    BatchCropSettings cropSettings;
    PictureSourceRecord source;
    SettingsFile settings{folder, dialogs};
    BatchTaskFile task{folder, cropSettings, source, dialogs, view};
};

Writer::Writer(Kind kind, const QString& folder) : state_(new State(kind, folder)) {}

Writer::~Writer() {
    delete state_;
}

bool Writer::write(int generation, QString* error) {
    const int before = static_cast<int>(state_->dialogs.messages.size());
    bool ok = false;
    switch (state_->kind) {
    case Kind::Picture:
        return writeWholeFile(QDir(state_->folder).filePath(fileName(Kind::Picture)),
                              pictureBytes(generation), error);
    case Kind::Settings: {
        BatchCropSettings crop;
        crop.customPrefix = tag(generation);
        crop.saveFolder = QStringLiteral("/照片/输出") + tag(generation);
        crop.sourceFolder = QStringLiteral("/照片/来源") + tag(generation);
        Edits edits;
        edits.width = tag(generation);
        edits.height = QStringLiteral("441");
        edits.limit = QStringLiteral("30");
        ok = state_->settings.saveBatchCropSettings(crop, true, edits);
        break;
    }
    case Kind::Task:
        ok = state_->task.writeNewTask(taskNames(generation));
        break;
    }
    if (!ok && error != nullptr) {
        *error = state_->dialogs.messages.size() > before ? state_->dialogs.lastText()
                                                          : QStringLiteral("failed unreported");
    }
    return ok;
}

QString checkWhole(Kind kind, const QString& folder) {
    const QString path = QDir(folder).filePath(fileName(kind));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("missing");
    }
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty()) {
        return QStringLiteral("empty");
    }
    switch (kind) {
    case Kind::Picture:
        for (int v = 0; v < 3; ++v) {
            if (bytes == pictureBytes(v)) {
                return {};
            }
        }
        return QStringLiteral("not one whole picture (%1 bytes)").arg(bytes.size());
    case Kind::Settings:
        return checkSettings(path);
    case Kind::Task:
        return checkTask(path);
    }
    return {};
}

} // namespace portiqa::test::crashplan
