#include "tests/skinbuttons/SkinTestForm.h"
#include "shell/Dib.h"

#include "shell/Win32Handles.h"

#include <stdexcept>

namespace skintest {

using namespace orvane;

TApplication& App() {
    static TApplication application;
    return application;
}

TForm* NewForm(const char* name, int width, int height) {
    auto* form = CreateForm<TForm>(&App(), name);
    form->SetBorderStyle(TBorderStyle::None);
    form->SetBounds(10, 10, width, height);
    return form;
}

void ClickAt(HWND window, int x, int y) {
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

Snapshot::Snapshot(const TControl& control) : width_(control.Width()), height_(control.Height()) {
    // A 32-bit DIB section, so the colours read back are exactly those painted.
    void* bits = nullptr;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    UniqueBitmap bitmap = CreateTopDownDib(width_, height_, &bits);
    if (!bitmap || !bits)
        throw std::runtime_error("no bitmap to render the control into");
    {
        SelectedObject selected(dc.get(), bitmap.get());
        SendMessageA(control.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()),
                     PRF_CLIENT);
        GdiFlush();
    }
    const auto* quads = static_cast<const RGBQUAD*>(bits);
    for (int i = 0; i < width_ * height_; ++i)
        pixels_.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
}

COLORREF Snapshot::At(int x, int y) const {
    return pixels_.at(static_cast<size_t>(y * width_ + x));
}

} // namespace skintest
