#include "base/ShellError.h"
#include "widgets/Menu.h"
#include "widgets/MenuPaint.h"
#include "paint/Skin.h"
#include "tests/widgets/menu/MenuDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace orvane {
namespace {

using test::Center;
using test::DrawLog;
using test::DrawnItem;
using test::MenuDriver;

constexpr int kX = 200, kY = 150;

class PopupMenuTest : public ::testing::Test {
  protected:
    PopupMenuTest() : menu_(NewComponent<TSkinPopupMenu>(&root_)) {}

    // An item painted through the draw callback, so the test sees every rectangle.
    TMenuItem* AddItem(TMenuItem& parent, const std::string& caption) {
        auto* item = NewComponent<TMenuItem>(menu_);
        item->Caption = caption;
        item->OnDrawItem = [this](TMenuItem& drawn, TCanvas& canvas, RECT rect, bool selected) {
            TSkinPopupMenu::PaintItem(drawn, canvas, rect, selected);
            HWND window = WindowFromDC(canvas.Handle());
            RECT screen = rect;
            MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&screen), 2);
            log_.Add({drawn.Caption, rect, screen, selected, window});
        };
        parent.Add(item);
        return item;
    }

    // A folder that is listed by its own click action, as the start panel does.
    TMenuItem* AddFolder(TMenuItem& parent, const std::string& caption) {
        TMenuItem* folder = AddItem(parent, caption);
        AddItem(*folder, ""); // placeholder: shows the submenu until filled
        folder->OnClick = [this](TComponent& sender) {
            auto& item = static_cast<TMenuItem&>(sender);
            folderClicks_++;
            windowsAtFolderClick_ = static_cast<int>(CountMenuWindows());
            if (item.Count() == 1 && item.Items(0)->Caption.empty()) {
                item.Delete(0);
                TMenuItem* child = AddItem(item, "Child & A");
                child->OnClick = [this](TComponent&) {
                    childClicks_++;
                    trackingAtChildClick_ = menu_->Tracking();
                };
                AddItem(item, "Child B");
            }
        };
        return folder;
    }

    // Opens the menu at (kX, kY) while `script` plays the user on its own thread.
    void Run(std::function<void(MenuDriver&)> script) {
        MenuDriver driver(std::move(script));
        menu_->Popup(kX, kY);
    }

    static size_t CountMenuWindows() { return test::MenuWindowsOf(GetCurrentThreadId()).size(); }

    TComponent root_{nullptr};
    TSkinPopupMenu* menu_;
    DrawLog log_;
    std::atomic<int> folderClicks_ = 0, childClicks_ = 0;
    std::atomic<int> windowsAtFolderClick_ = -1;
    std::atomic<bool> trackingAtChildClick_ = true;
};

TEST_F(PopupMenuTest, LeafChosenByKeyboardRunsItsClickOnceAfterTheMenuClosed) {
    TMenuItem* first = AddItem(menu_->Items(), "&Open");
    AddItem(menu_->Items(), "Close");
    int clicks = 0;
    bool trackingAtClick = true;
    first->OnClick = [&](TComponent&) {
        ++clicks;
        trackingAtClick = menu_->Tracking();
    };
    bool popupRan = false;
    menu_->OnPopup = [&](TComponent&) { popupRan = true; };
    Run([&](MenuDriver& d) {
        ASSERT_TRUE(d.WaitForWindows(1, 5000));
        d.Key(VK_DOWN);
        DrawnItem hot{};
        ASSERT_TRUE(log_.WaitFor("&Open", 2000, &hot));
        d.Sleep(200);
        d.Key(VK_RETURN);
    });
    EXPECT_TRUE(popupRan);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(trackingAtClick);
    EXPECT_EQ(CountMenuWindows(), 0u);
}

TEST_F(PopupMenuTest, EscapeOrAClickOutsideClosesWithoutAnyClick) {
    int clicks = 0;
    TMenuItem* item = AddItem(menu_->Items(), "One");
    item->OnClick = [&](TComponent&) { ++clicks; };
    AddFolder(menu_->Items(), "Folder");
    Run([&](MenuDriver& d) {
        ASSERT_TRUE(d.WaitForWindows(1, 5000));
        d.Key(VK_DOWN);
        d.Sleep(200);
        d.Key(VK_ESCAPE);
        EXPECT_TRUE(d.WaitForWindows(0, 3000));
    });
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(folderClicks_, 0);
    EXPECT_FALSE(menu_->Tracking());
    Run([&](MenuDriver& d) {
        ASSERT_TRUE(d.WaitForWindows(1, 5000));
        d.ClickAt({5, 5});
        EXPECT_TRUE(d.WaitForWindows(0, 3000));
    });
    EXPECT_EQ(clicks, 0);
}

TEST_F(PopupMenuTest, OpeningBySubmenuKeyRunsTheActionFirstAndShowsWhatItAdded) {
    AddItem(menu_->Items(), "Leaf");
    AddFolder(menu_->Items(), "Folder");
    DrawnItem child{};
    Run([&](MenuDriver& d) {
        ASSERT_TRUE(d.WaitForWindows(1, 5000));
        d.Key(VK_DOWN);
        d.Key(VK_DOWN);
        d.Sleep(200);
        d.Key(VK_RIGHT);
        ASSERT_TRUE(d.WaitForWindows(2, 3000));
        ASSERT_TRUE(log_.WaitFor("Child & A", 2000, &child));
        d.Sleep(200);
        d.Key(VK_RETURN);
    });
    EXPECT_EQ(folderClicks_, 1);
    // Only the first level was on the screen while the action ran.
    EXPECT_EQ(windowsAtFolderClick_, 1);
    DrawnItem folder{};
    ASSERT_TRUE(log_.Find("Folder", folder));
    EXPECT_NE(child.window, folder.window);
    EXPECT_EQ(childClicks_, 1);
    EXPECT_FALSE(trackingAtChildClick_);
}

