#pragma once
// The standard controls the system's own controls build on: TPanel (a
// windowed child with colour, bevels and caption) and TImage (a windowless
// picture control that draws its picture unscaled at its top-left corner).

#include "framework/graphics/Picture.h"
#include "framework/widgets/ControlCanvas.h"
#include "framework/widgets/Controls.h"

#include <memory>

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TCustomPanel : public TWinControl {
    VN_COMPONENT(TCustomPanel)
public:
    explicit TCustomPanel(TComponent* owner);

    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut bevel);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut bevel);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int width);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TFont* Font() const { return font_.get(); }

    void PaintWidget(QPainter& painter, const QRect& dirty) override;

private:
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    TAlignment alignment_ = taCenter;
    std::unique_ptr<TFont> font_;
};

class TPanel : public TCustomPanel {
    VN_COMPONENT(TPanel)
public:
    using TCustomPanel::TCustomPanel;
};

class TImage : public TGraphicControl {
    VN_COMPONENT(TImage)
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;

    // The picture object; assigning copies.
    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(const TPicture* picture);
    // The picture's bitmap surface; an empty picture first becomes a bitmap of
    // the control's size. Raises EInvalidOperation for a picture of another kind.
    TCanvas* Canvas();

    bool AutoSize() const { return autoSize_; }
    virtual void SetAutoSize(bool autoSize);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    bool Center() const { return center_; }
    void SetCenter(bool center);

    void PaintWidget(QPainter& painter, const QRect& dirty) override;

protected:
    // The picture changed (assignment, load, drawing on its canvas).
    virtual void PictureChanged(TObject* sender);

private:
    std::unique_ptr<TPicture> picture_;
    bool autoSize_ = false;
    bool stretch_ = false;
    bool center_ = false;
};

class TLabel : public TGraphicControl {
    VN_COMPONENT(TLabel)
public:
    explicit TLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    TFont* Font() const { return font_.get(); }
    void SetCaption(const QString& caption) override;

    void PaintWidget(QPainter& painter, const QRect& dirty) override;

private:
    void AdjustBounds();

    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    bool transparent_ = false;
    std::unique_ptr<TFont> font_;
};

// Stand-in for registering the standard classes with the form streams.
void RegisterStandardControls();
