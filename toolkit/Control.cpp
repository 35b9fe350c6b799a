#include "toolkit/Control.h"

#include "toolkit/Application.h"
#include "base/Guarded.h"
#include "base/Utf.h"
#include "paint/PaintBuffer.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <set>
#include <unordered_map>

namespace orvane {

namespace {

constexpr wchar_t kNamePropertyName[] = L"ComponentName";

// The control of each of the process's toolkit windows. A window property
// would do the same, but under Wine every property lookup is a round trip to
// the server, and the lookup runs for every message a window receives.
// Toolkit windows live on the GUI thread only, as does this map.
std::unordered_map<HWND, TControl*>& ControlsByWindow() {
    static std::unordered_map<HWND, TControl*> controls;
    return controls;
}

// The system window procedures of the classes our classes take over, by our
// class name.
struct SuperClass {
    std::string name;
    WNDPROC systemProc;
};
std::vector<SuperClass>& SuperClasses() {
    static std::vector<SuperClass> classes;
    return classes;
}

} // namespace

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, buffer.data(), length + 1);
    buffer.resize(static_cast<size_t>(std::clamp(copied, 0, length)));
    return Utf8(buffer);
}

std::wstring TTypedCharacter::Add(wchar_t unit) {
    const wchar_t high = high_;
    high_ = 0;
    if (IS_HIGH_SURROGATE(unit)) {
        high_ = unit;
        return {};
    }
    if (IS_LOW_SURROGATE(unit))
        return high ? std::wstring{high, unit} : std::wstring();
    return std::wstring(1, unit);
}

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
    // Children go with their parent's window; make sure none points back here.
    for (TControl* child : controls_)
        child->parent_ = nullptr;
    controls_.clear();
    if (parent_)
        parent_->RemoveChild(this);
    DestroyHandle();
}

TControl* TControl::FromHandle(HWND window) {
    if (!window)
        return nullptr;
    const auto& controls = ControlsByWindow();
    const auto found = controls.find(window);
    return found == controls.end() ? nullptr : found->second;
}

void TControl::SetName(const std::string& name) {
    TComponent::SetName(name);
    UpdateNameAtom();
}

void TControl::UpdateNameAtom() {
    if (!handle_)
        return;
    if (nameAtom_) {
        RemovePropW(handle_, kNamePropertyName);
        GlobalDeleteAtom(nameAtom_);
        nameAtom_ = 0;
    }
    if (Name().empty())
        return;
    nameAtom_ = GlobalAddAtomW(Wide(Name()).c_str());
    if (nameAtom_)
        SetPropW(handle_, kNamePropertyName,
                 reinterpret_cast<HANDLE>(static_cast<uintptr_t>(nameAtom_)));
}

void TControl::RegisterWindowClass() {
    // A Unicode class: its windows get their texts and typed characters in
    // UTF-16, and the system converts for ANSI callers.
    const std::wstring className = Wide(ClassName());
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof existing;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, className.c_str(), &existing))
        return;

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    if (const char* system = SystemClass()) {
        WNDCLASSEXW base = {};
        base.cbSize = sizeof base;
        if (!GetClassInfoExW(nullptr, Wide(system).c_str(), &base))
            return;
        wc = base;
        SuperClasses().push_back({ClassName(), base.lpfnWndProc});
    } else {
        // Bevels, gradients and centred captions depend on the size: a resized
        // control paints itself whole, not just the strip it gained.
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    }
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &TControl::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = className.c_str();
    wc.hbrBackground = nullptr;
    RegisterClassExW(&wc);
}

DWORD TControl::WindowStyle() const {
    return WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (visible_ ? WS_VISIBLE : 0) |
           (enabled_ ? 0 : WS_DISABLED);
}

