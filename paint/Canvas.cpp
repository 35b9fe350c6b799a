#include "paint/Canvas.h"

#include "base/ShellError.h"
#include "paint/Dib.h"
#include "base/Utf.h"

#include <algorithm>
#include <climits>

namespace orvane {
namespace {

// GDI sets no last error for most drawing calls, so the message names the call.
void Check(bool ok, const char* call) {
    if (!ok)
        throw ShellError(std::string("Canvas: ") + call + " failed");
}

int TextLength(std::wstring_view text) {
    if (text.size() > static_cast<std::size_t>(INT_MAX))
        throw ShellError("Canvas: text too long");
    return static_cast<int>(text.size());
}

int PenStyleFlags(TPenStyle style) {
    switch (style) {
    case TPenStyle::Dash:
        return PS_DASH;
    case TPenStyle::Dot:
        return PS_DOT;
    case TPenStyle::Clear:
        return PS_NULL;
    case TPenStyle::Solid:
        break;
    }
    return PS_SOLID;
}

} // namespace

LOGFONTW DescribeFont(const TFont& font, HDC dc) {
    LOGFONTW description{};
    description.lfHeight = -MulDiv(font.Size, GetDeviceCaps(dc, LOGPIXELSY), 72);
    description.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    description.lfItalic = font.Italic ? TRUE : FALSE;
    description.lfUnderline = font.Underline ? TRUE : FALSE;
    description.lfCharSet = DEFAULT_CHARSET;
    description.lfOutPrecision = OUT_DEFAULT_PRECIS;
    description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    description.lfQuality = DEFAULT_QUALITY;
    description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    SetFaceName(description, font.Name);
    return description;
}

void SetFaceName(LOGFONTW& description, std::string_view name) {
    std::wstring face = Wide(name);
    size_t units = std::min<size_t>(face.size(), LF_FACESIZE - 1);
    if (units < face.size() && units > 0 && IS_HIGH_SURROGATE(face[units - 1]))
        --units;
    std::fill(std::begin(description.lfFaceName), std::end(description.lfFaceName), L'\0');
    std::copy_n(face.begin(), units, description.lfFaceName);
}

std::wstring FitWithEllipsis(HDC dc, std::wstring_view text, int width) {
    const int length = TextLength(text);
    SIZE size{};
    if (length == 0 || (GetTextExtentPoint32W(dc, text.data(), length, &size) && size.cx <= width))
        return std::wstring(text);
    static constexpr wchar_t kDots[] = L"...";
    SIZE dots{};
    GetTextExtentPoint32W(dc, kDots, 3, &dots);
    int fit = 0;
    if (!GetTextExtentExPointW(dc, text.data(), length, std::max<int>(width - dots.cx, 0), &fit,
                               nullptr, &size))
        fit = 0;
    size_t keep = static_cast<size_t>(std::clamp(fit, 0, length));
    if (keep > 0 && keep < text.size() && IS_LOW_SURROGATE(text[keep]))
        --keep;
    return std::wstring(text.substr(0, keep)) + kDots;
}

int DrawUtf8Text(HDC dc, std::string_view utf8, RECT& rect, UINT flags) {
    std::wstring text = Wide(utf8);
    constexpr UINT kOwnEllipsis = DT_END_ELLIPSIS | DT_SINGLELINE | DT_NOPREFIX;
    if ((flags & kOwnEllipsis) == kOwnEllipsis && !(flags & DT_CALCRECT)) {
        text = FitWithEllipsis(dc, text, rect.right - rect.left);
        flags &= ~static_cast<UINT>(DT_END_ELLIPSIS);
    }
    return ::DrawTextW(dc, text.data(), TextLength(text), &rect, flags);
}

TCanvas::TCanvas(HDC dc)
    : dc_(dc), originalPen_(dc ? GetCurrentObject(dc, OBJ_PEN) : nullptr),
      originalBrush_(dc ? GetCurrentObject(dc, OBJ_BRUSH) : nullptr),
      originalFont_(dc ? GetCurrentObject(dc, OBJ_FONT) : nullptr),
      originalTextColor_(dc ? GetTextColor(dc) : CLR_INVALID),
      originalBkColor_(dc ? GetBkColor(dc) : CLR_INVALID), originalBkMode_(dc ? GetBkMode(dc) : 0) {
    if (!dc_ || !originalPen_ || !originalBrush_ || !originalFont_)
        throw ShellError("Canvas: no usable device context");
}

TCanvas::~TCanvas() {
    // Our objects must be out of the DC before the owners below delete them.
    SelectObject(dc_, originalPen_);
    SelectObject(dc_, originalBrush_);
    SelectObject(dc_, originalFont_);
    SetTextColor(dc_, originalTextColor_);
    SetBkColor(dc_, originalBkColor_);
    SetBkMode(dc_, originalBkMode_);
}

HDC TCanvas::Handle() {
    RequirePen();
    RequireBrush();
    RequireFont();
    return dc_;
}

void TCanvas::RequirePen() {
    if (!pen_ || !(penState_ == Pen)) {
        // Selected first: the stale pen may still be in the DC when it is deleted.
        SelectObject(dc_, originalPen_);
        pen_.reset(CreatePen(PenStyleFlags(Pen.Style), Pen.Width < 1 ? 1 : Pen.Width, Pen.Color));
        Check(pen_.valid(), "CreatePen");
        penState_ = Pen;
    }
    // Selected on every call: a helper given Handle() may have changed the DC.
    SelectObject(dc_, pen_.get());
}

HBRUSH TCanvas::SolidBrush() {
    if (!brush_ || brushState_.Color != Brush.Color) {
        SelectObject(dc_, originalBrush_);
        brush_.reset(CreateSolidBrush(Brush.Color));
        Check(brush_.valid(), "CreateSolidBrush");
    }
    brushState_ = Brush;
    return brush_.get();
}

void TCanvas::RequireBrush() {
    HBRUSH brush = SolidBrush();
    SelectObject(dc_, Brush.Style == TBrushStyle::Clear ? GetStockObject(NULL_BRUSH) : brush);
}

void TCanvas::RequireFont() {
    if (!font_ || !(fontState_ == Font)) {
        SelectObject(dc_, originalFont_);
        const LOGFONTW description = DescribeFont(Font, dc_);
        font_.reset(CreateFontIndirectW(&description));
        Check(font_.valid(), "CreateFontIndirect");
        fontState_ = Font;
    }
    SelectObject(dc_, font_.get());
}

void TCanvas::PrepareText() {
    RequireFont();
    SetTextColor(dc_, Font.Color);
    if (Brush.Style == TBrushStyle::Clear) {
        SetBkMode(dc_, TRANSPARENT);
    } else {
        SetBkMode(dc_, OPAQUE);
        SetBkColor(dc_, Brush.Color);
    }
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
    PrepareText();
    const std::wstring wide = Wide(text);
    Check(::TextOutW(dc_, x, y, wide.data(), TextLength(wide)), "TextOut");
}

void TCanvas::TextRect(const RECT& rect, int x, int y, std::string_view text) {
    PrepareText();
    UINT options = ETO_CLIPPED;
    if (Brush.Style != TBrushStyle::Clear)
        options |= ETO_OPAQUE;
    const std::wstring wide = Wide(text);
    Check(ExtTextOutW(dc_, x, y, options, &rect, wide.data(), TextLength(wide), nullptr),
          "ExtTextOut");
}

int TCanvas::DrawText(const RECT& rect, std::string_view text, UINT flags) {
    PrepareText();
    RECT bounds = rect;
    return DrawUtf8Text(dc_, text, bounds, flags);
}

SIZE TCanvas::TextExtent(std::string_view text) {
    RequireFont();
    SIZE size{};
    if (text.empty())
        return size;
    const std::wstring wide = Wide(text);
    Check(GetTextExtentPoint32W(dc_, wide.data(), TextLength(wide), &size), "GetTextExtentPoint32");
    return size;
}

int TCanvas::TextWidth(std::string_view text) {
    return TextExtent(text).cx;
}

int TCanvas::TextHeight(std::string_view text) {
    return TextExtent(text).cy;
}

void TCanvas::FillRect(const RECT& rect) {
    if (Brush.Style == TBrushStyle::Clear)
        return;
    Check(::FillRect(dc_, &rect, SolidBrush()) != 0, "FillRect");
}

void TCanvas::FrameRect(const RECT& rect) {
    Check(::FrameRect(dc_, &rect, SolidBrush()) != 0, "FrameRect");
}

void TCanvas::Rectangle(const RECT& rect) {
    RequirePen();
    RequireBrush();
    Check(::Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom), "Rectangle");
}

