// The shell hook library. The hook is system-wide, so these tests
// run in a scratch Wine prefix (SCRATCH) and each leaves no hook behind.
#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"
#include "winwatch/winwatch.h"

#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using namespace orvane::test;

namespace {

const char kBlockName[] = "(2E662583-74C4-45DB-B6DF-FE358C94258D}";
const char kTargetClass[] = "WinwatchTestTarget";

struct Notification {
    HWND target;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Notification> g_notifications;

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOOKNOTIFY) {
        g_notifications.push_back({window, wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden top-level window of this thread, standing in for the taskbar.
HWND CreateTarget() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = TargetProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kTargetClass;
        registered = RegisterClassA(&wc) != 0;
    }
    return CreateWindowExA(0, kTargetClass, "winwatch test target", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                           100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The two fields of the shared block as this process sees them.
std::pair<LONG, LONG> ReadBlock() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, kBlockName);
    if (!mapping)
        throw std::runtime_error("no shared block");
    auto* fields =
        static_cast<const volatile LONG*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 8));
    if (!fields) {
        CloseHandle(mapping);
        throw std::runtime_error("no view of the shared block");
    }
    std::pair<LONG, LONG> result{fields[0], fields[1]};
    UnmapViewOfFile(const_cast<LONG*>(fields));
    CloseHandle(mapping);
    return result;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// What one run of the events helper did.
struct EventsRun {
    bool ended = false;        // it ended within the bound (else it was killed)
    DWORD exitCode = 0;        // its exit code, when it ended
    DWORD elapsedMs = 0;       // from its start to its end (or the bound)
    std::vector<HWND> windows; // the windows it created and destroyed, in order
};

// Runs the events helper for `count` windows (`options` as the helper takes
// them). With `pump`, this thread handles its messages while it waits (a
// responsive shell); without, it does not look at its queue at all (a hung
// shell).
EventsRun RaiseEvents(int count, bool pump, DWORD boundMs, const std::string& options = "") {
    ScratchDir dir("winwatch");
    std::string outFile = dir / "windows.txt";
    EventsRun run;
    DWORD start = GetTickCount();
    ChildProcess helper =
        ChildProcess::Start(Quoted(BinDir() + "\\winwatch_events_helper.exe") + " " +
                            std::to_string(count) + " " + Quoted(outFile) + " " + options);
    std::optional<DWORD> code;
    if (pump) {
        WaitUntil([&] { return !helper.running(); }, boundMs);
        code = helper.wait(0);
    } else {
        code = helper.wait(boundMs);
    }
    run.elapsedMs = GetTickCount() - start;
    if (!code)
        return run; // the helper is ended when it goes
    run.ended = true;
    run.exitCode = *code;
    if (FileExists(outFile))
        for (const std::string& line : SplitLines(ReadFileText(outFile)))
            if (!line.empty())
                run.windows.push_back(
                    reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::stoull(line))));
    return run;
}

bool IsForwardedCode(LPARAM code) {
    return code == 1 || code == 2 || code == 4 || code == 6 || code == HSHELL_FLASH;
}

// The creation and destruction notifications the target got about `windows`,
// in order of arrival.
std::vector<std::pair<HWND, LPARAM>> CreatedDestroyed(HWND target,
                                                      const std::vector<HWND>& windows) {
    std::vector<std::pair<HWND, LPARAM>> result;
    for (const Notification& n : g_notifications) {
        HWND about = reinterpret_cast<HWND>(n.wParam);
        if (n.target != target || (n.lParam != 1 && n.lParam != 2))
            continue;
        for (HWND w : windows)
            if (w == about)
                result.emplace_back(about, n.lParam);
    }
    return result;
}

class WinwatchTest : public testing::Test {
  protected:
    void SetUp() override {
        RemoveShellHook(); // no hook from an earlier test
        g_notifications.clear();
    }
    void TearDown() override {
        RemoveShellHook();
        PumpMessagesFor(50);
        for (HWND window : windows_)
            if (IsWindow(window))
                DestroyWindow(window);
        PumpMessagesFor(50);
        g_notifications.clear();
    }
    HWND Target() {
        HWND window = CreateTarget();
        if (window)
            windows_.push_back(window);
        return window;
    }

  private:
    std::vector<HWND> windows_;
};

} // namespace

TEST_F(WinwatchTest, RemoveWithoutHookReturnsZeroAndChangesNothing) {
    auto before = ReadBlock();
    EXPECT_EQ(RemoveShellHook(), 0);
    EXPECT_EQ(RemoveShellHook(), 0);
    EXPECT_EQ(ReadBlock(), before);
}

