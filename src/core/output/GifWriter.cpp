#include "core/output/GifWriter.h"

#include "core/output/OpaqueImage.h"

#include <gif_lib.h>
#include <libimagequant.h>

#include <memory>
#include <vector>

namespace portiqa {

namespace {

constexpr int kGifMaxSide = 65535;

struct Palette {
    std::vector<GifColorType> colours;
    std::vector<unsigned char> indices; // one per pixel, row by row
};

struct LiqDeleter {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
    void operator()(liq_image* p) const { liq_image_destroy(p); }
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};
template <typename T> using LiqPtr = std::unique_ptr<T, LiqDeleter>;

// Chooses the palette and maps every pixel onto it. False when libimagequant fails.
bool quantize(const QImage& rgba, Palette& out) {
    LiqPtr<liq_attr> attr(liq_attr_create());
    if (!attr) {
        return false;
    }
    liq_set_max_colors(attr.get(), 256);
    // Speed 7 of 10: a photo's palette is just as good to the eye and a save stays quick.
    liq_set_speed(attr.get(), 7);
    LiqPtr<liq_image> image(
        liq_image_create_rgba(attr.get(), rgba.constBits(), rgba.width(), rgba.height(), 0.0));
    if (!image) {
        return false;
    }
    liq_result* raw = nullptr;
    if (liq_image_quantize(image.get(), attr.get(), &raw) != LIQ_OK || raw == nullptr) {
        return false;
    }
    LiqPtr<liq_result> result(raw);
    liq_set_dithering_level(result.get(), 1.0f);
    out.indices.resize(size_t(rgba.width()) * size_t(rgba.height()));
    if (liq_write_remapped_image(result.get(), image.get(), out.indices.data(),
                                 out.indices.size()) != LIQ_OK) {
        return false;
    }
    const liq_palette* palette = liq_get_palette(result.get());
    for (unsigned i = 0; i < palette->count; ++i) {
        const liq_color& c = palette->entries[i];
        out.colours.push_back(GifColorType{c.r, c.g, c.b});
    }
    return !out.colours.empty();
}

int appendToBuffer(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// A GIF colour table holds a power of two of entries; unused ones stay black.
ColorMapObject* makeColourMap(const std::vector<GifColorType>& colours) {
    int size = 2;
    while (size < int(colours.size())) {
        size *= 2;
    }
    std::vector<GifColorType> padded(colours);
    padded.resize(size_t(size), GifColorType{0, 0, 0});
    return GifMakeMapObject(size, padded.data());
}

bool writeGif(const Palette& palette, int width, int height, QByteArray& out) {
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendToBuffer, &error);
    if (!gif) {
        return false;
    }
    ColorMapObject* map = makeColourMap(palette.colours);
    bool ok = map && EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < height; ++y) {
        auto* row = const_cast<GifPixelType*>(palette.indices.data() + size_t(y) * size_t(width));
        ok = EGifPutLine(gif, row, width) == GIF_OK;
    }
    if (map) {
        GifFreeMapObject(map);
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    return ok;
}

} // namespace

QByteArray encodeGif(const QImage& image) {
    if (image.isNull() || image.width() > kGifMaxSide || image.height() > kGifMaxSide) {
        return {};
    }
    const QImage rgba = opaqueRgb888(image).convertToFormat(QImage::Format_RGBA8888);
    Palette palette;
    if (!quantize(rgba, palette)) {
        return {};
    }
    QByteArray bytes;
    if (!writeGif(palette, rgba.width(), rgba.height(), bytes)) {
        return {};
    }
    return bytes;
}

} // namespace portiqa
