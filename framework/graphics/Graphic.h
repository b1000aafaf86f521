#pragma once
// TGraphic: the abstract picture of the framework (a bitmap, a JPEG image ...)
// that a TPicture holds and a TCanvas draws. Graphics load and save their own
// file format through streams, and store themselves in form streams as a
// 32-bit little-endian byte count followed by those saved bytes.

#include "framework/core/Classes.h"
#include "framework/core/Object.h"
#include "framework/graphics/GdiTypes.h"
#include "framework/graphics/Types.h"

#include <cstdint>
#include <filesystem>
#include <memory>

class TCanvas;

// Largest picture file LoadFromFile reads (1 GiB).
inline constexpr std::uintmax_t kMaxPictureFileBytes = std::uintmax_t(1) << 30;

class TGraphic : public TPersistent {
    VN_CLASS(TGraphic)
public:
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    // The logical palette of the picture, or null.
    virtual HPALETTE Palette() const { return nullptr; }
    virtual void SetPalette(HPALETTE) {}

    // Reads the rest of the stream as the picture's file image.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) const = 0;
    // Host paths. A failed load leaves the graphic as it was; an empty file
    // (EInvalidGraphic) or a folder (EFOpenError) is refused.
    void LoadFromFile(const std::filesystem::path& file);
    void SaveToFile(const std::filesystem::path& file) const;

    // The form-stream form: byte count, then the saved bytes. A count that is
    // negative or runs past the stream raises EReadError.
    virtual void ReadData(TStream& stream);
    virtual void WriteData(TStream& stream) const;
    // Stores the graphic as the binary property "Data" when it is not empty.
    void DefineProperties(TFiler& filer) override;

    // A new, empty graphic of the same class (the classic virtual constructor).
    virtual std::unique_ptr<TGraphic> NewInstance() const = 0;

    bool Modified() const { return modified_; }
    // Setting True reports a change (OnChange); False only clears the flag.
    void SetModified(bool modified);
    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    // Draws the picture into rect of canvas, stretched to fit.
    virtual void Draw(TCanvas& canvas, const TRect& rect) const = 0;
    // Marks the graphic modified and fires OnChange.
    virtual void Changed();

private:
    bool modified_ = false;
};
