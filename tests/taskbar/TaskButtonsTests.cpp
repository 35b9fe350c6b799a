// Task buttons: who gets one, how the row shares its width and shortens the
// captions, what the window events and a press on a button do.
#include "widgets/SkinButton.h"
#include "widgets/SkinToolBar.h"
#include "taskbar/TaskButtons.h"
#include "taskbar/WindowEventWatcher.h"
#include "tests/support/SkinTestForm.h"
#include "tests/support/TestSupport.h"
#include "tests/taskbar/TaskbarTestSupport.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace taskbartest;

namespace {

class TaskButtonsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form_ = skintest::NewForm("TaskButtonsForm", 600, 40);
        bar_ = NewComponent<TSkinToolBar>(form_);
        bar_->SetBounds(0, 0, 400, 24);
        bar_->SetShowCaptions(true);
        bar_->SetParent(form_);
        buttons_ = std::make_unique<TTaskButtons>(*bar_, skintest::App().Handle());
    }
    void TearDown() override {
        buttons_.reset();
        skintest::App().FreeComponent(form_);
    }

    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (TSkinSpeedButton* button : buttons_->Buttons())
            captions.push_back(button->Caption());
        return captions;
    }

    TForm* form_ = nullptr;
    TSkinToolBar* bar_ = nullptr;
    std::unique_ptr<TTaskButtons> buttons_;
};

} // namespace

TEST_F(TaskButtonsTest, ThreeButtonsShareFourHundredPixels) {
    for (int i = 0; i < 3; ++i)
        buttons_->HookNotify(PoolWindow(i, "W" + std::to_string(i)), kWindowCreated);
    std::vector<int> widths, lefts;
    for (TSkinSpeedButton* button : buttons_->Buttons()) {
        widths.push_back(button->Width());
        lefts.push_back(button->Left());
    }
    EXPECT_EQ(widths, (std::vector<int>{133, 133, 133}));
    EXPECT_EQ(lefts, (std::vector<int>{0, 133, 266}));
    EXPECT_EQ(Captions(), (std::vector<std::string>{"W0", "W1", "W2"}));
}

TEST_F(TaskButtonsTest, SevenButtonsOnAHundredPixelsShowOneCharacterAndDots) {
    bar_->SetWidth(100);
    for (int i = 0; i < 7; ++i)
        buttons_->AddTaskButton(PoolWindow(i, "Window " + std::to_string(i)));
    buttons_->RefreshTaskButtons();
    std::vector<TSkinSpeedButton*> buttons = buttons_->Buttons();
    ASSERT_EQ(buttons.size(), 7u);
    for (TSkinSpeedButton* button : buttons)
        EXPECT_EQ(button->Caption(), "W...");
    EXPECT_EQ(buttons.front()->Width(), 14);
    EXPECT_EQ(buttons.back()->Width(), 100 - 6 * 14 - 1);
}

TEST_F(TaskButtonsTest, LongTitleKeepsTheLongestPrefixThatFits) {
    const std::string title = "A rather long window title that cannot fit on a button of this "
                              "bar, however narrow the font may be";
    buttons_->HookNotify(PoolWindow(0, "  " + title + "\t"), kWindowCreated);
    TSkinSpeedButton* button = buttons_->Buttons().at(0);
    EXPECT_EQ(button->Hint(), title) << "blanks and control characters are trimmed";

    // The same caption as trying every length, measured in the button's font.
    const int room = 399 - 39;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    TCanvas canvas(dc.get());
    canvas.Font = button->Font;
    std::string expected = title.substr(0, 1) + "...";
    for (size_t k = 1; k <= title.size(); ++k)
        if (canvas.TextWidth(title.substr(0, k) + "...") <= room)
            expected = title.substr(0, k) + "...";
    EXPECT_EQ(button->Caption(), expected);
    EXPECT_LT(expected.size(), title.size());
}

TEST(ShortenCaption, CutsBetweenCharacters) {
    // Cyrillic letters take two bytes each: a cut by bytes would end in half a letter.
    const std::string title = "Задача 日本語";
    auto fitsIn = [](size_t bytes) {
        return [bytes](const std::string& text) { return text.size() <= bytes; };
    };
    EXPECT_EQ(ShortenCaption(title, fitsIn(10)), "Зад...");
    EXPECT_EQ(ShortenCaption(title, fitsIn(0)), "З...");
    EXPECT_EQ(ShortenCaption(title, fitsIn(19)), "Задача 日...");
}

