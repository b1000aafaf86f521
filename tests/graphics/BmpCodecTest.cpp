// BMP file images written byte by byte here, read by TBitmap, and saved back:
// unchanged files must come back byte for byte; changed ones in their own
// layout; hostile ones must fail with EInvalidGraphic.

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/BmpCodec.h"
#include "framework/graphics/GdiObjects.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
struct Bytes {
    std::vector<std::uint8_t> v;
    void u8(unsigned x) { v.push_back(std::uint8_t(x)); }
    void u16(unsigned x) { u8(x), u8(x >> 8); }
    void u32(std::uint32_t x) { u16(x & 0xFFFF), u16(x >> 16); }
};

// What a hand-made file holds.
struct FileLayout {
    int bitCount = 24;
    std::uint32_t compression = BI_RGB;
    int width = 7;
    int height = 5; // negative: top-down
    std::uint32_t clrUsed = 0;
    int tableEntries = 0; // entries written
    std::uint32_t masks[3] = {};
    bool core = false; // the 12-byte OS/2 header
    int gap = 0;       // junk bytes between the table and the pixels
};

struct File {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> pixels; // expected, top row first
    std::vector<std::uint32_t> table;  // the colour table as pixels
};

std::uint32_t Widen(std::uint32_t v, int bits)
{
    std::uint32_t r = v << (8 - bits);
    for (int f = bits; f < 8; f += bits)
        r |= r >> bits;
    return r & 0xFF;
}

File Make(const FileLayout& s)
{
    const int rows = s.height < 0 ? -s.height : s.height;
    const int stride = ((s.width * s.bitCount + 31) / 32) * 4;
    const int headerSize = s.core ? 12 : 40;
    const int masksSize = s.compression == BI_BITFIELDS ? 12 : 0;
    const int tableSize = s.tableEntries * (s.core ? 3 : 4);
    const std::uint32_t offset = 14 + headerSize + masksSize + tableSize + s.gap;
    Bytes b;
    b.u8('B'), b.u8('M');
    b.u32(offset + std::uint32_t(stride * rows));
    b.u32(0xA5A5A5A5); // reserved words, kept as they are
    b.u32(offset);
    if (s.core) {
        b.u32(12), b.u16(unsigned(s.width)), b.u16(unsigned(rows)), b.u16(1), b.u16(unsigned(s.bitCount));
    } else {
        b.u32(40), b.u32(std::uint32_t(s.width)), b.u32(std::uint32_t(s.height)), b.u16(1), b.u16(unsigned(s.bitCount));
        b.u32(s.compression), b.u32(std::uint32_t(stride * rows)), b.u32(2835), b.u32(3780), b.u32(s.clrUsed), b.u32(3);
    }
    if (masksSize)
        for (std::uint32_t m : s.masks)
            b.u32(m);
    std::vector<std::uint32_t> table;
    for (int i = 0; i < s.tableEntries; ++i) {
        const std::uint8_t r = std::uint8_t(i * 37 + 1), g = std::uint8_t(255 - i * 11), bl = std::uint8_t(i * 5);
        b.u8(bl), b.u8(g), b.u8(r);
        if (!s.core)
            b.u8(0x5A); // the reserved byte of an entry, kept as it is
        table.push_back(0xFF000000u | (r << 16) | (g << 8) | bl);
    }
    for (int i = 0; i < s.gap; ++i)
        b.u8(0xC3);

    File f;
    f.table = table;
    f.pixels.resize(std::size_t(s.width) * rows);
    std::vector<std::uint8_t> data(std::size_t(stride) * rows);
    for (int y = 0; y < rows; ++y) {
        std::uint8_t* row = data.data() + std::size_t(s.height < 0 ? y : rows - 1 - y) * stride;
        for (int x = 0; x < s.width; ++x) {
            const std::uint32_t v = std::uint32_t(x * 2654435761u + y * 40503u + 12345u);
            std::uint32_t& e = f.pixels[std::size_t(y) * s.width + x];
            if (s.bitCount <= 8) {
                const unsigned index = table.empty() ? 0 : (v >> 8) % unsigned(table.size());
                const int bit = x * s.bitCount;
                row[bit / 8] |= std::uint8_t(index << (8 - s.bitCount - bit % 8));
                e = table.empty() ? 0xFF000000u : table[index];
            } else if (s.bitCount == 24) {
                row[3 * x] = std::uint8_t(v), row[3 * x + 1] = std::uint8_t(v >> 8), row[3 * x + 2] = std::uint8_t(v >> 16);
                e = 0xFF000000u | (v & 0xFFFFFF);
            } else {
                const int n = s.bitCount / 8;
                for (int k = 0; k < n; ++k)
                    row[n * x + k] = std::uint8_t(v >> (8 * k));
                const std::uint32_t value = n == 2 ? (v & 0xFFFF) : v;
                std::uint32_t masks[3] = {s.masks[0], s.masks[1], s.masks[2]};
                if (s.compression == BI_RGB) {
                    masks[0] = n == 2 ? 0x7C00 : 0xFF0000;
                    masks[1] = n == 2 ? 0x03E0 : 0x00FF00;
                    masks[2] = n == 2 ? 0x001F : 0x0000FF;
                }
                e = 0xFF000000u;
                for (int c = 0; c < 3; ++c) {
                    int shift = 0, bits = 0;
                    while (!((masks[c] >> shift) & 1))
                        ++shift;
                    while ((masks[c] >> (shift + bits)) & 1)
                        ++bits;
                    const std::uint32_t part = (value & masks[c]) >> shift;
                    const std::uint32_t wide = bits >= 8 ? (part >> (bits - 8)) & 0xFF : Widen(part, bits);
                    e |= wide << (16 - 8 * c);
                }
            }
        }
        // Junk in the row padding, which an unchanged file keeps.
        for (int i = (s.width * s.bitCount + 7) / 8; i < stride; ++i)
            row[i] = 0x77;
    }
    b.v.insert(b.v.end(), data.begin(), data.end());
    f.bytes = std::move(b.v);
    return f;
}

