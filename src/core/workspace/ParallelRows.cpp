#include "core/workspace/ParallelRows.h"

#include <QtConcurrent/QtConcurrentMap>
#include <QThread>

#include <algorithm>
#include <utility>
#include <vector>

namespace portiqa {

void ParallelRows::run(int rows, int pixelsPerRow,
                       const std::function<void(int first, int end)>& work) {
    if (rows <= 0) {
        return;
    }
    const long long pixels = static_cast<long long>(rows) * std::max(pixelsPerRow, 1);
    const int threads = std::max(QThread::idealThreadCount(), 1);
    if (pixels < InlinePixels || threads == 1 || rows < 2) {
        work(0, rows);
        return;
    }
    // A few bands per core, so a core slowed by other work does not hold the rest up.
    const int bands = std::min(rows, threads * 4);
    std::vector<std::pair<int, int>> ranges;
    ranges.reserve(static_cast<size_t>(bands));
    for (int i = 0; i < bands; ++i) {
        const int first = static_cast<int>(static_cast<long long>(rows) * i / bands);
        const int end = static_cast<int>(static_cast<long long>(rows) * (i + 1) / bands);
        if (end > first) {
            ranges.emplace_back(first, end);
        }
    }
    QtConcurrent::blockingMap(
        ranges, [&work](const std::pair<int, int>& band) { work(band.first, band.second); });
}

} // namespace portiqa
