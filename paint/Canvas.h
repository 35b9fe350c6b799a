#pragma once
// The canvas every window of the shell paints with. It draws on a device
// context it does not own and keeps its own pen, brush and font: windows just
// set Pen/Brush/Font and draw, and the GDI objects follow whatever they set.
//
// Text is UTF-8 and reaches GDI through its wide calls. windows.h maps TextOut
// and DrawText to their wide names; the members below are renamed the same way
// wherever windows.h is seen, so the call sites read as written.
#include "base/Win32Handles.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class TPenStyle { Solid, Dash, Dot, Clear };
enum class TBrushStyle { Solid, Clear };

struct TPen {
    COLORREF Color = RGB(0, 0, 0);
    int Width = 1;
    TPenStyle Style = TPenStyle::Solid;
    bool operator==(const TPen&) const = default;
};

struct TBrush {
    COLORREF Color = RGB(255, 255, 255);
    TBrushStyle Style = TBrushStyle::Solid;
    bool operator==(const TBrush&) const = default;
};

struct TFont {
    std::string Name = "Tahoma";
    int Size = 8; // points, turned into pixels with the DC's resolution
    COLORREF Color = RGB(0, 0, 0);
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool operator==(const TFont&) const = default;
};

// The description GDI makes a font from, at the resolution of `dc`.
LOGFONTW DescribeFont(const TFont& font, HDC dc);
// A face name for a LOGFONTW: at most LF_FACESIZE - 1 units, never half a character.
void SetFaceName(LOGFONTW& description, std::string_view name);

// `text` as a single line shortened to fit `width` pixels in the font selected
// into `dc`: cut at a character boundary, never between the halves of a
// surrogate pair, and ended with "...". Text that fits comes back as it is.
std::wstring FitWithEllipsis(HDC dc, std::wstring_view text, int width);

// DrawTextW of UTF-8 text on `dc` as it is set up; `rect` gets what
// DT_CALCRECT measures. A single line with DT_END_ELLIPSIS and DT_NOPREFIX is
// shortened by FitWithEllipsis, as the system's own ellipsis may split a
// surrogate pair. Returns the height of the text.
int DrawUtf8Text(HDC dc, std::string_view text, RECT& rect, UINT flags);

class TCanvas {
  public:
    // `dc` stays the caller's; the objects, text colours and background mode
    // it has now are put back when the canvas goes.
    explicit TCanvas(HDC dc);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    ~TCanvas();

    TPen Pen;
    TBrush Brush;
    TFont Font;

    // The DC with the current pen, brush and font selected, for helpers that
    // paint on it directly (GradientFill and the like).
    HDC Handle();

    void TextOut(int x, int y, std::string_view text);
    // Like TextOut, but nothing is painted outside `rect`; an opaque brush
    // fills all of `rect` behind the text.
    void TextRect(const RECT& rect, int x, int y, std::string_view text);
    // DrawTextW with the canvas font (see DrawUtf8Text); returns the height of
    // the text drawn.
    int DrawText(const RECT& rect, std::string_view text, UINT flags);
    SIZE TextExtent(std::string_view text);
    int TextWidth(std::string_view text);
    int TextHeight(std::string_view text);

    // Nothing is painted while the brush is clear.
    void FillRect(const RECT& rect);
    // A one pixel border in the brush colour, whatever the brush style.
    void FrameRect(const RECT& rect);
    // Outlined with the pen, filled with the brush; right and bottom excluded.
    void Rectangle(const RECT& rect);
    void Polygon(const std::vector<POINT>& points);
    void MoveTo(int x, int y);
    // Draws up to but not including (x, y), which becomes the current position.
    void LineTo(int x, int y);

    void Draw(int x, int y, HBITMAP bitmap);
    void StretchDraw(const RECT& rect, HBITMAP bitmap);
    // The icon at size x size pixels, blended through its mask.
    void DrawIcon(int x, int y, HICON icon, int size);

  private:
    void RequirePen();
    void RequireBrush();
    void RequireFont();
    void PrepareText();
    HBRUSH SolidBrush();

    HDC dc_;
    HGDIOBJ originalPen_;
    HGDIOBJ originalBrush_;
    HGDIOBJ originalFont_;
    COLORREF originalTextColor_;
    COLORREF originalBkColor_;
    int originalBkMode_;

    // What the GDI objects below were made from; a difference to the public
    // state means they are stale.
    TPen penState_;
    TBrush brushState_;
    TFont fontState_;
    UniquePen pen_;
    UniqueBrush brush_;
    UniqueFont font_;
};

} // namespace orvane
