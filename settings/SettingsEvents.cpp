// The settings dialog's pages: the page list, the groups, the language.
#include "settings/SettingsForm.h"

#include "i18n/Languages.h"
#include "settings/GroupFolders.h"
#include "settings/SettingsPages.h"
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "widgets/Image.h"
#include "widgets/ListBox.h"
#include "widgets/Notebook.h"

namespace orvane {

void TfrmSettings::FormShow() {
    WallpaperChanged = false;
    lbxSettings->SetItemIndex(0);
    Notebook1->SetPageIndex(PageOfSettingsLine(0));
    ShowDesktopWallpaper();
    cbLang->SetText(CurrentLanguage());
    if (host_.TimeFormat)
        cbTimeFormat->SetText(host_.TimeFormat());
    FillGroups();
}

void TfrmSettings::FormHide() {
    // The preview is a copy of the desktop's picture (3 MB at 1024 x 768):
    // a hidden dialog keeps none; showing it makes the copy again.
    imgWallpaper->Picture().Clear();
}

void TfrmSettings::SetVisible(bool visible) {
    // Asked to show while open (the System section's entry chosen again): the
    // dialog comes forward as it stands, so a wallpaper picked but not yet
    // confirmed is still taken back by Cancel or written by OK.
    if (visible && Handle() && IsWindowVisible(Handle())) {
        SetForegroundWindow(Handle());
        return;
    }
    TForm::SetVisible(visible);
}

void TfrmSettings::lbxSettingsClick() {
    int page = PageOfSettingsLine(lbxSettings->ItemIndex());
    if (page >= 0)
        Notebook1->SetPageIndex(page);
}

void TfrmSettings::FillGroups() {
    cbGroups->Items().Assign(ListGroups(places_.groupsFolder));
    if (cbGroups->Items().Count() > 0) {
        cbGroups->SetItemIndex(0);
    } else {
        cbGroups->SetItemIndex(-1);
        cbGroups->SetText("");
    }
    cbGroupsClick();
}

void TfrmSettings::cbGroupsClick() {
    int index = cbGroups->ItemIndex();
    edCurrGroup->SetText(index >= 0 ? cbGroups->Items()[index] : std::string());
    lbGroupItems->Items().Clear();
    itemsFolder_.clear();
    itemFiles_.clear();
    const std::string group = edCurrGroup->Text();
    // Without a group the Groups folder itself would be listed.
    if (!IsGroupName(group))
        return;
    itemsFolder_ = places_.groupsFolder + "\\" + group;
    std::vector<std::string> names;
    for (TGroupItem& item : ListGroupItems(itemsFolder_)) {
        names.push_back(std::move(item.name));
        itemFiles_.push_back(std::move(item.file));
    }
    lbGroupItems->Items().Assign(names);
}

void TfrmSettings::btnAddGroupClick() {
    const std::string name = edCurrGroup->Text();
    if (!IsGroupName(name))
        return;
    CreateGroup(places_.groupsFolder, name);
    FillGroups();
    cbGroups->SetItemIndex(cbGroups->Items().IndexOf(name));
    cbGroupsClick();
    InitGroupsMenu();
}

void TfrmSettings::btnRenameGroupClick() {
    const std::string to = edCurrGroup->Text();
    if (!RenameGroup(places_.groupsFolder, cbGroups->Text(), to))
        return;
    cbGroups->SetText(to);
    InitGroupsMenu();
}

void TfrmSettings::btnDeleteClick() {
    const std::string name = edCurrGroup->Text();
    if (!IsGroupName(name))
        return;
    DeleteGroup(places_.groupsFolder, name);
    FillGroups();
    InitGroupsMenu();
}

void TfrmSettings::btnAddGrItemClick() {
    const std::string group = edCurrGroup->Text();
    // Asked before the dialog: with no group the shortcut would land in the
    // Groups folder itself, where no group shows it.
    if (!IsGroupName(group) || !ChooseGroupItem)
        return;
    std::optional<std::string> target = ChooseGroupItem();
    if (!target || target->empty())
        return;
    const std::string name = ShortcutNameFor(*target); // "<name>.lnk"
    if (!CreateNewShortcut(*target, places_.groupsFolder + "\\" + group + "\\" + name)) {
        // The shortcut there may have been made by hand: it stays as it is.
        if (ShowMessage)
            ShowMessage(GetLangMessage("ItemExists", name.substr(0, name.size() - 4)));
        return;
    }
    cbGroupsClick();
}

void TfrmSettings::btnDelGrItemClick() {
    const int index = lbGroupItems->ItemIndex();
    if (index < 0 || static_cast<size_t>(index) >= itemFiles_.size())
        return;
    // The very file the line stands for, in the group that was listed.
    DeleteGroupItem(itemsFolder_, itemFiles_[static_cast<size_t>(index)]);
    cbGroupsClick();
    InitGroupsMenu();
}

void TfrmSettings::InitGroupsMenu() {
    if (host_.InitGroupsMenu)
        host_.InitGroupsMenu();
}

void TfrmSettings::cbLangDropDown() {
    cbLang->Items().Assign(ListLanguages(places_.languagesFolder));
}

void TfrmSettings::cbLangClick() {
    SetCurrentLanguage(cbLang->Text());
    TranslateForm(this);
    TranslateAllForms();
}

} // namespace orvane
