// The page list and the groups page: groups and items as folders and
// shortcut files, and the start panel told after each change of a group.
#include "base/Utf.h"
#include "settings/GroupFolders.h"
#include "tests/i18n/LanguageTestSupport.h"
#include "tests/settings/SettingsTestSupport.h"
#include "tests/support/TestApp.h"
#include "widgets/Button.h"
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "widgets/ListBox.h"
#include "widgets/Notebook.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

int PageShownFor(TfrmSettings& dialog, int line) {
    dialog.Notebook1->SetPageIndex(0);
    dialog.lbxSettings->SetItemIndex(line);
    dialog.lbxSettings->Click();
    return dialog.Notebook1->PageIndex();
}

TEST(SettingsPages, EachLineShowsItsPage) {
    SettingsFixture fixture;
    TfrmSettings& dialog = fixture.dialog();
    EXPECT_EQ(dialog.ClientWidth(), 434);
    EXPECT_EQ(dialog.ClientHeight(), 325);
    ASSERT_EQ(dialog.lbxSettings->Items()[3], "  Wallpaper");
    EXPECT_EQ(PageShownFor(dialog, 3), 1) << "Wallpaper";
    EXPECT_EQ(PageShownFor(dialog, 4), 3) << "Taskbar shows the Clock page";
    EXPECT_EQ(PageShownFor(dialog, 6), 2) << "Language is the third page";
    EXPECT_EQ(dialog.Notebook1->ActivePage(), "Language");
    // No line selected: the page stays.
    dialog.lbxSettings->SetItemIndex(-1);
    dialog.lbxSettings->Click();
    EXPECT_EQ(dialog.Notebook1->PageIndex(), 2);
}

TEST(SettingsPages, TabWalksTheShownPageAndTheButtons) {
    SettingsFixture fixture;
    TfrmSettings& dialog = fixture.dialog();
    auto after = [&](TControl* control) {
        TControl* next = dialog.NextTabStop(control->Handle(), true);
        return next ? next->Name() : std::string("none");
    };
    EXPECT_EQ(after(dialog.lbxSettings), "cbGroups");
    EXPECT_EQ(after(dialog.edCurrGroup), "btnAddGroup");
    EXPECT_EQ(after(dialog.btnDelGrItem), "btnOK");
    EXPECT_EQ(after(dialog.btnHelp), "lbxSettings") << "round again";
    // The focus inside the combo box's edit field counts as the combo box.
    EXPECT_EQ(dialog.NextTabStop(dialog.cbGroups->EditHandle(), true)->Name(), "edCurrGroup");
    EXPECT_EQ(dialog.NextTabStop(dialog.cbGroups->Handle(), false)->Name(), "lbxSettings");
    dialog.lbxSettings->SetItemIndex(5);
    dialog.lbxSettings->Click();
    EXPECT_EQ(after(dialog.lbxSettings), "cbTimeFormat") << "hidden pages are skipped";

    // The key itself, through the message loop; showing brings the first page.
    dialog.Show();
    dialog.lbxSettings->SetFocus();
    ASSERT_EQ(GetFocus(), dialog.lbxSettings->Handle());
    PostMessageA(dialog.lbxSettings->Handle(), WM_KEYDOWN, VK_TAB, 0);
    App().ProcessMessages();
    EXPECT_TRUE(GetFocus() == dialog.cbGroups->Handle() ||
                IsChild(dialog.cbGroups->Handle(), GetFocus()));
    dialog.btnCancelClick();
}

TEST(SettingsGroups, ItemsAreTheShortcutsOfTheGroup) {
    SettingsFixture fixture;
    CreateDirectoryA(fixture.Group("Tools").c_str(), nullptr);
    for (const char* file : {"Editor.lnk", "notes.txt", "Shout.LNK"})
        WriteFileText(fixture.Group("Tools") + "\\" + file, "");
    WriteFileText(fixture.places().groupsFolder + "\\loose.lnk", "");
    TfrmSettings& dialog = fixture.dialog();
    dialog.FormShow();
    EXPECT_EQ(dialog.cbGroups->Items().Lines(), std::vector<std::string>{"Tools"})
        << "files beside the groups are no groups";
    EXPECT_EQ(dialog.edCurrGroup->Text(), "Tools");
    EXPECT_EQ(dialog.lbGroupItems->Items().Lines(), std::vector<std::string>{"Editor"});
}

TEST(SettingsGroups, AnItemBecomesAShortcutNamedAfterItsProgram) {
    EXPECT_EQ(ShortcutNameFor("C:\\Tools\\calc.exe"), "calc.lnk");
    EXPECT_EQ(ShortcutNameFor("C:\\My.Tools\\run"), "run.lnk");
    SettingsFixture fixture;
    CreateDirectoryA(fixture.Group("Tools").c_str(), nullptr);
    TfrmSettings& dialog = fixture.dialog();
    dialog.FormShow();
    fixture.pickedItem = std::nullopt; // cancelled: nothing
    dialog.btnAddGrItemClick();
    EXPECT_EQ(dialog.lbGroupItems->Items().Count(), 0);
    fixture.pickedItem = "C:\\Tools\\calc.exe";
    dialog.btnAddGrItemClick();
    EXPECT_TRUE(FileExists(fixture.Group("Tools") + "\\calc.lnk"));
    EXPECT_EQ(dialog.lbGroupItems->Items().Lines(), std::vector<std::string>{"calc"});

    // Deleting it refills the list and the start panel's groups.
    dialog.lbGroupItems->SetItemIndex(0);
    dialog.btnDelGrItemClick();
    EXPECT_FALSE(FileExists(fixture.Group("Tools") + "\\calc.lnk"));
    EXPECT_EQ(dialog.lbGroupItems->Items().Count(), 0);
    EXPECT_EQ(fixture.groupsMenuRefills, 1);
}

