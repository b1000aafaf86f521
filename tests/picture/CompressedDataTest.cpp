// The stored picture format end to end: bitmaps made here byte by byte are
// encoded, checked with plain zlib, and decoded back byte for byte; crafted
// and damaged streams must fail with the right error and leave the picture
// as it was.

#include "picture/CompressedData.h"

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/JpegImage.h"
#include "testdata/TestBitmaps.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

namespace {

std::vector<std::uint8_t> Saved(const TGraphic& graphic)
{
    TMemoryStream stream;
    graphic.SaveToStream(stream);
    return stream.TakeBytes();
}

std::vector<std::uint8_t> Compressed(const TGraphic& graphic)
{
    TMemoryStream stream;
    CompressGraphic(graphic, stream);
    return stream.TakeBytes();
}

void LoadBytes(TGraphic& graphic, const std::vector<std::uint8_t>& bytes)
{
    TSpanStream stream(bytes);
    graphic.LoadFromStream(stream);
}

void Decompress(TGraphic& graphic, const std::vector<std::uint8_t>& stream)
{
    TMemoryStream source(stream);
    DecompressGraphic(graphic, source);
}

// A graphic that keeps the bytes it is loaded from, to see the restored file
// image itself whatever it holds.
class TRawGraphic : public TGraphic {
public:
    std::vector<std::uint8_t> bytes;
    bool loaded = false;

    bool Empty() const override { return bytes.empty(); }
    int Width() const override { return 0; }
    int Height() const override { return 0; }
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    void LoadFromStream(TStream& stream) override
    {
        bytes.resize(std::size_t(stream.Size() - stream.Position()));
        stream.ReadBuffer(bytes.data(), std::int64_t(bytes.size()));
        loaded = true;
    }
    void SaveToStream(TStream& stream) const override { stream.WriteBuffer(bytes.data(), std::int64_t(bytes.size())); }
    std::unique_ptr<TGraphic> NewInstance() const override { return std::make_unique<TRawGraphic>(); }

protected:
    void Draw(TCanvas&, const TRect&) const override {}
};

// A graphic that saves the way some file writers do: a placeholder, the data,
// then back to fill in the size, and on past the end.
class TPatchingGraphic : public TRawGraphic {
public:
    void SaveToStream(TStream& stream) const override
    {
        const std::int64_t start = stream.Position();
        stream.WriteBuffer("\0\0\0\0data", 8);
        const std::int64_t size = stream.Size();
        stream.Seek(start, TSeekOrigin::soBeginning);
        const std::uint8_t patch = std::uint8_t(size);
        stream.WriteBuffer(&patch, 1);
        stream.Seek(0, TSeekOrigin::soEnd);
        stream.Seek(2, TSeekOrigin::soCurrent);
        stream.WriteBuffer("Z", 1);
    }
};

std::uint8_t ExpectedStride(int bitCount)
{
    switch (bitCount) {
    case 16: return 2;
    case 24: return 3;
    case 32: return 4;
    default: return 1;
    }
}

// The payload for a file image by the format's definition, out of place.
std::vector<std::uint8_t> ExpectedPayload(const std::vector<std::uint8_t>& image, std::uint8_t stride)
{
    std::vector<std::uint8_t> payload{stride};
    for (std::size_t i = 0; i < image.size(); ++i)
        payload.push_back(stride && i >= stride ? std::uint8_t(image[i] - image[i - stride]) : image[i]);
    return payload;
}

std::vector<std::uint8_t> Example90x30()
{
    return MakeBmp(TestBitmap{.bitCount = 24, .width = 90, .height = 30});
}

class RoundTrip : public testing::TestWithParam<TestBitmap> {};

} // namespace

