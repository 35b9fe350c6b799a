#include "system/TaskWindows.h"
#include "base/Win32Handles.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

const char* TestWindowClass() {
    static const char* name = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OrvaneTaskWindowTest";
        RegisterClassA(&windowClass);
        return windowClass.lpszClassName;
    }();
    return name;
}

UniqueWindow MakeWindow(DWORD exStyle, DWORD style, HWND parent = nullptr,
                        const char* title = "Task window test") {
    HWND window = CreateWindowExA(exStyle, TestWindowClass(), title, style, 20, 20, 160, 90, parent,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    return UniqueWindow(window);
}

constexpr DWORD kVisible = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
constexpr DWORD kHidden = WS_OVERLAPPEDWINDOW;

TEST(IsTaskWindow, OnlyShownTopLevelWindowsThatExist) {
    auto window = MakeWindow(0, kVisible);
    EXPECT_TRUE(IsTaskWindow(window.get()));
    auto hidden = MakeWindow(0, kHidden);
    EXPECT_FALSE(IsTaskWindow(hidden.get()));
    auto tool = MakeWindow(WS_EX_TOOLWINDOW, kVisible);
    EXPECT_FALSE(IsTaskWindow(tool.get()));
    auto child = MakeWindow(0, WS_CHILD | WS_VISIBLE, window.get());
    EXPECT_FALSE(IsTaskWindow(child.get()));
    // Visible style, but its owner is hidden: IsWindowVisible is what counts.
    auto childOfHidden = MakeWindow(0, WS_CHILD | WS_VISIBLE, hidden.get());
    EXPECT_FALSE(IsTaskWindow(childOfHidden.get()));
    EXPECT_FALSE(IsTaskWindow(nullptr));
    HWND gone = MakeWindow(0, kVisible).get();
    EXPECT_FALSE(IsTaskWindow(gone));
}

TEST(IsTaskWindow, UserDataMarkKeepsAWindowOff) {
    auto window = MakeWindow(0, kVisible);
    SetWindowLongPtrA(window.get(), GWLP_USERDATA, kNoTaskButtonMark);
    EXPECT_FALSE(IsTaskWindow(window.get()));
    SetWindowLongPtrA(window.get(), GWLP_USERDATA, 0x7FFFFFFE);
    EXPECT_TRUE(IsTaskWindow(window.get()));
}

TEST(IsTaskWindow, OwnedWindowsNeedTheAppWindowStyleAndAHiddenOwner) {
    auto shownOwner = MakeWindow(0, kVisible);
    auto ownedByShown = MakeWindow(WS_EX_APPWINDOW, kVisible, shownOwner.get());
    ASSERT_EQ(GetWindow(ownedByShown.get(), GW_OWNER), shownOwner.get());
    EXPECT_TRUE(IsTaskWindow(shownOwner.get()));
    EXPECT_FALSE(IsTaskWindow(ownedByShown.get()));

    auto owner = MakeWindow(0, kHidden);
    auto owned = MakeWindow(WS_EX_APPWINDOW, kVisible, owner.get());
    ASSERT_EQ(GetWindow(owned.get(), GW_OWNER), owner.get());
    EXPECT_TRUE(IsTaskWindow(owned.get()));
    // The owner's own mark decides nothing about the owned window.
    SetWindowLongPtrA(owned.get(), GWLP_USERDATA, kNoTaskButtonMark);
    EXPECT_FALSE(IsTaskWindow(owned.get()));

    auto plainOwned = MakeWindow(0, kVisible, owner.get());
    ASSERT_EQ(GetWindow(plainOwned.get(), GW_OWNER), owner.get());
    EXPECT_FALSE(IsTaskWindow(plainOwned.get()));

    // GetParent reports the owner of a pop-up, which rules it out.
    auto popup = MakeWindow(WS_EX_APPWINDOW, WS_POPUP | WS_CAPTION | WS_VISIBLE, owner.get());
    ASSERT_EQ(GetParent(popup.get()), owner.get());
    EXPECT_FALSE(IsTaskWindow(popup.get()));
}

TEST(GetWindowCaption, TitleOrQuestionMarks) {
    auto titled = MakeWindow(0, kHidden, nullptr, "Orvane Shell - Editor");
    EXPECT_EQ(GetWindowCaption(titled.get()), "Orvane Shell - Editor");
    auto untitled = MakeWindow(0, kHidden, nullptr, "");
    EXPECT_EQ(GetWindowCaption(untitled.get()), "???");
    SetWindowTextA(titled.get(), "X");
    EXPECT_EQ(GetWindowCaption(titled.get()), "X");
    EXPECT_EQ(GetWindowCaption(nullptr), "???");
}

} // namespace
} // namespace orvane
