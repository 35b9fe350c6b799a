#include "toolkit/Form.h"

#include "paint/GradientFill.h"
#include "base/Win32Handles.h"
#include "paint/Skin.h"

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace orvane {

namespace {

// The roll-up button's hit-test code; the close button answers HTCLOSE, as
// accessibility tools expect of a close button.
constexpr LRESULT kHitRollUp = 0x5255;

struct FrameState {
    TForm* form = nullptr;
    bool active = false;
    int restoreHeight = 0; // the height before rolling up; 0 while unrolled
    LRESULT pressed = HTNOWHERE;
    // A move or resize by the mouse in progress: the part of the frame taken,
    // where the pointer and the window were when the button went down.
    LRESULT dragging = HTNOWHERE;
    POINT dragStart{};
    RECT dragBounds{};
};

// Per window, so that the form class needs no fields of its own for it; an
// entry goes with its window's WM_DESTROY.
std::map<HWND, FrameState>& States() {
    static std::map<HWND, FrameState> states;
    return states;
}

FrameState& StateOf(TForm& form) {
    FrameState& state = States()[form.Handle()];
    if (state.form != &form)
        state = FrameState{&form, GetActiveWindow() == form.Handle(), 0, HTNOWHERE};
    return state;
}

const TSkinElement& FrameElement() {
    return CurrentSkin().Element("form");
}

struct Metrics {
    int border = 0;
    int caption = 0;
    int top() const { return border + caption; }
    // The height of a rolled-up form: its caption bar and the border around it.
    int rolled() const { return 2 * border + caption; }
};

Metrics FrameMetrics() {
    const TSkinElement& element = FrameElement();
    Metrics metrics;
    // A damaged skin must not make a frame that swallows the window.
    metrics.border = std::clamp(element.borderWidth, 0, 16);
    metrics.caption = element.captionHeight > 0 ? std::min(element.captionHeight, 64)
                                                : GetSystemMetrics(SM_CYSMCAPTION);
    return metrics;
}

bool HasCloseButton(const TForm& form) {
    return form.BorderIcons().SystemMenu;
}

bool HasRollUpButton(const TForm& form) {
    return FrameElement().rollUpButton && form.RollUpButton() &&
           form.BorderStyle() != TBorderStyle::Dialog;
}

// The caption bar and its buttons in window coordinates.
struct Layout {
    RECT caption{};
    RECT close{};
    RECT rollUp{};
};

Layout FrameLayout(const TForm& form, int width, const Metrics& metrics) {
    Layout layout;
    layout.caption = {metrics.border, metrics.border,
                      std::max(metrics.border, width - metrics.border), metrics.top()};
    int size = std::max(metrics.caption - 4, 6);
    int top = metrics.border + (metrics.caption - size) / 2;
    int right = layout.caption.right - 2;
    auto place = [&](RECT& button) {
        button = {right - size, top, right, top + size};
        right -= size + 2;
        // A form too narrow for its buttons shows none rather than painting
        // them over its border.
        if (button.left < layout.caption.left)
            button = {};
    };
    if (HasCloseButton(form))
        place(layout.close);
    if (HasRollUpButton(form))
        place(layout.rollUp);
    return layout;
}

void Solid(HDC dc, const RECT& rect, COLORREF color) {
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    UniqueBrush brush(CreateSolidBrush(color));
    FillRect(dc, &rect, brush.get());
}

UniqueFont CaptionFont(HDC dc, const SkinFont& font) {
    LOGFONTW description = {};
    description.lfHeight = -MulDiv(font.size, GetDeviceCaps(dc, LOGPIXELSY), 72);
    description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    SetFaceName(description, font.name.empty() ? "Tahoma" : font.name);
    return UniqueFont(CreateFontIndirectW(&description));
}

void PaintButton(HDC dc, const RECT& button, bool pressed, bool close, bool rolledUp,
                 COLORREF glyph) {
    if (IsRectEmpty(&button))
        return;
    const TSkinElement& element = FrameElement();
    PaintSkinFill(dc, button, pressed ? element.down : element.face);
    UniqueBrush frame(CreateSolidBrush(element.border));
    FrameRect(dc, &button, frame.get());
    UniquePen pen(CreatePen(PS_SOLID, 1, glyph));
    SelectedObject selected(dc, pen.get());
    int shift = pressed ? 1 : 0;
    int size = button.right - button.left;
    int left = button.left + size / 4 + shift, top = button.top + size / 4 + shift;
    int extent = size - 2 * (size / 4);
    if (close) {
        for (int thick = 0; thick < 2; ++thick) {
            MoveToEx(dc, left + thick, top, nullptr);
            LineTo(dc, left + extent + thick - 1, top + extent);
            MoveToEx(dc, left + thick, top + extent - 1, nullptr);
            LineTo(dc, left + extent + thick - 1, top - 1);
        }
        return;
    }
    // A triangle pointing where the form goes on a click: up to roll up,
    // down to unroll.
    int rows = std::max(extent / 2, 2);
    int cx = button.left + size / 2 + shift;
    int cy = button.top + (size - rows) / 2 + shift;
    for (int row = 0; row < rows; ++row) {
        int half = rolledUp ? rows - 1 - row : row;
        MoveToEx(dc, cx - half, cy + row, nullptr);
        LineTo(dc, cx + half + 1, cy + row);
    }
}

void PaintFrame(TForm& form, FrameState& state) {
    HWND window = form.Handle();
    RECT bounds;
    if (!GetWindowRect(window, &bounds))
        return;
    int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0)
        return;
    WindowDc windowDc(window, true);
    HDC dc = windowDc.get();
    if (!dc)
        return;
    // Only the frame: the client area is the form's own to paint.
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -bounds.left, -bounds.top);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);

    const TSkinElement& element = FrameElement();
    Metrics metrics = FrameMetrics();
    Layout layout = FrameLayout(form, width, metrics);
    int band = std::min(metrics.top(), height);

    // The caption bar is composed off screen, so it does not flicker while
    // the form is activated and deactivated.
    if (band > 0) {
        UniqueMemoryDc memory(CreateCompatibleDC(dc));
        UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width, band));
        if (memory && bitmap) {
            SelectedObject selectedBitmap(memory.get(), bitmap.get());
            HDC bar = memory.get();
            Solid(bar, RECT{0, 0, width, band}, element.border);
            PaintSkinFill(bar, layout.caption,
                          state.active ? element.captionActive : element.captionInactive);
            RECT text = layout.caption;
            text.left += 4;
            for (const RECT* button : {&layout.close, &layout.rollUp})
                if (!IsRectEmpty(button))
                    text.right = std::min(text.right, button->left - 2);
            COLORREF textColor =
                state.active ? element.captionFont.color : element.captionInactiveFontColor;
            UniqueFont font = CaptionFont(bar, element.captionFont);
            if (font && text.right > text.left) {
                SelectedObject selectedFont(bar, font.get());
                SetBkMode(bar, TRANSPARENT);
                SetTextColor(bar, textColor);
                DrawUtf8Text(bar, form.Caption(), text,
                             DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
            }
            PaintButton(bar, layout.close, state.pressed == HTCLOSE, true, false, textColor);
            PaintButton(bar, layout.rollUp, state.pressed == kHitRollUp, false,
                        state.restoreHeight != 0, textColor);
            BitBlt(dc, 0, 0, width, band, bar, 0, 0, SRCCOPY);
        }
    }
    // The sides and the bottom.
    int border = metrics.border;
    Solid(dc, RECT{0, band, border, height}, element.border);
    Solid(dc, RECT{width - border, band, width, height}, element.border);
    Solid(dc, RECT{0, std::max(band, height - border), width, height}, element.border);
    if (border >= 2) {
        UniqueBrush edge(CreateSolidBrush(element.shadow));
        RECT outline{0, 0, width, height};
        FrameRect(dc, &outline, edge.get());
    }
}