TEST_P(RoundTrip, EveryBitmapComesBackByteForByte)
{
    const std::vector<std::uint8_t> image = MakeBmp(GetParam());
    TBitmap bitmap;
    LoadBytes(bitmap, image);
    ASSERT_EQ(Saved(bitmap), image) << "the bitmap saves its file image back unchanged";

    const std::vector<std::uint8_t> stream = Compressed(bitmap);
    ASSERT_GE(stream.size(), 2u);
    EXPECT_EQ(stream[0], 0x78);
    EXPECT_EQ(stream[1], 0x9C);
    EXPECT_EQ(Unzlib(stream), ExpectedPayload(image, ExpectedStride(GetParam().bitCount)));

    TBitmap back;
    TMemoryStream source(stream);
    DecompressGraphic(back, source);
    EXPECT_EQ(Saved(back), image);
    EXPECT_EQ(back.Width(), bitmap.Width());
    EXPECT_EQ(back.Height(), bitmap.Height());
    EXPECT_EQ(source.Position(), std::int64_t(stream.size()));
}

INSTANTIATE_TEST_SUITE_P(
    AllLayouts, RoundTrip,
    testing::ValuesIn([] {
        std::vector<TestBitmap> layouts;
        const TestBitmap base[] = {
            {.bitCount = 1, .width = 37},
            {.bitCount = 4, .width = 37},
            {.bitCount = 4, .width = 37, .tableEntries = 6},
            {.bitCount = 8, .width = 37},
            {.bitCount = 8, .width = 37, .tableEntries = 20},
            {.bitCount = 16, .width = 37},
            {.bitCount = 16, .width = 37, .tableEntries = 4},
            {.bitCount = 16, .width = 37, .bitfields = true},
            {.bitCount = 24, .width = 37},
            {.bitCount = 24, .width = 37, .tableEntries = 8},
            {.bitCount = 32, .width = 37},
            {.bitCount = 32, .width = 37, .tableEntries = 3},
            {.bitCount = 32, .width = 37, .bitfields = true},
            {.bitCount = 24, .width = 1, .height = 1},
            {.bitCount = 8, .width = 640, .height = 480, .seed = 5},
        };
        for (TestBitmap layout : base) {
            layouts.push_back(layout);
            layout.height = -layout.height;
            layouts.push_back(layout);
        }
        return layouts;
    }()),
    [](const testing::TestParamInfo<TestBitmap>& info) { return info.param.Name(); });

TEST(CompressedData, The90x30TrueColourExampleKeepsItsHeaderBytesAndStoresDifferences)
{
    const std::vector<std::uint8_t> image = Example90x30();
    ASSERT_EQ(image.size(), 8214u);
    TBitmap bitmap;
    LoadBytes(bitmap, image);

    const std::vector<std::uint8_t> payload = Unzlib(Compressed(bitmap));
    ASSERT_EQ(payload.size(), 8215u);
    EXPECT_EQ(payload[0], 3);
    EXPECT_EQ(payload[1], 'B');
    EXPECT_EQ(payload[2], 'M');
    EXPECT_EQ(payload[3], image[2]) << "low byte of the file size";
    for (std::size_t i = 3; i < image.size(); ++i)
        ASSERT_EQ(payload[1 + i], std::uint8_t(image[i] - image[i - 3])) << "byte " << i;
}

TEST(CompressedData, NewBitmapsGetTheStrideOfTheLayoutTheySaveIn)
{
    TBitmap bitmap;
    bitmap.SetSize(7, 5);
    EXPECT_EQ(Unzlib(Compressed(bitmap))[0], 3) << "a new bitmap saves as 24 bits";
    bitmap.SetPixelFormat(TPixelFormat::pf8bit);
    EXPECT_EQ(Unzlib(Compressed(bitmap))[0], 1);
    bitmap.SetPixelFormat(TPixelFormat::pf32bit);
    const std::vector<std::uint8_t> stream = Compressed(bitmap);
    EXPECT_EQ(Unzlib(stream)[0], 4);
    TBitmap back;
    Decompress(back, stream);
    EXPECT_EQ(Saved(back), Saved(bitmap));
}

