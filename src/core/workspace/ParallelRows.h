#pragma once

// Runs a piece of work over the rows of a large picture on all cores: the rows are cut into
// bands, the bands go to the global thread pool and the calling thread works through them too,
// so a call from a worker thread neither deadlocks nor leaves a core idle. Small jobs run
// inline: threads only pay off past about a megapixel.
//
// `work(first, end)` handles rows first..end-1 and must touch nothing but those rows of its
// output; it may be called from any thread, several bands at once. run() returns when every
// band is done.

#include <functional>

namespace portiqa {

class ParallelRows {
public:
    // `pixelsPerRow` sizes the bands; below InlinePixels in all everything runs on the caller.
    static void run(int rows, int pixelsPerRow,
                    const std::function<void(int first, int end)>& work);

    static constexpr long long InlinePixels = 1LL << 20;
};

} // namespace portiqa
