#include "taskbar/TaskbarGlyphs.h"

#include "widgets/ImageList.h"

namespace orvane {

namespace {

constexpr int kSize = 16;
constexpr COLORREF kTransparent = RGB(255, 0, 255);

// A 16 x 16 bitmap filled with the transparent colour, drawn on by `paint`.
template <typename Paint> UniqueBitmap DrawGlyph(Paint paint) {
    WindowDc screen(nullptr);
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), kSize, kSize));
    {
        SelectedObject selected(dc.get(), bitmap.get());
        UniqueBrush background(CreateSolidBrush(kTransparent));
        RECT all{0, 0, kSize, kSize};
        FillRect(dc.get(), &all, background.get());
        paint(dc.get());
    }
    return bitmap;
}

void Chevron(HDC dc, int top, bool down) {
    // Two rows of a "V" (or an upturned one), two pixels thick.
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 4; ++i) {
            int y = down ? top + i + row : top + 3 - i + row;
            for (int x : {4 + i, 11 - i})
                SetPixel(dc, x, y, RGB(0, 0, 0));
        }
}

} // namespace

UniqueBitmap StartGlyph() {
    return DrawGlyph([](HDC dc) {
        // A leaf-green disc with a lighter crescent: the emblem of the shell.
        UniquePen outline(CreatePen(PS_SOLID, 1, RGB(62, 84, 20)));
        UniqueBrush body(CreateSolidBrush(RGB(122, 168, 30)));
        UniqueBrush light(CreateSolidBrush(RGB(196, 230, 96)));
        SelectedObject pen(dc, outline.get());
        {
            SelectedObject brush(dc, body.get());
            Ellipse(dc, 1, 1, 15, 15);
        }
        SelectedObject brush(dc, light.get());
        SelectedObject noPen(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, 4, 3, 10, 9);
        UniqueBrush core(CreateSolidBrush(RGB(255, 255, 255)));
        SelectedObject coreBrush(dc, core.get());
        Ellipse(dc, 5, 4, 8, 7);
    });
}

void AddSectionChevrons(TImageList& images) {
    for (bool down : {true, false}) {
        UniqueBitmap glyph = DrawGlyph([down](HDC dc) {
            Chevron(dc, 3, down);
            Chevron(dc, 8, down);
        });
        images.AddBitmap(glyph.get(), kTransparent);
    }
}

} // namespace orvane
