#include "base/Log.h"
#include "base/ShellError.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

using test::ReadFileText;
using test::ScratchDir;
using test::SplitLines;

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() > tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class LogTest : public testing::Test {
  protected:
    ScratchDir dir{"log"};
    std::string path = dir / "Orvane_Shell.log";

    std::vector<std::string> Lines() const { return SplitLines(ReadFileText(path)); }
};

TEST_F(LogTest, NewLogHoldsBannerAndOneEmptyLine) {
    test::WriteFileText(path, "old run\r\nWork end\r\n");
    TLog log(path);
    std::string text = ReadFileText(path);
    const std::string head = "   *** Orvane Shell log - ";
    ASSERT_EQ(text.compare(0, head.size(), head), 0) << text;
    ASSERT_TRUE(EndsWith(text, " ***\r\n\r\n")) << text;
    // Only the banner: a date between the fixed parts, no further line.
    std::string date = text.substr(head.size(), text.size() - head.size() - 8);
    EXPECT_FALSE(date.empty());
    EXPECT_EQ(date.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(log.FileName(), path);
}

TEST_F(LogTest, AddWritesTimeBlankAndTextAndAppendToLastExtendsIt) {
    TLog log(path);
    log.Add("Program start");
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "");
    EXPECT_TRUE(EndsWith(lines[2], " Program start")) << lines[2];
    EXPECT_NE(lines[2][0], ' ') << "the line starts with the time";

    log.Add("Set default shell: explorer.exe");
    log.AppendToLast("done");
    lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(EndsWith(lines[3], " Set default shell: explorer.exe... done")) << lines[3];
    EXPECT_EQ(lines[2].find("done"), std::string::npos);
}

TEST_F(LogTest, AddOnceSkipsKnownTextCaseSensitively) {
    TLog log(path);
    log.Add("TfrmStart.Show: Main panel is shown first time failed");
    std::string before = ReadFileText(path);
    log.AddOnce("Main panel is shown first time"); // found inside a longer line
    EXPECT_EQ(ReadFileText(path), before);
    log.AddOnce("Begin of first main panel showing");
    log.AddOnce("Begin of first main panel showing");
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_NE(lines[3].find("Begin of first main panel showing"), std::string::npos);
    log.AddOnce("begin of first main panel showing");
    EXPECT_EQ(Lines().size(), 5u);
}

TEST_F(LogTest, ContainsIsCaseSensitiveAndSeesTheBanner) {
    TLog log(path);
    EXPECT_TRUE(TLog::Contains(path, "Orvane Shell log"));
    log.Add("Work end");
    EXPECT_TRUE(TLog::Contains(path, "Work end"));
    EXPECT_FALSE(TLog::Contains(path, "work end"));
    EXPECT_FALSE(TLog::Contains(path, "Program start"));
}

TEST_F(LogTest, MissingFileRaisesFileError) {
    EXPECT_THROW(TLog::Contains(dir / "absent.log", "Work end"), ShellError);
    TLog log(path);
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    EXPECT_THROW(log.Add("Program start"), ShellError);
    EXPECT_THROW(log.AddOnce("Program start"), ShellError);
    EXPECT_THROW(log.AppendToLast("done"), ShellError);
    EXPECT_FALSE(test::FileExists(path)) << "a failed read must not create the file";
}

TEST_F(LogTest, LockedFileRaisesAndKeepsItsContent) {
    TLog log(path);
    log.Add("Program start");
    std::string before = ReadFileText(path);
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    try {
        log.Add("Work end");
        ADD_FAILURE() << "write to a locked log succeeded";
    } catch (const ShellError& error) {
        EXPECT_STRNE(error.what(), "");
    }
    EXPECT_THROW(TLog::Contains(path, "Program start"), ShellError);
    CloseHandle(lock);
    EXPECT_EQ(ReadFileText(path), before);
    log.Add("Work end");
    EXPECT_TRUE(TLog::Contains(path, "Work end"));
}

TEST_F(LogTest, AddAppendsWithoutTouchingWhatIsThere) {
    TLog log(path);
    // Lines as another editor left them: LF only, the last without a break.
    test::WriteFileText(path, "head\nmiddle\nlast");
    log.Add("Program start");
    log.Add("Work end");
    std::string text = ReadFileText(path);
    ASSERT_EQ(text.compare(0, 16, "head\nmiddle\nlast"), 0) << text;
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 5u) << text;
    EXPECT_EQ(lines[2], "last");
    EXPECT_TRUE(EndsWith(lines[3], " Program start")) << lines[3];
    EXPECT_TRUE(EndsWith(text, " Work end\r\n")) << text;
}

TEST_F(LogTest, LongRunRotatesAndKeepsTheMarkers) {
    constexpr unsigned long long kLimit = 2000;
    TLog log(path, kLimit);
    log.Add("Program start");
    log.AddOnce("Begin of first main panel showing");
    log.AddOnce("Main panel is shown first time");
    for (int i = 0; i < 400; ++i) {
        log.Add("TrayWindowProc: request " + std::to_string(i));
        ASSERT_LE(ReadFileText(path).size(), kLimit) << "line " << i;
    }
    std::string current = ReadFileText(path);
    std::string rotated = ReadFileText(log.RotatedName());
    EXPECT_NE(current.find("request 399"), std::string::npos);
    EXPECT_NE(rotated.find("request"), std::string::npos);
    EXPECT_LE(rotated.size(), kLimit);
    EXPECT_EQ(current.compare(0, 26, "   *** Orvane Shell log - "), 0) << current;
    // The next start judges the run as if nothing had been moved aside.
    EXPECT_TRUE(TLog::Contains(path, "Program start"));
    EXPECT_TRUE(TLog::Contains(path, "Main panel is shown first time"));
    EXPECT_FALSE(TLog::Contains(path, "Work end"));
    log.AddOnce("Main panel is shown first time");
    EXPECT_EQ(SplitLines(ReadFileText(path)).size(), SplitLines(current).size());
    log.Add("Work end");
    EXPECT_TRUE(TLog::Contains(path, "Work end"));
}

TEST_F(LogTest, LogFailureWritesWhereAndMessage) {
    TLog log(path);
    SetShellLog(&log);
    LogFailure("TrayWindowProc", "boom");
    SetShellLog(nullptr);
    LogFailure("AutorunAll", "not written");
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(EndsWith(lines[2], " TrayWindowProc: boom")) << lines[2];
}

} // namespace
} // namespace orvane
