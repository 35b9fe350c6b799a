// The tray in this process: requests sent to its window, the icon controls,
// the panel, mouse forwarding, creation and the service objects.
#include "tests/tray/TrayFixture.h"

#include "base/Log.h"
#include "base/Utf.h"
#include "tests/support/TestSupport.h"

#include <algorithm>

using namespace orvane;
using namespace traytest;

namespace {

TIconPixels PixelsOf(const TTrayIconImage& icon) {
    return icon.IconPixels().value_or(TIconPixels{});
}

// What accessibility tools read: the icon control's window text.
std::string WindowTextOf(const TTrayIconImage& icon) {
    wchar_t text[256] = {};
    GetWindowTextW(icon.Handle(), text, 256);
    return Utf8(text);
}

TEST_F(TrayTest, CreationStartsTheCommandsAndTheHiddenTrayWindow) {
    // Started in order, away from the GUI thread, which does not wait for them.
    tray->WaitForRegistrations();
    EXPECT_EQ(std::count(commandThreads.begin(), commandThreads.end(), GetCurrentThreadId()), 0);
    EXPECT_EQ(commands,
              (std::vector<std::string>{"regsvr32 /i /s shell32.dll", "regsvr32 /s stobject.dll",
                                        "regsvr32 /s netshell.dll", "regsvr32 /s netcfgx.dll",
                                        "regsvr32 /s netman.dll"}));
    EXPECT_EQ(Tray(), tray.get());
    HWND window = tray->Handle();
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "Shell_TrayWnd");
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & ~WS_CLIPSIBLINGS, static_cast<LONG>(WS_POPUP));
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_EQ(tray->IconCount(), 0);
    EXPECT_EQ(form->plSysTray->Width(), 18);
    // Any other message goes to the default procedure.
    EXPECT_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 0);
    tray.reset();
    EXPECT_EQ(Tray(), nullptr);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(TrayTest, OneIconSitsAt9By3ThePanelGrowsLeftwardAndTipsAreCut) {
    int right = form->plSysTray->Left() + form->plSysTray->Width();
    int barWidth = form->tbApplButtons->Width();
    HWND owner = NewOwner();
    EXPECT_EQ(Add(owner, 1, L"Volume"), 1);
    ASSERT_EQ(tray->IconCount(), 1);
    TTrayIconImage& icon = Icon(0);
    EXPECT_EQ(icon.Left(), 9);
    EXPECT_EQ(icon.Top(), 3);
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);
    EXPECT_EQ(icon.Tag, 0);
    EXPECT_TRUE(icon.Stretch() && icon.Transparent() && !icon.AutoSize() && icon.Visible());
    EXPECT_EQ(icon.Hint(), "Volume");
    EXPECT_EQ(WindowTextOf(icon), "Volume");
    EXPECT_TRUE(icon.ShowHint());
    EXPECT_TRUE(icon.HasPicture());
    EXPECT_EQ(icon.Parent(), form->plSysTray);
    EXPECT_EQ(form->plSysTray->Width(), 34);
    EXPECT_EQ(form->plSysTray->Left() + form->plSysTray->Width(), right);
    EXPECT_EQ(form->tbApplButtons->Width(), barWidth - 16);
    EXPECT_EQ(refreshes, 0); // adding leaves the task buttons to their next layout
    // Tips are cut at 32 units.
    ASSERT_EQ(Add(owner, 2, L"0123456789abcdefghijklmnopqrstuvwxyzABCD"), 1);
    EXPECT_EQ(Icon(1).Hint(), "0123456789abcdefghijklmnopqrstuv");
    // UTF-16 tips come in as UTF-8, whatever their script.
    ASSERT_EQ(Add(owner, 3, L"Ωmega Привет 日本 ✓"), 1);
    EXPECT_EQ(Icon(2).Hint(), "Ωmega Привет 日本 ✓");
}