TEST_F(TaskButtonsTest, OnlyShownUnownedWindowsOfOtherProgramsGetButtons) {
    HWND hidden = NewHiddenWindow("Hidden");
    buttons_->HookNotify(hidden, kWindowCreated);
    buttons_->HookNotify(hidden, kWindowActivated);
    buttons_->HookNotify(hidden, kWindowRedraw);
    buttons_->HookNotify(skintest::App().Handle(), kWindowCreated);
    buttons_->HookNotify(form_->Handle(), kWindowCreated);
    EXPECT_TRUE(buttons_->Buttons().empty());
    DestroyWindow(hidden);

    // An owned window qualifies only with WS_EX_APPWINDOW.
    HWND owner = PoolWindow(0, "Owner");
    HWND owned = CreateWindowExA(WS_EX_APPWINDOW, "TaskbarTestWindow", "Owned", WS_POPUP, 0, 0, 10,
                                 10, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongA(owned, GWL_STYLE, GetWindowLongA(owned, GWL_STYLE) | WS_VISIBLE);
    buttons_->HookNotify(owned, kWindowCreated);
    EXPECT_EQ(buttons_->Buttons().size(), 1u) << "an app window is shown whatever its owner";
    SetWindowLongA(owned, GWL_STYLE, GetWindowLongA(owned, GWL_STYLE) & ~WS_VISIBLE);
    DestroyWindow(owned);
}

TEST_F(TaskButtonsTest, ActivationPressesOneButtonAndAWindowWithoutOneReleasesAll) {
    HWND first = PoolWindow(0, "First"), second = PoolWindow(1, "Second");
    buttons_->HookNotify(first, kWindowCreated);
    buttons_->HookNotify(second, kWindowCreated);
    buttons_->HookNotify(second, kWindowActivated);
    std::vector<TSkinSpeedButton*> buttons = buttons_->Buttons();
    EXPECT_FALSE(buttons[0]->Down());
    EXPECT_TRUE(buttons[1]->Down());
    EXPECT_TRUE(buttons[1]->Font.Bold);
    EXPECT_EQ(buttons[1]->Font.Color, RGB(136, 136, 68));
    EXPECT_EQ(buttons[0]->Font.Color, RGB(96, 129, 35));
    EXPECT_EQ(buttons_->LastActiveWindow(), second);

    buttons_->HookNotify(form_->Handle(), kWindowActivated);
    EXPECT_FALSE(buttons[0]->Down());
    EXPECT_FALSE(buttons[1]->Down());
    EXPECT_FALSE(buttons[1]->Font.Bold);
    EXPECT_EQ(buttons_->LastActiveWindow(), second);

    // Its button now minimises the window that was last active; the next
    // press restores it; a press on another window's button raises that one.
    buttons_->TaskButtonMouseDown(*buttons[1]);
    EXPECT_TRUE(IsIconic(second));
    buttons_->TaskButtonMouseDown(*buttons[1]);
    EXPECT_FALSE(IsIconic(second));
    SetWindowPos(first, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    buttons_->TaskButtonMouseDown(*buttons[0]);
    bool firstAboveSecond = false;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == first)
            firstAboveSecond = true;
        if (w == first || w == second)
            break;
    }
    EXPECT_TRUE(firstAboveSecond);
}

TEST_F(TaskButtonsTest, DestructionRemovesTheButtonAndADeadWindowGoesAtTheNextActivation) {
    HWND keep = PoolWindow(0, "Keep"), gone = NewShownWindow("Gone");
    buttons_->HookNotify(keep, kWindowCreated);
    buttons_->HookNotify(gone, kWindowCreated);
    buttons_->HookNotify(PoolWindow(1, "No button"), kWindowDestroyed);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Keep", "Gone"}));
    EXPECT_EQ(buttons_->Buttons()[0]->Width(), 199) << "a destruction event still lays out";

    DestroyWindow(gone);
    buttons_->HookNotify(keep, kWindowActivated);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Keep"}));
    buttons_->HookNotify(keep, kWindowDestroyed);
    EXPECT_TRUE(buttons_->Buttons().empty());
}

