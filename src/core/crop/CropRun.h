#pragma once

// Crops a list of pictures into an output folder on several workers. Each worker has its own
// cropper (and face detector) and takes the next picture not yet done; it writes the output
// file whole and hands the outcome back. The outcomes reach `onResult` one at a time on the
// thread that called run(), in the order they finish: that is where the progress record, the
// report and the progress display are kept, so none of them needs a lock.
//
// One bad picture never stops the run: whatever goes wrong with it (damage, a huge picture,
// an unwritable file, a full disk) is its own outcome, and the others go on.

#include "core/crop/CropSettings.h"
#include "core/crop/PictureCropper.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <vector>

namespace portiqa {

struct CropItem {
    int index = 0; // position in the run's list
    QString input;
    QString output; // full path; empty when the picture has no name (`problem` says why)
    QString problem;
};

struct CropOutcome {
    int index = 0;
    CropStatus status = CropStatus::Failed;
    QString reason;
    qint64 bytes = 0;
    int quality = -1;
    bool faceFound = false;
    bool hairCut = false;
    bool band = false;
    QString backgroundRefusal;
    bool overLimit = false;
    bool belowMinimum = false;
    double seconds = 0;
};

class CropRun {
public:
    using ResultHandler = std::function<void(const CropItem& item, const CropOutcome& outcome)>;

    CropRun(CropSettings settings, int jobs);

    // Crops every item whose `skip` is false. Returns when all are done or stop() was called
    // (items not started then get no outcome).
    void run(const std::vector<CropItem>& items, const std::vector<char>& skip,
             const ResultHandler& onResult);

    // Asks the workers to take no further picture; safe from any thread or a signal handler.
    void stop() { stop_.store(true); }

    // One item, here and now, as a worker does it (tests, and jobs = 1 without threads).
    static CropOutcome cropOne(PictureCropper& cropper, const CropItem& item);

private:
    CropSettings settings_;
    int jobs_;
    std::atomic<bool> stop_{false};
};

} // namespace portiqa
