// One input, read as a BMP file image, a JPEG file, or a picture's stored
// "Data" (chosen by the first byte). Every outcome is allowed except a crash,
// a sanitizer report or an exception that is not the framework's own.

#include "framework/graphics/JpegImage.h"
#include "framework/graphics/Picture.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    TSpanStream input({data + 1, size - 1});
    try {
        switch (data[0] % 3) {
        case 0: {
            TBitmap bitmap;
            bitmap.LoadFromStream(input);
            // A loaded bitmap must also draw and save.
            if (!bitmap.Empty()) {
                bitmap.Canvas()->SetPixels(0, 0, clRed);
                TMemoryStream out;
                bitmap.SaveToStream(out);
            }
            break;
        }
        case 1: {
            TJPEGImage jpeg;
            jpeg.LoadFromStream(input);
            break;
        }
        default: {
            TPicture picture;
            picture.ReadData(input);
            break;
        }
        }
    } catch (const Exception&) {
        // Bad input is reported with the framework's errors: that is the point.
    }
    return 0;
}
