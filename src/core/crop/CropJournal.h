#pragma once

// The progress of a crop run, kept in the output folder so that a run that was stopped (a
// killed process, a machine switched off) goes on where it stopped. It records which pictures
// of the run's list are done, as ranges of their positions, and a fingerprint of the list with
// its output names and settings, so a later run only takes the record over when it is the same
// work. The file is small whatever the run's size and is replaced whole at every change.
//
// A picture counts as done when its output file was written, or when it was left out on
// purpose (no face). A picture that failed is not done: a resumed run tries it again.
//
// Output files are themselves written whole, so a file that is there was finished; the record
// may lag it by the pictures in flight when the process died. resumeFrom() therefore also
// takes as done a picture whose output file was written after the recorded start of the run.

#include <QDateTime>
#include <QString>

#include <vector>

namespace portiqa {

class CropJournal {
public:
    static QString fileName() { return QStringLiteral("裁剪进度.ini"); }

    // `fingerprint` identifies the work (see fingerprintOf()); `count` is the list's length.
    CropJournal(const QString& outputFolder, const QString& fingerprint, int count);

    QString path() const { return path_; }

    // A fresh start: nothing done, the start time now. Nothing is written until markDone().
    void startFresh();

    enum class Resume { Fresh, Continued, OtherWork, Unreadable };
    // Takes over the record in the folder when it belongs to the same work. Fresh when there
    // is none (the run starts from the beginning); OtherWork or Unreadable leave the record
    // untouched and the caller refuses to go on.
    Resume resumeFrom(const std::vector<QString>& outputPaths);

    bool isDone(int index) const { return done_.at(static_cast<size_t>(index)) != 0; }
    int doneCount() const { return doneCount_; }

    // Records a picture as done and writes the record. False (with `error`) when it could not
    // be written; the run goes on and the record is tried again with the next picture.
    bool markDone(int index, QString* error = nullptr);

    // The text that identifies a run's work: pictures, their output names and the settings
    // that shape the pixels, one line each, hashed.
    static QString fingerprintOf(const std::vector<QString>& lines);

    // Positions as "0-4 7 9-12".
    static QString rangesText(const std::vector<char>& done);
    static bool parseRanges(const QString& text, std::vector<char>& done);

private:
    bool write(QString* error);

    QString path_;
    QString fingerprint_;
    std::vector<char> done_;
    int doneCount_ = 0;
    QDateTime started_;
};

} // namespace portiqa