std::vector<std::uint8_t> Save(const TBitmap& bmp)
{
    TMemoryStream out;
    bmp.SaveToStream(out);
    return out.Bytes();
}

void Load(TBitmap& bmp, const std::vector<std::uint8_t>& bytes)
{
    TMemoryStream in(bytes);
    bmp.LoadFromStream(in);
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t(b[at + 3]) << 24);
}

// The colour a layout stores for pixel: the nearest table entry, or each
// channel cut to its bits and widened again.
std::uint32_t NearestInLayout(const FileLayout& s, const File& f, std::uint32_t pixel)
{
    auto channel = [&](int c) { return int((pixel >> (16 - 8 * c)) & 0xFF); };
    if (s.bitCount <= 8) {
        std::uint32_t best = 0;
        int bestDistance = 1 << 30;
        for (std::uint32_t t : f.table) {
            int d = 0;
            for (int c = 0; c < 3; ++c) {
                const int diff = int((t >> (16 - 8 * c)) & 0xFF) - channel(c);
                d += diff * diff;
            }
            if (d < bestDistance)
                bestDistance = d, best = t;
        }
        return best;
    }
    if (s.bitCount != 16)
        return pixel;
    const int bits[3] = {5, s.compression == BI_BITFIELDS ? 6 : 5, 5};
    std::uint32_t r = 0xFF000000u;
    for (int c = 0; c < 3; ++c)
        r |= Widen(std::uint32_t(channel(c)) >> (8 - bits[c]), bits[c]) << (16 - 8 * c);
    return r;
}

