// The start panel in this process, over start menus and groups made in the
// scratch prefix: sections, the slide, the merged lists and pop-ups, the run
// box and the Control Panel folders.
#include "base/Config.h"
#include "base/Log.h"
#include "base/Utf.h"
#include "startpanel/PanelMenuItem.h"
#include "startpanel/StartPanel.h"
#include "startpanel/VirtualFolders.h"
#include "system/Shortcuts.h"
#include "taskbar/TaskbarGlyphs.h"
#include "tests/support/PixelSurface.h"
#include "tests/support/TestApp.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/menu/MenuDriver.h"
#include "toolkit/Timer.h"
#include "widgets/ComboBox.h"
#include "widgets/ImageList.h"
#include "widgets/ListBox.h"
#include "widgets/Menu.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinPanel.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>

using namespace orvane;
using namespace orvane::test;

namespace {

std::string Special(int csidl) {
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE);
    return path;
}

void Touch(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    WriteFileText(path, "");
    SetFileAttributesA(path.c_str(), attributes);
}

std::vector<std::string> Captions(const TMenuItem& parent) {
    std::vector<std::string> captions;
    for (int i = 0; i < parent.Count(); ++i)
        captions.push_back(parent.Items(i)->Caption);
    return captions;
}

int IndexOf(const TStringList& items, const std::string& text) {
    for (int i = 0; i < items.Count(); ++i)
        if (items[i] == text)
            return i;
    return -1;
}

