#include "core/crop/CropRun.h"

#include "core/face/FaceDetector.h"
#include "core/files/WholeFile.h"

#include <QElapsedTimer>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace portiqa {

CropRun::CropRun(CropSettings settings, int jobs)
    : settings_(std::move(settings)), jobs_(std::max(1, jobs)) {}

CropOutcome CropRun::cropOne(PictureCropper& cropper, const CropItem& item) {
    QElapsedTimer timer;
    timer.start();
    CropOutcome outcome;
    outcome.index = item.index;
    if (item.output.isEmpty()) {
        outcome.status = CropStatus::Failed;
        outcome.reason = item.problem;
    } else {
        const CroppedPicture picture = cropper.crop(item.input);
        outcome.status = picture.status;
        outcome.reason = picture.reason;
        outcome.quality = picture.quality;
        outcome.faceFound = picture.faceFound;
        outcome.hairCut = picture.hairCut;
        outcome.band = picture.band;
        outcome.backgroundRefusal = picture.backgroundRefusal;
        outcome.overLimit = picture.overLimit;
        outcome.belowMinimum = picture.belowMinimum;
        if (picture.status == CropStatus::Written) {
            QString error;
            if (writeWholeFile(item.output, picture.bytes, &error)) {
                outcome.bytes = picture.bytes.size();
            } else {
                outcome.status = CropStatus::Failed;
                outcome.reason = QStringLiteral("无法保存文件 %1：%2").arg(item.output, error);
            }
        }
    }
    outcome.seconds = timer.nsecsElapsed() / 1e9;
    return outcome;
}

void CropRun::run(const std::vector<CropItem>& items, const std::vector<char>& skip,
                  const ResultHandler& onResult) {
    std::vector<size_t> todo;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i >= skip.size() || !skip[i]) {
            todo.push_back(i);
        }
    }
    std::atomic<size_t> next{0};
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<CropOutcome> finished;
    int running = 0;

    auto worker = [&] {
        std::unique_ptr<FaceDetector> detector;
        if (settings_.framing == CropFraming::Face || settings_.background.replaces()) {
            detector = std::make_unique<FaceDetector>();
        }
        PictureCropper cropper(settings_, detector.get());
        for (;;) {
            const size_t position = next.fetch_add(1);
            if (position >= todo.size() || stop_.load()) {
                break;
            }
            CropOutcome outcome = cropOne(cropper, items[todo[position]]);
            std::lock_guard<std::mutex> lock(mutex);
            finished.push_back(std::move(outcome));
            ready.notify_one();
        }
        std::lock_guard<std::mutex> lock(mutex);
        --running;
        ready.notify_one();
    };

    const int workers = static_cast<int>(std::min<size_t>(static_cast<size_t>(jobs_), todo.size()));
    std::vector<std::thread> threads;
    running = workers;
    for (int i = 0; i < workers; ++i) {
        threads.emplace_back(worker);
    }
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        ready.wait(lock, [&] { return !finished.empty() || running == 0; });
        while (!finished.empty()) {
            const CropOutcome outcome = std::move(finished.front());
            finished.pop_front();
            lock.unlock();
            onResult(items[static_cast<size_t>(outcome.index)], outcome);
            lock.lock();
        }
        if (running == 0) {
            break;
        }
    }
    lock.unlock();
    for (std::thread& thread : threads) {
        thread.join();
    }
}

} // namespace portiqa