TEST(CompressedData, AGraphicThatIsNotABitmapIsStoredUnfiltered)
{
    TBitmap bitmap;
    LoadBytes(bitmap, Example90x30());
    TJPEGImage jpeg;
    jpeg.Assign(&bitmap);
    ASSERT_FALSE(jpeg.Empty());

    const std::vector<std::uint8_t> stream = Compressed(jpeg);
    std::vector<std::uint8_t> expected{0};
    expected.insert(expected.end(), jpeg.Data().begin(), jpeg.Data().end());
    EXPECT_EQ(Unzlib(stream), expected);

    TJPEGImage back;
    Decompress(back, stream);
    EXPECT_EQ(back.Data(), jpeg.Data());
    EXPECT_EQ(back.Width(), 90);
}

TEST(CompressedData, PayloadsNoLongerThanTheirStrideAreNotFiltered)
{
    for (std::uint8_t stride = 1; stride <= 4; ++stride) {
        for (std::size_t m = 0; m <= stride; ++m) {
            std::vector<std::uint8_t> payload{stride};
            for (std::size_t i = 0; i < m; ++i)
                payload.push_back(std::uint8_t(0xF0 + i));
            TRawGraphic graphic;
            Decompress(graphic, Zlib(payload));
            EXPECT_TRUE(graphic.loaded);
            EXPECT_EQ(graphic.bytes, std::vector<std::uint8_t>(payload.begin() + 1, payload.end()))
                << "stride " << int(stride) << " M " << m;
        }
        // One byte more is filtered: it is restored against the first.
        std::vector<std::uint8_t> payload{stride};
        for (std::size_t i = 0; i <= stride; ++i)
            payload.push_back(std::uint8_t(0x10 + i));
        TRawGraphic graphic;
        Decompress(graphic, Zlib(payload));
        EXPECT_EQ(graphic.bytes.back(), std::uint8_t(0x10 + stride + 0x10));
    }

    // The encoder's side: a graphic that is not a bitmap and saves a single byte.
    TRawGraphic tiny;
    tiny.bytes = {0x42};
    EXPECT_EQ(Unzlib(Compressed(tiny)), (std::vector<std::uint8_t>{0, 0x42}));
}

TEST(CompressedData, GraphicsThatSeekWhileSavingAreStoredAsTheyWroteThemselves)
{
    const TPatchingGraphic graphic;
    const std::vector<std::uint8_t> expected = {0, 8, 0, 0, 0, 'd', 'a', 't', 'a', 0, 0, 'Z'};
    EXPECT_EQ(Unzlib(Compressed(graphic)), expected) << "stride 0, then the file image";
}

TEST(CompressedData, StridesNoBitmapGetsAreStillUndone)
{
    // Only 0 to 4 are written, but the filter is defined for any distance.
    std::vector<std::uint8_t> image(50);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = std::uint8_t(i * i);
    TRawGraphic graphic;
    Decompress(graphic, Zlib(ExpectedPayload(image, 9)));
    EXPECT_EQ(graphic.bytes, image);
}

TEST(CompressedData, AStrideByteAloneLoadsAnEmptyFileImage)
{
    TRawGraphic graphic;
    Decompress(graphic, Zlib({3}));
    EXPECT_TRUE(graphic.loaded);
    EXPECT_TRUE(graphic.bytes.empty());
}

TEST(CompressedData, BlocksCarryACountThenTheStream)
{
    TBitmap bitmap;
    LoadBytes(bitmap, Example90x30());
    TMemoryStream stored;
    CompressGraphic(bitmap, stored);
    stored.SetPosition(17); // the whole stream is written whatever its position

    TMemoryStream form;
    form.WriteBuffer("xy", 2);
    WriteCompressedData(form, stored);
    form.WriteBuffer("after", 5);
    const std::vector<std::uint8_t>& bytes = form.Bytes();
    const std::uint32_t n = std::uint32_t(stored.Size());
    ASSERT_EQ(bytes.size(), 2 + 4 + n + 5);
    EXPECT_EQ(bytes[2] | bytes[3] << 8 | bytes[4] << 16 | std::uint32_t(bytes[5]) << 24, n);

    form.SetPosition(2);
    const std::unique_ptr<TMemoryStream> read = ReadCompressedData(form);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Bytes(), stored.Bytes());
    EXPECT_EQ(read->Position(), 0);
    EXPECT_EQ(form.Position(), 2 + 4 + std::int64_t(n)) << "nothing after the block is read";

    TBitmap back;
    DecompressGraphic(back, *read);
    EXPECT_EQ(Saved(back), Example90x30());
}

