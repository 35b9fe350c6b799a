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
#include <set>
#include <string>
#include <vector>

namespace orvane {

class TImageList;
class TLabel;
class TListBox;
class TMenuItem;
class TSkinButton;
class TSkinComboBox;
class TSkinPanel;
class TSkinPopupMenu;
class TTimer;
class TVirtualFolders;
class TWindowsKeyWatch;
class TfrmStart;

// What the panel needs of the other windows, filled in by the shell's run.
struct TStartPanelHost {
    // The bar's height: the panel reaches below the screen by it (and 150).
    int TaskbarHeight = 30;
    // Images 0 (chevrons down) and 1 (chevrons up) for the section buttons.
    TImageList* SectionGlyphs = nullptr;
    // Ctrl+Esc and the Windows key: what the start button does.
    std::function<void()> StartButton;
    // Puts the bar above the panel, on the screen too: the panel reaches
    // below the screen's edge and would cover the start button.
    std::function<void()> RaiseTaskbar;
    // Where the groups live; empty for Links\Groups in the program folder.
    std::string GroupsFolder;

    // The Shell pop-up's "Orvane Shell" item and the Help section's About
    // entry.
    std::function<void()> ShowSettings;
    std::function<void()> ShowAbout;
    // A new file browser window owned by the panel, placed at `bounds` and
    // showing `folder` (which ends with "\").
    std::function<TForm*(TfrmStart& panel, const std::string& folder, const RECT& bounds)>
        OpenFileBrowser;
    // The Shell pop-up's Explorer item: the end of the run.
    std::function<void()> ExitToExplorer;
};

// Where the panel is heading while its slide timer runs.
enum class TSlide { In, Out };

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

    // The slide, one step per tick of trrShowStart. In: shown from the left
    // edge; Out: back off the screen.
    void SlideIn();
    void SlideOut();
    // The start button: in from anywhere but fully shown (hidden, or still
    // moving), else out.
    void ToggleSlide();
    // A full-screen program is active (its window) or none is (null): the
    // panel leaves the top-most windows, or comes back among them.
    void SetBelowFullScreen(HWND fullScreen);
    TSlide SlideDirection() const { return slide_; }

    // The Control Panel folders object that fills the pop-up of the System
    // section's first entry; the panel has none until it is handed one.
    TVirtualFolders* ControlPanel() const { return controlPanel_.get(); }
    void SetControlPanel(std::unique_ptr<TVirtualFolders> folders);

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
    // Files entry, showing `folder`; null when there is none to open.
    TForm* OpenFileBrowser(const std::string& folder);
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
    // Tells the user that a run box line could not be started at all; tests
    // replace it.
    std::function<void(const std::string& text)> ShowRunFailure;
    // Opens an entry of the Programs and Groups menus (a shortcut or any
    // other file) in `folder`; tests replace it. Raises ShellError when the
    // platform cannot open it.
    std::function<void(HWND owner, const std::string& file, const std::string& folder)>
        OpenEntryFile;
    // Starts the task manager and explorer.exe; tests replace it. True when
    // the program started.
    std::function<bool(const std::string& command, WORD show)> StartProgram;

  protected:
    void FormCreate() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    // A section's panel and the title bar that collapses it.
    struct Section {
        TSkinPanel* panel;
        TSkinPanel* title;
        TLabel* label;
        TSkinButton* toggle;
    };
    void CreateControls();
    Section MakeSection(const char* name, const char* caption);
    TListBox* MakeList(TSkinPanel* section, const char* name);
    void MakeRunBox();
    void SetRunBoxFont();
    // Opens the history list under the run box; the line and the caret stay
    // as they are.
    void DropRunHistory();
    void WireEvents();
    // Whether a System entry opens a pop-up (Enter opens it; the others act
    // on Enter as on a double click).
    bool HasSystemPopup(int index) const;
    void lbProgramsDrawItem(TListBox& list, TCanvas& canvas, int index, RECT rect, bool selected);
    bool HasArrow(const TListBox& list, int index) const;
    void ListKeyDown(TListBox& list, WORD& key, bool shift);
    void OpenEntry(TListBox& list);
    void StartKey();
    // Win+R: the panel in, the run box with the keyboard.
    void RunKey();
    // Tab and Shift+Tab: the keyboard to the next (or the previous) section
    // that can take it, from `from`, a list or the run box.
    void FocusNextSection(TControl* from, bool forward);
    // Gives the list the keyboard, an entry selected.
    void FocusList(TListBox* list);
    // Whether the keyboard is where the closed pop-up menu left it (its own
    // window or the panel), not with a window the user went to.
    bool KeyboardLeftWithPopup() const;
    // Shares the screen's height above the bar among the sections.
    void LayoutSections();
    void RaiseTaskbar();
    void WMDeviceChange(WPARAM event);
    // `file`: the name on disk the entry stands for, when it differs from
    // what the entry shows (a shortcut's ".lnk").
    void AddListEntry(TListBox* list, const std::string& text, UniqueIcon icon,
                      const std::string& file = {});
    // The name on disk of an entry of `list`: its file, else its text.
    std::string EntryFile(TListBox* list, int index) const;
    // The last entry of `list` shows the own icon of `path` once it arrives.
    void AskOwnIcon(TListBox* list, const std::string& path);
    void ClearListEntries(TListBox* list);
    std::string GroupsPath() const;

    TStartPanelHost host_;
    std::unique_ptr<TVirtualFolders> controlPanel_;
    TSlide slide_ = TSlide::In;
    UniqueIcon folderIcon_;
    // Icons shown by each list, released when the list is refilled.
    std::map<TListBox*, std::vector<UniqueIcon>> listIcons_;
    std::map<TListBox*, TOwnIcons> listOwnIcons_;
    // Each entry's name on disk, beside the list's entries.
    std::map<TListBox*, std::vector<std::string>> entryFiles_;
    // The Files entries' labels and network names being read off the GUI
    // thread; dropped (and their answers with them) at a refill.
    std::vector<TIconRequest> driveTexts_;
    std::vector<Section> sections_;
    // Rows each list section would show in full, and the sections folded up
    // by their title's button.
    std::map<TSkinPanel*, int> wantedRows_;
    std::set<TSkinPanel*> collapsed_;
    std::vector<TListBox*> lists_;
    std::map<TListBox*, std::function<void()>> entryClicks_;
    std::map<TListBox*, std::function<void()>> entryEnters_;
    // The entry the open pop-up belongs to: its list may lose the selection
    // (and the focus) while the menu runs.
    std::string popupEntry_;
    bool hotKey_ = false;
    std::unique_ptr<TWindowsKeyWatch> windowsKey_;
    UniqueFont runFont_;
};

// Starts a run box line as a program, or else opens it the way the platform
// opens a document, a folder or an address. False when neither works.
bool RunLine(const std::string& line);

// The name an entry shows for a file or folder: cut before the first ".lnk".
std::string DisplayName(const std::string& fileName);

// Whether two entry names are the same entry: the lists and the pop-ups merge
// the two start menus by it (the user's locale, case ignored).
bool SameEntryName(const std::string& a, const std::string& b);

// Opens a file with the platform's default verb in `folder`, with no box of
// the platform's; raises ShellError when it cannot.
void OpenMenuEntry(HWND owner, const std::string& file, const std::string& folder);

} // namespace orvane
