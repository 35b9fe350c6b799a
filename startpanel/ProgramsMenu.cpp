// The Programs and Groups sections: the merged start menus and the user's
// groups, and the cascading pop-ups built from their folders on demand.
#include "startpanel/StartPanel.h"

#include "base/Config.h"
#include "base/Guarded.h"
#include "base/ShellError.h"
#include "base/Utf.h"
#include "startpanel/PanelMenuItem.h"
#include "system/FileSystem.h"
#include "system/ShellIcons.h"
#include "widgets/ListBox.h"
#include "widgets/Menu.h"

#include <shellapi.h>
#include <shlobj.h>

namespace orvane {

namespace {

// The name a pop-up item stands for on disk: the file or folder it was
// listed from (a caption drops ".lnk" and whatever follows it).
std::string ItemFile(const TMenuItem& item) {
    if (item.Is<TPanelMenuItem>())
        if (const std::string& file = static_cast<const TPanelMenuItem&>(item).FileName;
            !file.empty())
            return file;
    return item.Caption;
}

// `relative` below a start menu; nothing when the platform has no such start
// menu (a bare "\relative" would name a folder of the current drive's root).
std::string Below(const std::string& menu, const std::string& relative) {
    return menu.empty() ? std::string() : menu + relative;
}

} // namespace

// Opens an entry of the menus in its own folder; a failure is logged by the
// caller's guard, with no box of the platform's.
void OpenMenuEntry(HWND owner, const std::string& shortcut, const std::string& folder) {
    const std::wstring file = Wide(shortcut);
    const std::wstring directory = Wide(folder);
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_FLAG_NO_UI;
    execute.hwnd = owner;
    execute.lpFile = file.c_str();
    execute.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    execute.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&execute))
        ThrowLastError("Cannot open \"" + shortcut + "\"");
}

namespace {

// Holds back a list's change notices while it is refilled, and gives one at
// the end: the list window then takes all entries in one pass instead of one
// insertion (and repaint) per entry.
class BatchedChanges {
  public:
    explicit BatchedChanges(TStringList& list) : list_(list), notify_(std::move(list.OnChange)) {
        list_.OnChange = nullptr;
    }
    ~BatchedChanges() {
        list_.OnChange = std::move(notify_);
        if (list_.OnChange)
            list_.OnChange();
    }
    BatchedChanges(const BatchedChanges&) = delete;
    BatchedChanges& operator=(const BatchedChanges&) = delete;

  private:
    TStringList& list_;
    std::function<void()> notify_;
};

} // namespace

std::string DisplayName(const std::string& fileName) {
    size_t at = fileName.find(".lnk");
    return at == std::string::npos ? fileName : fileName.substr(0, at);
}

bool SameEntryName(const std::string& a, const std::string& b) {
    const std::wstring left = Wide(a), right = Wide(b);
    // The user's locale folds case beyond ASCII (Ä and ä, Я and я); the
    // string sort keeps hyphens and apostrophes as characters of their own.
    return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, left.data(),
                           static_cast<int>(left.size()), right.data(),
                           static_cast<int>(right.size()), nullptr, nullptr, 0) == CSTR_EQUAL;
}

std::string TfrmStart::EntryFile(TListBox* list, int index) const {
    auto files = entryFiles_.find(list);
    if (files != entryFiles_.end() && index >= 0 &&
        index < static_cast<int>(files->second.size()) && !files->second[index].empty())
        return files->second[index];
    return index >= 0 && index < list->Items().Count() ? list->Items()[index] : std::string();
}

std::string TfrmStart::GroupsPath() const {
    return host_.GroupsFolder.empty() ? ProgramFolder() + "\\Links\\Groups" : host_.GroupsFolder;
}

