#include "core/image/JpegDecoder.h"

#include "core/image/ExifOrientation.h"

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <vector>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace portiqa {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int failCode = 0;
    bool ranOutOfData = false;  // the file ended before its end-of-image marker
    bool missingPixels = false; // a scan needed bits that were not there
};

[[noreturn]] void onError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    manager->failCode = cinfo->err->msg_code;
    std::longjmp(manager->jump, 1);
}

// libjpeg only warns when the data stops early and fills the rest with grey; see
// JpegSession::dataEndedEarly for what counts as failure.
void onMessage(j_common_ptr cinfo, int level) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0) {
        manager->ranOutOfData |= cinfo->err->msg_code == JWRN_JPEG_EOF;
        manager->missingPixels |= cinfo->err->msg_code == JWRN_HIT_MARKER;
    }
}

void silent(j_common_ptr) {}

// A progressive file may hold any number of scans, each a pass over the whole picture; a few
// dozen is already generous, so thousands mean a damaged or hostile file.
constexpr int kMaxScans = 500;

void onProgress(j_common_ptr cinfo) {
    const auto* info = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (info->input_scan_number > kMaxScans) {
        auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
        manager->failCode = JERR_BAD_PROGRESSION;
        std::longjmp(manager->jump, 1);
    }
}

constexpr J_COLOR_SPACE kBgraOut = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;

// One decompression. Every stage that calls into libjpeg sets its own jump point and keeps
// only plain locals, so a longjmp out of libjpeg never skips a destructor.
class JpegSession {
public:
    JpegSession() {
        cinfo_.err = jpeg_std_error(&errors_.pub);
        errors_.pub.error_exit = onError;
        errors_.pub.emit_message = onMessage;
        errors_.pub.output_message = silent;
        if (setjmp(errors_.jump)) { // out of memory for libjpeg's own state
            return;
        }
        jpeg_create_decompress(&cinfo_);
        created_ = true;
        progress_.progress_monitor = onProgress;
        cinfo_.progress = &progress_;
    }
    ~JpegSession() {
        if (created_) {
            jpeg_destroy_decompress(&cinfo_);
        }
    }
    JpegSession(const JpegSession&) = delete;
    JpegSession& operator=(const JpegSession&) = delete;

    jpeg_decompress_struct& info() { return cinfo_; }
    int failCode() const { return errors_.failCode; }
    // A grey half photo must never pass for a picture. A single-scan file that lacks only
    // its end marker has every pixel and is fine; in a progressive (multi-scan) file the end
    // of the data may cut off whole refinement scans without any pixel going short, so
    // there any early end counts.
    bool dataEndedEarly() const {
        return errors_.missingPixels || (errors_.ranOutOfData && multiScan_);
    }

    bool readHeader(const QByteArray& bytes) {
        if (!created_) {
            errors_.failCode = JERR_OUT_OF_MEMORY;
            return false;
        }
        if (setjmp(errors_.jump)) {
            return false;
        }
        jpeg_mem_src(&cinfo_, reinterpret_cast<const unsigned char*>(bytes.constData()),
                     static_cast<unsigned long>(bytes.size()));
        jpeg_save_markers(&cinfo_, JPEG_APP0 + 1, 0xFFFF);
        if (jpeg_read_header(&cinfo_, TRUE) != JPEG_HEADER_OK) {
            return false;
        }
        multiScan_ = jpeg_has_multiple_scans(&cinfo_) != 0;
        return true;
    }

    int orientation() {
        for (jpeg_saved_marker_ptr m = cinfo_.marker_list; m != nullptr; m = m->next) {
            if (m->marker == JPEG_APP0 + 1) {
                const int value = ExifOrientation::fromApp1(m->data, m->data_length);
                if (value != 1) {
                    return value;
                }
            }
        }
        return 1;
    }

    bool start(int denominator, J_COLOR_SPACE out) {
        if (setjmp(errors_.jump)) {
            return false;
        }
        cinfo_.out_color_space = out;
        cinfo_.scale_num = 1;
        cinfo_.scale_denom = static_cast<unsigned>(denominator);
        if (denominator > 1) {
            // A first view is replaced by the full picture moments later: speed over polish.
            cinfo_.dct_method = JDCT_IFAST;
            cinfo_.do_fancy_upsampling = FALSE;
        }
        return jpeg_start_decompress(&cinfo_) != 0;
    }

    // Reads every row into `rows[i]`; false on error or when `cancel` gets set.
    bool readRows(unsigned char* const* rows, const std::atomic<bool>* cancel) {
        if (setjmp(errors_.jump)) {
            return false;
        }
        while (cinfo_.output_scanline < cinfo_.output_height) {
            if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
                jpeg_abort_decompress(&cinfo_);
                return false;
            }
            const JDIMENSION line = cinfo_.output_scanline;
            const JDIMENSION wanted = std::min<JDIMENSION>(16, cinfo_.output_height - line);
            if (jpeg_read_scanlines(&cinfo_, const_cast<JSAMPARRAY>(rows + line), wanted) == 0) {
                return false;
            }
        }
        return jpeg_finish_decompress(&cinfo_) != 0;
    }