std::vector<FileLayout> AllLayouts()
{
    std::vector<FileLayout> layouts;
    for (int height : {5, -5}) {
        for (int bits : {1, 4, 8}) {
            FileLayout s;
            s.bitCount = bits;
            s.height = height;
            s.tableEntries = 1 << bits; // full table, biClrUsed 0
            layouts.push_back(s);
            if (bits > 1) { // a short table
                s.clrUsed = s.tableEntries = bits == 4 ? 5 : 20;
                layouts.push_back(s);
            }
        }
        FileLayout s;
        s.height = height;
        s.bitCount = 16;
        layouts.push_back(s);
        s.compression = BI_BITFIELDS;
        s.masks[0] = 0xF800, s.masks[1] = 0x07E0, s.masks[2] = 0x001F;
        layouts.push_back(s);
        s = FileLayout{};
        s.height = height;
        layouts.push_back(s); // 24 bits
        s.bitCount = 32;
        layouts.push_back(s);
        s.compression = BI_BITFIELDS;
        s.masks[0] = 0x3FF00000, s.masks[1] = 0x000FFC00, s.masks[2] = 0x000003FF; // 10 bits a channel
        s.gap = 6;
        layouts.push_back(s);
    }
    FileLayout core;
    core.core = true;
    core.bitCount = 8;
    core.tableEntries = 256;
    layouts.push_back(core);
    core.bitCount = 24;
    core.tableEntries = 0;
    layouts.push_back(core);
    return layouts;
}

std::string Describe(const FileLayout& s)
{
    return std::to_string(s.bitCount) + " bits, " + (s.compression == BI_BITFIELDS ? "bit fields, " : "") +
           (s.height < 0 ? "top-down" : "bottom-up") + ", " + std::to_string(s.tableEntries) + " colours" +
           (s.core ? ", OS/2 header" : "");
}
} // namespace

TEST(BmpCodec, EveryLayoutReadsRightAndSavesBackByteForByte)
{
    for (const FileLayout& layout : AllLayouts()) {
        SCOPED_TRACE(Describe(layout));
        const File file = Make(layout);
        TBitmap bmp;
        Load(bmp, file.bytes);
        ASSERT_EQ(bmp.Width(), layout.width);
        ASSERT_EQ(bmp.Height(), 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < layout.width; ++x)
                ASSERT_EQ(bmp.Image()->pixel(x, y), file.pixels[std::size_t(y) * layout.width + x]) << x << "," << y;
        EXPECT_EQ(Save(bmp), file.bytes);

        // A copy is the same picture and saves the same way.
        TBitmap copy;
        copy.Assign(&bmp);
        EXPECT_EQ(Save(copy), file.bytes);
    }
}

TEST(BmpCodec, ChangedBitmapsSaveTheirPixelsInTheirOwnLayout)
{
    for (const FileLayout& layout : AllLayouts()) {
        SCOPED_TRACE(Describe(layout));
        const File file = Make(layout);
        TBitmap bmp;
        Load(bmp, file.bytes);
        // A colour of the table (or a plain one) and one that needs the nearest entry.
        const std::uint32_t known = file.pixels[3];
        bmp.Canvas()->SetPixels(0, 0, TColor(ColorFromPixel(known)));
        bmp.Canvas()->SetPixels(1, 0, TColor(RGB(250, 3, 3)));

        const std::vector<std::uint8_t> saved = Save(bmp);
        ASSERT_NE(saved, file.bytes);
        const DecodedBmp back = ReadBmp(saved);
        EXPECT_EQ(back.format.bitCount, layout.bitCount);
        EXPECT_EQ(back.format.compression, layout.compression);
        EXPECT_EQ(back.header.TopDown(), layout.height < 0);
        EXPECT_EQ(back.header.xPelsPerMeter, layout.core ? 0 : 2835);
        EXPECT_EQ(Le32(saved, 2), saved.size());
        if (layout.bitCount <= 8) {
            EXPECT_EQ(back.format.colours.size(), std::size_t(layout.tableEntries));
        }
        EXPECT_EQ(back.pixels.pixel(0, 0), known);
        for (int y = 0; y < 5; ++y)
            for (int x = y == 0 ? 2 : 0; x < layout.width; ++x)
                ASSERT_EQ(back.pixels.pixel(x, y), file.pixels[std::size_t(y) * layout.width + x]);
        // The saved colour is the nearest one the layout holds.
        EXPECT_EQ(back.pixels.pixel(1, 0), NearestInLayout(layout, file, 0xFFFA0303u))
            << std::hex << back.pixels.pixel(1, 0);
    }
}

