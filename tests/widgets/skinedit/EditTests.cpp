// Edit boxes: Text follows the window whichever way the text changes, and the
// limits the box is given hold for typing.
#include "widgets/Edit.h"
#include "base/Utf.h"
#include "paint/Skin.h"
#include "tests/widgets/skinedit/SkinEditFixture.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

using EditTest = SkinEditTest;

TEST_F(EditTest, KindsShareTheEditBaseAndTheSkinnedBorderTakesItsShare) {
    auto* plain = NewComponent<TEdit>(form);
    auto* skinned = NewComponent<TSkinEdit>(form);
    EXPECT_TRUE(plain->Is<TCustomEdit>());
    EXPECT_TRUE(skinned->InheritsFrom("TCustomEdit"));
    EXPECT_FALSE(skinned->InheritsFrom("TEdit"));
    skinned->SetBounds(10, 10, 120, 20);
    skinned->SetParent(form);
    char name[64] = {};
    GetClassNameA(skinned->Handle(), name, sizeof name);
    EXPECT_STREQ(name, "TSkinEdit");
    RECT client;
    GetClientRect(skinned->Handle(), &client);
    // The skin's border and a pixel of margin inside it.
    int frame = CurrentSkin().Element("edit").borderWidth + 1;
    EXPECT_EQ(client.right, 120 - 2 * frame);
    EXPECT_EQ(client.bottom, 20 - 2 * frame);
}

TEST_F(EditTest, TextFollowsTypingAndCode) {
    auto* edit = NewComponent<TSkinEdit>(form);
    edit->SetText("ab");
    int changes = 0;
    edit->OnChange = [&](TComponent&) { ++changes; };
    edit->SetParent(form);
    EXPECT_EQ(WindowText(edit->Handle()), "ab");

    SendMessageA(edit->Handle(), EM_SETSEL, 2, 2);
    TypeText(edit->Handle(), "cd");
    EXPECT_EQ(edit->Text(), "abcd");
    EXPECT_EQ(changes, 2);

    SendMessageA(edit->Handle(), EM_SETSEL, 0, 1);
    SendMessageA(edit->Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("XY"));
    EXPECT_EQ(edit->Text(), "XYbcd");

    edit->SetText("new folder");
    EXPECT_EQ(WindowText(edit->Handle()), "new folder");
    EXPECT_EQ(edit->Text(), "new folder");

    edit->SelectAll();
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 10);
    TypeChar(edit->Handle(), 'z');
    EXPECT_EQ(edit->Text(), "z");
}

TEST_F(EditTest, LimitsHoldForTyping) {
    auto* edit = NewComponent<TEdit>(form);
    edit->SetParent(form);
    edit->SetMaxLength(3);
    TypeText(edit->Handle(), "abcdef");
    EXPECT_EQ(edit->Text(), "abc");

    edit->SetReadOnly(true);
    EXPECT_TRUE(GetWindowLongA(edit->Handle(), GWL_STYLE) & ES_READONLY);
    SendMessageA(edit->Handle(), EM_SETSEL, 0, -1);
    TypeChar(edit->Handle(), 'q');
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_EQ(edit->FindProperty("MaxLength")->GetOrdinal(), 3);
}

} // namespace

namespace {

std::wstring PlatformText(HWND window) {
    wchar_t text[256] = {};
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(EditTest, TextInAnyScriptIsTypedAndKeptWhole) {
    auto* edit = NewComponent<TSkinEdit>(form);
    edit->SetParent(form);
    edit->SetText("日本語 ");
    EXPECT_EQ(PlatformText(edit->Handle()), L"日本語 ");
    SendMessageW(edit->Handle(), EM_SETSEL, 4, 4);
    int presses = 0;
    edit->OnKeyPress = [&](TComponent&, char&) { ++presses; };
    TypeWide(edit->Handle(), L"Привет \U0001F4C1");
    EXPECT_EQ(edit->Text(), "日本語 Привет 📁");
    EXPECT_EQ(PlatformText(edit->Handle()), L"日本語 Привет \U0001F4C1");
    EXPECT_EQ(presses, 8);

    // The selection counts the bytes of Text().
    edit->SetSelection(10, 12);
    EXPECT_EQ(edit->SelStart(), 10);
    EXPECT_EQ(edit->SelLength(), 12);
    EXPECT_EQ(EditSelection(edit->Handle()), std::make_pair(DWORD{4}, DWORD{10}));

    // A character that only half fits the limit stays out whole.
    edit->SetText("ελλ");
    edit->SetMaxLength(4);
    SendMessageW(edit->Handle(), EM_SETSEL, 3, 3);
    TypeWide(edit->Handle(), L"\U0001F4C1");
    EXPECT_EQ(PlatformText(edit->Handle()), L"ελλ");
    edit->SetMaxLength(5);
    TypeWide(edit->Handle(), L"\U0001F4C1");
    EXPECT_EQ(edit->Text(), "ελλ📁");
}

} // namespace
