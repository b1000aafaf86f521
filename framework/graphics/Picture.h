#pragma once
// TPicture: holds one graphic of any registered class (TBitmap, TJPEGImage
// ...), loads picture files by extension, and stores its graphic in form
// streams as the binary property "Data": the graphic's class name as a
// ShortString (a length byte, then the name), followed by the graphic's own
// form-stream data (TGraphic::WriteData).
//
// OnChange fires on every change: a new graphic, and every change of the
// graphic itself (drawing on a bitmap's canvas reports one when each canvas
// operation ends).

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Graphic.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

using TGraphicFactory = std::function<std::unique_ptr<TGraphic>()>;

// Makes a graphic class known to form streams by its class name. TBitmap and
// TJPEGImage are known from the start.
void RegisterGraphicClass(const std::string& className, TGraphicFactory create);
// A new graphic of a registered class, or null.
std::unique_ptr<TGraphic> CreateGraphic(const std::string& className);

class TPicture : public TPersistent {
    VN_CLASS(TPicture)
public:
    TPicture();
    ~TPicture() override;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // The graphic held, or null.
    TGraphic* Graphic() const { return graphic_.get(); }
    // Holds a copy of graphic (null: none).
    void SetGraphic(const TGraphic* graphic);
    // The graphic as a bitmap: a graphic of another class (or none) is
    // replaced by a new empty TBitmap first.
    TBitmap* Bitmap();

    int Width() const { return graphic_ ? graphic_->Width() : 0; }
    int Height() const { return graphic_ ? graphic_->Height() : 0; }

    // Host path; the class comes from the extension: .bmp → TBitmap,
    // .jpg/.jpeg/.jpe → TJPEGImage, others raise EInvalidGraphic. A failed
    // load leaves the picture as it was.
    void LoadFromFile(const std::filesystem::path& file);
    // Saves the graphic in its own format (nothing when there is none).
    void SaveToFile(const std::filesystem::path& file) const;
    // Adds a file extension (".gif") for LoadFromFile.
    static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                   TGraphicFactory create);

    // Takes a TPicture or a TGraphic (copied) or null (empty).
    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler& filer) override;
    // The "Data" property's value.
    void ReadData(TStream& stream);
    void WriteData(TStream& stream) const;

    TNotifyEvent OnChange;

protected:
    void AssignTo(TPersistent* dest) const override;

private:
    void Changed(TObject* sender);
    // Takes ownership of graphic and reports the change.
    void Hold(std::unique_ptr<TGraphic> graphic);

    std::unique_ptr<TGraphic> graphic_;
};
