#include "framework/graphics/Picture.h"

#include "framework/core/Filer.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/JpegImage.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace {
struct Registry {
    std::mutex mutex;
    std::map<std::string, TGraphicFactory> classes;    // by class name
    std::map<std::string, TGraphicFactory> extensions; // lower-case, with the dot

    static Registry& Get()
    {
        static Registry* registry = new Registry; // lives as long as the process
        return *registry;
    }

    Registry()
    {
        // Registered here rather than by static initialisers, which a static
        // library would drop when nothing refers to their unit.
        TGraphicFactory bitmap = [] { return std::make_unique<TBitmap>(); };
        TGraphicFactory jpeg = [] { return std::make_unique<TJPEGImage>(); };
        classes[TBitmap::StaticClassName()] = bitmap;
        classes[TJPEGImage::StaticClassName()] = jpeg;
        extensions[".bmp"] = bitmap;
        for (const char* e : {".jpg", ".jpeg", ".jpe"})
            extensions[e] = jpeg;
    }
};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : char(c); });
    return text;
}
} // namespace

void RegisterGraphicClass(const std::string& className, TGraphicFactory create)
{
    Registry& r = Registry::Get();
    std::lock_guard lock(r.mutex);
    r.classes[className] = std::move(create);
}

std::unique_ptr<TGraphic> CreateGraphic(const std::string& className)
{
    Registry& r = Registry::Get();
    TGraphicFactory create;
    {
        std::lock_guard lock(r.mutex);
        const auto it = r.classes.find(className);
        if (it == r.classes.end())
            return nullptr;
        create = it->second;
    }
    return create();
}

void TPicture::RegisterFileFormat(const std::string& extension, const std::string&, TGraphicFactory create)
{
    std::string key = Lower(extension);
    if (!key.empty() && key[0] != '.')
        key.insert(key.begin(), '.');
    Registry& r = Registry::Get();
    std::lock_guard lock(r.mutex);
    r.extensions[key] = std::move(create);
}

TPicture::TPicture() = default;

TPicture::~TPicture()
{
    if (graphic_)
        graphic_->OnChange = nullptr;
}

void TPicture::Changed(TObject*)
{
    if (OnChange)
        OnChange(this);
}

void TPicture::Hold(std::unique_ptr<TGraphic> graphic)
{
    if (graphic_)
        graphic_->OnChange = nullptr;
    graphic_ = std::move(graphic);
    if (graphic_)
        graphic_->OnChange = [this](TObject* sender) { Changed(sender); };
    Changed(this);
}

void TPicture::SetGraphic(const TGraphic* graphic)
{
    if (!graphic) {
        Hold(nullptr);
        return;
    }
    if (graphic == graphic_.get())
        return;
    std::unique_ptr<TGraphic> copy = graphic->NewInstance();
    copy->Assign(graphic);
    Hold(std::move(copy));
}

TBitmap* TPicture::Bitmap()
{
    if (!dynamic_cast<TBitmap*>(graphic_.get()))
        Hold(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(graphic_.get());
}

void TPicture::LoadFromFile(const std::filesystem::path& file)
{
    const std::string extension = Lower(file.extension().string());
    TGraphicFactory create;
    {
        Registry& r = Registry::Get();
        std::lock_guard lock(r.mutex);
        if (const auto it = r.extensions.find(extension); it != r.extensions.end())
            create = it->second;
    }
    if (!create)
        throw EInvalidGraphic("Unknown picture file extension (" + extension + ")");
    std::unique_ptr<TGraphic> graphic = create();
    graphic->LoadFromFile(file);
    Hold(std::move(graphic));
}

void TPicture::SaveToFile(const std::filesystem::path& file) const
{
    if (graphic_)
        graphic_->SaveToFile(file);
}

void TPicture::Assign(const TPersistent* source)
{
    if (!source) {
        SetGraphic(nullptr);
        return;
    }
    if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
        if (picture != this)
            SetGraphic(picture->Graphic());
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        SetGraphic(graphic);
        return;
    }
    TPersistent::Assign(source);
}

void TPicture::AssignTo(TPersistent* dest) const
{
    if (auto* graphic = dynamic_cast<TGraphic*>(dest); graphic && graphic_) {
        graphic->Assign(graphic_.get());
        return;
    }
    TPersistent::AssignTo(dest);
}

void TPicture::DefineProperties(TFiler& filer)
{
    filer.DefineBinaryProperty(
        "Data", [this](TStream& s) { ReadData(s); }, [this](TStream& s) { WriteData(s); }, graphic_ != nullptr);
}

void TPicture::ReadData(TStream& stream)
{
    const auto length = stream.ReadValue<std::uint8_t>();
    std::string className(length, '\0');
    stream.ReadBuffer(className.data(), length);
    if (className.empty()) {
        Hold(nullptr);
        return;
    }
    std::unique_ptr<TGraphic> graphic = CreateGraphic(className);
    if (!graphic)
        throw EInvalidGraphic("Unknown picture class \"" + className + "\" in the stored picture data");
    graphic->ReadData(stream);
    Hold(std::move(graphic));
}

void TPicture::WriteData(TStream& stream) const
{
    const std::string className = graphic_ ? graphic_->ClassName() : "";
    stream.WriteValue(static_cast<std::uint8_t>(className.size()));
    stream.WriteBuffer(className.data(), std::int64_t(className.size()));
    if (graphic_)
        graphic_->WriteData(stream);
}
