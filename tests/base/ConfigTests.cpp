#include "base/Config.h"
#include "base/Text.h"
#include "base/ShellError.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <optional>

namespace orvane {
namespace {

using test::FileExists;
using test::ScratchDir;

TEST(IniInteger, DecimalHexadecimalAndTheThirtyTwoBitRange) {
    // Colour values use all 32 bits in hexadecimal ($FFFFFFFF).
    const std::pair<const char*, std::optional<int32_t>> cases[] = {{"640", 640},
                                                                    {" 640", 640},
                                                                    {"   +640", 640},
                                                                    {"-640", -640},
                                                                    {"0", 0},
                                                                    {"0x280", 640},
                                                                    {"$280", 640},
                                                                    {"x280", 640},
                                                                    {"X280", 640},
                                                                    {"0X280", 640},
                                                                    {"$0280", 640},
                                                                    {"0x0280", 640},
                                                                    {"$ff", 255},
                                                                    {"-$10", -16},
                                                                    {" +0x10", 16},
                                                                    {"2147483647", INT32_MAX},
                                                                    {"-2147483648", INT32_MIN},
                                                                    {"2147483648", std::nullopt},
                                                                    {"-2147483649", std::nullopt},
                                                                    {"99999999999", std::nullopt},
                                                                    {"$FFFFFFFF", -1},
                                                                    {"$100000000", std::nullopt}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseIniInteger(text), value) << '"' << text << '"';
}

TEST(IniInteger, AnythingElseIsNoNumber) {
    for (const char* text : {"", " ", "640px", "px640", "+", "-", "$", "0x", "x", "6 40", "--1",
                             "+-1", "0x$1", "$g", "12a", "1.5", "0b101"})
        EXPECT_EQ(ParseIniInteger(text), std::nullopt) << '"' << text << '"';
}

TEST(ProgramFolder, FilesBesideTheExecutable) {
    std::string exe = ExecutablePath();
    const std::string name = "\\base_tests.exe";
    ASSERT_GT(exe.size(), name.size());
    EXPECT_EQ(exe.substr(exe.size() - name.size()), name);
    std::string folder = ProgramFolder();
    EXPECT_EQ(folder + "\\base_tests.exe", exe);
    EXPECT_EQ(ConfigFilePath(), folder + "\\base_tests.ini");
    EXPECT_EQ(LogFilePath(), folder + "\\base_tests.log");
}

TEST(ProgramFolder, FolderOfKeepsTheClosingSeparatorAndTrimBlanksTheEnds) {
    EXPECT_EQ(FolderOf("C:\\A\\b.lnk"), "C:\\A\\");
    EXPECT_EQ(FolderOf("C:\\b.lnk"), "C:\\");
    EXPECT_EQ(FolderOf("C:b.lnk"), "C:");
    EXPECT_EQ(FolderOf("a/b/c.txt"), "a/b/");
    EXPECT_EQ(FolderOf("b.lnk"), "");
    EXPECT_EQ(TrimBlanks("  c:\t\r\n"), "c:");
    EXPECT_EQ(TrimBlanks(" \x01 "), "");
    EXPECT_EQ(TrimBlanks("a b"), "a b");
}

TEST(ProgramFolder, ReplaceExtensionOnlyTouchesTheFileName) {
    EXPECT_EQ(ReplaceExtension("C:\\a\\Orvane_Shell.exe", ".ini"), "C:\\a\\Orvane_Shell.ini");
    EXPECT_EQ(ReplaceExtension("C:\\a.b\\shell", ".log"), "C:\\a.b\\shell.log");
    EXPECT_EQ(ReplaceExtension("C:\\a\\x.y.exe", ".ini"), "C:\\a\\x.y.ini");
    EXPECT_EQ(LowerExtension("C:\\a\\Photo.Big.JPG"), ".jpg");
    EXPECT_EQ(LowerExtension("C:\\a.b\\README"), "");
}

class IniFileTest : public testing::Test {
  protected:
    ScratchDir dir{"ini"};
    IniFile ini{dir / "Orvane_Shell.ini"};
};

TEST_F(IniFileTest, ReadsNeverCreateTheFileAndWritesAreDecimal) {
    EXPECT_EQ(ini.ReadString("General", "Language", "English"), "English");
    EXPECT_EQ(ini.ReadInteger("WinSettings", "ScreenRight", 1024), 1024);
    EXPECT_TRUE(ini.ReadSection("Run").empty());
    EXPECT_FALSE(FileExists(ini.path()));
    ini.WriteString("General", "Language", "Deutsch");
    EXPECT_TRUE(FileExists(ini.path()));
    EXPECT_EQ(ini.ReadString("General", "Language", "English"), "Deutsch");
    // Integers are written in decimal.
    ini.WriteInteger("WinSettings", "ActiveTitle", 0x00FF8000);
    ini.WriteInteger("WinSettings", "ScreenLeft", -5);
    EXPECT_EQ(ini.ReadString("WinSettings", "ActiveTitle", ""), "16744448");
    EXPECT_EQ(ini.ReadInteger("WinSettings", "ScreenLeft", 0), -5);
}

TEST_F(IniFileTest, IntegerValuesFromTheFile) {
    test::WriteFileText(ini.path(), "[WinSettings]\r\nScreenRight=0x280\r\nScreenBottom=$1E0\r\n"
                                    "ScreenLeft=640px\r\nScreenTop=\r\nActiveTitle= 640\r\n"
                                    "GradientActiveTitle=4294967296\r\n");
    EXPECT_EQ(ini.ReadInteger("WinSettings", "ScreenRight", 1), 640);
    EXPECT_EQ(ini.ReadInteger("WinSettings", "ScreenBottom", 1), 480);
    EXPECT_EQ(ini.ReadInteger("WinSettings", "ScreenLeft", 7), 7);
    EXPECT_EQ(ini.ReadInteger("WinSettings", "ScreenTop", 8), 8);
    EXPECT_EQ(ini.ReadInteger("WinSettings", "ActiveTitle", 9), 640);
    EXPECT_EQ(ini.ReadInteger("WinSettings", "GradientActiveTitle", 10), 10);
    EXPECT_EQ(ini.ReadInteger("WinSettings", "Missing", 11), 11);
}

TEST_F(IniFileTest, NamesMatchWithoutCaseAndBlanksAreStripped) {
    test::WriteFileText(ini.path(), "[General]\r\n  Language  =  Deutsch  \r\n");
    EXPECT_EQ(ini.ReadString("GENERAL", "language", "English"), "Deutsch");
}

TEST_F(IniFileTest, SectionListingKeepsFileOrder) {
    test::WriteFileText(ini.path(), "[Run]\r\n2=cmd\r\n0=notepad\r\n1=calc\r\n[Other]\r\nx=y\r\n");
    IniPairs expected{{"2", "cmd"}, {"0", "notepad"}, {"1", "calc"}};
    EXPECT_EQ(ini.ReadSection("Run"), expected);
    EXPECT_EQ(ini.ReadSection("run"), expected);
    EXPECT_TRUE(ini.ReadSection("Missing").empty());
    EXPECT_EQ(ini.ReadSectionAtOnce("run"), expected);
    EXPECT_TRUE(ini.ReadSectionAtOnce("Missing").empty());
}

TEST_F(IniFileTest, OneReadListingTakesSectionsLargerThanItsFirstBuffer) {
    std::string text = "[Desktop]\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "Some rather long link caption " + std::to_string(i) + "=" + std::to_string(i) +
                ",7\r\n";
    test::WriteFileText(ini.path(), text + "[Next]\r\nx=1\r\n");
    IniPairs pairs = ini.ReadSectionAtOnce("Desktop");
    ASSERT_EQ(pairs.size(), 2000u);
    EXPECT_EQ(pairs.back(), (std::pair<std::string, std::string>{
                                "Some rather long link caption 1999", "1999,7"}));
}

TEST_F(IniFileTest, EraseSectionRemovesLineAndKeysOnly) {
    test::WriteFileText(ini.path(), "[Run]\r\n0=calc\r\n1=cmd\r\n[Recent]\r\n0=C:\\\r\n");
    ini.EraseSection("Run");
    EXPECT_TRUE(ini.ReadSection("Run").empty());
    EXPECT_EQ(ini.ReadString("Recent", "0", ""), "C:\\");
    std::string text = test::ReadFileText(ini.path());
    EXPECT_EQ(text.find("[Run]"), std::string::npos) << text;
    EXPECT_EQ(text.find("calc"), std::string::npos) << text;
}

TEST_F(IniFileTest, RefusedWriteNamesTheFile) {
    IniFile nowhere(dir / "no such folder\\Orvane_Shell.ini");
    const std::function<void()> writes[] = {
        [&] { nowhere.WriteString("General", "Language", "Deutsch"); },
        [&] { nowhere.WriteInteger("WinSettings", "ScreenLeft", 0); }};
    for (const auto& write : writes) {
        try {
            write();
            ADD_FAILURE() << "write into a missing folder succeeded";
        } catch (const ShellError& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + nowhere.path());
        }
    }
}

TEST_F(IniFileTest, RefusedWriteToALockedFile) {
    ini.WriteString("General", "Language", "English");
    HANDLE lock = CreateFileA(ini.path().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    try {
        ini.WriteString("General", "Language", "Deutsch");
        ADD_FAILURE() << "write to a locked file succeeded";
    } catch (const ShellError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + ini.path());
    }
    CloseHandle(lock);
    EXPECT_EQ(ini.ReadString("General", "Language", ""), "English");
}

// Files from before the shell spoke UTF-8 are in the Western code page here
// (Wine's ANSI code page is 1252).
TEST_F(IniFileTest, SingleByteFileReadsAndStaysWholeOnEveryWrite) {
    test::WriteFileText(ini.path(), "; hand-written\r\n[General]\r\nLanguage=Deutsch\r\n"
                                    "[Recent]\r\n0=C:\\Gr\xF6\xDF"
                                    "e\\\r\n");
    EXPECT_EQ(ini.ReadString("Recent", "0", ""), "C:\\Größe\\");
    // A change the code page can hold keeps the file in it.
    ini.WriteString("Recent", "1", "C:\\Übung\\");
    EXPECT_EQ(test::ReadFileText(ini.path()), "; hand-written\r\n[General]\r\nLanguage=Deutsch\r\n"
                                              "[Recent]\r\n0=C:\\Gr\xF6\xDF"
                                              "e\\\r\n"
                                              "1=C:\\\xDC"
                                              "bung\\\r\n");
    // One it cannot hold turns the whole file into UTF-8, old lines included.
    ini.WriteString("Recent", "2", "C:\\日本\\");
    EXPECT_EQ(test::ReadFileText(ini.path()), "; hand-written\r\n[General]\r\nLanguage=Deutsch\r\n"
                                              "[Recent]\r\n0=C:\\Größe\\\r\n1=C:\\Übung\\\r\n"
                                              "2=C:\\日本\\\r\n");
    EXPECT_EQ(ini.ReadString("Recent", "0", ""), "C:\\Größe\\");
    EXPECT_EQ(ini.ReadString("Recent", "2", ""), "C:\\日本\\");
}

TEST_F(IniFileTest, MarkedFilesKeepTheirEncoding) {
    // UTF-16 with its mark, as Notepad saves "Unicode".
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("[General]\r\nLanguage=English\r\n"))
        utf16 += std::string{c, '\0'};
    test::WriteFileText(ini.path(), utf16);
    EXPECT_EQ(ini.ReadString("general", "LANGUAGE", ""), "English");
    ini.WriteString("Run", "0", "Привет");
    EXPECT_EQ(ini.ReadString("Run", "0", ""), "Привет");
    EXPECT_EQ(test::ReadFileText(ini.path()).substr(0, 4), std::string("\xFF\xFE[\0", 4));

