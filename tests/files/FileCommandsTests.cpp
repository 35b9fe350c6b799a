// The pop-up menu's commands: which file commands a right click offers, the
// file clipboard across windows, deleting to the Recycle Bin, the folder
// commands through the name-entry dialog (never on ".." or the empty row,
// never with an empty name), and the bookmarks.
#include "base/Config.h"
#include "files/Bookmarks.h"
#include "files/FileClipboard.h"
#include "files/NewFolderForm.h"
#include "tests/files/FilesTestSupport.h"
#include "tests/i18n/LanguageTestSupport.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/MenuItem.h"
#include "widgets/SkinButton.h"
#include "widgets/StringGrid.h"

using namespace orvane;
using namespace orvane::test;

namespace {

bool Exists(const std::string& path) {
    return FileExists(path);
}

// Answers the name-entry dialog with `name` and OK (or Cancel), noting what
// the user would have seen.
struct NameAnswer {
    std::string name;
    int result = mrOk;
    bool browserHidden = false;
    std::string prompt;
    std::string caption;
    std::string cancel;
    SIZE clientSize{};
    int asked = 0;

    void Attach(TfrmFiles* browser) {
        browser->ShowNameDialog = [this, browser](TfrmNewFolder& dialog) {
            ++asked;
            browserHidden = !IsWindowVisible(browser->Handle()) && !browser->Visible();
            prompt = dialog.lbNewFolder->Caption();
            RECT client;
            GetClientRect(dialog.Handle(), &client);
            clientSize = {client.right, client.bottom};
            caption = dialog.Caption();
            cancel = dialog.btnCancel->Caption();
            dialog.edFolderName->SetText(name);
            return result;
        };
    }
};

} // namespace

using FileCommands = FilesTest;

TEST_F(FileCommands, FileCommandsAreOfferedOnlyOnTheSelectedRow) {
    const std::string folder = MakeFolder("OrvaneMenu");
    Touch(folder + "a.txt");
    Touch(folder + "b.txt");
    TfrmFiles* browser = OpenBrowser(folder);
    int popups = 0;
    browser->PopupMenu = [&](int, int) { ++popups; };
    browser->sgFiles->SetRow(RowOf(browser, "a", "txt"));

    auto rightClick = [&](int row) {
        RECT cell = browser->sgFiles->CellRect(1, row);
        browser->sgFilesMouseDown(TMouseButton::Right, cell.left + 3, cell.top + 3);
    };
    rightClick(RowOf(browser, "b", "txt"));
    EXPECT_FALSE(browser->miCopy->Enabled);
    EXPECT_FALSE(browser->miDelete->Enabled);
    EXPECT_FALSE(browser->miReplace->Enabled);
    EXPECT_TRUE(browser->miPaste->Enabled);
    EXPECT_TRUE(browser->miDeleteFold->Enabled);
    EXPECT_EQ(browser->sgFiles->Row(), RowOf(browser, "a", "txt")) << "the selection stays";
    rightClick(RowOf(browser, "a", "txt"));
    EXPECT_TRUE(browser->miCopy->Enabled);
    EXPECT_TRUE(browser->miDelete->Enabled);
    EXPECT_TRUE(browser->miReplace->Enabled);
    browser->sgFilesMouseDown(TMouseButton::Left, 3, 3);
    EXPECT_EQ(popups, 2) << "only the right button opens the menu";
}

TEST_F(FileCommands, CopyInOneWindowPastesInAnotherUntilAThirdOpens) {
    const std::string from = MakeFolder("OrvaneFrom"), to = MakeFolder("OrvaneTo");
    Touch(from + "note.txt", "note");
    Touch(from + "other.txt", "other");
    TfrmFiles* source = OpenBrowser(from);
    TfrmFiles* target = OpenBrowser(to);

    source->sgFiles->SetRow(RowOf(source, "note", "txt"));
    source->miCopyClick();
    target->miPasteClick();
    EXPECT_EQ(ReadFileText(to + "note.txt"), "note");
    EXPECT_TRUE(Exists(from + "note.txt"));
    EXPECT_NE(RowOf(target, "note", "txt"), -1) << "the pasting window lists anew";
    EXPECT_EQ(FileClipboard().ClipboardPath, "");

    source->sgFiles->SetRow(RowOf(source, "other", "txt"));
    source->miCopyClick();
    OpenBrowser(from);
    target->miPasteClick();
    EXPECT_FALSE(Exists(to + "other.txt")) << "a new window empties the file clipboard";

    // Replace moves, and never over a file of the same name.
    Touch(to + "other.txt", "kept");
    source->sgFiles->SetRow(RowOf(source, "other", "txt"));
    source->miReplaceClick();
    target->miPasteClick();
    EXPECT_EQ(ReadFileText(to + "other.txt"), "kept");
    EXPECT_TRUE(Exists(from + "other.txt"));
    source->sgFiles->SetRow(RowOf(source, "note", "txt"));
    DeleteFileA((to + "note.txt").c_str());
    source->miReplaceClick();
    target->miPasteClick();
    EXPECT_FALSE(Exists(from + "note.txt"));
    EXPECT_EQ(ReadFileText(to + "note.txt"), "note");
}

