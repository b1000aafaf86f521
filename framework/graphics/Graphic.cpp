#include "framework/graphics/Graphic.h"

#include "framework/core/Filer.h"

#include <cstdint>
#include <vector>

void TGraphic::LoadFromFile(const std::filesystem::path& file)
{
    // Picture files are read whole; refuse what no picture could need before
    // trying to hold it in memory. A folder opens for reading on POSIX and reads
    // as nothing, and an empty stream loads as an empty graphic: neither may
    // pass for a picture file.
    std::error_code error;
    if (std::filesystem::is_directory(file, error))
        throw EFOpenError("Cannot open file \"" + file.string() + "\". It is a folder");
    const auto size = std::filesystem::file_size(file, error);
    if (!error && size > kMaxPictureFileBytes)
        throw EInvalidGraphic("The picture file " + file.string() + " is too large");
    const std::vector<std::uint8_t> bytes = ReadWholeFile(file);
    if (bytes.empty())
        throw EInvalidGraphic("The picture file " + file.string() + " is empty");
    TSpanStream stream(bytes);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::filesystem::path& file) const
{
    // Saved into memory first, so that an error while encoding leaves no
    // half-written file behind.
    TMemoryStream image;
    SaveToStream(image);
    TFileStream out(file, TFileMode::fmCreate);
    image.SetPosition(0);
    image.SaveToStream(out);
}

void TGraphic::ReadData(TStream& stream)
{
    const auto size = stream.ReadValue<std::int32_t>();
    const std::int64_t left = stream.Size() - stream.Position();
    if (size < 0 || size > left)
        throw EReadError(SysMsg::ReadError);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    stream.ReadBuffer(bytes.data(), size);
    TSpanStream image(bytes);
    LoadFromStream(image);
}

void TGraphic::WriteData(TStream& stream) const
{
    TMemoryStream image;
    SaveToStream(image);
    if (image.Size() > INT32_MAX)
        throw EWriteError(SysMsg::WriteError);
    stream.WriteValue(static_cast<std::int32_t>(image.Size()));
    image.SaveToStream(stream);
}

void TGraphic::DefineProperties(TFiler& filer)
{
    filer.DefineBinaryProperty(
        "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, !Empty());
}

void TGraphic::SetModified(bool modified)
{
    if (modified)
        Changed();
    else
        modified_ = false;
}

void TGraphic::Changed()
{
    modified_ = true;
    if (OnChange)
        OnChange(this);
}
