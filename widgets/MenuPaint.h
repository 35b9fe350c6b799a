#pragma once
// The skinned look of a menu item, after the skin element "popupmenu": the
// face, the selected gradient with its frame, the icon column, the caption
// (bold for the default item) and separators.
#include "paint/Canvas.h"
#include "widgets/MenuItem.h"

#include <windows.h>

namespace orvane {

// Where item captions start, right of the 16 x 16 icon column.
inline constexpr int kMenuTextLeft = 27;
inline constexpr int kMenuItemHeight = 20;
inline constexpr int kMenuSeparatorHeight = 7;

SIZE MenuItemSize(TMenuItem& item);
void PaintMenuItem(TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected);

} // namespace orvane
