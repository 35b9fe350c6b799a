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

#include <algorithm>
#include <cctype>

namespace orvane {

namespace {

std::string WithoutHotKeys(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    for (char c : text)
        if (c != '&')
            plain.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return plain;
}

// Opens a shortcut of the menus in its own folder; a failure is logged by
// the caller's guard, with no box of the platform's.
void OpenShortcut(HWND owner, const std::string& shortcut, const std::string& folder) {
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
    auto add = [&](const std::string& folder) {
        for (const TFolderEntry& entry : ListFolder(folder)) {
            std::string name = DisplayName(entry.name);
            if (items.IndexOf(name) >= 0 || name == programsFolderName)
                continue;
            if (entry.folder) {
                if (!folderIcon_)
                    folderIcon_ = GetFolderIcon(folder + "\\" + entry.name);
                AddListEntry(lbPrograms, name, {});
                items.SetObject(items.Count() - 1, reinterpret_cast<intptr_t>(folderIcon_.get()));
            } else {
                AddListEntry(lbPrograms, name, GetFileIcon(folder + "\\" + entry.name, true));
                AskOwnIcon(lbPrograms, folder + "\\" + entry.name);
            }
        }
    };
    if (!CommonStartMenuPath.empty())
        add(CommonStartMenuPath);
    add(UserStartMenuPath);
    if (!folderIcon_ && !programsPath.empty())
        folderIcon_ = GetFolderIcon(programsPath);
    AddListEntry(lbPrograms, programsFolderName, {});
    items.SetObject(items.Count() - 1, reinterpret_cast<intptr_t>(folderIcon_.get()));
    FitSection(plPrograms, items.Count());
}

void TfrmStart::FillFolderMenu(TMenuItem& parent, const std::string& folder, TFolderMenuKind kind) {
    std::vector<std::string> taken;
    taken.reserve(static_cast<size_t>(parent.Count()));
    for (int i = 0; i < parent.Count(); ++i)
        taken.push_back(WithoutHotKeys(parent.Items(i)->Caption));
    for (const TFolderEntry& entry : ListFolder(folder)) {
        std::string caption = DisplayName(entry.name);
        std::string plain = WithoutHotKeys(caption);
        if (std::find(taken.begin(), taken.end(), plain) != taken.end())
            continue;
        taken.push_back(std::move(plain));
        auto* item = NewComponent<TPanelMenuItem>(pmStart);
        item->Caption = caption;
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
    popupEntry_ = lbPrograms->Items()[index];
    ClearPopup();
    FillFolderMenu(pmStart->Items(), CommonStartMenuPath + "\\" + popupEntry_,
                   TFolderMenuKind::Programs);
    FillFolderMenu(pmStart->Items(), UserStartMenuPath + "\\" + popupEntry_,
                   TFolderMenuKind::Programs);
    PopupBeside(lbPrograms);
}

void TfrmStart::ProgramItemClick(TMenuItem& item) {
    if (item.Count() > 1 || (item.Count() == 1 && !item.Items(0)->Caption.empty()))
        return;
    std::string relative = item.Caption;
    for (TMenuItem* above = item.Parent(); above; above = above->Parent())
        relative = above->Caption + "\\" + relative;
    relative = "\\" + popupEntry_ + relative;
    if (item.Count() == 1) {
        FillFolderMenu(item, CommonStartMenuPath + relative, TFolderMenuKind::Programs);
        FillFolderMenu(item, UserStartMenuPath + relative, TFolderMenuKind::Programs);
        item.Delete(0);
        return;
    }
    std::string shortcut = CommonStartMenuPath + relative + ".lnk";
    if (CommonStartMenuPath.empty() || !FileExists(shortcut))
        shortcut = UserStartMenuPath + relative + ".lnk";
    OpenShortcut(nullptr, shortcut, FolderOf(shortcut));
}

void TfrmStart::lbProgramsDblClick() {
    int index = lbPrograms->ItemIndex();
    if (index < 0 || (folderIcon_ && reinterpret_cast<HICON>(lbPrograms->Items().Object(index)) ==
                                         folderIcon_.get()))
        return;
    const std::string name = lbPrograms->Items()[index] + ".lnk";
    // The all-users shortcut wins over the user's of the same name.
    std::string folder = SpecialFolderPath(CSIDL_COMMON_STARTMENU);
    if (folder.empty() || !FileExists(folder + "\\" + name))
        folder = SpecialFolderPath(CSIDL_STARTMENU);
    if (folder.empty())
        return;
    const std::string shortcut = folder + "\\" + name;
    OpenShortcut(Handle(), shortcut, folder);
}

void TfrmStart::InitGroupsMenu() {
    BatchedChanges batch(lbGroups->Items());
    ClearListEntries(lbGroups);
    const std::string groups = GroupsPath();
    for (const TFolderEntry& entry : ListFolder(groups)) {
        std::string name = DisplayName(entry.name);
        if (entry.folder) {
            AddListEntry(lbGroups, name, {});
            lbGroups->Items().SetObject(lbGroups->Items().Count() - 1,
                                        reinterpret_cast<intptr_t>(folderIcon_.get()));
        } else {
            AddListEntry(lbGroups, name, GetFileIcon(groups + "\\" + entry.name, true));
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
    popupEntry_ = lbGroups->Items()[index];
    ClearPopup();
    FillFolderMenu(pmStart->Items(), GroupsPath() + "\\" + popupEntry_, TFolderMenuKind::Groups);
    PopupBeside(lbGroups);
}

void TfrmStart::GroupItemClick(TMenuItem& item) {
    // Groups are one level deep: a folder inside a group starts nothing.
    if (item.Count() > 0)
        return;
    const std::string folder = GroupsPath() + "\\" + popupEntry_;
    const std::string shortcut = folder + "\\" + item.Caption + ".lnk";
    OpenShortcut(nullptr, shortcut, folder);
}

} // namespace orvane
