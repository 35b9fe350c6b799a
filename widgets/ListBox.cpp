#include "widgets/ListBox.h"

#include "base/Utf.h"
#include "paint/GradientFill.h"
#include "paint/Skin.h"

#include <windowsx.h>

#include <algorithm>

namespace orvane {

namespace {

// Controls are created with the identifier 0, and WM_MEASUREITEM names its
// list only by identifier; a list gets one of its own so that the parent can
// pass the question to the right list.
int NextListIdentifier() {
    static int next = 0x4C00;
    return next++;
}

} // namespace

TListBox::TListBox(TComponent* owner) : TControl(owner) {
    SetColor(CurrentSkin().Element("popupmenu").face.start);
    items_.OnChange = [this] { SyncWindowList(); };
}

DWORD TListBox::WindowStyle() const {
    return TControl::WindowStyle() | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
           LBS_NOINTEGRALHEIGHT;
}

void TListBox::HandleCreated() {
    SetWindowLongPtrW(Handle(), GWLP_ID, NextListIdentifier());
    SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(itemHeight_, 0));
    shown_.clear();
    SyncWindowList();
    SetItemIndex(itemIndex_);
}

void TListBox::SetItemHeight(int height) {
    height = std::clamp(height, 1, 255); // the list box keeps heights in a byte
    if (height == itemHeight_)
        return;
    itemHeight_ = height;
    if (HandleAllocated()) {
        SendMessageW(Handle(), LB_SETITEMHEIGHT, 0, MAKELPARAM(itemHeight_, 0));
        Invalidate();
    }
}

int TListBox::ItemIndex() const {
    if (HandleAllocated())
        return static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
    return itemIndex_ < items_.Count() ? itemIndex_ : -1;
}