TEST_F(TrayTest, AddModifyAndDeleteAnswerAsTheProtocolSays) {
    HWND owner = NewOwner();
    EXPECT_EQ(Add(owner, 7), 1);
    EXPECT_EQ(Add(owner, 7), 0); // the same owner and id twice
    EXPECT_EQ(tray->IconCount(), 1);
    EXPECT_EQ(IconControlsOnPanel(), 1);

    Request modify{NIM_MODIFY, owner, 8, NIF_TIP, WM_APP + 2, nullptr, L"new"};
    EXPECT_EQ(Send(modify), 1); // an unknown icon is added
    EXPECT_EQ(tray->IconCount(), 2);
    EXPECT_EQ(Icon(1).Hint(), "new");

    Request remove{NIM_DELETE, owner, 99};
    EXPECT_EQ(Send(remove), 0);
    EXPECT_EQ(tray->IconCount(), 2);
    EXPECT_EQ(refreshes, 0);

    for (uint32_t command : {3u, 4u}) {
        Request other{command, owner, 7, NIF_TIP, WM_APP + 3, nullptr, L"other"};
        EXPECT_EQ(Send(other), 0);
    }
    EXPECT_EQ(Icon(0).Hint(), "tip");
    EXPECT_EQ(tray->TrayInfo()[0].CallbackMessage, static_cast<uint32_t>(WM_APP + 1));
}

