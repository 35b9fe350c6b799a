#include "settings/AboutLogo.h"

#include "paint/Dib.h"

#include <windows.h>

#include <cmath>

namespace orvane {

namespace {

COLORREF Blend(COLORREF from, COLORREF to, double t) {
    auto mix = [t](int a, int b) { return static_cast<BYTE>(a + (b - a) * t + 0.5); };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
               mix(GetBValue(from), GetBValue(to)));
}

// Deep blue at the top to a warm brown at the foot, the colours of the
// program's name on the box.
void PaintBackground(HDC dc, int width, int height) {
    const COLORREF top = RGB(28, 52, 96);
    const COLORREF bottom = RGB(95, 65, 50);
    for (int y = 0; y < height; ++y) {
        UniqueBrush brush(CreateSolidBrush(Blend(top, bottom, double(y) / (height - 1))));
        RECT row{0, y, width, y + 1};
        FillRect(dc, &row, brush.get());
    }
}

// Three rings round a sun near the top: the shell's parts around the desktop.
void PaintEmblem(HDC dc, int width) {
    const int cx = width / 2;
    const int cy = width / 2 + 4;
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const COLORREF rings[] = {RGB(120, 170, 220), RGB(170, 205, 235), RGB(225, 235, 245)};
    for (int i = 0; i < 3; ++i) {
        UniquePen pen(CreatePen(PS_SOLID, 1, rings[i]));
        HGDIOBJ oldPen = SelectObject(dc, pen.get());
        const int r = width / 2 - 3 - i * 4;
        Ellipse(dc, cx - r, cy - r, cx + r + 1, cy + r + 1);
        SelectObject(dc, oldPen);
    }
    UniqueBrush sun(CreateSolidBrush(RGB(245, 200, 90)));
    SelectObject(dc, sun.get());
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, cx - 3, cy - 3, cx + 4, cy + 4);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

// The name, read from the foot upwards.
void PaintName(HDC dc, int width, int height) {
    LOGFONTW description{};
    description.lfHeight = -(width - 12);
    description.lfWeight = FW_BOLD;
    description.lfEscapement = 900;
    description.lfOrientation = 900;
    description.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynW(description.lfFaceName, L"Arial", LF_FACESIZE);
    UniqueFont font(CreateFontIndirectW(&description));
    HGDIOBJ oldFont = SelectObject(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    const wchar_t* name = L"ORVANE";
    SIZE extent{};
    GetTextExtentPoint32W(dc, name, 6, &extent);
    const int x = (width - (width - 12)) / 2 - 1;
    const int y = height - 8;
    SetTextColor(dc, RGB(20, 20, 30));
    TextOutW(dc, x + 1, y + 1, name, 6);
    SetTextColor(dc, RGB(240, 236, 224));
    TextOutW(dc, x, y, name, 6);
    SelectObject(dc, oldFont);
}

} // namespace

UniqueBitmap PaintAboutLogo(int width, int height) {
    if (width <= 12 || height <= width)
        return {};
    void* bits = nullptr;
    UniqueBitmap bitmap = CreateTopDownDib(width, height, &bits);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!bitmap || !dc)
        return {};
    HGDIOBJ old = SelectObject(dc.get(), bitmap.get());
    PaintBackground(dc.get(), width, height);
    PaintEmblem(dc.get(), width);
    PaintName(dc.get(), width, height);
    SelectObject(dc.get(), old);
    GdiFlush();
    return bitmap;
}

} // namespace orvane
