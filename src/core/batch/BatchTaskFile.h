#pragma once

// The batch crop task: the list of pictures of the source folder, the position reached and a
// "cropped" mark per picture, kept in "批截任务.ini" in the settings folder so that a run can
// be resumed in a later session. The folder itself is not stored; entry k names the file
// source folder/<图片名 of section k>.
//
// File layout (GB18030 INI): section "批截位置" key "批截位置" = current position (1-based);
// section "最大位置" key "最大位置" = number of entries N; sections "1" ... "N" with the keys
// "操作记录" ("未截图" or "已截图") and "图片名" (bare file name).
//
// This object also owns the run's progress display (the main window's title, through
// TaskPictureView). It reads the folder from the batch settings and where the current picture
// came from from the picture sources' record; navigation sets that record back to the task.
// Every operation works on the file as it is now. A task file with a huge or negative count,
// or with sections missing, costs no more than the entries that exist: the others read as
// missing pictures. A write that fails is reported once and the run goes on.

#include "core/settings/BatchSettings.h"
#include "core/workspace/PictureSource.h"
#include "core/ini/IniFile.h"
#include "core/ini/WriteFailureNotice.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace portiqa {

class Dialogs;

// What the task needs of the main window and its workspace.
class TaskPictureView {
public:
    virtual ~TaskPictureView() = default;
    // Loads a picture file into the workspace (the workspace's loadPictureFile), which reports
    // its own failures.
    virtual void loadPictureFile(const QString& path) = 0;
    // Empties the two picture panels; the workspace keeps its picture state.
    virtual void clearPicturePanels() = 0;
    virtual void setWindowTitle(const QString& title) = 0;
};

enum class TaskStep { Previous, Current, Next };

class BatchTaskFile {
public:
    static QString fileName() { return QStringLiteral("批截任务.ini"); }

    // `settings` (its source folder) and `source` are read whenever needed; both must outlive
    // the task.
    BatchTaskFile(const QString& settingsFolder, const BatchCropSettings& settings,
                  PictureSourceRecord& source, Dialogs& dialogs, TaskPictureView& view);

    QString path() const { return file_.path(); }

    // The folder whose pictures the task lists (the batch setting "待截图目录").
    const QString& sourceFolder() const { return settings_.sourceFolder; }

    // The picture files of a folder in the order the file system gives them: files only (also
    // hidden ones), extension after the last "." (or the whole name without a dot) being
    // jpg, jpeg, bmp, gif or png in any case. Names with a line break cannot be listed in the
    // task file and are left out.
    static QStringList scanPictureFolder(const QString& folder);

    // Writes position 1, the count and one "not cropped" entry per name, in one write, over
    // whatever the file holds (nothing is removed). Sets taskCount().
    bool writeNewTask(const QStringList& names);
    // Deletes the task file, as a fresh run does before writing its new task.
    void removeFile();
    // A fresh run from the settings window: delete the file, scan the source folder and, when
    // it holds pictures, write the task and show the first. False (and a count of 0) when
    // there is nothing to crop; the caller tells the operator.
    bool startNewRun();
    // Resuming: the count from the file, then the stored position shown.
    void resume();
    // Batch crop switched off: the count and position go to 0; the file stays.
    void endRun();

    void showTaskPicture(TaskStep step);
    // Appends pictures that appeared in the source folder since the task was written; true
    // when entries were added.
    bool appendNewPictures();
    // After a save in batch crop mode: marks the entry as cropped when the picture came from
    // the task (an opened file leaves the task untouched) and shows the mark in the title.
    void markCurrentDone();
    // The navigation keys: Next or Previous. The current picture comes from the task again;
    // builds the task on first use.
    void navigate(TaskStep step);

    // The files of the next and the previous entry (those that exist), next first: what a
    // step will show.
    QStringList neighbourPaths() const;
    // The file of the entry shown last (empty when it names none).
    QString currentPath() const;
    // Called whenever an entry was shown (or reported missing).
    void setShownHook(std::function<void()> hook) { shownHook_ = std::move(hook); }

    int taskCount() const { return taskCount_; }
    int taskPosition() const { return taskPosition_; }
    const QString& taskPictureName() const { return taskPictureName_; }
    const PictureSource& source() const { return source_.current(); }

private:
    int readNumber(const QString& sectionAndKey) const;
    bool write(const QList<IniEntry>& entries);
    QString picturePath(const QString& name) const;
    void showEntry(qint64 position);
    QStringList knownNames() const;

    IniFile file_;
    Dialogs& dialogs_;
    TaskPictureView& view_;
    WriteFailureNotice notice_;
    const BatchCropSettings& settings_;
    PictureSourceRecord& source_;
    std::function<void()> shownHook_;
    int taskCount_ = 0;
    int taskPosition_ = 0;
    QString taskPictureName_;
};

} // namespace portiqa