// Both start menus get a "Zz Tools" folder and shortcuts of their own; the
// names keep clear of what the prefix lists already.
class StartPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        common_ = Special(CSIDL_COMMON_STARTMENU);
        user_ = Special(CSIDL_STARTMENU);
        CreateDirectoryA((common_ + "\\Zz Tools").c_str(), nullptr);
        CreateDirectoryA((user_ + "\\Zz Tools").c_str(), nullptr);
        CreateDirectoryA((common_ + "\\Zz Tools\\Deeper").c_str(), nullptr);
        CreateDirectoryA((common_ + "\\Zz Tools\\Hollow").c_str(), nullptr);
        Touch(common_ + "\\Zz Tools\\Alpha.lnk");
        Touch(common_ + "\\Zz Tools\\Deeper\\Inner.lnk");
        Touch(user_ + "\\Zz Tools\\alpha.lnk");
        Touch(user_ + "\\Zz Tools\\Beta.lnk");
        CreateDirectoryA((user_ + "\\Zz Tools\\Deeper").c_str(), nullptr);
        Touch(user_ + "\\Zz Tools\\Deeper\\Inner2.lnk");
        Touch(common_ + "\\Zz Shared.lnk");
        Touch(user_ + "\\zz shared.lnk");
        Touch(user_ + "\\Zz Mine.lnk");
        Touch(user_ + "\\Zz Hidden.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

        CreateDirectoryA((groups_.path() + "\\Office").c_str(), nullptr);
        CreateDirectoryA((groups_.path() + "\\Office\\Sub").c_str(), nullptr);
        Touch(groups_.path() + "\\Office\\Word.lnk");
        Touch(groups_.path() + "\\Readme.txt");

        DeleteFileA(ConfigFilePath().c_str());
        log_ = std::make_unique<TLog>(logDir_ / "panel.log");
        SetShellLog(log_.get());
        glyphs_ = NewComponent<TImageList>(&App());
        AddSectionChevrons(*glyphs_);
        panel_ = MakePanel();
    }

    void TearDown() override {
        App().FreeComponent(panel_);
        App().FreeComponent(glyphs_);
        SetShellLog(nullptr);
        RemoveTree(common_ + "\\Zz Tools");
        RemoveTree(user_ + "\\Zz Tools");
        for (const char* name :
             {"\\Zz Shared.lnk", "\\zz shared.lnk", "\\Zz Mine.lnk", "\\Zz Own.lnk"}) {
            DeleteFileA((common_ + name).c_str());
            DeleteFileA((user_ + name).c_str());
        }
        SetFileAttributesA((user_ + "\\Zz Hidden.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA((user_ + "\\Zz Hidden.ini").c_str());
        DeleteFileA(ConfigFilePath().c_str());
    }

    TfrmStart* MakePanel() {
        TStartPanelHost host;
        host.TaskbarHeight = 30;
        host.SectionGlyphs = glyphs_;
        host.GroupsFolder = groups_.path();
        auto* panel = CreateForm<TfrmStart>(&App(), std::move(host));
        panel->SetControlPanel(std::make_unique<TVirtualFolders>());
        return panel;
    }

    TSkinButton* Toggle(TSkinPanel* section) {
        for (TControl* child : section->Controls().front()->Controls())
            if (child->Is<TSkinButton>())
                return static_cast<TSkinButton*>(child);
        return nullptr;
    }

    // Whether the entry shows the black folder arrow at its right end.
    bool ArrowAt(TListBox* list, int index) {
        panel_->FitSection(static_cast<TSkinPanel*>(list->Parent()), list->Items().Count());
        PixelSurface surface(list->Handle(), SIZE{list->ClientWidth(), list->ClientHeight()},
                             RGB(1, 2, 3));
        RECT rect = list->ItemRect(index);
        int m = (rect.top + rect.bottom) / 2;
        if (rect.bottom > surface.Height() || rect.right > surface.Width() || rect.right < 8)
            return false;
        return surface.At(rect.right - 3 - 3, m) == RGB(0, 0, 0) &&
               surface.At(rect.right - 3 - 3, rect.top + 1) != RGB(0, 0, 0);
    }

    // Opens the pop-up of a Programs entry and closes it again at once.
    void OpenProgramsEntry(const std::string& entry) {
        panel_->lbPrograms->SetItemIndex(IndexOf(panel_->lbPrograms->Items(), entry));
        MenuDriver driver([](MenuDriver& menu) {
            menu.WaitForWindows(1, 10000);
            menu.Key(VK_ESCAPE);
        });
        panel_->lbProgramsClick();
    }

    std::string common_, user_;
    ScratchDir groups_{"groups"};
    ScratchDir logDir_{"log"};
    std::unique_ptr<TLog> log_;
    TImageList* glyphs_ = nullptr;
    TfrmStart* panel_ = nullptr;
};

TEST_F(StartPanelTest, CreatedOffScreenLeftAndSlidesInElevenTicksAndOut) {
    EXPECT_EQ(panel_->Left(), -145);
    EXPECT_EQ(panel_->Width(), 145);
    EXPECT_EQ(panel_->Height(), GetSystemMetrics(SM_CYSCREEN) + 30 + 150);
    EXPECT_FALSE(IsWindowVisible(panel_->Handle()));
    EXPECT_EQ(panel_->lbPrograms->ItemIndex(), 0);
    EXPECT_EQ(panel_->trrShowStart->Interval(), 40u);

    for (int round = 0; round < 2; ++round) {
        // The start button: in from hidden, out from fully shown.
        panel_->ToggleSlide();
        EXPECT_EQ(panel_->SlideDirection(), TSlide::In);
        EXPECT_TRUE(panel_->Visible());
        int ticks = 0;
        while (panel_->trrShowStart->Enabled() && ticks < 50) {
            panel_->trrShowStartTimer();
            ++ticks;
            if (ticks == 10) {
                EXPECT_EQ(panel_->Left(), -5);
            }
        }
        EXPECT_EQ(ticks, 11);
        EXPECT_EQ(panel_->Left(), 0);
        panel_->ToggleSlide();
        EXPECT_EQ(panel_->SlideDirection(), TSlide::Out);
        panel_->trrShowStartTimer();
        // Pressed again on the way out, it comes back in.
        panel_->ToggleSlide();
        EXPECT_EQ(panel_->SlideDirection(), TSlide::In);
        while (panel_->trrShowStart->Enabled() && ticks < 100) {
            panel_->trrShowStartTimer();
            ++ticks;
        }
        EXPECT_EQ(panel_->Left(), 0);
        panel_->SlideOut();
        while (panel_->trrShowStart->Enabled() && ticks < 100) {
            panel_->trrShowStartTimer();
            ++ticks;
        }
        EXPECT_EQ(panel_->Left(), -145);
    }
    panel_->trrShowStart->SetEnabled(false);
    auto lines = ReadLogLines(log_->FileName());
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.find("Main panel is shown first time") !=
                                       std::string::npos;
                            }),
              1);
}

TEST_F(StartPanelTest, SectionsCollapseToTwentyThreeRestoreAndRefillWhileCollapsed) {
    const int full = 2 * 19 + 23; // Office and Readme.txt
    ASSERT_EQ(panel_->plGroups->Height(), full);
    TSkinButton* toggle = Toggle(panel_->plGroups);
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->ImageIndex(), 1);
    panel_->sbProgramsClick(*toggle);
    EXPECT_EQ(panel_->plGroups->Height(), 23);
    EXPECT_EQ(toggle->ImageIndex(), 0);
    // Sections below follow the collapsed one up.
    EXPECT_EQ(panel_->plHelp->Top(), panel_->plGroups->Top() + 23);

    CreateDirectoryA((groups_.path() + "\\Games").c_str(), nullptr);
    panel_->InitGroupsMenu();
    EXPECT_EQ(panel_->plGroups->Height(), full + 19) << "a refill shows all entries";
    EXPECT_EQ(toggle->ImageIndex(), 0) << "a refill leaves the glyph";
    panel_->sbProgramsClick(*toggle);
    EXPECT_EQ(panel_->plGroups->Height(), 23);
    panel_->sbProgramsClick(*toggle);
    EXPECT_EQ(panel_->plGroups->Height(), full + 19);

    TSkinButton* run = Toggle(panel_->plRun);
    EXPECT_EQ(panel_->plRun->Height(), 41);
    panel_->sbProgramsClick(*run);
    EXPECT_EQ(panel_->plRun->Height(), 23);
    EXPECT_FALSE(panel_->cbRun->Visible());
    panel_->sbProgramsClick(*run);
    EXPECT_EQ(panel_->plRun->Height(), 41);
    EXPECT_TRUE(panel_->cbRun->Visible());
}

