#include "WidgetFixture.h"

#include "widgets/Button.h"
#include "widgets/Dialogs.h"
#include "widgets/GroupBox.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/Notebook.h"
#include "widgets/PaintBox.h"
#include "toolkit/Timer.h"
#include "tests/support/TestSupport.h"

#include <memory>

namespace orvane::test {
namespace {

std::string WindowClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

TEST_F(WidgetTest, ClassChainsAndWindowClasses) {
    auto* label = Put<TLabel>();
    EXPECT_TRUE(label->InheritsFrom("TCustomLabel"));
    EXPECT_TRUE(label->Is<TControl>());
    EXPECT_EQ(WindowClassOf(label->Handle()), "TLabel");

    auto* button = Put<TButton>();
    EXPECT_TRUE(button->Is<TButton>());
    EXPECT_EQ(WindowClassOf(button->Handle()), "TButton");
    // A real system push button underneath: it answers the button messages.
    EXPECT_EQ(GetWindowLongA(button->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    SendMessageA(button->Handle(), BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(SendMessageA(button->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED);

    auto* open = NewComponent<TOpenPictureDialog>(form);
    auto* save = NewComponent<TSavePictureDialog>(form);
    auto* timer = NewComponent<TTimer>(form);
    EXPECT_TRUE(open->InheritsFrom("TOpenDialog"));
    EXPECT_TRUE(save->InheritsFrom("TOpenDialog"));
    EXPECT_TRUE(save->InheritsFrom("TOpenPictureDialog"));
    EXPECT_FALSE(timer->Is<TControl>());
    EXPECT_FALSE(NewComponent<TOpenDialog>(form)->InheritsFrom("TOpenPictureDialog"));
}

TEST_F(WidgetTest, PublishedPropertiesReachTheWidgets) {
    auto* save = NewComponent<TSavePictureDialog>(form);
    const TProperty* title = save->FindProperty("title");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->Kind, TPropKind::String);
    title->SetText("Select a wallpaper...");
    EXPECT_EQ(save->Title, "Select a wallpaper...");
    ASSERT_NE(save->FindProperty("Filter"), nullptr);

    auto* button = NewComponent<TButton>(form);
    button->FindProperty("ModalResult")->SetOrdinal(mrCancel);
    EXPECT_EQ(button->ModalResult(), mrCancel);
    button->FindProperty("Caption")->SetText("OK");
    EXPECT_EQ(button->Caption(), "OK");

    auto* notebook = Put<TNotebook>();
    notebook->AddPage("Groups");
    const TProperty* pages = notebook->FindProperty("Pages");
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->Kind, TPropKind::StringList);
    EXPECT_EQ(pages->List()->Get(0), "Groups");
}

TEST_F(WidgetTest, ButtonWithModalResultEndsTheModalLoop) {
    auto* button = Put<TButton>();
    button->SetModalResult(mrOk);
    int clicks = 0;
    button->OnClick = [&](TComponent&) { ++clicks; };
    // Handled inside the modal loop, once the form is up.
    PostMessageA(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(clicks, 1);
}

TEST_F(WidgetTest, ButtonsAnswerTheDialogKeys) {
    auto* ok = Put<TButton>();
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    auto* cancel = Put<TButton>();
    cancel->SetModalResult(mrCancel);
    cancel->SetCancel(true);
    auto* plain = Put<TButton>();

    EXPECT_EQ(GetWindowLongA(ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_TRUE(form->DialogKey(VK_ESCAPE));
    EXPECT_EQ(form->ModalResult(), mrCancel);
    EXPECT_TRUE(form->DialogKey(VK_RETURN));
    EXPECT_EQ(form->ModalResult(), mrOk);
    // A button without a modal result leaves the form's alone.
    form->SetModalResult(mrNone);
    plain->Click();
    EXPECT_EQ(form->ModalResult(), mrNone);
    // A disabled default button does not take Enter.
    ok->SetEnabled(false);
    EXPECT_FALSE(form->DialogKey(VK_RETURN));
}

TEST_F(WidgetTest, TimerTicksAtItsIntervalAndStopsWhenDisabled) {
    auto* timer = NewComponent<TTimer>(form);
    int ticks = 0;
    timer->OnTimer = [&](TComponent& sender) {
        EXPECT_EQ(&sender, timer);
        ++ticks;
    };
    timer->SetInterval(50);
    DWORD start = GetTickCount();
    ASSERT_TRUE(WaitUntil([&] { return ticks >= 5; }, 5000));
    DWORD elapsed = GetTickCount() - start;
    // Five ticks of 50 ms each; the system may run late but never early.
    EXPECT_GE(elapsed, 200u);
    EXPECT_LT(elapsed, 3000u);

    timer->SetEnabled(false);
    int stoppedAt = ticks;
    PumpMessagesFor(300);
    EXPECT_EQ(ticks, stoppedAt);

    timer->SetEnabled(true);
    EXPECT_TRUE(WaitUntil([&] { return ticks > stoppedAt; }, 2000));
    timer->SetInterval(0);
    stoppedAt = ticks;
    PumpMessagesFor(300);
    EXPECT_EQ(ticks, stoppedAt);
}

TEST_F(WidgetTest, TimerFreedInsideItsOwnHandlerStops) {
    auto* doomed = NewComponent<TTimer>(form);
    auto* other = NewComponent<TTimer>(form);
    int doomedTicks = 0, otherTicks = 0;
    doomed->SetInterval(20);
    other->SetInterval(20);
    doomed->OnTimer = [&, doomed](TComponent&) {
        ++doomedTicks;
        form->FreeComponent(doomed);
    };
    other->OnTimer = [&](TComponent&) { ++otherTicks; };
    ASSERT_TRUE(WaitUntil([&] { return doomedTicks == 1 && otherTicks >= 5; }, 5000));
    PumpMessagesFor(200);
    EXPECT_EQ(doomedTicks, 1);
    int timers = 0;
    for (const auto& component : form->Components())
        timers += component->Is<TTimer>() ? 1 : 0;
    EXPECT_EQ(timers, 1);
}

int VisiblePages(const TNotebook& notebook) {
    int visible = 0;
    for (int i = 0; i < notebook.PageCount(); ++i)
        if (GetWindowLongA(notebook.Page(i)->Handle(), GWL_STYLE) & WS_VISIBLE)
            ++visible;
    return visible;
}

TEST_F(WidgetTest, NotebookShowsExactlyOnePage) {
    auto* notebook = Put<TNotebook>();
    notebook->SetBounds(130, 0, 250, 200);
    EXPECT_EQ(notebook->PageIndex(), -1);
    TControl* groups = notebook->AddPage("Groups");
    notebook->AddPage("Wallpaper");
    notebook->AddPage("Language");
    TControl* clock = notebook->AddPage("Clock");
    EXPECT_EQ(notebook->PageIndex(), 0);
    EXPECT_EQ(VisiblePages(*notebook), 1);

    int changes = 0;
    notebook->OnPageChanged = [&](TComponent&) { ++changes; };
    notebook->SetPageIndex(3);
    EXPECT_EQ(VisiblePages(*notebook), 1);
    EXPECT_TRUE(GetWindowLongA(clock->Handle(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongA(groups->Handle(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(notebook->ActivePage(), "Clock");
    EXPECT_EQ(changes, 1);
    // The page fills the notebook.
    EXPECT_EQ(clock->Width(), notebook->ClientWidth());
    EXPECT_EQ(clock->Height(), notebook->ClientHeight());

    notebook->SetPageIndex(4);
    notebook->SetPageIndex(-1);
    EXPECT_EQ(notebook->PageIndex(), 3);
    EXPECT_EQ(changes, 1);

    // Renaming through the list renames the page; a new line is a new page.
    notebook->Pages().Set(1, "Desktop");
    EXPECT_EQ(notebook->Page(1)->Caption(), "Desktop");
    notebook->Pages().Add("Extra");
    EXPECT_EQ(notebook->PageCount(), 5);
    notebook->SetActivePage("desktop");
    EXPECT_EQ(notebook->PageIndex(), 1);
    EXPECT_EQ(VisiblePages(*notebook), 1);
    // Emptying the list keeps the pages and what is on them.
    auto* onPage = Put<TButton>(notebook->Page(1));
    notebook->Pages().Clear();
    EXPECT_EQ(notebook->PageCount(), 5);
    EXPECT_TRUE(IsWindow(onPage->Handle()));
}

TEST_F(WidgetTest, LabelFollowsItsTextWhenAutoSized) {
    auto* label = Put<TLabel>();
    label->SetCaption("Go");
    int shortWidth = label->Width();
    label->SetCaption("Select a language from the list");
    EXPECT_GT(label->Width(), shortWidth);
    int oneLine = label->Height();
    EXPECT_GT(oneLine, 0);

    // Wrapped text keeps the width and grows downwards.
    label->SetWordWrap(true);
    label->SetWidth(60);
    label->AdjustBounds();
    EXPECT_EQ(label->Width(), 60);
    EXPECT_GT(label->Height(), oneLine);

    label->SetAutoSize(false);
    label->SetBounds(6, 223, 257, 73);
    label->SetCaption("x");
    EXPECT_EQ(label->Width(), 257);
    EXPECT_EQ(label->Height(), 73);
}

TEST_F(WidgetTest, GroupBoxKeepsAlignedChildrenInsideItsFrame) {
    auto* box = Put<TGroupBox>();
    box->SetCaption("Groups");
    box->SetBounds(0, 0, 200, 150);
    auto* inner = Put<TPaintBox>(box);
    inner->SetAlign(TAlign::Client);
    EXPECT_GT(inner->Top(), 5); // below the caption
    EXPECT_GT(inner->Left(), 0);
    EXPECT_LT(inner->Left() + inner->Width(), 200);
    EXPECT_LT(inner->Top() + inner->Height(), 150);
}

} // namespace
} // namespace orvane::test
