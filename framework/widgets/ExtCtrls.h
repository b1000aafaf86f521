#pragma once
// The standard controls the system's own controls build on: TPanel (a
// windowed child with colour, bevels and caption), TImage (a windowless
// picture control that draws its picture unscaled at its top-left corner),
// TLabel (text) and TBevel (a sunken or raised box or line).

#include "framework/graphics/Picture.h"
#include "framework/widgets/ControlCanvas.h"
#include "framework/widgets/Controls.h"

#include <memory>

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TCustomPanel : public TCustomControl {
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

protected:
    // Bevels, colour and caption, as an ordinary panel looks.
    void Paint() override;

private:
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    TAlignment alignment_ = taCenter;
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

protected:
    void PaintWidget(QPainter& painter, const QRect& dirty) override;
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
    void SetCaption(const QString& caption) override;

protected:
    void PaintWidget(QPainter& painter, const QRect& dirty) override;
    void FontChanged() override;

private:
    void AdjustBounds();

    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    bool transparent_ = false;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
    VN_COMPONENT(TBevel)
public:
    explicit TBevel(TComponent* owner);

    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape shape);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle style);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// Draws a bevel of `width` lines just inside rect and shrinks rect by it:
// raised is light at the top and left and dark at the bottom and right,
// lowered the other way round; bvSpace only shrinks.
void DrawBevel(TCanvas& canvas, TRect& rect, TBevelCut cut, int width);

// Stand-in for registering the standard classes with the form streams.
void RegisterStandardControls();