TEST_F(StartPanelTest, ProgramsListMergesBothStartMenusWithProgramsLast) {
    const TStringList& items = panel_->lbPrograms->Items();
    const intptr_t folder = reinterpret_cast<intptr_t>(panel_->FolderIcon());
    ASSERT_NE(folder, 0);
    int tools = IndexOf(items, "Zz Tools"), shared = IndexOf(items, "Zz Shared");
    int mine = IndexOf(items, "Zz Mine"), hidden = IndexOf(items, "Zz Hidden.ini");
    ASSERT_GE(tools, 0);
    ASSERT_GE(shared, 0);
    EXPECT_EQ(IndexOf(items, "zz shared"), -1) << "the user's copy merges away";
    EXPECT_GT(mine, shared) << "the user's entries follow the all-users ones";
    EXPECT_GE(hidden, 0) << "hidden files are listed under their full names";
    EXPECT_EQ(items.Object(tools), folder);
    EXPECT_NE(items.Object(shared), folder);
    EXPECT_EQ(items[items.Count() - 1], "Programs");
    EXPECT_EQ(items.Object(items.Count() - 1), folder);
    const std::vector<std::string> lines = items.Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Programs"), 1);
    EXPECT_EQ(panel_->plPrograms->Height(), items.Count() * 19 + 23);

    // Arrows: folders of any list, every Files entry, the first two System ones.
    EXPECT_TRUE(ArrowAt(panel_->lbPrograms, tools));
    EXPECT_FALSE(ArrowAt(panel_->lbPrograms, shared));
    for (TListBox* list : {panel_->lbFiles, panel_->lbSystem, panel_->lbHelp})
        for (const char* text : {"a", "b", "c"})
            list->Items().Add(text, 0);
    EXPECT_TRUE(ArrowAt(panel_->lbFiles, 2));
    EXPECT_TRUE(ArrowAt(panel_->lbSystem, 0));
    EXPECT_TRUE(ArrowAt(panel_->lbSystem, 1));
    EXPECT_FALSE(ArrowAt(panel_->lbSystem, 2));
    EXPECT_FALSE(ArrowAt(panel_->lbHelp, 0));
}

TEST_F(StartPanelTest, FolderPopupMergesBothMenusAndFillsSubmenusOnce) {
    OpenProgramsEntry("Zz Tools");
    TMenuItem& root = panel_->pmStart->Items();
    // All-users items first (listing order), then the user's new ones.
    std::vector<std::string> captions = Captions(root);
    ASSERT_EQ(captions.size(), 4u) << ::testing::PrintToString(captions);
    EXPECT_EQ(std::count(captions.begin(), captions.end(), "Beta"), 1);
    EXPECT_EQ(captions.back(), "Beta");
    EXPECT_EQ(std::count_if(captions.begin(), captions.end(),
                            [](const std::string& c) { return _stricmp(c.c_str(), "alpha") == 0; }),
              1);

    TMenuItem* deeper = nullptr;
    TMenuItem* hollow = nullptr;
    for (int i = 0; i < root.Count(); ++i) {
        if (root.Items(i)->Caption == "Deeper")
            deeper = root.Items(i);
        if (root.Items(i)->Caption == "Hollow")
            hollow = root.Items(i);
    }
    ASSERT_TRUE(deeper && hollow);
    ASSERT_EQ(deeper->Count(), 1);
    EXPECT_EQ(deeper->Items(0)->Caption, "") << "the placeholder";
    EXPECT_EQ(deeper->Tag, reinterpret_cast<intptr_t>(panel_->FolderIcon()));

    panel_->ProgramItemClick(*deeper);
    EXPECT_EQ(Captions(*deeper), (std::vector<std::string>{"Inner", "Inner2"}));
    panel_->ProgramItemClick(*deeper);
    EXPECT_EQ(deeper->Count(), 2) << "a filled submenu is not listed again";
    panel_->ProgramItemClick(*hollow);
    EXPECT_EQ(hollow->Count(), 0) << "an empty folder loses its placeholder";
}

TEST_F(StartPanelTest, ProgramsShortcutInBothMenusStartsTheAllUsersOne) {
    ScratchDir out("started");
    const std::string cmd = Special(CSIDL_SYSTEM) + "\\cmd.exe";
    CreateShortcut(cmd, common_ + "\\Zz Tools\\Both.lnk", "",
                   "/c echo common>\"" + (out / "common.txt") + "\"");
    CreateShortcut(cmd, user_ + "\\Zz Tools\\Both.lnk", "",
                   "/c echo user>\"" + (out / "user.txt") + "\"");
    OpenProgramsEntry("Zz Tools");
    TMenuItem& root = panel_->pmStart->Items();
    TMenuItem* both = nullptr;
    for (int i = 0; i < root.Count(); ++i)
        if (root.Items(i)->Caption == "Both")
            both = root.Items(i);
    ASSERT_NE(both, nullptr);
    panel_->ProgramItemClick(*both);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(out / "common.txt"); }, 20000));
    PumpMessagesFor(500);
    EXPECT_FALSE(FileExists(out / "user.txt"));
}