TEST_F(WinwatchTest, SetInstallsSecondRemovesThirdInstallsAgain) {
    HWND first = Target(), second = Target();
    ASSERT_TRUE(first && second);

    // First call: installed, all bits set; the block records window and hook.
    EXPECT_EQ(SetShellHook(first), -1);
    auto installed = ReadBlock();
    EXPECT_EQ(installed.first, HandleToLong(first));
    EXPECT_NE(installed.second, 0);

    // Second call: the hook is removed, nothing installed, 0; the block keeps
    // the first window and the now stale hook handle.
    EXPECT_EQ(SetShellHook(second), 0);
    EXPECT_EQ(ReadBlock(), installed);
    EXPECT_EQ(RemoveShellHook(), 0) << "a hook is still installed";
    EventsRun quiet = RaiseEvents(2, true, 20000);
    ASSERT_TRUE(quiet.ended);
    ASSERT_EQ(quiet.exitCode, 0u);
    ASSERT_EQ(quiet.windows.size(), 2u);
    EXPECT_TRUE(CreatedDestroyed(first, quiet.windows).empty());
    EXPECT_TRUE(CreatedDestroyed(second, quiet.windows).empty());

    // Third call: installed again, for the new window.
    EXPECT_EQ(SetShellHook(second), -1);
    auto again = ReadBlock();
    EXPECT_EQ(again.first, HandleToLong(second));
    EXPECT_NE(again.second, 0);
    EventsRun live = RaiseEvents(1, true, 20000);
    ASSERT_TRUE(live.ended);
    ASSERT_EQ(live.exitCode, 0u);
    ASSERT_EQ(live.windows.size(), 1u);
    EXPECT_FALSE(CreatedDestroyed(second, live.windows).empty());
    EXPECT_TRUE(CreatedDestroyed(first, live.windows).empty());

    // Removing it succeeds once; the block keeps window and handle.
    EXPECT_NE(RemoveShellHook(), 0);
    EXPECT_EQ(RemoveShellHook(), 0);
    EXPECT_EQ(ReadBlock(), again);
}

TEST_F(WinwatchTest, SecondProcessSeesTheSameBlock) {
    HWND target = Target();
    ASSERT_TRUE(target);
    ASSERT_EQ(SetShellHook(target), -1);
    auto block = ReadBlock();

    auto seenByHelper = [&]() -> std::pair<LONG, LONG> {
        ScratchDir dir("winwatch");
        std::string outFile = dir / "block.txt";
        ChildProcess helper = ChildProcess::Start(Quoted(BinDir() + "\\winwatch_block_helper.exe") +
                                                  " " + Quoted(outFile));
        std::optional<DWORD> code;
        WaitUntil([&] { return !helper.running(); }, 20000);
        code = helper.wait(0);
        if (!code || *code != 0)
            throw std::runtime_error("block helper failed");
        long window = 0, hook = 0;
        if (sscanf(ReadFileText(outFile).c_str(), "%ld %ld", &window, &hook) != 2)
            throw std::runtime_error("block helper wrote no fields");
        return {static_cast<LONG>(window), static_cast<LONG>(hook)};
    };

    EXPECT_EQ(seenByHelper(), block);
    EXPECT_EQ(seenByHelper().first, HandleToLong(target));

    // Removing leaves both fields in the block, for every process.
    EXPECT_NE(RemoveShellHook(), 0);
    EXPECT_EQ(seenByHelper(), block);
}

TEST_F(WinwatchTest, CreationAndDestructionInAnotherProgramReachTheTarget) {
    HWND target = Target();
    ASSERT_TRUE(target);
    ASSERT_EQ(SetShellHook(target), -1);

    // The helper also raises HSHELL_APPCOMMAND (12) for each window, which
    // must not arrive.
    EventsRun run = RaiseEvents(3, true, 20000, "appcommand");
    ASSERT_TRUE(run.ended);
    ASSERT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.windows.size(), 3u);

    // Each window is announced created, then destroyed, in the order the
    // helper raised the events (delivery is synchronous).
    std::vector<std::pair<HWND, LPARAM>> expected;
    for (HWND w : run.windows) {
        expected.emplace_back(w, 1);
        expected.emplace_back(w, 2);
    }
    EXPECT_EQ(CreatedDestroyed(target, run.windows), expected);

    // The same for a window that is shown before it goes.
    EventsRun shown = RaiseEvents(1, true, 20000, "show");
    ASSERT_TRUE(shown.ended);
    ASSERT_EQ(shown.exitCode, 0u);
    ASSERT_EQ(shown.windows.size(), 1u);
    std::vector<std::pair<HWND, LPARAM>> expectedShown{{shown.windows[0], 1},
                                                       {shown.windows[0], 2}};
    EXPECT_EQ(CreatedDestroyed(target, shown.windows), expectedShown);

    // Only the four forwarded codes ever arrive, and only at the target.
    for (const Notification& n : g_notifications) {
        EXPECT_EQ(n.target, target);
        EXPECT_TRUE(IsForwardedCode(n.lParam)) << "code " << n.lParam;
    }
    EXPECT_NE(RemoveShellHook(), 0);
}

TEST_F(WinwatchTest, DeadTargetDoesNotBlockOtherPrograms) {
    HWND target = CreateTarget();
    ASSERT_TRUE(target);
    ASSERT_EQ(SetShellHook(target), -1);
    DestroyWindow(target); // the shell died without removing the hook

    // This thread does not even look at its queue: nothing may depend on it.
    EventsRun run = RaiseEvents(5, false, 15000);
    ASSERT_TRUE(run.ended) << "the helper hung behind a dead target window";
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.windows.size(), 5u);
    EXPECT_NE(RemoveShellHook(), 0);
}

TEST_F(WinwatchTest, HungTargetDoesNotBlockOtherProgramsForever) {
    HWND target = Target();
    ASSERT_TRUE(target);
    ASSERT_EQ(SetShellHook(target), -1);
    PumpMessagesFor(50);

    // The target's thread stops handling messages while the helper raises ten
    // events. Each send gives up after a few seconds, and at once when the
    // target counts as hung (no message handled for 5 s): the helper ends
    // well within the bound (ten full time-outs would not).
    EventsRun run = RaiseEvents(5, false, 25000);
    ASSERT_TRUE(run.ended) << "the helper hung behind a hung target window";
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.windows.size(), 5u);
    EXPECT_LT(run.elapsedMs, 20000u);

    EXPECT_NE(RemoveShellHook(), 0);
    PumpMessagesFor(200); // whatever was left queued is handled now
}
