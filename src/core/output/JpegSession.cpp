#include "core/output/JpegSession.h"

#include <algorithm>

namespace portiqa::jpeg {

namespace {

constexpr std::int64_t kInitialBuffer = 64 * 1024;

void errorExit(j_common_ptr cinfo) {
    auto* error = reinterpret_cast<Session::ErrorManager*>(cinfo->err);
    std::longjmp(error->jump, 1);
}

void silentMessage(j_common_ptr) {}

Session::Destination& destinationOf(j_compress_ptr cinfo) {
    return *reinterpret_cast<Session::Destination*>(cinfo->dest);
}

void initDestination(j_compress_ptr cinfo) {
    Session::Destination& dest = destinationOf(cinfo);
    std::int64_t size = kInitialBuffer;
    if (dest.capacityCap >= 0) {
        size = std::min(size, dest.capacityCap);
    }
    dest.buffer->resize(static_cast<qsizetype>(std::max<std::int64_t>(size, 1)));
    dest.pub.next_output_byte = reinterpret_cast<JOCTET*>(dest.buffer->data());
    dest.pub.free_in_buffer = static_cast<size_t>(dest.buffer->size());
}

// Called by libjpeg as soon as the buffer is full. A full buffer at the cap means the file has
// at least limit + 1 bytes: no need to write the rest.
boolean emptyOutputBuffer(j_compress_ptr cinfo) {
    Session::Destination& dest = destinationOf(cinfo);
    const std::int64_t used = dest.buffer->size();
    if (dest.capacityCap >= 0 && used >= dest.capacityCap) {
        dest.tooLarge = true;
        errorExit(reinterpret_cast<j_common_ptr>(cinfo));
    }
    std::int64_t grown = used * 2;
    if (dest.capacityCap >= 0) {
        grown = std::min(grown, dest.capacityCap);
    }
    dest.buffer->resize(static_cast<qsizetype>(grown));
    dest.pub.next_output_byte = reinterpret_cast<JOCTET*>(dest.buffer->data()) + used;
    dest.pub.free_in_buffer = static_cast<size_t>(grown - used);
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    Session::Destination& dest = destinationOf(cinfo);
    dest.buffer->resize(dest.buffer->size() - static_cast<qsizetype>(dest.pub.free_in_buffer));
}

// Kept apart from compress() so that the frame holding setjmp has no objects with destructors.
bool run(Session& session, Body body, void* context) {
    if (setjmp(session.error.jump) != 0) {
        jpeg_destroy_compress(&session.cinfo);
        return false;
    }
    jpeg_create_compress(&session.cinfo);
    session.cinfo.dest = &session.destination.pub;
    body(session, context);
    jpeg_destroy_compress(&session.cinfo);
    return true;
}

} // namespace

bool compress(QByteArray& out, std::int64_t maxBytes, Body body, void* context, bool* tooLarge) {
    Session session;
    session.cinfo.err = jpeg_std_error(&session.error.pub);
    session.error.pub.error_exit = errorExit;
    session.error.pub.output_message = silentMessage;
    session.destination.pub.init_destination = initDestination;
    session.destination.pub.empty_output_buffer = emptyOutputBuffer;
    session.destination.pub.term_destination = termDestination;
    session.destination.buffer = &out;
    session.destination.capacityCap = maxBytes >= 0 ? maxBytes + 1 : -1;

    const bool ok = run(session, body, context) && !session.destination.tooLarge;
    if (tooLarge) {
        *tooLarge = session.destination.tooLarge;
    }
    if (!ok) {
        out.clear();
    }
    return ok;
}

void applyOutputSettings(jpeg_compress_struct& cinfo, int quality, const JpegLayout& layout) {
    jpeg_set_defaults(&cinfo); // YCbCr with 2x2 luma sampling, JFIF header, no Adobe marker
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.dct_method = JDCT_ISLOW;
    cinfo.optimize_coding = TRUE;
    cinfo.write_JFIF_header = TRUE;
    cinfo.write_Adobe_marker = FALSE;
    const int lumaSampling = layout.fullChroma ? 1 : 2;
    cinfo.comp_info[0].h_samp_factor = lumaSampling;
    cinfo.comp_info[0].v_samp_factor = lumaSampling;
    for (int c = 1; c < 3; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    if (layout.dotsPerInch > 0) {
        cinfo.density_unit = 1; // dots per inch
        cinfo.X_density = static_cast<UINT16>(std::min(layout.dotsPerInch, 65535));
        cinfo.Y_density = cinfo.X_density;
    }
}

} // namespace portiqa::jpeg