TEST_F(StartPanelTest, NamesInAnyScriptAreListedAndStarted) {
    ScratchDir out("started");
    const std::string cmd = Special(CSIDL_SYSTEM) + "\\cmd.exe";
    auto writing = [&](const std::string& marker) {
        return "/c echo x>\"" + (out / marker) + "\"";
    };
    CreateShortcut(cmd, common_ + "\\Zz Tools\\Привет.lnk", "", writing("privet.txt"));
    OpenProgramsEntry("Zz Tools");
    TMenuItem* privet = nullptr;
    for (int i = 0; i < panel_->pmStart->Items().Count(); ++i)
        if (panel_->pmStart->Items().Items(i)->Caption == "Привет")
            privet = panel_->pmStart->Items().Items(i);
    ASSERT_NE(privet, nullptr) << ::testing::PrintToString(Captions(panel_->pmStart->Items()));
    panel_->ProgramItemClick(*privet);
    EXPECT_TRUE(WaitUntil([&] { return FileExists(out / "privet.txt"); }, 20000));

    const std::string group = groups_.path() + "\\Γραφείο";
    CreateDirectoryW(Wide(group).c_str(), nullptr);
    const std::vector<std::string> names{"Rocket 🚀", "Ελληνικά", "日本語"}; // in byte order
    for (size_t i = 0; i < names.size(); ++i)
        CreateShortcut(cmd, group + "\\" + names[i] + ".lnk", "", writing(std::to_string(i)));
    panel_->InitGroupsMenu();
    panel_->lbGroups->SetItemIndex(IndexOf(panel_->lbGroups->Items(), "Γραφείο"));
    ASSERT_GE(panel_->lbGroups->ItemIndex(), 0);
    {
        MenuDriver driver([](MenuDriver& menu) {
            menu.WaitForWindows(1, 10000);
            menu.Key(VK_ESCAPE);
        });
        panel_->lbGroupsClick();
    }
    TMenuItem& root = panel_->pmStart->Items();
    std::vector<std::string> captions = Captions(root);
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ(captions, names);
    for (int i = 0; i < root.Count(); ++i)
        panel_->GroupItemClick(*root.Items(i));
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_TRUE(WaitUntil([&] { return FileExists(out / std::to_string(i)); }, 20000))
            << names[i];
}

TEST_F(StartPanelTest, GroupsListWithSubFolderAndEmptyOrMissingGroups) {
    const TStringList& groups = panel_->lbGroups->Items();
    ASSERT_EQ(groups.Count(), 2);
    int office = IndexOf(groups, "Office");
    ASSERT_GE(office, 0);
    EXPECT_EQ(groups.Object(office), reinterpret_cast<intptr_t>(panel_->FolderIcon()));
    panel_->lbGroups->SetItemIndex(office);
    {
        MenuDriver driver([](MenuDriver& menu) {
            menu.WaitForWindows(1, 10000);
            menu.Key(VK_ESCAPE);
        });
        panel_->lbGroupsClick();
    }
    TMenuItem& root = panel_->pmStart->Items();
    auto captions = Captions(root);
    std::sort(captions.begin(), captions.end());
    EXPECT_EQ(captions, (std::vector<std::string>{"Sub", "Word"}));
    for (int i = 0; i < root.Count(); ++i)
        if (root.Items(i)->Caption == "Sub") {
            panel_->GroupItemClick(*root.Items(i));
            EXPECT_EQ(root.Items(i)->Count(), 1) << "a group's sub-folder is never filled";
        }

    RemoveTree(groups_.path() + "\\Office");
    DeleteFileA((groups_.path() + "\\Readme.txt").c_str());
    panel_->InitGroupsMenu();
    EXPECT_EQ(panel_->plGroups->Height(), 23);
    RemoveDirectoryA(groups_.path().c_str());
    panel_->InitGroupsMenu();
    EXPECT_EQ(panel_->plGroups->Height(), 23);
    CreateDirectoryA(groups_.path().c_str(), nullptr);
}