TEST_F(PopupMenuTest, Resting500msOnAFolderRunsItsActionAndTheAddedItemCanBeClicked) {
    AddItem(menu_->Items(), "Leaf");
    AddFolder(menu_->Items(), "Folder");
    int afterRest = -1;
    Run([&](MenuDriver& d) {
        ASSERT_TRUE(d.WaitForWindows(1, 5000));
        DrawnItem folder{};
        ASSERT_TRUE(log_.WaitFor("Folder", 2000, &folder));
        d.MoveTo(Center(folder.screen));
        d.Sleep(600);
        afterRest = folderClicks_;
        ASSERT_TRUE(d.WaitForWindows(2, 2000));
        DrawnItem child{};
        ASSERT_TRUE(log_.WaitFor("Child & A", 2000, &child));
        d.MoveTo(Center(child.screen));
        d.Sleep(100);
        d.ClickAt(Center(child.screen));
        EXPECT_TRUE(d.WaitForWindows(0, 3000));
    });
    EXPECT_EQ(afterRest, 1);
    EXPECT_EQ(folderClicks_, 1);
    EXPECT_EQ(windowsAtFolderClick_, 1);
    EXPECT_EQ(childClicks_, 1);
    EXPECT_FALSE(trackingAtChildClick_);
}

TEST_F(PopupMenuTest, DrawCallbackGetsStackedRectanglesCaptionsAsSetAndTheHotItem) {
    const std::vector<std::string> captions{"&Programs", "-", "Save && Exit", "Tab\tStop", "Last"};
    for (const auto& caption : captions)
        AddItem(menu_->Items(), caption);
    std::vector<DrawnItem> firstPaint;
    DrawnItem hot{};
    Run([&](MenuDriver& d) {
        ASSERT_TRUE(d.WaitForWindows(1, 5000));
        ASSERT_TRUE(log_.WaitFor("Last", 2000));
        d.Sleep(200);
        firstPaint = log_.Items();
        log_.Clear();
        d.Key(VK_DOWN);
        ASSERT_TRUE(log_.WaitFor("&Programs", 2000));
        d.Sleep(200);
        log_.Find("&Programs", hot);
        d.Key(VK_ESCAPE);
    });
    ASSERT_GE(firstPaint.size(), captions.size());
    std::vector<DrawnItem> order(firstPaint.begin(), firstPaint.begin() + 5);
    for (size_t i = 0; i < captions.size(); ++i) {
        SCOPED_TRACE(captions[i]);
        EXPECT_EQ(order[i].caption, captions[i]);
        EXPECT_LT(order[i].rect.left, order[i].rect.right);
        EXPECT_LT(order[i].rect.top, order[i].rect.bottom);
        EXPECT_FALSE(order[i].selected);
        if (i > 0) {
            EXPECT_GE(order[i].rect.top, order[i - 1].rect.bottom);
            EXPECT_EQ(order[i].rect.left, order[0].rect.left);
        }
    }
    EXPECT_EQ(order[1].rect.bottom - order[1].rect.top, kMenuSeparatorHeight);
    EXPECT_TRUE(hot.selected);
}

TEST_F(PopupMenuTest, ItemsHoldTheirCaptionsInAnyScriptForOtherPrograms) {
    for (const char* caption : {"日本語", "-", "Привет & ελληνικά 📁"})
        AddItem(menu_->Items(), caption);
    std::vector<std::wstring> held;
    Run([&](MenuDriver& d) {
        ASSERT_TRUE(d.WaitForWindows(1, 5000));
        auto menu = reinterpret_cast<HMENU>(SendMessageW(d.Windows()[0], MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[128] = {};
            GetMenuStringW(menu, i, text, 128, MF_BYPOSITION);
            held.push_back(text);
        }
        d.Key(VK_ESCAPE);
    });
    // An '&' is doubled, so that the system takes no key from it.
    EXPECT_EQ(held, (std::vector<std::wstring>{L"日本語", L"", L"Привет && ελληνικά \U0001F4C1"}));
    DrawnItem drawn{};
    EXPECT_TRUE(log_.Find("Привет & ελληνικά 📁", drawn));
}

TEST_F(PopupMenuTest, AnErrorInAnActionClosesTheMenuAndReachesTheCaller) {
    AddItem(menu_->Items(), "Leaf");
    TMenuItem* folder = AddItem(menu_->Items(), "Broken");
    AddItem(*folder, "");
    folder->OnClick = [](TComponent&) { throw ShellError("no such folder"); };
    EXPECT_THROW(Run([&](MenuDriver& d) {
                     ASSERT_TRUE(d.WaitForWindows(1, 5000));
                     d.Key(VK_DOWN);
                     d.Key(VK_DOWN);
                     d.Sleep(200);
                     d.Key(VK_RIGHT);
                     EXPECT_TRUE(d.WaitForWindows(0, 3000));
                 }),
                 ShellError);
    EXPECT_FALSE(menu_->Tracking());
}

} // namespace
} // namespace orvane
