// Task buttons show their window's own icon, looked up off the GUI thread: a
// window's answer to WM_GETICON, a new icon after a change, and a hung window
// that gets its button at once.
#include "system/IconLookup.h"
#include "taskbar/TaskButtons.h"
#include "tests/support/SkinTestForm.h"
#include "tests/support/TestSupport.h"
#include "tests/taskbar/TaskbarTestSupport.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinToolBar.h"

#include <gtest/gtest.h>

#include <thread>

using namespace orvane;
using namespace orvane::test;
using namespace taskbartest;

namespace {

// A solid, fully opaque 16 x 16 icon of one colour.
UniqueIcon SolidIcon(COLORREF color) {
    WindowDc screen(nullptr);
    UniqueBitmap image(CreateCompatibleBitmap(screen.get(), 16, 16));
    UniqueBitmap mask(CreateBitmap(16, 16, 1, 1, nullptr));
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    RECT all{0, 0, 16, 16};
    {
        SelectedObject selected(dc.get(), image.get());
        UniqueBrush brush(CreateSolidBrush(color));
        FillRect(dc.get(), &all, brush.get());
    }
    {
        SelectedObject selected(dc.get(), mask.get());
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    ICONINFO info{TRUE, 0, 0, mask.get(), image.get()};
    return UniqueIcon(CreateIconIndirect(&info));
}

COLORREF GlyphCentre(const TSkinSpeedButton* button) {
    if (!button || !button->Glyph())
        return CLR_INVALID;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), button->Glyph());
    return GetPixel(dc.get(), 8, 8);
}

constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kGreen = RGB(0, 200, 0);
constexpr COLORREF kBlue = RGB(0, 0, 230);

class TaskButtonIconTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form_ = skintest::NewForm("TaskButtonIconForm", 600, 40);
        bar_ = NewComponent<TSkinToolBar>(form_);
        bar_->SetBounds(0, 0, 400, 24);
        bar_->SetParent(form_);
        buttons_ = std::make_unique<TTaskButtons>(*bar_, skintest::App().Handle());
    }
    void TearDown() override {
        buttons_.reset();
        skintest::App().FreeComponent(form_);
    }

    bool GlyphBecomes(HWND window, COLORREF colour, bool checkIcons = false) {
        return WaitUntil(
            [&] {
                if (checkIcons)
                    buttons_->CheckIcons();
                return GlyphCentre(buttons_->ButtonOf(window)) == colour;
            },
            5000);
    }

    TForm* form_ = nullptr;
    TSkinToolBar* bar_ = nullptr;
    std::unique_ptr<TTaskButtons> buttons_;
};

} // namespace

TEST_F(TaskButtonIconTest, WindowGetsItsOwnIconAndEachNewOne) {
    const size_t iconsBefore = LiveSharedIcons();
    HWND window = PoolWindow(0, "Own icon");
    UniqueIcon red = SolidIcon(kRed), green = SolidIcon(kGreen), blue = SolidIcon(kBlue);
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(red.get()));

    buttons_->HookNotify(window, kWindowCreated);
    ASSERT_NE(buttons_->ButtonOf(window), nullptr);
    EXPECT_NE(GlyphCentre(buttons_->ButtonOf(window)), kRed) << "the type icon comes first";
    EXPECT_TRUE(GlyphBecomes(window, kRed));

    // A redraw notice brings the changed icon.
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(green.get()));
    buttons_->HookNotify(window, kWindowRedraw);
    EXPECT_TRUE(GlyphBecomes(window, kGreen));

    // Without a notice (Wine sends none for WM_SETICON) the periodic check does.
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(blue.get()));
    EXPECT_TRUE(GlyphBecomes(window, kBlue, true));

    buttons_->HookNotify(window, kWindowDestroyed);
    EXPECT_EQ(buttons_->ButtonOf(window), nullptr);
    EXPECT_EQ(LiveSharedIcons(), iconsBefore) << "no icon copied for the button outlives it";
    SendMessageW(window, WM_SETICON, ICON_SMALL, 0);
}

TEST_F(TaskButtonIconTest, HungWindowGetsItsButtonAtOnceAndItsClassIconLater) {
    UniqueIcon blue = SolidIcon(kBlue);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = blue.get();
    windowClass.hIconSm = blue.get();
    windowClass.lpszClassName = L"HungIconWindow";
    RegisterClassExW(&windowClass);

    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND window = nullptr;
    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread hung([&] {
        HWND own = CreateWindowExW(WS_EX_APPWINDOW, L"HungIconWindow", L"Hung", WS_POPUP, 0, 0, 50,
                                   50, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        // Visible to IsWindowVisible without being mapped.
        SetWindowLongW(own, GWL_STYLE, GetWindowLongW(own, GWL_STYLE) | WS_VISIBLE);
        window = own;
        SetEvent(made);
        // Never reads its messages until released.
        WaitForSingleObject(release, 20000);
        DestroyWindow(own);
    });
    WaitForSingleObject(made, 5000);
    ASSERT_NE(window, nullptr);

    const ULONGLONG start = GetTickCount64();
    buttons_->HookNotify(window, kWindowCreated);
    EXPECT_LT(GetTickCount64() - start, 150u) << "the button waits for no answer";
    ASSERT_NE(buttons_->ButtonOf(window), nullptr);
    EXPECT_NE(GlyphCentre(buttons_->ButtonOf(window)), kBlue);
    EXPECT_TRUE(GlyphBecomes(window, kBlue)) << "the class icon once WM_GETICON timed out";

    SetEvent(release);
    hung.join();
    buttons_->HookNotify(window, kWindowDestroyed);
    CloseHandle(release);
    CloseHandle(made);
    UnregisterClassW(L"HungIconWindow", GetModuleHandleW(nullptr));
}