TEST_F(FileCommands, ReplaceAndPasteInTheSameFolderLeaveTheFile) {
    const std::string folder = MakeFolder("OrvaneSame");
    Touch(folder + "stay.txt", "stay");
    TfrmFiles* browser = OpenBrowser(folder);
    browser->sgFiles->SetRow(RowOf(browser, "stay", "txt"));
    browser->miReplaceClick();
    browser->miPasteClick();
    EXPECT_EQ(ReadFileText(folder + "stay.txt"), "stay");
    EXPECT_EQ(FileClipboard().ClipboardPath, "");
}

TEST_F(FileCommands, DeleteSendsTheFileToTheRecycleBinAndNeverAFolder) {
    const std::string folder = MakeFolder("OrvaneDelete");
    Touch(folder + "gone.txt", "gone");
    CreateDirectoryA((folder + "Keep").c_str(), nullptr);
    Touch(folder + "Keep\\inside.txt");
    TfrmFiles* browser = OpenBrowser(folder);
    const int row = RowOf(browser, "gone", "txt");
    browser->sgFiles->SetRow(row);
    browser->miDeleteClick();
    EXPECT_FALSE(Exists(folder + "gone.txt"));
    EXPECT_EQ(RowOf(browser, "gone", "txt"), -1);
    EXPECT_EQ(browser->sgFiles->Row(), std::min(row, browser->sgFiles->RowCount() - 1));
    // Wine's Recycle Bin is the trash of $XDG_DATA_HOME (set inside the prefix).
    const std::string trash = EnvVar("XDG_DATA_HOME");
    if (!trash.empty()) {
        EXPECT_TRUE(Exists("Z:" + trash + "/Trash/files/gone.txt")) << trash;
    }

    // The file command leaves a folder alone; neither command touches "..".
    browser->sgFiles->SetRow(RowOf(browser, "Keep"));
    browser->miDeleteClick();
    EXPECT_TRUE(Exists(folder + "Keep\\inside.txt"));
    Touch("C:\\OrvaneAbove.txt");
    browser->sgFiles->SetRow(RowOf(browser, ".."));
    browser->miDeleteClick();
    browser->miDeleteFoldClick();
    EXPECT_TRUE(Exists("C:\\OrvaneAbove.txt"));
    DeleteFileA("C:\\OrvaneAbove.txt");

    // The empty row of a folder that cannot be listed names the folder itself.
    TfrmFiles* empty = OpenBrowser("C:\\OrvaneNoSuchFolder\\");
    empty->FolderPath = folder + "Keep\\";
    empty->miDeleteClick();
    empty->miDeleteFoldClick();
    EXPECT_TRUE(Exists(folder + "Keep\\inside.txt"));
}

