// A shorter long run (bench/shell's is the full one): after windows, tray
// icons, panel slides and file browsers come and go, the shell's resident
// memory, handles, windows and threads are back within 5 % of where they
// were, and its work log stays below the size at which it is rotated.
#include "bench/shell/LongRun.h"
#include "tests/e2e/ShellHarness.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace orvane::test;

TEST(LongRunE2E, EverythingThatCameGoesAgain) {
    ShellInstall install;
    StartedShell started = StartShell(install);
    ASSERT_NE(started.main, nullptr);
    shellbench::Process shell = shellbench::Process::Attach(started.process.id());
    ASSERT_TRUE(shellbench::WaitForShell(shell, 20000));

    shellbench::LongRunPlan plan{150, 300, 2, 2};
    shellbench::LongRunResult result = shellbench::RunLongRun(
        shell, plan, [](const std::string& line) { std::printf("%s\n", line.c_str()); });
    ASSERT_TRUE(result.completed) << result.failure;
    const shellbench::ProcessFigures &before = result.before, &after = result.after;
    std::printf(
        "resident %.1f -> %.1f MB, handles %lu -> %lu, windows %d -> %d, threads %d -> %d\n",
        before.residentMb, after.residentMb, static_cast<unsigned long>(before.handles),
        static_cast<unsigned long>(after.handles), before.windows, after.windows, before.threads,
        after.threads);
    EXPECT_TRUE(shellbench::WithinPercent(before.residentMb, after.residentMb, 5));
    EXPECT_TRUE(shellbench::WithinPercent(before.handles, after.handles, 5));
    EXPECT_TRUE(shellbench::WithinPercent(before.windows, after.windows, 5));
    EXPECT_TRUE(shellbench::WithinPercent(before.threads, after.threads, 5));
    EXPECT_GT(before.windows, 10) << "the shell's windows are counted";

    EXPECT_LT(ReadFileText(install.LogPath()).size(), 1024u * 1024u);
    EXPECT_TRUE(CloseShell(started.process, started.main));
}
