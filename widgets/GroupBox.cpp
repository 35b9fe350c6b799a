#include "widgets/GroupBox.h"

#include "paint/Skin.h"

#include <algorithm>

namespace orvane {

TGroupBox::TGroupBox(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 185, 105);
    // Group boxes sit on their dialog's face, so they show it rather than a colour.
    SetTransparent(true);
    const TSkinElement& bevel = CurrentSkin().Element("bevel");
    Font.Name = bevel.font.name;
    Font.Size = bevel.font.size;
    Font.Color = bevel.font.color;
}

int TGroupBox::CaptionHeight() const {
    WindowDc screen(nullptr);
    if (!screen.get())
        return 13;
    TCanvas canvas(screen.get());
    canvas.Font = Font;
    return canvas.TextHeight("Wg");
}

RECT TGroupBox::ClientRect() const {
    RECT rect{0, 0, Width(), Height()};
    if (HandleAllocated())
        GetClientRect(Handle(), &rect);
    rect.top += CaptionHeight() + 2;
    InflateRect(&rect, -3, 0);
    rect.bottom -= 3;
    rect.bottom = std::max(rect.bottom, rect.top);
    rect.right = std::max(rect.right, rect.left);
    return rect;
}

void TGroupBox::Paint(TCanvas& canvas) {
    RECT whole{0, 0, Width(), Height()};
    if (Transparent()) {
        PaintParentBackground(canvas);
    } else {
        canvas.Brush.Color = Color();
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.FillRect(whole);
    }
    canvas.Font = Font;
    int textHeight = canvas.TextHeight("Wg");
    // An etched frame in the skin's bevel colours, its top line through the
    // middle of the caption.
    const TSkinElement& bevel = CurrentSkin().Element("bevel");
    RECT frame{0, textHeight / 2, whole.right - 1, whole.bottom - 1};
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Pen.Style = TPenStyle::Solid;
    canvas.Pen.Width = 1;
    canvas.Pen.Color = bevel.light;
    canvas.Rectangle(RECT{frame.left + 1, frame.top + 1, frame.right + 1, frame.bottom + 1});
    canvas.Pen.Color = bevel.shadow;
    canvas.Rectangle(frame);
    if (Caption().empty())
        return;
    // The caption interrupts the frame: its gap shows what lies behind the box.
    SIZE extent = canvas.TextExtent(Caption());
    RECT gap{8, 0, 8 + extent.cx + 4, textHeight};
    if (Transparent()) {
        HDC dc = canvas.Handle();
        int saved = SaveDC(dc);
        IntersectClipRect(dc, gap.left, gap.top, gap.right, gap.bottom);
        PaintParentBackground(canvas);
        RestoreDC(dc, saved);
    } else {
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.Brush.Color = Color();
        canvas.FillRect(gap);
    }
    canvas.Brush.Style = TBrushStyle::Clear;
    if (!Enabled())
        canvas.Font.Color = bevel.disabledFontColor;
    canvas.TextOut(gap.left + 2, 0, Caption());
}

} // namespace orvane