TEST_F(FileCommands, DeleteFolderIsAllOrNothing) {
    const std::string folder = MakeFolder("OrvaneDeleteFolder");
    CreateDirectoryA((folder + "Flat").c_str(), nullptr);
    Touch(folder + "Flat\\a.txt");
    Touch(folder + "Flat\\b.txt");
    CreateDirectoryA((folder + "Deep").c_str(), nullptr);
    Touch(folder + "Deep\\c.txt");
    CreateDirectoryA((folder + "Deep\\Inner").c_str(), nullptr);
    TfrmFiles* browser = OpenBrowser(folder);
    std::vector<std::string> messages;
    browser->ShowMessage = [&](const std::string& text) { messages.push_back(text); };

    // A folder holding a folder is refused before anything in it is touched.
    browser->sgFiles->SetRow(RowOf(browser, "Deep"));
    browser->miDeleteFoldClick();
    EXPECT_TRUE(Exists(folder + "Deep\\c.txt"));
    EXPECT_TRUE(Exists(folder + "Deep\\Inner"));
    EXPECT_EQ(messages, std::vector<std::string>{"FolderHoldsFolders"});
    EXPECT_TRUE(questions_.empty());

    // One that can go goes to the Recycle Bin whole, after one question.
    browser->sgFiles->SetRow(RowOf(browser, "Flat"));
    answerYes_ = false;
    browser->miDeleteFoldClick();
    EXPECT_TRUE(Exists(folder + "Flat\\a.txt"));
    answerYes_ = true;
    browser->miDeleteFoldClick();
    EXPECT_FALSE(Exists(folder + "Flat"));
    EXPECT_EQ(questions_, (std::vector<std::string>{"DeleteFolderQuery", "DeleteFolderQuery"}));
    const std::string trash = EnvVar("XDG_DATA_HOME");
    if (!trash.empty()) {
        EXPECT_TRUE(Exists("Z:" + trash + "/Trash/files/Flat/b.txt")) << trash;
    }
}

// The names of four scripts beside Latin names that "??.txt" or "??????.txt"
// (what an ANSI listing made of them) would have matched as wildcards.
TEST_F(FileCommands, EveryCommandActsOnExactlyTheChosenNameInAnyScript) {
    const std::string folder = MakeFolder("OrvaneScripts"), other = MakeFolder("OrvaneScripts2");
    const std::vector<std::string> names = {"日本.txt", "Привет.txt", "ελληνικά.txt", "📁.txt"};
    for (const std::string& name : names)
        Touch(folder + name, name);
    for (const char* latin : {"ab.txt", "abcdef.txt", "abcdefgh.txt"})
        Touch(folder + latin, latin);
    CreateDirectoryA((folder + "xy.txt").c_str(), nullptr);
    TfrmFiles* browser = OpenBrowser(folder);
    TfrmFiles* target = OpenBrowser(other);
    auto select = [&](const std::string& name) {
        const size_t dot = name.rfind('.');
        const int row = RowOf(browser, name.substr(0, dot), name.substr(dot + 1));
        ASSERT_NE(row, -1) << name;
        browser->sgFiles->SetRow(row);
    };

    select("日本.txt");
    browser->miDeleteClick();
    select("📁.txt");
    browser->miDeleteClick();
    EXPECT_EQ(questions_, (std::vector<std::string>{"DeleteFileQuery", "DeleteFileQuery"}));
    select("Привет.txt");
    browser->miCopyClick();
    target->miPasteClick();
    select("ελληνικά.txt");
    browser->miReplaceClick();
    target->miPasteClick();

    EXPECT_FALSE(Exists(folder + "日本.txt"));
    EXPECT_FALSE(Exists(folder + "📁.txt"));
    EXPECT_EQ(ReadFileText(other + "Привет.txt"), "Привет.txt");
    EXPECT_TRUE(Exists(folder + "Привет.txt"));
    EXPECT_EQ(ReadFileText(other + "ελληνικά.txt"), "ελληνικά.txt");
    EXPECT_FALSE(Exists(folder + "ελληνικά.txt"));
    for (const char* latin : {"ab.txt", "abcdef.txt", "abcdefgh.txt", "xy.txt"})
        EXPECT_TRUE(Exists(folder + latin)) << latin;
    const std::string trash = EnvVar("XDG_DATA_HOME");
    if (!trash.empty()) {
        EXPECT_TRUE(Exists("Z:" + trash + "/Trash/files/日本.txt")) << trash;
    }

    // Folders: made, renamed and deleted under names in other scripts.
    NameAnswer answer;
    answer.Attach(browser);
    answer.name = "Ωmega 日本";
    browser->miCreateClick();
    ASSERT_NE(RowOf(browser, "Ωmega 日本"), -1);
    browser->sgFiles->SetRow(RowOf(browser, "Ωmega 日本"));
    answer.name = "Папка 🗂";
    browser->miRenameClick();
    EXPECT_TRUE(Exists(folder + "Папка 🗂"));
    browser->sgFiles->SetRow(RowOf(browser, "Папка 🗂"));
    browser->miDeleteFoldClick();
    EXPECT_FALSE(Exists(folder + "Папка 🗂"));
    EXPECT_TRUE(Exists(folder + "xy.txt"));
}

