#include "desktop/Link.h"

#include "base/Guarded.h"
#include "widgets/Image.h"
#include "widgets/Label.h"

#include <cstdlib>

namespace orvane {

namespace {

constexpr COLORREF kSelectedBackground = RGB(224, 238, 168);
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

TLink::TLink(TComponent* owner, TLinkHost& host) : TControl(owner), host_(host) {
    Icon = NewComponent<TImage>(this);
    Icon->SetName("Icon");
    Icon->SetStretch(true);
    Icon->SetParent(this);
    ApplLable = NewComponent<TLabel>(this);
    ApplLable->SetName("ApplLable");
    ApplLable->SetAutoSize(false);
    ApplLable->Font.Name = "Tahoma";
    ApplLable->Font.Color = kCaptionText;
    ApplLable->SetColor(kSelectedBackground);
    ApplLable->SetTransparent(true);
    ApplLable->SetParent(this);
    WirePart(*this);
    WirePart(*Icon);
    WirePart(*ApplLable);
    ApplyLayout(false);
}

void TLink::WirePart(TControl& part) {
    part.OnMouseDown = [this](TComponent& sender, TMouseButton button, TShiftState shift, int x,
                              int y) {
        PartDown(static_cast<TControl&>(sender), button, shift, x, y);
    };
    part.OnMouseMove = [this](TComponent&, TShiftState shift, int, int) { PartMove(shift); };
    part.OnMouseUp = [this](TComponent&, TMouseButton button, TShiftState, int, int) {
        PartUp(button);
    };
    part.OnDblClick = [this](TComponent&) {
        armed_ = false;
        Guarded("TLink.DblClick", FailurePolicy::LogAndContinue, [&] { host_.LinkOpen(*this); });
    };
}

void TLink::ApplyLayout(bool small) {
    const TLinkLayout& layout = small ? kSmall : kLarge;
    SetBounds(Left(), Top(), layout.link.cx, layout.link.cy);
    Icon->SetBounds(layout.icon.left, layout.icon.top, layout.icon.right, layout.icon.bottom);
    ApplLable->SetBounds(layout.caption.left, layout.caption.top, layout.caption.right,
                         layout.caption.bottom);
    Small = small;
}

void TLink::SetTarget(const std::string& target) {
    // On the parts the pointer rests on; the link's own window is covered.
    for (TControl* part : {static_cast<TControl*>(Icon), static_cast<TControl*>(ApplLable)}) {
        part->SetHint(target);
        part->SetShowHint(!target.empty());
    }
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

void TLink::Paint(TCanvas& canvas) {
    // Whatever the icon and the caption leave free shows the wallpaper.
    PaintParentBackground(canvas);
}

void TLink::PartDown(TControl& part, TMouseButton button, TShiftState shift, int x, int y) {
    Guarded("TLink.MouseDown", FailurePolicy::LogAndContinue, [&] {
        host_.LinkPressed(*this, button);
        if (button != TMouseButton::Left || shift.Double)
            return;
        // Kept in link coordinates, so the link lands under the point it was
        // held by, whichever of its parts was pressed.
        PressPos =
            POINT{x + (&part == this ? 0 : part.Left()), y + (&part == this ? 0 : part.Top())};
        pressScreen_ = CursorPos();
        armed_ = true;
    });
}

void TLink::PartMove(TShiftState shift) {
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
        SetCursor(LoadCursor(nullptr, accepted ? IDC_SIZEALL : IDC_NO));
    });
}

void TLink::PartUp(TMouseButton button) {
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
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
    armed_ = false;
    dragging_ = false;
}

} // namespace orvane