void TCanvas::Polygon(const std::vector<POINT>& points) {
    if (points.size() < 2)
        throw ShellError("Canvas: a polygon needs at least two points");
    if (points.size() > static_cast<std::size_t>(INT_MAX))
        throw ShellError("Canvas: too many polygon points");
    RequirePen();
    RequireBrush();
    Check(::Polygon(dc_, points.data(), static_cast<int>(points.size())), "Polygon");
}

void TCanvas::MoveTo(int x, int y) {
    Check(MoveToEx(dc_, x, y, nullptr), "MoveToEx");
}

void TCanvas::LineTo(int x, int y) {
    RequirePen();
    Check(::LineTo(dc_, x, y), "LineTo");
}

void TCanvas::Draw(int x, int y, HBITMAP bitmap) {
    SIZE size = BitmapSize(bitmap, "Canvas: not a bitmap");
    UniqueMemoryDc source(CreateCompatibleDC(dc_));
    Check(source.valid(), "CreateCompatibleDC");
    SelectedObject selected(source.get(), bitmap);
    Check(BitBlt(dc_, x, y, size.cx, size.cy, source.get(), 0, 0, SRCCOPY), "BitBlt");
}

void TCanvas::StretchDraw(const RECT& rect, HBITMAP bitmap) {
    SIZE size = BitmapSize(bitmap, "Canvas: not a bitmap");
    UniqueMemoryDc source(CreateCompatibleDC(dc_));
    Check(source.valid(), "CreateCompatibleDC");
    SelectedObject selected(source.get(), bitmap);
    // Whole pixels, not averaged: skin bitmaps are scaled with hard edges.
    int previousMode = SetStretchBltMode(dc_, COLORONCOLOR);
    BOOL ok = StretchBlt(dc_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                         source.get(), 0, 0, size.cx, size.cy, SRCCOPY);
    if (previousMode)
        SetStretchBltMode(dc_, previousMode);
    Check(ok, "StretchBlt");
}

void TCanvas::DrawIcon(int x, int y, HICON icon, int size) {
    if (!icon)
        throw ShellError("Canvas: no icon to draw");
    Check(DrawIconEx(dc_, x, y, icon, size, size, 0, nullptr, DI_NORMAL), "DrawIconEx");
}

} // namespace orvane
