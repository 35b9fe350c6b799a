#pragma once
// One application for the whole executable and a fresh hidden form per test.
#include "base/Win32Handles.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "tests/support/PixelSurface.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane::test {

TApplication& TheApplication();

class WidgetTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A new component of the form, shown on `parent` (the form by default).
    template <typename T> T* Put(TControl* parent = nullptr) {
        T* control = NewComponent<T>(form);
        control->SetParent(parent ? parent : form);
        return control;
    }

    TForm* form = nullptr;
};

// A control's client area as WM_PRINTCLIENT paints it, in a 32-bit DIB. Magenta
// first, so a control that paints nothing cannot pass for one that does.
class ClientCapture : public PixelSurface {
  public:
    explicit ClientCapture(HWND window)
        : PixelSurface(window, ClientSize(window), RGB(255, 0, 255)) {}
    // Pixels of the capture that differ from `color`.
    int CountOtherThan(COLORREF color) const {
        return Width() * Height() - Count(color, RECT{0, 0, Width(), Height()});
    }

  private:
    static SIZE ClientSize(HWND window) {
        RECT client{};
        GetClientRect(window, &client);
        return SIZE{client.right, client.bottom};
    }
};

} // namespace orvane::test
