#pragma once

// What a crop run shows while it works. On a terminal: one line redrawn in place with a bar,
// the count, the rate and the time left. Elsewhere (a log file, a pipe, a job scheduler's
// output): a plain line at most every few seconds. Problems always get a line of their own.

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

namespace portiqa {

class CropProgress {
public:
    CropProgress(std::FILE* stream, bool terminal, int total, int alreadyDone);

    void pictureDone();
    // A line of its own (a failure, a skipped picture), keeping the bar below it.
    void note(const QString& text);
    // Ends the bar's line.
    void finish();

    // "12/200  3.4 张/秒  剩余 0:55", for tests.
    static QString statusText(int done, int total, double rate);

private:
    void draw(bool force);

    std::FILE* stream_;
    bool terminal_;
    int total_;
    int done_;
    int doneHere_ = 0;
    QElapsedTimer clock_;
    qint64 lastDrawn_ = -1;
    int lastDrawnDone_ = -1;
};

} // namespace portiqa
