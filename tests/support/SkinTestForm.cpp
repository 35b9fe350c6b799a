#include "tests/support/SkinTestForm.h"

namespace skintest {

using namespace orvane;

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

} // namespace skintest
