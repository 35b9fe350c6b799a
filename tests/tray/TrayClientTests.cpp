// The tray against other programs: tray_client sends the platform's block or
// goes through the system's own Shell_NotifyIconW (Wine's layout under Wine).
// Also writes a picture of the panel with icons (tray\tray-panel.bmp in the
// build tree) to be looked at.
#include "tests/tray/TrayFixture.h"
#include "paint/Dib.h"

#include "system/KillProcess.h"
#include "paint/Skin.h"
#include "tests/support/TestSupport.h"

using namespace orvane;
using namespace traytest;

namespace {

class TrayClientTest : public TrayTest {
  protected:
    test::ChildProcess StartClient(const std::string& arguments) {
        return test::ChildProcess::Start("\"" + test::BinDir() + "\\tray_client.exe\" --out \"" +
                                         output + "\" " + arguments);
    }
    // The client's requests are sent to this thread: keep handling messages.
    bool WaitForEnd(test::ChildProcess& client) {
        return test::WaitUntil([&] { return !client.running(); }, 20000);
    }
    std::string Output() const { return test::ReadFileText(output); }
    bool Says(const std::string& line) const {
        return Output().find(line + "\n") != std::string::npos;
    }
    HWND ClientOwner() const {
        if (!test::FileExists(output))
            return nullptr;
        auto at = Output().find("owner ");
        return at == std::string::npos
                   ? nullptr
                   : reinterpret_cast<HWND>(std::stoull(Output().substr(at + 6)));
    }

    test::ScratchDir folder{"trayclient"};
    std::string output = folder / "client.txt";
};

TEST_F(TrayClientTest, AnotherProgramAddsIsPressedAndDeletes) {
    auto client = StartClient("add 5 \"Client tip\" callbacks 2 8000 delete 5 delete 5");
    // The icon shows by itself shortly after the request was answered.
    ASSERT_TRUE(test::WaitUntil([&] { return ShownIcons() == 1; }, 10000));
    EXPECT_EQ(Icon(0).Hint(), "Client tip");
    EXPECT_EQ(tray->TrayInfo()[0].Owner, ClientOwner());
    SendMessageA(Icon(0).Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(Icon(0).Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    ASSERT_TRUE(WaitForEnd(client));
    EXPECT_EQ(client.wait(0), 0u);
    EXPECT_TRUE(Says("reply add 5 1"));
    EXPECT_TRUE(Says("callback 5 513"));
    EXPECT_TRUE(Says("callback 5 514"));
    EXPECT_TRUE(Says("reply delete 5 1"));
    EXPECT_TRUE(Says("reply delete 5 0"));
    EXPECT_EQ(tray->IconCount(), 0);
}

TEST_F(TrayClientTest, OtherProgramsHearTaskbarCreated) {
    auto client = StartClient("created 10000");
    ASSERT_TRUE(test::WaitUntil([&] { return ClientOwner() != nullptr; }, 10000));
    tray.reset();
    tray = std::make_unique<TTray>(*form->plSysTray, [] {});
    ASSERT_TRUE(WaitForEnd(client));
    EXPECT_TRUE(Says("created"));
    EXPECT_EQ(client.wait(0), 0u);
}

TEST_F(TrayClientTest, ProgramsUsingWinesShellNotifyIconShowTheirIcons) {
    // Wine's explorer may own a tray window of its own, which Shell_NotifyIcon
    // would find first; the shell ends explorer as it starts.
    KillProcessByName("explorer.exe");
    ASSERT_TRUE(test::WaitUntil(
        [&] { return FindWindowA("Shell_TrayWnd", nullptr) == tray->Handle(); }, 5000));
    auto client = StartClient("--wine add 9 \"Wine tip\" modify 9 4 \"Changed\" sleep 3000 "
                              "delete 9");
    ASSERT_TRUE(
        test::WaitUntil([&] { return ShownIcons() == 1 && Icon(0).Hint() == "Changed"; }, 10000));
    EXPECT_TRUE(Icon(0).HasPicture());
    EXPECT_EQ(tray->TrayInfo()[0].Owner, ClientOwner());
    EXPECT_EQ(tray->TrayInfo()[0].Id, 9u);
    ASSERT_TRUE(WaitForEnd(client));
    EXPECT_TRUE(Says("reply add 9 1"));
    EXPECT_TRUE(Says("reply modify 9 1"));
    EXPECT_TRUE(Says("reply delete 9 1"));
    EXPECT_EQ(tray->IconCount(), 0);
}

// The panel and its icons painted into one bitmap, as the screen shows them.
std::vector<uint32_t> RenderPanel(TSkinPanel& panel, const std::string& bmpPath, bool icons) {
    int width = panel.Width(), height = panel.Height();
    void* bits = nullptr;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    UniqueBitmap bitmap = CreateTopDownDib(width, height, &bits);
    {
        SelectedObject selected(dc.get(), bitmap.get());
        SendMessageA(panel.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), 0);
        for (TControl* child : icons ? panel.Controls() : std::vector<TControl*>{}) {
            // Clipped to the child, as its window would be on the screen.
            int saved = SaveDC(dc.get());
            IntersectClipRect(dc.get(), child->Left(), child->Top(), child->Left() + child->Width(),
                              child->Top() + child->Height());
            SetViewportOrgEx(dc.get(), child->Left(), child->Top(), nullptr);
            SendMessageA(child->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), 0);
            RestoreDC(dc.get(), saved);
        }
        GdiFlush();
    }
    std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits),
                                 static_cast<uint32_t*>(bits) + width * height);
    for (uint32_t& pixel : pixels)
        pixel |= 0xFF000000u;
    orvane::test::WriteBmp(bmpPath, width, height, pixels);
    return pixels;
}

TEST_F(TrayTest, IconsShowWithTheirTransparencyOverThePanel) {
    CurrentSkin().LoadFromFile(test::StageDir() + "\\Skins\\Orvane.skn");
    std::string folder = test::BinDir() + "\\..\\tray";
    CreateDirectoryA(folder.c_str(), nullptr);
    for (auto picture : {IDI_INFORMATION, IDI_WARNING, IDI_ERROR, IDI_APPLICATION}) {
        Request add{NIM_ADD, NewOwner(), 1, 0, WM_APP, LoadIcon(nullptr, picture), L"icon"};
        ASSERT_EQ(Send(add), 1);
    }
    auto shown = RenderPanel(*form->plSysTray, folder + "\\tray-panel.bmp", true);
    auto empty = RenderPanel(*form->plSysTray, folder + "\\tray-face.bmp", false);
    int width = form->plSysTray->Width();
    ASSERT_EQ(width, 94);
    // Outside the icons' shapes the panel shows through; inside, the icons.
    auto at = [width](const std::vector<uint32_t>& pixels, int x, int y) {
        return pixels[static_cast<size_t>(y * width + x)];
    };
    EXPECT_EQ(at(shown, 5, 11), at(empty, 5, 11));
    int differing = 0, panelShowsThrough = 0;
    for (int y = 3; y < 19; ++y)
        for (int x = 9; x < 25; ++x) {
            differing += at(shown, x, y) != at(empty, x, y);
            panelShowsThrough += at(shown, x, y) == at(empty, x, y);
        }
    EXPECT_GT(differing, 16 * 16 / 3);
    EXPECT_GT(panelShowsThrough, 0);
}

} // namespace
