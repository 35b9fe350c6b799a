// What the toolkit's loops and dispatch promise the forms built on it: mouse
// and key messages reach their handlers with their values, a modal loop
// disables the other forms and ends on a result or a close, a released form
// goes once its message has returned, timers survive a failing or
// self-freeing handler, and the skinned frame's drag ends with the mouse.
#include "base/WindowMessages.h"
#include "toolkit/Form.h"
#include "toolkit/Timer.h"
#include "tests/support/TestApp.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace orvane;
using orvane::test::App;
using orvane::test::PumpMessagesFor;

namespace {

class TfrmLoop : public TForm {
    ORVANE_COMPONENT(TfrmLoop, TForm)
  public:
    using TForm::TForm;
};

class TPad : public TControl {
    ORVANE_COMPONENT(TPad, TControl)
  public:
    using TControl::TControl;
};

TfrmLoop* NewForm(const char* name, int left = 20) {
    auto* form = CreateForm<TfrmLoop>(&App(), name);
    form->SetBounds(left, 20, 200, 120);
    return form;
}

// Runs `body` from a timer tick `ms` from now, inside whatever loop runs then.
TTimer* Later(unsigned ms, std::function<void()> body) {
    auto* timer = NewComponent<TTimer>(&App());
    timer->SetInterval(ms);
    timer->OnTimer = [timer, body = std::move(body)](TComponent&) {
        timer->SetEnabled(false);
        body();
    };
    timer->SetEnabled(true);
    return timer;
}

} // namespace

TEST(Dispatch, MouseAndKeyMessagesReachTheirHandlersWithTheirValues) {
    auto* form = NewForm("frmDispatch");
    auto* pad = NewComponent<TPad>(form);
    pad->SetBounds(0, 0, 50, 50);
    pad->SetParent(form);
    std::vector<std::string> seen;
    pad->OnMouseDown = [&](TComponent&, TMouseButton button, TShiftState shift, int x, int y) {
        seen.push_back("down " + std::to_string(static_cast<int>(button)) + " " +
                       std::to_string(x) + "," + std::to_string(y) + (shift.Shift ? " shift" : "") +
                       (shift.Double ? " double" : ""));
    };
    pad->OnMouseUp = [&](TComponent&, TMouseButton button, TShiftState, int x, int y) {
        seen.push_back("up " + std::to_string(static_cast<int>(button)) + " " + std::to_string(x) +
                       "," + std::to_string(y));
    };
    pad->OnClick = [&](TComponent&) { seen.push_back("click"); };
    pad->OnKeyDown = [&](TComponent&, WORD& key, TShiftState) {
        seen.push_back("key " + std::to_string(key));
        if (key == VK_F5)
            key = 0; // taken: the message goes no further
    };
    SendMessageA(pad->Handle(), WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(5, 7));
    SendMessageA(pad->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(6, 8));
    SendMessageA(pad->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(-3, 2));
    // Released outside the control: no click.
    SendMessageA(pad->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(70, 2));
    SendMessageA(pad->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    SendMessageA(pad->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(SendMessageA(pad->Handle(), WM_KEYDOWN, VK_F5, 1), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"down 1 5,7 shift", "up 1 6,8", "down 0 -3,2 double",
                                              "up 0 70,2", "down 0 1,1", "up 0 1,1", "click",
                                              "key 116"}));
    App().FreeComponent(form);
}