private:
    jpeg_decompress_struct cinfo_{};
    ErrorManager errors_{};
    jpeg_progress_mgr progress_{};
    bool multiScan_ = false;
    bool created_ = false;
};

DecodeError errorFor(int code) {
    switch (code) {
    case JERR_OUT_OF_MEMORY:
        return DecodeError::OutOfMemory;
    case JERR_BAD_PRECISION:
    case JERR_SOF_UNSUPPORTED:
    case JERR_ARITH_NOTIMPL:
    case JERR_CONVERSION_NOTIMPL:
    case JERR_NOT_COMPILED:
        return DecodeError::Unsupported;
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
        return DecodeError::TooLarge;
    default:
        return DecodeError::Corrupt;
    }
}

// CMYK samples to RGB, in place. Adobe's programs store the inks inverted (0 = full ink) and
// mark the file with an APP14 segment; without the mark the samples are plain ink amounts.
void cmykRowToRgb32(QRgb* row, int width, bool adobeInverted) {
    auto* bytes = reinterpret_cast<const unsigned char*>(row);
    for (int x = 0; x < width; ++x) {
        const unsigned char* in = bytes + 4 * x;
        int c = in[0], m = in[1], y = in[2], k = in[3];
        if (!adobeInverted) {
            c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        }
        row[x] = qRgb((c * k + 127) / 255, (m * k + 127) / 255, (y * k + 127) / 255);
    }
}

// The picture's size when fitted into `area` (never enlarged), rounded up: the smallest
// preview that still gives every displayed pixel its own source pixel.
QSize fittedSize(QSize picture, QSize area) {
    const double zoom = std::min(
        {1.0, double(area.width()) / picture.width(), double(area.height()) / picture.height()});
    return QSize(int(std::ceil(picture.width() * zoom - 1e-9)),
                 int(std::ceil(picture.height() * zoom - 1e-9)));
}

DecodedPicture failed(DecodeError error, QSize fullSize = {}) {
    DecodedPicture result = DecodedPicture::failure(error, {});
    result.fullSize = fullSize;
    return result;
}

} // namespace

int JpegDecoder::scaleDenominator(QSize stored, QSize minimum) {
    if (minimum.isEmpty()) {
        return 1;
    }
    for (int denominator : {8, 4, 2}) {
        const int w = (stored.width() + denominator - 1) / denominator;
        const int h = (stored.height() + denominator - 1) / denominator;
        if (w >= minimum.width() && h >= minimum.height()) {
            return denominator;
        }
    }
    return 1;
}

DecodedPicture JpegDecoder::decode(const QByteArray& bytes, const DecodeLimits& limits,
                                   QSize previewArea, const std::atomic<bool>* cancel) {
    JpegSession session;
    jpeg_decompress_struct& info = session.info();
    if (!session.readHeader(bytes)) {
        return failed(errorFor(session.failCode()));
    }
    const int orientation = session.orientation();
    const QSize stored(int(info.image_width), int(info.image_height));
    const QSize upright = ExifOrientation::swapsSides(orientation) ? stored.transposed() : stored;
    if (!limits.accepts(info.image_width, info.image_height)) {
        return failed(DecodeError::TooLarge, upright);
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    QSize minimum = previewArea.isEmpty() ? QSize() : fittedSize(upright, previewArea);
    if (ExifOrientation::swapsSides(orientation)) {
        minimum.transpose();
    }
    if (!session.start(scaleDenominator(stored, minimum), cmyk ? JCS_CMYK : kBgraOut)) {
        return failed(errorFor(session.failCode()), upright);
    }

    QImage image(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (image.isNull()) {
        return failed(DecodeError::OutOfMemory, upright);
    }
    // CMYK samples are four bytes a pixel too: they land in the image and are converted there.
    std::vector<unsigned char*> rows(info.output_height);
    for (int y = 0; y < image.height(); ++y) {
        rows[size_t(y)] = image.scanLine(y);
    }
    if (!session.readRows(rows.data(), cancel)) {
        const bool stopped = cancel != nullptr && cancel->load();
        return failed(stopped ? DecodeError::Cancelled : errorFor(session.failCode()), upright);
    }
    if (session.dataEndedEarly()) {
        return failed(DecodeError::Corrupt, upright);
    }
    if (cmyk) {
        for (int y = 0; y < image.height(); ++y) {
            cmykRowToRgb32(reinterpret_cast<QRgb*>(image.scanLine(y)), image.width(),
                           info.saw_Adobe_marker != 0);
        }
    }
    DecodedPicture result;
    result.image = ExifOrientation::apply(image, orientation);
    result.fullSize = upright;
    return result;
}

} // namespace portiqa
