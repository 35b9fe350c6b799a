#pragma once
// The start panel: a tall, narrow, stay-on-top window at the left edge of the
// screen that hides just off-screen and slides in and out at the start
// button's press. Six stacked sections (Programs, Files, System, Groups, Help,
// Run), each with a title bar that collapses it; the first five hold an
// owner-drawn list, the last the run box. One pop-up menu serves every
// section and opens beside the clicked entry.
#include "base/Win32Handles.h"
#include "system/IconLookup.h"
#include "toolkit/Form.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

class TImageList;
class TListBox;
class TMenuItem;
class TSkinButton;
class TSkinComboBox;
class TSkinPanel;
class TSkinPopupMenu;
class TTimer;
class TVirtualFolders;
class TWindowsKeyWatch;
class TfrmFiles;

// What the panel needs of the taskbar, which it may not include.
struct TStartPanelHost {
    // The bar's height: the panel reaches below the screen by it (and 150).
    int TaskbarHeight = 30;
    // Images 0 (chevrons down) and 1 (chevrons up) for the section buttons.
    TImageList* SectionGlyphs = nullptr;
    // The Control Panel folders object, or null while there is none.
    std::function<TVirtualFolders*()> VirtualFolders;
    // Ctrl+Esc: what the start button does.
    std::function<void()> StartButton;
    // Where the groups live; empty for Links\Groups in the program folder.
    std::string GroupsFolder;

    // The way back to explorer. The bar's clock pattern, kept for the next run.
    std::function<std::string()> TimeFormat;
    // Put back what the bar changed at its start.
    std::function<void()> RestoreCaptionColors;
    std::function<void()> RestoreWorkArea;
    // Closes the bar, which ends the run.
    std::function<void()> CloseTaskbar;
    // Nothing is logged after this.
    std::function<void()> CloseLog;
};

enum class TFolderMenuKind { Programs, Groups };

class TfrmStart : public TForm {
    ORVANE_COMPONENT(TfrmStart, TForm)
  public:
    TfrmStart(TComponent* owner, TStartPanelHost host);
    ~TfrmStart() override;

    // Sections, top to bottom.
    TSkinPanel* plPrograms = nullptr;
    TSkinPanel* plFiles = nullptr;
    TSkinPanel* plSystem = nullptr;
    TSkinPanel* plGroups = nullptr;
    TSkinPanel* plHelp = nullptr;
    TSkinPanel* plRun = nullptr;
    TListBox* lbPrograms = nullptr;
    TListBox* lbFiles = nullptr;
    TListBox* lbSystem = nullptr;
    TListBox* lbGroups = nullptr;
    TListBox* lbHelp = nullptr;
    TSkinComboBox* cbRun = nullptr;
    TTimer* trrShowStart = nullptr;
    TSkinPopupMenu* pmStart = nullptr;

    std::string CommonStartMenuPath;
    std::string UserStartMenuPath;
    HICON FolderIcon() const { return folderIcon_.get(); }

    // Sections.
    void InitProgramsMenu();
    void InitGroupsMenu();
    void InitFilesMenu();
    void InitSystemMenu();
    void InitHelpMenu();
    void InitRunBox();
    void LoadRunHistory();
    // Sets a section to the height its entries need (also while collapsed).
    void FitSection(TSkinPanel* section, int entries);

    // The pop-up shared by all sections.
    void ClearPopup();
    void PopupBeside(TListBox* list);
    void FillFolderMenu(TMenuItem& parent, const std::string& folder, TFolderMenuKind kind);
    void pmStartDrawItem(TMenuItem& item, TCanvas& canvas, RECT rect, bool selected);
    // What a click on (or Enter at) an entry of the list does; the entry is
    // selected when it runs.
    void SetEntryClick(TListBox* list, std::function<void()> click);
    // What Enter does at an entry when it differs from a click (the entries
    // that act on a double click).
    void SetEntryEnter(TListBox* list, std::function<void()> enter);
    // The Control Panel as the pop-up beside the list's selected entry.
    void OpenControlPanel(TListBox* list);

    // Events.
    void lbProgramsClick();
    void lbProgramsDblClick();
    void lbGroupsClick();
    void ProgramItemClick(TMenuItem& item);
    void GroupItemClick(TMenuItem& item);
    void lbFilesClick();
    void FilesItemClick(TMenuItem& item);
    // A new file browser window right of the panel, level with the selected
    // Files entry, showing `folder`.
    TfrmFiles* OpenFileBrowser(const std::string& folder);
    void lbSystemClick();
    void lbSystemDblClick();
    void lbHelpDblClick();
    void ShellItemClick();
    void ExplorerItemClick();
    void sbProgramsClick(TSkinButton& button);
    void cbRunKeyPress(char& key);
    void trrShowStartTimer();
    void FormResize();

    // The run box's command runner; tests replace it. True when the program
    // started.
    std::function<bool(const std::string& command)> RunCommand;
    // Starts the task manager and explorer.exe; tests replace it. True when
    // the program started.
    std::function<bool(const std::string& command, WORD show)> StartProgram;

  protected:
    void FormCreate() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    struct Section;
    Section MakeSection(const char* name, const char* caption);
    TListBox* MakeList(TSkinPanel* section, const char* name);
    void MakeRunBox();
    // The System and Help lists' click, double click and Enter.
    void WireSystemAndHelp();
    void lbProgramsDrawItem(TListBox& list, TCanvas& canvas, int index, RECT rect, bool selected);
    bool HasArrow(const TListBox& list, int index) const;
    void ListKeyDown(TListBox& list, WORD& key);
    void OpenEntry(TListBox& list);
    void SlideOut();
    void StartKey();
    void WMDeviceChange(WPARAM event);
    void AddListEntry(TListBox* list, const std::string& text, UniqueIcon icon);
    // The last entry of `list` shows the own icon of `path` once it arrives.
    void AskOwnIcon(TListBox* list, const std::string& path);
    void ClearListEntries(TListBox* list);
    std::string GroupsPath() const;

    TStartPanelHost host_;
    UniqueIcon folderIcon_;
    // Icons shown by each list, released when the list is refilled.
    std::map<TListBox*, std::vector<UniqueIcon>> listIcons_;
    std::map<TListBox*, TOwnIcons> listOwnIcons_;
    std::vector<TListBox*> lists_;
    std::map<TListBox*, std::function<void()>> entryClicks_;
    std::map<TListBox*, std::function<void()>> entryEnters_;
    // The entry the open pop-up belongs to: its list may lose the selection
    // (and the focus) while the menu runs.
    std::string popupEntry_;
    bool hotKey_ = false;
    std::unique_ptr<TWindowsKeyWatch> windowsKey_;
};

// The name an entry shows for a file or folder: cut before the first ".lnk".
std::string DisplayName(const std::string& fileName);

// The start panel; null before it exists.
extern TfrmStart* frmStart;

} // namespace orvane