TEST(SettingsGroups, DeletingAnItemDeletesTheFileItsLineStandsFor) {
    SettingsFixture fixture;
    for (const char* group : {"Tools", "Other"}) {
        CreateDirectoryA(fixture.Group(group).c_str(), nullptr);
        WriteFileText(fixture.Group(group) + "\\Mail.lnk", group);
    }
    WriteFileText(fixture.Group("Tools") + "\\Mail.lnk.bak", "backup");
    TfrmSettings& dialog = fixture.dialog();
    dialog.FormShow();
    dialog.cbGroups->SetItemIndex(dialog.cbGroups->Items().IndexOf("Tools"));
    dialog.cbGroupsClick();
    ASSERT_EQ(dialog.lbGroupItems->Items().Lines(), (std::vector<std::string>{"Mail", "Mail"}));
    dialog.lbGroupItems->SetItemIndex(1); // listed second: Mail.lnk.bak
    dialog.btnDelGrItemClick();
    EXPECT_FALSE(FileExists(fixture.Group("Tools") + "\\Mail.lnk.bak"));
    EXPECT_TRUE(FileExists(fixture.Group("Tools") + "\\Mail.lnk"));
    // The group's name edited after the listing: the listed group's file goes.
    dialog.cbGroups->SetText("Other");
    dialog.lbGroupItems->SetItemIndex(0);
    dialog.btnDelGrItemClick();
    EXPECT_FALSE(FileExists(fixture.Group("Tools") + "\\Mail.lnk"));
    EXPECT_EQ(ReadFileText(fixture.Group("Other") + "\\Mail.lnk"), "Other");
}

TEST(SettingsGroups, AnItemAddedTwiceKeepsTheFirstShortcut) {
    TestLanguage language(UniqueLanguageName(), "[Messages]\r\nItemExists=Have \"%s\"\r\n");
    SettingsFixture fixture;
    const std::string group = fixture.Group("Γραφείο");
    CreateDirectoryW(Wide(group).c_str(), nullptr);
    // Programs picked in the dialog exist: two of one name in two folders.
    ScratchDir programs("programs");
    const std::string first = programs / "電卓.exe";
    const std::string second = programs / "電卓.com";
    for (const std::string& program : {first, second})
        WriteFileText(program, "");
    TfrmSettings& dialog = fixture.dialog();
    dialog.FormShow();
    ASSERT_EQ(dialog.edCurrGroup->Text(), "Γραφείο");
    fixture.pickedItem = first;
    dialog.btnAddGrItemClick();
    EXPECT_EQ(dialog.lbGroupItems->Items().Lines(), std::vector<std::string>{"電卓"});
    EXPECT_TRUE(fixture.messages.empty());

    const std::string shortcut = ReadFileText(group + "\\電卓.lnk");
    ASSERT_FALSE(shortcut.empty());

    fixture.pickedItem = second;
    dialog.btnAddGrItemClick();
    EXPECT_EQ(fixture.messages, std::vector<std::string>{"Have \"電卓\""});
    EXPECT_EQ(ReadFileText(group + "\\電卓.lnk"), shortcut) << "the first shortcut stays";
    EXPECT_EQ(dialog.lbGroupItems->Items().Count(), 1);
}

TEST(SettingsGroups, AddRenameAndDeleteAGroup) {
    SettingsFixture fixture;
    CreateDirectoryA(fixture.Group("Office").c_str(), nullptr);
    WriteFileText(fixture.Group("Office") + "\\Writer.lnk", "");
    TfrmSettings& dialog = fixture.dialog();
    dialog.FormShow();
    ASSERT_EQ(dialog.lbGroupItems->Items().Count(), 1);

    dialog.edCurrGroup->SetText("Games");
    dialog.btnAddGroupClick();
    EXPECT_TRUE(GetFileAttributesA(fixture.Group("Games").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(dialog.cbGroups->Text(), "Games") << "the new group is the selected one";
    EXPECT_EQ(dialog.cbGroups->Items()[dialog.cbGroups->ItemIndex()], "Games");
    EXPECT_EQ(dialog.lbGroupItems->Items().Count(), 0);
    EXPECT_EQ(fixture.groupsMenuRefills, 1);

    dialog.edCurrGroup->SetText("Play");
    dialog.btnRenameGroupClick();
    EXPECT_EQ(GetFileAttributesA(fixture.Group("Games").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA(fixture.Group("Play").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(dialog.cbGroups->Text(), "Play");
    EXPECT_NE(dialog.cbGroups->Items().IndexOf("Games"), -1) << "the drop-down keeps the old name";
    EXPECT_EQ(fixture.groupsMenuRefills, 2);

    // An empty name names no group: the Groups folder and its groups stay.
    for (const char* name : {"", "  ", "..", "..\\Office"}) {
        dialog.edCurrGroup->SetText(name);
        dialog.btnAddGroupClick();
        dialog.btnRenameGroupClick();
        dialog.btnDeleteClick();
        fixture.pickedItem = "C:\\Tools\\calc.exe";
        dialog.btnAddGrItemClick();
    }
    EXPECT_TRUE(FileExists(fixture.Group("Office") + "\\Writer.lnk"));
    EXPECT_FALSE(FileExists(fixture.places().groupsFolder + "\\calc.lnk"));
    EXPECT_EQ(fixture.groupsMenuRefills, 2);

    dialog.edCurrGroup->SetText("Office");
    dialog.btnDeleteClick();
    EXPECT_EQ(GetFileAttributesA(fixture.Group("Office").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(dialog.cbGroups->Items().Lines(), std::vector<std::string>{"Play"});
    EXPECT_EQ(fixture.groupsMenuRefills, 3);
}

} // namespace
