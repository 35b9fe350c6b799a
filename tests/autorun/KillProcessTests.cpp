#include "shell/KillProcess.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace orvane::test {
namespace {

TEST(ProcessNameMatches, ComparesFileNamePartAndWholeFieldIgnoringAsciiCase) {
    // 9x lists full paths, NT only file names.
    EXPECT_TRUE(ProcessNameMatches("explorer.exe", "C:\\WINDOWS\\EXPLORER.EXE"));
    EXPECT_TRUE(ProcessNameMatches("explorer.exe", "explorer.exe"));
    EXPECT_TRUE(ProcessNameMatches("EXPLORER.EXE", "Explorer.exe"));
    EXPECT_TRUE(ProcessNameMatches("c:\\windows\\explorer.exe", "C:\\WINDOWS\\EXPLORER.EXE"));
}

TEST(ProcessNameMatches, RejectsPartialNames) {
    EXPECT_FALSE(ProcessNameMatches("explorer.exe", "iexplorer.exe"));
    EXPECT_FALSE(ProcessNameMatches("explorer", "explorer.exe"));
    EXPECT_FALSE(ProcessNameMatches("explorer.exe", "C:\\WINDOWS\\EXPLORER.EXE.BAK"));
    EXPECT_FALSE(ProcessNameMatches("windows\\explorer.exe", "C:\\WINDOWS\\EXPLORER.EXE"));
    EXPECT_FALSE(ProcessNameMatches("", "explorer.exe"));
}

class KillProcessByNameTest : public ::testing::Test {
  protected:
    // A copy of the idle helper under `fileName`, started.
    ChildProcess StartIdleAs(const std::string& fileName) {
        std::string target = dir_ / fileName;
        std::string source = BinDir() + "\\autorun_idle.exe";
        if (!CopyFileA(source.c_str(), target.c_str(), FALSE))
            throw std::runtime_error("cannot copy " + source);
        auto child = ChildProcess::Start("\"" + target + "\"");
        // The process list shows the program only once it has been created.
        EXPECT_TRUE(child.running());
        return child;
    }

    ScratchDir dir_{"kill"};
};

TEST_F(KillProcessByNameTest, EndsProgramNamedExplorerWithExitCodeOne) {
    auto child = StartIdleAs("explorer.exe");
    EXPECT_TRUE(KillProcessByName("explorer.exe"));
    EXPECT_EQ(child.wait(10000), 1u);
}

TEST_F(KillProcessByNameTest, MatchesWhateverTheCaseOfTheName) {
    auto child = StartIdleAs("OrvIdleCase.exe");
    EXPECT_TRUE(KillProcessByName("orvidlecase.EXE"));
    EXPECT_EQ(child.wait(10000), 1u);
}

TEST_F(KillProcessByNameTest, NameOfNoProcessGivesFalseAndEndsNothing) {
    auto child = StartIdleAs("OrvIdleKeep.exe");
    EXPECT_FALSE(KillProcessByName("orvane-no-such-program.exe"));
    EXPECT_FALSE(KillProcessByName("OrvIdleKeep"));
    EXPECT_TRUE(child.running());
}

TEST_F(KillProcessByNameTest, NeverEndsTheCallingProcess) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string own = path;
    own = own.substr(own.find_last_of('\\') + 1);
    // Reaching the expectation at all shows this process survived.
    EXPECT_FALSE(KillProcessByName(own));
}

} // namespace
} // namespace orvane::test
