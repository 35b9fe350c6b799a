#include "files/FilesForm.h"

#include "base/Guarded.h"
#include "base/Text.h"
#include "base/History.h"
#include "base/Utf.h"
#include "files/FileClipboard.h"
#include "files/FileRows.h"
#include "files/NewFolderForm.h"
#include "i18n/Languages.h"
#include "paint/GradientFill.h"
#include "system/ShellIcons.h"
#include "toolkit/Application.h"
#include "toolkit/Timer.h"
#include "widgets/Menu.h"
#include "widgets/SkinStatusBar.h"
#include "widgets/StringGrid.h"

#include <shellapi.h>

#include <utility>

namespace orvane {

namespace {

constexpr int kColumns = 4;
constexpr int kColumnWidths[kColumns] = {190, 47, 65, 64};
constexpr int kRowHeight = 16;
constexpr int kIconSize = 16;

constexpr COLORREF kGridBackground = RGB(0xF2, 0xF2, 0xF2);
constexpr COLORREF kCellText = RGB(0x62, 0x62, 0x1C);
constexpr COLORREF kHeaderTop = RGB(0xF9, 0xF9, 0xF9);
constexpr COLORREF kHeaderBottom = RGB(0xCA, 0xCA, 0xCA);
constexpr COLORREF kSelectedTop = RGB(0xEC, 0xF5, 0xC4);
constexpr COLORREF kSelectedBottom = RGB(0xCA, 0xDE, 0x84);
constexpr COLORREF kSelectedFrame = RGB(0x96, 0xC1, 0x2F);

// Where text and icons sit in their cells.
constexpr int kNameTextLeft = 22;
constexpr int kNameTextTop = 3;
constexpr int kIconLeft = 2;
constexpr int kIconTop = 1;
constexpr int kTextLeft = 2;
constexpr int kTextTop = 2;

// The parent entry; "." is never listed.
constexpr char kParentEntry[] = "..";

bool IsFolderEntry(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

// What one listing keeps while it runs: the icon of each extension met so far.
struct TfrmFiles::Listing {
    struct Row {
        std::string cells[kColumns];
        HICON icon = nullptr;
        std::string name;
        bool folder = true;
    };
    std::vector<Row> rows;
    std::unordered_map<std::string, HICON> iconCache;
    // Rows whose file has an icon of its own: grid row and path.
    std::vector<std::pair<int, std::string>> ownIcons;
};

TfrmFiles::TfrmFiles(TComponent* owner, std::string designedName)
    : TForm(owner, std::move(designedName)) {
    SetSkinnedFrame(true);
    SetRollUpButton(true);
    SetBorderStyle(TBorderStyle::Sizeable);
    // The close button only (it comes with the system menu): the browser is
    // neither minimised nor maximised.
    SetBorderIcons({true, false, false});
    Font.Name = "MS Sans Serif";
    Font.Size = 8;
    OpenFile = [this](const std::string& file) {
        ShellExecuteW(Handle(), nullptr, Wide(file).c_str(), nullptr, Wide(FolderPath).c_str(),
                      SW_SHOWNORMAL);
    };
    ShowNameDialog = [](TfrmNewFolder& dialog) { return dialog.ShowModal(); };
    PopupMenu = [this](int x, int y) { pmFiles->Popup(x, y); };
    ShowMessage = [this](const std::string& text) {
        if (Application())
            Application()->MessageBox(text, Caption(), MB_OK | MB_ICONINFORMATION);
        else
            MessageBoxW(Handle(), Wide(text).c_str(), Wide(Caption()).c_str(),
                        MB_OK | MB_ICONINFORMATION);
    };
    Confirm = [this](const std::string& question) {
        constexpr UINT kQuestion = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
        if (Application())
            return Application()->MessageBox(question, Caption(), kQuestion) == IDYES;
        return MessageBoxW(Handle(), Wide(question).c_str(), Wide(Caption()).c_str(), kQuestion) ==
               IDYES;
    };
}

TfrmFiles::~TfrmFiles() = default;

DWORD TfrmFiles::WindowExStyle() const {
    // A task button of its own, although the window is owned.
    return TForm::WindowExStyle() | WS_EX_APPWINDOW;
}

void TfrmFiles::FormCreate() {
    CreateControls();
    WireEvents();
    // A new browser drops a file marked for Paste in any other.
    FileClipboard().ClipboardPath.clear();
}

void TfrmFiles::CreateControls() {
    sbFiles = NewComponent<TSkinStatusBar>(this);
    sbFiles->SetName("sbFiles");
    sbFiles->SetParent(this);

    sgFiles = NewComponent<TStringGrid>(this);
    sgFiles->SetName("sgFiles");
    sgFiles->SetParent(this);
    sgFiles->SetAlign(TAlign::Client);
    sgFiles->SetColor(kGridBackground);
    sgFiles->Font = Font;
    sgFiles->Font.Color = kCellText;
    sgFiles->SetColCount(kColumns);
    sgFiles->SetRowCount(2);
    sgFiles->SetDefaultRowHeight(kRowHeight);
    for (int col = 0; col < kColumns; ++col)
        sgFiles->SetColWidths(col, kColumnWidths[col]);
    sgFiles->SetCells(kColName, 0, GetLangMessage("FileName"));
    sgFiles->SetCells(kColExt, 0, GetLangMessage("FileExt"));
    sgFiles->SetCells(kColSize, 0, GetLangMessage("FileSize"));
    sgFiles->SetCells(kColDate, 0, GetLangMessage("FileDate"));

    tmrFiles = NewComponent<TTimer>(this);
    tmrFiles->SetName("tmrFiles");
    tmrFiles->SetEnabled(false);

    // The menu's commands are wired as the menu is made, from its table.
    MakeMenu();
}

void TfrmFiles::WireEvents() {
    sgFiles->OnDrawCell = [this](TStringGrid&, TCanvas& canvas, int col, int row, RECT rect,
                                 bool selected) {
        Guarded("TfrmFiles.sgFilesDrawCell", FailurePolicy::LogAndContinue,
                [&] { sgFilesDrawCell(canvas, col, row, rect, selected); });
    };
    sgFiles->OnMouseUp = [this](TComponent&, TMouseButton, TShiftState, int, int) {
        Guarded("TfrmFiles.sgFilesMouseUp", FailurePolicy::LogAndContinue,
                [&] { sgFilesMouseUp(); });
    };
    sgFiles->OnMouseDown = [this](TComponent&, TMouseButton button, TShiftState, int x, int y) {
        Guarded("TfrmFiles.sgFilesMouseDown", FailurePolicy::LogAndContinue,
                [&] { sgFilesMouseDown(button, x, y); });
    };
    sgFiles->OnDblClick = [this](TComponent&) {
        Guarded("TfrmFiles.sgFilesDblClick", FailurePolicy::LogAndContinue,
                [&] { sgFilesDblClick(); });
    };
    // Enter acts on its release, and only when it was also pressed here: the
    // release of an Enter that chose a menu item or closed the name dialog
    // must not open the selected row as well.
    sgFiles->OnKeyDown = [this](TComponent&, WORD& key, TShiftState) {
        if (key == VK_RETURN)
            enterPressed_ = true;
        Guarded("TfrmFiles.sgFilesKeyDown", FailurePolicy::LogAndContinue,
                [&] { sgFilesKeyDown(key); });
    };
    sgFiles->OnKeyUp = [this](TComponent&, WORD& key, TShiftState) {
        Guarded("TfrmFiles.sgFilesKeyUp", FailurePolicy::LogAndContinue,
                [&] { sgFilesKeyUp(key); });
    };
    OnResize = [this](TComponent&) {
        Guarded("TfrmFiles.FormResize", FailurePolicy::LogAndContinue, [&] { FormResize(); });
    };
    OnClose = [this](TForm&, TCloseAction& action) {
        Guarded("TfrmFiles.FormClose", FailurePolicy::LogAndContinue, [&] { FormClose(action); });
    };
}

void TfrmFiles::FormClose(TCloseAction& action) {
    // Freed once the close has returned (TForm::Release). Destroying the
    // window takes it off the screen: hiding it first as well would unmap the
    // X window twice in quick succession.
    action = TCloseAction::Free;
}

void TfrmFiles::FormResize() {
    if (!sgFiles)
        return;
    int others = 0;
    for (int col = kColExt; col < kColumns; ++col)
        others += sgFiles->ColWidths(col) + TStringGrid::GridLineWidth;
    sgFiles->SetColWidths(kColName, sgFiles->Width() - others - 5);
}

void TfrmFiles::sgFilesMouseUp() {
    int columns = 0;
    for (int col = 0; col < kColumns; ++col)
        columns += sgFiles->ColWidths(col) + TStringGrid::GridLineWidth;
    const int width = Width() - sgFiles->Width() + columns + 4;
    if (width != Width())
        SetWidth(width);
}

void TfrmFiles::sgFilesDblClick() {
    POINT at;
    GetCursorPos(&at);
    at = sgFiles->ScreenToClient(at);
    int col = -1, row = -1;
    sgFiles->MouseToCell(at.x, at.y, col, row);
    if (col >= 0 && row >= 0)
        PathRun();
}

void TfrmFiles::sgFilesKeyUp(WORD key) {
    if (key == VK_RETURN && std::exchange(enterPressed_, false))
        PathRun();
}

void TfrmFiles::OpenFolder(const std::string& path) {
    FolderPath = path;
    SetCaption(path);

    Listing listing;
    ownIcons_.Clear();
    std::vector<UniqueIcon> previous = std::move(icons_);
    icons_.clear();
    WIN32_FIND_DATAW entry;
    UniqueFindHandle search(FindFirstFileW(Wide(FolderPath + "*").c_str(), &entry));
    if (search) {
        do {
            if (std::wstring_view(entry.cFileName) != L".")
                AddFileRow(listing, entry);
        } while (FindNextFileW(search.get(), &entry));
    }
    if (listing.rows.empty())
        listing.rows.emplace_back();

    sgFiles->SetRowCount(1);
    sgFiles->SetObjects(0, 0);
    sgFiles->SetRowCount(static_cast<int>(listing.rows.size()) + 1);
    entries_.clear();
    for (size_t i = 0; i < listing.rows.size(); ++i) {
        entries_.push_back({listing.rows[i].name, listing.rows[i].folder});
        const int row = static_cast<int>(i) + 1;
        for (int col = 0; col < kColumns; ++col)
            sgFiles->SetCells(col, row, listing.rows[i].cells[col]);
        sgFiles->SetObjects(row, reinterpret_cast<intptr_t>(listing.rows[i].icon));
    }
    sgFiles->Invalidate();
    // The old rows' icons go only now that no row shows them.
    previous.clear();
    // Reading a program's icon opens the file: the lookup pool does that, and
    // the row shows its type icon until then.
    for (auto& [row, file] : listing.ownIcons)
        ownIcons_.Ask(file, true, [this, row](HICON icon) {
            sgFiles->SetObjects(row, reinterpret_cast<intptr_t>(icon));
            sgFiles->Invalidate();
        });
}

void TfrmFiles::AddFileRow(Listing& listing, const WIN32_FIND_DATAW& entry) {
    Listing::Row& row = listing.rows.emplace_back();
    const std::string name = Utf8Until(entry.cFileName, MAX_PATH);
    row.name = name;
    row.folder = IsFolderEntry(entry);
    if (row.folder) {
        row.cells[kColName] = name;
        if (name != kParentEntry)
            row.icon = KeepIcon(GetFolderIcon(FolderPath + name));
    } else {
        TNameParts parts = SplitFileName(name);
        const uint64_t size =
            (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        row.cells[kColSize] = FormatFileSize(size);
        row.icon = FileIcon(listing, FolderPath + name, parts.extension);
        row.cells[kColName] = std::move(parts.name);
        row.cells[kColExt] = std::move(parts.extension);
    }
    row.cells[kColDate] = FormatFileDate(entry.ftLastWriteTime);
}

HICON TfrmFiles::FileIcon(Listing& listing, const std::string& path, const std::string& extension) {
    // Only these exact lower-case extensions carry their own icon: A.EXE shows
    // the icon of its type.
    if (extension == "exe" || extension == "ico")
        listing.ownIcons.emplace_back(static_cast<int>(listing.rows.size()), path);
    if (auto cached = listing.iconCache.find(extension); cached != listing.iconCache.end())
        return cached->second;
    HICON icon = KeepIcon(GetFileIcon(path, true));
    listing.iconCache.emplace(extension, icon);
    return icon;
}

HICON TfrmFiles::KeepIcon(UniqueIcon icon) {
    HICON kept = icon.get();
    if (icon)
        icons_.push_back(std::move(icon));
    return kept;
}

bool TfrmFiles::RowIsFolder(int row) const {
    return TrimBlanks(sgFiles->Cells(kColSize, row)).empty();
}

std::string TfrmFiles::RowName(int row) const {
    if (row >= 1 && static_cast<size_t>(row) <= entries_.size())
        return entries_[static_cast<size_t>(row) - 1].name;
    const std::string name = sgFiles->Cells(kColName, row);
    const std::string extension = sgFiles->Cells(kColExt, row);
    return extension.empty() ? name : name + "." + extension;
}

std::string TfrmFiles::RowPath(int row) const {
    return FolderPath + RowName(row);
}

void TfrmFiles::PathRun() {
    Guarded("TfrmFiles.PathRun", FailurePolicy::LogAndContinue, [&] {
        const int row = sgFiles->Row();
        if (!RowIsFolder(row)) {
            OpenFile(RowPath(row));
            return;
        }
        const std::string name = RowName(row);
        std::string folder = name == kParentEntry ? ParentFolder(FolderPath) : FolderPath + name;
        if (folder.empty() || folder.back() != '\\')
            folder += '\\';
        AddToHistory("Recent", folder);
        OpenFolder(folder);
    });
}

void TfrmFiles::sgFilesDrawCell(TCanvas& canvas, int col, int row, RECT rect, bool selected) {
    HDC dc = canvas.Handle();
    if (row == 0) {
        GradientFill(dc, rect, false, {kHeaderTop, kHeaderBottom});
        canvas.Font.Bold = true;
    } else if (selected) {
        GradientFill(dc, rect, false, {kSelectedTop, kSelectedBottom});
        canvas.Brush.Color = kSelectedFrame;
        canvas.FrameRect(rect);
    } else {
        canvas.Brush.Color = kGridBackground;
        canvas.Brush.Style = TBrushStyle::Solid;
        canvas.FillRect(rect);
    }
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Font.Color = kCellText;
    const std::string text = sgFiles->Cells(col, row);
    if (col == kColName) {
        if (HICON icon = row > 0 ? reinterpret_cast<HICON>(sgFiles->Objects(row)) : nullptr)
            canvas.DrawIcon(rect.left + kIconLeft, rect.top + kIconTop, icon, kIconSize);
        canvas.TextRect(rect, kNameTextLeft, rect.top + kNameTextTop, text);
    } else {
        canvas.TextRect(rect, rect.left + kTextLeft, rect.top + kTextTop, text);
    }
}

} // namespace orvane
