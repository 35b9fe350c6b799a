// The language and clock pages, OK and Cancel with the configuration file.
#include "base/Config.h"
#include "i18n/Languages.h"
#include "tests/i18n/LanguageTestSupport.h"
#include "tests/settings/SettingsTestSupport.h"
#include "widgets/ComboBox.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvane;
using namespace orvane::test;

namespace {

TEST(SettingsLanguage, TheListHoldsEveryNameWithLng) {
    SettingsFixture fixture;
    const std::string folder = fixture.places().languagesFolder;
    for (const char* file : {"Deutsch.lng", "x.lng.bak", "README"})
        WriteFileText(folder + "\\" + file, "");
    fixture.dialog().cbLangDropDown();
    std::vector<std::string> names = fixture.dialog().cbLang->Items().Lines();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Deutsch", "x"}));
}

TEST(SettingsLanguage, APickAppliesAtOnceAndCancelKeepsTheStoredChoice) {
    const std::string name = UniqueLanguageName();
    TestLanguage language(name, "[frmSettings]\r\nCaption=Einstellungen\r\n"
                                "[frmLangProbe]\r\nCaption=Probe\r\n");
    SetCurrentLanguage("English");
    SettingsFixture fixture;
    IniFile config(fixture.places().configFile);
    config.WriteString("General", "Language", "English");
    TForm* probe = CreateForm<TForm>(&App(), "frmLangProbe");
    TfrmSettings& dialog = fixture.dialog();
    dialog.FormShow();
    EXPECT_EQ(dialog.cbLang->Text(), "English");
    EXPECT_EQ(dialog.cbTimeFormat->Text(), "d| hh:mm:ss");

    dialog.cbLang->SetText(name);
    dialog.cbLangClick();
    EXPECT_EQ(CurrentLanguage(), name);
    EXPECT_EQ(dialog.Caption(), "Einstellungen");
    EXPECT_EQ(probe->Caption(), "Probe") << "every window takes the language";

    dialog.cbTimeFormat->SetText("hh:mm AM/PM");
    dialog.btnCancelClick();
    EXPECT_EQ(config.ReadString("General", "Language", ""), "English");
    EXPECT_EQ(dialog.cbLang->Text(), "English");
    EXPECT_EQ(CurrentLanguage(), name) << "the windows stay in the picked language";
    EXPECT_EQ(probe->Caption(), "Probe");
    EXPECT_EQ(fixture.timeFormat, "d| hh:mm:ss") << "the clock changes with OK only";
    EXPECT_EQ(config.ReadString("Taskbar", "TimeFormat", "none"), "none");

    dialog.FormShow();
    dialog.cbLang->SetText(name);
    dialog.cbTimeFormat->SetText("hh:mm AM/PM");
    dialog.btnOKClick();
    EXPECT_EQ(config.ReadString("General", "Language", ""), name);
    EXPECT_EQ(config.ReadString("Taskbar", "TimeFormat", ""), "hh:mm AM/PM");
    EXPECT_EQ(fixture.timeFormat, "hh:mm AM/PM");
    EXPECT_FALSE(fixture.terminated);
    App().FreeComponent(probe);
}

TEST(SettingsLanguage, AConfigurationFileThatCannotBeOpenedEndsTheProgramOnOk) {
    SettingsFixture fixture;
    const std::string path = fixture.places().configFile;
    WriteFileText(path, "[General]\r\nLanguage=English\r\n");
    HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    fixture.dialog().FormShow();
    fixture.dialog().cbLang->SetText("Deutsch");
    fixture.dialog().btnOKClick();
    CloseHandle(locked);
    EXPECT_TRUE(fixture.terminated);
    EXPECT_NE(fixture.LogText().find("TfrmSettings.SaveConfig: "), std::string::npos);
    EXPECT_EQ(IniFile(path).ReadString("General", "Language", ""), "English") << "nothing written";
}

} // namespace
