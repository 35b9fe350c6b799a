// Combo boxes: the list in Items and the window's list stay the same, typed
// text is completed from the list, and the run box's way of refilling and
// dropping the list while a key is typed keeps what was typed.
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "base/Utf.h"
#include "tests/widgets/skinedit/SkinEditFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvane;
using namespace orvane::test;

namespace {

using ComboBoxTest = SkinEditTest;

std::vector<std::string> WindowItems(HWND combo) {
    std::vector<std::string> items;
    int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

std::vector<std::wstring> WideWindowItems(HWND combo) {
    std::vector<std::wstring> items;
    int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

TSkinComboBox* RunBox(TForm* form) {
    auto* box = NewComponent<TSkinComboBox>(form);
    box->SetBounds(10, 10, 200, 21);
    box->Items().SetCommaText("notepad,calc,cmd");
    box->SetParent(form);
    return box;
}

TEST_F(ComboBoxTest, ItemsAndWindowListStayTheSame) {
    auto* box = NewComponent<TComboBox>(form);
    box->Items().Add("notepad"); // before the window exists
    box->SetParent(form);
    HWND window = box->Handle();
    box->Items().Add("calc");
    box->Items().Add("cmd");
    EXPECT_EQ(WindowItems(window), (std::vector<std::string>{"notepad", "calc", "cmd"}));

    SendMessageA(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("mspaint"));
    EXPECT_EQ(box->Items().Lines(),
              (std::vector<std::string>{"notepad", "calc", "cmd", "mspaint"}));
    SendMessageA(window, CB_DELETESTRING, 0, 0);
    EXPECT_EQ(box->Items().Lines(), (std::vector<std::string>{"calc", "cmd", "mspaint"}));

    box->SetItemIndex(1);
    EXPECT_EQ(SendMessageA(window, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(box->Text(), "cmd");
    EXPECT_EQ(WindowText(window), "cmd");
    box->Items().Add("write"); // adding keeps the selection
    EXPECT_EQ(box->ItemIndex(), 1);

    box->SetText("typed");
    EXPECT_EQ(WindowText(window), "typed");
    box->Items().Clear();
    EXPECT_EQ(SendMessageA(window, CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(box->Text(), "typed"); // emptying the list leaves the text

    box->Items().SetCommaText("a,b");
    SendMessageA(window, CB_RESETCONTENT, 0, 0);
    EXPECT_EQ(box->Items().Count(), 0);
    EXPECT_EQ(box->FindProperty("Items")->List(), &box->Items());
}

TEST_F(ComboBoxTest, ListOnlyBoxShowsOnlyItsLines) {
    auto* box = NewComponent<TComboBox>(form);
    box->Items().SetCommaText("hh:mm:ss,\"hh:mm AM/PM\"");
    box->SetStyle(TComboBoxStyle::DropDownList);
    box->SetParent(form);
    EXPECT_TRUE((GetWindowLongA(box->Handle(), GWL_STYLE) & 3) == CBS_DROPDOWNLIST);
    box->SetText("hh:mm AM/PM");
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(box->Text(), "hh:mm AM/PM");
    box->SetText("not a line");
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(box->Text(), "");

    // Turning it editable remakes the window with the same lines.
    box->SetItemIndex(0);
    box->SetStyle(TComboBoxStyle::DropDown);
    EXPECT_TRUE((GetWindowLongA(box->Handle(), GWL_STYLE) & 3) == CBS_DROPDOWN);
    EXPECT_EQ(WindowItems(box->Handle()).size(), 2u);
    EXPECT_EQ(box->Text(), "hh:mm:ss");
    EXPECT_NE(box->EditHandle(), nullptr);
}

TEST_F(ComboBoxTest, TypingCompletesFromTheList) {
    auto* box = RunBox(form);
    int changes = 0;
    box->OnChange = [&](TComponent&) { ++changes; };
    HWND edit = box->EditHandle();
    ASSERT_NE(edit, nullptr);
    TypeText(edit, "no");
    EXPECT_EQ(box->Text(), "notepad");
    EXPECT_EQ(EditSelection(edit), std::make_pair(DWORD{2}, DWORD{7}));
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_GE(changes, 2);

    // A key that matches nothing replaces the completed part.
    TypeChar(edit, 'x');
    EXPECT_EQ(box->Text(), "nox");

    // Completion only happens at the end of the text.
    box->SetText("cm");
    SendMessageA(edit, EM_SETSEL, 0, 0);
    TypeChar(edit, 'c');
    EXPECT_EQ(box->Text(), "ccm");

    box->SetAutoComplete(false);
    box->SetText("");
    TypeChar(edit, 'c');
    EXPECT_EQ(box->Text(), "c");
}

TEST_F(ComboBoxTest, KeysTypedIntoTheFieldReachOnKeyPress) {
    auto* box = RunBox(form);
    box->SetAutoComplete(false);
    std::string seen;
    box->OnKeyPress = [&](TComponent& sender, char& key) {
        EXPECT_EQ(&sender, box);
        seen += key;
        if (key == '#')
            key = 0; // swallowed
        else if (key == 'a')
            key = 'A';
    };
    TypeText(box->EditHandle(), "a#b\r");
    EXPECT_EQ(seen, "a#b\r");
    EXPECT_EQ(box->Text(), "Ab");
}

TEST_F(ComboBoxTest, DroppingDownFromCode) {
    auto* box = NewComponent<TSkinComboBox>(form);
    box->SetBounds(10, 10, 200, 21);
    box->SetParent(form);
    int dropped = 0;
    box->OnDropDown = [&](TComponent&) { ++dropped; };

    box->SetDroppedDown(true); // nothing to show
    EXPECT_FALSE(box->DroppedDown());
    EXPECT_EQ(dropped, 0);

    box->Items().SetCommaText("calc,cmd");
    box->SetDroppedDown(true);
    EXPECT_TRUE(box->DroppedDown());
    EXPECT_NE(SendMessageA(box->Handle(), CB_GETDROPPEDSTATE, 0, 0), 0);
    EXPECT_EQ(dropped, 1);
    box->SetDroppedDown(false);
    EXPECT_FALSE(box->DroppedDown());
}

TEST_F(ComboBoxTest, RefillingWhileTypingKeepsTheTypedText) {
    auto* box = RunBox(form);
    std::vector<std::string> history{"winver", "calc"};
    box->OnDropDown = [&](TComponent&) { box->Items().Assign(history); };
    box->OnKeyPress = [&](TComponent&, char& key) {
        if (key == '\r')
            return;
        box->Items().Clear();
        box->Items().Assign(history);
        box->SetDroppedDown(true);
    };
    box->SetText("xy");
    SendMessageA(box->EditHandle(), EM_SETSEL, 2, 2);
    TypeChar(box->EditHandle(), 'z');
    EXPECT_EQ(box->Text(), "xyz");
    EXPECT_TRUE(box->DroppedDown());
    EXPECT_EQ(WindowItems(box->Handle()), history);
    box->SetDroppedDown(false);
}

TEST_F(ComboBoxTest, LinesAndTypingInAnyScript) {
    auto* box = RunBox(form);
    box->Items().SetCommaText("日本語,\"Привет мир\",\"📁 ελληνικά\"");
    EXPECT_EQ(WideWindowItems(box->Handle()),
              (std::vector<std::wstring>{L"日本語", L"Привет мир", L"\U0001F4C1 ελληνικά"}));
    SendMessageW(box->Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Ωμέγα"));
    EXPECT_EQ(box->Items()[3], "Ωμέγα");

    // Completion ignores the case of any script and selects in UTF-16 units.
    std::string pressed;
    box->OnKeyPress = [&](TComponent&, char& key) { pressed += key; };
    HWND edit = box->EditHandle();
    TypeWide(edit, L"п");
    EXPECT_EQ(box->Text(), "Привет мир");
    EXPECT_EQ(EditSelection(edit), std::make_pair(DWORD{1}, DWORD{10}));
    box->SetText("");
    TypeWide(edit, L"\U0001F4C1");
    EXPECT_EQ(box->Text(), "📁 ελληνικά");
    EXPECT_EQ(EditSelection(edit), std::make_pair(DWORD{2}, DWORD{11}));
    EXPECT_EQ(pressed, "\xD0\xF0");

    box->SetAutoComplete(false);
    box->SetText("");
    TypeWide(edit, L"\U0001F30D日");
    EXPECT_EQ(box->Text(), "🌍日");
}

} // namespace
