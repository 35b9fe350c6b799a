#pragma once
// The skin every widget draws with. The main window loads the file at start;
// until then (and in tests) the built-in look is in use.
#include "paint/SkinData.h"

namespace orvane {

TSkinData& CurrentSkin();

// A skin fill (one colour or a two-colour gradient) over `rect`; nothing for an
// empty rectangle.
void PaintSkinFill(HDC dc, const RECT& rect, const SkinFill& fill);

} // namespace orvane
