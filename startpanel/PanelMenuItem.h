#pragma once
// A pop-up item of the start panel: its Tag is the icon it shows, and the
// icon is the item's own unless it is the panel's shared folder icon.
#include "base/Win32Handles.h"
#include "system/IconLookup.h"
#include "widgets/MenuItem.h"

#include <string>

namespace orvane {

class TPanelMenuItem : public TMenuItem {
    ORVANE_COMPONENT(TPanelMenuItem, TMenuItem)
  public:
    using TMenuItem::TMenuItem;

    // The file or folder the item was listed from; Caption is what it shows.
    std::string FileName;
    bool Folder = false;
    // A file named "-" is an entry like any other.
    bool IsSeparator() const override { return false; }

    // Shows `icon` and keeps it until the item goes.
    void TakeIcon(UniqueIcon icon) {
        Tag = reinterpret_cast<intptr_t>(icon.get());
        ownIcon_ = std::move(icon);
    }
    // Shows an icon someone else keeps.
    void ShareIcon(HICON icon) {
        ownIcon_.reset();
        Tag = reinterpret_cast<intptr_t>(icon);
    }

    // Shows the own icon of `path` in place of the present one once it
    // arrives (an open pop-up is drawn again then).
    void AskOwnIcon(const std::string& path) {
        ownIcons_.Ask(path, true, [this](HICON icon) {
            Tag = reinterpret_cast<intptr_t>(icon);
            RedrawOpenMenus();
        });
    }

  private:
    static BOOL CALLBACK RedrawIfMenu(HWND window, LPARAM) {
        wchar_t name[8] = {};
        // "#32768": the system's pop-up menu window class.
        if (GetClassNameW(window, name, 8) && lstrcmpW(name, L"#32768") == 0 &&
            IsWindowVisible(window))
            InvalidateRect(window, nullptr, FALSE);
        return TRUE;
    }
    static void RedrawOpenMenus() { EnumThreadWindows(GetCurrentThreadId(), RedrawIfMenu, 0); }

    UniqueIcon ownIcon_;
    TOwnIcons ownIcons_;
};

} // namespace orvane
