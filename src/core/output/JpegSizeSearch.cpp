#include "core/output/JpegSizeSearch.h"

#include <QThread>

#include <algorithm>
#include <cmath>
#include <future>
#include <limits>
#include <vector>

namespace portiqa {

namespace {

constexpr int kCoarseStep = 5;
constexpr int kFineSteps = 4;

using Attempt = std::optional<QByteArray>;

// Encodes the given qualities, the first on this thread and the others on their own threads.
std::vector<Attempt> encodeBatch(const JpegQualityEncoder& encoder,
                                 const std::vector<int>& qualities, std::int64_t limit) {
    // Quality 0 is the answer of last resort, so it is always encoded completely.
    auto budget = [limit](int quality) { return quality == 0 ? std::int64_t(-1) : limit; };
    std::vector<std::future<Attempt>> others;
    for (size_t i = 1; i < qualities.size(); ++i) {
        const int q = qualities[i];
        others.push_back(std::async(
            std::launch::async, [&encoder, q, budget] { return encoder.encode(q, budget(q)); }));
    }
    std::vector<Attempt> results;
    results.push_back(encoder.encode(qualities.front(), budget(qualities.front())));
    for (auto& other : others) {
        results.push_back(other.get());
    }
    return results;
}

std::vector<int> slice(const std::vector<int>& qualities, size_t start, int width) {
    const size_t end = std::min(start + size_t(width), qualities.size());
    return std::vector<int>(qualities.begin() + long(start), qualities.begin() + long(end));
}

bool fits(const Attempt& attempt, std::int64_t limit) {
    return attempt.has_value() && attempt->size() <= limit;
}

} // namespace

std::int64_t jpegLimitBytes(double kb) {
    const double product = kb * 1024.0;
    if (!(product > 0)) { // also NaN
        return 0;
    }
    constexpr double kMax = double(std::numeric_limits<std::int32_t>::max());
    if (product >= kMax) {
        return std::numeric_limits<std::int32_t>::max();
    }
    double whole = std::floor(product);
    if (product - whole > 0.999999999999) {
        whole += 1;
    }
    return std::int64_t(whole);
}

JpegSearchResult searchJpegQuality(const JpegQualityEncoder& encoder, std::int64_t limitBytes,
                                   int parallel) {
    const int width = std::max(1, parallel > 0 ? parallel : QThread::idealThreadCount());
    JpegSearchResult result;

    // Coarse walk: 100, 95, ... 0; the first that fits wins.
    std::vector<int> coarse;
    for (int q = 100; q >= 0; q -= kCoarseStep) {
        coarse.push_back(q);
    }
    bool found = false;
    for (size_t start = 0; start < coarse.size() && !found; start += size_t(width)) {
        const std::vector<int> batch = slice(coarse, start, width);
        std::vector<Attempt> attempts = encodeBatch(encoder, batch, limitBytes);
        for (size_t i = 0; i < batch.size(); ++i) {
            if (fits(attempts[i], limitBytes)) {
                result = {true, batch[i], *attempts[i]};
                found = true;
                break;
            }
            if (batch[i] == 0) {
                result = {false, 0, attempts[i].value_or(QByteArray())};
                return result;
            }
        }
    }

    // Fine walk: best + 1, best + 2, ... while the files fit, at most four steps.
    std::vector<int> fine;
    for (int q = result.quality + 1; q <= std::min(result.quality + kFineSteps, 100); ++q) {
        fine.push_back(q);
    }
    for (size_t start = 0; start < fine.size(); start += size_t(width)) {
        const std::vector<int> batch = slice(fine, start, width);
        std::vector<Attempt> attempts = encodeBatch(encoder, batch, limitBytes);
        for (size_t i = 0; i < batch.size(); ++i) {
            if (!fits(attempts[i], limitBytes)) {
                return result;
            }
            result.quality = batch[i];
            result.bytes = *attempts[i];
        }
    }
    return result;
}

} // namespace portiqa
