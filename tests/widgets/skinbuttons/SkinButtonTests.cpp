// Skinned buttons: latching in groups, clicks, what other processes can ask of
// a button, and where the glyph lands.
#include "paint/Skin.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinPanel.h"
#include "tests/support/SkinTestForm.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>

using namespace orvane;
using skintest::App;
using skintest::ClickAt;

namespace {

TSkinSpeedButton* AddSpeedButton(TControl* parent, const char* name, int left, int group) {
    auto* button = NewComponent<TSkinSpeedButton>(parent);
    button->SetName(name);
    button->SetBounds(left, 0, 40, 20);
    button->SetGroupIndex(group);
    button->SetParent(parent);
    return button;
}

std::array<bool, 3> DownStates(const std::array<TSkinSpeedButton*, 3>& buttons) {
    return {buttons[0]->Down(), buttons[1]->Down(), buttons[2]->Down()};
}

} // namespace

TEST(SkinSpeedButton, AGroupHoldsAtMostOneButtonDown) {
    TForm* form = skintest::NewForm("frmGroup");
    std::array<TSkinSpeedButton*, 3> buttons{AddSpeedButton(form, "sb1", 0, 1),
                                             AddSpeedButton(form, "sb2", 50, 1),
                                             AddSpeedButton(form, "sb3", 100, 1)};
    using Downs = std::array<bool, 3>;

    ClickAt(buttons[0]->Handle());
    EXPECT_EQ(DownStates(buttons), (Downs{true, false, false}));
    ClickAt(buttons[1]->Handle());
    EXPECT_EQ(DownStates(buttons), (Downs{false, true, false}));
    buttons[2]->SetDown(true);
    EXPECT_EQ(DownStates(buttons), (Downs{false, false, true}));

    // Without AllowAllUp a click leaves the down button down; with it, up.
    ClickAt(buttons[2]->Handle());
    EXPECT_EQ(DownStates(buttons), (Downs{false, false, true}));
    buttons[0]->SetAllowAllUp(true);
    EXPECT_TRUE(buttons[2]->AllowAllUp());
    ClickAt(buttons[2]->Handle());
    EXPECT_EQ(DownStates(buttons), (Downs{false, false, false}));

    // The owner may still let every button up, as when no task is active.
    buttons[1]->SetDown(true);
    buttons[1]->SetDown(false);
    EXPECT_EQ(DownStates(buttons), (Downs{false, false, false}));
    App().FreeComponent(form);
}

TEST(SkinSpeedButton, GroupsAreSeparateByParentAndByIndex) {
    TForm* form = skintest::NewForm("frmGroups");
    auto* panel = NewComponent<TSkinPanel>(form);
    panel->SetBounds(0, 100, 200, 40);
    panel->SetParent(form);
    TSkinSpeedButton* onForm = AddSpeedButton(form, "sbForm", 0, 1);
    TSkinSpeedButton* otherGroup = AddSpeedButton(form, "sbOther", 50, 2);
    TSkinSpeedButton* ungrouped = AddSpeedButton(form, "sbNone", 100, 0);
    TSkinSpeedButton* onPanel = AddSpeedButton(panel, "sbPanel", 0, 1);

    onPanel->SetDown(true);
    otherGroup->SetDown(true);
    ClickAt(onForm->Handle());
    EXPECT_TRUE(onForm->Down());
    EXPECT_TRUE(onPanel->Down());
    EXPECT_TRUE(otherGroup->Down());

    // Outside any group a click does not latch.
    ClickAt(ungrouped->Handle());
    EXPECT_FALSE(ungrouped->Down());
    EXPECT_TRUE(onForm->Down());

    // Joining a group with the button down lets the group's other buttons up.
    otherGroup->SetGroupIndex(1);
    EXPECT_FALSE(onForm->Down());
    EXPECT_TRUE(onPanel->Down());
    App().FreeComponent(form);
}

