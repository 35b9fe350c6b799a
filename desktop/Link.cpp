#include "desktop/Link.h"

#include "base/Guarded.h"

#include <algorithm>
#include <cstdlib>

namespace orvane {

namespace {

constexpr COLORREF kSelectedText = RGB(0, 64, 0);
constexpr COLORREF kCaptionText = RGB(255, 255, 255);

struct TLinkLayout {
    SIZE link;
    RECT icon;    // left, top, width, height
    RECT caption; // left, top, width, height
};
constexpr TLinkLayout kLarge{{48, 65}, {6, 0, 32, 32}, {0, 32, 48, 18}};
constexpr TLinkLayout kSmall{{110, 16}, {0, 0, 16, 16}, {19, 2, 93, 16}};

POINT CursorPos() {
    POINT point{0, 0};
    GetCursorPos(&point);
    return point;
}

} // namespace

TLink::TLink(TComponent* owner, TLinkHost& host)
    : TComponent(owner), Icon(std::make_unique<TLinkIcon>()),
      ApplLable(std::make_unique<TLinkCaption>()), host_(host) {
    ApplLable->Font.Name = "Tahoma";
    ApplLable->Font.Color = kCaptionText;
    ApplyLayout(false);
}

void TLink::SetBounds(int left, int top, int width, int height) {
    const RECT wanted{left, top, left + std::max(width, 0), top + std::max(height, 0)};
    if (EqualRect(&wanted, &bounds_))
        return;
    Invalidate();
    bounds_ = wanted;
    Invalidate();
}

bool TLink::Contains(POINT desktopPoint) const {
    return PtInRect(&bounds_, desktopPoint) != FALSE;
}

void TLink::Invalidate() {
    if (!IsRectEmpty(&bounds_))
        host_.LinkChanged(bounds_);
}

void TLink::ApplyLayout(bool small) {
    const TLinkLayout& layout = small ? kSmall : kLarge;
    SetBounds(Left(), Top(), layout.link.cx, layout.link.cy);
    Icon->SetBounds(layout.icon.left, layout.icon.top, layout.icon.right, layout.icon.bottom);
    ApplLable->SetBounds(layout.caption.left, layout.caption.top, layout.caption.right,
                         layout.caption.bottom);
    Small = small;
    Invalidate();
}

void TLink::SetLinkCaption(const std::string& caption) {
    ApplLable->SetCaption(caption);
    Invalidate();
}

bool TLink::Selected() const {
    return !ApplLable->Transparent();
}

void TLink::SetSelected(bool selected) {
    if (selected == Selected())
        return;
    ApplLable->Font.Color = selected ? kSelectedText : kCaptionText;
    ApplLable->SetTransparent(!selected);
    Invalidate();
}

void TLink::Paint(TCanvas& canvas) const {
    if (HICON icon = Icon->Handle())
        DrawIconEx(canvas.Handle(), Icon->Left(), Icon->Top(), icon, Icon->Width(), Icon->Height(),
                   0, nullptr, DI_NORMAL);
    canvas.Font = ApplLable->Font;
    RECT caption = ApplLable->BoundsRect();
    if (!ApplLable->Transparent()) {
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.Brush.Color = ApplLable->Color;
        canvas.FillRect(caption);
    }
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.DrawText(caption, ApplLable->Caption(), DT_SINGLELINE | DT_NOPREFIX | DT_LEFT);
}

void TLink::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    Guarded("TLink.MouseDown", FailurePolicy::LogAndContinue, [&] {
        host_.LinkPressed(*this, button);
        if (button != TMouseButton::Left)
            return;
        if (shift.Double) {
            armed_ = false;
            Guarded("TLink.DblClick", FailurePolicy::LogAndContinue,
                    [&] { host_.LinkOpen(*this); });
            return;
        }
        PressPos = POINT{x, y};
        pressScreen_ = CursorPos();
        armed_ = true;
    });
}

void TLink::MouseMove(TShiftState shift, int, int) {
    Guarded("TLink.MouseMove", FailurePolicy::LogAndContinue, [&] {
        if (!armed_ && !dragging_)
            return;
        if (!shift.Left) { // the button went up where we could not see it
            EndDrag();
            return;
        }
        POINT now = CursorPos();
        if (!dragging_) {
            if (std::abs(now.x - pressScreen_.x) < GetSystemMetrics(SM_CXDRAG) &&
                std::abs(now.y - pressScreen_.y) < GetSystemMetrics(SM_CYDRAG))
                return;
            dragging_ = true;
        }
        bool accepted = host_.LinkDragOver(*this, now);
        SetCursor(LoadCursorW(nullptr, accepted ? IDC_SIZEALL : IDC_NO));
    });
}

void TLink::MouseUp(TMouseButton button, TShiftState, int, int) {
    Guarded("TLink.MouseUp", FailurePolicy::LogAndContinue, [&] {
        if (button == TMouseButton::Right) {
            host_.LinkContextMenu(*this, CursorPos());
            return;
        }
        if (button != TMouseButton::Left)
            return;
        bool dropped = dragging_;
        EndDrag();
        if (dropped)
            host_.LinkDropped(*this, CursorPos());
    });
}

void TLink::EndDrag() {
    if (dragging_)
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    armed_ = false;
    dragging_ = false;
}

} // namespace orvane
