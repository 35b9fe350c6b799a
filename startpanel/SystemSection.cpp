// The System and Help sections: the Control Panel, the shell's own commands
// (the settings dialog, and the Explorer command, which hands the end of the
// run to the shell's run), the shut-down dialog, the task manager, the help
// files and the about box.
#include "startpanel/StartPanel.h"

#include "base/Config.h"
#include "base/Guarded.h"
#include "base/Platform.h"
#include "base/ShellError.h"
#include "base/Utf.h"
#include "i18n/Languages.h"
#include "startpanel/PanelMenuItem.h"
#include "toolkit/Application.h"
#include "widgets/ListBox.h"
#include "widgets/Menu.h"

#include <shellapi.h>

namespace orvane {

namespace {

// System entries by index; the task manager's exists on the NT family only.
enum SystemEntry { kControlPanelEntry, kShellEntry, kShutdownEntry, kTaskmgrEntry };
enum HelpEntry { kWindowsHelpEntry, kShellHelpEntry, kAboutEntry };

// SHELL32's shut-down dialog is exported by ordinal only.
constexpr WORD kShutdownDialogOrdinal = 60;

UniqueIcon LoadSystemIcon(const std::string& fileName) {
    const std::string path = ProgramFolder() + "\\Icons\\System\\" + fileName;
    auto* icon = static_cast<HICON>(
        LoadImageW(nullptr, Wide(path).c_str(), IMAGE_ICON, 16, 16, LR_LOADFROMFILE));
    if (!icon)
        ThrowLastError("Cannot load the icon " + path);
    return UniqueIcon(icon);
}

// An icon file that does not load costs one log line; the entry goes on
// without its icon.
UniqueIcon SectionIcon(const char* where, const std::string& fileName) {
    UniqueIcon icon;
    Guarded(where, FailurePolicy::LogAndContinue, [&] { icon = LoadSystemIcon(fileName); });
    return icon;
}

// The program's own icon (resource 1) in its small size; shared, never freed.
HICON ApplicationIcon() {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, LR_SHARED));
}

void OpenHelpFile(HWND owner, const std::string& folder, const std::string& file) {
    // The answer is not looked at: a missing help file or viewer is the
    // platform's to report, if at all.
    ShellExecuteW(owner, nullptr, Wide(folder + file).c_str(), L"", Wide(folder).c_str(),
                  SW_SHOWNORMAL);
}

} // namespace

void TfrmStart::InitSystemMenu() {
    constexpr char kWhere[] = "TfrmStart.InitSystemMenu";
    ClearListEntries(lbSystem);
    AddListEntry(lbSystem, GetLangMessage("ControlPanel"),
                 SectionIcon(kWhere, "Control panel.ico"));
    AddListEntry(lbSystem, GetLangMessage("Shell"), {});
    lbSystem->Items().SetObject(kShellEntry, reinterpret_cast<intptr_t>(folderIcon_.get()));
    AddListEntry(lbSystem, GetLangMessage("Shutdown"), SectionIcon(kWhere, "Shutdown.ico"));
    if (GetOSPlatform() == kPlatformNT)
        AddListEntry(lbSystem, GetLangMessage("Taskmgr"), SectionIcon(kWhere, "Taskmgr.ico"));
    FitSection(plSystem, lbSystem->Items().Count());
}

void TfrmStart::InitHelpMenu() {
    constexpr char kWhere[] = "TfrmStart.InitHelpMenu";
    ClearListEntries(lbHelp);
    AddListEntry(lbHelp, "Windows", SectionIcon(kWhere, "Help.ico"));
    AddListEntry(lbHelp, "Orvane Shell", SectionIcon(kWhere, "Orvane-Help.ico"));
    AddListEntry(lbHelp, GetLangMessage("About"), SectionIcon(kWhere, "About.ico"));
    FitSection(plHelp, lbHelp->Items().Count());
}

bool TfrmStart::HasSystemPopup(int index) const {
    return index == kControlPanelEntry || index == kShellEntry;
}

