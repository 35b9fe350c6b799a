#include "widgets/MenuPaint.h"

#include "paint/GradientFill.h"
#include "base/Win32Handles.h"
#include "paint/Skin.h"
#include "widgets/SkinBevel.h"

#include <algorithm>

namespace orvane {

namespace {

TFont ItemFont(const TSkinElement& look, const TMenuItem& item) {
    TFont font;
    if (!look.font.name.empty())
        font.Name = look.font.name;
    font.Size = look.font.size;
    font.Color = look.font.color;
    font.Bold = look.font.bold || item.Default;
    return font;
}

void PaintCheck(TCanvas& canvas, const RECT& rect, COLORREF color) {
    int x = rect.left + 5, y = rect.top + (rect.bottom - rect.top) / 2;
    canvas.Pen.Color = color;
    canvas.Pen.Width = 1;
    canvas.Pen.Style = TPenStyle::Solid;
    for (int row = 0; row < 3; ++row) {
        canvas.MoveTo(x, y - 1 + row);
        canvas.LineTo(x + 3, y + 2 + row);
        canvas.LineTo(x + 9, y - 4 + row);
    }
}

} // namespace

SIZE MenuItemSize(TMenuItem& item) {
    if (item.IsSeparator())
        return {kMenuTextLeft, kMenuSeparatorHeight};
    const TSkinElement& look = CurrentSkin().Element("popupmenu");
    WindowDc screen(nullptr);
    TCanvas canvas(screen.get());
    canvas.Font = ItemFont(look, item);
    SIZE text = canvas.TextExtent(item.Caption.empty() ? std::string(" ") : item.Caption);
    // Room on the right for the submenu arrow the system draws.
    return {kMenuTextLeft + text.cx + 20, std::max<int>(kMenuItemHeight, text.cy + 6)};
}

void PaintMenuItem(TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected) {
    const TSkinElement& look = CurrentSkin().Element("popupmenu");
    PaintSkinFill(canvas, rect, look.face);
    if (item.IsSeparator()) {
        int y = rect.top + (rect.bottom - rect.top) / 2;
        canvas.Pen.Color = look.separator;
        canvas.Pen.Width = 1;
        canvas.Pen.Style = TPenStyle::Solid;
        canvas.MoveTo(rect.left + 2, y);
        canvas.LineTo(rect.right - 2, y);
        return;
    }
    bool highlighted = selected && item.Enabled;
    if (highlighted) {
        PaintSkinFill(canvas, rect, look.selected);
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.Brush.Color = look.selectedFrame;
        canvas.FrameRect(rect);
    }
    TFont font = ItemFont(look, item);
    if (!item.Enabled)
        font.Color = look.disabledFontColor;
    else if (highlighted)
        font.Color = look.selectedFontColor;
    if (item.Icon)
        canvas.DrawIcon(rect.left + 2, rect.top + 2, item.Icon, 16);
    else if (item.Checked)
        PaintCheck(canvas, rect, font.Color);
    canvas.Font = font;
    canvas.Brush.Style = TBrushStyle::Clear;
    RECT text{rect.left + kMenuTextLeft, rect.top, rect.right - 4, rect.bottom};
    canvas.DrawText(text, item.Caption,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT);
}

} // namespace orvane
