#include "core/output/JpegSizeSearch.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <vector>

using namespace portiqa;

namespace {

// An encoder whose file sizes are scripted per quality; each "file" is its quality byte
// repeated, so the chosen bytes also tell which quality was picked.
class ScriptedJpeg final : public JpegQualityEncoder {
public:
    explicit ScriptedJpeg(std::function<int(int)> sizeOf) : sizeOf_(std::move(sizeOf)) {}

    std::optional<QByteArray> encode(int quality, std::int64_t maxBytes) const override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            tried_.push_back(quality);
        }
        const int size = sizeOf_(quality);
        if (maxBytes >= 0 && size > maxBytes) {
            return std::nullopt;
        }
        return QByteArray(size, char(quality));
    }

    std::vector<int> tried() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return tried_;
    }

private:
    std::function<int(int)> sizeOf_;
    mutable std::mutex mutex_;
    mutable std::vector<int> tried_;
};

std::vector<int> coarseFrom100To(int last) {
    std::vector<int> qualities;
    for (int q = 100; q >= last; q -= 5) {
        qualities.push_back(q);
    }
    return qualities;
}

std::vector<int> concat(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

TEST(JpegSizeSearch, WalksDownByFivesThenUpByOnes) {
    const struct {
        const char* name;
        std::function<int(int)> sizeOf;
        std::int64_t limit;
        bool fits;
        int quality;
        std::vector<int> tried;
    } cases[] = {
        {"quality 100 fits at once", [](int) { return 1000; }, 5000, true, 100, {100}},
        {"a size equal to the limit fits", [](int q) { return 10 * q; }, 1000, true, 100, {100}},
        {"stops at the first miss above the coarse fit",
         [](int q) { return q == 73 ? 100 : 10 * q; }, 715, true, 71,
         concat(coarseFrom100To(70), {71, 72})},
        {"95 fits so only 96 to 99 are tried",
         [](int q) { return q == 100 ? 2000 : 1000; },
         1000,
         true,
         99,
         {100, 95, 96, 97, 98, 99}},
        {"at most four steps up", [](int q) { return q > 74 ? 5000 : 100; }, 100, true, 74,
         concat(coarseFrom100To(70), {71, 72, 73, 74})},
        {"quality 1 beside a fitting 0", [](int q) { return 100 + q; }, 101, true, 1,
         concat(coarseFrom100To(0), {1, 2})},
        {"nothing fits: the quality-0 file", [](int q) { return 500 + q; }, 499, false, 0,
         coarseFrom100To(0)},
        {"a zero limit", [](int q) { return 1 + q; }, 0, false, 0, coarseFrom100To(0)},
    };
    for (const auto& c : cases) {
        const ScriptedJpeg encoder(c.sizeOf);
        const JpegSearchResult result = searchJpegQuality(encoder, c.limit, 1);
        EXPECT_EQ(result.fits, c.fits) << c.name;
        EXPECT_EQ(result.quality, c.quality) << c.name;
        EXPECT_EQ(result.bytes, QByteArray(c.sizeOf(c.quality), char(c.quality))) << c.name;
        EXPECT_EQ(encoder.tried(), c.tried) << c.name;
    }
}

// Encoding several qualities at once may only save time: over many scripted size curves
// (including ones that are not monotonic) every width of parallelism picks what the
// one-at-a-time walk picks.
TEST(JpegSizeSearch, ParallelWalksChooseWhatTheSequentialWalkChooses) {
    std::mt19937 random(42);
    for (int round = 0; round < 200; ++round) {
        std::map<int, int> sizes;
        int size = 200 + int(random() % 50);
        for (int q = 0; q <= 100; ++q) {
            size += int(random() % 40) - (random() % 5 == 0 ? 60 : 0);
            sizes[q] = std::max(1, size);
        }
        const auto sizeOf = [&sizes](int q) { return sizes.at(q); };
        const std::int64_t limit = 150 + random() % 3000;
        const JpegSearchResult expected = searchJpegQuality(ScriptedJpeg(sizeOf), limit, 1);
        for (int parallel : {2, 3, 4, 0}) {
            const JpegSearchResult result =
                searchJpegQuality(ScriptedJpeg(sizeOf), limit, parallel);
            ASSERT_EQ(result.fits, expected.fits) << round << " " << parallel;
            ASSERT_EQ(result.quality, expected.quality) << round << " " << parallel;
            ASSERT_EQ(result.bytes, expected.bytes) << round << " " << parallel;
        }
    }
}

TEST(JpegSizeSearch, LimitInBytesFromKilobytes) {
    const struct {
        double kb;
        std::int64_t bytes;
    } cases[] = {
        {500, 512000},
        {20.5, 20992},
        {0.5, 512},
        {1023.5 / 1024, 1023},         // a real fraction is dropped
        {(1024 - 1e-13) / 1024, 1024}, // rounding noise just below a whole number
        {1.0000001, 1024},
        {0.0000001, 0},
        {0, 0},
        {-3, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {3e6, 2147483647}, // beyond a 32-bit count
    };
    for (const auto& c : cases) {
        EXPECT_EQ(jpegLimitBytes(c.kb), c.bytes) << c.kb;
    }
}