TEST_F(FileCommands, RefusedNamesAreExplainedAndTheDialogStays) {
    const std::string folder = MakeFolder("OrvaneBadNames");
    TfrmFiles* browser = OpenBrowser(folder);
    std::vector<std::string> messages;
    browser->ShowMessage = [&](const std::string& text) { messages.push_back(text); };
    const std::vector<std::string> refused = {"..\\x",   "a/b", "CON",       "name.",
                                              "nul.txt", "a*b", "tab\tname", "trailing "};
    size_t next = 0;
    browser->ShowNameDialog = [&](TfrmNewFolder& dialog) {
        // The dialog comes back with the refused text still in it.
        if (next > 0) {
            EXPECT_EQ(dialog.edFolderName->Text(), refused[next - 1]);
        }
        if (next == refused.size())
            return static_cast<int>(mrCancel);
        dialog.edFolderName->SetText(refused[next++]);
        return static_cast<int>(mrOk);
    };
    browser->miCreateClick();
    EXPECT_EQ(next, refused.size());
    EXPECT_EQ(messages, std::vector<std::string>(refused.size(), "InvalidName"));
    EXPECT_EQ(Names(browser), (std::vector<std::string>{".."}));
    EXPECT_FALSE(Exists("C:\\x"));
}

TEST_F(FileCommands, AnEntryThatChangedSinceTheListingIsListedAgainNotTouched) {
    const std::string folder = MakeFolder("OrvaneChanged");
    Touch(folder + "x.txt", "x");
    Touch(folder + "y.txt", "y");
    TfrmFiles* browser = OpenBrowser(folder);
    // Another program makes the file a folder and removes the other file.
    DeleteFileA((folder + "x.txt").c_str());
    CreateDirectoryA((folder + "x.txt").c_str(), nullptr);
    Touch(folder + "x.txt\\inside.txt", "inside");
    DeleteFileA((folder + "y.txt").c_str());

    browser->sgFiles->SetRow(RowOf(browser, "x", "txt"));
    browser->miDeleteClick();
    browser->miCopyClick();
    EXPECT_TRUE(questions_.empty()) << "nothing was asked about an entry that changed";
    EXPECT_EQ(FileClipboard().ClipboardPath, "");
    EXPECT_EQ(ReadFileText(folder + "x.txt\\inside.txt"), "inside");
    EXPECT_NE(RowOf(browser, "x.txt"), -1) << "listed anew: now a folder row";
    EXPECT_EQ(RowOf(browser, "y", "txt"), -1);
}

TEST_F(FileCommands, KeysDeleteRenameAndListAgainAndFolderRowsOfferNoFileCommands) {
    const std::string folder = MakeFolder("OrvaneKeys");
    Touch(folder + "a.txt");
    CreateDirectoryA((folder + "Sub").c_str(), nullptr);
    TfrmFiles* browser = OpenBrowser(folder);
    browser->PopupMenu = [](int, int) {};
    browser->sgFiles->SetRow(RowOf(browser, "Sub"));
    RECT cell = browser->sgFiles->CellRect(0, RowOf(browser, "Sub"));
    browser->sgFilesMouseDown(TMouseButton::Right, cell.left + 3, cell.top + 3);
    EXPECT_FALSE(browser->miCopy->Enabled);
    EXPECT_FALSE(browser->miReplace->Enabled);
    EXPECT_FALSE(browser->miDelete->Enabled);

    NameAnswer answer;
    answer.Attach(browser);
    answer.name = "Renamed";
    browser->sgFilesKeyDown(VK_F2);
    EXPECT_TRUE(Exists(folder + "Renamed"));
    browser->sgFiles->SetRow(RowOf(browser, "a", "txt"));
    browser->sgFilesKeyDown(VK_DELETE);
    EXPECT_FALSE(Exists(folder + "a.txt"));
    browser->sgFiles->SetRow(RowOf(browser, "Renamed"));
    browser->sgFilesKeyDown(VK_DELETE);
    EXPECT_FALSE(Exists(folder + "Renamed"));
    Touch(folder + "new.txt");
    EXPECT_EQ(RowOf(browser, "new", "txt"), -1);
    browser->sgFilesKeyDown(VK_F5);
    EXPECT_NE(RowOf(browser, "new", "txt"), -1);
    EXPECT_EQ(questions_, (std::vector<std::string>{"DeleteFileQuery", "DeleteFolderQuery"}));
}

