// The shell's run in this process, without the start that takes the system
// over: the way back to explorer, step by step and with failing steps, and
// the wiring it hands the windows.
#include "app/ShellRun.h"
#include "base/Config.h"
#include "base/Log.h"
#include "base/Platform.h"
#include "desktop/DesktopForm.h"
#include "settings/AboutForm.h"
#include "settings/SettingsForm.h"
#include "startpanel/StartPanel.h"
#include "startpanel/VirtualFolders.h"
#include "taskbar/TaskbarForm.h"
#include "toolkit/Timer.h"
#include "widgets/ListBox.h"
#include "tests/support/TestApp.h"
#include "tests/support/TestSupport.h"
#include "widgets/SkinButton.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

using namespace orvane;
using namespace orvane::test;

namespace {

class ShellRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteFileA(ConfigFilePath().c_str());
        log_ = std::make_unique<TLog>(logDir_ / "run.log");
        SetShellLog(log_.get());
        run_ = std::make_unique<TShellRun>(App());
        // Each step notes what the steps before it left behind.
        run_->RestoreCaptionColors = [this] {
            steps_.push_back("colours, clock pattern " +
                             IniFile::Config().ReadString("Taskbar", "TimeFormat", "none"));
        };
        run_->RestoreWorkArea = [this] { steps_.push_back("work area"); };
        run_->StartProgram = [this](const std::string& command, int show) {
            const bool barShown = run_->Taskbar() && run_->Taskbar()->Visible();
            const bool ended = CountLinesWith(ReadLogLines(log_->FileName()), "Work end") > 0;
            steps_.push_back(command + " " + std::to_string(show) + (barShown ? " bar" : "") +
                             (ended ? " after work end" : ""));
            return true;
        };
        run_->CreateTaskbar()->TimeFormat = "hh:nn";
        run_->Taskbar()->Show();
    }

    void TearDown() override {
        run_.reset();
        SetShellLog(nullptr);
        OSPlatform = savedPlatform_;
        DeleteFileA(ConfigFilePath().c_str());
    }

    ScratchDir logDir_{"shell-run"};
    std::unique_ptr<TLog> log_;
    std::unique_ptr<TShellRun> run_;
    std::vector<std::string> steps_;
    uint8_t savedPlatform_ = OSPlatform;
};

} // namespace

TEST_F(ShellRunTest, ExitToExplorerTakesItsStepsInOrderAndClosesTheLogLast) {
    OSPlatform = kPlatform9x;
    run_->ExitToExplorer();
    EXPECT_EQ(steps_, (std::vector<std::string>{"colours, clock pattern hh:nn", "work area",
                                                "explorer.exe 0 after work end"}));
    EXPECT_FALSE(run_->Taskbar()->Visible()) << "the bar is closed";
    EXPECT_EQ(IniFile(WindowsFolder() + "\\System.ini").ReadString("boot", "shell", ""),
              "explorer.exe");
    auto lines = ReadLogLines(log_->FileName());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(CountLinesWith(lines, "Work end"), 1);
    EXPECT_NE(lines[lines.size() - 2].find("Set default shell: explorer.exe... done"),
              std::string::npos);
    EXPECT_NE(lines.back().find(" Work end"), std::string::npos);
    EXPECT_EQ(ShellLog(), nullptr) << "nothing is logged after the end";
}

TEST_F(ShellRunTest, AFailingStepOfTheExitIsLoggedAndTheRestStillRuns) {
    OSPlatform = kPlatformNT;
    run_->RestoreCaptionColors = [] { throw std::runtime_error("colours went away"); };
    run_->RestoreWorkArea = [this] { steps_.push_back("work area"); };
    run_->ExitToExplorer();
    EXPECT_EQ(steps_, (std::vector<std::string>{"explorer.exe 0 after work end"}))
        << "the NT family keeps its work area";
    auto lines = ReadLogLines(log_->FileName());
    EXPECT_EQ(CountLinesWith(lines, "TfrmStart.ExplorerItemClick: colours went away"), 1);
    EXPECT_EQ(CountLinesWith(lines, "Work end"), 1);
}

