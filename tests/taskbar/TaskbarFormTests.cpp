// The taskbar form as designed, without the start that takes the system over:
// its controls' places, the clock's tick, the task buttons on the real bar.
#include "widgets/ImageList.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinPanel.h"
#include "widgets/SkinToolBar.h"
#include "base/WindowMessages.h"
#include "taskbar/ClockFormat.h"
#include "taskbar/TaskButtons.h"
#include "taskbar/TaskbarForm.h"
#include "tests/support/SkinTestForm.h"
#include "tests/support/TestSupport.h"
#include "tests/taskbar/TaskbarTestSupport.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

class TaskbarFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TTaskbarHost host;
        host.Desktop = [this] { return desktop_; };
        taskbar_ = CreateForm<TfrmTaskbar>(&skintest::App(), std::move(host));
    }
    void TearDown() override { skintest::App().FreeComponent(taskbar_); }
    TfrmTaskbar* taskbar_ = nullptr;
    TForm* desktop_ = nullptr;
};

} // namespace

TEST_F(TaskbarFormTest, ControlsSitWhereTheBarWasDesigned) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    taskbar_->WMDisplayChange();
    EXPECT_EQ(taskbar_->Top(), GetSystemMetrics(SM_CYSCREEN) - 30);
    EXPECT_EQ(taskbar_->Width(), width);
    EXPECT_EQ(taskbar_->Height(), 30);
    EXPECT_EQ(taskbar_->plStart->Left(), 0);
    EXPECT_EQ(taskbar_->plStart->Width(), 86);
    EXPECT_EQ(taskbar_->plClock->Left(), width - 86);
    RECT start = taskbar_->bbStart->BoundsRect();
    EXPECT_EQ(start.left, 4);
    EXPECT_EQ(start.top, 3);
    EXPECT_EQ(start.right - start.left, 78);
    EXPECT_EQ(start.bottom - start.top, 21);
    EXPECT_EQ(taskbar_->bbStart->Caption(), "Start");
    EXPECT_EQ(taskbar_->plEmpty->Height(), 6);
    EXPECT_EQ(taskbar_->tbQuickBar->Width(), 80);
    EXPECT_EQ(taskbar_->plSysTray->Width(), 18);
    // The application bar takes what the quick-launch bar and the tray leave.
    EXPECT_EQ(taskbar_->tbApplButtons->Left(), taskbar_->tbQuickBar->Left() + 80);
    EXPECT_EQ(taskbar_->tbApplButtons->Left() + taskbar_->tbApplButtons->Width(),
              taskbar_->plSysTray->Left());
    EXPECT_EQ(taskbar_->ImageList1->Count(), 2) << "the start panel's two chevrons";
}

TEST_F(TaskbarFormTest, ClockTickShowsTheTimeTheDateAndTheDesktop) {
    taskbar_->TimeFormat = "hh:mm";
    auto* desktop = skintest::NewForm("StandInDesktop", 50, 50);
    desktop_ = desktop;
    HWND window = taskbartest::PoolWindow(0, "Some program");
    taskbar_->AddTaskButton(window);
    TSkinSpeedButton* button = taskbar_->TaskButtons().Buttons().at(0);
    ASSERT_EQ(button->Caption(), "") << "captions come with the next layout";

    // The expected texts come from the system's own formatting, not from the
    // clock's formatter; the minute or second may turn meanwhile.
    auto systemTexts = [](DWORD dateFlags, const char* timePicture) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        char date[80] = {}, time[80] = {};
        if (dateFlags)
            GetDateFormatA(LOCALE_USER_DEFAULT, dateFlags, &now, nullptr, date, sizeof date);
        GetTimeFormatA(LOCALE_USER_DEFAULT, timePicture ? TIME_FORCE24HOURFORMAT : 0, &now,
                       timePicture, time, sizeof time);
        return std::string(date) + (dateFlags ? " " : "") + time;
    };
    std::string early = systemTexts(0, "HH':'mm");
    taskbar_->tmrClockTimer();
    std::string late = systemTexts(0, "HH':'mm");
    const std::string caption = taskbar_->btnClock->Caption();
    EXPECT_TRUE(caption == early || caption == late) << caption;
    char longDate[80] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, longDate, sizeof longDate);
    EXPECT_EQ(taskbar_->btnClock->Hint(), longDate);
    EXPECT_TRUE(desktop->Visible());
    EXPECT_EQ(button->Caption(), "Some program") << "the desktop's return lays the buttons out";

    desktop->Hide();
    taskbar_->TimeFormat = "";
    early = systemTexts(DATE_SHORTDATE, nullptr);
    taskbar_->tmrClockTimer();
    late = systemTexts(DATE_SHORTDATE, nullptr);
    EXPECT_TRUE(desktop->Visible());
    const std::string dateAndTime = taskbar_->btnClock->Caption();
    EXPECT_TRUE(dateAndTime == early || dateAndTime == late)
        << dateAndTime << " is not the short date and the long time";
    skintest::App().FreeComponent(desktop);
}

TEST_F(TaskbarFormTest, ReleaseMessageFreesOnlyReleasedLiveFormsOtherThanTheBar) {
    auto* browser = skintest::NewForm("StandInBrowser", 50, 50);
    const size_t forms = skintest::App().Forms().size();
    int bogus = 0;
    SendMessageA(taskbar_->Handle(), WM_RELEASEFORM, 0, reinterpret_cast<LPARAM>(&bogus));
    SendMessageA(taskbar_->Handle(), WM_RELEASEFORM, 0, reinterpret_cast<LPARAM>(taskbar_));
    EXPECT_EQ(skintest::App().Forms().size(), forms);
    // A live form that has not asked to go stays: the message may come from
    // any program.
    SendMessageA(taskbar_->Handle(), WM_RELEASEFORM, 0, reinterpret_cast<LPARAM>(browser));
    EXPECT_EQ(skintest::App().Forms().size(), forms);
    browser->Release();
    SendMessageA(taskbar_->Handle(), WM_RELEASEFORM, 0, reinterpret_cast<LPARAM>(browser));
    EXPECT_EQ(skintest::App().Forms().size(), forms - 1);
    // The message Release posted finds the form gone.
    PumpMessagesFor(50);
    EXPECT_EQ(skintest::App().Forms().size(), forms - 1);
}
