#include "system/DefaultShell.h"
#include "base/Log.h"
#include "base/Platform.h"
#include "tests/system/AutorunFixture.h"

#include <gtest/gtest.h>
#include <memory>

namespace orvane::test {
namespace {

class SetDefaultShellTest : public ::testing::Test {
  protected:
    SetDefaultShellTest()
        : machineShell_(HKEY_LOCAL_MACHINE, kWinlogonKey, "Shell", "before.exe"),
          userShell_(HKEY_CURRENT_USER, kWinlogonKey, "Shell", "before.exe"),
          bootShell_(WindowsFolder() + "\\System.ini", "boot", "shell", "before.exe") {}

    void UseWindows98() {
        appDefaults_ = std::make_unique<ScopedRegValue>(HKEY_CURRENT_USER, kRunnerAppDefaults,
                                                        "Version", "win98");
    }
    std::optional<DWORD> Run(const std::string& command, const std::string& logFlag = "1") {
        return RunRunner("shell \"" + command + "\" \"" + logFile_ + "\" " + logFlag);
    }
    std::vector<std::string> LogLines() { return SplitLines(ReadFileText(logFile_)); }
    std::optional<std::string> BootShell() {
        return ReadIniValue(WindowsFolder() + "\\System.ini", "boot", "shell");
    }
    std::optional<std::string> WinlogonShell(HKEY root) {
        return GetRegString(root, kWinlogonKey, "Shell");
    }
    static bool EndsWith(const std::string& text, const std::string& end) {
        return text.size() >= end.size() &&
               text.compare(text.size() - end.size(), end.size(), end) == 0;
    }

    ScratchDir dir_{"shell"};
    std::string logFile_ = dir_ / "run.log";

  private:
    ScopedRegValue machineShell_, userShell_;
    ScopedIniValue bootShell_;
    std::unique_ptr<ScopedRegValue> appDefaults_;
};

TEST_F(SetDefaultShellTest, NtWritesWinlogonShellOfMachineAndUserAndLogsIt) {
    const std::string command = "C:\\Orvane\\Orvane_Shell.exe";
    ASSERT_EQ(Run(command), kPlatformNT);
    EXPECT_EQ(WinlogonShell(HKEY_LOCAL_MACHINE), command);
    EXPECT_EQ(WinlogonShell(HKEY_CURRENT_USER), command);
    EXPECT_EQ(BootShell(), "before.exe");
    auto lines = LogLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(EndsWith(lines[2], " Set default shell: " + command + "... done")) << lines[2];

    ASSERT_EQ(Run("explorer.exe", "0"), kPlatformNT);
    EXPECT_EQ(WinlogonShell(HKEY_LOCAL_MACHINE), "explorer.exe");
    EXPECT_EQ(WinlogonShell(HKEY_CURRENT_USER), "explorer.exe");
    // Without logging the fresh log keeps only its banner and empty line.
    EXPECT_EQ(LogLines().size(), 2u);
}

TEST_F(SetDefaultShellTest, Win9xWritesShortPathToSystemIni) {
    const std::string folder = "C:\\Program Files\\Orvane Test Dir";
    CreateDirectoryA(folder.c_str(), nullptr);
    ScopedFile program(folder + "\\shell.exe");
    WriteFileText(program.path(), "not a program");
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(program.path().c_str(), shortPath, MAX_PATH), 0u);
    ASSERT_EQ(std::string(shortPath).find(' '), std::string::npos) << shortPath;

    UseWindows98();
    ASSERT_EQ(Run(program.path()), kPlatform9x);
    EXPECT_EQ(BootShell(), std::string(shortPath));
    EXPECT_EQ(WinlogonShell(HKEY_LOCAL_MACHINE), "before.exe");
    EXPECT_EQ(WinlogonShell(HKEY_CURRENT_USER), "before.exe");
    auto lines = LogLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(EndsWith(lines[2], " Set default shell: " + program.path() + "... done"))
        << lines[2];

    ASSERT_EQ(Run("explorer.exe"), kPlatform9x);
    EXPECT_EQ(BootShell(), "explorer.exe");
    RemoveDirectoryA(folder.c_str());
}

TEST(IniShellCommand, ShortensOnlyPathsThatExist) {
    EXPECT_EQ(IniShellCommand("explorer.exe"), "explorer.exe");
    // Writing the empty result of a failed shortening would leave no shell at all.
    const std::string missing = "C:\\Orvane Missing Dir\\shell.exe";
    EXPECT_EQ(IniShellCommand(missing), missing);
    ScratchDir dir("Orvane Long Folder Name");
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(dir.path().c_str(), shortPath, MAX_PATH), 0u);
    EXPECT_EQ(IniShellCommand(dir.path()), std::string(shortPath));
    EXPECT_NE(IniShellCommand(dir.path()), dir.path());
}

} // namespace
} // namespace orvane::test
