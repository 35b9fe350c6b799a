// Tool bars, panels, status bars and image lists.
#include "widgets/ImageList.h"
#include "paint/Skin.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinPanel.h"
#include "widgets/SkinStatusBar.h"
#include "widgets/SkinToolBar.h"
#include "base/ShellError.h"
#include "tests/support/SkinTestForm.h"

#include <gtest/gtest.h>

using namespace orvane;
using skintest::App;

namespace {

std::vector<int> Lefts(const TSkinToolBar& bar) {
    std::vector<int> lefts;
    for (TControl* control : bar.Controls())
        lefts.push_back(control->Left());
    return lefts;
}

TSkinToolBar* NewBar(TForm* form) {
    auto* bar = NewComponent<TSkinToolBar>(form);
    bar->SetAlign(TAlign::Top);
    bar->SetHeight(26);
    bar->SetParent(form);
    return bar;
}

} // namespace

TEST(SkinToolBar, ButtonsStandLeftToRightInTheOrderTheyJoined) {
    TForm* form = skintest::NewForm("frmBar");
    TSkinToolBar* bar = NewBar(form);
    bar->SetButtonWidth(30);
    bar->SetFlat(true);
    TSkinSpeedButton* first = bar->AddButton("One");
    TSkinSpeedButton* second = bar->AddButton("Two", 1);
    TSkinSpeedButton* third = bar->AddButton("Three");
    EXPECT_EQ(Lefts(*bar), (std::vector<int>{0, 30, 60}));
    EXPECT_EQ(second->Width(), 30);
    EXPECT_EQ(second->ImageIndex(), 1);
    EXPECT_TRUE(third->Flat());
    EXPECT_EQ(first->Owner(), bar);

    // A wider button pushes the later ones along; a button made elsewhere and
    // put on the bar goes to the end.
    first->SetWidth(50);
    EXPECT_EQ(Lefts(*bar), (std::vector<int>{0, 50, 80}));
    auto* joined = NewComponent<TSkinSpeedButton>(form);
    joined->SetBounds(300, 5, 25, 25);
    joined->SetParent(bar);
    EXPECT_EQ(joined->Left(), 110);
    EXPECT_EQ(joined->Top(), 0);
    EXPECT_TRUE(joined->Flat());

    // Gone or hidden buttons leave no gap.
    bar->FreeComponent(second);
    EXPECT_EQ(Lefts(*bar), (std::vector<int>{0, 50, 80}));
    third->Hide();
    EXPECT_EQ(joined->Left(), 50);

    bar->SetButtonWidth(20);
    EXPECT_EQ(first->Width(), 20);
    EXPECT_EQ(joined->Left(), 20);
    App().FreeComponent(form);
}

TEST(SkinToolBar, ButtonsTakeTheHintSettingAndImagesOfTheBar) {
    TForm* form = skintest::NewForm("frmQuick");
    auto* images = NewComponent<TImageList>(form);
    images->AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
    TSkinToolBar* bar = NewBar(form);
    bar->SetImages(images);
    bar->SetShowHints(false);
    auto* button = NewComponent<TSkinSpeedButton>(form);
    button->SetHint("C:\\Quick\\Notepad.lnk");
    button->SetShowHint(true);
    button->SetImageIndex(0);
    button->SetBounds(0, 0, 25, 25);
    button->SetParent(bar);
    EXPECT_FALSE(button->ShowHint());
    EXPECT_EQ(button->Hint(), "C:\\Quick\\Notepad.lnk");

    // With captions off a button shows only its image, so a caption does not
    // change how it looks.
    skintest::Snapshot plain(*button);
    button->SetCaption("Notepad");
    skintest::Snapshot captioned(*button);
    bool same = true;
    for (int y = 0; y < plain.Height(); ++y)
        for (int x = 0; x < plain.Width(); ++x)
            same = same && plain.At(x, y) == captioned.At(x, y);
    EXPECT_TRUE(same);
    bar->SetShowCaptions(true);
    skintest::Snapshot shown(*button);
    bool differs = false;
    for (int y = 0; y < plain.Height(); ++y)
        for (int x = 0; x < plain.Width(); ++x)
            differs = differs || plain.At(x, y) != shown.At(x, y);
    EXPECT_TRUE(differs);
    App().FreeComponent(form);
}

TEST(SkinPanel, BevelsDrawInTheSkinsLightAndShadow) {
    TForm* form = skintest::NewForm("frmPanel");
    auto* panel = NewComponent<TSkinPanel>(form);
    panel->SetBounds(0, 0, 40, 30);
    panel->SetParent(form);
    const TSkinElement& look = CurrentSkin().Element("panel");
    ASSERT_NE(look.light, look.shadow);

    panel->SetBevelOuter(TPanelBevel::Lowered);
    skintest::Snapshot lowered(*panel);
    EXPECT_EQ(lowered.At(0, 0), look.shadow);
    EXPECT_EQ(lowered.At(39, 29), look.light);
    EXPECT_NE(lowered.At(1, 1), look.light);

    panel->SetBevelOuter(TPanelBevel::Frame);
    skintest::Snapshot frame(*panel);
    EXPECT_EQ(frame.At(0, 0), look.shadow);
    EXPECT_EQ(frame.At(1, 1), look.light);
    EXPECT_EQ(frame.At(38, 28), look.shadow);

    panel->SetBevelOuter(TPanelBevel::Raised);
    skintest::Snapshot raised(*panel);
    EXPECT_EQ(raised.At(0, 0), look.light);
    EXPECT_EQ(raised.At(39, 29), look.shadow);
    // The face between the edges is the element's gradient, lighter at the top.
    EXPECT_NE(raised.At(20, 2), raised.At(20, 27));
    App().FreeComponent(form);
}

TEST(SkinStatusBar, SitsAtTheBottomAndItsLastPanelReachesTheRightEdge) {
    TForm* form = skintest::NewForm("frmStatus", 300, 150);
    auto* status = NewComponent<TSkinStatusBar>(form);
    status->SetParent(form);
    EXPECT_EQ(status->Top() + status->Height(), form->ClientHeight());
    EXPECT_EQ(status->Width(), form->ClientWidth());

    status->AddPanel("Ready", 100);
    status->AddPanel("12 objects", 40);
    RECT first = status->PanelRect(0), last = status->PanelRect(1);
    EXPECT_EQ(first.right - first.left, 100);
    EXPECT_GT(last.left, first.right);
    EXPECT_EQ(last.right, status->ClientWidth());
    EXPECT_THROW(status->SetPanelText(2, "x"), ShellError);
    App().FreeComponent(form);
}

TEST(ImageList, CountsWhatIsAddedAndRefusesWhatIsNot) {
    auto* images = NewComponent<TImageList>(&App());
    HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    EXPECT_EQ(images->AddIcon(icon), 0);
    EXPECT_EQ(images->AddIcon(icon), 1);
    EXPECT_EQ(images->Count(), 2);

    // A strip of two images side by side.
    WindowDc screen(nullptr);
    UniqueBitmap strip(CreateCompatibleBitmap(screen.get(), 32, 16));
    EXPECT_EQ(images->AddBitmap(strip.get(), RGB(255, 0, 255)), 2);
    EXPECT_EQ(images->Count(), 4);
    EXPECT_TRUE(images->Icon(3));

    EXPECT_THROW(images->AddIcon(nullptr), ShellError);
    EXPECT_THROW(images->Icon(4), ShellError);
    EXPECT_THROW(images->Delete(-1), ShellError);
    images->Delete(0);
    EXPECT_EQ(images->Count(), 3);
    App().FreeComponent(images);
}
