#pragma once

// The background colour in the main window: the checkable item "更换背景颜色" of menu 文件, and
// the replaced background the capture frame shows and every capture takes.
//
// While a colour is set, each time the framing settles (zoom, scroll, frame move, turn, edit, a
// new picture) the frame's pixels go to a worker: faces are found in them and the background
// is replaced (replaceBackground). The result is shown over the frame and is what a save,
// batch crop and the clipboard take, for as long as the frame's pixels stay the ones it was
// made from. A capture that comes before the work is done waits for it under the wait cursor.
// A refusal (no face, a busy background) leaves the frame as it is and is told in the status
// hint; batch crop counts such pictures. Quick-shoot's shots are replaced before they are
// written.
//
// The colour lives in the output options (section "输出选项", key "背景颜色"); the menu item
// switches between none and the colour last chosen (white until one was).

#include "core/background/BackgroundColour.h"
#include "core/background/BackgroundReplacer.h"
#include "core/workspace/PicturePyramid.h"

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <functional>
#include <vector>

class QAction;

namespace portiqa {

struct FeatureLinks;
class MainWindow;
class OutputOptionsSetting;
class WorkspaceController;

class BackgroundFeature : public QObject {
    Q_OBJECT
public:
    static QString commandText() { return QStringLiteral("更换背景颜色"); }
    // How long the framing must stay still before its background is worked out.
    static constexpr int kSettleMs = 150;

    BackgroundFeature(MainWindow& window, WorkspaceController& workspace,
                      OutputOptionsSetting& setting, FeatureLinks& links);
    ~BackgroundFeature() override;

    QAction* commandAction() const { return command_; }
    const BackgroundColour& colour() const { return colour_; }
    // Sets the colour (none switches it off), storing it when `store`.
    void setColour(const BackgroundColour& colour, bool store);
    // Says in the status hint when the stored colour could not be read, rather than leave the
    // background unchanged without a word. Called once the window is up.
    void tellUnreadColour();
    // Makes the frame show its replaced background now, waiting for work in progress.
    void settle();
    // The framed picture `shot` with its background replaced, or as it is with the reason
    // in the status hint.
    QImage replacedShot(const QImage& shot);
    // The background of a batch picture read ahead, worked out on the read-ahead's worker:
    // the pixels the frame will show once the face framing has placed the picture in this
    // window as it is now, and their replacement, kept for when the picture is shown. Empty
    // without a colour.
    std::function<std::function<void()>(const PicturePyramidPtr&, const DetectedFaces&)>
    aheadWork() const;
    // The pictures of this batch run last saved with their background unchanged; a picture
    // saved again counts once, and no more once a save of it was replaced.
    int refusedCount() const { return int(refusedPictures_.size()); }

private:
    QImage ownFrame() const;
    // Applies a replacement worked out ahead for `own`; false when there is none.
    bool takeAhead(const QImage& own);
    void frameChanged();
    void start();
    void finished();
    // Whether the worker has `own` in the colour now chosen.
    bool workingOn(const QImage& own) const;
    // Shows `result`, made for `source` in `colour`, if the frame still holds those pixels and
    // that colour is still the one chosen.
    void apply(const QImage& source, QRgb colour, const BackgroundReplacement& result);

    MainWindow& window_;
    WorkspaceController& workspace_;
    OutputOptionsSetting& setting_;
    FeatureLinks& links_;
    QAction* command_ = nullptr; // owned by the menu
    BackgroundColour colour_;
    BackgroundColour lastChosen_ = BackgroundColour::white();
    QTimer settle_;
    QFutureWatcher<BackgroundReplacement> watcher_;
    QImage working_;         // the frame's pixels the worker has
    QRgb workingColour_ = 0; // and the colour it puts behind them
    QImage lastRefused_;     // the frame's pixels of the last refusal, not tried again
    QString lastRefusal_;    // and why
    QString refusalHint_;    // the hint that last said so (with a batch run's count)
    // Replacements worked out ahead for pictures not shown yet.
    struct Ahead {
        QImage framed; // the pixels the frame will show
        QRgb colour;
        BackgroundReplacement result;
    };
    std::vector<Ahead> ahead_;
    QSet<QString> refusedPictures_; // by file
    bool countingBatch_ = false;
};

} // namespace portiqa
