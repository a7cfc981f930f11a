#pragma once

// libjpeg glue shared by the plain JPEG writer and the quality-search encoder: an error manager
// that jumps back instead of ending the process, and a memory destination that can give up as
// soon as the file grows past a byte budget (the size search only needs to know "too large").
//
// Internal to core/output.

#include "core/output/JpegLayout.h"

#include <QByteArray>

#include <csetjmp>
#include <cstdint>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace portiqa::jpeg {

struct Session {
    jpeg_compress_struct cinfo{};
    struct ErrorManager {
        jpeg_error_mgr pub; // first member: libjpeg sees only this part
        std::jmp_buf jump;
    } error{};
    struct Destination {
        jpeg_destination_mgr pub; // first member
        QByteArray* buffer = nullptr;
        std::int64_t capacityCap = -1; // limit + 1 bytes; reaching it means "too large"
        bool tooLarge = false;
    } destination{};
};

// What a compression body does with a ready session (create, destination and error manager are
// set up; the body sets parameters, writes the data and finishes). It may be left by a jump, so
// it must not own objects with destructors.
using Body = void (*)(Session& session, void* context);

// Runs `body` on a fresh compressor writing into `out`. maxBytes < 0 means no limit. Returns
// true when the file was written completely within the limit; `tooLarge` tells a file that
// outgrew the limit (found by the destination, or set by the body when it knows in advance)
// from a library error.
bool compress(QByteArray& out, std::int64_t maxBytes, Body body, void* context,
              bool* tooLarge = nullptr);

// Applies the program's JPEG settings to a compressor whose image size, components and colour
// space are set: baseline, the layout's chroma sampling (4:2:0 by default), accurate integer
// DCT, optimised Huffman tables, JFIF only with the layout's resolution.
void applyOutputSettings(jpeg_compress_struct& cinfo, int quality, const JpegLayout& layout);

} // namespace portiqa::jpeg