void TfrmStart::InitProgramsMenu() {
    if (std::string path = SpecialFolderPath(CSIDL_COMMON_STARTMENU); !path.empty())
        CommonStartMenuPath = path;
    if (std::string path = SpecialFolderPath(CSIDL_STARTMENU); !path.empty())
        UserStartMenuPath = path;
    std::string programsPath = SpecialFolderPath(CSIDL_PROGRAMS);
    const std::string programsFolderName = programsPath.size() > UserStartMenuPath.size() + 1
                                               ? programsPath.substr(UserStartMenuPath.size() + 1)
                                               : std::string();

    TStringList& items = lbPrograms->Items();
    BatchedChanges batch(items);
    ClearListEntries(lbPrograms);
    auto listed = [&](const std::string& name) {
        for (int i = 0; i < items.Count(); ++i)
            if (SameEntryName(items[i], name))
                return true;
        return false;
    };
    auto add = [&](const std::string& folder) {
        if (folder.empty())
            return;
        for (const TFolderEntry& entry : ListFolder(folder)) {
            std::string name = DisplayName(entry.name);
            if (listed(name) || name == programsFolderName)
                continue;
            if (entry.folder) {
                if (!folderIcon_)
                    folderIcon_ = GetFolderIcon(folder + "\\" + entry.name);
                AddListEntry(lbPrograms, name, {}, entry.name);
                items.SetObject(items.Count() - 1, reinterpret_cast<intptr_t>(folderIcon_.get()));
            } else {
                AddListEntry(lbPrograms, name, GetFileIcon(folder + "\\" + entry.name, true),
                             entry.name);
                AskOwnIcon(lbPrograms, folder + "\\" + entry.name);
            }
        }
    };
    add(CommonStartMenuPath);
    add(UserStartMenuPath);
    if (!folderIcon_ && !programsPath.empty())
        folderIcon_ = GetFolderIcon(programsPath);
    AddListEntry(lbPrograms, programsFolderName, {});
    items.SetObject(items.Count() - 1, reinterpret_cast<intptr_t>(folderIcon_.get()));
    FitSection(plPrograms, items.Count());
}

void TfrmStart::FillFolderMenu(TMenuItem& parent, const std::string& folder, TFolderMenuKind kind) {
    if (folder.empty())
        return;
    for (const TFolderEntry& entry : ListFolder(folder)) {
        std::string caption = DisplayName(entry.name);
        bool taken = false;
        for (int i = 0; i < parent.Count() && !taken; ++i)
            taken = SameEntryName(parent.Items(i)->Caption, caption);
        if (taken)
            continue;
        auto* item = NewComponent<TPanelMenuItem>(pmStart);
        item->Caption = caption;
        item->FileName = entry.name;
        item->Folder = entry.folder;
        if (entry.folder)
            item->ShareIcon(folderIcon_.get());
        else {
            item->TakeIcon(GetFileIcon(folder + "\\" + entry.name, true));
            item->AskOwnIcon(folder + "\\" + entry.name);
        }
        if (kind == TFolderMenuKind::Programs)
            item->OnClick = [this](TComponent& sender) {
                Guarded("TfrmStart.ProgramItemClick", FailurePolicy::LogAndContinue,
                        [&] { ProgramItemClick(static_cast<TMenuItem&>(sender)); });
            };
        else
            item->OnClick = [this](TComponent& sender) {
                Guarded("TfrmStart.GroupItemClick", FailurePolicy::LogAndContinue,
                        [&] { GroupItemClick(static_cast<TMenuItem&>(sender)); });
            };
        item->OnDrawItem = [this](TMenuItem& drawn, TCanvas& canvas, RECT rect, bool selected) {
            pmStartDrawItem(drawn, canvas, rect, selected);
        };
        parent.Add(item);
        if (entry.folder)
            item->Add(NewComponent<TMenuItem>(pmStart));
    }
}

void TfrmStart::lbProgramsClick() {
    int index = lbPrograms->ItemIndex();
    if (index < 0 || !folderIcon_ ||
        reinterpret_cast<HICON>(lbPrograms->Items().Object(index)) != folderIcon_.get())
        return;
    popupEntry_ = EntryFile(lbPrograms, index);
    ClearPopup();
    FillFolderMenu(pmStart->Items(), Below(CommonStartMenuPath, "\\" + popupEntry_),
                   TFolderMenuKind::Programs);
    FillFolderMenu(pmStart->Items(), Below(UserStartMenuPath, "\\" + popupEntry_),
                   TFolderMenuKind::Programs);
    PopupBeside(lbPrograms);
}

