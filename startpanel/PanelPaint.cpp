// How the start panel paints: its list entries and its pop-up items.
#include "startpanel/StartPanel.h"

#include "paint/GradientFill.h"
#include "paint/Skin.h"
#include "widgets/ListBox.h"
#include "widgets/MenuItem.h"
#include "widgets/SkinBevel.h"

#include <cmath>

namespace orvane {

namespace {

constexpr COLORREF kEntryText = RGB(98, 98, 28);
constexpr COLORREF kSelectedTop = RGB(236, 245, 196);
constexpr COLORREF kSelectedBottom = RGB(202, 222, 132);
constexpr COLORREF kSelectedFrame = RGB(150, 193, 47);

} // namespace

// The shared entry painter of all five lists.
void TfrmStart::lbProgramsDrawItem(TListBox& list, TCanvas& canvas, int index, RECT rect,
                                   bool selected) {
    if (selected) {
        GradientFill(canvas.Handle(), rect, false, {kSelectedTop, kSelectedBottom});
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.Brush.Color = kSelectedFrame;
        canvas.FrameRect(rect);
        canvas.Brush.Style = TBrushStyle::Clear;
    } else {
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.Brush.Color = list.Color();
    }
    canvas.Font = list.Font;
    canvas.Font.Color = kEntryText;
    canvas.TextRect(rect, 22, rect.top + 3, list.Items()[index]);
    if (auto icon = reinterpret_cast<HICON>(list.Items().Object(index)))
        DrawIconEx(canvas.Handle(), rect.left + 2, rect.top + 2, icon, 16, 16, 0, nullptr,
                   DI_NORMAL);
    if (!HasArrow(list, index))
        return;
    const int r = rect.right - 3;
    const int m = static_cast<int>(std::nearbyint((rect.top + rect.bottom) / 2.0));
    canvas.Pen.Color = RGB(0, 0, 0);
    canvas.Pen.Style = TPenStyle::Solid;
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.Brush.Color = RGB(0, 0, 0);
    canvas.Polygon({{r, m}, {r - 5, m - 2}, {r - 5, m + 2}});
}

bool TfrmStart::HasArrow(const TListBox& list, int index) const {
    if (folderIcon_ && reinterpret_cast<HICON>(list.Items().Object(index)) == folderIcon_.get())
        return true;
    if (&list == lbFiles)
        return true;
    return &list == lbSystem && (index == 0 || index == 1);
}

void TfrmStart::pmStartDrawItem(TMenuItem& item, TCanvas& canvas, RECT rect, bool selected) {
    const TSkinElement& look = CurrentSkin().Element("popupmenu");
    PaintSkinFill(canvas, rect, look.face);
    if (selected && item.Enabled) {
        PaintSkinFill(canvas, rect, look.selected);
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.Brush.Color = look.selectedFrame;
        canvas.FrameRect(rect);
    }
    canvas.Font = Font;
    canvas.Font.Color = kEntryText;
    canvas.Font.Bold = item.Default;
    if (auto icon = reinterpret_cast<HICON>(item.Tag))
        DrawIconEx(canvas.Handle(), rect.left + 2, rect.top + 2, icon, 16, 16, 0, nullptr,
                   DI_NORMAL);
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.TextRect(rect, rect.left + 27, rect.top + 3, item.Caption);
}

} // namespace orvane
