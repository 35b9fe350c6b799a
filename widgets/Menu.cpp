#include "widgets/Menu.h"

#include "base/Guarded.h"
#include "base/ShellError.h"
#include "base/Utf.h"
#include "toolkit/Application.h"
#include "widgets/MenuPaint.h"
#include "paint/Skin.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace orvane {

namespace {

constexpr const wchar_t* kOwnerClass = L"TSkinPopupMenu";

void RegisterOwnerClass(WNDPROC proc) {
    WNDCLASSEXW existing{sizeof existing};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kOwnerClass, &existing))
        return;
    WNDCLASSEXW windowClass{sizeof windowClass};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kOwnerClass;
    if (!RegisterClassExW(&windowClass))
        ThrowLastError("TSkinPopupMenu: RegisterClassEx");
}

// The text the system keeps for an item, which screen readers and other
// programs read; the item is painted by us all the same. An '&' is doubled,
// or the system would take the character after it as the item's key.
std::wstring MenuText(const std::string& caption) {
    std::wstring text;
    for (wchar_t c : Wide(caption)) {
        if (c == L'&')
            text += L'&';
        text += c;
    }
    return text;
}

} // namespace

// What one opening of the menu knows: the system menus made for it, which item
// each stands for, and the first error an action raised while it was open.
struct TSkinPopupMenu::Session {
    UniqueMenu root;
    UniqueBrush background;
    std::map<HMENU, TMenuItem*> submenus;
    std::map<UINT, TMenuItem*> ids;
    UINT nextId = 1;
    TMenuItem* hot = nullptr;
    std::exception_ptr error;

    TMenuItem* ItemOf(ULONG_PTR id) const {
        auto it = ids.find(static_cast<UINT>(id));
        return it != ids.end() && TMenuItem::Alive(it->second) ? it->second : nullptr;
    }

    void Style(HMENU menu) const {
        MENUINFO info{sizeof info};
        info.fMask = MIM_BACKGROUND;
        info.hbrBack = background.get();
        SetMenuInfo(menu, &info);
    }

    // Lists `parent`'s sub-items in `menu`. An item with sub-items gets an
    // empty submenu: it is filled when it opens, after the item's action.
    void Fill(HMENU menu, const TMenuItem& parent) {
        for (int i = 0; i < parent.Count(); ++i) {
            TMenuItem* item = parent.Items(i);
            UINT id = nextId++;
            ids[id] = item;
            MENUITEMINFOW info{sizeof info};
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STATE;
            std::wstring text = MenuText(item->Caption);
            if (!item->IsSeparator()) {
                info.fMask |= MIIM_STRING;
                info.dwTypeData = text.data();
            }
            info.fType = MFT_OWNERDRAW | (item->IsSeparator() ? MFT_SEPARATOR : 0);
            info.fState = (item->Enabled ? 0 : MFS_DISABLED) | (item->Checked ? MFS_CHECKED : 0) |
                          (item->Default ? MFS_DEFAULT : 0);
            info.wID = id;
            info.dwItemData = id;
            if (item->Count() > 0 && !item->IsSeparator()) {
                HMENU submenu = CreatePopupMenu();
                if (!submenu)
                    ThrowLastError("TSkinPopupMenu: CreatePopupMenu");
                Style(submenu);
                submenus[submenu] = item;
                info.fMask |= MIIM_SUBMENU;
                info.hSubMenu = submenu;
            }
            if (!InsertMenuItemW(menu, static_cast<UINT>(i), TRUE, &info))
                ThrowLastError("TSkinPopupMenu: InsertMenuItem");
        }
    }

    // Empties a submenu again; the system frees the nested submenus with it.
    void Empty(HMENU menu) {
        while (int count = GetMenuItemCount(menu)) {
            if (count < 0)
                break;
            if (HMENU nested = GetSubMenu(menu, count - 1))
                Forget(nested);
            DeleteMenu(menu, static_cast<UINT>(count - 1), MF_BYPOSITION);
        }
    }

    void Forget(HMENU menu) {
        for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i)
            if (HMENU nested = GetSubMenu(menu, i))
                Forget(nested);
        submenus.erase(menu);
    }
};

TSkinPopupMenu::TSkinPopupMenu(TComponent* owner)
    : TComponent(owner), items_(NewComponent<TMenuItem>(this)) {}

TSkinPopupMenu::~TSkinPopupMenu() {
    if (session_)
        EndMenu();
}

TMenuItem* TSkinPopupMenu::HotItem() const {
    return session_ && TMenuItem::Alive(session_->hot) ? session_->hot : nullptr;
}

