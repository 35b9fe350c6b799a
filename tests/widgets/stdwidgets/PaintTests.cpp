#include "WidgetFixture.h"

#include "widgets/GroupBox.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/PaintBox.h"

#include <cstdint>
#include <vector>

namespace orvane::test {
namespace {

constexpr COLORREF kFormColor = RGB(200, 40, 30);
constexpr COLORREF kLabelColor = RGB(0, 0, 255);
constexpr COLORREF kStripe = RGB(20, 180, 60);

TEST_F(WidgetTest, TransparentLabelShowsTheParentBehindItsText) {
    form->SetColor(kFormColor);
    auto* label = NewComponent<TLabel>(form);
    label->SetAutoSize(false);
    label->SetBounds(20, 30, 120, 20);
    label->SetColor(kLabelColor);
    label->SetCaption("i");
    label->SetParent(form);

    {
        ClientCapture opaque(label->Handle());
        EXPECT_EQ(opaque.At(110, 10), kLabelColor);
    }
    label->SetTransparent(true);
    ClientCapture capture(label->Handle());
    ASSERT_EQ(capture.Width(), 120);
    EXPECT_EQ(capture.At(110, 10), kFormColor);
    EXPECT_EQ(capture.At(119, 19), kFormColor);
    // The text is there, and nothing of the label's own colour is.
    int text = capture.CountOtherThan(kFormColor);
    EXPECT_GT(text, 0);
    EXPECT_LT(text, 120 * 20 / 4);
}

TEST_F(WidgetTest, TransparencyReachesThroughAGroupBox) {
    form->SetColor(kFormColor);
    // What the form paints itself, not just its colour, must show through,
    // at the place the label actually covers.
    form->OnPaint = [](TComponent& sender) {
        TCanvas& canvas = *static_cast<TForm&>(sender).Canvas();
        canvas.Brush.Color = kStripe;
        canvas.FillRect(RECT{0, 100, 400, 120});
    };
    auto* box = NewComponent<TGroupBox>(form);
    box->SetBounds(10, 50, 300, 150);
    box->SetCaption("Wallpaper");
    box->SetParent(form);
    auto* label = NewComponent<TLabel>(form);
    label->SetAutoSize(false);
    label->SetTransparent(true);
    label->SetBounds(20, 40, 100, 40); // form rows 90..129
    label->SetParent(box);

    ClientCapture capture(label->Handle());
    EXPECT_EQ(capture.At(50, 5), kFormColor);  // form row 95
    EXPECT_EQ(capture.At(50, 15), kStripe);    // form row 105
    EXPECT_EQ(capture.At(50, 35), kFormColor); // form row 125
}

// A 16 x 16 icon: the left half transparent through its mask, the right half blue.
UniqueIcon HalfTransparentIcon() {
    std::vector<uint8_t> mask(2 * 16);
    for (int row = 0; row < 16; ++row)
        mask[static_cast<size_t>(row) * 2] = 0xFF; // AND bits set: the screen stays
    std::vector<uint32_t> color(16 * 16, 0);
    for (int row = 0; row < 16; ++row)
        for (int column = 8; column < 16; ++column)
            color[static_cast<size_t>(row) * 16 + static_cast<size_t>(column)] = 0x000000FF;
    UniqueBitmap maskBitmap(CreateBitmap(16, 16, 1, 1, mask.data()));
    UniqueBitmap colorBitmap(CreateBitmap(16, 16, 1, 32, color.data()));
    ICONINFO info{TRUE, 0, 0, maskBitmap.get(), colorBitmap.get()};
    return UniqueIcon(CreateIconIndirect(&info));
}

TEST_F(WidgetTest, ImageDrawsAnIconThroughItsMask) {
    form->SetColor(kFormColor);
    auto* image = NewComponent<TImage>(form);
    image->SetAutoSize(true);
    image->SetParent(form);
    {
        UniqueIcon icon = HalfTransparentIcon();
        ASSERT_TRUE(icon.valid());
        image->Picture().SetIcon(icon.get());
    } // the image keeps its own copy
    EXPECT_EQ(image->Width(), 16);
    EXPECT_EQ(image->Height(), 16);

    ClientCapture capture(image->Handle());
    EXPECT_EQ(capture.At(2, 8), kFormColor);
    EXPECT_EQ(capture.At(12, 8), RGB(0, 0, 255));
}

TEST_F(WidgetTest, TransparentBitmapLeavesOutItsBottomLeftColour) {
    form->SetColor(kFormColor);
    // 8 x 8: green background (the key, bottom-left), a white square in the middle.
    std::vector<uint32_t> pixels(64, 0x0000FF00);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 6; ++x)
            pixels[static_cast<size_t>(y) * 8 + static_cast<size_t>(x)] = 0x00FFFFFF;
    UniqueBitmap bitmap(CreateBitmap(8, 8, 1, 32, pixels.data()));
    auto* image = NewComponent<TImage>(form);
    image->SetBounds(0, 0, 32, 32);
    image->SetStretch(true);
    image->SetParent(form);
    image->Picture().SetBitmap(bitmap.get());
    bitmap.reset();

    {
        ClientCapture opaque(image->Handle());
        EXPECT_EQ(opaque.At(1, 1), RGB(0, 255, 0));
        EXPECT_EQ(opaque.At(16, 16), RGB(255, 255, 255));
    }
    image->SetTransparent(true);
    ClientCapture capture(image->Handle());
    EXPECT_EQ(capture.At(1, 1), kFormColor);
    EXPECT_EQ(capture.At(30, 30), kFormColor);
    EXPECT_EQ(capture.At(16, 16), RGB(255, 255, 255));
}

TEST_F(WidgetTest, PaintBoxLeavesUnpaintedPartsToTheParent) {
    form->SetColor(kFormColor);
    auto* box = NewComponent<TPaintBox>(form);
    box->SetBounds(10, 10, 169, 161);
    box->SetParent(form);
    int paints = 0;
    box->OnPaint = [&](TPaintBox& sender, TCanvas& canvas) {
        EXPECT_EQ(&sender, box);
        ++paints;
        canvas.Brush.Color = kStripe;
        canvas.FillRect(RECT{5, 5, 20, 20});
    };
    ClientCapture capture(box->Handle());
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(capture.At(10, 10), kStripe);
    EXPECT_EQ(capture.At(100, 100), kFormColor);
}

} // namespace
} // namespace orvane::test
