#include "widgets/ComboBox.h"

#include "paint/GradientFill.h"
#include "toolkit/Application.h"
#include "widgets/Edit.h"
#include "paint/Skin.h"
#include "base/Guarded.h"
#include "base/Utf.h"

#include <algorithm>
#include <exception>

namespace orvane {

namespace {

constexpr wchar_t kEditOwnerProperty[] = L"OrvaneComboBox";

// Marks the time the control itself talks to its window, so that the window's
// echo is not taken for a change made from outside.
class SyncScope {
  public:
    explicit SyncScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    SyncScope(const SyncScope&) = delete;
    SyncScope& operator=(const SyncScope&) = delete;
    ~SyncScope() { flag_ = previous_; }

  private:
    bool& flag_;
    bool previous_;
};

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
    if (prefix.size() > text.size())
        return false;
    const int length = static_cast<int>(prefix.size());
    return CompareStringOrdinal(text.data(), length, prefix.data(), length, TRUE) == CSTR_EQUAL;
}

std::wstring WideWindowText(HWND window) {
    return Wide(WindowText(window));
}

} // namespace

TCustomComboBox::TCustomComboBox(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 145, 21);
    SetColor(RGB(255, 255, 255));
    items_.OnChange = [this] {
        if (!syncing_)
            PushItems();
    };
}

TCustomComboBox::~TCustomComboBox() {
    // The window goes while this part of the object still exists, since the
    // edit field's procedure and the list's notifications reach it.
    UnhookEdit();
    DestroyHandle();
    items_.OnChange = nullptr;
}

DWORD TCustomComboBox::WindowStyle() const {
    return TControl::WindowStyle() | WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL |
           (style_ == TComboBoxStyle::DropDown ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
}

void TCustomComboBox::HandleCreated() {
    HWND window = Handle();
    font_ = CreateControlFont(ComboFont());
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    HookEdit();
    std::string text = Text();
    {
        SyncScope scope(syncing_);
        PushItems();
        if (itemIndex_ >= 0)
            SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    }
    if (style_ == TComboBoxStyle::DropDown) {
        if (WindowText(window) != text)
            SetWindowTextW(window, Wide(text).c_str());
    } else {
        SyncTextFromWindow();
    }
}

void TCustomComboBox::HookEdit() {
    if (style_ != TComboBoxStyle::DropDown || edit_)
        return;
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    HWND edit = nullptr;
    if (GetComboBoxInfo(Handle(), &info) && info.hwndItem && info.hwndItem != Handle())
        edit = info.hwndItem;
    else
        edit = FindWindowExW(Handle(), nullptr, L"Edit", nullptr);
    if (!edit)
        return;
    SetPropW(edit, kEditOwnerProperty, this);
    editProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
    edit_ = edit;
}

void TCustomComboBox::UnhookEdit() {
    if (!edit_)
        return;
    if (IsWindow(edit_)) {
        SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
        RemovePropW(edit_, kEditOwnerProperty);
    }
    edit_ = nullptr;
    editProc_ = nullptr;
}

LRESULT CALLBACK TCustomComboBox::EditProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    auto* box = static_cast<TCustomComboBox*>(GetPropW(window, kEditOwnerProperty));
    if (!box || !box->editProc_)
        return DefWindowProcW(window, message, wParam, lParam);
    WNDPROC original = box->editProc_;
    if (message == WM_NCDESTROY) {
        box->UnhookEdit();
        return CallWindowProcW(original, window, message, wParam, lParam);
    }
    LRESULT result = 0;
    bool handled = true;
    Guarded("TCustomComboBox.EditProc", FailurePolicy::ShowError,
            [&] { handled = box->EditMessage(message, wParam, lParam, result); });
    if (handled)
        return result;
    return CallWindowProcW(original, window, message, wParam, lParam);
}

