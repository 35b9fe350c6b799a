// The start panel's Files section in this process, in a prefix with the test
// drives r: (removable), d: (CD-ROM, no disc label), n: (network) and f:
// (fixed, labelled SYSTEM): the entries and their texts, the refill on device
// events, the browser windows a click opens and the folder pop-ups.
#include "base/Config.h"
#include "base/Log.h"
#include "files/FilesForm.h"
#include "startpanel/FilesSection.h"
#include "startpanel/StartPanel.h"
#include "system/IconLookup.h"
#include "app/ShellRun.h"
#include "taskbar/TaskbarGlyphs.h"
#include "tests/support/TestApp.h"
#include "tests/support/TestSupport.h"
#include "tests/widgets/menu/MenuDriver.h"
#include "widgets/ImageList.h"
#include "widgets/ListBox.h"
#include "widgets/Menu.h"
#include "widgets/SkinPanel.h"

#include <dbt.h>
#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

std::vector<std::string> Lines(const TStringList& items) {
    std::vector<std::string> lines;
    for (int i = 0; i < items.Count(); ++i)
        lines.push_back(items[i]);
    return lines;
}

const std::vector<std::string> kLabelled = {"c: []", "d: []", "f: [system]",   "n: [share]",
                                            "r: ",   "z: []", "RecentSection", "BookmarkSection"};

class FilesSection : public ::testing::Test {
  protected:
    void SetUp() override {
        DeleteFileA(ConfigFilePath().c_str());
        log_ = std::make_unique<TLog>(logDir_ / "panel.log");
        SetShellLog(log_.get());
        glyphs_ = NewComponent<TImageList>(&App());
        AddSectionChevrons(*glyphs_);
        TStartPanelHost host;
        host.SectionGlyphs = glyphs_;
        host.GroupsFolder = logDir_.path();
        host.OpenFileBrowser = [](TfrmStart& panel, const std::string& folder, const RECT& bounds) {
            return OpenFileBrowser(&panel, folder, bounds);
        };
        panel_ = CreateForm<TfrmStart>(&App(), std::move(host));
        // The labels are read off the GUI thread.
        WaitUntil([&] { return Lines(panel_->lbFiles->Items()) == kLabelled; }, 10000);
    }
    void TearDown() override {
        App().FreeComponent(panel_);
        App().FreeComponent(glyphs_);
        SetShellLog(nullptr);
        DeleteFileA(ConfigFilePath().c_str());
    }

    int IndexOf(const std::string& text) const {
        const TStringList& items = panel_->lbFiles->Items();
        for (int i = 0; i < items.Count(); ++i)
            if (items[i] == text)
                return i;
        return -1;
    }
    std::vector<TfrmFiles*> Browsers() const {
        std::vector<TfrmFiles*> browsers;
        for (const auto& component : panel_->Components())
            if (component->Is<TfrmFiles>())
                browsers.push_back(static_cast<TfrmFiles*>(component.get()));
        return browsers;
    }
    // Opens the pop-up of a folder entry and closes it at once.
    void OpenAndClose(int index) {
        panel_->lbFiles->SetItemIndex(index);
        MenuDriver driver([](MenuDriver& menu) {
            menu.WaitForWindows(1, 10000);
            menu.Key(VK_ESCAPE);
        });
        panel_->lbFilesClick();
    }

    ScratchDir logDir_{"files-section"};
    std::unique_ptr<TLog> log_;
    TImageList* glyphs_ = nullptr;
    TfrmStart* panel_ = nullptr;
};

} // namespace

TEST_F(FilesSection, DrivesInLetterOrderWithTheirTextsThenRecentAndBookmarks) {
    EXPECT_EQ(Lines(panel_->lbFiles->Items()), kLabelled);
    EXPECT_EQ(panel_->plFiles->Height(), 8 * 19 + 23);
    const TStringList& items = panel_->lbFiles->Items();
    for (int i = 0; i < items.Count() - 2; ++i)
        EXPECT_NE(items.Object(i), 0) << items[i] << " has its drive icon";
    EXPECT_EQ(items.Object(items.Count() - 1), reinterpret_cast<intptr_t>(panel_->FolderIcon()));
    EXPECT_EQ(items.Object(items.Count() - 2), reinterpret_cast<intptr_t>(panel_->FolderIcon()));

    EXPECT_EQ(DriveEntryText('x', DRIVE_UNKNOWN), "");
    EXPECT_EQ(DriveEntryText('x', DRIVE_NO_ROOT_DIR), "");
    // Wine knows no connection of its network drives: the label stands in.
    EXPECT_EQ(NetworkDriveText('n'), "[share]");
    EXPECT_EQ(VolumeLabelText('q'), "[]") << "no such drive, no error box";
}

