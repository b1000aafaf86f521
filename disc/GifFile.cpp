#include "disc/GifFile.h"

#include "disc/FileOut.h"

#include <gif_lib.h>

#include <memory>
#include <string>

namespace disc {

namespace {

int appendBytes(GifFileType* gif, const GifByteType* bytes, int length)
{
    auto* out = static_cast<std::vector<unsigned char>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + length);
    return length;
}

[[noreturn]] void fail(const char* step, int error)
{
    const char* reason = GifErrorString(error);
    throw OutputError(std::string("GIF encoding failed at ") + step + ": " + (reason ? reason : "unknown error"));
}

struct MapFree {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

} // namespace

std::vector<unsigned char> encodeGif(const IndexedImage& image)
{
    if (image.width <= 0 || image.height <= 0 || image.width > 0xFFFF || image.height > 0xFFFF ||
        image.palette.empty() || image.palette.size() > 256)
        throw OutputError("cannot encode this picture as a GIF file");
    int tableSize = 2;
    while (tableSize < static_cast<int>(image.palette.size()))
        tableSize *= 2;
    std::unique_ptr<ColorMapObject, MapFree> map(GifMakeMapObject(tableSize, nullptr));
    if (!map)
        throw OutputError("GIF encoding failed: no colour table");
    for (int i = 0; i < tableSize; ++i) {
        const std::uint32_t c = i < static_cast<int>(image.palette.size()) ? image.palette[std::size_t(i)] : 0;
        map->Colors[i] = GifColorType{static_cast<GifByteType>(c >> 16), static_cast<GifByteType>(c >> 8),
                                      static_cast<GifByteType>(c)};
    }

    std::vector<unsigned char> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendBytes, &error);
    if (!gif)
        fail("open", error);
    auto close = [&](bool failed, const char* step) {
        int closeError = 0;
        const int lastError = gif->Error;
        const bool closed = EGifCloseFile(gif, &closeError) == GIF_OK;
        if (failed)
            fail(step, lastError);
        if (!closed)
            fail("close", closeError);
    };
    EGifSetGifVersion(gif, true);
    if (EGifPutScreenDesc(gif, image.width, image.height, GifBitSize(tableSize), 0, map.get()) != GIF_OK) {
        close(true, "screen descriptor");
    }
    if (EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) != GIF_OK)
        close(true, "image descriptor");
    std::vector<GifPixelType> row(static_cast<std::size_t>(image.width));
    for (int y = 0; y < image.height; ++y) {
        const auto* indices =
            image.indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width);
        row.assign(indices, indices + image.width);
        if (EGifPutLine(gif, row.data(), image.width) != GIF_OK)
            close(true, "pixel data");
    }
    close(false, "");
    return out;
}

} // namespace disc
