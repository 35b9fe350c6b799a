// The file browser's pop-up menu and its commands: the file clipboard (Copy,
// Replace, Paste), deleting files, the folder commands through the
// name-entry dialog, and bookmarks.
#include "base/Config.h"
#include "base/Guarded.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "files/Bookmarks.h"
#include "files/FileClipboard.h"
#include "files/FileRows.h"
#include "files/FilesForm.h"
#include "files/NewFolderForm.h"
#include "system/FileEntries.h"
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

} // namespace

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
    // under the pointer, and only when that row is a file.
    const bool onSelectedFile = row == sgFiles->Row() && !RowIsFolder(row);
    miCopy->Enabled = onSelectedFile;
    miDelete->Enabled = onSelectedFile;
    miReplace->Enabled = onSelectedFile;
    POINT at;
    GetCursorPos(&at);
    PopupMenu(at.x, at.y);
}

void TfrmFiles::sgFilesKeyDown(WORD key) {
    switch (key) {
    case VK_DELETE:
        if (RowIsFolder(sgFiles->Row()))
            miDeleteFoldClick();
        else
            miDeleteClick();
        break;
    case VK_F2:
        miRenameClick();
        break;
    case VK_F5:
        Relist(sgFiles->Row());
        break;
    default:
        break;
    }
}

bool TfrmFiles::StillListed(int row) {
    if (row < 1 || static_cast<size_t>(row) > entries_.size())
        return false;
    const TListedEntry& listed = entries_[static_cast<size_t>(row) - 1];
    const TEntryKind now = ExactEntryKind(FolderPath, listed.name);
    if (now == (listed.folder ? TEntryKind::Folder : TEntryKind::File))
        return true;
    Relist(row);
    return false;
}

std::string TfrmFiles::SelectedFileName() const {
    const int row = sgFiles->Row();
    // A folder row, ".." or the empty row names a folder (or this folder
    // itself): not a file to act on.
    if (RowIsFolder(row))
        return {};
    return RowName(row);
}

void TfrmFiles::miCopyClick() {
    if (SelectedFileName().empty() || !StillListed(sgFiles->Row()))
        return;
    FileClipboard().ClipboardPath = RowPath(sgFiles->Row());
    FileClipboard().MoveOnPaste = false;
}

void TfrmFiles::miReplaceClick() {
    if (SelectedFileName().empty() || !StillListed(sgFiles->Row()))
        return;
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
    const std::string name = FileNameOf(source);
    // The marked file must still be that file; the copy never replaces
    // anything, and the move deletes the source only once the copy is whole.
    if (ExactEntryKind(FolderOf(source), name) == TEntryKind::File) {
        const std::wstring from = Wide(source);
        if (CopyFileW(from.c_str(), Wide(FolderPath + name).c_str(), TRUE) && clipboard.MoveOnPaste)
            DeleteFileW(from.c_str());
    }
    Relist(sgFiles->Row());
}

void TfrmFiles::miDeleteClick() {
    const int row = sgFiles->Row();
    const std::string name = SelectedFileName();
    if (name.empty() || !StillListed(row))
        return;
    if (!Confirm(GetLangMessage("DeleteFileQuery", name)))
        return;
    // The question may have stood open a while: look once more.
    if (!StillListed(row))
        return;
    RecycleEntry(FolderPath + name);
    Relist(row);
}

std::string TfrmFiles::SelectedFolderName() const {
    const int row = sgFiles->Row();
    const std::string name = RowName(row);
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
    // A name the file system cannot take is explained and asked again, with
    // the typed text still there to correct.
    for (;;) {
        if (ShowNameDialog(*dialog) != mrOk)
            return false;
        name = dialog->edFolderName->Text();
        if (TrimBlanks(name).empty())
            return false;
        if (IsValidEntryName(name))
            return true;
        ShowMessage(GetLangMessage("InvalidName", name));
    }
}

void TfrmFiles::miCreateClick() {
    std::string name;
    if (!AskName({}, name))
        return;
    CreateDirectoryW(Wide(FolderPath + name).c_str(), nullptr);
    Relist(sgFiles->Row());
}

void TfrmFiles::miRenameClick() {
    const int row = sgFiles->Row();
    const std::string folder = SelectedFolderName();
    if (folder.empty() || !StillListed(row))
        return;
    std::string name;
    if (!AskName(GetLangMessage("NewName"), name))
        return;
    if (!StillListed(row))
        return;
    // Fails when an entry of the new name exists: nothing is replaced.
    MoveFileW(Wide(FolderPath + folder).c_str(), Wide(FolderPath + name).c_str());
    Relist(row);
}

void TfrmFiles::miDeleteFoldClick() {
    const int row = sgFiles->Row();
    const std::string name = SelectedFolderName();
    if (name.empty() || !StillListed(row))
        return;
    const std::string folder = FolderPath + name + "\\";
    // All or nothing: a folder that holds folders is refused before
    // anything in it is touched.
    if (FolderHoldsFolders(folder)) {
        ShowMessage(GetLangMessage("FolderHoldsFolders", name));
        return;
    }
    if (!Confirm(GetLangMessage("DeleteFolderQuery", name)))
        return;
    if (!StillListed(row) || FolderHoldsFolders(folder)) {
        Relist(row);
        return;
    }
    if (!RecycleEntry(FolderPath + name))
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