TEST_F(FilesSection, OnlyArrivalAndRemovalRefillTheList) {
    const std::vector<std::string> full = Lines(panel_->lbFiles->Items());
    panel_->lbFiles->Items().Clear();
    SendMessageA(panel_->Handle(), WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE, 0);
    EXPECT_EQ(panel_->lbFiles->Items().Count(), 0);
    SendMessageA(panel_->Handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    EXPECT_TRUE(WaitUntil([&] { return Lines(panel_->lbFiles->Items()) == full; }, 10000));
    panel_->lbFiles->Items().Clear();
    SendMessageA(panel_->Handle(), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
    EXPECT_TRUE(WaitUntil([&] { return Lines(panel_->lbFiles->Items()) == full; }, 10000));
}

TEST_F(FilesSection, SlowDrivesShowTheirLettersAtOnceAndTheirLabelsLater) {
    // Every lookup of the pool waits as on a dead network share.
    IconLookup().SetDelay(std::chrono::milliseconds(1500));
    const DWORD start = GetTickCount();
    panel_->InitFilesMenu();
    const DWORD took = GetTickCount() - start;
    const std::vector<std::string> letters = {
        "c: ", "d: ", "f: ", "n: ", "r: ", "z: ", "RecentSection", "BookmarkSection"};
    EXPECT_EQ(Lines(panel_->lbFiles->Items()), letters);
    EXPECT_LT(took, 1000u) << "the fill waited for the drives";
    // A drive is opened by its letter before its label came.
    panel_->lbFiles->SetItemIndex(2);
    panel_->lbFilesClick();
    ASSERT_EQ(Browsers().size(), 1u);
    EXPECT_EQ(Browsers()[0]->FolderPath, "f:\\");
    EXPECT_TRUE(WaitUntil([&] { return Lines(panel_->lbFiles->Items()) == kLabelled; }, 15000))
        << ::testing::PrintToString(Lines(panel_->lbFiles->Items()));
    IconLookup().SetDelay(std::chrono::milliseconds(0));
}

TEST_F(FilesSection, EachDriveClickOpensAnotherBrowserBesideTheEntry) {
    const int fixed = IndexOf("f: [system]");
    ASSERT_GE(fixed, 0);
    panel_->lbFiles->SetItemIndex(fixed);
    panel_->lbFilesClick();
    panel_->lbFiles->SetItemIndex(IndexOf("r: "));
    panel_->lbFilesClick();
    const auto browsers = Browsers();
    ASSERT_EQ(browsers.size(), 2u);
    EXPECT_EQ(browsers[0]->FolderPath, "f:\\");
    EXPECT_EQ(browsers[1]->FolderPath, "r:\\");
    EXPECT_TRUE(browsers[0]->Visible());
    const POINT listTop = panel_->lbFiles->ClientToScreen({0, 0});
    EXPECT_EQ(browsers[0]->Left(), panel_->Width());
    EXPECT_EQ(browsers[0]->Top(), listTop.y + fixed * 19);
    EXPECT_EQ(browsers[0]->Width(), 410);
    EXPECT_EQ(browsers[0]->Height(), 515);
    EXPECT_EQ(browsers[0]->Name(), "frmFiles");
    EXPECT_EQ(browsers[1]->Name(), "frmFiles_1");
}

TEST_F(FilesSection, FolderPopupsListTheSectionsNewestFirstAndOpenTheirFolders) {
    IniFile::Config().WriteString("Bookmarks", "0", "C:\\windows\\");
    IniFile::Config().WriteString("Bookmarks", "1", "C:\\users\\");
    IniFile::Config().WriteString("Recent", "0", "C:\\");
    const int count = panel_->lbFiles->Items().Count();

    OpenAndClose(count - 1);
    TMenuItem& items = panel_->pmStart->Items();
    ASSERT_EQ(items.Count(), 2);
    EXPECT_EQ(items.Items(0)->Caption, "C:\\windows\\");
    EXPECT_EQ(items.Items(1)->Caption, "C:\\users\\");
    EXPECT_EQ(items.Items(0)->OnDrawItem, nullptr);
    items.Items(1)->Click();
    ASSERT_EQ(Browsers().size(), 1u);
    EXPECT_EQ(Browsers()[0]->FolderPath, "C:\\users\\");

    OpenAndClose(count - 2);
    ASSERT_EQ(panel_->pmStart->Items().Count(), 1);
    EXPECT_EQ(panel_->pmStart->Items().Items(0)->Caption, "C:\\");
}
