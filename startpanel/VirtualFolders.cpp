#include "startpanel/VirtualFolders.h"

#include "base/ShellError.h"
#include "base/Utf.h"
#include "system/ShellIcons.h"
#include "toolkit/Application.h"
#include "widgets/Menu.h"

#include <shellapi.h>
#include <shlwapi.h>

namespace orvane {

namespace {

constexpr SHCONTF kEnumFlags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;

HWND AppWindow() {
    return Application() ? Application()->Handle() : nullptr;
}

void Check(HRESULT result, const char* what) {
    if (FAILED(result))
        throw ShellError(std::string("TVirtualFolders: ") + what + ": " +
                         SystemErrorText(static_cast<DWORD>(result)));
}

std::string DisplayNameOf(IShellFolder& folder, PCUITEMID_CHILD child) {
    STRRET name{};
    if (FAILED(folder.GetDisplayNameOf(child, SHGDN_NORMAL, &name)))
        return {};
    // StrRetToBuf knows all three forms: a wide string, an offset into the
    // item's id list and an inline narrow string; it frees the wide one.
    constexpr UINT kUnits = MAX_PATH * 2;
    wchar_t text[kUnits] = {};
    if (FAILED(StrRetToBufW(&name, child, text, kUnits)))
        return {};
    return Utf8Until(text, kUnits);
}

} // namespace

TVirtualFolders::TVirtualFolders() {
    OpenItem = [](PCIDLIST_ABSOLUTE list) {
        SHELLEXECUTEINFOW execute{sizeof execute};
        execute.fMask = SEE_MASK_INVOKEIDLIST;
        execute.lpIDList = const_cast<LPITEMIDLIST>(list);
        execute.hwnd = AppWindow();
        execute.nShow = SW_SHOW;
        ShellExecuteExW(&execute);
    };
    Check(SHGetDesktopFolder(desktop_.put()), "SHGetDesktopFolder");
    currentFolder_ = desktop_;
}

TVirtualFolders::~TVirtualFolders() = default;

void TVirtualFolders::OpenSpecialFolder(int csidl) {
    if (!target_)
        throw ShellError("TVirtualFolders: no menu to fill");
    PIDLIST_ABSOLUTE list = nullptr;
    Check(SHGetSpecialFolderLocation(AppWindow(), csidl, &list), "SHGetSpecialFolderLocation");
    root_.reset(list);
    current_ = &target_->Items();
    AddFolderItems(root_.get());
}

void TVirtualFolders::AddFolderItems(PCIDLIST_ABSOLUTE list) {
    if (!target_ || !current_)
        throw ShellError("TVirtualFolders: no menu to fill");
    ComPtr<IShellFolder> folder;
    if (ILIsEmpty(list))
        folder = desktop_;
    else
        Check(desktop_->BindToObject(list, nullptr, IID_IShellFolder, folder.putVoid()),
              "BindToObject");
    ComPtr<IEnumIDList> items;
    HRESULT enumerated = folder->EnumObjects(AppWindow(), kEnumFlags, items.put());
    Check(enumerated, "EnumObjects");
    currentFolder_ = folder;
    if (enumerated == S_FALSE || !items)
        return; // nothing to list
    TMenuItem* parent = current_;
    LPITEMIDLIST child = nullptr;
    while (items->Next(1, &child, nullptr) == S_OK) {
        UniquePidl relative(child);
        auto* entry = NewComponent<TShellMenuItem>(target_);
        entry->Caption = DisplayNameOf(*folder.get(), relative.get());
        UniquePidl absolute(ILCombine(list, relative.get()));
        if (absolute) {
            entry->OwnIcon = GetItemIcon(absolute.get(), true);
            entry->Tag = reinterpret_cast<intptr_t>(entry->OwnIcon.get());
        }
        entry->OnClick = [this](TComponent& sender) {
            FolderItemClick(static_cast<TMenuItem&>(sender));
        };
        if (DrawItem)
            entry->OnDrawItem = DrawItem;
        SFGAOF attributes = SFGAO_FOLDER;
        PCUITEMID_CHILD asked = relative.get();
        if (SUCCEEDED(folder->GetAttributesOf(1, &asked, &attributes)) &&
            (attributes & SFGAO_FOLDER)) {
            auto* placeholder = NewComponent<TMenuItem>(target_);
            placeholder->Caption = kPlaceholder;
            entry->Add(placeholder);
        }
        entry->Relative = std::move(relative);
        parent->Add(entry);
    }
}

UniquePidl TVirtualFolders::AbsoluteList(const TMenuItem* entry) const {
    auto* shellEntry =
        entry && entry->Is<TShellMenuItem>() ? static_cast<const TShellMenuItem*>(entry) : nullptr;
    if (!shellEntry)
        return UniquePidl(root_ ? ILClone(root_.get()) : nullptr);
    UniquePidl above = AbsoluteList(entry->Parent());
    if (!above)
        return {};
    return UniquePidl(ILCombine(above.get(), shellEntry->Relative.get()));
}

void TVirtualFolders::FolderItemClick(TMenuItem& entry) {
    current_ = &entry;
    if (entry.Count() > 1 || (entry.Count() == 1 && entry.Items(0)->Caption != kPlaceholder))
        return;
    // While the menu is open the action runs only because the item's
    // submenu opens: a folder listed before and found empty, under the
    // pointer again. Only a chosen item (the menu closed) opens.
    if (entry.Count() == 0 && target_ && target_->Tracking())
        return;
    UniquePidl list = AbsoluteList(&entry);
    if (!list)
        throw ShellError("TVirtualFolders: the entry stands for no item");
    if (entry.Count() == 0) {
        if (OpenItem)
            OpenItem(list.get());
        return;
    }
    AddFolderItems(list.get());
    if (TMenuItem::Alive(&entry) && entry.Count() > 0 && entry.Items(0)->Caption == kPlaceholder)
        entry.Delete(0);
}

} // namespace orvane
