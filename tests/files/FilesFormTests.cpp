// The browser window: its listing (cells, order, "..", icons), the way
// through folders with the recent list, the header and double clicks, the
// columns following the window, the drawing and the task-button style.
#include "base/Config.h"
#include "files/FileClipboard.h"
#include "system/ShellIcons.h"
#include "tests/files/FilesTestSupport.h"
#include "tests/support/PixelSurface.h"
#include "widgets/StringGrid.h"

#include <shellapi.h>

#include <algorithm>

using namespace orvane;
using namespace orvane::test;

namespace {

// The pixels of an icon drawn at 16 x 16 over white.
std::vector<COLORREF> Pixels(HICON icon) {
    PixelSurface surface(16, 16, RGB(255, 255, 255));
    if (icon)
        DrawIconEx(surface.dc(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels.push_back(surface.At(x, y));
    return pixels;
}

bool Near(COLORREF a, COLORREF b) {
    auto close = [](int x, int y) { return x - y < 8 && y - x < 8; };
    return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) &&
           close(GetBValue(a), GetBValue(b));
}

HICON RowIcon(TfrmFiles* browser, int row) {
    return reinterpret_cast<HICON>(browser->sgFiles->Objects(row));
}

// Enter pressed and released on the grid, as the keyboard sends it.
void PressEnter(TfrmFiles* browser) {
    SendMessageA(browser->sgFiles->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    SendMessageA(browser->sgFiles->Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
}

POINT CellCentre(TfrmFiles* browser, int col, int row) {
    RECT cell = browser->sgFiles->CellRect(col, row);
    return browser->sgFiles->ClientToScreen(
        {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
}

} // namespace

using FilesForm = FilesTest;

TEST_F(FilesForm, CellsSplitNamesAndOnlyFilesHaveSizes) {
    const std::string folder = MakeFolder("OrvaneCells");
    Touch(folder + "Makefile", "all:\n");
    Touch(folder + ".profile");
    Touch(folder + "archive.tar.gz", std::string(1536, 'x'));
    CreateDirectoryA((folder + "Sub.dir").c_str(), nullptr);
    TfrmFiles* browser = OpenBrowser(folder);

    EXPECT_EQ(browser->Caption(), folder);
    EXPECT_EQ(browser->FolderPath, folder);
    const auto& grid = *browser->sgFiles;
    EXPECT_EQ(grid.Cells(kColName, 0), "FileName");
    EXPECT_EQ(grid.Cells(kColDate, 0), "FileDate");
    EXPECT_NE(RowOf(browser, "Makefile"), -1);
    EXPECT_NE(RowOf(browser, "", "profile"), -1);
    const int archive = RowOf(browser, "archive.tar", "gz");
    ASSERT_NE(archive, -1);
    EXPECT_EQ(grid.Cells(kColSize, archive), "1.5 k");
    EXPECT_FALSE(grid.Cells(kColDate, archive).empty());
    const int sub = RowOf(browser, "Sub.dir");
    ASSERT_NE(sub, -1) << "a folder keeps its whole name";
    EXPECT_TRUE(browser->RowIsFolder(sub));
    EXPECT_FALSE(browser->RowIsFolder(archive));
    EXPECT_EQ(browser->RowPath(archive), folder + "archive.tar.gz");
    EXPECT_EQ(browser->RowPath(RowOf(browser, "Makefile")), folder + "Makefile");

    // Enumeration order, "." left out and ".." kept.
    std::vector<std::string> listed;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
    do
        if (std::string(entry.cFileName) != ".")
            listed.push_back(entry.cFileName);
    while (FindNextFileA(search, &entry));
    FindClose(search);
    EXPECT_EQ(Names(browser), listed);
    EXPECT_NE(RowOf(browser, ".."), -1);
    EXPECT_EQ(RowIcon(browser, RowOf(browser, "..")), nullptr);
    EXPECT_NE(RowIcon(browser, sub), nullptr);

    // Enter on Makefile opens the file in its folder.
    std::vector<std::string> opened;
    browser->OpenFile = [&](const std::string& file) { opened.push_back(file); };
    browser->sgFiles->SetRow(RowOf(browser, "Makefile"));
    browser->sgFilesKeyUp(VK_RETURN);
    EXPECT_TRUE(opened.empty()) << "the release of an Enter pressed elsewhere";
    PressEnter(browser);
    EXPECT_EQ(opened, std::vector<std::string>{folder + "Makefile"});
    EXPECT_EQ(browser->FolderPath, folder);
}

TEST_F(FilesForm, IconsComeFromInsideLowerCaseExeFilesOnlyAndOncePerExtension) {
    const std::string folder = MakeFolder("OrvaneIcons");
    const std::string shell = StageDir() + "\\Orvane_Shell.exe";
    ASSERT_TRUE(CopyFileA(shell.c_str(), (folder + "b.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(shell.c_str(), (folder + "A.EXE").c_str(), FALSE));
    Touch(folder + "one.txt");
    Touch(folder + "two.txt");
    TfrmFiles* browser = OpenBrowser(folder);

    HICON inside = nullptr;
    ASSERT_EQ(ExtractIconExA((folder + "b.exe").c_str(), 0, nullptr, &inside, 1), 1u);
    UniqueIcon own(inside);
    UniqueIcon byType = GetFileIcon(folder + "A.EXE", true);
    ASSERT_NE(Pixels(own.get()), Pixels(byType.get())) << "the program's icon is not the type's";

    // The program's own icon comes from the lookup pool, after the listing.
    EXPECT_TRUE(WaitUntil(
        [&] { return Pixels(RowIcon(browser, RowOf(browser, "b", "exe"))) == Pixels(own.get()); },
        10000));
    EXPECT_EQ(Pixels(RowIcon(browser, RowOf(browser, "A", "EXE"))), Pixels(byType.get()));
    // One lookup per extension: both text files show the same icon handle.
    HICON one = RowIcon(browser, RowOf(browser, "one", "txt"));
    EXPECT_NE(one, nullptr);
    EXPECT_EQ(one, RowIcon(browser, RowOf(browser, "two", "txt")));
}

TEST_F(FilesForm, ParentEntryLeadsUpAndIsRecorded) {
    const std::string folder = MakeFolder("OrvaneUp");
    TfrmFiles* browser = OpenBrowser(folder);
    browser->sgFiles->SetRow(RowOf(browser, ".."));
    browser->PathRun();
    EXPECT_EQ(browser->FolderPath, "C:\\");
    EXPECT_EQ(IniFile::Config().ReadString("Recent", "0", ""), "C:\\");
    EXPECT_EQ(RowOf(browser, ".."), -1) << "a drive root has no parent row";
    ASSERT_NE(RowOf(browser, "OrvaneUp"), -1);

    browser->sgFiles->SetRow(RowOf(browser, "OrvaneUp"));
    browser->PathRun();
    EXPECT_EQ(browser->FolderPath, folder);
    EXPECT_EQ(IniFile::Config().ReadString("Recent", "0", ""), folder);
    EXPECT_EQ(IniFile::Config().ReadString("Recent", "1", ""), "C:\\");
}

TEST_F(FilesForm, UnreadableFolderShowsOneEmptyRowThatListsItAgain) {
    const std::string missing = "C:\\OrvaneNoSuchFolder\\";
    TfrmFiles* browser = OpenBrowser(missing);
    ASSERT_EQ(browser->sgFiles->RowCount(), 2);
    for (int col = 0; col < 4; ++col)
        EXPECT_EQ(browser->sgFiles->Cells(col, 1), "");
    EXPECT_EQ(browser->Caption(), missing);
    PressEnter(browser);
    EXPECT_EQ(browser->FolderPath, missing);
    EXPECT_EQ(browser->sgFiles->RowCount(), 2);
    EXPECT_EQ(IniFile::Config().ReadString("Recent", "0", ""), missing);
}

TEST_F(FilesForm, DoubleClickOnTheHeaderOpensTheSelectedRowBelowTheRowsNothing) {
    const std::string folder = MakeFolder("OrvaneClicks");
    CreateDirectoryA((folder + "Inner").c_str(), nullptr);
    TfrmFiles* browser = OpenBrowser(folder);
    browser->Show();
    browser->sgFiles->SetRow(RowOf(browser, "Inner"));

    RECT last = browser->sgFiles->CellRect(0, browser->sgFiles->RowCount() - 1);
    POINT below = browser->sgFiles->ClientToScreen({5, last.bottom + 20});
    SetCursorPos(below.x, below.y);
    browser->sgFilesDblClick();
    EXPECT_EQ(browser->FolderPath, folder);

    POINT header = CellCentre(browser, 1, 0);
    SetCursorPos(header.x, header.y);
    browser->sgFilesDblClick();
    EXPECT_EQ(browser->FolderPath, folder + "Inner\\");
}

TEST_F(FilesForm, ColumnsFollowTheWindowAndTheWindowSnapsToTheColumns) {
    TfrmFiles* browser = OpenBrowser(MakeFolder("OrvaneColumns"));
    auto& grid = *browser->sgFiles;
    const int others = grid.ColWidths(1) + grid.ColWidths(2) + grid.ColWidths(3) + 3;
    EXPECT_EQ(grid.ColWidths(0), grid.Width() - others - 5);
    browser->SetWidth(browser->Width() + 40);
    EXPECT_EQ(grid.ColWidths(0), grid.Width() - others - 5);

    const int name = grid.ColWidths(0);
    grid.SetColWidths(2, grid.ColWidths(2) + 30);
    browser->sgFilesMouseUp();
    EXPECT_EQ(grid.ColWidths(0), name) << "the window grew by the column's gain";
}

TEST_F(FilesForm, HeaderAndSelectedRowAreDrawnWithTheirGradientsAndFrames) {
    const std::string folder = MakeFolder("OrvaneLook");
    Touch(folder + "a.txt");
    TfrmFiles* browser = OpenBrowser(folder);
    browser->sgFiles->SetRow(RowOf(browser, "a", "txt"));
    const auto& grid = *browser->sgFiles;
    PixelSurface shot(grid.Handle(), SIZE{grid.ClientWidth(), grid.ClientHeight()}, RGB(1, 2, 3));
    RECT header = grid.CellRect(2, 0), selected = grid.CellRect(1, grid.Row());
    EXPECT_PRED2(Near, shot.At(header.right - 2, header.top), RGB(0xF9, 0xF9, 0xF9));
    EXPECT_PRED2(Near, shot.At(header.right - 2, header.bottom - 1), RGB(0xCA, 0xCA, 0xCA));
    EXPECT_EQ(shot.At(selected.left, selected.top + 5), RGB(0x96, 0xC1, 0x2F));
    EXPECT_EQ(shot.At(selected.right - 1, selected.top + 5), RGB(0x96, 0xC1, 0x2F));
    EXPECT_PRED2(Near, shot.At(selected.right - 2, selected.top + 1), RGB(0xEC, 0xF5, 0xC4));
    EXPECT_PRED2(Near, shot.At(selected.right - 2, selected.bottom - 2), RGB(0xCA, 0xDE, 0x84));
    RECT other = grid.CellRect(1, grid.Row() == 1 ? 2 : 1);
    EXPECT_EQ(shot.At(other.right - 2, other.top + 1), RGB(0xF2, 0xF2, 0xF2));
    // An icon in the name cell of the file row, from x 2.
    bool iconDrawn = false;
    RECT name = grid.CellRect(0, grid.Row());
    for (int x = name.left + 2; x < name.left + 18; ++x)
        for (int y = name.top + 1; y < name.top + 17 && y < name.bottom; ++y) {
            COLORREF c = shot.At(x, y);
            iconDrawn |= c != RGB(0xEC, 0xF5, 0xC4) && c != RGB(0xCA, 0xDE, 0x84) &&
                         c != RGB(0x96, 0xC1, 0x2F) && GetGValue(c) < 0xC0;
        }
    EXPECT_TRUE(iconDrawn);
}

TEST_F(FilesForm, BrowserHasTheApplicationWindowStyleAndDropsThePendingCopy) {
    FileClipboard().ClipboardPath = "C:\\x.txt";
    TfrmFiles* browser = OpenBrowser("C:\\");
    EXPECT_TRUE(GetWindowLongA(browser->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(FileClipboard().ClipboardPath, "");
}
