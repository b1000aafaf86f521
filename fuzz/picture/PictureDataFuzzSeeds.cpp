// Writes the picture data fuzzer's seeds into a folder: blocks made by the
// encoder from bitmaps of every layout (first byte even), and the same
// pictures' payloads for the fuzzer to compress itself (first byte odd).

#include "framework/graphics/Bitmap.h"
#include "picture/CompressedData.h"
#include "picture/DeltaFilter.h"
#include "testdata/TestBitmaps.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

void Write(const std::filesystem::path& file, std::uint8_t mode, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out.put(char(mode));
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: picture_data_fuzz_seeds FOLDER\n");
        return 1;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const TestBitmap layouts[] = {
        {.bitCount = 1, .width = 13, .height = 5},
        {.bitCount = 4, .width = 9, .height = -4, .tableEntries = 5},
        {.bitCount = 8, .width = 11, .height = 6},
        {.bitCount = 16, .width = 7, .height = 3, .bitfields = true},
        {.bitCount = 16, .width = 6, .height = -3},
        {.bitCount = 24, .width = 10, .height = 4},
        {.bitCount = 24, .width = 5, .height = 5, .tableEntries = 2},
        {.bitCount = 32, .width = 4, .height = -4},
        {.bitCount = 32, .width = 3, .height = 2, .bitfields = true},
    };
    for (const TestBitmap& layout : layouts) {
        const std::vector<std::uint8_t> image = MakeBmp(layout);
        TBitmap bitmap;
        TSpanStream in(image);
        bitmap.LoadFromStream(in);
        TMemoryStream stored;
        CompressGraphic(bitmap, stored);
        TMemoryStream block;
        WriteCompressedData(block, stored);
        Write(folder / ("block-" + layout.Name()), 0, block.Bytes());

        std::vector<std::uint8_t> payload{DeltaStrideForBitCount(std::uint16_t(layout.bitCount))};
        const unsigned stride = payload[0];
        for (std::size_t i = 0; i < image.size(); ++i)
            payload.push_back(i >= stride ? std::uint8_t(image[i] - image[i - stride]) : image[i]);
        Write(folder / ("payload-" + layout.Name()), 1, payload);
    }
    std::printf("seeds written to %s\n", folder.c_str());
    return 0;
}
