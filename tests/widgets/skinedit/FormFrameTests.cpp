// The skinned form frame: its border and caption take the skin's sizes, the
// pointer finds the caption, the borders and the buttons, and the roll-up
// button shrinks the form to its caption bar and back.
#include "paint/Skin.h"
#include "tests/widgets/skinedit/SkinEditFixture.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace orvane;
using namespace orvane::test;

namespace {

class FormFrameTest : public SkinEditTest {
  protected:
    void SetUp() override {
        SkinEditTest::SetUp();
        form->SetSkinnedFrame(true);
        form->SetBounds(60, 60, 300, 200);
        PumpMessagesFor(20);
        const TSkinElement& element = CurrentSkin().Element("form");
        border = element.borderWidth;
        caption = element.captionHeight;
    }

    LRESULT HitAt(int x, int y) const {
        RECT window;
        GetWindowRect(form->Handle(), &window);
        return SendMessageA(form->Handle(), WM_NCHITTEST, 0,
                            MAKELPARAM(window.left + x, window.top + y));
    }

    // The hit codes of the caption's buttons, found by moving along the caption.
    std::set<LRESULT> ButtonCodes(POINT* rollUpAt = nullptr) const {
        std::set<LRESULT> codes;
        int y = border + caption / 2;
        for (int x = border; x < 300 - border; ++x) {
            LRESULT code = HitAt(x, y);
            if (code == HTCAPTION || (code >= HTLEFT && code <= HTBOTTOMRIGHT))
                continue;
            codes.insert(code);
            if (code != HTCLOSE && rollUpAt)
                *rollUpAt = {x, y};
        }
        return codes;
    }

    void ClickAt(POINT at, LRESULT code) {
        RECT window;
        GetWindowRect(form->Handle(), &window);
        LPARAM screen = MAKELPARAM(window.left + at.x, window.top + at.y);
        SendMessageA(form->Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(code), screen);
        SendMessageA(form->Handle(), WM_NCLBUTTONUP, static_cast<WPARAM>(code), screen);
    }

    int border = 0;
    int caption = 0;
};

TEST_F(FormFrameTest, ClientAreaLeavesRoomAndThePointerFindsCaptionBordersAndButtons) {
    ASSERT_GT(caption, 0);
    RECT window, client;
    GetWindowRect(form->Handle(), &window);
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(window.right - window.left, 300);
    EXPECT_EQ(client.right, 300 - 2 * border);
    EXPECT_EQ(client.bottom, 200 - 2 * border - caption);
    POINT origin{0, 0};
    ClientToScreen(form->Handle(), &origin);
    EXPECT_EQ(origin.x - window.left, border);
    EXPECT_EQ(origin.y - window.top, border + caption);
    EXPECT_EQ(HitAt(40, border + caption / 2), HTCAPTION);
    EXPECT_EQ(HitAt(150, 100), HTCLIENT);
    EXPECT_EQ(HitAt(299, 199), HTBOTTOMRIGHT);
    EXPECT_EQ(HitAt(0, 100), HTLEFT);
    EXPECT_EQ(HitAt(150, 199), HTBOTTOM);
    EXPECT_EQ(HitAt(500, 500), HTNOWHERE);
    EXPECT_EQ(ButtonCodes().size(), 2u); // close and roll-up
    EXPECT_TRUE(ButtonCodes().count(HTCLOSE));

    form->SetBorderStyle(TBorderStyle::Single);
    EXPECT_EQ(HitAt(0, 100), HTBORDER);
    EXPECT_EQ(HitAt(40, border + caption / 2), HTCAPTION);

    // A dialog has no roll-up; without a system menu there is no close button.
    form->SetBorderStyle(TBorderStyle::Dialog);
    EXPECT_EQ(ButtonCodes(), (std::set<LRESULT>{HTCLOSE}));
    form->SetBorderIcons({false, false, false});
    EXPECT_TRUE(ButtonCodes().empty());
}

TEST_F(FormFrameTest, RollUpShrinksToTheCaptionAndBack) {
    form->SetBorderIcons({false, false, false});
    POINT rollUp{};
    std::set<LRESULT> codes = ButtonCodes(&rollUp);
    ASSERT_EQ(codes.size(), 1u);
    LRESULT code = *codes.begin();

    ClickAt(rollUp, code);
    EXPECT_EQ(form->Height(), 2 * border + caption);
    RECT client;
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.bottom, 0);
    EXPECT_EQ(form->Width(), 300);
    // Rolled up, the form cannot be sized upwards or downwards.
    EXPECT_NE(HitAt(150, 2 * border + caption - 1), HTBOTTOM);

