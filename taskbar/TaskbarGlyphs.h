#pragma once
// The taskbar's built-in pictures: the start button's emblem and the two
// chevrons the start panel's section buttons show.
#include "base/Win32Handles.h"

namespace orvane {

class TImageList;

// 16 x 16; its bottom-left pixel is the colour drawn transparent.
UniqueBitmap StartGlyph();
// Appends image 0 (double chevron down) and image 1 (double chevron up).
void AddSectionChevrons(TImageList& images);

} // namespace orvane