void TControl::CreateHandle(HWND parentWindow) {
    if (handle_)
        return;
    RegisterWindowClass();
    for (const auto& super : SuperClasses())
        if (super.name == ClassName())
            systemProc_ = super.systemProc;
    // Children get an identifier of their own, so that notifications naming
    // one by identifier (WM_MEASUREITEM) find the right control.
    static UINT_PTR nextChildId = 100;
    DWORD style = WindowStyle();
    HMENU id = nullptr;
    if (style & WS_CHILD) {
        id = reinterpret_cast<HMENU>(nextChildId);
        nextChildId = nextChildId >= 0x7FFF ? 100 : nextChildId + 1;
    }
    handle_ = CreateWindowExW(WindowExStyle(), Wide(ClassName()).c_str(), Wide(caption_).c_str(),
                              style, bounds_.left, bounds_.top, Width(), Height(), parentWindow, id,
                              GetModuleHandleW(nullptr), this);
    if (!handle_)
        return;
    UpdateNameAtom();
    ApplyHint();
    HandleCreated();
    for (TControl* child : controls_)
        if (!child->handle_)
            child->CreateHandle(ParentWindowForChildren());
    Realign();
}

void TControl::DestroyHandle() {
    if (!handle_)
        return;
    HWND window = handle_;
    if (Application())
        Application()->RemoveHint(window);
    if (nameAtom_) {
        RemovePropW(window, kNamePropertyName);
        GlobalDeleteAtom(nameAtom_);
        nameAtom_ = 0;
    }
    DestroyWindow(window);
    handle_ = nullptr;
}

void TControl::SetParent(TControl* parent) {
    if (parent == parent_)
        return;
    if (parent_) {
        parent_->RemoveChild(this);
        DestroyHandle();
    }
    parent_ = parent;
    if (!parent_)
        return;
    parent_->controls_.push_back(this);
    if (parent_->handle_)
        CreateHandle(parent_->ParentWindowForChildren());
    parent_->Realign();
}

void TControl::RemoveChild(TControl* child) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), child), controls_.end());
    Realign();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    RECT wanted{left, top, left + std::max(width, 0), top + std::max(height, 0)};
    bool resized = wanted.right - wanted.left != Width() || wanted.bottom - wanted.top != Height();
    if (EqualRect(&wanted, &bounds_))
        return;
    bounds_ = wanted;
    if (handle_)
        SetWindowPos(handle_, nullptr, left, top, Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    else if (resized)
        Realign();
    if (parent_ && align_ != TAlign::None && !parent_->realigning_)
        parent_->Realign();
}

RECT TControl::ClientRect() const {
    RECT rect{0, 0, Width(), Height()};
    if (handle_)
        GetClientRect(handle_, &rect);
    return rect;
}

int TControl::ClientWidth() const {
    RECT r = ClientRect();
    return r.right - r.left;
}

int TControl::ClientHeight() const {
    RECT r = ClientRect();
    return r.bottom - r.top;
}

void TControl::SetAlign(TAlign align) {
    if (align_ == align)
        return;
    align_ = align;
    if (parent_)
        parent_->Realign();
}

void TControl::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    visible_ = visible;
    if (handle_)
        ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
    if (parent_ && align_ != TAlign::None)
        parent_->Realign();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    if (handle_)
        EnableWindow(handle_, enabled);
    Invalidate();
}

void TControl::SetCaption(const std::string& caption) {
    if (caption_ == caption)
        return;
    caption_ = caption;
    if (handle_ && WindowText(handle_) != caption_)
        SetWindowTextW(handle_, Wide(caption_).c_str());
    CaptionChanged();
}

void TControl::SetHint(const std::string& hint) {
    hint_ = hint;
    ApplyHint();
}

void TControl::SetShowHint(bool show) {
    showHint_ = show;
    ApplyHint();
}

void TControl::ApplyHint() {
    if (!handle_ || !Application())
        return;
    if (showHint_ && !hint_.empty())
        Application()->SetHint(handle_, hint_);
    else
        Application()->RemoveHint(handle_);
}

void TControl::SetColor(COLORREF color) {
    color_ = color;
    Invalidate();
}

void TControl::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Invalidate();
}

void TControl::Invalidate() {
    if (handle_)
        InvalidateRect(handle_, nullptr, FALSE);
}