    ClickAt(rollUp, code);
    EXPECT_EQ(form->Height(), 200);
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(client.bottom, 200 - 2 * border - caption);

    // Released away from the button, a press does nothing.
    RECT window;
    GetWindowRect(form->Handle(), &window);
    SendMessageA(form->Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(code),
                 MAKELPARAM(window.left + rollUp.x, window.top + rollUp.y));
    SendMessageA(form->Handle(), WM_NCLBUTTONUP, HTCAPTION,
                 MAKELPARAM(window.left + 40, window.top + border + 1));
    EXPECT_EQ(form->Height(), 200);
}

TEST_F(FormFrameTest, CloseButtonClosesTheForm) {
    bool closed = false;
    form->OnClose = [&](TForm&, TCloseAction&) { closed = true; };
    int y = border + caption / 2;
    int x = 300 - border - 1;
    while (x > border && HitAt(x, y) != HTCLOSE)
        --x;
    ASSERT_EQ(HitAt(x, y), HTCLOSE);
    ClickAt({x, y}, HTCLOSE);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST_F(FormFrameTest, PaintingTheFrameKeepsToTheFrame) {
    // Paint the client area in a colour of its own, then have the frame painted
    // as active and inactive: the client must keep its colour.
    form->SetColor(RGB(1, 2, 3));
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    SendMessageA(form->Handle(), WM_NCACTIVATE, FALSE, 0);
    SendMessageA(form->Handle(), WM_NCACTIVATE, TRUE, 0);
    SetWindowTextA(form->Handle(), "Skinned");
    PumpMessagesFor(50);
    EXPECT_EQ(form->Caption(), "Skinned");
    HDC dc = GetWindowDC(form->Handle());
    COLORREF inside = GetPixel(dc, border + 5, border + caption + 5);
    ReleaseDC(form->Handle(), dc);
    EXPECT_EQ(inside, RGB(1, 2, 3));
}

} // namespace

// The frame moves and sizes the form itself with the mouse captured, without
// the system's move loop.
TEST_F(FormFrameTest, DraggingTheCaptionMovesAndTheBorderSizesTheForm) {
    form->SetBorderStyle(TBorderStyle::Sizeable);
    RECT window;
    GetWindowRect(form->Handle(), &window);
    auto drag = [&](POINT from, LRESULT code, int dx, int dy) {
        SetCursorPos(from.x, from.y);
        SendMessageA(form->Handle(), WM_NCLBUTTONDOWN, static_cast<WPARAM>(code),
                     MAKELPARAM(from.x, from.y));
        EXPECT_EQ(GetCapture(), form->Handle());
        SetCursorPos(from.x + dx / 2, from.y + dy / 2);
        SendMessageA(form->Handle(), WM_MOUSEMOVE, MK_LBUTTON, 0);
        SetCursorPos(from.x + dx, from.y + dy);
        SendMessageA(form->Handle(), WM_LBUTTONUP, 0, 0);
        EXPECT_NE(GetCapture(), form->Handle());
    };
    drag({window.left + 40, window.top + border + caption / 2}, HTCAPTION, 25, 15);
    EXPECT_EQ(form->Left(), 85);
    EXPECT_EQ(form->Top(), 75);
    EXPECT_EQ(form->Width(), 300);

    GetWindowRect(form->Handle(), &window);
    drag({window.right - 1, window.bottom - 1}, HTBOTTOMRIGHT, 30, -20);
    EXPECT_EQ(form->Width(), 330);
    EXPECT_EQ(form->Height(), 180);
    EXPECT_EQ(form->Left(), 85);

    // Moving the pointer once the button is up moves nothing.
    SendMessageA(form->Handle(), WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(form->Left(), 85);
}
