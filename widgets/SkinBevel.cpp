#include "widgets/SkinBevel.h"

#include "paint/GradientFill.h"
#include "paint/Skin.h"

#include <algorithm>

namespace orvane {

void PaintSkinFill(TCanvas& canvas, const RECT& rect, const SkinFill& fill) {
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    if (fill.direction == SkinGradient::None || fill.start == fill.end) {
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.Brush.Color = fill.start;
        canvas.FillRect(rect);
        return;
    }
    GradientFill(canvas.Handle(), rect, fill.direction == SkinGradient::Horizontal,
                 {fill.start, fill.end});
}

void PaintSkinEdge(TCanvas& canvas, RECT& rect, COLORREF topLeft, COLORREF bottomRight, int width) {
    canvas.Brush.Style = TBrushStyle::Solid;
    for (int i = 0; i < width && rect.right - rect.left > 1 && rect.bottom - rect.top > 1; ++i) {
        canvas.Brush.Color = topLeft;
        canvas.FillRect({rect.left, rect.top, rect.right - 1, rect.top + 1});
        canvas.FillRect({rect.left, rect.top, rect.left + 1, rect.bottom - 1});
        canvas.Brush.Color = bottomRight;
        canvas.FillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom});
        canvas.FillRect({rect.right - 1, rect.top, rect.right, rect.bottom});
        InflateRect(&rect, -1, -1);
    }
}

void PaintSkinBorder(TCanvas& canvas, RECT& rect, COLORREF color, int width) {
    PaintSkinEdge(canvas, rect, color, color, width);
}

namespace {

// The skin's look behind a control that has no face of its own.
void PaintBehind(TControl& control, TCanvas& canvas, const TSkinElement& element) {
    if (control.Parent())
        control.PaintParentBackground(canvas);
    else
        PaintSkinFill(canvas, control.ClientRect(), element.face);
}

} // namespace

TSkinBevel::TSkinBevel(TComponent* owner) : TControl(owner) {}

void TSkinBevel::SetShape(TSkinBevelShape shape) {
    shape_ = shape;
    Invalidate();
}

void TSkinBevel::SetStyle(TSkinBevelStyle style) {
    style_ = style;
    Invalidate();
}

void TSkinBevel::SetSkinElement(const std::string& name) {
    skinElement_ = name;
    Invalidate();
}

void TSkinBevel::Paint(TCanvas& canvas) {
    const TSkinElement& element = CurrentSkin().Element(skinElement_);
    PaintBehind(*this, canvas, element);
    COLORREF first = style_ == TSkinBevelStyle::Lowered ? element.shadow : element.light;
    COLORREF second = style_ == TSkinBevelStyle::Lowered ? element.light : element.shadow;
    RECT rect = ClientRect();
    int w = rect.right, h = rect.bottom;
    canvas.Brush.Style = TBrushStyle::Solid;
    auto band = [&](COLORREF color, RECT line) {
        canvas.Brush.Color = color;
        canvas.FillRect(line);
    };
    switch (shape_) {
    case TSkinBevelShape::Box:
        PaintSkinEdge(canvas, rect, first, second, std::max(element.bevelWidth, 1));
        break;
    case TSkinBevelShape::Frame:
        // An etched frame: the outer ring one way, the inner ring the other.
        PaintSkinEdge(canvas, rect, first, second, 1);
        PaintSkinEdge(canvas, rect, second, first, 1);
        break;
    case TSkinBevelShape::TopLine:
        band(first, {0, 0, w, 1});
        band(second, {0, 1, w, 2});
        break;
    case TSkinBevelShape::BottomLine:
        band(first, {0, h - 2, w, h - 1});
        band(second, {0, h - 1, w, h});
        break;
    case TSkinBevelShape::LeftLine:
        band(first, {0, 0, 1, h});
        band(second, {1, 0, 2, h});
        break;
    case TSkinBevelShape::RightLine:
        band(first, {w - 2, 0, w - 1, h});
        band(second, {w - 1, 0, w, h});
        break;
    case TSkinBevelShape::Spacer:
        break;
    }
}

void TSkinBevel::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(EnumProperty(
        "Shape", 7, [this] { return static_cast<int64_t>(shape_); },
        [this](int64_t v) { SetShape(static_cast<TSkinBevelShape>(v)); }));
    properties.push_back(EnumProperty(
        "Style", 2, [this] { return static_cast<int64_t>(style_); },
        [this](int64_t v) { SetStyle(static_cast<TSkinBevelStyle>(v)); }));
    properties.push_back(StringProperty(
        "SkinElement", [this] { return skinElement_; },
        [this](const std::string& v) { SetSkinElement(v); }));
}

TSkinDivider::TSkinDivider(TComponent* owner) : TControl(owner) {}

void TSkinDivider::SetVertical(bool vertical) {
    vertical_ = vertical;
    Invalidate();
}

void TSkinDivider::SetSkinElement(const std::string& name) {
    skinElement_ = name;
    Invalidate();
}

void TSkinDivider::Paint(TCanvas& canvas) {
    const TSkinElement& element = CurrentSkin().Element(skinElement_);
    PaintBehind(*this, canvas, element);
    RECT rect = ClientRect();
    canvas.Brush.Style = TBrushStyle::Solid;
    if (vertical_) {
        int x = (rect.right - 2) / 2;
        canvas.Brush.Color = element.shadow;
        canvas.FillRect({x, 0, x + 1, rect.bottom});
        canvas.Brush.Color = element.light;
        canvas.FillRect({x + 1, 0, x + 2, rect.bottom});
    } else {
        int y = (rect.bottom - 2) / 2;
        canvas.Brush.Color = element.shadow;
        canvas.FillRect({0, y, rect.right, y + 1});
        canvas.Brush.Color = element.light;
        canvas.FillRect({0, y + 1, rect.right, y + 2});
    }
}

void TSkinDivider::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(BoolProperty(
        "Vertical", [this] { return vertical_; }, [this](bool v) { SetVertical(v); }));
    properties.push_back(StringProperty(
        "SkinElement", [this] { return skinElement_; },
        [this](const std::string& v) { SetSkinElement(v); }));
}

} // namespace orvane
