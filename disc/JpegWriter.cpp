#include "disc/JpegWriter.h"

#include "disc/FileOut.h"

#include <QBuffer>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <jpeglib.h>

namespace disc {

namespace {

// libjpeg reports fatal errors by calling error_exit, which must not return;
// jump back to the encoder and turn it into an exception there.
struct JumpingErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void jumpOnError(j_common_ptr info)
{
    auto* manager = reinterpret_cast<JumpingErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Encodes rows of RGB888 pixels. Kept free of C++ objects with destructors,
// because a longjmp out of it would skip them.
bool encodeRows(const QImage& rgb, int quality, unsigned char** out, unsigned long* outSize, char* error)
{
    jpeg_compress_struct info;
    JumpingErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpOnError;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::snprintf(error, JMSG_LENGTH_MAX, "%s", errors.message);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, outSize);
    info.image_width = JDIMENSION(rgb.width());
    info.image_height = JDIMENSION(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = FALSE;
    // 4:2:0: luminance sampled 2 x 2, both chroma components once.
    info.comp_info[0].h_samp_factor = 2;
    info.comp_info[0].v_samp_factor = 2;
    info.comp_info[1].h_samp_factor = info.comp_info[1].v_samp_factor = 1;
    info.comp_info[2].h_samp_factor = info.comp_info[2].v_samp_factor = 1;
    info.density_unit = 0;
    info.X_density = info.Y_density = 1;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

std::vector<unsigned char> encodeJpeg(const QImage& image, int quality)
{
    if (image.isNull())
        throw OutputError("cannot encode an empty picture as JPEG");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    char error[JMSG_LENGTH_MAX] = {};
    const bool ok = encodeRows(rgb, quality, &buffer, &size, error);
    std::vector<unsigned char> bytes;
    if (ok)
        bytes.assign(buffer, buffer + size);
    std::free(buffer);
    if (!ok)
        throw OutputError(std::string("JPEG encoding failed: ") + error);
    return bytes;
}

void writeJpeg(const QImage& image, const std::filesystem::path& path, int quality)
{
    writeFileReplacing(path, encodeJpeg(image, quality));
}

std::vector<unsigned char> encodeBmp24(const QImage& image)
{
    if (image.isNull())
        throw OutputError("cannot encode an empty picture as BMP");
    // Qt writes every picture that is neither indexed nor monochrome as 24 bits.
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!rgb.save(&buffer, "BMP"))
        throw OutputError("BMP encoding failed");
    return std::vector<unsigned char>(data.begin(), data.end());
}

void writeBmp24(const QImage& image, const std::filesystem::path& path)
{
    writeFileReplacing(path, encodeBmp24(image));
}

} // namespace disc
