#include "system/KillProcess.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace orvane::test {
namespace {

TEST(ProcessNameMatches, ComparesFileNamePartOrWholeFieldIgnoringAsciiCase) {
    // 9x lists full paths, NT only file names.
    const struct {
        const char *name, *listed;
        bool matches;
    } cases[] = {{"explorer.exe", "C:\\WINDOWS\\EXPLORER.EXE", true},
                 {"explorer.exe", "explorer.exe", true},
                 {"EXPLORER.EXE", "Explorer.exe", true},
                 {"c:\\windows\\explorer.exe", "C:\\WINDOWS\\EXPLORER.EXE", true},
                 {"explorer.exe", "iexplorer.exe", false},
                 {"explorer", "explorer.exe", false},
                 {"explorer.exe", "C:\\WINDOWS\\EXPLORER.EXE.BAK", false},
                 {"windows\\explorer.exe", "C:\\WINDOWS\\EXPLORER.EXE", false},
                 {"", "explorer.exe", false}};
    for (const auto& c : cases)
        EXPECT_EQ(ProcessNameMatches(c.name, c.listed), c.matches) << c.name << " / " << c.listed;
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

TEST_F(KillProcessByNameTest, EndsProgramsOfTheNameInAnyCaseWithExitCodeOne) {
    const std::pair<const char*, const char*> cases[] = {{"explorer.exe", "explorer.exe"},
                                                         {"OrvIdleCase.exe", "orvidlecase.EXE"}};
    for (const auto& [file, asked] : cases) {
        auto child = StartIdleAs(file);
        EXPECT_TRUE(KillProcessByName(asked)) << asked;
        EXPECT_EQ(child.wait(10000), 1u) << asked;
    }
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
