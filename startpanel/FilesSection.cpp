// The start panel's Files section: the drives, then the Recent and Bookmarks
// entries whose pop-ups list the folders the file browser recorded. Each
// click opens a new browser window beside the panel.
#include "startpanel/FilesSection.h"

#include "base/Config.h"
#include "base/Guarded.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "i18n/Languages.h"
#include "startpanel/StartPanel.h"
#include "widgets/ListBox.h"
#include "widgets/Menu.h"
#include "widgets/SkinPanel.h"

#include <dbt.h>
#include <shellapi.h>
#include <winnetwk.h>

#include <algorithm>

namespace orvane {

namespace {

constexpr int kBrowserWidth = 410;
constexpr int kBrowserHeight = 515;
constexpr int kItemHeight = 19;
// Recent and Bookmarks close the list.
constexpr int kFolderEntries = 2;

// The calling thread's error mode for the calls in its scope: no "drive not
// ready" box. The thread's own, not the process's: the texts are read on the
// lookup pool's workers, beside the GUI thread.
class QuietDriveErrors {
  public:
    QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
    ~QuietDriveErrors() { SetThreadErrorMode(previous_, nullptr); }
    QuietDriveErrors(const QuietDriveErrors&) = delete;
    QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

  private:
    DWORD previous_ = 0;
};

std::string RootOf(char letter) {
    return std::string(1, letter) + ":\\";
}

} // namespace

std::string VolumeLabelText(char letter) {
    constexpr DWORD kUnits = MAX_PATH + 1;
    wchar_t label[kUnits] = {};
    {
        QuietDriveErrors quiet;
        if (!GetVolumeInformationW(Wide(RootOf(letter)).c_str(), label, kUnits, nullptr, nullptr,
                                   nullptr, nullptr, 0))
            label[0] = L'\0';
    }
    return "[" + LowerCase(Utf8Until(label, kUnits)) + "]";
}

std::string NetworkDriveText(char letter) {
    const wchar_t local[] = {static_cast<wchar_t>(toupper(static_cast<unsigned char>(letter))),
                             L':', L'\0'};
    constexpr DWORD kUnits = MAX_PATH + 1;
    wchar_t remote[kUnits] = {};
    DWORD length = kUnits; // in characters for the wide call
    if (WNetGetConnectionW(local, remote, &length) != NO_ERROR)
        return VolumeLabelText(letter);
    return LowerCase(Utf8Until(remote, kUnits));
}

std::string DriveLetterText(char letter, UINT driveType) {
    switch (driveType) {
    case DRIVE_REMOVABLE:
    case DRIVE_FIXED:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK:
    case DRIVE_REMOTE:
        return std::string(1, letter) + ": ";
    default:
        return {};
    }
}

std::string DriveEntryText(char letter, UINT driveType) {
    const std::string name = std::string(1, letter) + ": ";
    switch (driveType) {
    case DRIVE_REMOVABLE:
        return name;
    case DRIVE_FIXED:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK:
        return name + VolumeLabelText(letter);
    case DRIVE_REMOTE:
        return name + NetworkDriveText(letter);
    default:
        return {};
    }
}

void TfrmStart::InitFilesMenu() {
    driveTexts_.clear();
    ClearListEntries(lbFiles);
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 32; ++i) {
        if (!(drives & (1u << i)))
            continue;
        const char letter = static_cast<char>('a' + i);
        const UINT type = GetDriveTypeW(Wide(RootOf(letter)).c_str());
        const std::string text = DriveLetterText(letter, type);
        if (text.empty())
            continue;
        // The drive's own icon means looking at its root, which a dead
        // network drive answers only after a long wait: the folder icon
        // stands in until the lookup pool has it.
        AddListEntry(lbFiles, text, {});
        lbFiles->Items().SetObject(lbFiles->Items().Count() - 1,
                                   reinterpret_cast<intptr_t>(FolderIcon()));
        AskOwnIcon(lbFiles, RootOf(letter));
        // The label and the network name come from the drive itself, which
        // a dead share or a slow disc answers late: the letter shows at once.
        if (type == DRIVE_REMOVABLE)
            continue;
        const int index = lbFiles->Items().Count() - 1;
        driveTexts_.push_back(
            IconLookup().Text([letter, type] { return DriveEntryText(letter, type); },
                              [this, index](TIconFound& found) {
                                  if (!found.text.empty() && index < lbFiles->Items().Count())
                                      lbFiles->Items().Set(index, found.text);
                              }));
    }
    TStringList& items = lbFiles->Items();
    items.Add(GetLangMessage("RecentSection"), reinterpret_cast<intptr_t>(FolderIcon()));
    items.Add(GetLangMessage("BookmarkSection"), reinterpret_cast<intptr_t>(FolderIcon()));
    FitSection(plFiles, items.Count());
}

void TfrmStart::lbFilesClick() {
    const int count = lbFiles->Items().Count();
    const int index = lbFiles->ItemIndex();
    if (index < 0 || index >= count)
        return;
    if (index < count - kFolderEntries) {
        const std::string text = TrimBlanks(lbFiles->Items()[index]);
        const size_t colon = text.find(':');
        if (colon == std::string::npos)
            return;
        if (text.back() == ':' || (colon + 1 < text.size() && text[colon + 1] == ' '))
            OpenFileBrowser(text.substr(0, colon + 1) + "\\");
        return;
    }
    ClearPopup();
    const char* section = index == count - 1 ? "Bookmarks" : "Recent";
    for (auto& [key, folder] : IniFile::Config().ReadSection(section)) {
        auto* item = NewComponent<TMenuItem>(pmStart);
        item->Caption = folder;
        item->OnClick = [this](TComponent& sender) {
            Guarded("TfrmStart.FilesItemClick", FailurePolicy::LogAndContinue,
                    [&] { FilesItemClick(static_cast<TMenuItem&>(sender)); });
        };
        pmStart->Items().Add(item);
    }
    PopupBeside(lbFiles);
}

void TfrmStart::FilesItemClick(TMenuItem& item) {
    OpenFileBrowser(item.Caption);
}

TForm* TfrmStart::OpenFileBrowser(const std::string& folder) {
    if (!host_.OpenFileBrowser)
        return nullptr;
    const POINT listTop = lbFiles->ClientToScreen({0, 0});
    const int top = listTop.y + std::max(0, lbFiles->ItemIndex()) * kItemHeight;
    const RECT bounds{Width(), top, Width() + kBrowserWidth, top + kBrowserHeight};
    // A hand-edited list may hold a folder without its closing backslash.
    std::string path = folder;
    if (path.empty() || path.back() != '\\')
        path += '\\';
    return host_.OpenFileBrowser(*this, path, bounds);
}

void TfrmStart::WMDeviceChange(WPARAM event) {
    if (event == DBT_DEVICEARRIVAL || event == DBT_DEVICEREMOVECOMPLETE)
        InitFilesMenu();
}

} // namespace orvane