bool TCustomComboBox::EditMessage(UINT message, WPARAM& wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_KEYDOWN:
        if (OnKeyDown) {
            WORD key = static_cast<WORD>(wParam);
            TShiftState shift = KeyboardShift();
            OnKeyDown(*this, key, shift);
            if (key == 0)
                return true;
            wParam = key;
        }
        return false;
    case WM_CHAR: {
        std::wstring units = editTyped_.Add(static_cast<wchar_t>(wParam));
        if (units.empty() || !KeyPress(units))
            return true;
        if (autoComplete_ && Complete(units))
            return true;
        // The halves of a pair reach the field one after the other.
        for (size_t i = 0; i + 1 < units.size(); ++i)
            CallWindowProcW(editProc_, edit_, WM_CHAR, units[i], lParam);
        wParam = units.back();
        return false;
    }
    default:
        return false;
    }
}

// Positions are the field's, in UTF-16 units.
bool TCustomComboBox::Complete(const std::wstring& character) {
    if (style_ != TComboBoxStyle::DropDown || !edit_ || character.empty() || character[0] < 32)
        return false;
    const std::wstring text = WideWindowText(edit_);
    DWORD start = 0, end = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    // Only typing at the end completes: a key typed inside the text edits it.
    if (end < text.size() || start > end)
        return false;
    const std::wstring typed = text.substr(0, start) + character;
    for (int i = 0; i < items_.Count(); ++i) {
        const std::wstring completed = Wide(items_[i]);
        if (!StartsWithNoCase(completed, typed))
            continue;
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        if (WideWindowText(edit_) != completed)
            SetWindowTextW(edit_, completed.c_str());
        SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(typed.size(), completed.size()));
        Change();
        return true;
    }
    return false;
}

void TCustomComboBox::PushItems() {
    HWND window = Handle();
    if (!window)
        return;
    SyncScope scope(syncing_);
    // Emptying the list empties the edit field too; what was typed (and where
    // the caret was) must survive a refill, since the run box refills its list
    // while a key is being typed.
    std::string text = WindowText(window);
    DWORD start = 0, end = 0;
    SendMessageW(window, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    int selected = static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0));
    std::string selectedText;
    if (selected >= 0) {
        LRESULT length = SendMessageW(window, CB_GETLBTEXTLEN, static_cast<WPARAM>(selected), 0);
        if (length >= 0) {
            std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
            SendMessageW(window, CB_GETLBTEXT, static_cast<WPARAM>(selected),
                         reinterpret_cast<LPARAM>(buffer.data()));
            selectedText = Utf8Until(buffer.data(), buffer.size());
        }
    }
    SendMessageW(window, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < items_.Count(); ++i)
        SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(items_[i]).c_str()));
    if (selected >= 0 && selected < items_.Count() && items_[selected] == selectedText)
        SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    if (style_ == TComboBoxStyle::DropDown) {
        if (WindowText(window) != text)
            SetWindowTextW(window, Wide(text).c_str());
        SendMessageW(window, CB_SETEDITSEL, 0, MAKELPARAM(start, end));
    }
    SyncTextFromWindow();
}

void TCustomComboBox::PullItem(UINT message, WPARAM wParam, LPARAM lParam, LRESULT result) {
    SyncScope scope(syncing_);
    switch (message) {
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
        if (result >= 0 && result <= items_.Count())
            items_.Insert(static_cast<int>(result), Utf8(reinterpret_cast<const wchar_t*>(lParam)));
        break;
    case CB_DELETESTRING:
        if (result >= 0 && static_cast<int>(wParam) < items_.Count())
            items_.Delete(static_cast<int>(wParam));
        break;
    case CB_RESETCONTENT:
        items_.Clear();
        break;
    default:
        break;
    }
    SyncTextFromWindow();
}

void TCustomComboBox::SyncTextFromWindow() {
    if (!HandleAllocated())
        return;
    std::string shown = WindowText(Handle());
    if (shown != Text())
        TControl::SetCaption(shown);
}