TEST(BmpCodec, NewBitmapsSave24BitOrMonochromeBottomUp)
{
    TBitmap bmp;
    EXPECT_TRUE(Save(bmp).empty()) << "an empty bitmap writes nothing";
    bmp.SetSize(3, 2);
    EXPECT_EQ(bmp.Image()->pixel(2, 1), 0xFFFFFFFFu) << "new pixels are white";
    bmp.Canvas()->SetPixels(0, 0, clRed);
    std::vector<std::uint8_t> b = Save(bmp);
    ASSERT_EQ(b.size(), 14u + 40u + 2u * 12u);
    EXPECT_EQ(Le32(b, 10), 54u);
    EXPECT_EQ(Le32(b, 14), 40u);
    EXPECT_EQ(Le32(b, 22), 2u) << "positive height: bottom-up";
    EXPECT_EQ(b[28], 24);
    EXPECT_EQ(Le32(b, 38), 0u);
    EXPECT_EQ(Le32(b, 42), 0u);
    // Top row (red at x 0) is the last row in the file.
    EXPECT_EQ(b[54 + 12], 0x00);
    EXPECT_EQ(b[54 + 12 + 2], 0xFF);

    bmp.SetMonochrome(true);
    EXPECT_TRUE(bmp.Monochrome());
    EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pfDevice);
    b = Save(bmp);
    ASSERT_EQ(b.size(), 14u + 40u + 8u + 2u * 4u);
    EXPECT_EQ(b[28], 1);
    EXPECT_EQ(Le32(b, 54), 0u);
    EXPECT_EQ(Le32(b, 58), 0xFFFFFFu);
    EXPECT_EQ(b[62 + 4], 0b01100000) << "top row: red became black, the rest stayed white";
}

// A palette of `count` entries of distinct colours.
HPALETTE PaletteOf(int count)
{
    std::vector<std::uint8_t> room(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * std::size_t(count));
    auto* log = reinterpret_cast<LOGPALETTE*>(room.data());
    log->palVersion = 0x300;
    log->palNumEntries = std::uint16_t(count);
    for (int i = 0; i < count; ++i)
        log->palPalEntry[i] = PALETTEENTRY{std::uint8_t(i * 13), std::uint8_t(255 - i), std::uint8_t(i * 7), 0};
    return CreatePalette(log);
}