void TfrmStart::ProgramItemClick(TMenuItem& item) {
    if (item.Count() > 1 || (item.Count() == 1 && !item.Items(0)->Caption.empty()))
        return;
    // A folder whose submenu was listed already (an empty one: the pointer
    // resting on it again) opens nothing.
    const bool folder = item.Is<TPanelMenuItem>() && static_cast<TPanelMenuItem&>(item).Folder;
    if (folder && item.Count() == 0)
        return;
    std::string relative = ItemFile(item);
    for (TMenuItem* above = item.Parent(); above; above = above->Parent())
        relative = ItemFile(*above) + "\\" + relative;
    relative = "\\" + popupEntry_ + relative;
    if (item.Count() == 1) {
        FillFolderMenu(item, Below(CommonStartMenuPath, relative), TFolderMenuKind::Programs);
        FillFolderMenu(item, Below(UserStartMenuPath, relative), TFolderMenuKind::Programs);
        item.Delete(0);
        return;
    }
    std::string shortcut = Below(CommonStartMenuPath, relative);
    if (shortcut.empty() || !FileExists(shortcut))
        shortcut = Below(UserStartMenuPath, relative);
    if (shortcut.empty())
        return;
    OpenEntryFile(nullptr, shortcut, FolderOf(shortcut));
}

void TfrmStart::lbProgramsDblClick() {
    int index = lbPrograms->ItemIndex();
    if (index < 0 || (folderIcon_ && reinterpret_cast<HICON>(lbPrograms->Items().Object(index)) ==
                                         folderIcon_.get()))
        return;
    const std::string name = EntryFile(lbPrograms, index);
    // The all-users shortcut wins over the user's of the same name.
    std::string folder = SpecialFolderPath(CSIDL_COMMON_STARTMENU);
    if (folder.empty() || !FileExists(folder + "\\" + name))
        folder = SpecialFolderPath(CSIDL_STARTMENU);
    if (folder.empty())
        return;
    OpenEntryFile(Handle(), folder + "\\" + name, folder);
}

void TfrmStart::InitGroupsMenu() {
    BatchedChanges batch(lbGroups->Items());
    ClearListEntries(lbGroups);
    const std::string groups = GroupsPath();
    for (const TFolderEntry& entry : ListFolder(groups)) {
        std::string name = DisplayName(entry.name);
        if (entry.folder) {
            AddListEntry(lbGroups, name, {}, entry.name);
            lbGroups->Items().SetObject(lbGroups->Items().Count() - 1,
                                        reinterpret_cast<intptr_t>(folderIcon_.get()));
        } else {
            AddListEntry(lbGroups, name, GetFileIcon(groups + "\\" + entry.name, true), entry.name);
            AskOwnIcon(lbGroups, groups + "\\" + entry.name);
        }
    }
    FitSection(plGroups, lbGroups->Items().Count());
}

void TfrmStart::lbGroupsClick() {
    int index = lbGroups->ItemIndex();
    if (index < 0 || !folderIcon_ ||
        reinterpret_cast<HICON>(lbGroups->Items().Object(index)) != folderIcon_.get())
        return;
    popupEntry_ = EntryFile(lbGroups, index);
    ClearPopup();
    FillFolderMenu(pmStart->Items(), GroupsPath() + "\\" + popupEntry_, TFolderMenuKind::Groups);
    PopupBeside(lbGroups);
}

void TfrmStart::GroupItemClick(TMenuItem& item) {
    // Groups are one level deep: a folder inside a group starts nothing.
    if (item.Count() > 0 ||
        (item.Is<TPanelMenuItem>() && static_cast<TPanelMenuItem&>(item).Folder))
        return;
    const std::string folder = GroupsPath() + "\\" + popupEntry_;
    OpenEntryFile(nullptr, folder + "\\" + ItemFile(item), folder);
}

} // namespace orvane
