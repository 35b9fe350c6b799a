#pragma once
// Controls: components with a real window. Every control of the toolkit is
// windowed, so that accessibility tools, scripts and the end-to-end tests can
// find each one: its window class is its toolkit class name, its window text
// its caption, and the window property "ComponentName" holds a global atom of
// its name.
#include "paint/Canvas.h"
#include "toolkit/Component.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orvane {

enum class TAlign { None, Top, Bottom, Left, Right, Client };
enum class TMouseButton { Left, Right, Middle };

struct TShiftState {
    bool Shift = false, Ctrl = false, Alt = false, Left = false, Right = false, Middle = false,
         Double = false;
};

using TMouseEvent =
    std::function<void(TComponent& sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TComponent& sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TComponent& sender, WORD& key, TShiftState shift)>;
// Sees each typed character once, one beyond the BMP too (it arrives as two
// WM_CHAR units). `key` is the character when it is ASCII; any other character
// comes as the lead byte of its UTF-8 form (0xC2 to 0xF4, never ASCII). Setting
// `key` to 0 drops the character; setting an ASCII value types that instead.
using TKeyPressEvent = std::function<void(TComponent& sender, char& key)>;

// The window text of any window, however long, as UTF-8.
std::string WindowText(HWND window);

// Puts together the WM_CHAR units of one typed character: one beyond the BMP
// comes as a high and a low surrogate in two messages.
class TTypedCharacter {
  public:
    // The character this unit completes, in UTF-16 units; empty while a high
    // surrogate waits for its low half, and for a stray half, which is dropped.
    std::wstring Add(wchar_t unit);

  private:
    wchar_t high_ = 0;
};

class TControl : public TComponent {
    ORVANE_COMPONENT(TControl, TComponent)
  public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    void SetName(const std::string& name) override;

    // Placing a control in a parent creates its window there.
    TControl* Parent() const { return parent_; }
    void SetParent(TControl* parent);
    const std::vector<TControl*>& Controls() const { return controls_; }

    HWND Handle() const { return handle_; }
    bool HandleAllocated() const { return handle_ != nullptr; }

    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    void SetLeft(int value) { SetBounds(value, Top(), Width(), Height()); }
    void SetTop(int value) { SetBounds(Left(), value, Width(), Height()); }
    void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
    void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return bounds_; }
    // The client area in client coordinates.
    virtual RECT ClientRect() const;
    int ClientWidth() const;
    int ClientHeight() const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    const std::string& Caption() const { return caption_; }
    virtual void SetCaption(const std::string& caption);
    // Text and Caption are one value, as in the window text.
    const std::string& Text() const { return caption_; }
    void SetText(const std::string& text) { SetCaption(text); }

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);

    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color);
    // Changes to the font take effect at the next paint; call Invalidate.
    TFont Font;
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    void Invalidate();
    void Update();
    void Repaint();
    void SetFocus();
    void BringToFront();

    // Screen and client coordinates.
    POINT ClientToScreen(POINT point) const;
    POINT ScreenToClient(POINT point) const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // Lays out the children by their Align, in the order top, bottom, left,
    // right, client, each group in creation order.
    void Realign();

    // Paints the parent's look behind this control (transparent controls).
    void PaintParentBackground(TCanvas& canvas);

    // Runs a click as a mouse click would.
    virtual void Click();
    // True for a control that Enter (VK_RETURN) or Escape (VK_ESCAPE) clicks
    // when pressed anywhere in its form: a dialog's default or cancel button.
    virtual bool AnswersDialogKey(WORD /*key*/) const { return false; }

    // The control whose window this is; null for a foreign window.
    static TControl* FromHandle(HWND window);

  protected:
    void PublishProperties(std::vector<TProperty>& properties) override;

    // Window creation: style bits, and an optional system class whose
    // behaviour the control's own class takes over (EDIT, LISTBOX, ...).
    virtual DWORD WindowStyle() const;
    virtual DWORD WindowExStyle() const { return 0; }
    virtual const char* SystemClass() const { return nullptr; }
    virtual HWND ParentWindowForChildren() const { return handle_; }
    // Creates the window; forms call it from their constructor.
    void CreateHandle(HWND parentWindow);
    void DestroyHandle();
    virtual void HandleCreated() {}

    // Painting: double-buffered, unless the system class paints itself.
    virtual void Paint(TCanvas& canvas);
    virtual bool PaintsItself() const { return SystemClass() != nullptr; }

    // The message handler; DefaultHandler passes a message on to the system.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Resized();
    virtual void CaptionChanged() { Invalidate(); }
    // A notification the parent window got about this control (WM_COMMAND,
    // WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR...). True when handled.
    virtual bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        (void)message, (void)wParam, (void)lParam, (void)result;
        return false;
    }

    // Runs OnKeyPress for a typed character given in its UTF-16 units; false
    // when the handler dropped it. `units` comes back as the key to type.
    bool KeyPress(std::wstring& units);
    // A typed character OnKeyPress let pass: the default hands its units to
    // the system's handling one by one.
    virtual void TypeCharacter(const std::wstring& units, LPARAM lParam);

    bool MouseInside() const { return mouseInside_; }
    static TShiftState ShiftFromKeys(WPARAM keys);
    // Shift, Ctrl and Alt as the keyboard has them now.
    static TShiftState KeyboardShift();

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void RegisterWindowClass();
    void UpdateNameAtom();
    void ApplyHint();
    void AlignChild(TControl& child, RECT& space);
    void RemoveChild(TControl* child);

    // The parts of WndProc, one per kind of message. Those returning bool
    // return true when the message is handled and goes no further.
    bool WMPaint(UINT message, WPARAM wParam);
    void WMBoundsChanged(bool resized);
    void WMMouseButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    void WMMouseButtonUp(UINT message, WPARAM wParam, LPARAM lParam);
    void WMMouseMove(WPARAM wParam, LPARAM lParam);
    bool WMKey(UINT message, WPARAM& wParam);
    void WMChar(WPARAM wParam, LPARAM lParam);
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    TControl* parent_ = nullptr;
    std::vector<TControl*> controls_;
    HWND handle_ = nullptr;
    WNDPROC systemProc_ = nullptr;
    ATOM nameAtom_ = 0;
    RECT bounds_{0, 0, 0, 0};
    TAlign align_ = TAlign::None;
    bool visible_ = true;
    bool enabled_ = true;
    bool transparent_ = false;
    bool mouseInside_ = false;
    bool realigning_ = false;
    TTypedCharacter typed_;
    std::string caption_;
    std::string hint_;
    bool showHint_ = false;
    COLORREF color_ = RGB(236, 233, 216);
};

// A control of a designed window: owned by `owner`, the form whose language
// file section names it, and placed in `parent`. `setup` runs before the
// control joins its parent, so its window is made with the designed font and
// bounds at once.
template <typename T>
T* NewChild(
    TComponent* owner, TControl* parent, const std::string& name,
    const std::function<void(T&)>& setup = [](T&) {}) {
    T* control = NewComponent<T>(owner);
    control->SetName(name);
    setup(*control);
    control->SetParent(parent);
    return control;
}

} // namespace orvane