void TControl::Update() {
    if (handle_)
        UpdateWindow(handle_);
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::SetFocus() {
    if (handle_)
        ::SetFocus(handle_);
}

void TControl::BringToFront() {
    if (handle_)
        SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

POINT TControl::ClientToScreen(POINT point) const {
    if (handle_)
        ::ClientToScreen(handle_, &point);
    return point;
}

POINT TControl::ScreenToClient(POINT point) const {
    if (handle_)
        ::ScreenToClient(handle_, &point);
    return point;
}

void TControl::Click() {
    if (OnClick)
        OnClick(*this);
}

void TControl::AlignChild(TControl& child, RECT& space) {
    int w = child.Width(), h = child.Height();
    int spaceWidth = std::max<int>(0, space.right - space.left);
    int spaceHeight = std::max<int>(0, space.bottom - space.top);
    switch (child.align_) {
    case TAlign::Top:
        child.SetBounds(space.left, space.top, spaceWidth, h);
        space.top += h;
        break;
    case TAlign::Bottom:
        child.SetBounds(space.left, space.bottom - h, spaceWidth, h);
        space.bottom -= h;
        break;
    case TAlign::Left:
        child.SetBounds(space.left, space.top, w, spaceHeight);
        space.left += w;
        break;
    case TAlign::Right:
        child.SetBounds(space.right - w, space.top, w, spaceHeight);
        space.right -= w;
        break;
    case TAlign::Client:
        child.SetBounds(space.left, space.top, spaceWidth, spaceHeight);
        break;
    case TAlign::None:
        break;
    }
}

void TControl::Realign() {
    if (realigning_)
        return;
    realigning_ = true;
    RECT space = ClientRect();
    for (TAlign pass : {TAlign::Top, TAlign::Bottom, TAlign::Left, TAlign::Right, TAlign::Client})
        for (TControl* child : controls_)
            if (child->align_ == pass && child->visible_)
                AlignChild(*child, space);
    realigning_ = false;
}

void TControl::PaintParentBackground(TCanvas& canvas) {
    if (!parent_)
        return;
    // The parent paints into this canvas with its origin moved, so it draws the
    // part of itself that lies behind this control.
    HDC dc = canvas.Handle();
    POINT origin;
    OffsetViewportOrgEx(dc, -bounds_.left, -bounds_.top, &origin);
    {
        TCanvas parentCanvas(dc);
        parent_->Paint(parentCanvas);
    }
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

void TControl::Paint(TCanvas& canvas) {
    if (transparent_) {
        PaintParentBackground(canvas);
        return;
    }
    canvas.Brush.Color = color_;
    canvas.Brush.Style = TBrushStyle::Solid;
    canvas.FillRect(ClientRect());
}

TShiftState TControl::ShiftFromKeys(WPARAM keys) {
    TShiftState state;
    state.Shift = (keys & MK_SHIFT) != 0;
    state.Ctrl = (keys & MK_CONTROL) != 0;
    state.Left = (keys & MK_LBUTTON) != 0;
    state.Right = (keys & MK_RBUTTON) != 0;
    state.Middle = (keys & MK_MBUTTON) != 0;
    state.Alt = GetKeyState(VK_MENU) < 0;
    return state;
}

TShiftState TControl::KeyboardShift() {
    TShiftState state;
    state.Shift = GetKeyState(VK_SHIFT) < 0;
    state.Ctrl = GetKeyState(VK_CONTROL) < 0;
    state.Alt = GetKeyState(VK_MENU) < 0;
    return state;
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(*this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(*this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(*this, shift, x, y);
}

void TControl::MouseEnter() {
    if (OnMouseEnter)
        OnMouseEnter(*this);
}

void TControl::MouseLeave() {
    if (OnMouseLeave)
        OnMouseLeave(*this);
}

void TControl::Resized() {
    Realign();
    if (OnResize)
        OnResize(*this);
}

LRESULT TControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    if (systemProc_)
        return CallWindowProcW(systemProc_, handle_, message, wParam, lParam);
    return DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT TControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (showHint_ && !hint_.empty() && message >= WM_MOUSEFIRST && message <= WM_MOUSELAST &&
        Application())
        Application()->RelayHintEvent(handle_, message, wParam, lParam);
    switch (message) {
    case WM_ERASEBKGND:
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (WMPaint(message, wParam))
            return message == WM_ERASEBKGND ? 1 : 0;
        break;
    case WM_SIZE:
    case WM_MOVE:
        WMBoundsChanged(message == WM_SIZE);
        break;
    case WM_SETTEXT:
        result = DefaultHandler(message, wParam, lParam);
        caption_ = Utf8(reinterpret_cast<const wchar_t*>(lParam));
        return result;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        WMMouseButtonDown(message, wParam, lParam);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        WMMouseButtonUp(message, wParam, lParam);
        break;
    case WM_MOUSEMOVE:
        WMMouseMove(wParam, lParam);
        break;
    case WM_MOUSELEAVE:
        mouseInside_ = false;
        MouseLeave();
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (WMKey(message, wParam))
            return 0;
        break;
    case WM_CHAR:
        WMChar(wParam, lParam);
        return 0;
    case WM_SETFOCUS:
        if (OnEnter)
            OnEnter(*this);
        break;
    case WM_KILLFOCUS:
        if (OnExit)
            OnExit(*this);
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (ReflectToChild(message, wParam, lParam, result))
            return result;
        break;
    default:
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

bool TControl::WMPaint(UINT message, WPARAM wParam) {
    if (PaintsItself())
        return false;
    if (message == WM_PAINT) {
        TPaintBuffer buffer(handle_);
        buffer.Canvas().Font = Font;
        Paint(buffer.Canvas());
    } else if (message == WM_PRINTCLIENT) {
        // Painting into a given DC: PrintWindow, AnimateWindow and tests use it.
        TCanvas canvas(reinterpret_cast<HDC>(wParam));
        canvas.Font = Font;
        Paint(canvas);
    }
    // WM_ERASEBKGND: the double-buffered paint covers everything.
    return true;
}

void TControl::WMBoundsChanged(bool resized) {
    RECT window;
    GetWindowRect(handle_, &window);
    if (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(handle_), reinterpret_cast<POINT*>(&window), 2);
    bounds_ = window;
    if (resized)
        Resized();
}

void TControl::WMMouseButtonDown(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool right = message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK;
    const bool middle = message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK;
    const TMouseButton button = right    ? TMouseButton::Right
                                : middle ? TMouseButton::Middle
                                         : TMouseButton::Left;
    // A quick second press comes as a double click: it is a press all the
    // same, whichever button made it.
    const bool twice =
        message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
    TShiftState shift = ShiftFromKeys(wParam);
    shift.Double = twice;
    if (!PaintsItself())
        SetCapture(handle_);
    MouseDown(button, shift, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (message == WM_LBUTTONDBLCLK && OnDblClick)
        OnDblClick(*this);
}

void TControl::WMMouseButtonUp(UINT message, WPARAM wParam, LPARAM lParam) {
    const TMouseButton button = message == WM_RBUTTONUP   ? TMouseButton::Right
                                : message == WM_MBUTTONUP ? TMouseButton::Middle
                                                          : TMouseButton::Left;
    if (GetCapture() == handle_ && !PaintsItself())
        ReleaseCapture();
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    MouseUp(button, ShiftFromKeys(wParam), x, y);
    RECT client = ClientRect();
    POINT at{x, y};
    if (button == TMouseButton::Left && !PaintsItself() && PtInRect(&client, at) && handle_)
        Click();
}

void TControl::WMMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!mouseInside_) {
        mouseInside_ = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&track);
        MouseEnter();
    }
    MouseMove(ShiftFromKeys(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

bool TControl::WMKey(UINT message, WPARAM& wParam) {
    TKeyEvent& handler = message == WM_KEYDOWN ? OnKeyDown : OnKeyUp;
    if (!handler)
        return false;
    WORD key = static_cast<WORD>(wParam);
    TShiftState shift = KeyboardShift();
    handler(*this, key, shift);
    wParam = key;
    return key == 0;
}

bool TControl::KeyPress(std::wstring& units) {
    if (!OnKeyPress || units.empty())
        return true;
    const bool ascii = units.size() == 1 && units[0] < 0x80;
    const char typed = ascii ? static_cast<char>(units[0]) : Utf8(units).front();
    char key = typed;
    OnKeyPress(*this, key);
    if (key == 0)
        return false;
    if (key != typed && static_cast<unsigned char>(key) < 0x80)
        units.assign(1, static_cast<wchar_t>(key));
    return true;
}

void TControl::TypeCharacter(const std::wstring& units, LPARAM lParam) {
    for (wchar_t unit : units)
        DefaultHandler(WM_CHAR, unit, lParam);
}

void TControl::WMChar(WPARAM wParam, LPARAM lParam) {
    std::wstring units = typed_.Add(static_cast<wchar_t>(wParam));
    if (!units.empty() && KeyPress(units))
        TypeCharacter(units, lParam);
}

bool TControl::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Notifications of a child go back to the child's control, which knows
    // what they mean (an edit box's EN_CHANGE, a list's WM_DRAWITEM...).
    HWND child = nullptr;
    if (message == WM_COMMAND)
        child = reinterpret_cast<HWND>(lParam);
    else if (message == WM_NOTIFY)
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
    else if (message == WM_DRAWITEM)
        child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
    else if (message == WM_MEASUREITEM)
        child = GetDlgItem(handle_, static_cast<int>(wParam));
    else
        child = reinterpret_cast<HWND>(lParam);
    TControl* control = FromHandle(child);
    return control && control != this && control->Reflected(message, wParam, lParam, result);
}

LRESULT CALLBACK TControl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TControl* control = FromHandle(window);
    if (!control && message == WM_NCCREATE) {
        control = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (control) {
            control->handle_ = window;
            ControlsByWindow()[window] = control;
        }
    }
    if (!control)
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        LRESULT result = control->DefaultHandler(message, wParam, lParam);
        ControlsByWindow().erase(window);
        control->handle_ = nullptr;
        return result;
    }
    LRESULT result = 0;
    Guarded("TControl.WndProc", FailurePolicy::ShowError,
            [&] { result = control->WndProc(message, wParam, lParam); });
    return result;
}

void TControl::PublishProperties(std::vector<TProperty>& properties) {
    TComponent::PublishProperties(properties);
    properties.push_back(StringProperty(
        "Caption", [this] { return caption_; }, [this](const std::string& v) { SetCaption(v); }));
    properties.push_back(StringProperty(
        "Text", [this] { return caption_; }, [this](const std::string& v) { SetCaption(v); }));
    properties.push_back(StringProperty(
        "Hint", [this] { return hint_; }, [this](const std::string& v) { SetHint(v); }));
    properties.push_back(BoolProperty(
        "ShowHint", [this] { return showHint_; }, [this](bool v) { SetShowHint(v); }));
    properties.push_back(BoolProperty(
        "Visible", [this] { return visible_; }, [this](bool v) { SetVisible(v); }));
    properties.push_back(BoolProperty(
        "Enabled", [this] { return enabled_; }, [this](bool v) { SetEnabled(v); }));
    properties.push_back(IntegerProperty(
        "Left", [this] { return Left(); }, [this](int64_t v) { SetLeft(static_cast<int>(v)); }));
    properties.push_back(IntegerProperty(
        "Top", [this] { return Top(); }, [this](int64_t v) { SetTop(static_cast<int>(v)); }));
    properties.push_back(IntegerProperty(
        "Width", [this] { return Width(); }, [this](int64_t v) { SetWidth(static_cast<int>(v)); }));
    properties.push_back(IntegerProperty(
        "Height", [this] { return Height(); },
        [this](int64_t v) { SetHeight(static_cast<int>(v)); }));
    properties.push_back(IntegerProperty(
        "Color", [this] { return static_cast<int64_t>(color_); },
        [this](int64_t v) { SetColor(static_cast<COLORREF>(v)); }));
}

} // namespace orvane
