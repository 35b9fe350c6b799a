// The System and Help sections in this process: their entries (without the
// program folder's icons, which this executable's folder lacks), the Shell
// pop-up, the double-click and Enter actions, and the way back to explorer with
// the bar's part recorded.
#include "base/Config.h"
#include "base/Log.h"
#include "base/Platform.h"
#include "startpanel/StartPanel.h"
#include "base/ShellError.h"
#include "taskbar/TaskbarGlyphs.h"
#include "tests/support/TestApp.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/menu/MenuDriver.h"
#include "widgets/ImageList.h"
#include "widgets/ListBox.h"
#include "widgets/Menu.h"
#include "widgets/SkinPanel.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvane;
using namespace orvane::test;

namespace {

class SystemSectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteFileA(ConfigFilePath().c_str());
        log_ = std::make_unique<TLog>(logDir_ / "panel.log");
        SetShellLog(log_.get());
        glyphs_ = NewComponent<TImageList>(&App());
        AddSectionChevrons(*glyphs_);
        TStartPanelHost host;
        host.SectionGlyphs = glyphs_;
        host.GroupsFolder = logDir_.path();
        host.ShowSettings = [this] { steps_.push_back("settings"); };
        // As the run does when the window it hands out is not there.
        host.ShowAbout = [this] {
            if (!aboutThere_)
                throw ShellError("There is no window frmAbout");
            steps_.push_back("about");
        };
        host.ExitToExplorer = [this] { steps_.push_back("exit"); };
        panel_ = CreateForm<TfrmStart>(&App(), std::move(host));
        panel_->StartProgram = [this](const std::string& command, WORD show) {
            steps_.push_back(command + " " + std::to_string(show));
            return true;
        };
    }

    void TearDown() override {
        App().FreeComponent(panel_);
        App().FreeComponent(glyphs_);
        SetShellLog(nullptr);
        OSPlatform = savedPlatform_;
        DeleteFileA(ConfigFilePath().c_str());
    }

    std::vector<std::string> LogLines() const { return ReadLogLines(log_->FileName()); }

    // Opens the Shell pop-up and leaves it by the keys given.
    void ChooseInShellPopup(std::vector<WORD> keys) {
        panel_->lbSystem->SetItemIndex(1);
        MenuDriver driver([keys](MenuDriver& menu) {
            if (!menu.WaitForWindows(1, 10000))
                return;
            for (WORD key : keys)
                menu.Key(key);
        });
        panel_->lbSystemClick();
    }

    ScratchDir logDir_{"system-section"};
    std::unique_ptr<TLog> log_;
    TImageList* glyphs_ = nullptr;
    TfrmStart* panel_ = nullptr;
    std::vector<std::string> steps_;
    bool aboutThere_ = true;
    uint8_t savedPlatform_ = OSPlatform;
};

TEST_F(SystemSectionTest, EntriesInOrderAnIconThatDoesNotLoadIsLoggedAndLeftOut) {
    // This process runs as the NT family: four System entries.
    ASSERT_EQ(GetOSPlatform(), kPlatformNT);
    const TStringList& system = panel_->lbSystem->Items();
    EXPECT_EQ(system.Lines(),
              (std::vector<std::string>{"ControlPanel", "Shell", "Shutdown", "Taskmgr"}))
        << "message names stand in without a language file";
    EXPECT_EQ(system.Object(1), reinterpret_cast<intptr_t>(panel_->FolderIcon()));
    EXPECT_EQ(system.Object(0), 0) << "no icon file beside this executable";
    EXPECT_EQ(panel_->plSystem->Height(), 4 * 19 + 23);
    EXPECT_EQ(panel_->lbHelp->Items().Lines(),
              (std::vector<std::string>{"Windows", "Orvane Shell", "About"}));
    EXPECT_EQ(panel_->plHelp->Height(), 3 * 19 + 23);

    auto lines = LogLines();
    EXPECT_EQ(CountLinesWith(lines, "TfrmStart.InitSystemMenu: Cannot load the icon "), 3);
    EXPECT_EQ(CountLinesWith(lines, "Icons\\System\\Taskmgr.ico"), 1);
    EXPECT_EQ(CountLinesWith(lines, "TfrmStart.InitHelpMenu: Cannot load the icon "), 3);
}

TEST_F(SystemSectionTest, ShellPopupHoldsTheDefaultShellItemThenExplorer) {
    ChooseInShellPopup({VK_ESCAPE});
    TMenuItem& root = panel_->pmStart->Items();
    ASSERT_EQ(root.Count(), 2);
    EXPECT_EQ(root.Items(0)->Caption, "Orvane Shell");
    EXPECT_TRUE(root.Items(0)->Default) << "drawn bold";
    EXPECT_EQ(root.Items(1)->Caption, "Explorer");
    EXPECT_FALSE(root.Items(1)->Default);
    EXPECT_EQ(CountLinesWith(LogLines(), "TfrmStart.lbSystemClick: Cannot load the icon "), 1);
    EXPECT_TRUE(steps_.empty()) << "Escape chooses nothing";

    // The Shutdown entry's click empties the pop-up and opens none: the
    // entry stays selected for its double click.
    panel_->lbSystem->SetItemIndex(2);
    panel_->lbSystemClick();
    EXPECT_EQ(root.Count(), 0);
    EXPECT_EQ(panel_->lbSystem->ItemIndex(), 2);

    // The settings dialog and the about box come from the host.
    ChooseInShellPopup({VK_DOWN, VK_RETURN});
    EXPECT_EQ(steps_, (std::vector<std::string>{"settings"}));
    panel_->lbHelp->SetItemIndex(2);
    panel_->lbHelpDblClick();
    EXPECT_EQ(steps_, (std::vector<std::string>{"settings", "about"}));
    // Enter on a Help entry acts as its double click.
    aboutThere_ = false;
    SendMessageA(panel_->lbHelp->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(CountLinesWith(LogLines(), "TfrmStart.lbHelpDblClick: There is no window frmAbout"),
              1);
}

TEST_F(SystemSectionTest, TaskManagerStartsOnDoubleClickAndOnEnter) {
    panel_->lbSystem->SetItemIndex(3);
    panel_->lbSystemDblClick();
    EXPECT_EQ(steps_, (std::vector<std::string>{"taskmgr.exe 1"}));
    SendMessageA(panel_->lbSystem->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(steps_.size(), 2u) << "Enter acts as the double click";
    panel_->lbSystem->SetItemIndex(0);
    panel_->lbSystemDblClick();
    EXPECT_EQ(steps_.size(), 2u) << "the Control Panel has no double-click action";
}

TEST_F(SystemSectionTest, ExplorerHandsTheEndOfTheRunToTheHost) {
    ChooseInShellPopup({VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_EQ(steps_, (std::vector<std::string>{"exit"}));
}

} // namespace
