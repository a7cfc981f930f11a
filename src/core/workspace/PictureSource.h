#pragma once

// Where the current picture came from while batch crop is on: the task (navigation shows the
// task's pictures) or a file that the operator opened or dropped. The naming by source name
// and the "cropped" mark follow it.

#include <QString>

namespace portiqa {

enum class SourceKind { Task = 0, File = 1 };

struct PictureSource {
    SourceKind kind = SourceKind::Task;
    QString path; // the opened or dropped file, for SourceKind::File
};

// The one record of the current picture's source. The picture sources own it (they see
// every open and drop); batch navigation sets it back to the task; the save and the task's
// "cropped" mark only read it.
class PictureSourceRecord {
public:
    const PictureSource& current() const { return source_; }
    void fromTask() { source_ = {SourceKind::Task, QString()}; }
    void fromFile(const QString& path) { source_ = {SourceKind::File, path}; }

private:
    PictureSource source_;
};

} // namespace portiqa
