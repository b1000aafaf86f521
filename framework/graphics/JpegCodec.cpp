#include "framework/graphics/JpegCodec.h"

#include "framework/graphics/GdiObjects.h"

// libjpeg's headers expect size_t and FILE to be declared before them.
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

// libjpeg reports fatal errors through error_exit, which must not return.
// It longjmps back to the setjmp of the function that called into the
// library; those functions hold only trivially destructible locals between
// setjmp and any libjpeg call, so the jump skips no destructor.

namespace {
// Pictures with more pixels than this are checked whole before their pixels
// are allocated (16 MiB of them).
constexpr std::int64_t kCheckFirstPixels = std::int64_t(4) << 20;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr info, int level)
{
    if (level >= 0)
        return; // trace messages
    // Warnings that mean pixels are missing or wrong are treated as errors.
    const int code = info->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_HUFF_BAD_CODE ||
        code == JWRN_MUST_RESYNC || code == JWRN_NOT_SEQUENTIAL) {
        auto* err = reinterpret_cast<ErrorManager*>(info->err);
        (*info->err->format_message)(info, err->message);
        std::longjmp(err->jump, 1);
    }
}

void OnOutput(j_common_ptr) {}

void InitErrors(ErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    err.pub.output_message = OnOutput;
    err.message[0] = 0;
}

// The header step. Returns false (message in err) on failure.
bool ReadHeader(jpeg_decompress_struct& cinfo, ErrorManager& err, std::span<const std::uint8_t> data)
{
    if (setjmp(err.jump))
        return false;
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    return true;
}

// Receives each decoded row of RGB triples. It must not throw.
using RowSink = void (*)(void* context, int y, const std::uint8_t* rgb);

// The decoding step, one row at a time through row (width × 3 bytes);
// false on failure.
bool Decompress(jpeg_decompress_struct& cinfo, ErrorManager& err, std::uint8_t* row, RowSink sink, void* context)
{
    if (setjmp(err.jump))
        return false;
    cinfo.out_color_space = JCS_RGB;
    cinfo.dct_method = JDCT_ISLOW;
    cinfo.do_fancy_upsampling = TRUE;
    cinfo.do_block_smoothing = TRUE;
    cinfo.scale_num = 1;
    cinfo.scale_denom = 1;
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        JSAMPROW rows[1] = {row};
        if (jpeg_read_scanlines(&cinfo, rows, 1) == 1)
            sink(context, y, row);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

bool Compress(jpeg_compress_struct& cinfo, ErrorManager& err, const std::uint8_t* rgb, int width, int height,
              int quality, unsigned char** out, unsigned long* outSize)
{
    if (setjmp(err.jump))
        return false;
    jpeg_mem_dest(&cinfo, out, outSize);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t stride = std::size_t(width) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        auto row = const_cast<JSAMPROW>(rgb + std::size_t(cinfo.next_scanline) * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

// Owns a decompressor for its lifetime.
struct Decompressor {
    ErrorManager err;
    jpeg_decompress_struct cinfo;
    Decompressor()
    {
        InitErrors(err);
        cinfo.err = &err.pub;
        jpeg_create_decompress(&cinfo);
        // Without backing store, a picture that needs more working memory
        // than this fails cleanly instead of exhausting the machine.
        cinfo.mem->max_memory_to_use = 768L << 20;
    }
    ~Decompressor() { jpeg_destroy_decompress(&cinfo); }
};

JpegInfo HeaderOf(Decompressor& d, std::span<const std::uint8_t> data)
{
    if (data.size() < 2 || data[0] != 0xFF || data[1] != 0xD8)
        throw EJPEG("Not a JPEG image");
    if (!ReadHeader(d.cinfo, d.err, data))
        throw EJPEG(std::string("JPEG image is not valid: ") + d.err.message);
    JpegInfo info;
    info.width = int(d.cinfo.image_width);
    info.height = int(d.cinfo.image_height);
    info.components = d.cinfo.num_components;
    info.progressive = d.cinfo.progressive_mode;
    if (d.cinfo.jpeg_color_space != JCS_GRAYSCALE && d.cinfo.jpeg_color_space != JCS_YCbCr &&
        d.cinfo.jpeg_color_space != JCS_RGB)
        throw EJPEG("JPEG image uses an unsupported colour space (only grayscale and colour pictures are shown)");
    if (!IsAllowedBitmapSize(info.width, info.height))
        throw EJPEG("JPEG image is too large (" + std::to_string(info.width) + " x " + std::to_string(info.height) +
                    ")");
    return info;
}
} // namespace

JpegInfo ReadJpegInfo(std::span<const std::uint8_t> data)
{
    Decompressor d;
    return HeaderOf(d, data);
}

QImage DecodeJpeg(std::span<const std::uint8_t> data)
{
    Decompressor first;
    const JpegInfo info = HeaderOf(first, data);
    std::vector<std::uint8_t> row(std::size_t(info.width) * 3);
    // A large picture is first decoded without keeping its pixels, so that a
    // short or damaged file that claims a huge size fails before the pixels
    // are allocated.
    const bool checkFirst = std::int64_t(info.width) * info.height > kCheckFirstPixels;
    if (checkFirst) {
        auto ignore = [](void*, int, const std::uint8_t*) {};
        if (!Decompress(first.cinfo, first.err, row.data(), ignore, nullptr))
            throw EJPEG(std::string("JPEG image is damaged: ") + first.err.message);
    }
    QImage image = NewSurface(info.width, info.height);
    if (image.isNull())
        throw EOutOfMemory("Not enough memory for a " + std::to_string(info.width) + " x " +
                           std::to_string(info.height) + " picture");
    std::optional<Decompressor> second;
    Decompressor* d = &first;
    if (checkFirst) {
        second.emplace();
        HeaderOf(*second, data);
        d = &*second;
    }
    auto store = [](void* context, int y, const std::uint8_t* rgb) {
        auto& target = *static_cast<QImage*>(context);
        auto* out = reinterpret_cast<std::uint32_t*>(target.scanLine(y));
        for (int x = 0; x < target.width(); ++x, rgb += 3)
            out[x] = 0xFF000000u | (std::uint32_t(rgb[0]) << 16) | (std::uint32_t(rgb[1]) << 8) | rgb[2];
    };
    if (!Decompress(d->cinfo, d->err, row.data(), store, &image))
        throw EJPEG(std::string("JPEG image is damaged: ") + d->err.message);
    return image;
}

std::vector<std::uint8_t> EncodeJpeg(const QImage& pixels, int quality)
{
    const int width = pixels.width(), height = pixels.height();
    if (width <= 0 || height <= 0)
        return {};
    std::vector<std::uint8_t> rgb(std::size_t(width) * 3 * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(pixels.constScanLine(y));
        std::uint8_t* out = rgb.data() + std::size_t(y) * std::size_t(width) * 3;
        for (int x = 0; x < width; ++x, out += 3) {
            out[0] = std::uint8_t(in[x] >> 16);
            out[1] = std::uint8_t(in[x] >> 8);
            out[2] = std::uint8_t(in[x]);
        }
    }
    ErrorManager err;
    InitErrors(err);
    jpeg_compress_struct cinfo;
    cinfo.err = &err.pub;
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = Compress(cinfo, err, rgb.data(), width, height, std::clamp(quality, 1, 100), &buffer, &size);
    jpeg_destroy_compress(&cinfo);
    std::vector<std::uint8_t> result;
    if (ok && buffer)
        result.assign(buffer, buffer + size);
    std::free(buffer);
    if (!ok)
        throw EJPEG(std::string("JPEG encoding failed: ") + err.message);
    return result;
}
