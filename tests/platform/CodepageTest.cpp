#include "platform/Codepage.h"

#include "tests/platform/TempPrefix.h"

#include <gtest/gtest.h>

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

std::string Hex(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
        text += ' ';
    }
    return text;
}

TEST(Codepage, RoundTripsJapaneseText)
{
    // Kanji, kana with trail bytes 0x5C and 0x7C, half-width kana, the NEC and IBM
    // extensions, ASCII.
    const char* samples[] = {"表示", "ソフト", "ポップ", "ｲﾝｽﾄｰﾙ先ﾌｫﾙﾀﾞの指定", "①ⅰ", "C:\\WINDOWS\\スタート メニュー", "abc 123"};
    for (const char* sample : samples) {
        bool encoded = false, decoded = false;
        std::string bytes = UnicodeToCp932(U(sample), &encoded);
        EXPECT_TRUE(encoded) << sample;
        EXPECT_EQ(Cp932ToUnicode(bytes, &decoded), U(sample)) << sample;
        EXPECT_TRUE(decoded) << sample;
        EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(sample)), sample);
    }
    EXPECT_EQ(UnicodeToCp932(U("表ソポ")), sjis::Hyou + sjis::So + sjis::Po);
}

TEST(Codepage, EncodesTheCharactersQtsEncoderGetsWrong)
{
    EXPECT_EQ(Hex(UnicodeToCp932(U("\u2212"))), "81 7C ");  // minus sign
    EXPECT_EQ(Hex(UnicodeToCp932(U("\u301C"))), "81 60 ");  // wave dash
    EXPECT_EQ(Hex(UnicodeToCp932(U("\uFF5E"))), "81 60 ");  // full-width tilde
    EXPECT_EQ(Hex(UnicodeToCp932(U("\u2016"))), "81 61 ");  // double vertical line
    EXPECT_EQ(Hex(UnicodeToCp932(U("\u00A5"))), "5C ");     // yen sign: the backslash byte
    EXPECT_EQ(Hex(UnicodeToCp932(U("\\"))), "5C ");
    // Code page 932 decodes those bytes to the full-width forms.
    EXPECT_EQ(Cp932ToUnicode("\x81\x7C"), U("\uFF0D"));
    EXPECT_EQ(Cp932ToUnicode("\x81\x60"), U("\uFF5E"));
    EXPECT_EQ(Cp932ToUnicode("\x81\x61"), U("\u2225"));
    EXPECT_EQ(Cp932ToUnicode("\x5C"), U("\\"));
}

TEST(Codepage, MarksWhatItCannotConvert)
{
    bool ok = true;
    EXPECT_EQ(Cp932ToUnicode("a\x80" "b\xA0", &ok), U("a\x1A" "b\x1A"));
    EXPECT_FALSE(ok);
    EXPECT_EQ(Cp932ToUnicode("a\x82", &ok), U("a\x1A"));  // lead byte cut off at the end
    EXPECT_FALSE(ok);
    EXPECT_EQ(UnicodeToCp932(U("a\U0001F600b\u00A6c"), &ok), "a?b?c");
    EXPECT_FALSE(ok);
    EXPECT_EQ(Utf8ToCp932("x\xFFy"), "x?y");  // malformed UTF-8
    EXPECT_EQ(UnicodeToCp932(U(""), &ok), "");
    EXPECT_TRUE(ok);
}

TEST(Codepage, LeadAndTrailBytes)
{
    EXPECT_FALSE(IsCp932LeadByte(0x80));
    EXPECT_TRUE(IsCp932LeadByte(0x81));
    EXPECT_TRUE(IsCp932LeadByte(0x9F));
    EXPECT_FALSE(IsCp932LeadByte(0xA0));
    EXPECT_FALSE(IsCp932LeadByte(0xDF));  // half-width kana are single bytes
    EXPECT_TRUE(IsCp932LeadByte(0xE0));
    EXPECT_TRUE(IsCp932LeadByte(0xFC));
    EXPECT_FALSE(IsCp932LeadByte(0xFD));
    EXPECT_FALSE(IsCp932LeadByte('\\'));
}