// Bitmaps made new (never loaded) in a palette format are written with the
// colour-count field biClrUsed (offset 46) as the writer defines it: 0 for a
// table of the full 2^bits entries, otherwise the number of entries written.
// Qt's own BMP reader, written independently of ours, must read the same pixels.
TEST(BmpCodec, NewPaletteBitmapsWriteTheColourCountTheWayTheWriterDefinesIt)
{
    struct Case {
        TPixelFormat format;
        int bits;
        int paletteEntries;  // 0: no palette of its own
        std::uint32_t tableEntries;
        std::uint32_t clrUsed;
    };
    const Case cases[] = {
        {TPixelFormat::pf1bit, 1, 0, 2, 0},
        {TPixelFormat::pf4bit, 4, 0, 16, 0},
        {TPixelFormat::pf8bit, 8, 0, 256, 0},
        {TPixelFormat::pf4bit, 4, 16, 16, 0},
        {TPixelFormat::pf8bit, 8, 256, 256, 0},
        {TPixelFormat::pf8bit, 8, 20, 20, 20},
        {TPixelFormat::pf4bit, 4, 3, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, palette of " + std::to_string(c.paletteEntries));
        TBitmap bmp;
        bmp.SetSize(9, 4);
        for (int x = 0; x < 9; ++x)
            bmp.Canvas()->SetPixels(x, x % 4, TColor(RGB(x * 28, 200 - x * 20, x * 9)));
        if (c.paletteEntries)
            bmp.SetPalette(PaletteOf(c.paletteEntries));
        bmp.SetPixelFormat(c.format);
        const std::vector<std::uint8_t> b = Save(bmp);
        ASSERT_GE(b.size(), 54u);
        EXPECT_EQ(b[28], c.bits);
        EXPECT_EQ(Le32(b, 46), c.clrUsed) << "biClrUsed";
        EXPECT_EQ(Le32(b, 10), 54u + 4u * c.tableEntries) << "the table written";
        EXPECT_EQ(Le32(b, 50), 0u) << "biClrImportant";

        const QImage theirs = QImage::fromData(b.data(), int(b.size()), "BMP");
        ASSERT_FALSE(theirs.isNull());
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 9; ++x)
                EXPECT_EQ(theirs.pixel(x, y) | 0xFF000000u, bmp.Image()->pixel(x, y)) << x << "," << y;
    }

    // A new monochrome bitmap: two entries, the full table of one bit.
    TBitmap mono;
    mono.SetSize(5, 2);
    mono.SetMonochrome(true);
    const std::vector<std::uint8_t> b = Save(mono);
    EXPECT_EQ(b[28], 1);
    EXPECT_EQ(Le32(b, 46), 0u);
    EXPECT_EQ(Le32(b, 10), 62u);
}

TEST(BmpCodec, MonochromePalettesAndPixelFormats)
{
    FileLayout s;
    s.bitCount = 1;
    s.tableEntries = 2;
    File f = Make(s);
    // A black-and-white table makes a monochrome bitmap.
    const std::size_t table = 14 + 40;
    std::memcpy(f.bytes.data() + table, "\0\0\0\0\xFF\xFF\xFF\0", 8);
    TBitmap bmp;
    Load(bmp, f.bytes);
    EXPECT_TRUE(bmp.Monochrome());
    EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf1bit);
    EXPECT_EQ(Save(bmp), f.bytes);

    s.bitCount = 8;
    s.tableEntries = 256;
    f = Make(s);
    Load(bmp, f.bytes);
    EXPECT_FALSE(bmp.Monochrome());
    EXPECT_EQ(bmp.PixelFormat(), TPixelFormat::pf8bit);
    ASSERT_TRUE(bmp.Palette());
    PALETTEENTRY e{};
    ASSERT_EQ(GetPaletteEntries(bmp.Palette(), 2, 1, &e), 1u);
    EXPECT_EQ(e.peRed, 2 * 37 + 1);

    // Fewer colours: the pixels become what the layout can hold at once.
    TBitmap colour;
    colour.SetSize(2, 1);
    colour.Canvas()->SetPixels(0, 0, TColor(RGB(250, 10, 10)));
    colour.SetPixelFormat(TPixelFormat::pf4bit);
    EXPECT_EQ(colour.Image()->pixel(0, 0), 0xFFFF0000u) << "the nearest of the 16 standard colours";
    colour.SetPixelFormat(TPixelFormat::pf15bit);
    colour.Canvas()->SetPixels(1, 0, TColor(RGB(0x13, 0x57, 0x9B)));
    const DecodedBmp back = ReadBmp(Save(colour));
    EXPECT_EQ(back.format.bitCount, 16);
    EXPECT_EQ(back.pixels.pixel(1, 0), 0xFF10529Cu);
    colour.SetPixelFormat(TPixelFormat::pf1bit);
    EXPECT_TRUE(colour.Monochrome());

    // A resized bitmap keeps what both sizes share.
    Load(bmp, Make(FileLayout{}).bytes);
    const std::uint32_t corner = bmp.Image()->pixel(1, 1);
    bmp.SetSize(2, 9);
    EXPECT_EQ(bmp.Image()->pixel(1, 1), corner);
    EXPECT_EQ(bmp.Image()->pixel(1, 8), 0xFFFFFFFFu);
}

