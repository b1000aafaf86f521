#include "platform/ShellLinkFormat.h"

#include "platform/Codepage.h"
#include "platform/Com.h"

#include <QString>

namespace {

constexpr CLSID kShellLinkClsid{0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr DWORD kLinkInfoHeaderSize = 0x24;  // with the offsets of the UTF-16 paths
constexpr DWORD kVolumeIdAndLocalBasePath = 0x1;
constexpr DWORD kVolumeIdHeaderSize = 0x10;

class Bytes {
public:
    void U16(std::uint32_t value)
    {
        out_.push_back(static_cast<std::uint8_t>(value));
        out_.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void U32(std::uint32_t value)
    {
        U16(value & 0xFFFF);
        U16(value >> 16);
    }
    void Time(const FILETIME& time)
    {
        U32(time.dwLowDateTime);
        U32(time.dwHighDateTime);
    }
    void Raw(const void* data, std::size_t size)
    {
        auto* at = static_cast<const std::uint8_t*>(data);
        out_.insert(out_.end(), at, at + size);
    }
    void Ansi(const std::string& text)  // NUL-terminated
    {
        Raw(text.data(), text.size());
        out_.push_back(0);
    }
    void Utf16(const std::u16string& text)  // NUL-terminated
    {
        for (char16_t unit : text)
            U16(unit);
        U16(0);
    }
    void AlignTo2()
    {
        if (out_.size() % 2)
            out_.push_back(0);
    }
    void PatchU32(std::size_t at, std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            out_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    std::size_t Size() const { return out_.size(); }
    std::vector<std::uint8_t>& Data() { return out_; }

private:
    std::vector<std::uint8_t> out_;
};

std::u16string Utf16Of(const std::string& cp932)
{
    QString text = Cp932ToUnicode(cp932);
    if (text.size() > static_cast<qsizetype>(kMaxShellLinkChars))
        text.truncate(static_cast<qsizetype>(kMaxShellLinkChars));
    return text.toStdU16String();
}

void CountedString(Bytes& out, const std::string& cp932)
{
    std::u16string text = Utf16Of(cp932);
    out.U16(static_cast<std::uint32_t>(text.size()));
    for (char16_t unit : text)
        out.U16(unit);
}

void LinkInfo(Bytes& out, const ShellLinkData& link)
{
    const std::size_t start = out.Size();
    out.U32(0);  // LinkInfoSize, patched below
    out.U32(kLinkInfoHeaderSize);
    out.U32(kVolumeIdAndLocalBasePath);
    out.U32(kLinkInfoHeaderSize);  // VolumeIDOffset: right after this header
    const std::size_t offsets = out.Size();
    out.U32(0);  // LocalBasePathOffset
    out.U32(0);  // CommonNetworkRelativeLinkOffset: none
    out.U32(0);  // CommonPathSuffixOffset
    out.U32(0);  // LocalBasePathOffsetUnicode
    out.U32(0);  // CommonPathSuffixOffsetUnicode

    const std::size_t volume = out.Size();
    out.U32(0);  // VolumeIDSize, patched below
    out.U32(link.driveType);
    out.U32(link.driveSerialNumber);
    out.U32(kVolumeIdHeaderSize);
    out.Ansi(link.volumeLabel);
    out.PatchU32(volume, static_cast<std::uint32_t>(out.Size() - volume));

    auto here = [&]() { return static_cast<std::uint32_t>(out.Size() - start); };
    out.PatchU32(offsets, here());
    out.Ansi(link.targetPath);
    out.PatchU32(offsets + 8, here());
    out.Ansi(std::string());
    out.AlignTo2();
    out.PatchU32(offsets + 12, here());
    out.Utf16(Utf16Of(link.targetPath));
    out.PatchU32(offsets + 16, here());
    out.Utf16(std::u16string());
    out.PatchU32(start, here());
}

}  // namespace

std::vector<std::uint8_t> EncodeShellLink(const ShellLinkData& link)
{
    DWORD flags = kIsUnicode;
    if (!link.targetPath.empty())
        flags |= kHasLinkInfo;
    if (!link.description.empty())
        flags |= kHasName;
    if (!link.workingDirectory.empty())
        flags |= kHasWorkingDir;
    if (!link.arguments.empty())
        flags |= kHasArguments;
    if (!link.iconLocation.empty())
        flags |= kHasIconLocation;

    Bytes out;
    out.U32(kShellLinkHeaderSize);
    BYTE clsid[16];
    GuidToBytes(kShellLinkClsid, clsid);
    out.Raw(clsid, sizeof clsid);
    out.U32(flags);
    out.U32(link.targetAttributes);
    out.Time(link.targetCreationTime);
    out.Time(link.targetAccessTime);
    out.Time(link.targetWriteTime);
    out.U32(link.targetSize);
    out.U32(static_cast<std::uint32_t>(link.iconIndex));
    out.U32(static_cast<std::uint32_t>(link.showCommand));
    out.U16(link.hotKey);
    out.U16(0);  // reserved
    out.U32(0);
    out.U32(0);

    if (flags & kHasLinkInfo)
        LinkInfo(out, link);
    // The string data, in the format's order.
    if (flags & kHasName)
        CountedString(out, link.description);
    if (flags & kHasWorkingDir)
        CountedString(out, link.workingDirectory);
    if (flags & kHasArguments)
        CountedString(out, link.arguments);
    if (flags & kHasIconLocation)
        CountedString(out, link.iconLocation);
    out.U32(0);  // the terminal extra-data block
    return std::move(out.Data());
}
