// The service window against real SHAppBarMessage calls (Wine's shell32 sends
// them as WM_COPYDATA and reads the answer from a mapping of its own), from
// this process and from appbar_client, and against broken request blocks.
#include "appbar/AppBarService.h"
#include "base/Log.h"
#include "system/KillProcess.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstring>
#include <random>

using namespace orvane;

namespace {

constexpr UINT kCallback = WM_APP + 7;

RECT WorkArea() {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// A window of this process that records the notices its bar gets.
class BarWindow {
  public:
    BarWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"AppBarTestBar";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1,
                                  nullptr, nullptr, wc.hInstance, this);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~BarWindow() { DestroyWindow(window_); }
    HWND Handle() const { return window_; }
    std::vector<std::pair<WPARAM, LPARAM>> notices;

    UINT_PTR Send(UINT message, UINT edge = ABE_TOP, RECT rect = {}, LPARAM lParam = 0) {
        APPBARDATA data{};
        data.cbSize = sizeof data;
        data.hWnd = window_;
        data.uCallbackMessage = kCallback;
        data.uEdge = edge;
        data.rc = rect;
        data.lParam = lParam;
        UINT_PTR result = SHAppBarMessage(message, &data);
        answered = data.rc;
        answeredEdge = data.uEdge;
        return result;
    }
    RECT answered{};
    UINT answeredEdge = 0;

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<BarWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == kCallback)
            self->notices.emplace_back(wParam, lParam);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    HWND window_ = nullptr;
};

class AppBarServiceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Wine's explorer may keep an app-bar window of its own.
        static bool explorerEnded = KillProcessByName("explorer.exe") || true;
        (void)explorerEnded;
        before = WorkArea();
        log = std::make_unique<TLog>(folder / "shell.log");
        SetShellLog(log.get());
        TAppBarHost host;
        host.ActiveWindow = [this] { return active; };
        host.FullScreenChanged = [this](HWND window) { fullScreenCalls.push_back(window); };
        service = std::make_unique<TAppBarService>(std::move(host));
        const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        shellBar = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"bar", WS_POPUP, 0, height - 30,
                                   width, 30, nullptr, nullptr, nullptr, nullptr);
        service->AddShellBar(shellBar, {0, height - 26, width, height});
    }
    void TearDown() override {
        service.reset();
        DestroyWindow(shellBar);
        SetShellLog(nullptr);
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &before, 0);
    }
    std::string Log() const { return test::ReadFileText(folder / "shell.log"); }
    LRESULT SendBlock(const void* block, DWORD size, ULONG_PTR message) {
        COPYDATASTRUCT data{message, size, const_cast<void*>(block)};
        return SendMessageW(service->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }

    test::ScratchDir folder{"appbar"};
    std::unique_ptr<TLog> log;
    RECT before{};
    TActiveWindow active;
    std::vector<HWND> fullScreenCalls;
    std::unique_ptr<TAppBarService> service;
    HWND shellBar = nullptr;
};

} // namespace

TEST_F(AppBarServiceTest, TopBarsTakeTheTopStackAndGiveItBack) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(WorkArea().bottom, height - 26) << "the shell's bar is one of the bars";
    BarWindow first, second;
    ASSERT_EQ(first.Send(ABM_NEW), 1u);
    EXPECT_EQ(first.Send(ABM_NEW), 0u) << "registered twice";
    ASSERT_EQ(second.Send(ABM_NEW), 1u);

    ASSERT_EQ(first.Send(ABM_QUERYPOS, ABE_TOP, {0, 50, width, 90}), 1u);
    EXPECT_EQ(first.answered.top, 0);
    EXPECT_EQ(first.answered.bottom, 40);
    ASSERT_EQ(first.Send(ABM_SETPOS, ABE_TOP, {0, 0, width, 40}), 1u);
    EXPECT_EQ(WorkArea().top, 40);
    ASSERT_EQ(second.Send(ABM_SETPOS, ABE_TOP, {0, 0, width, 20}), 1u);
    EXPECT_EQ(second.answered.top, 40) << "stacked inside the first";
    EXPECT_EQ(second.answered.bottom, 60);
    EXPECT_EQ(WorkArea().top, 60);
    EXPECT_EQ(WorkArea().bottom, height - 26);

    // The taskbar's place and state.
    ASSERT_EQ(first.Send(ABM_GETTASKBARPOS), 1u);
    EXPECT_EQ(first.answeredEdge, static_cast<UINT>(ABE_BOTTOM));
    EXPECT_EQ(first.answered.top, height - 30);
    EXPECT_EQ(first.Send(ABM_GETSTATE), static_cast<UINT_PTR>(ABS_ALWAYSONTOP));

    // The first bar's room going tells the second.
    test::PumpMessagesFor(50);
    second.notices.clear();
    ASSERT_EQ(first.Send(ABM_REMOVE), 1u);
    test::PumpMessagesFor(50);
    ASSERT_EQ(second.notices.size(), 1u);
    EXPECT_EQ(second.notices[0].first, static_cast<WPARAM>(ABN_POSCHANGED));
    // Told so, the second bar asks again and moves out to the edge.
    ASSERT_EQ(second.Send(ABM_SETPOS, ABE_TOP, second.answered), 1u);
    EXPECT_EQ(second.answered.top, 0);
    EXPECT_EQ(WorkArea().top, 20);
    ASSERT_EQ(second.Send(ABM_REMOVE), 1u);
    EXPECT_EQ(WorkArea().top, 0);
    EXPECT_EQ(first.Send(ABM_SETPOS, ABE_TOP, {0, 0, width, 40}), 0u) << "no bar any more";
    EXPECT_NE(Log().find("AppBarWindowProc: ABM_SETPOS refused: the window"), std::string::npos);
}