TEST_F(TaskButtonsTest, AClosedWindowsButtonServesTheNextWindowWithNothingOfTheOld) {
    // Away from the bar: a button under the pointer is not kept.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    HWND old = PoolWindow(0, "Old window");
    buttons_->HookNotify(old, kWindowCreated);
    buttons_->HookNotify(old, kWindowActivated);
    TSkinSpeedButton* first = buttons_->Buttons().at(0);
    UniqueBitmap picture(CreateBitmap(16, 16, 1, 32, nullptr));
    first->SetGlyph(picture.get());
    buttons_->HookNotify(old, kWindowDestroyed);
    EXPECT_TRUE(buttons_->Buttons().empty());

    HWND next = PoolWindow(1, "Next window");
    buttons_->HookNotify(next, kWindowCreated);
    ASSERT_EQ(buttons_->Buttons().size(), 1u);
    TSkinSpeedButton* button = buttons_->Buttons().at(0);
    ASSERT_EQ(button, first) << "the old button's window is used again";
    EXPECT_TRUE(button->Visible() && (GetWindowLongW(button->Handle(), GWL_STYLE) & WS_VISIBLE));
    EXPECT_EQ(TTaskButtons::WindowOf(*button), next);
    EXPECT_EQ(button->Hint(), "Next window");
    EXPECT_EQ(button->Caption(), "Next window");
    EXPECT_FALSE(button->Down());
    EXPECT_FALSE(button->Font.Bold);
    EXPECT_EQ(button->Font.Color, RGB(87, 112, 56));
    EXPECT_EQ(button->Glyph(), nullptr);
}

TEST_F(TaskButtonsTest, EmptyTitleGivesAnEmptyCaptionUntilTheFirstRedraw) {
    HWND window = PoolWindow(0, "");
    buttons_->HookNotify(window, kWindowCreated);
    EXPECT_EQ(Captions(), (std::vector<std::string>{""}));
    buttons_->HookNotify(window, kWindowRedraw);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"???"}));
    SetWindowTextA(window, "Renamed");
    buttons_->HookNotify(window, kWindowRedraw);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Renamed"}));
}

TEST_F(TaskButtonsTest, AWindowReportedByTheWatcherAndTheHookHasOneButton) {
    HWND window = NewHiddenWindow("Reported twice");
    TWindowEventWatcher watcher([&](HWND w, LPARAM code) { buttons_->HookNotify(w, code); },
                                [&] { return buttons_->Windows(); });
    // Shown without being mapped, as the pool's windows are.
    SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) | WS_VISIBLE);
    watcher.Tick();
    // The hook's notice, delivered late, comes after the watcher's scan.
    buttons_->HookNotify(window, kWindowCreated);
    buttons_->AddTaskButton(window);
    watcher.Tick();
    EXPECT_EQ(buttons_->Windows(), std::vector<HWND>{window});
    SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) & ~WS_VISIBLE);
    DestroyWindow(window);
}

TEST_F(TaskButtonsTest, AFlashingWindowsButtonShowsItUntilTheWindowIsActivated) {
    HWND calm = PoolWindow(0, "Calm"), asking = PoolWindow(1, "Asking");
    buttons_->HookNotify(calm, kWindowCreated);
    buttons_->HookNotify(asking, kWindowCreated);
    buttons_->HookNotify(calm, kWindowActivated);
    std::vector<TSkinSpeedButton*> buttons = buttons_->Buttons();
    const COLORREF inactive = buttons[1]->Font.Color;

    // The active window's own flash shows nothing; another's shows until it
    // is activated, also across other activations.
    buttons_->HookNotify(calm, kWindowFlash);
    EXPECT_FALSE(buttons_->Flashing(calm));
    SetWindowTextA(asking, "Asking now");
    buttons_->HookNotify(asking, kWindowFlash);
    EXPECT_TRUE(buttons_->Flashing(asking));
    EXPECT_NE(buttons[1]->Font.Color, inactive);
    EXPECT_EQ(Captions()[1], "Asking now") << "a flash is a redraw too";
    buttons_->HookNotify(form_->Handle(), kWindowActivated);
    EXPECT_NE(buttons[1]->Font.Color, inactive);
    EXPECT_TRUE(buttons_->Flashing(asking));

    buttons_->HookNotify(asking, kWindowActivated);
    EXPECT_FALSE(buttons_->Flashing(asking));
    buttons_->HookNotify(calm, kWindowActivated);
    EXPECT_EQ(buttons[1]->Font.Color, inactive);
}