TEST(SkinButton, ClickNeedsPressAndReleaseInsideAndSetsTheModalResult) {
    TForm* form = skintest::NewForm("frmClick");
    auto* button = NewComponent<TSkinButton>(form);
    button->SetBounds(10, 10, 75, 22);
    button->SetParent(form);
    button->ModalResult = mrOk;
    int clicks = 0;
    button->OnClick = [&](TComponent& sender) {
        EXPECT_EQ(&sender, button);
        ++clicks;
    };

    ClickAt(button->Handle(), 5, 5);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->ModalResult(), mrOk);
    // Released outside: no click.
    SendMessageA(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
    EXPECT_EQ(clicks, 1);
    // A plain button does not latch, even in a group.
    button->SetGroupIndex(3);
    ClickAt(button->Handle());
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(button->Down());
    App().FreeComponent(form);
}

TEST(SkinButton, AnotherProcessReadsTheDownStateAndTheName) {
    TForm* form = skintest::NewForm("frmProbe");
    TSkinSpeedButton* button = AddSpeedButton(form, "bbStart", 0, 1);
    orvane::test::ScratchDir scratch("probe");
    std::string out = scratch / "name.txt";

    auto probe = [&]() -> int {
        auto child = orvane::test::ChildProcess::Start(
            "\"" + orvane::test::BinDir() + "\\skinbuttons_probe.exe\" " +
            std::to_string(reinterpret_cast<uintptr_t>(button->Handle())) + " \"" + out + "\"");
        // The probe's SendMessage is answered while this thread pumps.
        EXPECT_TRUE(orvane::test::WaitUntil([&] { return !child.running(); }, 20000));
        return static_cast<int>(child.wait(1000).value_or(0));
    };

    EXPECT_EQ(probe(), 100 + BST_UNCHECKED);
    EXPECT_EQ(orvane::test::ReadFileText(out), "bbStart");
    button->SetDown(true);
    EXPECT_EQ(probe(), 100 + BST_CHECKED);
    EXPECT_EQ(SendMessageA(button->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    App().FreeComponent(form);
}

TEST(SkinButton, KeepsItsOwnGlyphAndDrawsItAtTheMarginWithoutItsBackground) {
    TForm* form = skintest::NewForm("frmGlyph");
    auto* button = NewComponent<TSkinButton>(form);
    button->SetBounds(0, 0, 60, 24);
    button->SetParent(form);

    // A 16 x 16 glyph: white (the transparent colour, bottom left) with a red
    // 4 x 4 square at 6,6.
    UniqueBitmap glyph;
    {
        WindowDc screen(nullptr);
        glyph.reset(CreateCompatibleBitmap(screen.get(), 16, 16));
        UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
        SelectedObject selected(dc.get(), glyph.get());
        RECT all{0, 0, 16, 16}, square{6, 6, 10, 10};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
        FillRect(dc.get(), &square, red.get());
    }
    button->SetGlyph(glyph.get());
    EXPECT_NE(button->Glyph(), glyph.get());
    glyph.reset(); // the button's copy outlives the original
    button->SetMargin(12);

    skintest::Snapshot shot(*button);
    int top = (24 - 16) / 2;
    EXPECT_EQ(shot.At(12 + 6, top + 6), RGB(255, 0, 0));
    EXPECT_EQ(shot.At(12 + 9, top + 9), RGB(255, 0, 0));
    EXPECT_NE(shot.At(12 + 10, top + 9), RGB(255, 0, 0));
    EXPECT_NE(shot.At(12 + 5, top + 6), RGB(255, 0, 0));
    // The glyph's white shows the button's face instead.
    EXPECT_NE(shot.At(12 + 1, top + 1), RGB(255, 255, 255));

    // Held down, the face sinks: other colours, content one pixel lower right.
    button->SetDown(true);
    skintest::Snapshot down(*button);
    EXPECT_EQ(down.At(12 + 7, top + 7), RGB(255, 0, 0));
    EXPECT_NE(down.At(12 + 6, top + 6), RGB(255, 0, 0));
    EXPECT_NE(down.At(30, 20), shot.At(30, 20));
    App().FreeComponent(form);
}
