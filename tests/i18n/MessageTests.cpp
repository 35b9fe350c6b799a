// Named messages, the language chosen in the configuration file, and the
// language files shipped with the program.
#include "i18n/Languages.h"
#include "base/Config.h"
#include "toolkit/Form.h"
#include "tests/i18n/LanguageTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>
#include <windows.h>

using namespace orvane;
using namespace orvane::test;

namespace {

const char* const kMessageNames[] = {
    "FileName",        "FileExt",           "FileSize",        "FileDate",           "NewName",
    "ErrorOnLoad",     "ControlPanel",      "Shell",           "Shutdown",           "Taskmgr",
    "About",           "RecentSection",     "BookmarkSection", "CreateLink",         "DeleteLink",
    "DeleteFileQuery", "DeleteFolderQuery", "DeleteLinkQuery", "FolderHoldsFolders", "InvalidName",
    "ItemExists",      "WallpaperNotSaved"};

TEST(LanguageMessages, AreTheirNamesWithoutAFile) {
    std::string previous = CurrentLanguage();
    SetCurrentLanguage(UniqueLanguageName());
    for (const char* name : {"FileName", "FileExt", "FileSize", "FileDate"})
        EXPECT_EQ(GetLangMessage(name), name);
    SetCurrentLanguage(previous);
}

TEST(LanguageMessages, ComeFromTheMessagesSection) {
    TestLanguage language(UniqueLanguageName(), "[frmFiles]\r\nShell=Window\r\n"
                                                "[Messages]\r\nfilename=  Name  \r\n"
                                                "Shell=\r\n");
    EXPECT_EQ(GetLangMessage("FileName"), "Name");
    EXPECT_EQ(GetLangMessage("Shell"), ""); // present but empty
    EXPECT_EQ(GetLangMessage("FileDate"), "FileDate");
}

class LoadLanguageTest : public testing::Test {
  protected:
    void TearDown() override {
        DeleteFileA(ConfigFilePath().c_str());
        SetCurrentLanguage("English");
    }
    void Configure(const std::string& language) {
        WriteFileText(ConfigFilePath(), "[General]\r\nLanguage=" + language + "\r\n");
    }
};

TEST_F(LoadLanguageTest, MissingLanguageFileGivesTheNames) {
    std::string missing = UniqueLanguageName();
    Configure(missing);
    LoadLanguage(false);
    EXPECT_EQ(CurrentLanguage(), missing);
    EXPECT_EQ(GetLangMessage("FileSize"), "FileSize");
}

TEST_F(LoadLanguageTest, WithoutASettingTheLanguageIsEnglish) {
    SetCurrentLanguage("Deutsch");
    DeleteFileA(ConfigFilePath().c_str());
    LoadLanguage(false);
    EXPECT_EQ(CurrentLanguage(), "English");
}

TEST_F(LoadLanguageTest, ApplyingTranslatesTheApplicationsForms) {
    std::string name = UniqueLanguageName();
    TestLanguage language(name, "[frmAbout]\r\nCaption=Info\r\n");
    Configure(name);
    TForm* about = CreateForm<TForm>(&App(), "frmAbout");
    LoadLanguage(false);
    EXPECT_EQ(about->Caption(), "");
    LoadLanguage(true);
    EXPECT_EQ(about->Caption(), "Info");
    App().FreeComponent(about);
}

// The files installed into the program folder: every message a user sees is
// translated.
TEST(ShippedLanguages, HoldEveryMessage) {
    for (const char* language : {"English", "Deutsch"}) {
        IniFile file(StageDir() + "\\Languages\\" + language + ".lng");
        for (const char* name : kMessageNames)
            EXPECT_NE(file.ReadString("Messages", name, "\x01"), "\x01") << language << " " << name;
        std::string pattern = file.ReadString("Messages", "ErrorOnLoad", "");
        EXPECT_EQ(pattern.find("%s"), pattern.rfind("%s")) << language;
        EXPECT_NE(pattern.find("%s"), std::string::npos) << language;
        // Besides the messages, only sections of windows that are translated.
        char sections[1024] = {};
        GetPrivateProfileSectionNamesA(sections, sizeof sections, file.path().c_str());
        std::vector<std::string> names;
        for (const char* name = sections; *name; name += std::strlen(name) + 1)
            names.push_back(name);
        EXPECT_EQ(names,
                  (std::vector<std::string>{"Messages", "frmTaskbar", "frmDesktop", "frmStart",
                                            "frmSettings", "frmAbout", "frmNewFolder"}))
            << language;
    }
    IniFile german(StageDir() + "\\Languages\\Deutsch.lng");
    // Shipped as UTF-8: the text arrives as it was written.
    EXPECT_EQ(german.ReadString("Messages", "FileSize", ""), "Größe");
    EXPECT_EQ(german.ReadString("Messages", "ControlPanel", ""), "Systemsteuerung");
    EXPECT_EQ(german.ReadString("frmStart", "lblRun", ""), "Ausführen...");
}

} // namespace