TEST(Codepage, ScansNeverSplitACharacter)
{
    // "C:\表\ソ" : the backslash bytes inside 表 and ソ are trail bytes.
    std::string path = "C:\\" + sjis::Hyou + "\\" + sjis::So;
    EXPECT_EQ(Cp932FindLastSeparator(path), 5u);
    EXPECT_EQ(Cp932FindFirstSeparator(path, "\\", 3), 5u);
    EXPECT_EQ(Cp932LastChar(path), 6u);
    EXPECT_EQ(Cp932FindLastSeparator(sjis::So + sjis::Hyou), std::string_view::npos);
    EXPECT_EQ(Cp932FindLastSeparator(sjis::Po, "|"), std::string_view::npos);
    EXPECT_EQ(Cp932FindLastSeparator("a|" + sjis::Po, "|"), 1u);
    EXPECT_EQ(Cp932FindLastSeparator(sjis::So + "\\"), 2u);  // "ソ\": the real one counts

    EXPECT_EQ(Cp932CharLength(sjis::Hyou, 0), 2u);
    EXPECT_EQ(Cp932CharLength("\x81", 0), 1u);      // lead byte at the end
    EXPECT_EQ(Cp932CharLength("\x81 ", 0), 1u);     // lead byte without a valid trail
    EXPECT_EQ(Cp932CharLength("ab", 2), 0u);
    EXPECT_EQ(Cp932NextChar("a" + sjis::So + "b", 1), 3u);
    EXPECT_EQ(Cp932LastChar(""), std::string_view::npos);
    // 0x95 may be a trail byte: only a scan from the start knows "\x81\x95\x5C" ends in '\'.
    EXPECT_EQ(Cp932LastChar("\x81\x95\x5C"), 2u);
    EXPECT_EQ(Cp932FindLastSeparator("\x81\x95\x5C"), 2u);
}

}  // namespace

namespace {

// Trail bytes at the edges of their two ranges (0x40-0x7E, 0x80-0xFC) after the
// lead byte 0x81, each followed by a backslash: where the scans see characters,
// and what the decoder makes of the pair.
TEST(Codepage, TrailBytesAtTheirBoundaries)
{
    struct Case {
        unsigned char trail;
        bool pair;
        const char* decoded;  // UTF-8, before the backslash
    };
    const Case cases[] = {
        {0x3F, false, "\x1A?"},           // below the first range: the lead stands alone
        {0x40, true, "\u3000"},           // ideographic space
        {0x7E, true, "\u00D7"},           // multiplication sign
        {0x7F, false, "\x1A\x7F"},        // between the ranges
        {0x80, true, "\u00F7"},           // division sign
        {0xFC, true, "\u25EF"},           // large circle
        {0xFD, false, "\x1A\x1A"},       // above the second range, and no character itself
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(std::string(1, char(c.trail))));
        EXPECT_EQ(IsCp932TrailByte(c.trail), c.pair);
        const std::string text = std::string("\x81") + char(c.trail) + "\\";
        EXPECT_EQ(Cp932CharLength(text, 0), c.pair ? 2u : 1u);
        EXPECT_EQ(Cp932NextChar(text, 0), c.pair ? 2u : 1u);
        // The backslash after the pair is a separator whatever the trail byte.
        EXPECT_EQ(Cp932FindLastSeparator(text), 2u);
        EXPECT_EQ(Cp932LastChar(text), 2u);
        bool ok = false;
        const QString decoded = Cp932ToUnicode(text, &ok);
        EXPECT_EQ(ok, c.pair);
        EXPECT_EQ(decoded, U(c.decoded) + QLatin1Char('\\'));
        if (c.pair) {
            EXPECT_EQ(UnicodeToCp932(decoded), text);
        }
    }
    // Control bytes stay themselves both ways (a converter of IBM's kind rotates them).
    for (const char* control : {"\x1A", "\x1C", "\x7F"}) {
        bool ok = false;
        EXPECT_EQ(Cp932ToUnicode(control, &ok), QString(QChar(char16_t(*control))));
        EXPECT_TRUE(ok);
        EXPECT_EQ(UnicodeToCp932(QString(QChar(char16_t(*control)))), control);
    }
    // A trail byte that is a separator itself is still a trail byte.
    EXPECT_EQ(Cp932FindLastSeparator("\x81\x5C"), std::string_view::npos);
    // Lead bytes at the edges of their ranges, with the highest valid trail byte.
    EXPECT_EQ(Cp932CharLength("\x80\xFC", 0), 1u);
    EXPECT_EQ(Cp932CharLength("\x9F\xFC", 0), 2u);
    EXPECT_EQ(Cp932CharLength("\xA0\xFC", 0), 1u);
    EXPECT_EQ(Cp932CharLength("\xE0\x40", 0), 2u);
    EXPECT_EQ(Cp932CharLength("\xFC\x40", 0), 2u);
    EXPECT_EQ(Cp932CharLength("\xFD\x40", 0), 1u);
}

}  // namespace
