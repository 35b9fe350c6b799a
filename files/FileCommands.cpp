// The file browser's pop-up menu and its commands: the file clipboard (Copy,
// Replace, Paste), deleting files, the folder commands through the
// name-entry dialog, and bookmarks.
#include "base/Config.h"
#include "base/Guarded.h"
#include "files/Bookmarks.h"
#include "files/FileClipboard.h"
#include "files/FileRows.h"
#include "files/FilesForm.h"
#include "files/NewFolderForm.h"
#include "i18n/Languages.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/Menu.h"
#include "widgets/StringGrid.h"

#include <shellapi.h>

namespace orvane {

namespace {

constexpr char kParentEntry[] = "..";

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

bool RecycleFile(const std::string& path) {
    // The list of paths ends with an empty one: two zeros.
    std::string from = path;
    from.push_back('\0');
    SHFILEOPSTRUCTA operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    const int result = SHFileOperationA(&operation);
    return result == 0 && !operation.fAnyOperationsAborted && !Exists(path);
}

void TfrmFiles::MakeMenu() {
    pmFiles = NewComponent<TSkinPopupMenu>(this);
    pmFiles->SetName("pmFiles");
    auto item = [this](TMenuItem& parent, const char* name, const char* caption,
                       void (TfrmFiles::*command)()) {
        auto* made = NewComponent<TMenuItem>(this);
        made->SetName(name);
        made->Caption = caption;
        if (command) {
            const std::string where = std::string("TfrmFiles.") + name + "Click";
            made->OnClick = [this, where, command](TComponent&) {
                Guarded(where, FailurePolicy::LogAndContinue, [&] { (this->*command)(); });
            };
        }
        parent.Add(made);
        return made;
    };
    TMenuItem& root = pmFiles->Items();
    miFile = item(root, "miFile", "File", nullptr);
    miReplace = item(*miFile, "miReplace", "Replace", &TfrmFiles::miReplaceClick);
    miCopy = item(*miFile, "miCopy", "Copy", &TfrmFiles::miCopyClick);
    miDelete = item(*miFile, "miDelete", "Delete", &TfrmFiles::miDeleteClick);
    miPaste = item(*miFile, "miPaste", "Paste", &TfrmFiles::miPasteClick);
    miFolder = item(root, "miFolder", "Folder", nullptr);
    miCreate = item(*miFolder, "miCreate", "Create", &TfrmFiles::miCreateClick);
    miRename = item(*miFolder, "miRename", "Rename", &TfrmFiles::miRenameClick);
    miDeleteFold = item(*miFolder, "miDeleteFold", "Delete", &TfrmFiles::miDeleteFoldClick);
    N1 = item(root, "N1", "-", nullptr);
    miAddbookmark = item(root, "miAddbookmark", "Add bookmark", &TfrmFiles::miAddbookmarkClick);
}

void TfrmFiles::sgFilesMouseDown(TMouseButton button, int x, int y) {
    if (button != TMouseButton::Right)
        return;
    int col = -1, row = -1;
    sgFiles->MouseToCell(x, y, col, row);
    // The file commands act on the selected row: offered only when the
    // click was on it, so the menu never acts on a row other than the one
    // under the pointer.
    const bool onSelected = row == sgFiles->Row();
    miCopy->Enabled = onSelected;
    miDelete->Enabled = onSelected;
    miReplace->Enabled = onSelected;
    POINT at;
    GetCursorPos(&at);
    PopupMenu(at.x, at.y);
}

void TfrmFiles::miCopyClick() {
    FileClipboard().ClipboardPath = RowPath(sgFiles->Row());
    FileClipboard().MoveOnPaste = false;
}

void TfrmFiles::miReplaceClick() {
    FileClipboard().ClipboardPath = RowPath(sgFiles->Row());
    FileClipboard().MoveOnPaste = true;
}

void TfrmFiles::miPasteClick() {
    TFileClipboard& clipboard = FileClipboard();
    if (clipboard.ClipboardPath.empty())
        return;
    const std::string source = clipboard.ClipboardPath;
    // Emptied whatever happens next: a failed Paste is not tried again.
    clipboard.ClipboardPath.clear();
    const std::string target = FolderPath + FileNameOf(source);
    if (CopyFileA(source.c_str(), target.c_str(), TRUE) && clipboard.MoveOnPaste)
        DeleteFileA(source.c_str());
    Relist(sgFiles->Row());
}

void TfrmFiles::miDeleteClick() {
    const int row = sgFiles->Row();
    // A folder row, ".." or the empty row names a folder (or this folder
    // itself): not a file to delete.
    if (RowIsFolder(row))
        return;
    RecycleFile(RowPath(row));
    Relist(row);
}

std::string TfrmFiles::SelectedFolderName() const {
    const int row = sgFiles->Row();
    const std::string name = sgFiles->Cells(kColName, row);
    if (!RowIsFolder(row) || TrimBlanks(name).empty() || name == kParentEntry)
        return {};
    return name;
}

bool TfrmFiles::AskName(const std::string& prompt, std::string& name) {
    Hide();
    auto* dialog = CreateForm<TfrmNewFolder>(this, "frmNewFolder");
    // The browser comes back and the dialog goes whatever the command does.
    struct Restore {
        TfrmFiles* browser;
        TfrmNewFolder* dialog;
        ~Restore() {
            browser->FreeComponent(dialog);
            browser->Show();
        }
    } restore{this, dialog};
    if (!prompt.empty())
        dialog->lbNewFolder->SetCaption(prompt);
    if (ShowNameDialog(*dialog) != mrOk)
        return false;
    name = dialog->edFolderName->Text();
    return !TrimBlanks(name).empty();
}

void TfrmFiles::miCreateClick() {
    std::string name;
    if (!AskName({}, name))
        return;
    CreateDirectoryA((FolderPath + name).c_str(), nullptr);
    Relist(sgFiles->Row());
}

void TfrmFiles::miRenameClick() {
    const int row = sgFiles->Row();
    const std::string folder = SelectedFolderName();
    if (folder.empty())
        return;
    std::string name;
    if (!AskName(GetLangMessage("NewName"), name))
        return;
    MoveFileA((FolderPath + folder).c_str(), (FolderPath + name).c_str());
    Relist(row);
}

void TfrmFiles::miDeleteFoldClick() {
    const int row = sgFiles->Row();
    const std::string name = SelectedFolderName();
    if (name.empty())
        return;
    const std::string folder = FolderPath + name + "\\";
    WIN32_FIND_DATAA entry;
    if (UniqueFindHandle search(FindFirstFileA((folder + "*").c_str(), &entry)); search) {
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            // The first file that stays ends the command: the folder with
            // what is left in it is shown as it is.
            if (!RecycleFile(folder + entry.cFileName))
                return;
        } while (FindNextFileA(search.get(), &entry));
    }
    if (!RemoveDirectoryA((FolderPath + name).c_str()))
        ShowMessage("Unable to delete directory: " + folder);
    Relist(row);
}

void TfrmFiles::miAddbookmarkClick() {
    AddBookmark(IniFile::Config(), FolderPath);
}

void TfrmFiles::Relist(int row) {
    OpenFolder(FolderPath);
    sgFiles->SetRow(std::min(row, sgFiles->RowCount() - 1));
}

} // namespace orvane