TEST_F(StartPanelTest, RunBoxHistory) {
    EXPECT_EQ(panel_->cbRun->Text(), "calc") << "an empty history";
    std::vector<std::string> ran;
    bool answer = true;
    panel_->RunCommand = [&](const std::string& command) {
        ran.push_back(command);
        return answer;
    };
    auto enter = [&](const std::string& command) {
        panel_->cbRun->SetText(command);
        char key = '\r';
        panel_->cbRunKeyPress(key);
    };
    enter("notepad");
    enter("cmd");
    enter("notepad");
    IniFile config = IniFile::Config();
    EXPECT_EQ(config.ReadString("Run", "0", ""), "notepad");
    EXPECT_EQ(config.ReadString("Run", "1", ""), "cmd");
    EXPECT_EQ(config.ReadSection("Run").size(), 2u) << "one entry per command";
    std::vector<std::string> told;
    panel_->ShowRunFailure = [&](const std::string& text) { told.push_back(text); };
    answer = false; // did not start
    enter("nonsense");
    EXPECT_EQ(told, std::vector<std::string>{"Cannot run \"nonsense\""});
    EXPECT_EQ(config.ReadSection("Run").size(), 2u);
    EXPECT_EQ(panel_->cbRun->Text(), "nonsense") << "the text stays";
    answer = true;
    for (int i = 0; i < 10; ++i)
        enter("prog" + std::to_string(i));
    auto section = config.ReadSection("Run");
    ASSERT_EQ(section.size(), 10u);
    EXPECT_EQ(section.front(), (std::pair<std::string, std::string>{"0", "prog9"}));
    EXPECT_EQ(section.back(), (std::pair<std::string, std::string>{"9", "prog0"}));
    EXPECT_EQ(ran.size(), 14u);

    // Typing opens the history list below the box.
    panel_->Show();
    panel_->cbRun->SetFocus();
    char key = 'p';
    panel_->cbRunKeyPress(key);
    EXPECT_TRUE(panel_->cbRun->DroppedDown());
    EXPECT_EQ(panel_->cbRun->Items().Count(), 10);
    panel_->cbRun->SetDroppedDown(false);
    panel_->Hide();
}

TEST_F(StartPanelTest, RunBoxTextIsArialFourteenPixelsWhateverTheSkinSays) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(panel_->cbRun->Handle(), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    LOGFONTW description{};
    ASSERT_NE(GetObjectW(font, sizeof description, &description), 0);
    EXPECT_EQ(description.lfHeight, -14);
    EXPECT_EQ(std::wstring(description.lfFaceName), L"Arial");
}