LRESULT HitTest(TForm& form, const FrameState& state, LPARAM lParam) {
    HWND window = form.Handle();
    RECT bounds;
    GetWindowRect(window, &bounds);
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!PtInRect(&bounds, at))
        return HTNOWHERE;
    int x = at.x - bounds.left, y = at.y - bounds.top;
    int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    Metrics metrics = FrameMetrics();
    Layout layout = FrameLayout(form, width, metrics);
    POINT local{x, y};
    if (PtInRect(&layout.close, local))
        return HTCLOSE;
    if (PtInRect(&layout.rollUp, local))
        return kHitRollUp;
    if (form.BorderStyle() == TBorderStyle::Sizeable) {
        int grip = std::max(metrics.border, 4);
        int corner = std::max(grip, 16);
        bool rolled = state.restoreHeight != 0;
        bool left = x < grip, right = x >= width - grip;
        bool top = !rolled && y < grip, bottom = !rolled && y >= height - grip;
        if (top || bottom) {
            left = left || x < corner;
            right = right || x >= width - corner;
        }
        if (!rolled && (left || right)) {
            top = top || y < corner;
            bottom = bottom || y >= height - corner;
        }
        if (top && left)
            return HTTOPLEFT;
        if (top && right)
            return HTTOPRIGHT;
        if (bottom && left)
            return HTBOTTOMLEFT;
        if (bottom && right)
            return HTBOTTOMRIGHT;
        if (top)
            return HTTOP;
        if (bottom)
            return HTBOTTOM;
        if (left)
            return HTLEFT;
        if (right)
            return HTRIGHT;
    }
    if (PtInRect(&layout.caption, local))
        return HTCAPTION;
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    if (PtInRect(&client, at))
        return HTCLIENT;
    return HTBORDER;
}

