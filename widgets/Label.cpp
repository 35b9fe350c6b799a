#include "widgets/Label.h"

#include <algorithm>

namespace orvane {

TCustomLabel::TCustomLabel(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 65, 13);
}

void TCustomLabel::SetWordWrap(bool wrap) {
    if (wordWrap_ == wrap)
        return;
    wordWrap_ = wrap;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustBounds();
}

UINT TCustomLabel::TextFlags() const {
    UINT flags = DT_EXPANDTABS;
    flags |= wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
    if (alignment_ == TAlignment::RightJustify)
        flags |= DT_RIGHT;
    else if (alignment_ == TAlignment::Center)
        flags |= DT_CENTER;
    return flags;
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_)
        return;
    // The screen's DC measures as the label's own would: same resolution.
    WindowDc screen(nullptr);
    if (!screen.get())
        return;
    TCanvas canvas(screen.get());
    canvas.Font = Font;
    RECT rect{0, 0, wordWrap_ ? std::max(Width(), 1) : 0, 0};
    // An empty caption still keeps one line's height, so the label can be found.
    std::string text = Caption().empty() ? std::string(" ") : Caption();
    DrawUtf8Text(canvas.Handle(), text, rect, TextFlags() | DT_CALCRECT);
    int width = wordWrap_ ? Width() : static_cast<int>(rect.right - rect.left);
    int left = Left();
    // A right-justified label keeps its right edge where it was.
    if (!wordWrap_ && alignment_ == TAlignment::RightJustify)
        left = Left() + Width() - width;
    SetBounds(left, Top(), width, rect.bottom - rect.top);
}

void TCustomLabel::CaptionChanged() {
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::HandleCreated() {
    AdjustBounds();
}

void TCustomLabel::Paint(TCanvas& canvas) {
    // The base paints the background: the parent's look when transparent.
    TControl::Paint(canvas);
    canvas.Font = Font;
    if (!Enabled())
        canvas.Font.Color = GetSysColor(COLOR_GRAYTEXT);
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.DrawText(ClientRect(), Caption(), TextFlags());
}

void TCustomLabel::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(BoolProperty(
        "Transparent", [this] { return Transparent(); }, [this](bool v) { SetTransparent(v); }));
    properties.push_back(BoolProperty(
        "WordWrap", [this] { return wordWrap_; }, [this](bool v) { SetWordWrap(v); }));
    properties.push_back(BoolProperty(
        "AutoSize", [this] { return autoSize_; }, [this](bool v) { SetAutoSize(v); }));
    properties.push_back(EnumProperty(
        "Alignment", 3, [this] { return static_cast<int64_t>(alignment_); },
        [this](int64_t v) { SetAlignment(static_cast<TAlignment>(v)); }));
}

} // namespace orvane