TEST_F(FileCommands, CreateAndRenameAskWithTheBrowserHiddenAndIgnoreEmptyNames) {
    const std::string folder = MakeFolder("OrvaneNames");
    CreateDirectoryA((folder + "Old").c_str(), nullptr);
    TfrmFiles* browser = OpenBrowser(folder);
    browser->Show();
    NameAnswer answer;
    answer.Attach(browser);

    answer.name = "New";
    browser->miCreateClick();
    EXPECT_TRUE(answer.browserHidden);
    EXPECT_TRUE(browser->Visible());
    EXPECT_EQ(answer.prompt, "-----");
    EXPECT_EQ(answer.clientSize.cx, 253);
    EXPECT_EQ(answer.clientSize.cy, 95);
    EXPECT_TRUE(Exists(folder + "New"));
    EXPECT_NE(RowOf(browser, "New"), -1);
    EXPECT_EQ(browser->FindComponent("frmNewFolder"), nullptr) << "the dialog is gone";

    answer.name = "Cancelled";
    answer.result = mrCancel;
    browser->miCreateClick();
    EXPECT_FALSE(Exists(folder + "Cancelled"));
    EXPECT_TRUE(browser->Visible());

    answer.result = mrOk;
    browser->sgFiles->SetRow(RowOf(browser, "Old"));
    answer.name = "Renamed";
    browser->miRenameClick();
    EXPECT_EQ(answer.prompt, "NewName");
    EXPECT_TRUE(Exists(folder + "Renamed"));
    EXPECT_FALSE(Exists(folder + "Old"));

    const int asked = answer.asked;
    answer.name = "  ";
    browser->miCreateClick();
    browser->sgFiles->SetRow(RowOf(browser, "Renamed"));
    browser->miRenameClick();
    EXPECT_TRUE(Exists(folder + "Renamed"));
    EXPECT_EQ(answer.asked, asked + 2);

    // ".." is no folder to rename: nothing is asked.
    browser->sgFiles->SetRow(RowOf(browser, ".."));
    browser->miRenameClick();
    EXPECT_EQ(answer.asked, asked + 2);
}

TEST_F(FileCommands, NameDialogTakesItsTextsFromTheLanguageFile) {
    const std::string german = ReadFileText(StageDir() + "\\Languages\\Deutsch.lng");
    ASSERT_NE(german.find("[frmNewFolder]"), std::string::npos);
    TestLanguage language(UniqueLanguageName(), german);
    TfrmFiles* browser = OpenBrowser(MakeFolder("OrvaneGerman"));
    NameAnswer answer;
    answer.result = mrCancel;
    answer.Attach(browser);
    browser->miCreateClick();
    EXPECT_EQ(answer.prompt, "Ordnername:");
    EXPECT_EQ(answer.caption, "Orvane Shell - Dateimanager");
    EXPECT_EQ(answer.cancel, "Abbrechen");
}

TEST_F(FileCommands, BookmarksNewestFirstOnceEachTenAtMost) {
    const std::string folder = MakeFolder("OrvaneMarks");
    TfrmFiles* browser = OpenBrowser(folder);
    browser->miAddbookmarkClick();
    browser->miAddbookmarkClick();
    IniPairs marks = IniFile::Config().ReadSection("Bookmarks");
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0], std::make_pair(std::string("0"), folder));

    for (int i = 1; i <= 10; ++i)
        AddBookmark(IniFile::Config(), "C:\\Mark" + std::to_string(i) + "\\");
    AddBookmark(IniFile::Config(), "C:\\Mark5\\");
    marks = IniFile::Config().ReadSection("Bookmarks");
    ASSERT_EQ(marks.size(), 10u);
    EXPECT_EQ(marks[0].second, "C:\\Mark10\\");
    EXPECT_EQ(marks[9].second, "C:\\Mark1\\");
    EXPECT_EQ(marks[9].first, "9");
    for (const auto& [key, value] : marks)
        EXPECT_NE(value, folder) << "the eleventh bookmark pushed the oldest out";
}