void ToggleRollUp(TForm& form, FrameState& state) {
    HWND window = form.Handle();
    RECT bounds;
    GetWindowRect(window, &bounds);
    int height;
    if (state.restoreHeight == 0) {
        state.restoreHeight = bounds.bottom - bounds.top;
        height = FrameMetrics().rolled();
    } else {
        height = state.restoreHeight;
        state.restoreHeight = 0;
    }
    SetWindowPos(window, nullptr, 0, 0, bounds.right - bounds.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool IsButton(LRESULT code) {
    return code == HTCLOSE || code == kHitRollUp;
}

bool MovesOrSizes(LRESULT code) {
    switch (code) {
    case HTCAPTION:
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTBOTTOM:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
        return true;
    default:
        return false;
    }
}

// The frame moves and sizes its window itself, with the mouse captured. The
// system's move loop (WM_SYSCOMMAND SC_MOVE, SC_SIZE) confines the pointer
// with ClipCursor, and under Wine on a display without a window manager that
// ends the program now and then with an X error (BadWindow on X_UnmapWindow).
void BeginDrag(TForm& form, FrameState& state, LRESULT code) {
    state.dragging = code;
    GetCursorPos(&state.dragStart);
    GetWindowRect(form.Handle(), &state.dragBounds);
    SetCapture(form.Handle());
}

void DragTo(TForm& form, FrameState& state) {
    POINT at;
    GetCursorPos(&at);
    const int dx = at.x - state.dragStart.x, dy = at.y - state.dragStart.y;
    RECT bounds = state.dragBounds;
    const LRESULT code = state.dragging;
    if (code == HTCAPTION) {
        OffsetRect(&bounds, dx, dy);
        SetWindowPos(form.Handle(), nullptr, bounds.left, bounds.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    MINMAXINFO limits{};
    limits.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    limits.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    auto fit = [](LONG size, LONG low, LONG high) {
        return std::clamp(size, low, std::max(low, high));
    };
    if (code == HTLEFT || code == HTTOPLEFT || code == HTBOTTOMLEFT)
        bounds.left = bounds.right - fit(bounds.right - bounds.left - dx, limits.ptMinTrackSize.x,
                                         limits.ptMaxTrackSize.x);
    if (code == HTRIGHT || code == HTTOPRIGHT || code == HTBOTTOMRIGHT)
        bounds.right = bounds.left + fit(bounds.right - bounds.left + dx, limits.ptMinTrackSize.x,
                                         limits.ptMaxTrackSize.x);
    if (code == HTTOP || code == HTTOPLEFT || code == HTTOPRIGHT)
        bounds.top = bounds.bottom - fit(bounds.bottom - bounds.top - dy, limits.ptMinTrackSize.y,
                                         limits.ptMaxTrackSize.y);
    if (code == HTBOTTOM || code == HTBOTTOMLEFT || code == HTBOTTOMRIGHT)
        bounds.bottom = bounds.top + fit(bounds.bottom - bounds.top + dy, limits.ptMinTrackSize.y,
                                         limits.ptMaxTrackSize.y);
    SetWindowPos(form.Handle(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

bool HandleSkinnedFrameMessage(TForm& form, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) {
    HWND window = form.Handle();
    if (!window || form.BorderStyle() == TBorderStyle::None)
        return false;
    if (message == WM_DESTROY) {
        States().erase(window);
        return false;
    }
    switch (message) {
    case WM_NCCALCSIZE: {
        RECT& rect = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                            : *reinterpret_cast<RECT*>(lParam);
        Metrics metrics = FrameMetrics();
        rect.left = std::min(rect.left + metrics.border, rect.right);
        rect.right = std::max(rect.right - metrics.border, rect.left);
        rect.top = std::min(rect.top + metrics.top(), rect.bottom);
        rect.bottom = std::max(rect.bottom - metrics.border, rect.top);
        result = 0;
        return true;
    }
    case WM_NCPAINT:
        PaintFrame(form, StateOf(form));
        result = 0;
        return true;
    case WM_NCACTIVATE: {
        FrameState& state = StateOf(form);
        state.active = wParam != 0;
        if (IsWindowVisible(window))
            PaintFrame(form, state);
        result = TRUE;
        return true;
    }
    case WM_SETTEXT:
        // The system paints its own caption with the new text; ours follows.
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
        return false;
    case WM_NCHITTEST:
        result = HitTest(form, StateOf(form), lParam);
        return true;
    case WM_GETMINMAXINFO: {
        result = DefWindowProcW(window, message, wParam, lParam);
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        // A rolled-up form is only its caption bar.
        info->ptMinTrackSize.y = std::min<LONG>(info->ptMinTrackSize.y, FrameMetrics().rolled());
        return true;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
        FrameState& state = StateOf(form);
        LRESULT code = static_cast<LRESULT>(wParam);
        if (IsButton(code)) {
            state.pressed = code;
            PaintFrame(form, state);
            result = 0;
            return true;
        }
        if (state.pressed != HTNOWHERE) {
            state.pressed = HTNOWHERE;
            PaintFrame(form, state);
        }
        if (message == WM_NCLBUTTONDOWN && MovesOrSizes(code)) {
            BeginDrag(form, state, code);
            result = 0;
            return true;
        }
        return false;
    }
    case WM_MOUSEMOVE: {
        FrameState& state = StateOf(form);
        if (state.dragging == HTNOWHERE)
            return false;
        DragTo(form, state);
        result = 0;
        return true;
    }
    case WM_LBUTTONUP: {
        FrameState& state = StateOf(form);
        if (state.dragging == HTNOWHERE)
            return false;
        DragTo(form, state);
        state.dragging = HTNOWHERE;
        ReleaseCapture();
        result = 0;
        return true;
    }
    case WM_CAPTURECHANGED:
        // Losing the mouse (a message box, Alt+Tab) ends the drag where it is.
        StateOf(form).dragging = HTNOWHERE;
        return false;
    case WM_NCMOUSEMOVE: {
        FrameState& state = StateOf(form);
        if (state.pressed != HTNOWHERE && static_cast<LRESULT>(wParam) != state.pressed) {
            state.pressed = HTNOWHERE;
            PaintFrame(form, state);
        }
        return false;
    }
    case WM_NCLBUTTONUP: {
        FrameState& state = StateOf(form);
        LRESULT code = static_cast<LRESULT>(wParam);
        LRESULT pressed = state.pressed;
        if (pressed == HTNOWHERE)
            return false;
        state.pressed = HTNOWHERE;
        PaintFrame(form, state);
        if (code != pressed)
            return false;
        result = 0;
        if (code == kHitRollUp)
            ToggleRollUp(form, state);
        else if (code == HTCLOSE)
            form.Close();
        return true;
    }
    default:
        return false;
    }
}

} // namespace orvane
