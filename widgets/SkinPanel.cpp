#include "widgets/SkinPanel.h"

#include "paint/Skin.h"
#include "widgets/SkinBevel.h"

#include <algorithm>

namespace orvane {

namespace {

int BevelPixels(TPanelBevel bevel, const TSkinElement& element) {
    switch (bevel) {
    case TPanelBevel::None:
        return 0;
    case TPanelBevel::Frame:
        return 2;
    default:
        return std::max(element.bevelWidth, 1);
    }
}

} // namespace

TSkinPanel::TSkinPanel(TComponent* owner) : TControl(owner) {}

void TSkinPanel::SetBevelOuter(TPanelBevel bevel) {
    bevelOuter_ = bevel;
    Invalidate();
}

void TSkinPanel::SetSkinElement(const std::string& name) {
    skinElement_ = name;
    Invalidate();
}

void TSkinPanel::SetUseSkinFont(bool use) {
    useSkinFont_ = use;
    Invalidate();
}

RECT TSkinPanel::InnerRect() const {
    RECT rect = ClientRect();
    int inset = BevelPixels(bevelOuter_, CurrentSkin().Element(skinElement_));
    InflateRect(&rect, -inset, -inset);
    return rect;
}

void TSkinPanel::Paint(TCanvas& canvas) {
    const TSkinElement& element = CurrentSkin().Element(skinElement_);
    RECT rect = ClientRect();
    if (Transparent())
        PaintParentBackground(canvas);
    else
        PaintSkinFill(canvas, rect, element.face);

    int width = BevelPixels(bevelOuter_, element);
    switch (bevelOuter_) {
    case TPanelBevel::None:
        break;
    case TPanelBevel::Lowered:
        PaintSkinEdge(canvas, rect, element.shadow, element.light, width);
        break;
    case TPanelBevel::Raised:
        PaintSkinEdge(canvas, rect, element.light, element.shadow, width);
        break;
    case TPanelBevel::Frame:
        PaintSkinEdge(canvas, rect, element.shadow, element.light, 1);
        PaintSkinEdge(canvas, rect, element.light, element.shadow, 1);
        break;
    }

    if (Caption().empty())
        return;
    if (useSkinFont_) {
        canvas.Font.Name = element.font.name;
        canvas.Font.Size = element.font.size;
        canvas.Font.Color = element.font.color;
        canvas.Font.Bold = element.font.bold;
    } else {
        canvas.Font = Font;
    }
    if (!Enabled())
        canvas.Font.Color = element.disabledFontColor;
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.DrawText(rect, Caption(), DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TSkinPanel::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(EnumProperty(
        "BevelOuter", 4, [this] { return static_cast<int64_t>(bevelOuter_); },
        [this](int64_t v) { SetBevelOuter(static_cast<TPanelBevel>(v)); }));
    properties.push_back(StringProperty(
        "SkinElement", [this] { return skinElement_; },
        [this](const std::string& v) { SetSkinElement(v); }));
}

} // namespace orvane