TEST(CompressedData, CountsOfZeroOrLessStoreNothingAndCountsPastTheEndFail)
{
    auto read = [](std::vector<std::uint8_t> bytes) {
        TMemoryStream block(std::move(bytes));
        return ReadCompressedData(block);
    };
    EXPECT_FALSE(read({0, 0, 0, 0}));
    EXPECT_FALSE(read({0, 0, 0, 0, 0x78, 0x9C}));
    EXPECT_FALSE(read({0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3}));
    EXPECT_FALSE(read({0x00, 0x00, 0x00, 0x80}));
    EXPECT_TRUE(read({2, 0, 0, 0, 0x78, 0x9C}));

    EXPECT_THROW(read({3, 0, 0, 0, 0x78, 0x9C}), EReadError);
    EXPECT_THROW(read({0xFF, 0xFF, 0xFF, 0x7F, 1}), EReadError) << "nothing is set aside for a count first";
    EXPECT_THROW(read({1, 0, 0}), EReadError);
    EXPECT_THROW(read({}), EReadError);
    try {
        read({9, 0, 0, 0});
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }

    TMemoryStream empty, form;
    WriteCompressedData(form, empty);
    EXPECT_EQ(form.Bytes(), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST(CompressedData, DamagedStreamsFailWithTheDecompressorsErrorAndChangeNothing)
{
    TBitmap bitmap;
    LoadBytes(bitmap, Example90x30());
    const std::vector<std::uint8_t> stream = Compressed(bitmap);

    TBitmap other;
    const std::vector<std::uint8_t> otherImage = MakeBmp(TestBitmap{.bitCount = 8, .width = 5, .height = 3});
    LoadBytes(other, otherImage);

    for (std::size_t cut = 0; cut < stream.size(); ++cut) {
        const std::vector<std::uint8_t> truncated(stream.begin(), stream.begin() + std::ptrdiff_t(cut));
        ASSERT_THROW(Decompress(other, truncated), EDecompressionError) << "cut at " << cut;
    }
    // A changed byte of the deflate data can now and then give other data with
    // the same check value (or hit the unused bits of the last byte); the
    // header and the check value themselves are always caught.
    int caught = 0, tried = 0;
    for (std::size_t at = 0; at < stream.size(); ++at) {
        for (std::uint8_t flip : {0x01, 0x80, 0xFF}) {
            std::vector<std::uint8_t> damaged = stream;
            damaged[at] ^= flip;
            TBitmap target;
            LoadBytes(target, otherImage);
            ++tried;
            try {
                Decompress(target, damaged);
                ASSERT_TRUE(at >= 2 && at + 4 < stream.size()) << "byte " << at << " ^ " << int(flip);
            } catch (const EDecompressionError&) {
                ++caught;
                ASSERT_EQ(Saved(target), otherImage);
            } catch (const EInvalidGraphic&) {
                ASSERT_EQ(Saved(target), otherImage);
            }
        }
    }
    EXPECT_GT(caught, tried * 99 / 100);

    try {
        Decompress(other, {0x78, 0x9C, 0xFF, 0xFF});
        FAIL();
    } catch (const EDecompressionError& e) {
        EXPECT_NE(std::string(e.what()).find("damaged"), std::string::npos) << e.what();
    }
    try {
        std::vector<std::uint8_t> wrongCheck = stream;
        wrongCheck.back() ^= 1;
        Decompress(other, wrongCheck);
        FAIL();
    } catch (const EDecompressionError& e) {
        EXPECT_NE(std::string(e.what()).find("incorrect data check"), std::string::npos) << "zlib's words: " << e.what();
    }
    // A stream that asks for a preset dictionary.
    EXPECT_THROW(Decompress(other, {0x78, 0xBB, 0, 0, 0, 1, 0x03, 0x00}), EDecompressionError);
    EXPECT_EQ(Saved(other), otherImage);
}

TEST(CompressedData, EmptyAndForeignPayloadsFailWithTheReadAndLoaderErrors)
{
    TBitmap bitmap;
    try {
        Decompress(bitmap, Zlib({}));
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
    const std::vector<std::uint8_t> text = {3, 'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'};
    EXPECT_THROW(Decompress(bitmap, Zlib(text)), EInvalidGraphic);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(CompressedData, AnEmptyBitmapCannotBeStored)
{
    TBitmap empty;
    EXPECT_THROW(Compressed(empty), EReadError);
}

TEST(CompressedData, StreamsAreReadFromAnyStreamAndTheRestIsLeft)
{
    TBitmap bitmap;
    LoadBytes(bitmap, Example90x30());
    std::vector<std::uint8_t> bytes = {'h', 'e', 'a', 'd'};
    const std::vector<std::uint8_t> stream = Compressed(bitmap);
    bytes.insert(bytes.end(), stream.begin(), stream.end());
    bytes.insert(bytes.end(), {'t', 'a', 'i', 'l'});

    TSpanStream span(bytes); // read in chunks, not from a memory stream's buffer
    span.SetPosition(4);
    TBitmap back;
    DecompressGraphic(back, span);
    EXPECT_EQ(Saved(back), Example90x30());
    EXPECT_EQ(span.Position(), std::int64_t(4 + stream.size()));

    TMemoryStream memory(bytes);
    memory.SetPosition(4);
    DecompressGraphic(back, memory);
    EXPECT_EQ(memory.Position(), std::int64_t(4 + stream.size()));
}

TEST(CompressedData, LargePicturesDecodeWhateverTheyCompressTo)
{
    // Noise barely compresses (the source is read in many chunks); a plain
    // picture compresses so well that the first buffer is far too small; a
    // payload that is not a bitmap tells no size at all.
    std::vector<std::uint8_t> noisy = MakeBmp(TestBitmap{.bitCount = 24, .width = 400, .height = 300});
    std::uint32_t state = 99;
    for (std::size_t i = 54; i < noisy.size(); ++i)
        noisy[i] = std::uint8_t((state = state * 1103515245u + 12345u) >> 16);
    std::vector<std::uint8_t> plain = MakeBmp(TestBitmap{.bitCount = 32, .width = 1000, .height = -700});
    std::fill(plain.begin() + 54, plain.end(), 0x80);

    for (const std::vector<std::uint8_t>* image : {&noisy, &plain}) {
        TBitmap bitmap;
        LoadBytes(bitmap, *image);
        const std::vector<std::uint8_t> stream = Compressed(bitmap);
        TSpanStream span(stream);
        TBitmap fromSpan;
        DecompressGraphic(fromSpan, span);
        EXPECT_EQ(Saved(fromSpan), *image);
        TBitmap fromMemory;
        Decompress(fromMemory, stream);
        EXPECT_EQ(Saved(fromMemory), *image);
    }

    TRawGraphic raw;
    raw.bytes.resize(3'000'000);
    for (std::size_t i = 0; i < raw.bytes.size(); ++i)
        raw.bytes[i] = std::uint8_t(i / 1000);
    TRawGraphic back;
    Decompress(back, Compressed(raw));
    EXPECT_EQ(back.bytes, raw.bytes);
}

TEST(CompressedData, AFileSizeInTheHeaderThatIsWrongLosesNoBytes)
{
    // The header's file size sets the first room for the payload: a size far
    // too small, zero, or far too large must neither cut the file image nor
    // add to it, whether the stream is in memory or read in chunks.
    for (const std::uint32_t claimed : {0u, 10u, 4000u, 0xFFFFFFFFu}) {
        std::vector<std::uint8_t> image(600'000);
        for (std::size_t i = 0; i < image.size(); ++i)
            image[i] = std::uint8_t(i * 7 / 3000 + (i % 13 == 0));
        image[0] = 'B', image[1] = 'M';
        for (int k = 0; k < 4; ++k)
            image[std::size_t(2 + k)] = std::uint8_t(claimed >> (8 * k));
        const std::vector<std::uint8_t> stream = Zlib(ExpectedPayload(image, 1));

        TRawGraphic fromMemory;
        Decompress(fromMemory, stream);
        EXPECT_EQ(fromMemory.bytes, image) << "claimed " << claimed;
        TSpanStream span(stream);
        TRawGraphic fromSpan;
        DecompressGraphic(fromSpan, span);
        EXPECT_EQ(fromSpan.bytes, image) << "claimed " << claimed;
    }
}

TEST(CompressedData, StreamsAreReadFromStreamsThatCannotSeek)
{
    // Like a pipe: bytes come in order, and asking for a position fails.
    class TPipe : public TStream {
    public:
        explicit TPipe(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
        std::int64_t Read(void* buffer, std::int64_t count) override
        {
            const std::size_t n = std::min(std::size_t(count), bytes_.size() - at_);
            std::memcpy(buffer, bytes_.data() + at_, n);
            at_ += n;
            return std::int64_t(n);
        }
        std::int64_t Write(const void*, std::int64_t) override { return 0; }
        std::int64_t Seek(std::int64_t, TSeekOrigin) override { throw EStreamError("Invalid stream position"); }

    private:
        std::vector<std::uint8_t> bytes_;
        std::size_t at_ = 0;
    };
    TBitmap bitmap;
    LoadBytes(bitmap, Example90x30());
    TPipe pipe(Compressed(bitmap));
    TBitmap back;
    DecompressGraphic(back, pipe);
    EXPECT_EQ(Saved(back), Example90x30());
}

TEST(CompressedData, TheFileImageSizeIsBounded)
{
    // Just at and just past a small limit.
    std::vector<std::uint8_t> payload(1 + 1000, 0);
    payload[0] = 1;
    {
        TMemoryStream at(Zlib(payload));
        EXPECT_EQ(InflatePicturePayload(at, 1000).FileImage().size(), 1000u);
        TMemoryStream past(Zlib(payload));
        EXPECT_THROW(InflatePicturePayload(past, 999), EDecompressionError);
    }

    // The real limit, with a stream of zeros that inflates past it. A header
    // that claims a larger file changes nothing.
    z_stream z{};
    ASSERT_EQ(deflateInit(&z, 1), Z_OK);
    std::vector<std::uint8_t> chunk(1 << 20, 0);
    const char header[] = "\x00" "BM\xFF\xFF\xFF\xFF"; // unfiltered
    std::memcpy(chunk.data(), header, 7);
    std::vector<std::uint8_t> stream(1 << 20);
    std::size_t produced = 0;
    const std::size_t total = kMaxStoredFileImageBytes + 2;
    for (std::size_t fed = 0; fed < total;) {
        const std::size_t piece = std::min(chunk.size(), total - fed);
        z.next_in = chunk.data();
        z.avail_in = uInt(piece);
        fed += piece;
        const int flush = fed == total ? Z_FINISH : Z_NO_FLUSH;
        do {
            if (stream.size() - produced < 65536)
                stream.resize(stream.size() * 2);
            z.next_out = stream.data() + produced;
            z.avail_out = uInt(stream.size() - produced);
            deflate(&z, flush);
            produced = stream.size() - z.avail_out;
        } while (z.avail_in > 0 || (flush == Z_FINISH && z.avail_out == 0));
        std::fill_n(chunk.begin(), 7, 0);
    }
    deflateEnd(&z);
    stream.resize(produced);
    TBitmap bitmap;
    try {
        Decompress(bitmap, stream);
        FAIL();
    } catch (const EDecompressionError& e) {
        EXPECT_NE(std::string(e.what()).find("256 MiB"), std::string::npos) << e.what();
    }
}