HWND TSkinPopupMenu::OwnerWindow() {
    if (!owner_) {
        RegisterOwnerClass(&TSkinPopupMenu::OwnerProc);
        owner_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        if (!owner_)
            ThrowLastError("TSkinPopupMenu: CreateWindowEx");
        SetWindowLongPtrW(owner_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    return owner_.get();
}

void TSkinPopupMenu::Popup(int x, int y) {
    if (session_)
        return;
    if (OnPopup)
        OnPopup(*this);
    HWND owner = OwnerWindow();

    auto session = std::make_unique<Session>();
    const TSkinElement& look = CurrentSkin().Element("popupmenu");
    session->background.reset(CreateSolidBrush(look.face.start));
    session->root.reset(CreatePopupMenu());
    if (!session->root)
        ThrowLastError("TSkinPopupMenu: CreatePopupMenu");
    session->Style(session->root.get());
    session->Fill(session->root.get(), *items_);
    session_ = std::move(session);

    // The session goes whatever happens, so a later Popup can open again.
    struct Closer {
        std::unique_ptr<Session>& session;
        ~Closer() { session.reset(); }
    } closer{session_};

    // Without the foreground the system would not close the menu on a click
    // into another window.
    SetForegroundWindow(owner);
    UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
        session_->root.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y,
        owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);

    TMenuItem* item = chosen ? session_->ItemOf(chosen) : nullptr;
    std::exception_ptr error = session_->error;
    session_.reset();
    RethrowPending(error);
    // Only a leaf comes back as chosen; an item that lost its sub-items while the
    // menu was open is treated as a leaf.
    if (item && item->Enabled && !item->IsSeparator())
        item->Click();
}

LRESULT CALLBACK TSkinPopupMenu::OwnerProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    auto* menu = reinterpret_cast<TSkinPopupMenu*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (menu && menu->session_) {
        // Unwinding through the system's menu loop is not possible: on a
        // failure the menu closes and Popup raises the error to its caller.
        LRESULT result = 0;
        if (!GuardedForLater(menu->session_->error,
                             [&] { result = menu->HandleOwnerMessage(message, wParam, lParam); }))
            EndMenu();
        return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT TSkinPopupMenu::HandleOwnerMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = owner_.get();
    switch (message) {
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam) == 0)
            OpenSubmenu(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_MENU)
            break;
        Measure(*measure);
        return TRUE;
    }
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType != ODT_MENU)
            break;
        Draw(*draw);
        return TRUE;
    }
    case WM_MENUSELECT:
        MenuSelect(wParam, lParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void TSkinPopupMenu::OpenSubmenu(HMENU menu) {
    auto it = session_->submenus.find(menu);
    if (it == session_->submenus.end())
        return; // the first level, filled before the menu opened
    TMenuItem* item = it->second;
    session_->Empty(menu);
    if (!TMenuItem::Alive(item))
        return;
    // The action may add, replace or free sub-items: the submenu is listed
    // only once it has run.
    item->Click();
    if (session_ && TMenuItem::Alive(item))
        session_->Fill(menu, *item);
}

void TSkinPopupMenu::Measure(MEASUREITEMSTRUCT& measure) {
    TMenuItem* item = session_->ItemOf(measure.itemData);
    if (!item) {
        measure.itemWidth = 0;
        measure.itemHeight = 0;
        return;
    }
    SIZE size = MeasureItem(*item);
    int width = size.cx, height = size.cy;
    if (item->OnMeasureItem)
        item->OnMeasureItem(*item, width, height);
    measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(height, 0));
}

void TSkinPopupMenu::Draw(const DRAWITEMSTRUCT& draw) {
    TMenuItem* item = session_->ItemOf(draw.itemData);
    if (!item)
        return;
    bool selected = (draw.itemState & ODS_SELECTED) != 0;
    TCanvas canvas(draw.hDC);
    if (item->OnDrawItem)
        item->OnDrawItem(*item, canvas, draw.rcItem, selected);
    else
        PaintItem(*item, canvas, draw.rcItem, selected);
}

void TSkinPopupMenu::MenuSelect(WPARAM wParam, LPARAM lParam) {
    auto menu = reinterpret_cast<HMENU>(lParam);
    UINT flags = HIWORD(wParam);
    session_->hot = nullptr;
    if (!menu || flags == 0xFFFF)
        return;
    MENUITEMINFOW info{sizeof info};
    info.fMask = MIIM_DATA;
    if (GetMenuItemInfoW(menu, LOWORD(wParam), (flags & MF_POPUP) != 0, &info))
        session_->hot = session_->ItemOf(info.dwItemData);
}

SIZE TSkinPopupMenu::MeasureItem(TMenuItem& item) {
    return MenuItemSize(item);
}

void TSkinPopupMenu::PaintItem(TMenuItem& item, TCanvas& canvas, const RECT& rect, bool selected) {
    PaintMenuItem(item, canvas, rect, selected);
}

} // namespace orvane
