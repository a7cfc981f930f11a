#include "core/output/JpegQualityPass.h"

#include "core/output/JpegQuantiser.h"
#include "core/output/JpegSession.h"

#include <algorithm>
#include <cmath>
#include <cstring>

// Builds libjpeg's optimal Huffman table from symbol counts (clobbering the counts). Exported
// by libjpeg for its own modules; using it keeps our tables identical to the ones libjpeg
// builds for optimize_coding.
extern "C" void jpeg_gen_optimal_table(j_compress_ptr cinfo, JHUFF_TBL* htbl, long freq[]);

namespace portiqa::jpeg {

namespace {

constexpr int kSymbols = 257; // 256 symbols and the one libjpeg reserves

// Every file of ours carries at least SOI (2), JFIF APP0 (18), two 8-bit DQT (2 x 69), SOF0
// with three components (19), four DHT segments of at least 21 bytes (84), SOS (14) and EOI
// (2): a floor for the size before the entropy-coded data is counted.
constexpr std::int64_t kMinimumHeaderBytes = 2 + 18 + 2 * 69 + 19 + 4 * 21 + 14 + 2;

static_assert(sizeof(JCOEF) == 2, "8-bit libjpeg keeps coefficients in 16 bits");

int ceilDiv(int a, int b) {
    return (a + b - 1) / b;
}

struct Counts {
    long dc[2][kSymbols];
    long ac[2][kSymbols];
};

// Counts the symbols libjpeg's Huffman coder emits for one block (DC difference category, then
// run/size pairs with ZRL for runs over 15 and EOB when the block ends in zeros). Returns a
// floor for the bits they take whatever the tables: at least one bit of code per symbol, plus
// the magnitude bits.
int countBlock(const std::int16_t* q, int& lastDc, long* dc, long* ac) {
    const int dcBits = magnitudeBits(q[0] - lastDc);
    dc[dcBits]++;
    lastDc = q[0];
    int floorBits = 1 + dcBits;
    std::uint64_t mask = nonZeroMask(q) & ~std::uint64_t(1);
    int previous = 0;
    while (mask != 0) {
        const int k = lowestBit(mask);
        int run = k - previous - 1;
        while (run > 15) {
            ac[0xF0]++;
            ++floorBits;
            run -= 16;
        }
        const int bits = magnitudeBits(q[k]);
        ac[(run << 4) + bits]++;
        floorBits += 1 + bits;
        previous = k;
        mask &= mask - 1;
    }
    if (previous < kBlockArea - 1) {
        ac[0]++;
        ++floorBits;
    }
    return floorBits;
}

bool cannotFit(std::int64_t bits, std::int64_t maxBytes) {
    // Stuffing bytes and the final partial byte could only add to the size.
    return maxBytes >= 0 && kMinimumHeaderBytes + (bits + 7) / 8 > maxBytes;
}

} // namespace

// Per-quality state. Plain data only: a library error may jump over the frames using it.
struct QualityWork {
    const DctPicture* picture = nullptr;
    int quality = 0;
    std::int64_t maxBytes = -1;
    Divisors divisors[3]; // per component, from its quantisation table
    Counts counts{};
};

namespace {

void setDivisors(jpeg_compress_struct& cinfo, QualityWork& work) {
    for (int c = 0; c < 3; ++c) {
        const JQUANT_TBL& table = *cinfo.quant_tbl_ptrs[cinfo.comp_info[c].quant_tbl_no];
        for (int k = 0; k < kBlockArea; ++k) {
            work.divisors[c].set(k, std::uint32_t(table.quantval[kZigzagToNatural[k]]) << 3);
        }
    }
}

const std::int16_t* rawBlock(const DctPlane& plane, int bx, int by) {
    return plane.zigzag.data() + (size_t(by) * size_t(plane.blocksWide) + size_t(bx)) * 64;
}

// Quantises and counts the symbols in the order libjpeg codes the blocks: MCU by MCU, luma
// 2 x 2 blocks and one block of each chroma plane per MCU. Luma blocks past the picture's edge
// inside an MCU are padding: no AC, DC equal to the block before. Nothing is stored: the few
// qualities that get written are quantised again then, which is cheaper than keeping them all.
// Returns false as soon as the symbols counted so far cannot fit the budget: a quality far
// above the limit is settled after a few rows.
// 4:4:4: one block of each component per MCU, in raster order.
bool countFullChromaSymbols(QualityWork& work) {
    const DctPicture& p = *work.picture;
    const DctPlane& luma = p.planes[0];
    Counts& n = work.counts;
    int lastDc[3] = {0, 0, 0};
    std::int64_t floorBits = 0;
    alignas(16) std::int16_t q[kBlockArea];
    for (int by = 0; by < luma.blocksHigh; ++by) {
        for (int bx = 0; bx < luma.blocksWide; ++bx) {
            for (int c = 0; c < 3; ++c) {
                work.divisors[c].quantize(rawBlock(p.planes[size_t(c)], bx, by), q);
                const int table = c == 0 ? 0 : 1;
                floorBits += countBlock(q, lastDc[c], n.dc[table], n.ac[table]);
            }
        }
        if (cannotFit(floorBits, work.maxBytes)) {
            return false;
        }
    }
    return true;
}

bool countSymbols(QualityWork& work) {
    const DctPicture& p = *work.picture;
    if (p.layout.fullChroma) {
        return countFullChromaSymbols(work);
    }
    const int mcuCols = ceilDiv(p.width, 16);
    const int mcuRows = ceilDiv(p.height, 16);
    const DctPlane& luma = p.planes[0];
    Counts& n = work.counts;
    int lastDc[3] = {0, 0, 0};
    std::int64_t floorBits = 0;
    alignas(16) std::int16_t q[kBlockArea];
    for (int my = 0; my < mcuRows; ++my) {
        for (int mx = 0; mx < mcuCols; ++mx) {
            for (int b = 0; b < 4; ++b) {
                const int bx = 2 * mx + (b & 1), by = 2 * my + (b >> 1);
                if (bx < luma.blocksWide && by < luma.blocksHigh) {
                    work.divisors[0].quantize(rawBlock(luma, bx, by), q);
                    floorBits += countBlock(q, lastDc[0], n.dc[0], n.ac[0]);
                } else {
                    n.dc[0][0]++;
                    n.ac[0][0]++;
                    floorBits += 2;
                }
            }
            for (int c = 1; c < 3; ++c) {
                work.divisors[c].quantize(rawBlock(p.planes[size_t(c)], mx, my), q);
                floorBits += countBlock(q, lastDc[c], n.dc[1], n.ac[1]);
            }
        }
        if (cannotFit(floorBits, work.maxBytes)) {
            return false;
        }
    }
    return true;
}

// Builds the optimal table into `table` and returns the bits its symbols take, magnitude
// bits included (the DC symbol is the magnitude size; an AC symbol's low nibble is).
std::int64_t buildTable(jpeg_compress_struct& cinfo, JHUFF_TBL* table, const long* counts,
                        bool dc) {
    long scratch[kSymbols];
    std::memcpy(scratch, counts, sizeof scratch);
    jpeg_gen_optimal_table(&cinfo, table, scratch);
    std::int64_t bits = 0;
    int symbol = 0;
    for (int length = 1; length <= 16; ++length) {
        for (int i = 0; i < table->bits[length]; ++i, ++symbol) {
            const int value = table->huffval[symbol];
            bits += std::int64_t(counts[value]) * (length + (dc ? value : (value & 15)));
        }
    }
    return bits;
}

// A floor for the bits any prefix code gives these counts: no code beats the entropy
// (Shannon), plus the magnitude bits every code carries. Kept a few bits under the exact
// figure so that rounding can never lift it above the real length.
std::int64_t entropyFloorBits(const long* counts, bool dc) {
    double total = 0;
    for (int s = 0; s < 256; ++s) {
        total += double(counts[s]);
    }
    if (total <= 0) {
        return 0;
    }
    double bits = 0;
    for (int s = 0; s < 256; ++s) {
        if (counts[s] > 0) {
            const double n = double(counts[s]);
            bits += n * (std::log2(total / n) + double(dc ? s : (s & 15)));
        }
    }
    return std::max<std::int64_t>(0, std::int64_t(bits * (1 - 1e-9)) - 16);
}

void writeFile(jpeg_compress_struct& cinfo, QualityWork& work) {
    const DctPicture& p = *work.picture;
    jvirt_barray_ptr arrays[3];
    for (int c = 0; c < 3; ++c) {
        const jpeg_component_info& comp = cinfo.comp_info[c];
        const DctPlane& plane = p.planes[size_t(c)];
        const int wide = ceilDiv(plane.blocksWide, comp.h_samp_factor) * comp.h_samp_factor;
        const int high = ceilDiv(plane.blocksHigh, comp.v_samp_factor) * comp.v_samp_factor;
        arrays[c] = cinfo.mem->request_virt_barray(
            reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, TRUE, JDIMENSION(wide),
            JDIMENSION(high), JDIMENSION(comp.v_samp_factor));
    }
    jpeg_write_coefficients(&cinfo, arrays);
    alignas(16) std::int16_t q[kBlockArea];
    for (int c = 0; c < 3; ++c) {
        const DctPlane& plane = p.planes[size_t(c)];
        for (int by = 0; by < plane.blocksHigh; ++by) {
            JBLOCKROW row = cinfo.mem->access_virt_barray(reinterpret_cast<j_common_ptr>(&cinfo),
                                                          arrays[c], JDIMENSION(by), 1, TRUE)[0];
            for (int bx = 0; bx < plane.blocksWide; ++bx) {
                work.divisors[c].quantize(rawBlock(plane, bx, by), q);
                for (int k = 0; k < kBlockArea; ++k) {
                    row[bx][kZigzagToNatural[k]] = q[k];
                }
            }
        }
    }
    jpeg_finish_compress(&cinfo);
}

// The session body: may be left by a library error, so it owns nothing with a destructor.
void encodeBody(Session& session, void* context) {
    auto& work = *static_cast<QualityWork*>(context);
    jpeg_compress_struct& cinfo = session.cinfo;
    cinfo.image_width = JDIMENSION(work.picture->width);
    cinfo.image_height = JDIMENSION(work.picture->height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    applyOutputSettings(cinfo, work.quality, work.picture->layout);

    setDivisors(cinfo, work);
    if (!countSymbols(work)) {
        session.destination.tooLarge = true;
        return;
    }
    // Most qualities the search tries are far too large; the entropy floor tells without
    // building the tables.
    std::int64_t floorBits = 0;
    for (int t = 0; t < 2; ++t) {
        floorBits += entropyFloorBits(work.counts.dc[t], true);
        floorBits += entropyFloorBits(work.counts.ac[t], false);
    }
    if (cannotFit(floorBits, work.maxBytes)) {
        session.destination.tooLarge = true;
        return;
    }
    std::int64_t bits = 0;
    for (int t = 0; t < 2; ++t) {
        bits += buildTable(cinfo, cinfo.dc_huff_tbl_ptrs[t], work.counts.dc[t], true);
        bits += buildTable(cinfo, cinfo.ac_huff_tbl_ptrs[t], work.counts.ac[t], false);
    }
    if (cannotFit(bits, work.maxBytes)) {
        session.destination.tooLarge = true;
        return;
    }
    // The tables are already the optimal ones libjpeg's statistics pass would build.
    cinfo.optimize_coding = FALSE;
    writeFile(cinfo, work);
}

} // namespace

std::optional<QByteArray> encodeDct(const DctPicture& picture, int quality, std::int64_t maxBytes) {
    if (picture.width <= 0 || picture.height <= 0) {
        return QByteArray();
    }
    QualityWork work;
    work.picture = &picture;
    work.quality = quality;
    work.maxBytes = maxBytes;
    QByteArray out;
    bool tooLarge = false;
    if (!compress(out, maxBytes, encodeBody, &work, &tooLarge) && tooLarge) {
        return std::nullopt;
    }
    return out;
}

} // namespace portiqa::jpeg
