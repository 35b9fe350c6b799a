#include "paint/Canvas.h"
#include "paint/PaintBuffer.h"
#include "base/ShellError.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"
#include "tests/support/PixelSurface.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace orvane {
namespace {

constexpr COLORREF kUntouched = RGB(0x12, 0x34, 0x56);
constexpr COLORREF kRed = RGB(0xE0, 0x10, 0x20), kGreen = RGB(0x10, 0xC0, 0x30);
constexpr COLORREF kBlue = RGB(0x20, 0x30, 0xF0), kWhite = RGB(0xFF, 0xFF, 0xFF);

using Surface = test::PixelSurface;

UniqueBitmap MakeDib(int width, int height, uint32_t** bits) {
    void* memory = nullptr;
    UniqueBitmap bitmap = CreateTopDownDib(width, height, &memory);
    *bits = static_cast<uint32_t*>(memory);
    return bitmap;
}

bool Inside(const RECT& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

TEST(CanvasShapes, FillAndFrameTouchOnlyTheirPixels) {
    Surface filled(20, 16), framed(20, 16);
    const RECT rect{3, 2, 11, 9}, inner{4, 3, 10, 8};
    TCanvas fill(filled.dc()), frame(framed.dc());
    fill.Brush.Color = kRed;
    fill.FillRect(rect);
    fill.Brush.Style = TBrushStyle::Clear; // fills nothing
    fill.FillRect(RECT{0, 0, 20, 16});
    EXPECT_TRUE(
        filled.Matches([&](int x, int y) { return Inside(rect, x, y) ? kRed : kUntouched; }));
    frame.Brush.Color = kBlue;
    frame.FrameRect(rect);
    EXPECT_TRUE(framed.Matches([&](int x, int y) {
        return Inside(rect, x, y) && !Inside(inner, x, y) ? kBlue : kUntouched;
    }));
}

TEST(CanvasShapes, LinesAndPolygons) {
    Surface line(16, 8), polygon(16, 16);
    TCanvas lines(line.dc());
    lines.Pen.Color = kRed;
    lines.MoveTo(2, 4);
    lines.LineTo(10, 4); // the end point stays out
    EXPECT_TRUE(
        line.Matches([](int x, int y) { return y == 4 && x >= 2 && x < 10 ? kRed : kUntouched; }));

    TCanvas shapes(polygon.dc());
    shapes.Pen.Color = kBlue;
    shapes.Brush.Color = kGreen;
    shapes.Polygon({{2, 2}, {12, 2}, {12, 12}, {2, 12}});
    EXPECT_EQ(polygon.At(2, 7), kBlue);
    EXPECT_EQ(polygon.Count(kGreen, RECT{3, 3, 12, 12}), 9 * 9);
    EXPECT_EQ(polygon.At(13, 7), kUntouched);
}

TEST(CanvasText, BrushStyleDecidesTheTextBackground) {
    Surface clear(80, 30), opaque(80, 30);
    for (Surface* surface : {&clear, &opaque}) {
        TCanvas canvas(surface->dc());
        canvas.Font.Color = kWhite;
        canvas.Font.Size = 12;
        canvas.Brush.Color = kGreen;
        if (surface == &clear)
            canvas.Brush.Style = TBrushStyle::Clear;
        canvas.TextOut(4, 4, " W");
    }
    const RECT all{0, 0, 80, 30};
    EXPECT_EQ(clear.Count(kGreen, all), 0);
    EXPECT_LT(clear.Count(kUntouched, all), 80 * 30) << "no glyph drawn";
    EXPECT_EQ(clear.At(5, 5), kUntouched) << "inside the leading blank";
    EXPECT_EQ(opaque.At(5, 5), kGreen);

    Surface clipped(60, 30);
    TCanvas canvas(clipped.dc());
    canvas.Font.Size = 14;
    const RECT rect{10, 5, 30, 20};
    canvas.TextRect(rect, 6, 2, "WWWWWW");
    EXPECT_EQ(clipped.Count(kUntouched, rect), 0) << "opaque brush fills the rect";
    EXPECT_TRUE(clipped.Matches(
        [&](int x, int y) { return Inside(rect, x, y) ? clipped.At(x, y) : kUntouched; }));
}

TEST(CanvasText, MeasuresWithTheCurrentFont) {
    Surface surface(4, 4);
    TCanvas canvas(surface.dc());
    EXPECT_EQ(canvas.TextWidth(""), 0);
    int width = canvas.TextWidth("ab"), height = canvas.TextHeight("Ag");
    EXPECT_GT(width, 0);
    EXPECT_GT(canvas.TextWidth("abcd"), width);
    canvas.Font.Size = 24;
    EXPECT_GT(canvas.TextHeight("Ag"), height);
}

TEST(CanvasText, AnyScriptIsMeasuredAndDrawnAsItsOwnCharacters) {
    Surface surface(120, 30);
    TCanvas canvas(surface.dc());
    canvas.Font.Size = 12;
    canvas.Brush.Style = TBrushStyle::Clear;
    SIZE wide{};
    HDC dc = canvas.Handle();
    GetTextExtentPoint32W(dc, L"Привет", 6, &wide);
    EXPECT_EQ(canvas.TextWidth("Привет"), wide.cx);
    EXPECT_NE(canvas.TextWidth("Привет"), canvas.TextWidth("??????"));
    canvas.TextOut(2, 2, "Привет");
    EXPECT_LT(surface.Count(kUntouched, RECT{0, 0, 120, 30}), 120 * 30) << "no glyph drawn";

    // Shortening never leaves half of a surrogate pair, and the face name
    // is cut the same way.
    const std::wstring text = Wide("ab📁📁📁📁📁📁 Привет");
    for (int width = 0; width < 120; width += 3) {
        std::wstring fitted = FitWithEllipsis(dc, text, width);
        SCOPED_TRACE(width);
        EXPECT_EQ(Wide(Utf8(fitted)), fitted);
        EXPECT_EQ(fitted.substr(fitted.size() - 3), L"...");
    }
    EXPECT_EQ(FitWithEllipsis(dc, text, 1000), text);
    LOGFONTW font{};
    SetFaceName(font, std::string(30, 'x') + "📁");
    EXPECT_EQ(std::wstring(font.lfFaceName), std::wstring(30, L'x'));
}

TEST(CanvasBitmaps, DrawAndStretchDrawCopyThePixels) {
    uint32_t* bits = nullptr;
    UniqueBitmap source = MakeDib(2, 2, &bits);
    const COLORREF colours[] = {kRed, kGreen, kBlue, kWhite};
    for (int i = 0; i < 4; ++i)
        bits[i] = Surface::ToPixel(colours[i]);
    auto quadrant = [&](int x, int y, int left, int top, int cell) {
        int column = (x - left) / cell, row = (y - top) / cell;
        return x < left || y < top || column > 1 || row > 1 ? kUntouched
                                                            : colours[row * 2 + column];
    };
    Surface stretched(10, 10), drawn(6, 6);
    TCanvas(stretched.dc()).StretchDraw(RECT{3, 2, 7, 6}, source.get());
    EXPECT_TRUE(stretched.Matches([&](int x, int y) { return quadrant(x, y, 3, 2, 2); }));
    TCanvas(drawn.dc()).Draw(1, 2, source.get());
    EXPECT_TRUE(drawn.Matches([&](int x, int y) { return quadrant(x, y, 1, 2, 1); }));
    EXPECT_THROW(TCanvas(drawn.dc()).Draw(0, 0, nullptr), ShellError);
}

TEST(CanvasState, OriginalObjectsReturnWhenTheCanvasGoes) {
    Surface surface(40, 20);
    UniquePen pen(CreatePen(PS_SOLID, 1, kRed));
    UniqueBrush brush(CreateSolidBrush(kBlue));
    UniqueFont font(CreateFontA(-10, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma"));
    SelectedObject p(surface.dc(), pen.get()), b(surface.dc(), brush.get()),
        f(surface.dc(), font.get());
    {
        TCanvas canvas(surface.dc());
        canvas.Font.Bold = true;
        canvas.Rectangle(RECT{1, 1, 10, 10});
        canvas.TextOut(12, 1, "x");
        EXPECT_NE(GetCurrentObject(surface.dc(), OBJ_FONT), font.get());
    }
    EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_PEN), pen.get());
    EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_BRUSH), brush.get());
    EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_FONT), font.get());
}

