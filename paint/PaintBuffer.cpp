#include "paint/PaintBuffer.h"

#include "base/ShellError.h"
#include "paint/Dib.h"

#include <algorithm>

namespace orvane {

TPaintBuffer::PaintSession::PaintSession(HWND window) : window_(window) {
    if (!BeginPaint(window_, &paint_) || !paint_.hdc)
        throw ShellError("PaintBuffer: BeginPaint failed");
}

TPaintBuffer::PaintSession::~PaintSession() {
    EndPaint(window_, &paint_);
}

TPaintBuffer::TPaintBuffer(HWND window) : window_(window), paint_(window) {
    if (!GetClientRect(window_, &client_))
        ThrowLastError("PaintBuffer: GetClientRect");
    HDC windowDc = paint_.get().hdc;
    memoryDc_.reset(CreateCompatibleDC(windowDc));
    if (!memoryDc_)
        throw ShellError("PaintBuffer: CreateCompatibleDC failed");
    // Only the part that needs painting is buffered; what lies outside it is
    // clipped away in the buffer as it would be on the window. A minimised
    // window still gets WM_PAINT; a 0x0 bitmap cannot be made.
    const RECT& dirty = paint_.get().rcPaint;
    origin_ = {dirty.left, dirty.top};
    const int width = std::max<int>(1, dirty.right - dirty.left);
    const int height = std::max<int>(1, dirty.bottom - dirty.top);
    // A DIB section, not a compatible bitmap: under Wine a compatible bitmap's
    // pixels come from the C heap, which keeps a freed desktop-sized buffer
    // (3 MB) for good, while a section's pages go back when it is deleted.
    void* bits = nullptr;
    bitmap_ = CreateTopDownDib(width, height, &bits);
    if (!bitmap_)
        throw ShellError("PaintBuffer: CreateDIBSection failed");
    selected_.emplace(memoryDc_.get(), bitmap_.get());
    // Client coordinates, as on the window.
    SetViewportOrgEx(memoryDc_.get(), -origin_.x, -origin_.y, nullptr);
    auto background = reinterpret_cast<HBRUSH>(GetClassLongPtrW(window_, GCLP_HBRBACKGROUND));
    if (background)
        FillRect(memoryDc_.get(), &client_, background);
    canvas_.emplace(memoryDc_.get());
}

TPaintBuffer::~TPaintBuffer() {
    // The canvas goes first so the memory DC has its own objects back.
    canvas_.reset();
    const RECT& dirty = paint_.get().rcPaint;
    SetViewportOrgEx(memoryDc_.get(), -origin_.x, -origin_.y, nullptr);
    BitBlt(paint_.get().hdc, dirty.left, dirty.top, dirty.right - dirty.left,
           dirty.bottom - dirty.top, memoryDc_.get(), dirty.left, dirty.top, SRCCOPY);
}

} // namespace orvane
