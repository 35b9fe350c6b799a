#include "paint/GradientFill.h"
#include "paint/Dib.h"
#include "base/ShellError.h"
#include "base/Win32Handles.h"
#include "tests/support/PixelSurface.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace orvane {
namespace {

using test::PixelSurface;
constexpr COLORREF kUnpainted = RGB(0x12, 0x34, 0x56);

// Column x (or row y) from `from` to `to`, exclusive.
RECT Column(int x, int from, int to) {
    return RECT{x, from, x + 1, to};
}
RECT Row(int y, int from, int to) {
    return RECT{from, y, to, y + 1};
}

TEST(GradientFill, HorizontalThroughThreeColours) {
    // Rectangle 100 wide at (10,1)-(110,11) inside a larger canvas.
    PixelSurface canvas(120, 12);
    const COLORREF c0 = RGB(0, 100, 255), c1 = RGB(255, 0, 10), c2 = RGB(10, 20, 30);
    GradientFill(canvas.dc(), RECT{10, 1, 110, 11}, true, {c0, c1, c2});

    // Segment length 50: positions 0..50 run from c0 to c1, 50..99 from c1 to c2.
    EXPECT_TRUE(canvas.AllAre(Column(10 + 0, 1, 11), c0));
    // r = 25 of 50: 0+255/2, 100-50, 255-245/2, each truncated.
    EXPECT_TRUE(canvas.AllAre(Column(10 + 25, 1, 11), RGB(127, 50, 132)));
    // r = 49 of 50: 249.9, 2, 14.9.
    EXPECT_TRUE(canvas.AllAre(Column(10 + 49, 1, 11), RGB(249, 2, 14)));
    // Position 50 is repainted by segment 1 in its own start colour.
    EXPECT_TRUE(canvas.AllAre(Column(10 + 50, 1, 11), c1));
    // r = 25 of 49: 255-125, 20*25/49 = 10.2, 10+10.2.
    EXPECT_TRUE(canvas.AllAre(Column(10 + 75, 1, 11), RGB(130, 10, 20)));
    EXPECT_TRUE(canvas.AllAre(Column(10 + 99, 1, 11), c2));

    // Nothing outside the rectangle.
    EXPECT_TRUE(canvas.AllAre(Column(9, 0, 12), kUnpainted));
    EXPECT_TRUE(canvas.AllAre(Column(110, 0, 12), kUnpainted));
    EXPECT_TRUE(canvas.AllAre(Row(0, 0, 120), kUnpainted));
    EXPECT_TRUE(canvas.AllAre(Row(11, 0, 120), kUnpainted));
}

TEST(GradientFill, HorizontalCoversEveryColumnMonotonically) {
    PixelSurface canvas(100, 2);
    GradientFill(canvas.dc(), RECT{0, 0, 100, 2}, true, {RGB(0, 0, 0), RGB(200, 0, 0)});
    // One line count of 99: 200 * x / 99, truncated (and so never falling).
    for (int x = 0; x < 100; ++x)
        EXPECT_EQ(canvas.At(x, 0), RGB(200 * x / 99, 0, 0)) << x;
    EXPECT_EQ(canvas.At(99, 1), RGB(200, 0, 0));
}

TEST(GradientFill, VerticalTwoColoursOneLinePerRow) {
    PixelSurface canvas(8, 12);
    GradientFill(canvas.dc(), RECT{1, 1, 7, 11}, false, {RGB(0, 0, 0), RGB(90, 180, 9)});
    // Ten rows, line count 9: row p gets (10p, 20p, p) exactly.
    for (int p = 0; p < 10; ++p)
        EXPECT_TRUE(canvas.AllAre(Row(1 + p, 1, 7), RGB(10 * p, 20 * p, p)));
    EXPECT_TRUE(canvas.AllAre(Row(0, 0, 8), kUnpainted));
    EXPECT_TRUE(canvas.AllAre(Row(11, 0, 8), kUnpainted)) << "the bottom edge is not painted";
    EXPECT_TRUE(canvas.AllAre(Column(0, 0, 12), kUnpainted));
    EXPECT_TRUE(canvas.AllAre(Column(7, 0, 12), kUnpainted));
}

TEST(GradientFill, FewerThanTwoColoursRaiseAndPaintNothing) {
    PixelSurface canvas(10, 10);
    for (const auto& colors : {std::vector<COLORREF>{}, std::vector<COLORREF>{RGB(255, 0, 0)}}) {
        try {
            GradientFill(canvas.dc(), RECT{0, 0, 10, 10}, true, colors);
            ADD_FAILURE() << "no error with " << colors.size() << " colours";
        } catch (const ShellError& error) {
            EXPECT_STREQ(error.what(), "Es mussen mindestens zwei Farben angegeben werden.");
        }
    }
    EXPECT_TRUE(canvas.AllAre(RECT{0, 0, 10, 10}, kUnpainted));
}

TEST(GradientFill, LeavesTheSelectedPenAndPosition) {
    PixelSurface canvas(20, 20);
    UniquePen pen(CreatePen(PS_DASH, 1, RGB(255, 0, 0)));
    HGDIOBJ original = SelectObject(canvas.dc(), pen.get());
    MoveToEx(canvas.dc(), 3, 4, nullptr);

    GradientFill(canvas.dc(), RECT{0, 0, 20, 20}, false, {RGB(1, 2, 3), RGB(4, 5, 6)});
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), pen.get());
    POINT position{};
    GetCurrentPositionEx(canvas.dc(), &position);
    EXPECT_EQ(position.x, 3);
    EXPECT_EQ(position.y, 4);

    EXPECT_THROW(GradientFill(canvas.dc(), RECT{0, 0, 20, 20}, false, {RGB(1, 2, 3)}), ShellError);
    EXPECT_EQ(GetCurrentObject(canvas.dc(), OBJ_PEN), pen.get());
    SelectObject(canvas.dc(), original);
}