TEST_F(StartPanelTest, RightEdgeOnlySizesNeverBelowHundredAndRunBoxFollows) {
    SetWindowPos(panel_->Handle(), nullptr, 0, 0, 200, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(panel_->Width(), 200);
    EXPECT_EQ(panel_->cbRun->Width(), 190);
    SetWindowPos(panel_->Handle(), nullptr, 0, 0, 60, 600, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(panel_->Width(), 100);
    EXPECT_EQ(panel_->cbRun->Width(), 90);
    RECT bounds;
    GetWindowRect(panel_->Handle(), &bounds);
    auto hit = [&](int x, int y) {
        return SendMessageA(panel_->Handle(), WM_NCHITTEST, 0, MAKELPARAM(x, y));
    };
    EXPECT_EQ(hit(bounds.right - 1, 300), HTRIGHT);
    EXPECT_EQ(hit(bounds.left, 300), HTCLIENT);
    EXPECT_EQ(hit(bounds.left + 50, bounds.top + 1), HTCLIENT);
    EXPECT_EQ(hit(bounds.left + 50, bounds.top + 10), HTCLIENT) << "no caption to drag";
    EXPECT_EQ(hit(bounds.left + 50, bounds.bottom - 1), HTCLIENT);

    SendMessageA(panel_->Handle(), WM_DISPLAYCHANGE, 32, 0);
    EXPECT_EQ(panel_->Height(), GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(StartPanelTest, ControlPanelItemsWithIconsAndNamesListedOnce) {
    panel_->ControlPanel()->SetTargetMenu(panel_->pmStart);
    panel_->ControlPanel()->OpenSpecialFolder(CSIDL_CONTROLS);
    TMenuItem& root = panel_->pmStart->Items();
    std::vector<std::string> captions = Captions(root);
    ASSERT_GE(root.Count(), 3) << ::testing::PrintToString(captions);
    for (int i = 0; i < root.Count(); ++i) {
        EXPECT_FALSE(root.Items(i)->Caption.empty());
        EXPECT_NE(root.Items(i)->Tag, 0) << root.Items(i)->Caption << " has no icon";
    }
    std::vector<std::string> sorted = captions;
    std::sort(sorted.begin(), sorted.end());
    // A fresh prefix's applets: appwiz, inetcpl and joy, each once.
    EXPECT_EQ(sorted, (std::vector<std::string>{"Add/Remove Programs", "Game Controllers",
                                                "Internet Settings"}));
    panel_->ClearPopup();
    EXPECT_EQ(panel_->ControlPanel()->TargetMenu(), nullptr);
    EXPECT_EQ(root.Count(), 0);

    // A file-system folder: placeholders, filled on opening, once.
    panel_->ControlPanel()->SetTargetMenu(panel_->pmStart);
    panel_->ControlPanel()->OpenSpecialFolder(CSIDL_COMMON_STARTMENU);
    TMenuItem* tools = nullptr;
    for (int i = 0; i < root.Count(); ++i)
        if (root.Items(i)->Caption == "Zz Tools")
            tools = root.Items(i);
    ASSERT_NE(tools, nullptr);
    ASSERT_EQ(tools->Count(), 1);
    EXPECT_EQ(tools->Items(0)->Caption, "Empty folder");
    panel_->ControlPanel()->FolderItemClick(*tools);
    auto inner = Captions(*tools);
    EXPECT_EQ(std::count(inner.begin(), inner.end(), "Empty folder"), 0);
    EXPECT_EQ(tools->Count(), 3) << ::testing::PrintToString(inner);
    panel_->ControlPanel()->FolderItemClick(*tools);
    EXPECT_EQ(tools->Count(), 3) << "not listed a second time";
    for (int i = 0; i < tools->Count(); ++i)
        if (tools->Items(i)->Caption == "Hollow") {
            TMenuItem* hollow = tools->Items(i);
            panel_->ControlPanel()->FolderItemClick(*hollow);
            EXPECT_EQ(hollow->Count(), 0) << "an empty folder loses its submenu";
        }
}

} // namespace

TEST_F(StartPanelTest, ShortcutsShowTheirTargetsOwnIconInTheListAndThePopup) {
    const std::string program = EnvVar("ORVANE_STAGE") + "\\Orvane_Shell.exe";
    auto pixels = [](HICON icon) {
        PixelSurface surface(16, 16);
        DrawIconEx(surface.dc(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
        std::vector<COLORREF> all;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                all.push_back(surface.At(x, y));
        return all;
    };
    HICON small = nullptr;
    ExtractIconExW(Wide(program).c_str(), 0, nullptr, &small, 1);
    UniqueIcon ownIcon(small);
    const std::vector<COLORREF> own = pixels(ownIcon.get());
    CreateShortcut(program, user_ + "\\Zz Tools\\Shell.lnk", "", "");
    CreateShortcut(user_ + "\\Zz Tools\\gone.exe", user_ + "\\Zz Tools\\Gone.lnk", "", "");
    CreateShortcut(program, user_ + "\\Zz Own.lnk", "", "");
    App().FreeComponent(panel_);
    panel_ = MakePanel();

    TStringList& items = panel_->lbPrograms->Items();
    const int index = IndexOf(items, "Zz Own");
    ASSERT_GE(index, 0);
    EXPECT_TRUE(WaitUntil(
        [&] { return pixels(reinterpret_cast<HICON>(items.Object(index))) == own; }, 10000));

    OpenProgramsEntry("Zz Tools");
    TMenuItem& root = panel_->pmStart->Items();
    TMenuItem *shell = nullptr, *gone = nullptr;
    for (int i = 0; i < root.Count(); ++i) {
        if (root.Items(i)->Caption == "Shell")
            shell = root.Items(i);
        if (root.Items(i)->Caption == "Gone")
            gone = root.Items(i);
    }
    ASSERT_TRUE(shell && gone);
    const std::vector<COLORREF> type = pixels(reinterpret_cast<HICON>(gone->Tag));
    EXPECT_NE(type, own);
    EXPECT_TRUE(
        WaitUntil([&] { return pixels(reinterpret_cast<HICON>(shell->Tag)) == own; }, 10000));
    PumpMessagesFor(300);
    EXPECT_EQ(pixels(reinterpret_cast<HICON>(gone->Tag)), type)
        << "a shortcut whose target is gone keeps the shortcut type icon";
    DeleteFileW(Wide(user_ + "\\Zz Own.lnk").c_str());
}

namespace {

// Separators among the items of a menu window (its system menu).
int SeparatorsIn(HWND menuWindow) {
    auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    int separators = 0;
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info{sizeof info};
        info.fMask = MIIM_FTYPE;
        if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) &&
            (info.fType & MFT_SEPARATOR))
            ++separators;
    }
    return separators;
}

// The screen rectangle of the item of a menu window with that text.
bool ItemRectOf(HWND menuWindow, const std::wstring& text, RECT& rect) {
    auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        wchar_t found[MAX_PATH] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), found, MAX_PATH, MF_BYPOSITION);
        if (text == found)
            return GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &rect) != FALSE;
    }
    return false;
}

TMenuItem* ChildNamed(const TMenuItem& parent, const std::string& caption) {
    for (int i = 0; i < parent.Count(); ++i)
        if (parent.Items(i)->Caption == caption)
            return parent.Items(i);
    return nullptr;
}

void TouchWide(const std::string& path) {
    UniqueHandle file(
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

void SaveScreen(const std::string& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    PixelSurface surface(width, height);
    HDC screen = GetDC(nullptr);
    BitBlt(surface.dc(), 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = surface.At(x, y);
            pixels.push_back(0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) |
                             GetBValue(colour));
        }
    WriteBmp(path, width, height, pixels);
}

} // namespace

