#pragma once
// One application for the whole executable and a fresh hidden form per test.
#include "shell/Win32Handles.h"
#include "skin/Application.h"
#include "skin/Form.h"

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

// A control's client area as WM_PRINTCLIENT paints it, in a 32-bit DIB.
class ClientCapture {
  public:
    explicit ClientCapture(HWND window);
    COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Pixels of the capture that differ from `color`.
    int CountOtherThan(COLORREF color) const;

  private:
    UniqueBitmap bitmap_;
    UniqueMemoryDc dc_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace orvane::test
