// The owner-drawn list: its entries and the window's list stay one, the
// selection, the painting of each entry, hit testing and the notifications.
#include "widgets/ListBox.h"
#include "base/Utf.h"
#include "tests/widgets/lists/ListsFixture.h"

#include <string>
#include <vector>

using namespace orvane;
using orvane::test::App;
using orvane::test::ListsTest;

namespace {

// What the platform holds, read with the wide calls.
std::vector<std::string> WindowTexts(HWND list) {
    std::vector<std::string> texts;
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        texts.push_back(Utf8(text));
    }
    return texts;
}

intptr_t WindowObject(HWND list, int index) {
    return static_cast<intptr_t>(SendMessageA(list, LB_GETITEMDATA, index, 0));
}

int WindowSelection(HWND list) {
    return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
}

struct DrawCall {
    int index;
    RECT rect;
    bool selected;
};

using Texts = std::vector<std::string>;

class ListBoxTest : public ListsTest {
  protected:
    TListBox* MakeList(int itemHeight = 19) {
        auto* list = NewComponent<TListBox>(form_);
        list->SetName("lbProbe");
        list->SetBounds(10, 10, 120, 100);
        list->SetItemHeight(itemHeight);
        return list;
    }
};

} // namespace

TEST_F(ListBoxTest, TheWindowListFollowsEveryChangeOfItems) {
    TListBox* list = MakeList();
    // Entries added before the window exists are there once it is made.
    list->Items().Add("Programs", 11);
    list->Items().Add("Files", 12);
    list->SetParent(form_);
    HWND window = list->Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowTexts(window), (Texts{"Programs", "Files"}));

    list->Items().Add("ヘルプ", 13);
    list->Items().Insert(1, "System", 14);
    EXPECT_EQ(WindowTexts(window), (Texts{"Programs", "System", "Files", "ヘルプ"}));
    EXPECT_EQ(WindowObject(window, 1), 14);
    EXPECT_EQ(WindowObject(window, 3), 13);

    list->Items().Delete(0);
    list->Items().SetObject(0, 99); // reaches the window with the next change
    list->Items().Set(2, "Группы ελληνικά 📁");
    EXPECT_EQ(WindowTexts(window), (Texts{"System", "Files", "Группы ελληνικά 📁"}));
    EXPECT_EQ(WindowObject(window, 0), 99);
    EXPECT_EQ(WindowObject(window, 2), 13);

    // The language files reach the entries through the published property.
    const TProperty* items = list->FindProperty("Items");
    ASSERT_NE(items, nullptr);
    items->List()->Set(1, "  Files");
    EXPECT_EQ(WindowTexts(window)[1], "  Files");

    list->Items().Clear();
    EXPECT_EQ(SendMessageA(window, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListBoxTest, ItemIndexIsTheWindowSelectionAndFollowsEntriesMovingUnderIt) {
    TListBox* list = MakeList();
    list->Items().Assign({"a", "b", "c", "d"});
    list->SetItemIndex(2); // before the window: applied when it is made
    list->SetParent(form_);
    HWND window = list->Handle();
    EXPECT_EQ(WindowSelection(window), 2);

    SendMessageA(window, LB_SETCURSEL, 3, 0);
    EXPECT_EQ(list->ItemIndex(), 3);

    // Removing an entry above the selection moves the selection up with its entry.
    list->Items().Delete(0);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->Items()[list->ItemIndex()], "d");
    // Renaming the selected entry keeps it selected.
    list->Items().Set(2, "D");
    EXPECT_EQ(list->ItemIndex(), 2);
    // Removing the selected entry leaves nothing selected.
    list->Items().Delete(2);
    EXPECT_EQ(list->ItemIndex(), -1);

    list->SetItemIndex(1);
    EXPECT_EQ(WindowSelection(window), 1);
    list->SetItemIndex(7);
    EXPECT_EQ(WindowSelection(window), -1);
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ListBoxTest, EachVisibleEntryIsDrawnInItsRowAndReachesTheScreen) {
    TListBox* list = MakeList(19);
    list->SetBounds(10, 10, 120, 19 * 3 + 5); // three whole entries and part of a fourth
    for (int i = 0; i < 6; ++i)
        list->Items().Add("entry " + std::to_string(i), 100 + i);
    std::vector<DrawCall> calls;
    list->OnDrawItem = [&](TListBox& sender, TCanvas& canvas, int index, RECT rect, bool selected,
                           bool) {
        EXPECT_EQ(&sender, list);
        EXPECT_EQ(sender.Items().Object(index), 100 + index);
        calls.push_back({index, rect, selected});
        canvas.Brush.Color = RGB(40 * index, 200, 0);
        canvas.FillRect(rect);
    };
    list->SetParent(form_);
    list->SetItemIndex(1);
    App().ProcessMessages();
    calls.clear();
    PaintNow(*list);

    ASSERT_EQ(calls.size(), 4u);
    int width = list->ClientWidth();
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].index, i);
        EXPECT_EQ(calls[i].rect.top, 19 * i);
        EXPECT_EQ(calls[i].rect.bottom - calls[i].rect.top, 19);
        EXPECT_EQ(calls[i].rect.left, 0);
        EXPECT_EQ(calls[i].rect.right, width);
        EXPECT_EQ(calls[i].selected, i == 1);
    }

    // What each handler painted shows in that entry's row of the list.
    HDC dc = GetDC(list->Handle());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(GetPixel(dc, 5, 19 * i + 9), RGB(40 * i, 200, 0)) << "entry " << i;
    ReleaseDC(list->Handle(), dc);

    // Scrolled by two, the first row shows entry 2.
    SendMessageA(list->Handle(), LB_SETTOPINDEX, 2, 0);
    calls.clear();
    PaintNow(*list);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().index, 2);
    EXPECT_EQ(calls.front().rect.top, 0);
}