    test::WriteFileText(ini.path(), "\xEF\xBB\xBF[General]\r\nLanguage=Ελληνικά\r\n");
    EXPECT_EQ(ini.ReadString("General", "Language", ""), "Ελληνικά");
    ini.WriteString("General", "Language", "日本語");
    EXPECT_EQ(test::ReadFileText(ini.path()), "\xEF\xBB\xBF[General]\r\nLanguage=日本語\r\n");
}

TEST_F(IniFileTest, EditsTouchOnlyTheirLinesAndNoValueOpensALine) {
    test::WriteFileText(ini.path(), "[Desktop]\nMail=10,20\n; a note\n\n[Other]\nKeep=me\n");
    ini.WriteString("desktop", "MAIL", "30,40");
    ini.WriteString("Desktop", "Games", "1,2");
    // A line break in a value must not start a key or section of its own.
    ini.WriteString("Run", "0", "calc\r\n[General]\r\nLanguage=evil");
    EXPECT_EQ(test::ReadFileText(ini.path()),
              "[Desktop]\nMail=30,40\n; a note\nGames=1,2\n\n[Other]\nKeep=me\n\n"
              "[Run]\n0=calc  [General]  Language=evil\n");
    EXPECT_EQ(ini.ReadString("General", "Language", "none"), "none");
    ini.WriteSection("Desktop", {{"A", "1"}});
    EXPECT_EQ(ini.ReadSection("Desktop"), (IniPairs{{"A", "1"}}));
    EXPECT_EQ(ini.ReadString("Other", "Keep", ""), "me");
}

} // namespace
} // namespace orvane