TEST_F(ShellRunTest, TheWindowsReachEachOtherThroughTheRun) {
    run_->CreateWindows();
    ASSERT_TRUE(run_->Desktop() && run_->StartPanel() && run_->About() && run_->Settings());
    TfrmStart* panel = run_->StartPanel();
    EXPECT_EQ(panel->ControlPanel(), nullptr) << "made by the start only";
    panel->SetControlPanel(std::make_unique<TVirtualFolders>());

    // The start button slides the panel in; pressed once it is out, back.
    run_->Taskbar()->bbStart->Click();
    EXPECT_EQ(panel->SlideDirection(), TSlide::In);
    EXPECT_TRUE(panel->Visible());
    EXPECT_TRUE(panel->trrShowStart->Enabled());
    for (int tick = 0; tick < 50 && panel->trrShowStart->Enabled(); ++tick)
        panel->trrShowStartTimer();
    run_->Taskbar()->bbStart->Click();
    EXPECT_EQ(panel->SlideDirection(), TSlide::Out);
    panel->trrShowStart->SetEnabled(false);

    // The Shell pop-up's first item and the Help section's About entry.
    panel->ShellItemClick();
    EXPECT_TRUE(run_->Settings()->Visible());
    panel->lbHelp->SetItemIndex(2);
    panel->lbHelpDblClick();
    EXPECT_TRUE(run_->About()->Visible());

    // The bar's close takes away what lives beside it.
    run_->Taskbar()->Close();
    EXPECT_EQ(panel->ControlPanel(), nullptr);
}

TEST_F(ShellRunTest, AConfigurationFileThatCannotBeOpenedEndsTheShellThroughTheBarsClose) {
    run_->CreateWindows();
    run_->StartPanel()->SetControlPanel(std::make_unique<TVirtualFolders>());
    WriteFileText(ConfigFilePath(), "[Taskbar]\r\nTimeFormat=hh:nn\r\n");
    HANDLE locked = CreateFileA(ConfigFilePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    run_->Settings()->btnOKClick();
    CloseHandle(locked);
    // The colours are put back first (the locked file reads as empty), then
    // the work area, whatever the platform, as no explorer comes to set it.
    EXPECT_EQ(steps_, (std::vector<std::string>{"colours, clock pattern none", "work area"}));
    EXPECT_FALSE(run_->Taskbar()->Visible()) << "the bar is closed";
    EXPECT_EQ(run_->StartPanel()->ControlPanel(), nullptr) << "by its close handler";
    EXPECT_EQ(CountLinesWith(ReadLogLines(log_->FileName()), "TfrmSettings.SaveConfig: "), 1);
}

TEST_F(ShellRunTest, AfterTheBarTheWindowsFollowFromTheLoopOrAtOnceForTheStartButton) {
    const size_t formsBefore = App().Forms().size();
    run_->FinishStartSoon();
    EXPECT_TRUE(run_->FinishPending());
    EXPECT_EQ(run_->Desktop(), nullptr) << "the bar is shown first";
    EXPECT_EQ(run_->StartPanel(), nullptr);

    // Pressed before the loop got to it: the panel is made and slides in.
    run_->Taskbar()->bbStart->Click();
    EXPECT_FALSE(run_->FinishPending());
    ASSERT_NE(run_->StartPanel(), nullptr);
    EXPECT_EQ(run_->StartPanel()->SlideDirection(), TSlide::In);
    run_->StartPanel()->trrShowStart->SetEnabled(false);
    EXPECT_TRUE(run_->Desktop() && run_->About() && run_->Settings());
    // Once only: neither the loop nor another call makes a second set.
    PumpMessagesFor(100);
    run_->FinishStart();
    EXPECT_EQ(App().Forms().size(), formsBefore + 4);
}

TEST_F(ShellRunTest, TheLoopMakesTheWindowsInTheStartsOrder) {
    const size_t formsBefore = App().Forms().size();
    run_->FinishStartSoon();
    EXPECT_TRUE(WaitUntil([&] { return !run_->FinishPending(); }, 5000));
    const std::vector<TForm*> forms = App().Forms();
    ASSERT_EQ(forms.size(), formsBefore + 4);
    EXPECT_EQ(forms[formsBefore], run_->Desktop());
    EXPECT_EQ(forms[formsBefore + 1], run_->StartPanel());
    EXPECT_EQ(forms[formsBefore + 2], run_->About());
    EXPECT_EQ(forms[formsBefore + 3], run_->Settings());
}
