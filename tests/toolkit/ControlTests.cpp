// Controls and forms: real windows named after their classes, the alignment of
// children, form naming, closing, and errors escaping event handlers.
#include "base/Utf.h"
#include "toolkit/Form.h"
#include "tests/support/TestApp.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <stdexcept>

using namespace orvane;
using orvane::test::App;

namespace {

class TfrmProbe : public TForm {
    ORVANE_COMPONENT(TfrmProbe, TForm)
  public:
    using TForm::TForm;
};

class TBlock : public TControl {
    ORVANE_COMPONENT(TBlock, TControl)
  public:
    using TControl::TControl;
};

std::string WindowClass(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

TBlock* AddBlock(TControl* parent, const char* name, TAlign align, int width, int height) {
    auto* block = NewComponent<TBlock>(parent);
    block->SetName(name);
    block->SetBounds(0, 0, width, height);
    block->SetAlign(align);
    block->SetParent(parent);
    return block;
}

void ExpectBounds(const TControl* control, int left, int top, int width, int height) {
    SCOPED_TRACE(control->Name());
    EXPECT_EQ(control->Left(), left);
    EXPECT_EQ(control->Top(), top);
    EXPECT_EQ(control->Width(), width);
    EXPECT_EQ(control->Height(), height);
    RECT window;
    GetWindowRect(control->Handle(), &window);
    EXPECT_EQ(window.right - window.left, width);
    EXPECT_EQ(window.bottom - window.top, height);
}

// What the platform holds, read with the wide calls.
std::wstring PlatformText(HWND window) {
    wchar_t text[256] = {};
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring HintText(HWND control) {
    wchar_t text[1024] = {};
    TOOLINFOW tool{sizeof tool};
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(App().HintWindow(), TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
    return text;
}

void Click(HWND window) {
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

} // namespace

TEST(Form, LiveFormsOfOneDesignedNameGetNumberedNames) {
    auto* first = CreateForm<TfrmProbe>(&App(), "frmProbe");
    auto* second = CreateForm<TfrmProbe>(&App(), "frmProbe");
    auto* third = CreateForm<TfrmProbe>(&App(), "frmProbe");
    EXPECT_EQ(first->Name(), "frmProbe");
    EXPECT_EQ(second->Name(), "frmProbe_1");
    EXPECT_EQ(third->Name(), "frmProbe_2");
    EXPECT_EQ(WindowClass(second->Handle()), "TfrmProbe");

    auto forms = App().Forms();
    ASSERT_GE(forms.size(), 3u);
    EXPECT_EQ(forms[forms.size() - 3], first);
    EXPECT_EQ(forms.back(), third);

    App().FreeComponent(first);
    auto* again = CreateForm<TfrmProbe>(&App(), "frmProbe");
    EXPECT_EQ(again->Name(), "frmProbe");
    for (TForm* form : std::vector<TForm*>{second, third, again})
        App().FreeComponent(form);
}

TEST(Form, AnswersWithTheProgramsIconUntilItIsGivenOneOfItsOwn) {
    auto* form = CreateForm<TfrmProbe>(&App(), "frmIconProbe");
    const LRESULT small = SendMessageW(form->Handle(), WM_GETICON, ICON_SMALL, 0);
    EXPECT_NE(small, 0);
    EXPECT_NE(SendMessageW(form->Handle(), WM_GETICON, ICON_BIG, 0), 0);
    HICON own = LoadIconW(nullptr, IDI_WARNING);
    SendMessageW(form->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(own));
    EXPECT_EQ(SendMessageW(form->Handle(), WM_GETICON, ICON_SMALL, 0),
              reinterpret_cast<LRESULT>(own));
    App().FreeComponent(form);
}

TEST(Control, IsAWindowOfItsClassCarryingItsNameAndCaption) {
    auto* form = CreateForm<TfrmProbe>(&App(), "frmNames");
    TBlock* block = AddBlock(form, "plSample", TAlign::None, 40, 20);
    ASSERT_NE(block->Handle(), nullptr);
    EXPECT_EQ(WindowClass(block->Handle()), "TBlock");
    EXPECT_EQ(TControl::FromHandle(block->Handle()), block);

    auto atom =
        static_cast<ATOM>(reinterpret_cast<uintptr_t>(GetPropA(block->Handle(), "ComponentName")));
    char name[256] = {};
    ASSERT_NE(atom, 0);
    GlobalGetAtomNameA(atom, name, sizeof name);
    EXPECT_STREQ(name, "plSample");

    block->FindProperty("caption")->SetText("Hello");
    char text[64] = {};
    GetWindowTextA(block->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Hello");
    // A text set from outside the toolkit is the caption too.
    SetWindowTextA(block->Handle(), "Changed");
    EXPECT_EQ(block->Caption(), "Changed");
    App().FreeComponent(form);
}

TEST(Control, TextInAnyScriptReachesThePlatformAndComesBack) {
    const std::string text = "日本語 Привет ελληνικά 📁";
    auto* form = CreateForm<TfrmProbe>(&App(), "frmScripts");
    TBlock* block = AddBlock(form, "plScripts", TAlign::None, 40, 20);
    form->SetCaption(text);
    block->SetCaption(text);
    block->SetHint(text);
    block->SetShowHint(true);
    const std::string title = App().Title();
    App().SetTitle(text);
    EXPECT_EQ(form->Caption(), text);
    EXPECT_EQ(PlatformText(form->Handle()), Wide(text));
    EXPECT_EQ(PlatformText(block->Handle()), Wide(text));
    EXPECT_EQ(HintText(block->Handle()), Wide(text));
    EXPECT_EQ(App().Title(), text);
    EXPECT_EQ(PlatformText(App().Handle()), Wide(text));
    SetWindowTextW(block->Handle(), L"Ωμέγα 🌍");
    EXPECT_EQ(block->Caption(), "Ωμέγα 🌍");

    // One press for a character beyond the BMP, which comes in two halves.
    std::string pressed;
    block->OnKeyPress = [&](TComponent&, char& key) { pressed += key; };
    for (wchar_t unit : std::wstring(L"Я\U0001F4C1a"))
        SendMessageW(block->Handle(), WM_CHAR, unit, 1);
    EXPECT_EQ(pressed, "\xD0\xF0"
                       "a");
    App().SetTitle(title);
    App().FreeComponent(form);
}

TEST(Control, ChildrenAlignTopBottomLeftRightThenClient) {
    auto* form = CreateForm<TfrmProbe>(&App(), "frmAlign");
    form->SetBorderStyle(TBorderStyle::None);
    form->SetBounds(0, 0, 400, 300);
    TBlock* client = AddBlock(form, "client", TAlign::Client, 10, 10);
    TBlock* left = AddBlock(form, "left", TAlign::Left, 50, 10);
    TBlock* top = AddBlock(form, "top", TAlign::Top, 10, 30);
    TBlock* right = AddBlock(form, "right", TAlign::Right, 60, 10);
    TBlock* bottom = AddBlock(form, "bottom", TAlign::Bottom, 10, 20);
    TBlock* secondTop = AddBlock(form, "secondTop", TAlign::Top, 10, 5);

    ExpectBounds(top, 0, 0, 400, 30);
    ExpectBounds(secondTop, 0, 30, 400, 5);
    ExpectBounds(bottom, 0, 280, 400, 20);
    ExpectBounds(left, 0, 35, 50, 245);
    ExpectBounds(right, 340, 35, 60, 245);
    ExpectBounds(client, 50, 35, 290, 245);

    // Resizing the parent lays the children out again; hidden ones give up their room.
    top->SetVisible(false);
    form->SetBounds(0, 0, 500, 300);
    ExpectBounds(secondTop, 0, 0, 500, 5);
    ExpectBounds(client, 50, 5, 390, 275);
    App().FreeComponent(form);
}

TEST(Control, AnErrorInAnEventHandlerIsReportedAndTheProgramGoesOn) {
    std::vector<std::string> reported;
    App().OnException = [&](const std::string& message) { reported.push_back(message); };
    auto* form = CreateForm<TfrmProbe>(&App(), "frmErrors");
    TBlock* block = AddBlock(form, "bbFail", TAlign::None, 20, 20);
    int clicks = 0;
    block->OnClick = [&](TComponent&) {
        if (++clicks == 1)
            throw std::runtime_error("handler failed");
    };
    Click(block->Handle());
    Click(block->Handle());
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(reported, std::vector<std::string>{"handler failed"});
    App().OnException = nullptr;
    App().FreeComponent(form);
}

TEST(Form, CloseAsksFirstAndHidesByDefault) {
    auto* form = CreateForm<TfrmProbe>(&App(), "frmClose");
    form->SetBounds(10, 10, 200, 100);
    form->Show();
    ASSERT_TRUE(IsWindowVisible(form->Handle()));
    bool allow = false;
    form->OnCloseQuery = [&](TForm&, bool& canClose) { canClose = allow; };
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    allow = true;
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(form->Visible());

    // Closing with the action Free destroys the form once the message is handled.
    form->Show();
    form->OnClose = [](TForm&, TCloseAction& action) { action = TCloseAction::Free; };
    size_t before = App().Forms().size();
    form->Close();
    orvane::test::PumpMessagesFor(100);
    EXPECT_EQ(App().Forms().size(), before - 1);
}

TEST(Form, ShowThroughAControlCentresAndRunsTheShowAndHideEvents) {
    auto* form = CreateForm<TfrmProbe>(&App(), "frmCentred");
    form->SetBounds(0, 0, 200, 100);
    form->SetPosition(TPosition::ScreenCenter);
    int shown = 0, hidden = 0;
    form->OnShow = [&](TComponent&) { ++shown; };
    form->OnHide = [&](TComponent&) { ++hidden; };
    TControl& control = *form;
    control.Show();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->Left(), (GetSystemMetrics(SM_CXSCREEN) - 200) / 2);
    EXPECT_EQ(form->Top(), (GetSystemMetrics(SM_CYSCREEN) - 100) / 2);
    EXPECT_EQ(shown, 1);
    control.Hide();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(hidden, 1);
    App().FreeComponent(form);
}

TEST(Control, EveryButtonsQuickSecondPressIsAPress) {
    auto* form = CreateForm<TfrmProbe>(&App(), "frmPresses");
    TBlock* block = AddBlock(form, "bbPressed", TAlign::None, 20, 20);
    std::vector<std::pair<TMouseButton, bool>> presses;
    block->OnMouseDown = [&](TComponent&, TMouseButton button, TShiftState shift, int, int) {
        presses.emplace_back(button, shift.Double);
    };
    const std::pair<UINT, UINT> secondPresses[] = {{WM_LBUTTONDBLCLK, WM_LBUTTONUP},
                                                   {WM_RBUTTONDBLCLK, WM_RBUTTONUP},
                                                   {WM_MBUTTONDBLCLK, WM_MBUTTONUP}};
    for (auto [press, release] : secondPresses) {
        SendMessageA(block->Handle(), press, 0, MAKELPARAM(2, 2));
        SendMessageA(block->Handle(), release, 0, MAKELPARAM(2, 2));
    }
    const std::vector<std::pair<TMouseButton, bool>> expected{
        {TMouseButton::Left, true}, {TMouseButton::Right, true}, {TMouseButton::Middle, true}};
    EXPECT_EQ(presses, expected);
    App().FreeComponent(form);
}
