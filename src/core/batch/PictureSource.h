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

} // namespace portiqa
