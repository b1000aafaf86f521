#pragma once
// Code page 932 (Japanese Shift-JIS as Windows has it): conversion to and from Unicode,
// and byte scans that never split a double-byte character.
//
// The system's texts and file names are code page 932 byte strings. A trail byte may be
// 0x5C ('\') or 0x7C ('|'), as in "表" (95 5C), "ソ" (83 5C) and "ポ" (83 7C), so a plain
// byte search for a separator is wrong: use the scans below.

#include <QString>
#include <QStringView>

#include <cstddef>
#include <string>
#include <string_view>

// Decodes code page 932 bytes. Undecodable bytes (and a lead byte cut off at the end)
// become U+001A; `ok`, when given, says whether every byte decoded cleanly.
QString Cp932ToUnicode(std::string_view bytes, bool* ok = nullptr);

// Encodes to code page 932. Characters the code page cannot hold become '?'; `ok`, when
// given, says whether every character was encoded.
std::string UnicodeToCp932(QStringView text, bool* ok = nullptr);

// The same conversions between code page 932 and UTF-8 bytes. Invalid UTF-8 decodes to
// U+FFFD first, which has no code page 932 form and so becomes '?'.
std::string Cp932ToUtf8(std::string_view bytes, bool* ok = nullptr);
std::string Utf8ToCp932(std::string_view utf8, bool* ok = nullptr);

// True for the first byte of a double-byte character: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsCp932LeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// True for a byte that may follow a lead byte: 0x40-0x7E and 0x80-0xFC.
constexpr bool IsCp932TrailByte(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// ASCII letters and their case. The C library's versions follow the process locale
// (which Qt sets from the environment) and may take a code page byte for a letter.
constexpr bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr char AsciiToUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char AsciiToLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The length (1 or 2) of the character that starts at `pos`; 0 at or past the end.
// A lead byte counts as a pair only when a valid trail byte follows it.
std::size_t Cp932CharLength(std::string_view text, std::size_t pos);

// The start of the character after the one at `pos` (text.size() at the end).
std::size_t Cp932NextChar(std::string_view text, std::size_t pos);

// The start of the last character, or std::string_view::npos for an empty text.
std::size_t Cp932LastChar(std::string_view text);

// The position of the last single-byte character that is one of `separators` (never a
// trail byte), or npos. The default looks for the backslash only.
std::size_t Cp932FindLastSeparator(std::string_view text, std::string_view separators = "\\");

// The position of the first such single-byte character at or after `from`, or npos.
std::size_t Cp932FindFirstSeparator(std::string_view text, std::string_view separators = "\\",
                                    std::size_t from = 0);
