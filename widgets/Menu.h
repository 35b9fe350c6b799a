#pragma once
// The skinned pop-up menu. It is built on the system's owner-drawn menus, so
// keyboard handling, cascading and closing on a click outside behave as in any
// other program, while every item is painted by its own draw callback or in
// the look of the skin element "popupmenu".
//
// The click action of an item with sub-items runs just before its submenu
// opens, whether the item was clicked or the pointer rested on it, so the
// action can fill the submenu on demand. The click action of a chosen item
// without sub-items runs after the menu has closed.
#include "widgets/MenuItem.h"

#include <windows.h>

#include <map>
#include <memory>

namespace orvane {

class TSkinPopupMenu : public TComponent {
    ORVANE_COMPONENT(TSkinPopupMenu, TComponent)
  public:
    explicit TSkinPopupMenu(TComponent* owner);
    ~TSkinPopupMenu() override;

    // The invisible root; its sub-items are the menu's first level.
    TMenuItem& Items() { return *items_; }

    // Shows the menu with its top left corner at the screen point and returns
    // when it has closed (after the chosen item's click action). A call while
    // this menu is already open does nothing.
    void Popup(int x, int y);
    bool Tracking() const { return session_ != nullptr; }

    // Runs before the menu is built, so it can still change the items.
    TNotifyEvent OnPopup;

    // The item under the pointer or the keyboard selection while the menu is
    // open; null otherwise.
    TMenuItem* HotItem() const;

    // The default size of an item, as the menu measures it.
    static SIZE MeasureItem(TMenuItem& item);
    // The skinned painting used for items without a draw callback.
    static void PaintItem(TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected);

  private:
    struct Session;

    static LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleOwnerMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HWND OwnerWindow();
    void OpenSubmenu(HMENU menu);
    void Measure(MEASUREITEMSTRUCT& measure);
    void Draw(const DRAWITEMSTRUCT& draw);
    void MenuSelect(WPARAM wParam, LPARAM lParam);

    TMenuItem* items_;
    UniqueWindow owner_;
    std::unique_ptr<Session> session_;
};

} // namespace orvane