int TCustomComboBox::ItemIndex() const {
    if (HandleAllocated())
        return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
    return itemIndex_;
}

void TCustomComboBox::SetItemIndex(int index) {
    if (index < 0 || index >= items_.Count())
        index = -1;
    itemIndex_ = index;
    if (HandleAllocated()) {
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SyncTextFromWindow();
    } else if (index >= 0) {
        TControl::SetCaption(items_[index]);
    }
}

void TCustomComboBox::SetCaption(const std::string& caption) {
    if (style_ == TComboBoxStyle::DropDownList) {
        int index = items_.IndexOf(caption);
        SetItemIndex(index);
        TControl::SetCaption(index >= 0 ? items_[index] : std::string());
        return;
    }
    TControl::SetCaption(caption);
}

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
    if (style_ == style)
        return;
    HWND parentWindow = HandleAllocated() ? GetParent(Handle()) : nullptr;
    int index = ItemIndex();
    std::string text = Text();
    UnhookEdit();
    DestroyHandle();
    style_ = style;
    itemIndex_ = index;
    if (parentWindow)
        CreateHandle(parentWindow);
    if (style_ == TComboBoxStyle::DropDown)
        SetCaption(text);
}

void TCustomComboBox::SetDropDownCount(int count) {
    dropDownCount_ = std::max(count, 1);
}

void TCustomComboBox::SetDroppedDown(bool dropped) {
    if (!HandleAllocated())
        return;
    if (dropped && items_.Count() == 0)
        return;
    SendMessageW(Handle(), CB_SHOWDROPDOWN, dropped, 0);
}

bool TCustomComboBox::DroppedDown() const {
    return HandleAllocated() && SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::FitDropDownHeight() {
    HWND window = Handle();
    RECT field;
    GetWindowRect(window, &field);
    int rows = std::clamp(items_.Count(), 1, dropDownCount_);
    int itemHeight = static_cast<int>(SendMessageW(window, CB_GETITEMHEIGHT, 0, 0));
    if (itemHeight <= 0)
        return;
    // The height given to a drop-down combo box is the field and its open list.
    SetWindowPos(window, nullptr, 0, 0, field.right - field.left,
                 field.bottom - field.top + rows * itemHeight + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TCustomComboBox::DropDown() {
    if (OnDropDown)
        OnDropDown(*this);
}

void TCustomComboBox::Change() {
    SyncTextFromWindow();
    if (OnChange)
        OnChange(*this);
}

LRESULT TCustomComboBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_DELETESTRING:
    case CB_RESETCONTENT: {
        LRESULT result = TControl::WndProc(message, wParam, lParam);
        if (!syncing_)
            PullItem(message, wParam, lParam, result);
        return result;
    }
    case CB_SETCURSEL:
    case CB_SELECTSTRING: {
        LRESULT result = TControl::WndProc(message, wParam, lParam);
        if (!syncing_)
            SyncTextFromWindow();
        return result;
    }
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

bool TCustomComboBox::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND)
        return false;
    result = 0;
    switch (HIWORD(wParam)) {
    case CBN_EDITCHANGE:
        if (!syncing_)
            Change();
        return true;
    case CBN_SELCHANGE: {
        int index = ItemIndex();
        if (index >= 0 && index < items_.Count())
            TControl::SetCaption(items_[index]);
        if (OnSelect)
            OnSelect(*this);
        Change();
        return true;
    }
    case CBN_DROPDOWN:
        // The list may be filled here; its height follows what it then holds.
        DropDown();
        FitDropDownHeight();
        return true;
    case CBN_CLOSEUP:
        if (OnCloseUp)
            OnCloseUp(*this);
        return true;
    default:
        return false;
    }
}

void TCustomComboBox::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(ListProperty("Items", [this] { return &items_; }));
    properties.push_back(IntegerProperty(
        "ItemIndex", [this] { return ItemIndex(); },
        [this](int64_t v) { SetItemIndex(static_cast<int>(v)); }));
    properties.push_back(EnumProperty(
        "Style", 2, [this] { return static_cast<int64_t>(style_); },
        [this](int64_t v) { SetStyle(static_cast<TComboBoxStyle>(v)); }));
    properties.push_back(IntegerProperty(
        "DropDownCount", [this] { return dropDownCount_; },
        [this](int64_t v) { SetDropDownCount(static_cast<int>(v)); }));
}