TEST_F(StartPanelTest, EntriesOpenByTheirOwnFileNamesADashIsAnEntryAndNoMenuMeansNothing) {
    const std::string tools = common_ + "\\Zz Tools";
    for (const char* name : {"Tool.exe", "Page.url", "Old.lnk.old", "Prog.pif", "-.lnk"})
        Touch(tools + "\\" + name);
    Touch(common_ + "\\Zz Run.exe");
    Touch(user_ + "\\Zz Own.lnk.old");
    App().FreeComponent(panel_);
    panel_ = MakePanel();
    std::vector<std::string> opened;
    panel_->OpenEntryFile = [&](HWND, const std::string& file, const std::string&) {
        opened.push_back(file);
    };

    int separators = -1;
    panel_->lbPrograms->SetItemIndex(IndexOf(panel_->lbPrograms->Items(), "Zz Tools"));
    {
        MenuDriver driver([&](MenuDriver& menu) {
            if (menu.WaitForWindows(1, 10000))
                separators = SeparatorsIn(menu.Windows().front());
            menu.Key(VK_ESCAPE);
        });
        panel_->lbProgramsClick();
    }
    EXPECT_EQ(separators, 0) << "an entry named - is drawn as a separator";
    TMenuItem& root = panel_->pmStart->Items();
    const std::vector<std::string> shown{"Tool.exe", "Page.url", "Old", "Prog.pif", "-"};
    const std::vector<std::string> files{"Tool.exe", "Page.url", "Old.lnk.old", "Prog.pif",
                                         "-.lnk"};
    for (const std::string& caption : shown) {
        TMenuItem* item = ChildNamed(root, caption);
        ASSERT_NE(item, nullptr) << caption;
        EXPECT_FALSE(item->IsSeparator()) << caption;
        panel_->ProgramItemClick(*item);
    }
    std::vector<std::string> expected;
    for (const std::string& file : files)
        expected.push_back(tools + "\\" + file);
    EXPECT_EQ(opened, expected);

    // Top-level entries on a double click.
    opened.clear();
    for (const char* entry : {"Zz Run.exe", "Zz Own"}) {
        panel_->lbPrograms->SetItemIndex(IndexOf(panel_->lbPrograms->Items(), entry));
        ASSERT_GE(panel_->lbPrograms->ItemIndex(), 0) << entry;
        panel_->lbProgramsDblClick();
    }
    EXPECT_EQ(opened,
              (std::vector<std::string>{common_ + "\\Zz Run.exe", user_ + "\\Zz Own.lnk.old"}));

    // No all-users start menu: its part of a pop-up is empty, never the
    // folder of that name in the current drive's root.
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(L"C:\\");
    CreateDirectoryW(L"C:\\Zz Tools", nullptr);
    Touch("C:\\Zz Tools\\Rooted.lnk");
    panel_->CommonStartMenuPath.clear();
    OpenProgramsEntry("Zz Tools");
    std::vector<std::string> captions = Captions(panel_->pmStart->Items());
    RemoveTree("C:\\Zz Tools");
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(std::count(captions.begin(), captions.end(), "Rooted"), 0)
        << ::testing::PrintToString(captions);
    EXPECT_EQ(std::count(captions.begin(), captions.end(), "Beta"), 1);
    DeleteFileA((common_ + "\\Zz Run.exe").c_str());
    DeleteFileA((user_ + "\\Zz Own.lnk.old").c_str());
}

TEST_F(StartPanelTest, TheListAndThePopupsMergeTheSameNames) {
    TouchWide(common_ + "\\Zz Ölung.lnk");
    TouchWide(user_ + "\\zz ölung.lnk");
    TouchWide(common_ + "\\Zz Tools\\Ärger.lnk");
    TouchWide(user_ + "\\Zz Tools\\ärger.lnk");
    TouchWide(common_ + "\\Zz Tools\\A&B.lnk");
    TouchWide(user_ + "\\Zz Tools\\AB.lnk");
    App().FreeComponent(panel_);
    panel_ = MakePanel();
    const std::vector<std::string> lines = panel_->lbPrograms->Items().Lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Zz Ölung"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "zz ölung"), 0);

    OpenProgramsEntry("Zz Tools");
    const std::vector<std::string> captions = Captions(panel_->pmStart->Items());
    for (const char* name : {"Ärger", "A&B", "AB"})
        EXPECT_EQ(std::count(captions.begin(), captions.end(), name), 1)
            << name << " in " << ::testing::PrintToString(captions);
    EXPECT_EQ(std::count(captions.begin(), captions.end(), "ärger"), 0);
    DeleteFileW(Wide(common_ + "\\Zz Ölung.lnk").c_str());
    DeleteFileW(Wide(user_ + "\\zz ölung.lnk").c_str());
}

