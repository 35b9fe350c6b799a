#pragma once
// The file browser: a window over one folder that lists its entries in a
// four-column grid (name, extension, size, date), opens files with their
// programs and walks into folders. Any number of them can be open; each has a
// task button of its own. Its pop-up menu copies, moves and deletes files,
// makes, renames and deletes folders and bookmarks the folder.
#include "base/Win32Handles.h"
#include "system/IconLookup.h"
#include "toolkit/Form.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvane {

class TfrmNewFolder;
class TMenuItem;
class TSkinPopupMenu;
class TSkinStatusBar;
class TStringGrid;
class TTimer;

// Grid columns.
enum TFilesColumn { kColName = 0, kColExt = 1, kColSize = 2, kColDate = 3 };

class TfrmFiles : public TForm {
    ORVANE_COMPONENT(TfrmFiles, TForm)
  public:
    TfrmFiles(TComponent* owner, std::string designedName);
    ~TfrmFiles() override;

    // The folder shown, a full path ending with "\".
    std::string FolderPath;

    TStringGrid* sgFiles = nullptr;
    TSkinPopupMenu* pmFiles = nullptr;
    TSkinStatusBar* sbFiles = nullptr;
    TTimer* tmrFiles = nullptr;
    TMenuItem* miFile = nullptr;
    TMenuItem* miReplace = nullptr;
    TMenuItem* miCopy = nullptr;
    TMenuItem* miDelete = nullptr;
    TMenuItem* miPaste = nullptr;
    TMenuItem* miFolder = nullptr;
    TMenuItem* miCreate = nullptr;
    TMenuItem* miRename = nullptr;
    TMenuItem* miDeleteFold = nullptr;
    TMenuItem* N1 = nullptr;
    TMenuItem* miAddbookmark = nullptr;

    // Makes `path` (ending with "\") the folder shown and lists it.
    void OpenFolder(const std::string& path);
    // Opens the selected row: runs a file, enters a folder ("..": the parent).
    void PathRun();

    // A row stands for a folder when its size cell is blank ("..", the empty
    // row under the header of an empty listing included).
    bool RowIsFolder(int row) const;
    // The entry's name as the listing gave it ("" for the empty row): the
    // name and extension cells joined by "." where it has one, but exact for
    // names the cells cannot tell apart ("a." and "a").
    std::string RowName(int row) const;
    // FolderPath + the row's name.
    std::string RowPath(int row) const;

    // Events.
    void FormResize();
    void sgFilesMouseUp();
    void sgFilesMouseDown(TMouseButton button, int x, int y);
    void sgFilesDblClick();
    void sgFilesKeyUp(WORD key);
    void miCopyClick();
    void miReplaceClick();
    void miPasteClick();
    void miDeleteClick();
    void miCreateClick();
    void miRenameClick();
    void miDeleteFoldClick();
    void miAddbookmarkClick();
    // Keys on the grid: Delete deletes the selected file or folder, F2
    // renames, F5 lists the folder again.
    void sgFilesKeyDown(WORD key);

    // What the commands do to the outside world; tests replace them.
    // Opens a file with the system's default action for it.
    std::function<void(const std::string& file)> OpenFile;
    // Shows the name-entry dialog modally; returns its modal result.
    std::function<int(TfrmNewFolder& dialog)> ShowNameDialog;
    // Opens pmFiles at a screen point.
    std::function<void(int x, int y)> PopupMenu;
    // An information box with an OK button.
    std::function<void(const std::string& text)> ShowMessage;
    // A Yes/No question; true for Yes.
    std::function<bool(const std::string& question)> Confirm;

  protected:
    void FormCreate() override;
    DWORD WindowExStyle() const override;

  private:
    struct Listing;
    void CreateControls();
    void WireEvents();
    void MakeMenu();
    void AddFileRow(Listing& listing, const WIN32_FIND_DATAW& entry);
    HICON FileIcon(Listing& listing, const std::string& path, const std::string& extension);
    HICON KeepIcon(UniqueIcon icon);
    void sgFilesDrawCell(TCanvas& canvas, int col, int row, RECT rect, bool selected);
    void FormClose(TCloseAction& action);
    // Lists the folder again and selects `row` (or the last row) again.
    void Relist(int row);
    // Runs the name-entry dialog with the browser hidden; the name typed on
    // OK, or nothing when cancelled.
    bool AskName(const std::string& prompt, std::string& name);
    // The selected row's name when it names a folder inside this one (not
    // "..", not the empty row), else "".
    std::string SelectedFolderName() const;
    // The selected row's name when it names a file, else "".
    std::string SelectedFileName() const;
    // True when the row's entry is still what the listing showed (the same
    // name, still a file or still a folder); otherwise lists the folder
    // again, so that a command never acts on an entry that changed.
    bool StillListed(int row);

    // The icons the rows show, each once.
    std::vector<UniqueIcon> icons_;
    TOwnIcons ownIcons_;
    // What each body row was listed as (index = row - 1).
    struct TListedEntry {
        std::string name;
        bool folder = true;
    };
    std::vector<TListedEntry> entries_;
    bool enterPressed_ = false;
};

} // namespace orvane