TEST_F(AppBarServiceTest, AutoHideBarsAndFullScreenNotices) {
    BarWindow first, second;
    first.Send(ABM_NEW);
    second.Send(ABM_NEW);
    EXPECT_EQ(first.Send(ABM_SETAUTOHIDEBAR, ABE_LEFT, {}, TRUE), 1u);
    EXPECT_EQ(second.Send(ABM_SETAUTOHIDEBAR, ABE_LEFT, {}, TRUE), 0u);
    EXPECT_EQ(second.Send(ABM_GETAUTOHIDEBAR, ABE_LEFT),
              static_cast<UINT_PTR>(reinterpret_cast<uintptr_t>(first.Handle())));
    EXPECT_EQ(first.Send(ABM_ACTIVATE), 1u);
    EXPECT_EQ(first.Send(ABM_WINDOWPOSCHANGED), 1u);

    const HWND video = second.Handle();
    active = {
        video, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, true, false};
    service->Look();
    service->Look();
    active = {};
    service->Look();
    test::PumpMessagesFor(50);
    EXPECT_EQ(fullScreenCalls, (std::vector<HWND>{video, nullptr}));
    ASSERT_EQ(first.notices.size(), 2u);
    EXPECT_EQ(first.notices[0], (std::pair<WPARAM, LPARAM>(ABN_FULLSCREENAPP, TRUE)));
    EXPECT_EQ(first.notices[1], (std::pair<WPARAM, LPARAM>(ABN_FULLSCREENAPP, FALSE)));
}

TEST_F(AppBarServiceTest, ABarWhoseProcessIsKilledGivesItsRoomBack) {
    auto client = test::ChildProcess::Start("\"" + test::BinDir() + "\\appbar_client.exe\" 1 35");
    // The client's requests come to this thread: keep handling messages.
    ASSERT_TRUE(test::WaitUntil([&] { return WorkArea().top == 35; }, 15000))
        << "top " << WorkArea().top;
    ASSERT_EQ(service->Layout().Bars().size(), 2u);
    BarWindow inner;
    inner.Send(ABM_NEW);
    inner.Send(ABM_QUERYPOS, ABE_TOP, {0, 0, 100, 10});
    EXPECT_EQ(inner.answered.top, 35);

    client.terminate();
    ASSERT_TRUE(test::WaitUntil([&] { return WorkArea().top == 0; }, 5000));
    EXPECT_NE(Log().find("is gone: its room is given back"), std::string::npos);
    inner.Send(ABM_QUERYPOS, ABE_TOP, {0, 0, 100, 10});
    EXPECT_EQ(inner.answered.top, 0);
}

TEST_F(AppBarServiceTest, BrokenAndForeignRequestsAreRefusedWithALogLine) {
    BarWindow bar;
    uint8_t block[kAppBarRequestSize] = {};
    const uint32_t self = GetCurrentProcessId();
    const uint32_t window = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(bar.Handle()));
    std::memcpy(block + 4, &self, 4);
    std::memcpy(block + 8, &window, 4);
    // Sizes around the right one, and no block at all.
    for (DWORD size : {0u, 1u, 44u, 47u, 49u, 96u})
        EXPECT_EQ(SendBlock(block, size, ABM_NEW), 0) << size;
    COPYDATASTRUCT empty{ABM_NEW, 48, nullptr};
    EXPECT_EQ(SendMessageW(service->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty)), 0);
    EXPECT_NE(Log().find("block of 47 bytes is not the 48 bytes expected"), std::string::npos);

    // A right block without an answer mapping is answered by the result only;
    // a mapping handle that is none is refused.
    EXPECT_EQ(SendBlock(block, sizeof block, ABM_NEW), 1);
    const uint32_t bogusMap = 0x7FFC;
    std::memcpy(block, &bogusMap, 4);
    EXPECT_EQ(SendBlock(block, sizeof block, ABM_REMOVE), 0);
    EXPECT_NE(Log().find("ABM_REMOVE: the answer's mapping 0x7FFC"), std::string::npos);

    // A dead window, a window of another process, an unknown message.
    std::memset(block, 0, 4);
    const uint32_t dead = 0x4242;
    std::memcpy(block + 8, &dead, 4);
    EXPECT_EQ(SendBlock(block, sizeof block, ABM_NEW), 0);
    EXPECT_NE(Log().find("ABM_NEW refused: the window 0x4242 is no window"), std::string::npos);
    const uint32_t other = self + 4;
    std::memcpy(block + 4, &other, 4);
    std::memcpy(block + 8, &window, 4);
    EXPECT_EQ(SendBlock(block, sizeof block, ABM_SETPOS), 0);
    EXPECT_NE(Log().find("does not belong to the sending process"), std::string::npos);
    std::memcpy(block + 4, &self, 4);
    EXPECT_EQ(SendBlock(block, sizeof block, 77), 0);
    EXPECT_NE(Log().find("app-bar message 77 refused: unknown request"), std::string::npos);

    // Random blocks of random sizes: answered, never a crash.
    std::mt19937 random(23);
    std::vector<uint8_t> noise(200);
    for (int i = 0; i < 300; ++i) {
        for (uint8_t& byte : noise)
            byte = static_cast<uint8_t>(random());
        SendBlock(noise.data(), random() % 2 ? 48 : random() % 200, random() % 12);
    }
    EXPECT_TRUE(IsWindow(service->Handle()));
}