TEST_F(StartPanelTest, AnEmptySubFolderOpensOnlyWhenChosen) {
    TVirtualFolders& folders = *panel_->ControlPanel();
    std::vector<std::string> opened;
    folders.OpenItem = [&](PCIDLIST_ABSOLUTE list) {
        wchar_t path[MAX_PATH] = {};
        SHGetPathFromIDListW(list, path);
        opened.push_back(Utf8(path));
    };
    folders.SetTargetMenu(panel_->pmStart);
    folders.OpenSpecialFolder(CSIDL_COMMON_STARTMENU);
    // The pointer rests on the folder, goes to a neighbour and comes back.
    bool reached = false;
    auto hoverHollow = [&](MenuDriver& menu) {
        RECT rect{};
        if (!menu.WaitForWindows(1, 10000) || !ItemRectOf(menu.Windows()[0], L"Zz Tools", rect))
            return;
        menu.MoveTo(Center(rect));
        if (!menu.WaitForWindows(2, 5000))
            return;
        RECT hollow{}, alpha{};
        if (!ItemRectOf(menu.Windows()[1], L"Hollow", hollow) ||
            !ItemRectOf(menu.Windows()[1], L"Alpha", alpha))
            return;
        for (int round = 0; round < 3; ++round) {
            menu.MoveTo(Center(hollow));
            MenuDriver::Sleep(800);
            menu.MoveTo(Center(alpha));
            MenuDriver::Sleep(300);
        }
        reached = true;
    };
    {
        MenuDriver driver([&](MenuDriver& menu) {
            hoverHollow(menu);
            for (int i = 0; i < 4 && !menu.Windows().empty(); ++i) {
                menu.Key(VK_ESCAPE);
                MenuDriver::Sleep(200);
            }
        });
        panel_->pmStart->Popup(200, 100);
    }
    ASSERT_TRUE(reached) << "the menu did not open as expected";
    TMenuItem* tools = ChildNamed(panel_->pmStart->Items(), "Zz Tools");
    ASSERT_NE(tools, nullptr);
    TMenuItem* hollow = ChildNamed(*tools, "Hollow");
    ASSERT_NE(hollow, nullptr);
    EXPECT_EQ(hollow->Count(), 0) << "listed when the pointer first rested on it";
    EXPECT_TRUE(opened.empty()) << "opened by the pointer alone: "
                                << ::testing::PrintToString(opened);

    // Chosen from the menu opened again, where it is an entry of its own.
    {
        MenuDriver driver([&](MenuDriver& menu) {
            RECT rect{};
            if (!menu.WaitForWindows(1, 10000) || !ItemRectOf(menu.Windows()[0], L"Zz Tools", rect))
                return;
            menu.MoveTo(Center(rect));
            if (!menu.WaitForWindows(2, 5000) || !ItemRectOf(menu.Windows()[1], L"Hollow", rect))
                return;
            menu.ClickAt(Center(rect));
            MenuDriver::Sleep(500);
        });
        panel_->pmStart->Popup(200, 100);
    }
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front(), common_ + "\\Zz Tools\\Hollow");
}

TEST_F(StartPanelTest, LongSectionsScrollAndLeaveTheOthersOnTheScreen) {
    for (int i = 0; i < 60; ++i)
        Touch(user_ + "\\Zz Long " + std::to_string(100 + i) + ".lnk");
    App().FreeComponent(panel_);
    panel_ = MakePanel();
    auto cleanUp = [&] {
        for (int i = 0; i < 60; ++i)
            DeleteFileA((user_ + "\\Zz Long " + std::to_string(100 + i) + ".lnk").c_str());
    };
    TListBox* list = panel_->lbPrograms;
    const int count = list->Items().Count();
    ASSERT_GE(count, 60);
    const int room = GetSystemMetrics(SM_CYSCREEN) - 30;
    const POINT runBottom = panel_->plRun->ClientToScreen({0, panel_->plRun->Height()});
    EXPECT_LE(runBottom.y, room) << "the run box lies under the bar or off the screen";
    EXPECT_LT(list->ClientHeight(), count * 19);
    EXPECT_GT(panel_->plHelp->Height(), 23) << "the short sections keep their entries";

    panel_->SetLeft(0);
    panel_->Show();
    SetForegroundWindow(panel_->Handle());
    list->SetFocus();
    list->SetItemIndex(0);
    HWND window = list->Handle();
    auto top = [&] { return static_cast<int>(SendMessageW(window, LB_GETTOPINDEX, 0, 0)); };
    EXPECT_EQ(top(), 0);
    // The wheel, on the list.
    PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_TRUE(WaitUntil([&] { return top() > 0; }, 3000)) << "the wheel does not scroll";
    // The keys: End shows the last entry.
    PostMessageW(window, WM_KEYDOWN, VK_END, 1);
    EXPECT_TRUE(WaitUntil([&] { return list->ItemIndex() == count - 1; }, 3000));
    EXPECT_GT(top(), count - list->ClientHeight() / 19 - 2);
    PumpMessagesFor(300);
    SaveScreen(BinDir() + "\\startpanel_long_list.bmp");
    panel_->Hide();
    cleanUp();
}