LRESULT CALLBACK BufferedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND)
        return 1;
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    TPaintBuffer buffer(window);
    buffer.Canvas().Brush.Color = kRed;
    buffer.Canvas().FillRect(RECT{0, 0, buffer.ClientRect().right / 2, buffer.ClientRect().bottom});
    return 0;
}

TEST(CanvasPaintBuffer, PaintsTheWindowInOneBlit) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = BufferedProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(kBlue);
    windowClass.lpszClassName = "OrvaneCanvasTest";
    ASSERT_TRUE(RegisterClassA(&windowClass));
    {
        UniqueWindow window(CreateWindowExA(WS_EX_TOPMOST, "OrvaneCanvasTest", "", WS_POPUP, 20, 20,
                                            60, 40, nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(window.valid());
        ShowWindow(window.get(), SW_SHOWNOACTIVATE);
        UpdateWindow(window.get());
        test::PumpMessagesFor(100);
        WindowDc dc(window.get());
        EXPECT_EQ(GetPixel(dc.get(), 0, 0), kRed);
        EXPECT_EQ(GetPixel(dc.get(), 29, 39), kRed);
        // The unpainted half shows the class background the buffer starts with.
        EXPECT_EQ(GetPixel(dc.get(), 30, 0), kBlue);
        EXPECT_EQ(GetPixel(dc.get(), 59, 39), kBlue);
        // A repaint of a part only: buffered at that part's size, drawn in
        // window coordinates all the same.
        SetPixel(dc.get(), 5, 5, kGreen);
        const RECT part{20, 5, 50, 35};
        InvalidateRect(window.get(), &part, FALSE);
        UpdateWindow(window.get());
        EXPECT_EQ(GetPixel(dc.get(), 25, 10), kRed);
        EXPECT_EQ(GetPixel(dc.get(), 29, 34), kRed);
        EXPECT_EQ(GetPixel(dc.get(), 30, 10), kBlue);
        EXPECT_EQ(GetPixel(dc.get(), 5, 5), kGreen) << "painted outside the part";
    }
    UnregisterClassA("OrvaneCanvasTest", windowClass.hInstance);
    DeleteObject(windowClass.hbrBackground);
}

} // namespace
} // namespace orvane
