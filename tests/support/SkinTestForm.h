#pragma once
// What the skinned control tests share: one application, a bare form to put
// controls on, clicks and off-screen rendering.
#include "tests/support/TestApp.h"
#include "toolkit/Form.h"
#include "tests/support/PixelSurface.h"

#include <windows.h>

#include <vector>

namespace skintest {

using orvane::test::App;

// A borderless form (not shown: nothing here needs the screen) of the given client size; free it
// with App().FreeComponent.
orvane::TForm* NewForm(const char* name, int width = 400, int height = 200);

// A left press and release at (x, y) of the window, as the mouse sends them.
void ClickAt(HWND window, int x = 3, int y = 3);

// The control's client area as it paints itself (WM_PRINTCLIENT), pixel by pixel.
class Snapshot : public orvane::test::PixelSurface {
  public:
    explicit Snapshot(const orvane::TControl& control)
        : PixelSurface(control.Handle(), SIZE{control.Width(), control.Height()}, RGB(0, 0, 0)) {}
};

} // namespace skintest