namespace {

const TSkinElement& ComboElement() {
    return CurrentSkin().Element("combobox");
}

} // namespace

TSkinComboBox::TSkinComboBox(TComponent* owner) : TCustomComboBox(owner) {
    SetColor(ComboElement().face.start);
}

TFont TSkinComboBox::ComboFont() const {
    return FontFromSkin(ComboElement().font);
}

LRESULT TSkinComboBox::CtlColor(HDC dc) {
    const TSkinElement& element = ComboElement();
    face_.reset(CreateSolidBrush(Color()));
    SetTextColor(dc, IsWindowEnabled(Handle()) ? element.font.color : element.disabledFontColor);
    SetBkColor(dc, Color());
    return reinterpret_cast<LRESULT>(face_.get());
}

void TSkinComboBox::PaintFrame() {
    HWND window = Handle();
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(window, &info))
        return;
    WindowDc dc(window);
    if (!dc.get())
        return;
    const TSkinElement& element = ComboElement();
    RECT client;
    GetClientRect(window, &client);
    // Over the system's sunken edge: the skin's border, then the face.
    UniqueBrush border(CreateSolidBrush(element.border));
    UniqueBrush face(CreateSolidBrush(Color()));
    RECT ring = client;
    int borderWidth = std::max(element.borderWidth, 1);
    for (int i = 0; i < 2 && ring.right > ring.left && ring.bottom > ring.top; ++i) {
        FrameRect(dc.get(), &ring, i < borderWidth ? border.get() : face.get());
        InflateRect(&ring, -1, -1);
    }
    RECT button = info.rcButton;
    IntersectRect(&button, &button, &ring);
    if (IsRectEmpty(&button))
        return;
    bool pressed = (info.stateButton & STATE_SYSTEM_PRESSED) != 0;
    PaintSkinFill(dc.get(), button, pressed ? element.down : element.face);
    UniquePen line(CreatePen(PS_SOLID, 1, element.border));
    SelectedObject selectedPen(dc.get(), line.get());
    MoveToEx(dc.get(), button.left, button.top, nullptr);
    LineTo(dc.get(), button.left, button.bottom);
    // The arrow: a small triangle pointing down, in the font colour.
    int cx = (button.left + button.right) / 2 + (pressed ? 1 : 0);
    int cy = (button.top + button.bottom) / 2 - 1 + (pressed ? 1 : 0);
    UniquePen arrow(CreatePen(
        PS_SOLID, 1, IsWindowEnabled(window) ? element.font.color : element.disabledFontColor));
    SelectedObject selectedArrow(dc.get(), arrow.get());
    for (int row = 0; row < 3; ++row) {
        MoveToEx(dc.get(), cx - 3 + row, cy + row, nullptr);
        LineTo(dc.get(), cx + 4 - row, cy + row);
    }
}

LRESULT TSkinComboBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
        // From the edit field and the list, which are the box's own children.
        return CtlColor(reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
        LRESULT result = TCustomComboBox::WndProc(message, wParam, lParam);
        PaintFrame();
        return result;
    }
    default:
        break;
    }
    return TCustomComboBox::WndProc(message, wParam, lParam);
}

bool TSkinComboBox::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX ||
        message == WM_CTLCOLORSTATIC) {
        result = CtlColor(reinterpret_cast<HDC>(wParam));
        return true;
    }
    return TCustomComboBox::Reflected(message, wParam, lParam, result);
}

} // namespace orvane
