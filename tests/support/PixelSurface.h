#pragma once
// A memory DC on a top-down 32-bit DIB, prefilled with one colour: every pixel
// painted into it reads back exactly.
#include "paint/Dib.h"
#include "base/Win32Handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>

namespace orvane::test {

class PixelSurface {
  public:
    PixelSurface(int width, int height, COLORREF fill = RGB(0x12, 0x34, 0x56))
        : width_(width), height_(height) {
        void* bits = nullptr;
        bitmap_ = CreateTopDownDib(width, height, &bits);
        bits_ = static_cast<uint32_t*>(bits);
        dc_.reset(CreateCompatibleDC(nullptr));
        selected_.emplace(dc_.get(), bitmap_.get());
        std::fill(bits_, bits_ + width * height, ToPixel(fill));
    }
    // `size` of the window's client area as it paints itself (WM_PRINTCLIENT) over `fill`.
    PixelSurface(HWND window, SIZE size, COLORREF fill) : PixelSurface(size.cx, size.cy, fill) {
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc()), PRF_CLIENT);
    }
    static uint32_t ToPixel(COLORREF c) {
        return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    HDC dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        uint32_t pixel = bits_[y * width_ + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // Whether every pixel is what `expected` says; else the first that is not.
    ::testing::AssertionResult Matches(const std::function<COLORREF(int, int)>& expected,
                                       RECT area = {0, 0, -1, -1}) const {
        if (area.right < 0)
            area = {0, 0, width_, height_};
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (At(x, y) != expected(x, y))
                    return ::testing::AssertionFailure()
                           << "pixel (" << x << "," << y << ") is " << std::hex << At(x, y)
                           << ", expected " << expected(x, y);
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult AllAre(const RECT& area, COLORREF colour) const {
        return Matches([colour](int, int) { return colour; }, area);
    }
    int Count(COLORREF colour, const RECT& area) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += At(x, y) == colour;
        return count;
    }

  private:
    int width_, height_;
    UniqueBitmap bitmap_;
    uint32_t* bits_ = nullptr;
    UniqueMemoryDc dc_;
    std::optional<SelectedObject> selected_;
};

} // namespace orvane::test
