#include "widgets/PaintBox.h"

namespace orvane {

TPaintBox::TPaintBox(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint(TCanvas& canvas) {
    PaintParentBackground(canvas);
    if (OnPaint) {
        canvas.Font = Font;
        OnPaint(*this, canvas);
    }
}

} // namespace orvane