TEST(BmpCodec, HostileFilesFailCleanlyAndChangeNothing)
{
    const File good = Make(FileLayout{});
    auto patched = [&](std::size_t at, std::uint32_t value, int size = 4) {
        std::vector<std::uint8_t> b = good.bytes;
        for (int i = 0; i < size; ++i)
            b.at(at + std::size_t(i)) = std::uint8_t(value >> (8 * i));
        return b;
    };
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> cases = {
        {"too short", {'B', 'M', 1, 2}},
        {"no signature", patched(0, 'X', 1)},
        {"pixel offset past the end", patched(10, std::uint32_t(good.bytes.size()))},
        {"pixel offset far past the end", patched(10, 0xFFFFFFFF)},
        {"pixel offset inside the headers", patched(10, 20)},
        {"header size too small", patched(14, 20)},
        {"header size past the file", patched(14, 1000)},
        {"zero width", patched(18, 0)},
        {"negative width", patched(18, 0xFFFFFFFF)},
        {"zero height", patched(22, 0)},
        {"huge width", patched(18, 40000)},
        {"huge top-down height", patched(22, std::uint32_t(-40000))},
        {"most negative height", patched(22, 0x80000000)},
        {"largest width", patched(18, 0x7FFFFFFF)},
        {"two planes", patched(26, 2, 2)},
        {"seven bits", patched(28, 7, 2)},
        {"run-length compression", patched(30, BI_RLE8)},
        {"unknown compression", patched(30, 9)},
        {"bit fields on 24 bits", patched(30, BI_BITFIELDS)},
        {"rows missing", std::vector<std::uint8_t>(good.bytes.begin(), good.bytes.end() - 30)},
    };
    {
        std::vector<std::uint8_t> b = patched(18, 20000);
        b = std::vector<std::uint8_t>(b);
        for (int i = 0; i < 4; ++i)
            b[22 + i] = std::uint8_t(20000 >> (8 * i));
        cases.push_back({"too many pixels", b});
    }
    {
        FileLayout s;
        s.bitCount = 8;
        s.tableEntries = 0; // no table at all
        cases.push_back({"missing colour table", Make(s).bytes});
        s = FileLayout{};
        s.bitCount = 16;
        s.compression = BI_BITFIELDS;
        s.masks[0] = 0xF00F, s.masks[1] = 0x0F00, s.masks[2] = 0x00F0;
        cases.push_back({"masks in pieces", Make(s).bytes});
        s.masks[0] = 0xFF00, s.masks[1] = 0x0FF0, s.masks[2] = 0x000F;
        cases.push_back({"overlapping masks", Make(s).bytes});
    }
    // Every cut of a good file fails, except inside the last row's padding.
    const std::size_t lastRowEnd = good.bytes.size() - 3;
    for (std::size_t n = 0; n < good.bytes.size(); ++n)
        if (n < lastRowEnd)
            cases.push_back({"cut at " + std::to_string(n), {good.bytes.begin(), good.bytes.begin() + long(n)}});

    TBitmap bmp;
    Load(bmp, good.bytes);
    for (const auto& [what, bytes] : cases) {
        if (bytes.empty())
            continue; // an empty stream is an empty bitmap, checked below
        SCOPED_TRACE(what);
        EXPECT_THROW(Load(bmp, bytes), EInvalidGraphic);
        EXPECT_EQ(Save(bmp), good.bytes) << "a failed load leaves the bitmap as it was";
    }
    // Missing padding after the last row is forgiven.
    Load(bmp, {good.bytes.begin(), good.bytes.begin() + long(lastRowEnd)});
    EXPECT_EQ(bmp.Width(), 7);

    try {
        Load(bmp, patched(18, 40000));
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos) << e.what();
    }
    Load(bmp, {});
    EXPECT_TRUE(bmp.Empty());
}
