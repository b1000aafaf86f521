// Runs the picture reader's fuzz entry on every file in the given folders
// (kept findings), after a few well-formed inputs made here.

#include "framework/graphics/JpegImage.h"

#include <cstdio>
#include <filesystem>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {
void Run(std::uint8_t reader, const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::uint8_t> input{reader};
    input.insert(input.end(), bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(input.data(), input.size());
}
} // namespace

int main(int argc, char** argv)
{
    TBitmap bitmap;
    bitmap.SetSize(7, 5);
    bitmap.SetPixelFormat(TPixelFormat::pf8bit);
    TMemoryStream bmp;
    bitmap.SaveToStream(bmp);
    Run(0, bmp.Bytes());
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    Run(1, jpeg.Data());

    int files = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], error)) {
            if (!entry.is_regular_file())
                continue;
            const std::vector<std::uint8_t> bytes = ReadWholeFile(entry.path());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++files;
        }
    }
    std::printf("replayed %d kept inputs\n", files);
    return 0;
}