TEST(GradientFill, SystemColourIndicesAreResolved) {
    EXPECT_EQ(ResolveColor(0x80000000 | COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ResolveColor(0xFF000000 | COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ResolveColor(RGB(1, 2, 3)), RGB(1, 2, 3));

    PixelSurface canvas(2, 1);
    GradientFill(canvas.dc(), RECT{0, 0, 2, 1}, true,
                 {0x80000000 | COLOR_HIGHLIGHT, 0xFF000000 | COLOR_WINDOW});
    EXPECT_EQ(canvas.At(0, 0), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(canvas.At(1, 0), GetSysColor(COLOR_WINDOW));
}

TEST(GradientFill, TinyRectanglesStayInside) {
    // One pixel, two colours: the only band has a line count of 0.
    PixelSurface one(3, 3);
    GradientFill(one.dc(), RECT{1, 1, 2, 2}, true, {RGB(9, 8, 7), RGB(200, 200, 200)});
    EXPECT_TRUE(
        one.Matches([](int x, int y) { return x == 1 && y == 1 ? RGB(9, 8, 7) : kUnpainted; }));

    // More colours than pixels: the rounded band length overshoots the rectangle.
    PixelSurface small(10, 3);
    GradientFill(small.dc(), RECT{2, 0, 5, 3}, true,
                 {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(9, 9, 9), RGB(1, 1, 1)});
    EXPECT_TRUE(small.AllAre(RECT{0, 0, 2, 3}, kUnpainted));
    EXPECT_TRUE(small.AllAre(RECT{5, 0, 10, 3}, kUnpainted));
    for (int x : {2, 3, 4})
        EXPECT_FALSE(small.At(x, 1) == kUnpainted) << x;

    // An empty or inverted rectangle paints nothing.
    PixelSurface none(4, 4);
    GradientFill(none.dc(), RECT{2, 0, 2, 4}, true, {RGB(1, 1, 1), RGB(2, 2, 2)});
    GradientFill(none.dc(), RECT{0, 3, 4, 1}, false, {RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3)});
    EXPECT_TRUE(none.AllAre(RECT{0, 0, 4, 4}, kUnpainted));
}

} // namespace
} // namespace orvane