TEST(Form, ModalLoopDisablesTheOtherFormsAndEndsOnAResultOrAClose) {
    auto* dialog = NewForm("frmDialog");
    auto* other = NewForm("frmOther", 240);
    auto* asleep = NewForm("frmAsleep", 460);
    other->Show();
    EnableWindow(asleep->Handle(), FALSE);
    bool otherDisabled = false;
    TTimer* answer = Later(30, [&] {
        otherDisabled = !IsWindowEnabled(other->Handle());
        dialog->SetModalResult(mrOk);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(otherDisabled);
    EXPECT_TRUE(IsWindowEnabled(other->Handle())) << "enabled again";
    EXPECT_FALSE(IsWindowEnabled(asleep->Handle())) << "disabled before, disabled after";
    EXPECT_FALSE(dialog->Visible());

    // Closed from inside the loop (the close button, Escape): Cancel.
    TTimer* close = Later(30, [&] { PostMessageW(dialog->Handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    for (TComponent* component : std::vector<TComponent*>{answer, close, dialog, other, asleep})
        App().FreeComponent(component);
}

TEST(Form, AReleasedFormGoesOnceItsMessageHasReturned) {
    auto* form = NewForm("frmReleased");
    auto* pad = NewComponent<TPad>(form);
    pad->SetBounds(0, 0, 50, 50);
    pad->SetParent(form);
    const size_t forms = App().Forms().size();
    bool aliveAfterRelease = false;
    pad->OnClick = [&](TComponent&) {
        form->Release();
        form->Release();
        aliveAfterRelease = TForm::FindLive(form) != nullptr;
    };
    SendMessageA(pad->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    SendMessageA(pad->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    EXPECT_TRUE(aliveAfterRelease);
    PumpMessagesFor(50);
    EXPECT_EQ(TForm::FindLive(form), nullptr);
    EXPECT_EQ(App().Forms().size(), forms - 1) << "freed once, the second message finds nothing";

    // A form that did not ask to go stays, whoever sends the message.
    auto* stays = NewForm("frmStays");
    SendMessageA(App().Handle(), WM_RELEASEFORM, 0, reinterpret_cast<LPARAM>(stays));
    EXPECT_NE(TForm::FindLive(stays), nullptr);
    App().FreeComponent(stays);
}

TEST(Timer, AFailingTickIsReportedAndTheTimerTicksOnAndOneMayFreeItself) {
    std::vector<std::string> reported;
    App().OnException = [&](const std::string& message) { reported.push_back(message); };
    auto* timer = NewComponent<TTimer>(&App());
    timer->SetInterval(10);
    int ticks = 0;
    timer->OnTimer = [&](TComponent&) {
        if (++ticks == 1)
            throw std::runtime_error("tick failed");
    };
    timer->SetEnabled(true);
    for (int round = 0; round < 100 && ticks < 3; ++round)
        PumpMessagesFor(10);
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(reported, std::vector<std::string>{"tick failed"});
    App().FreeComponent(timer);

    int selfTicks = 0;
    auto* self = NewComponent<TTimer>(&App());
    self->SetInterval(10);
    self->OnTimer = [&, self](TComponent&) {
        ++selfTicks;
        App().FreeComponent(self);
    };
    self->SetEnabled(true);
    PumpMessagesFor(100);
    EXPECT_EQ(selfTicks, 1);
    App().OnException = nullptr;
}

TEST(FormFrame, ADragEndsWhenTheMouseIsTakenAwayAndSizesKeepTheMinimum) {
    auto* form = NewForm("frmFrame");
    form->SetSkinnedFrame(true);
    form->SetBorderStyle(TBorderStyle::Sizeable);
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    RECT window;
    GetWindowRect(form->Handle(), &window);
    // The bottom-right corner sizes; dragged far up and left, the form keeps
    // the system's smallest tracking size.
    POINT corner{window.right - 1, window.bottom - 1};
    EXPECT_EQ(SendMessageA(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)),
              HTBOTTOMRIGHT);
    SetCursorPos(corner.x, corner.y);
    SendMessageA(form->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(corner.x, corner.y));
    SetCursorPos(corner.x - 290, corner.y - 190);
    SendMessageA(form->Handle(), WM_MOUSEMOVE, MK_LBUTTON, 0);
    EXPECT_EQ(form->Width(), GetSystemMetrics(SM_CXMINTRACK));
    // The mouse taken away (a message box, Alt+Tab): the drag ends there.
    ReleaseCapture();
    const int width = form->Width();
    SetCursorPos(corner.x, corner.y);
    SendMessageA(form->Handle(), WM_MOUSEMOVE, MK_LBUTTON, 0);
    EXPECT_EQ(form->Width(), width);
    App().FreeComponent(form);
}
