#include "widgets/SkinStatusBar.h"

#include "base/ShellError.h"
#include "paint/Skin.h"
#include "widgets/SkinBevel.h"

#include <algorithm>

namespace orvane {

namespace {

constexpr int kPanelGap = 2; // between panels and round the row
constexpr int kTextIndent = 3;

} // namespace

TSkinStatusBar::TSkinStatusBar(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 200, 19);
    SetAlign(TAlign::Bottom);
}

int TSkinStatusBar::AddPanel(const std::string& text, int width) {
    panels_.push_back({text, std::max(width, 0)});
    Invalidate();
    return static_cast<int>(panels_.size()) - 1;
}

TStatusPanel& TSkinStatusBar::PanelAt(int index) {
    if (index < 0 || index >= static_cast<int>(panels_.size()))
        throw ShellError("Status bar: no panel " + std::to_string(index));
    return panels_[static_cast<size_t>(index)];
}

void TSkinStatusBar::SetPanelText(int index, const std::string& text) {
    PanelAt(index).Text = text;
    Invalidate();
}

void TSkinStatusBar::SetPanelWidth(int index, int width) {
    PanelAt(index).Width = std::max(width, 0);
    Invalidate();
}

void TSkinStatusBar::ClearPanels() {
    panels_.clear();
    Invalidate();
}

void TSkinStatusBar::SetSkinElement(const std::string& name) {
    skinElement_ = name;
    Invalidate();
}

RECT TSkinStatusBar::PanelRect(int index) const {
    RECT client = ClientRect();
    if (index < 0 || index >= static_cast<int>(panels_.size()))
        throw ShellError("Status bar: no panel " + std::to_string(index));
    int left = client.left;
    for (int i = 0; i < index; ++i)
        left += panels_[static_cast<size_t>(i)].Width + kPanelGap;
    int right = index + 1 == static_cast<int>(panels_.size())
                    ? client.right
                    : left + panels_[static_cast<size_t>(index)].Width;
    right = std::min<int>(right, client.right);
    return {std::min<int>(left, right), client.top + kPanelGap, right, client.bottom};
}

void TSkinStatusBar::Paint(TCanvas& canvas) {
    const TSkinElement& element = CurrentSkin().Element(skinElement_);
    RECT client = ClientRect();
    PaintSkinFill(canvas, client, element.face);

    canvas.Font.Name = element.font.name;
    canvas.Font.Size = element.font.size;
    canvas.Font.Bold = element.font.bold;
    canvas.Font.Color = Enabled() ? element.font.color : element.disabledFontColor;
    constexpr UINT kFlags = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;

    auto paintPanel = [&](RECT rect, const std::string& text) {
        PaintSkinEdge(canvas, rect, element.shadow, element.light, 1);
        rect.left += kTextIndent - 1;
        canvas.Brush.Style = TBrushStyle::Clear;
        canvas.DrawText(rect, text, kFlags);
    };
    if (panels_.empty()) {
        paintPanel({client.left, client.top + kPanelGap, client.right, client.bottom}, Caption());
        return;
    }
    for (int i = 0; i < static_cast<int>(panels_.size()); ++i) {
        RECT rect = PanelRect(i);
        if (rect.right > rect.left)
            paintPanel(rect, panels_[static_cast<size_t>(i)].Text);
    }
}

void TSkinStatusBar::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(StringProperty(
        "SkinElement", [this] { return skinElement_; },
        [this](const std::string& v) { SetSkinElement(v); }));
}

} // namespace orvane
