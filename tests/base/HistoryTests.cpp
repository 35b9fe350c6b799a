#include "base/History.h"
#include "base/ShellError.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

class HistoryTest : public testing::Test {
  protected:
    test::ScratchDir dir{"history"};
    IniFile ini{dir / "Orvane_Shell.ini"};

    IniPairs Keys(std::initializer_list<const char*> values) const {
        IniPairs pairs;
        for (const char* value : values)
            pairs.emplace_back(std::to_string(pairs.size()), value);
        return pairs;
    }
};

TEST_F(HistoryTest, TheItemGoesToTheFrontOnce) {
    struct Case {
        const char* file;
        const char* item;
        IniPairs expected;
    };
    const Case cases[] = {
        {"", "notepad", Keys({"notepad"})},
        {"[Run]\r\n0=notepad\r\n1=calc\r\n2=cmd\r\n", "calc", Keys({"calc", "notepad", "cmd"})},
        {"[Run]\r\n0=notepad\r\n1=calc\r\n", "cmd", Keys({"cmd", "notepad", "calc"})},
        // Only the last of duplicate occurrences is removed.
        {"[Run]\r\n0=calc\r\n1=notepad\r\n2=calc\r\n3=cmd\r\n", "calc",
         Keys({"calc", "calc", "notepad", "cmd"})},
        // Items differing in case stay separate.
        {"[Run]\r\n0=Calc\r\n", "calc", Keys({"calc", "Calc"})}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (*c.file) // the first case starts without a file
            test::WriteFileText(ini.path(), c.file);
        AddToHistory(ini, "Run", c.item);
        EXPECT_EQ(ini.ReadSection("Run"), c.expected);
    }
}

TEST_F(HistoryTest, EleventhItemDropsTheOldest) {
    for (int i = 1; i <= 10; ++i)
        AddToHistory(ini, "Recent", "C:\\folder" + std::to_string(i) + "\\");
    EXPECT_EQ(ini.ReadSection("Recent").size(), 10u);
    AddToHistory(ini, "Recent", "C:\\folder11\\");
    auto pairs = ini.ReadSection("Recent");
    ASSERT_EQ(pairs.size(), 10u);
    for (size_t i = 0; i < pairs.size(); ++i) {
        EXPECT_EQ(pairs[i].first, std::to_string(i));
        EXPECT_EQ(pairs[i].second, "C:\\folder" + std::to_string(11 - i) + "\\");
    }
}

TEST_F(HistoryTest, OtherSectionsAreLeftAlone) {
    test::WriteFileText(
        ini.path(),
        "[General]\r\nLanguage=Deutsch\r\n[Run]\r\n0=calc\r\n[Bookmarks]\r\n0=C:\\\r\n");
    AddToHistory(ini, "Run", "cmd");
    EXPECT_EQ(ini.ReadString("General", "Language", ""), "Deutsch");
    EXPECT_EQ(ini.ReadString("Bookmarks", "0", ""), "C:\\");
    EXPECT_EQ(ini.ReadSection("Run"), Keys({"cmd", "calc"}));
}

TEST_F(HistoryTest, UnwritableFileRaises) {
    IniFile nowhere(dir / "missing\\Orvane_Shell.ini");
    try {
        AddToHistory(nowhere, "Run", "calc");
        FAIL() << "history written into a missing folder";
    } catch (const ShellError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + nowhere.path());
    }
}

} // namespace
} // namespace orvane
