#include "paint/GradientFill.h"

#include "base/ShellError.h"

#include <cmath>

namespace orvane {

namespace {

// Puts the DC's pen, DC pen colour and current position back when painting ends,
// also when it ends by an exception.
class PenState {
  public:
    explicit PenState(HDC dc)
        : dc_(dc), pen_(SelectObject(dc, GetStockObject(DC_PEN))), color_(GetDCPenColor(dc)) {
        GetCurrentPositionEx(dc, &position_);
    }
    PenState(const PenState&) = delete;
    PenState& operator=(const PenState&) = delete;
    ~PenState() {
        MoveToEx(dc_, position_.x, position_.y, nullptr);
        SetDCPenColor(dc_, color_);
        if (pen_ && pen_ != HGDI_ERROR)
            SelectObject(dc_, pen_);
    }

  private:
    HDC dc_;
    HGDIOBJ pen_;
    COLORREF color_;
    POINT position_{};
};

// One channel at step r of a band of `lines` lines: start + (end - start) * r / lines,
// truncated. Integer arithmetic keeps exact steps exact; the value never
// leaves 0..255, so truncation is the floor.
int Blend(int start, int end, int r, int lines) {
    if (lines <= 0)
        return start;
    return (start * lines + (end - start) * r) / lines;
}

} // namespace

COLORREF ResolveColor(COLORREF color) {
    const DWORD high = color >> 24;
    if (high == 0x80 || high == 0xFF)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFF;
}

void GradientFill(HDC dc, const RECT& rect, bool horizontal, const std::vector<COLORREF>& colors) {
    if (colors.size() < 2)
        throw ShellError("Es mussen mindestens zwei Farben angegeben werden.");

    const int size = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
    const int segments = static_cast<int>(colors.size()) - 1;

    std::vector<COLORREF> rgb;
    rgb.reserve(colors.size());
    for (COLORREF color : colors)
        rgb.push_back(ResolveColor(color));

    PenState saved(dc);

    // Rounded to nearest, halves to even (the default floating-point rounding).
    const int length = static_cast<int>(std::nearbyint(static_cast<double>(size) / segments));

    for (int i = 0; i < segments; ++i) {
        const int lines = i == segments - 1 ? size - i * length - 1 : length;
        const COLORREF from = rgb[i], to = rgb[i + 1];
        for (int r = 0; r <= lines; ++r) {
            const int p = i * length + r;
            // With more colours than pixels the rounded band length overshoots;
            // nothing may be painted outside the rectangle.
            if (p < 0 || p >= size)
                continue;
            SetDCPenColor(dc, RGB(Blend(GetRValue(from), GetRValue(to), r, lines),
                                  Blend(GetGValue(from), GetGValue(to), r, lines),
                                  Blend(GetBValue(from), GetBValue(to), r, lines)));
            if (horizontal) {
                MoveToEx(dc, rect.left + p, rect.top, nullptr);
                LineTo(dc, rect.left + p, rect.bottom);
            } else {
                MoveToEx(dc, rect.left, rect.top + p, nullptr);
                LineTo(dc, rect.right, rect.top + p);
            }
        }
    }
}

} // namespace orvane