void TfrmStart::lbSystemClick() {
    const int index = lbSystem->ItemIndex();
    if (index < 0)
        return;
    popupEntry_ = lbSystem->Items()[index];
    if (index == kControlPanelEntry) {
        OpenControlPanel(lbSystem);
        return;
    }
    ClearPopup();
    if (index == kShellEntry) {
        auto draw = [this](TMenuItem& item, TCanvas& canvas, RECT rect, bool selected) {
            pmStartDrawItem(item, canvas, rect, selected);
        };
        auto* shell = NewComponent<TPanelMenuItem>(pmStart);
        shell->Caption = "Orvane Shell";
        shell->ShareIcon(ApplicationIcon());
        shell->Default = true;
        shell->OnDrawItem = draw;
        shell->OnClick = [this](TComponent&) {
            Guarded("TfrmStart.ShellItemClick", FailurePolicy::LogAndContinue,
                    [&] { ShellItemClick(); });
        };
        pmStart->Items().Add(shell);

        auto* explorer = NewComponent<TPanelMenuItem>(pmStart);
        explorer->Caption = "Explorer";
        explorer->TakeIcon(SectionIcon("TfrmStart.lbSystemClick", "Explorer.ico"));
        explorer->OnDrawItem = draw;
        explorer->OnClick = [this](TComponent&) {
            Guarded("TfrmStart.ExplorerItemClick", FailurePolicy::LogAndContinue,
                    [&] { ExplorerItemClick(); });
        };
        pmStart->Items().Add(explorer);
    }
    // The shut-down and task manager entries act on a double click. An empty
    // pop-up shows nothing, but opening it would take the focus from the list
    // and so its selection, and the double click would find no entry.
    if (pmStart->Items().Count() > 0)
        PopupBeside(lbSystem);
}

void TfrmStart::lbSystemDblClick() {
    switch (lbSystem->ItemIndex()) {
    case kShutdownEntry: {
        HMODULE shell32 = GetModuleHandleW(L"SHELL32.DLL");
        // An export's name is never text of the user's: GetProcAddress has
        // one form, taking the ordinal in the low word of its name.
        FARPROC dialog =
            shell32 ? GetProcAddress(shell32, reinterpret_cast<LPCSTR>(
                                                  static_cast<ULONG_PTR>(kShutdownDialogOrdinal)))
                    : nullptr;
        if (!dialog)
            throw ShellError("The system has no shut-down dialog");
        using ExitWindowsDialogProc = void(WINAPI*)(HWND owner);
        // The dialog must come up over the panel and the bar.
        if (Application())
            Application()->NormalizeTopMosts();
        reinterpret_cast<ExitWindowsDialogProc>(reinterpret_cast<void*>(dialog))(Handle());
        if (Application())
            Application()->RestoreTopMosts();
        break;
    }
    case kTaskmgrEntry:
        StartProgram("taskmgr.exe", SW_SHOWNORMAL);
        break;
    default:
        break;
    }
}

void TfrmStart::lbHelpDblClick() {
    switch (lbHelp->ItemIndex()) {
    case kWindowsHelpEntry:
        OpenHelpFile(Handle(), WindowsFolderPath() + "\\help", "\\windows.chm");
        break;
    case kShellHelpEntry:
        OpenHelpFile(Handle(), ProgramFolder() + "\\help", "\\Orvane-Shell.hlp");
        break;
    case kAboutEntry:
        if (!host_.ShowAbout)
            throw ShellError("There is no window frmAbout");
        host_.ShowAbout();
        break;
    default:
        break;
    }
}

void TfrmStart::ShellItemClick() {
    if (!host_.ShowSettings)
        throw ShellError("There is no window frmSettings");
    host_.ShowSettings();
}

void TfrmStart::ExplorerItemClick() {
    if (host_.ExitToExplorer)
        host_.ExitToExplorer();
}

} // namespace orvane
