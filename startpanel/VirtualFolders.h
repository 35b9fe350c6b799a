#pragma once
// A folder of the shell namespace as a pop-up menu (the Control Panel): one
// entry per item with its small icon and display name; sub-folders open as
// submenus listed only when they first open, other entries open their item.
#include "base/Win32Handles.h"
#include "widgets/MenuItem.h"

#include <shlobj.h>

#include <functional>
#include <memory>

namespace orvane {

class TSkinPopupMenu;

// An entry standing for one shell item: its id list relative to the folder
// its parent entry stands for, and the icon it shows (in Tag).
class TShellMenuItem : public TMenuItem {
    ORVANE_COMPONENT(TShellMenuItem, TMenuItem)
  public:
    using TMenuItem::TMenuItem;
    // An item named "-" is an entry like any other.
    bool IsSeparator() const override { return false; }
    UniquePidl Relative;
    UniqueIcon OwnIcon;
};

class TVirtualFolders {
  public:
    // Raises ShellError when the shell namespace cannot be reached.
    TVirtualFolders();
    ~TVirtualFolders();
    TVirtualFolders(const TVirtualFolders&) = delete;
    TVirtualFolders& operator=(const TVirtualFolders&) = delete;

    // The menu the next listing goes into, which owns every entry; none
    // between uses.
    TSkinPopupMenu* TargetMenu() const { return target_; }
    void SetTargetMenu(TSkinPopupMenu* menu) { target_ = menu; }
    // Paints the entries (the start panel's pop-up item painter).
    std::function<void(TMenuItem& item, TCanvas& canvas, RECT rect, bool selected)> DrawItem;

    // Lists a special folder (CSIDL_CONTROLS) into the target menu's root.
    void OpenSpecialFolder(int csidl);
    // Lists the folder `list` (absolute) into the current entry.
    void AddFolderItems(PCIDLIST_ABSOLUTE list);
    // Lists a sub-folder when its submenu first opens, or opens the item
    // once it is chosen.
    void FolderItemClick(TMenuItem& entry);
    // Opens a chosen item (its absolute id list); tests replace it.
    std::function<void(PCIDLIST_ABSOLUTE list)> OpenItem;

    // The placeholder of a folder not listed yet.
    static constexpr const char* kPlaceholder = "Empty folder";

  private:
    // The absolute id list of what an entry (or the root) stands for.
    UniquePidl AbsoluteList(const TMenuItem* entry) const;

    TMenuItem* current_ = nullptr;
    ComPtr<IShellFolder> currentFolder_;
    ComPtr<IShellFolder> desktop_;
    TSkinPopupMenu* target_ = nullptr;
    // What the target menu's root stands for.
    UniquePidl root_;
};

} // namespace orvane