TEST_F(TrayTest, DeletingTheMiddleOfThreeMovesTheThirdDown) {
    HWND owners3[3] = {NewOwner(), NewOwner(), NewOwner()};
    const LPCWSTR pictures[3] = {IDI_WARNING, IDI_ERROR, IDI_INFORMATION};
    for (int i = 0; i < 3; ++i) {
        Request add{NIM_ADD,
                    owners3[i],
                    10u + i,
                    0,
                    static_cast<uint32_t>(WM_APP + 10 + i),
                    LoadIcon(nullptr, pictures[i]),
                    L"tip " + std::to_wstring(i)};
        ASSERT_EQ(Send(add), 1);
    }
    auto thirdLook = PixelsOf(Icon(2));
    ASSERT_NE(PixelsOf(Icon(1)), thirdLook);
    TTrayIconImage* second = &Icon(1);
    HWND thirdWindow = Icon(2).Handle();

    EXPECT_EQ(Send(Request{NIM_DELETE, owners3[1], 11}), 1);
    ASSERT_EQ(tray->IconCount(), 2);
    EXPECT_EQ(&Icon(1), second); // controls stay; what they show moves
    EXPECT_EQ(Icon(1).Tag, 1);
    EXPECT_EQ(Icon(1).Left(), 29);
    EXPECT_EQ(Icon(1).Hint(), "tip 2");
    EXPECT_EQ(WindowTextOf(Icon(1)), "tip 2");
    EXPECT_EQ(PixelsOf(Icon(1)), thirdLook);
    const TTrayIconRecord& moved = tray->TrayInfo()[1];
    EXPECT_EQ(moved.Owner, owners3[2]);
    EXPECT_EQ(moved.Id, 12u);
    EXPECT_EQ(moved.CallbackMessage, static_cast<uint32_t>(WM_APP + 12));
    EXPECT_FALSE(IsWindow(thirdWindow));
    EXPECT_EQ(IconControlsOnPanel(), 2);
    EXPECT_EQ(form->plSysTray->Width(), 54);
    EXPECT_EQ(refreshes, 1);

    SendMessageA(Icon(1).Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(Icon(1).Handle(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    auto posted = TakePosted(owners3[2]);
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_APP + 12));
    EXPECT_EQ(posted[0].id, 12u);
    EXPECT_EQ(posted[0].mouse, WM_LBUTTONDOWN);
    EXPECT_EQ(posted[1].mouse, WM_LBUTTONUP);
    EXPECT_TRUE(TakePosted(owners3[1]).empty());
}

// Requests answer from the records alone; the controls, the panel and the
// task buttons follow in one step for the whole burst.
TEST_F(TrayTest, ABurstOfRequestsIsAnsweredAtOnceAndShownInOneStep) {
    HWND a = NewOwner(), b = NewOwner();
    ASSERT_EQ(Add(a, 1, L"first"), 1);
    ASSERT_EQ(Add(b, 2, L"second"), 1);
    TTrayIconImage* firstControl = &Icon(0);
    TTrayIconImage* secondControl = &Icon(1);
    const int width = form->plSysTray->Width();

    auto block = PlatformBlock(Request{NIM_DELETE, a, 1});
    ASSERT_EQ(SendBlock(tray->Handle(), block.data(), block.size()), 1);
    for (uint32_t id = 3; id < 6; ++id) {
        block = PlatformBlock(
            Request{NIM_ADD, b, id, NIF_TIP | NIF_MESSAGE, WM_APP + 3, nullptr, L"more"});
        ASSERT_EQ(SendBlock(tray->Handle(), block.data(), block.size()), 1);
    }
    EXPECT_EQ(tray->IconCount(), 4);
    EXPECT_TRUE(tray->PresentPending());
    EXPECT_EQ(IconControlsOnPanel(), 2);
    EXPECT_EQ(form->plSysTray->Width(), width);
    EXPECT_EQ(refreshes, 0);
    // Before the step a press on a control reaches the icon it still shows,
    // and a press on the deleted icon's place reaches nobody.
    SendMessageA(firstControl->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_TRUE(TakePosted(a).empty());
    EXPECT_TRUE(TakePosted(b).empty());
    SendMessageA(secondControl->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    auto posted = TakePosted(b);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].id, 2u);

    ASSERT_TRUE(test::WaitUntil([&] { return ShownIcons() == 4; }, 5000));
    EXPECT_EQ(IconControlsOnPanel(), 4);
    EXPECT_EQ(form->plSysTray->Width(), 94);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(Icon(0).Hint(), "second");
    EXPECT_EQ(Icon(3).Hint(), "more");
}

TEST_F(TrayTest, ModifyWithOnlyTheTipFlagKeepsPictureAndCallback) {
    HWND owner = NewOwner();
    ASSERT_EQ(Add(owner, 3, L"before", WM_APP + 7), 1);
    auto look = PixelsOf(Icon(0));
    Request modify{NIM_MODIFY, owner, 3, NIF_TIP, WM_APP + 8, LoadIcon(nullptr, IDI_ERROR),
                   L"after"};
    EXPECT_EQ(Send(modify), 1);
    EXPECT_EQ(Icon(0).Hint(), "after");
    EXPECT_EQ(WindowTextOf(Icon(0)), "after");
    EXPECT_EQ(PixelsOf(Icon(0)), look);
    EXPECT_EQ(tray->TrayInfo()[0].CallbackMessage, static_cast<uint32_t>(WM_APP + 7));
    modify.flags = NIF_ICON | NIF_MESSAGE;
    EXPECT_EQ(Send(modify), 1);
    EXPECT_NE(PixelsOf(Icon(0)), look);
    EXPECT_EQ(tray->TrayInfo()[0].CallbackMessage, static_cast<uint32_t>(WM_APP + 8));
}

TEST_F(TrayTest, OwnersThatAreNoWindowAndIdsFrom0xFFFFFFA0UpAreRefused) {
    HWND gone = NewOwner();
    DestroyWindow(gone);
    EXPECT_EQ(Send(Request{NIM_ADD, gone, 1}), 0);
    EXPECT_EQ(Send(Request{NIM_ADD, reinterpret_cast<HWND>(static_cast<intptr_t>(-1)), 1}), 0);
    EXPECT_EQ(Send(Request{NIM_MODIFY, nullptr, 1}), 0);
    EXPECT_EQ(tray->IconCount(), 0);
    HWND owner = NewOwner();
    for (uint32_t command : {0u, 1u, 2u})
        EXPECT_EQ(Send(Request{command, owner, 0xFFFFFFA0u}), 0);
    EXPECT_EQ(Send(Request{NIM_ADD, owner, 0xFFFFFFFFu}), 0);
    EXPECT_EQ(tray->IconCount(), 0);
    EXPECT_EQ(Send(Request{NIM_ADD, owner, 0xFFFFFF9Fu}), 1);
    EXPECT_EQ(tray->TrayInfo().at(0).Id, 0xFFFFFF9Fu);
}

TEST_F(TrayTest, MouseEventsArePostedToTheOwner) {
    HWND owner = NewOwner();
    ASSERT_EQ(Add(owner, 4, L"tip", WM_APP + 4), 1);
    HWND icon = Icon(0).Handle();
    SendMessageA(icon, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    SendMessageA(icon, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
    SendMessageA(icon, WM_RBUTTONUP, 0, MAKELPARAM(2, 2));
    SendMessageA(icon, WM_MBUTTONDBLCLK, MK_MBUTTON, MAKELPARAM(2, 2));
    SendMessageA(icon, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    std::vector<LPARAM> mice;
    for (const auto& posted : TakePosted(owner)) {
        EXPECT_EQ(posted.message, static_cast<UINT>(WM_APP + 4));
        EXPECT_EQ(posted.id, 4u);
        mice.push_back(posted.mouse);
    }
    EXPECT_EQ(mice, (std::vector<LPARAM>{WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MBUTTONDOWN,
                                         WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
}

TEST_F(TrayTest, APressRestoresAMinimisedOwner) {
    HWND owner = NewOwner();
    ShowWindow(owner, SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(IsIconic(owner));
    ASSERT_EQ(Add(owner, 5), 1);
    SendMessageA(Icon(0).Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(Icon(0).Handle(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_FALSE(IsIconic(owner));
    EXPECT_EQ(TakePosted(owner).size(), 2u);
}

TEST_F(TrayTest, BlocksTooShortOrMissingAreRefusedAndLogged) {
    test::ScratchDir folder("tray");
    TLog log(folder / "tray.log");
    SetShellLog(&log);
    HWND owner = NewOwner();
    auto block = PlatformBlock(Request{NIM_ADD, owner, 1, 0, WM_APP, nullptr, L"abcdefgh"});
    EXPECT_EQ(SendBlock(tray->Handle(), nullptr, 100), 0);
    EXPECT_EQ(SendBlock(tray->Handle(), block.data(), 31), 0);
    EXPECT_EQ(SendMessageA(tray->Handle(), WM_COPYDATA, 0, 0), 0);
    EXPECT_EQ(tray->IconCount(), 0);
    // The tip is read only as far as the block reaches: 32 bytes + 3 units.
    EXPECT_EQ(SendBlock(tray->Handle(), block.data(), 32 + 7), 1);
    EXPECT_EQ(Icon(0).Hint(), "abc");
    // A handle that is no icon leaves an empty picture, and a log line.
    Request bad{NIM_MODIFY, owner, 1, NIF_ICON, 0, reinterpret_cast<HICON>(0x7654), L""};
    EXPECT_EQ(Send(bad), 1);
    EXPECT_FALSE(Icon(0).HasPicture());
    SetShellLog(nullptr);
    std::string text = test::ReadFileText(log.FileName());
    EXPECT_NE(text.find("TrayWindowProc: the request carries no data block"), std::string::npos);
    EXPECT_NE(text.find("TrayWindowProc: the request block of 31 bytes is too short"),
              std::string::npos);
    EXPECT_NE(text.find("TrayWindowProc: the request carries no COPYDATASTRUCT"),
              std::string::npos);
    EXPECT_NE(text.find("ModifyTrayIcon: the icon handle"), std::string::npos);
}

TEST_F(TrayTest, WinesOwnLayoutIsUnderstood) {
    HWND owner = NewOwner();
    // A character beyond the 16-bit range across the 32-unit limit goes whole.
    std::wstring tip = std::wstring(31, L'w') + L"\U0001F600" + std::wstring(60, L'w');
    Request add{
        0,  owner, 21, NIF_ICON | NIF_TIP | NIF_MESSAGE, WM_APP + 21, LoadIcon(nullptr, IDI_ERROR),
        tip};
    auto block = WineBlock(add);
    ASSERT_GT(block.size(), 960u);
    EXPECT_EQ(SendBlock(tray->Handle(), block.data(), block.size(), NIM_ADD), 1);
    ASSERT_EQ(tray->IconCount(), 1);
    EXPECT_EQ(Icon(0).Hint(), std::string(31, 'w'));
    EXPECT_TRUE(Icon(0).HasPicture());
    EXPECT_EQ(tray->TrayInfo()[0].CallbackMessage, static_cast<uint32_t>(WM_APP + 21));
    // One byte off the size the icon fields give: read as the platform's block.
    EXPECT_EQ(SendBlock(tray->Handle(), block.data(), block.size() - 1, NIM_DELETE), 0);
    auto bare = WineBlock(Request{0, owner, 21, 0});
    ASSERT_EQ(bare.size(), 960u);
    EXPECT_EQ(SendBlock(tray->Handle(), bare.data(), bare.size(), NIM_DELETE), 1);
    EXPECT_EQ(tray->IconCount(), 0);
}

} // namespace