void TListBox::SetItemIndex(int index) {
    if (index < 0 || index >= items_.Count())
        index = -1;
    itemIndex_ = index;
    if (HandleAllocated())
        SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TListBox::ItemAtPos(POINT point) const {
    if (!HandleAllocated())
        return -1;
    RECT client = ClientRect();
    if (!PtInRect(&client, point))
        return -1;
    LRESULT found = SendMessageW(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    // The high word is set when the point lies beyond the last entry.
    if (HIWORD(found) != 0)
        return -1;
    int index = LOWORD(found);
    return index < items_.Count() ? index : -1;
}

RECT TListBox::ItemRect(int index) const {
    RECT rect{0, 0, 0, 0};
    if (HandleAllocated() && index >= 0 && index < items_.Count())
        SendMessageW(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void TListBox::SyncWindowList() {
    if (!HandleAllocated())
        return;
    std::vector<ShownItem> wanted;
    wanted.reserve(items_.Count());
    for (int i = 0; i < items_.Count(); ++i)
        wanted.push_back({items_[i], items_.Object(i)});

    // Only the run of texts between the unchanged head and tail is replaced,
    // so the selection and the scroll position survive an added or removed
    // entry.
    size_t oldCount = shown_.size(), newCount = wanted.size();
    size_t head = 0;
    while (head < oldCount && head < newCount && shown_[head].text == wanted[head].text)
        ++head;
    size_t tail = 0;
    while (tail < oldCount - head && tail < newCount - head &&
           shown_[oldCount - 1 - tail].text == wanted[newCount - 1 - tail].text)
        ++tail;

    HWND list = Handle();
    if (head < oldCount || head < newCount) {
        int selected = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        bool selectedReplaced =
            selected >= static_cast<int>(head) && selected < static_cast<int>(oldCount - tail);
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        for (size_t i = head; i < oldCount - tail; ++i)
            SendMessageW(list, LB_DELETESTRING, head, 0);
        for (size_t i = head; i < newCount - tail; ++i) {
            SendMessageW(list, LB_INSERTSTRING, i,
                         reinterpret_cast<LPARAM>(Wide(wanted[i].text).c_str()));
            SendMessageW(list, LB_SETITEMDATA, i, static_cast<LPARAM>(wanted[i].object));
        }
        shown_.erase(shown_.begin() + head, shown_.end() - tail);
        shown_.insert(shown_.begin() + head, wanted.begin() + head, wanted.end() - tail);
        // An entry renamed in place keeps its selection; one that went away
        // loses it.
        if (selectedReplaced && oldCount == newCount)
            SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
    // Objects are set without telling the list, so any change brings all of
    // them up to date.
    SyncObjects();
}

void TListBox::SyncObjects() {
    if (!HandleAllocated())
        return;
    for (int i = 0; i < static_cast<int>(shown_.size()) && i < items_.Count(); ++i) {
        if (shown_[i].object == items_.Object(i))
            continue;
        shown_[i].object = items_.Object(i);
        SendMessageW(Handle(), LB_SETITEMDATA, i, static_cast<LPARAM>(shown_[i].object));
        RECT rect = ItemRect(i);
        InvalidateRect(Handle(), &rect, FALSE);
    }
}

HBRUSH TListBox::BackgroundBrush() {
    if (!background_ || backgroundColor_ != Color()) {
        background_.reset(CreateSolidBrush(Color()));
        backgroundColor_ = Color();
    }
    return background_.get();
}

void TListBox::PaintItem(const DRAWITEMSTRUCT& item) {
    // An empty list that has the focus asks for entry -1: nothing to paint.
    if (item.itemID == static_cast<UINT>(-1) || static_cast<int>(item.itemID) >= items_.Count())
        return;
    if (int index = static_cast<int>(item.itemID);
        shown_.size() > item.itemID && shown_[index].object != items_.Object(index)) {
        shown_[index].object = items_.Object(index);
        SendMessageW(Handle(), LB_SETITEMDATA, index, static_cast<LPARAM>(shown_[index].object));
    }
    const RECT rect = item.rcItem;
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    bool focused = (item.itemState & ODS_FOCUS) != 0;

    // The entry is painted off screen and shown in one blit, so a list being
    // scrolled or reselected does not flicker. The handler paints in the
    // list's client coordinates, as it would on the list itself.
    UniqueMemoryDc memory(CreateCompatibleDC(item.hDC));
    UniqueBitmap bitmap(CreateCompatibleBitmap(item.hDC, width, height));
    if (!memory || !bitmap)
        return;
    {
        SelectedObject selectBitmap(memory.get(), bitmap.get());
        SetViewportOrgEx(memory.get(), -rect.left, -rect.top, nullptr);
        {
            TCanvas canvas(memory.get());
            canvas.Font = Font;
            canvas.Brush.Color = Color();
            canvas.FillRect(rect);
            if (OnDrawItem)
                OnDrawItem(*this, canvas, static_cast<int>(item.itemID), rect, selected, focused);
            else
                DrawItem(canvas, static_cast<int>(item.itemID), rect, selected, focused);
        }
        SetViewportOrgEx(memory.get(), 0, 0, nullptr);
        BitBlt(item.hDC, rect.left, rect.top, width, height, memory.get(), 0, 0, SRCCOPY);
    }
}

void TListBox::DrawItem(TCanvas& canvas, int index, RECT rect, bool selected, bool focused) {
    const TSkinElement& look = CurrentSkin().Element("popupmenu");
    canvas.Font.Color = Font.Color;
    if (selected) {
        PaintSkinFill(canvas.Handle(), rect, look.selected);
        canvas.Brush.Color = look.selectedFrame;
        canvas.FrameRect(rect);
        canvas.Font.Color = look.selectedFontColor;
    }
    canvas.Brush.Style = TBrushStyle::Clear;
    RECT text = rect;
    text.left += 3;
    text.right -= 2;
    canvas.DrawText(text, items_[index],
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (focused && !selected)
        DrawFocusRect(canvas.Handle(), &rect);
}

LRESULT TListBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDBLCLK: {
        // The list reports the double click itself (LBN_DBLCLK); the general
        // handling would report it a second time.
        TShiftState shift = ShiftFromKeys(wParam);
        shift.Double = true;
        MouseDown(TMouseButton::Left, shift, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return DefaultHandler(message, wParam, lParam);
    }
    case WM_DESTROY:
        // A list whose window is made again (a new parent) keeps its selection.
        itemIndex_ = static_cast<int>(DefaultHandler(LB_GETCURSEL, 0, 0));
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

bool TListBox::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        switch (HIWORD(wParam)) {
        case LBN_SELCHANGE:
            Click();
            return true;
        case LBN_DBLCLK:
            if (OnDblClick)
                OnDblClick(*this);
            return true;
        default:
            return false;
        }
    case WM_DRAWITEM:
        PaintItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(itemHeight_);
        result = TRUE;
        return true;
    case WM_CTLCOLORLISTBOX:
        result = reinterpret_cast<LRESULT>(BackgroundBrush());
        return true;
    default:
        return false;
    }
}

void TListBox::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(ListProperty("Items", [this] { return &items_; }));
    properties.push_back(IntegerProperty(
        "ItemHeight", [this] { return itemHeight_; },
        [this](int64_t v) { SetItemHeight(static_cast<int>(v)); }));
    properties.push_back(IntegerProperty(
        "ItemIndex", [this] { return ItemIndex(); },
        [this](int64_t v) { SetItemIndex(static_cast<int>(v)); }));
}

} // namespace orvane