TEST_F(ListBoxTest, HeightPointsAndClicksFindTheirEntries) {
    TListBox* list = MakeList(19);
    list->Items().Assign({"a", "b", "c"});
    list->SetParent(form_);
    HWND window = list->Handle();
    EXPECT_EQ(SendMessageA(window, LB_GETITEMHEIGHT, 0, 0), 19);

    // The parent passes the list's measuring question on to it.
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_LISTBOX;
    measure.CtlID = static_cast<UINT>(GetDlgCtrlID(window));
    SendMessageA(form_->Handle(), WM_MEASUREITEM, measure.CtlID,
                 reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(measure.itemHeight, 19u);

    list->SetItemHeight(24);
    EXPECT_EQ(SendMessageA(window, LB_GETITEMHEIGHT, 0, 0), 24);
    EXPECT_EQ(list->ItemAtPos({5, 3}), 0);
    EXPECT_EQ(list->ItemAtPos({5, 24 * 2 + 1}), 2);
    EXPECT_EQ(list->ItemAtPos({5, 24 * 3 + 1}), -1); // below the last entry
    EXPECT_EQ(list->ItemAtPos({-3, 3}), -1);
    RECT second = list->ItemRect(1);
    EXPECT_EQ(second.top, 24);
    EXPECT_EQ(second.bottom, 48);
    int clicks = 0, doubleClicks = 0, clickedIndex = -2;
    list->OnClick = [&](TComponent&) {
        ++clicks;
        clickedIndex = list->ItemIndex();
    };
    list->OnDblClick = [&](TComponent&) { ++doubleClicks; };
    LPARAM onSecond = MAKELPARAM(10, 24 + 5);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, onSecond);
    SendMessageA(window, WM_LBUTTONUP, 0, onSecond);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(clickedIndex, 1);
    EXPECT_EQ(doubleClicks, 0);

    SendMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, onSecond);
    SendMessageA(window, WM_LBUTTONUP, 0, onSecond);
    EXPECT_EQ(doubleClicks, 1);
}
