#pragma once
// Double-buffered WM_PAINT: everything is painted off screen and reaches the
// window in one blit, so the taskbar and the start panel do not flicker while
// they repaint. Create one in the WM_PAINT handler in place of BeginPaint;
// windows painting this way should answer WM_ERASEBKGND with 1.
#include "base/Win32Handles.h"
#include "paint/Canvas.h"

#include <windows.h>

#include <optional>

namespace orvane {

class TPaintBuffer {
  public:
    explicit TPaintBuffer(HWND window);
    TPaintBuffer(const TPaintBuffer&) = delete;
    TPaintBuffer& operator=(const TPaintBuffer&) = delete;
    // Copies the invalid part of the buffer to the window and ends painting.
    ~TPaintBuffer();

    // Paints in client coordinates. It starts out in the window class's
    // background, as the window would look after erasing.
    TCanvas& Canvas() { return *canvas_; }
    const RECT& ClientRect() const { return client_; }
    // The part of the client area that needs painting.
    const RECT& PaintRect() const { return paint_.get().rcPaint; }

  private:
    // BeginPaint/EndPaint on its own, so that painting ends even when building
    // the buffer fails halfway.
    class PaintSession {
      public:
        explicit PaintSession(HWND window);
        PaintSession(const PaintSession&) = delete;
        PaintSession& operator=(const PaintSession&) = delete;
        ~PaintSession();
        const PAINTSTRUCT& get() const { return paint_; }

      private:
        HWND window_;
        PAINTSTRUCT paint_{};
    };

    HWND window_;
    PaintSession paint_;
    RECT client_{};
    // Where the buffer's first pixel lies on the window.
    POINT origin_{};
    UniqueMemoryDc memoryDc_;
    UniqueBitmap bitmap_;
    std::optional<SelectedObject> selected_;
    std::optional<TCanvas> canvas_;
};

} // namespace orvane
