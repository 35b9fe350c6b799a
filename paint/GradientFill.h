#pragma once
// A multi-colour gradient painted line by line with the DC's pen, used for the
// backgrounds of selected list entries and grid cells.
#include <windows.h>

#include <vector>

namespace orvane {

// A colour as the configuration and the controls store it: either 0x00BBGGRR,
// or a system colour index with the high byte 0x80 or 0xFF (0x80000000 | index).
COLORREF ResolveColor(COLORREF color);

// Paints `rect` with evenly spaced bands running from colours[0] to the last
// colour, left to right (`horizontal`) or top to bottom. The DC's selected pen
// and current position are the same afterwards. Fewer than two colours raise
// ShellError and paint nothing.
void GradientFill(HDC dc, const RECT& rect, bool horizontal, const std::vector<COLORREF>& colors);

} // namespace orvane
