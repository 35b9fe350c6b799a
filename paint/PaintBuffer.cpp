#include "paint/PaintBuffer.h"

#include "base/ShellError.h"

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
    // A minimised window still gets WM_PAINT; a 0x0 bitmap cannot be made.
    int width = std::max<int>(1, client_.right - client_.left);
    int height = std::max<int>(1, client_.bottom - client_.top);
    bitmap_.reset(CreateCompatibleBitmap(windowDc, width, height));
    if (!bitmap_)
        throw ShellError("PaintBuffer: CreateCompatibleBitmap failed");
    selected_.emplace(memoryDc_.get(), bitmap_.get());
    auto background = reinterpret_cast<HBRUSH>(GetClassLongPtrW(window_, GCLP_HBRBACKGROUND));
    if (background)
        FillRect(memoryDc_.get(), &client_, background);
    canvas_.emplace(memoryDc_.get());
}

TPaintBuffer::~TPaintBuffer() {
    // The canvas goes first so the memory DC has its own objects back.
    canvas_.reset();
    const RECT& dirty = paint_.get().rcPaint;
    BitBlt(paint_.get().hdc, dirty.left, dirty.top, dirty.right - dirty.left,
           dirty.bottom - dirty.top, memoryDc_.get(), dirty.left, dirty.top, SRCCOPY);
}

} // namespace orvane
