#include "platform/Codepage.h"

#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>

namespace {

// Qt's own encoder writes replacement bytes for several characters that code page 932
// does hold (U+2212, U+301C, U+2016, the yen sign), so encoding goes through glibc's
// CP932 converter. One converter per thread: iconv_t is not thread-safe.
class Cp932Encoder {
public:
    Cp932Encoder() : cd_(iconv_open("CP932", "UTF-8")) {}
    ~Cp932Encoder()
    {
        if (cd_ != invalid())
            iconv_close(cd_);
    }
    Cp932Encoder(const Cp932Encoder&) = delete;
    Cp932Encoder& operator=(const Cp932Encoder&) = delete;

    std::string Encode(std::string_view utf8, bool& ok)
    {
        ok = true;
        std::string out;
        if (cd_ == invalid()) {
            ok = utf8.empty();
            return std::string(utf8.size() ? 1 : 0, '?');
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.reserve(utf8.size());
        char* in = const_cast<char*>(utf8.data());
        std::size_t inLeft = utf8.size();
        char buffer[256];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            std::size_t result = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (result != static_cast<std::size_t>(-1))
                break;
            if (errno == E2BIG)
                continue;
            // EILSEQ (no code page 932 form) or EINVAL (cut-off sequence): one '?' for the
            // character, then go on after it.
            ok = false;
            out.push_back('?');
            std::size_t skip = Utf8SequenceLength(static_cast<unsigned char>(*in));
            if (skip > inLeft)
                skip = inLeft;
            in += skip;
            inLeft -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }

    static std::size_t Utf8SequenceLength(unsigned char lead)
    {
        if (lead >= 0xF0)
            return 4;
        if (lead >= 0xE0)
            return 3;
        if (lead >= 0xC0)
            return 2;
        return 1;
    }

    iconv_t cd_;
};

Cp932Encoder& ThreadEncoder()
{
    thread_local Cp932Encoder encoder;
    return encoder;
}

}  // namespace

QString Cp932ToUnicode(std::string_view bytes, bool* ok)
{
    // A lead byte without a valid trail byte stands alone, as it does in the scans: it
    // becomes U+001A and the byte after it is a character of its own. Left to itself the
    // decoder drops a lead byte cut off at the end without a trace. It also rotates the
    // control bytes 0x1A, 0x1C and 0x7F the way IBM's code pages do (0x7F becomes
    // U+001A); code page 932 keeps them as they are, and so does the encoder.
    QStringDecoder decoder("windows-31j", QStringDecoder::Flag::Stateless);
    QString text;
    bool loneLead = false;
    std::size_t runStart = 0;
    auto decodeRun = [&](std::size_t end) {
        if (end > runStart)
            text += decoder.decode(QByteArrayView(bytes.data() + runStart, static_cast<qsizetype>(end - runStart)));
    };
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = Cp932CharLength(bytes, pos);
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        if (length == 1 && IsCp932LeadByte(byte)) {
            decodeRun(pos);
            text.append(QChar(0x1A));
            loneLead = true;
            runStart = pos + 1;
        } else if (byte == 0x1A || byte == 0x1C || byte == 0x7F) {
            decodeRun(pos);
            text.append(QChar(byte));
            runStart = pos + 1;
        }
        pos += length;
    }
    decodeRun(bytes.size());
    if (ok)
        *ok = decoder.isValid() && !decoder.hasError() && !loneLead;
    return text;
}

std::string UnicodeToCp932(QStringView text, bool* ok)
{
    QByteArray utf8 = text.toUtf8();
    bool clean = true;
    std::string out = ThreadEncoder().Encode(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), clean);
    if (ok)
        *ok = clean;
    return out;
}

std::string Cp932ToUtf8(std::string_view bytes, bool* ok)
{
    QByteArray utf8 = Cp932ToUnicode(bytes, ok).toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

std::string Utf8ToCp932(std::string_view utf8, bool* ok)
{
    // Through QString so that malformed UTF-8 is replaced consistently before encoding.
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return UnicodeToCp932(text, ok);
}

std::size_t Cp932CharLength(std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return 0;
    if (IsCp932LeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() &&
        IsCp932TrailByte(static_cast<unsigned char>(text[pos + 1])))
        return 2;
    return 1;
}

std::size_t Cp932NextChar(std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return text.size();
    return pos + Cp932CharLength(text, pos);
}

std::size_t Cp932LastChar(std::string_view text)
{
    // Only a forward scan knows where characters start: a byte in 0x81-0x9F may be a
    // lead byte or the trail of the character before it.
    std::size_t last = std::string_view::npos;
    for (std::size_t pos = 0; pos < text.size(); pos = Cp932NextChar(text, pos))
        last = pos;
    return last;
}

std::size_t Cp932FindLastSeparator(std::string_view text, std::string_view separators)
{
    std::size_t found = std::string_view::npos;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t length = Cp932CharLength(text, pos);
        if (length == 1 && separators.find(text[pos]) != std::string_view::npos)
            found = pos;
        pos += length;
    }
    return found;
}

std::size_t Cp932FindFirstSeparator(std::string_view text, std::string_view separators, std::size_t from)
{
    // Walk from the start even when `from` is later, so that character boundaries are
    // the real ones.
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t length = Cp932CharLength(text, pos);
        if (pos >= from && length == 1 && separators.find(text[pos]) != std::string_view::npos)
            return pos;
        pos += length;
    }
    return std::string_view::npos;
}
