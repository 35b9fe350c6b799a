#include "paint/Skin.h"

#include "paint/GradientFill.h"
#include "base/Win32Handles.h"

namespace orvane {

TSkinData& CurrentSkin() {
    static TSkinData skin;
    return skin;
}

void PaintSkinFill(HDC dc, const RECT& rect, const SkinFill& fill) {
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    if (fill.direction == SkinGradient::None || fill.start == fill.end) {
        UniqueBrush brush(CreateSolidBrush(fill.start));
        ::FillRect(dc, &rect, brush.get());
        return;
    }
    GradientFill(dc, rect, fill.direction == SkinGradient::Horizontal, {fill.start, fill.end});
}

} // namespace orvane
