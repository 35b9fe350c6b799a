#pragma once
// A pop-up item of the start panel: its Tag is the icon it shows, and the
// icon is the item's own unless it is the panel's shared folder icon.
#include "base/Win32Handles.h"
#include "widgets/MenuItem.h"

namespace orvane {

class TPanelMenuItem : public TMenuItem {
    ORVANE_COMPONENT(TPanelMenuItem, TMenuItem)
  public:
    using TMenuItem::TMenuItem;

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

  private:
    UniqueIcon ownIcon_;
};

} // namespace orvane
