#include "core/output/JpegPlanes.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

namespace portiqa {

namespace {

struct ErrorManager {
    jpeg_error_mgr pub; // first member: libjpeg sees only this part
    std::jmp_buf jump;
};

void errorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void silentMessage(j_common_ptr) {}

// Kept apart from decodeJpegPlanes() so that the frame holding setjmp owns nothing with a
// destructor; `row` is a buffer of at least width x 3 bytes once the header is read.
bool decode(jpeg_decompress_struct& cinfo, ErrorManager& error, const QByteArray& file,
            JpegPlanes& planes, std::vector<std::uint8_t>& row) {
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(file.constData()),
                 static_cast<unsigned long>(file.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.num_components != 3) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    cinfo.out_color_space = JCS_YCbCr;
    jpeg_start_decompress(&cinfo);
    const size_t width = cinfo.output_width;
    const size_t height = cinfo.output_height;
    planes.width = static_cast<int>(width);
    planes.height = static_cast<int>(height);
    for (auto& plane : planes.planes) {
        plane.resize(width * height);
    }
    row.resize(width * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        const size_t y = cinfo.output_scanline;
        JSAMPROW line = row.data();
        jpeg_read_scanlines(&cinfo, &line, 1);
        for (size_t x = 0; x < width; ++x) {
            planes.planes[0][y * width + x] = row[3 * x];
            planes.planes[1][y * width + x] = row[3 * x + 1];
            planes.planes[2][y * width + x] = row[3 * x + 2];
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

bool decodeJpegPlanes(const QByteArray& file, JpegPlanes& out) {
    jpeg_decompress_struct cinfo{};
    ErrorManager error{};
    cinfo.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = errorExit;
    error.pub.output_message = silentMessage;
    JpegPlanes planes;
    std::vector<std::uint8_t> row;
    if (!decode(cinfo, error, file, planes, row)) {
        return false;
    }
    out = std::move(planes);
    return true;
}

} // namespace portiqa
