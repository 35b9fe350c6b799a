// The desktop's links: reading the three folders, placing and saving the
// links, dragging them, opening them and the context menu.
#include "desktop/DesktopForm.h"

#include "base/WindowMessages.h"
#include "base/Config.h"
#include "base/Guarded.h"
#include "base/Log.h"
#include "base/ShellError.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"
#include "desktop/LinkKeys.h"
#include "i18n/Languages.h"
#include "system/FileEntries.h"
#include "system/FileSystem.h"
#include "system/ShellIcons.h"
#include "system/Shortcuts.h"
#include "widgets/Menu.h"
#include "widgets/PaintBox.h"

#include <shellapi.h>

#include <algorithm>

namespace orvane {

namespace {

// The taskbar lies over the bottom of the screen, this high: no automatic
// place goes under it.
constexpr int kTaskbarHeight = 30;

struct TEntryToDelete {
    std::string path;
    bool folder;
};

// The entry is still listed under exactly its name and is of the kind it was
// read as.
bool StillTheSameEntry(const TEntryToDelete& entry) {
    const size_t slash = entry.path.find_last_of('\\');
    if (slash == std::string::npos)
        return false;
    return ExactEntryKind(entry.path.substr(0, slash + 1), entry.path.substr(slash + 1)) ==
           (entry.folder ? TEntryKind::Folder : TEntryKind::File);
}

} // namespace

TLink* TfrmDesktop::SelectedLink() const {
    for (TLink* link : links_)
        if (link->Selected())
            return link;
    return nullptr;
}

void TfrmDesktop::ReadLinks() {
    readingLinks_ = true;
    EndDeleteKeyWatch();
    Guarded("ReadLinks", FailurePolicy::LogAndContinue, [&] {
        // A re-read ends the selection, as if every link were made anew.
        for (TLink* link : links_)
            link->SetSelected(false);
        previousLinks_ = std::move(links_);
        links_.clear();
        // One read of [Desktop] instead of one per link: under Wine each
        // lookup opens the file again.
        savedPlaces_.emplace();
        for (auto& [key, value] : IniFile(places_.configFile).ReadSectionAtOnce("Desktop"))
            savedPlaces_->try_emplace(LowerCase(key), std::move(value));
        AddIconsFromFolder(places_.userDesktop, kLinkUserDesktop);
        AddIconsFromFolder(places_.commonDesktop, kLinkCommonDesktop);
        AddIconsFromFolder(places_.programLinks, kLinkProgramLinks);
    });
    Guarded("ReadLinks", FailurePolicy::LogAndContinue, [&] { PlaceWaitingLinks(); });
    savedPlaces_.reset();
    // Links whose entries are gone; a link that is still listed was kept with
    // the place the user gave it.
    for (TLink* gone : previousLinks_) {
        std::erase(unresolved_, gone);
        if (gone == pressedLink_)
            pressedLink_ = nullptr;
        if (gone == hintLink_) {
            hintLink_ = nullptr;
            imgDesktop->SetShowHint(false);
        }
        FreeComponent(gone);
    }
    previousLinks_.clear();
    readingLinks_ = false;
    if (imgDesktop->Handle())
        InvalidateRect(imgDesktop->Handle(), nullptr, FALSE);
    if (OnLinksRead)
        OnLinksRead();
}

void TfrmDesktop::AddIconsFromFolder(const std::string& folder, uint8_t source) {
    Guarded("TfrmDesktop.AddIconsFromFolder(", FailurePolicy::LogAndContinue, [&] {
        if (folder.empty())
            return;
        int placed = 0;
        // A folder that is not there has no links.
        for (const TFolderEntry& entry : ListFolder(folder, TListingFailure::Raise)) {
            const std::string path = folder + "\\" + entry.name;
            // An entry that is now a folder where a file was (or the other
            // way round) is another entry: it gets a link of its own.
            auto kept =
                std::find_if(previousLinks_.begin(), previousLinks_.end(), [&](TLink* link) {
                    return link->Source == source && link->Path == path &&
                           link->Folder == entry.folder;
                });
            if (kept != previousLinks_.end()) {
                links_.push_back(*kept);
                previousLinks_.erase(kept);
                continue;
            }
            AddDesktopItem(folder, source, entry.name, entry.folder, placed);
        }
    });
    // Outside a re-read the folder's links are placed at once.
    if (!readingLinks_)
        Guarded("TfrmDesktop.AddIconsFromFolder(", FailurePolicy::LogAndContinue,
                [&] { PlaceWaitingLinks(); });
}

void TfrmDesktop::AddDesktopItem(const std::string& folder, uint8_t source, const std::string& name,
                                 bool isFolder, int& placed) {
    const std::string caption = LinkCaption(name);
    const std::string path = folder + "\\" + name;

    const TSavedPlace saved = ParseSavedPlace(SavedPlaceValue(caption));
    if (!saved.error.empty())
        LogFailure("TfrmDesktop.AddDesktopItem", saved.error);
    const POINT at{saved.left, saved.top};
    std::optional<TLinkArea> area;
    if (!saved.Usable()) {
        area = placed < 3 ? TLinkArea::Main : TLinkArea::Column;
        ++placed;
    } else if (!LinkOnScreen(at, InSmallStrip(at.x, Width()), ScreenSize())) {
        // Saved on a larger screen: back on this one, in the area it was in.
        area = InSmallStrip(at.x, Width()) ? TLinkArea::Column : TLinkArea::Main;
    }

    TLink* link = NewComponent<TLink>(this, static_cast<TLinkHost&>(*this));
    link->Source = source;
    link->Path = path;
    link->Folder = isFolder;
    link->SetLinkCaption(caption);
    links_.push_back(link);
    if (unresolved_.empty())
        PostMessageW(Handle(), WM_DESKTOPRESOLVELINKS, 0, 0);
    unresolved_.push_back(link);
    // Automatic places are chosen once every saved one is known
    // (PlaceWaitingLinks), so that none lands on a link read after it.
    if (area)
        unplaced_.emplace_back(link, *area);
    else
        PlaceLink(*link, at);
}

void TfrmDesktop::PlaceLink(TLink& link, POINT at) {
    link.SetBounds(at.x, at.y, link.Width(), link.Height());
    const bool small = InSmallStrip(at.x, Width());
    if (link.Small != small)
        link.ApplyLayout(small);
    Guarded(small ? "TLink.SetLittleIcon" : "TfrmDesktop.AddDesktopItem",
            FailurePolicy::LogAndContinue, [&] { SetLinkIcon(link, small); });
}

SIZE TfrmDesktop::ScreenSize() const {
    return SIZE{Width(), GetSystemMetrics(SM_CYSCREEN)};
}

TLinkField TfrmDesktop::LinkField(const TLink* except) const {
    TLinkField field;
    field.desktopWidth = Width();
    field.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const RECT aboveBar{0, 0, field.desktopWidth, field.screenHeight - kTaskbarHeight};
    RECT workArea{};
    // A work area that other bars narrowed narrows the field too; the
    // shell's own work area ends a little below the bar's top edge.
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0) ||
        !IntersectRect(&field.free, &aboveBar, &workArea))
        field.free = aboveBar;
    field.blocked.push_back(pbCalendar->BoundsRect());
    const auto waiting = [this](const TLink* link) {
        return std::any_of(unplaced_.begin(), unplaced_.end(),
                           [link](const auto& entry) { return entry.first == link; });
    };
    for (const TLink* link : links_)
        if (link != except && !waiting(link))
            field.taken.push_back(LinkFootprint(POINT{link->Left(), link->Top()}, link->Small));
    return field;
}

void TfrmDesktop::PlaceWaitingLinks() {
    if (unplaced_.empty())
        return;
    TLinkField field = LinkField(nullptr);
    // The counters go on after the links that lie on automatic places
    // already (placed there in an earlier run and saved), so a new link
    // takes the place after them, as it would have in that run.
    for (const TLink* link : links_)
        if (std::optional<TLinkSpot> cell =
                AutomaticCellAt(POINT{link->Left(), link->Top()}, field))
            TakeLinkSpot(counters_, *cell);
    auto waiting = std::move(unplaced_);
    unplaced_.clear();
    for (auto& [link, area] : waiting) {
        const TLinkSpot spot = NextFreeLinkPlace(area, counters_, field);
        TakeLinkSpot(counters_, spot);
        field.taken.push_back(LinkFootprint(spot.at, spot.small));
        PlaceLink(*link, spot.at);
    }
}

void TfrmDesktop::PullLinksOnScreen() {
    for (TLink* link : links_)
        if (!LinkOnScreen(POINT{link->Left(), link->Top()}, link->Small, ScreenSize()) &&
            std::none_of(unplaced_.begin(), unplaced_.end(),
                         [link](const auto& entry) { return entry.first == link; }))
            unplaced_.emplace_back(link, link->Small ? TLinkArea::Column : TLinkArea::Main);
    PlaceWaitingLinks();
}

void TfrmDesktop::ResolveLink(TLink& link) {
    std::erase(unresolved_, &link);
    link.Resolved = true;
    // A file that is not a shortcut gives what an empty shell-link reports.
    const ShortcutInfo shortcut = ResolveShortcut(link.Path);
    link.WorkingFolder = shortcut.folder;
    link.ShowCommand = shortcut.showCommand;
    link.SetTarget(shortcut.target);
}

void TfrmDesktop::ResolvePendingLinks() {
    constexpr size_t kBatch = 20;
    for (size_t i = 0; i < kBatch && !unresolved_.empty(); ++i) {
        TLink& link = *unresolved_.front();
        Guarded("TfrmDesktop.AddIconsFromFolder(", FailurePolicy::LogAndContinue,
                [&] { ResolveLink(link); });
    }
    if (!unresolved_.empty())
        PostMessageW(Handle(), WM_DESKTOPRESOLVELINKS, 0, 0);
}

void TfrmDesktop::ResolveAllLinks() {
    while (!unresolved_.empty())
        ResolvePendingLinks();
}

void TfrmDesktop::SetLinkIcon(TLink& link, bool small) {
    link.Icon->SetIcon(GetFileIcon(link.Path, small));
    link.Icon->AskOwnIcon(link.Path, small, [&link] { link.Invalidate(); });
    link.Invalidate();
}

void TfrmDesktop::SetLittleIcon(TLink& link, bool small) {
    if (link.Small == small)
        return;
    link.ApplyLayout(small);
    if (!link.Path.empty())
        Guarded("TLink.SetLittleIcon", FailurePolicy::LogAndContinue,
                [&] { SetLinkIcon(link, small); });
}

void TfrmDesktop::SaveLinks() {
    Guarded("TfrmDesktop.SaveLinks", FailurePolicy::LogAndContinue, [&] {
        IniPairs places;
        for (TLink* link : links_)
            places.emplace_back(LinkPlaceKey(link->ApplLable->Caption()),
                                FormatSavedPlace(link->Left(), link->Top()));
        IniFile(places_.configFile).WriteStrings("Desktop", places);
    });
}

void TfrmDesktop::LinkPressed(TLink& link, TMouseButton button) {
    if (TLink* selected = SelectedLink())
        selected->SetSelected(false);
    link.SetSelected(true);
    // Only the left button: the right one opens the menu, which has keys of
    // its own.
    if (button == TMouseButton::Left && linkKeys_)
        linkKeys_->Arm();
}

bool TfrmDesktop::WatchingDeleteKey() const {
    return linkKeys_ && linkKeys_->Armed();
}

void TfrmDesktop::EndDeleteKeyWatch() {
    if (linkKeys_)
        linkKeys_->Disarm();
}

void TfrmDesktop::WMLinkKey(WPARAM key, LPARAM round) {
    if (!linkKeys_)
        return;
    linkKeys_->Ended(round);
    if (key)
        Guarded("TfrmDesktop.miDeleteLinkClick", FailurePolicy::LogAndContinue,
                [&] { miDeleteLinkClick(); });
}

bool TfrmDesktop::imgDesktopDragOver(TLink& link, int x) {
    const int edge = Width() - kSmallStripWidth;
    if (x > edge && !link.Small) {
        counters_.ReleaseLarge();
        const TLinkSpot spot =
            NextFreeLinkPlace(TLinkArea::DraggedColumn, counters_, LinkField(&link));
        link.SetBounds(spot.at.x, spot.at.y, link.Width(), link.Height());
        SetLittleIcon(link, true);
        TakeLinkSpot(counters_, spot);
    } else if (x < edge && link.Small) {
        counters_.ReleaseSmall();
        SetLittleIcon(link, false);
        counters_.TakeLarge();
    }
    return true;
}

void TfrmDesktop::DropLink(TLink& link, POINT desktopPoint) {
    link.SetBounds(desktopPoint.x - link.PressPos.x, desktopPoint.y - link.PressPos.y, link.Width(),
                   link.Height());
    // Saved at once: a shell that is killed or crashes keeps the arrangement.
    SaveLinks();
}

// The wallpaper takes a link dragged over it, links included (they are part
// of its picture), and nothing dragged over another window.
static bool OverWallpaper(HWND wallpaper, POINT point) {
    return wallpaper && WindowFromPoint(point) == wallpaper;
}

bool TfrmDesktop::LinkDragOver(TLink& link, POINT point) {
    if (!OverWallpaper(imgDesktop->Handle(), point))
        return false;
    return imgDesktopDragOver(link, ScreenToClient(point).x);
}

void TfrmDesktop::LinkDropped(TLink& link, POINT point) {
    if (OverWallpaper(imgDesktop->Handle(), point))
        DropLink(link, ScreenToClient(point));
}

void TfrmDesktop::LinkChanged(const RECT& area) {
    // Each invalidation is a trip to the window server under Wine: while the
    // links are read, one for the whole picture follows at the end.
    if (readingLinks_ || !imgDesktop->Handle() || !IsWindowVisible(imgDesktop->Handle()))
        return;
    InvalidateRect(imgDesktop->Handle(), &area, FALSE);
}

void TfrmDesktop::PaintLinks(TCanvas& canvas) {
    HDC dc = canvas.Handle();
    RECT clip;
    if (GetClipBox(dc, &clip) == NULLREGION)
        return;
    for (TLink* link : links_) {
        RECT overlap;
        if (!IntersectRect(&overlap, &clip, &link->BoundsRect()))
            continue;
        POINT origin;
        OffsetViewportOrgEx(dc, link->Left(), link->Top(), &origin);
        link->Paint(canvas);
        SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    }
}

// The topmost link at a point: the one painted last.
TLink* TfrmDesktop::LinkAt(POINT point) const {
    for (auto link = links_.rbegin(); link != links_.rend(); ++link)
        if ((*link)->Contains(point))
            return *link;
    return nullptr;
}

void TfrmDesktop::imgDesktopMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    Guarded("TfrmDesktop.imgDesktopMouseDown", FailurePolicy::LogAndContinue, [&] {
        pressedLink_ = LinkAt(POINT{x, y});
        if (pressedLink_)
            pressedLink_->MouseDown(button, shift, x - pressedLink_->Left(),
                                    y - pressedLink_->Top());
        else if (TLink* selected = SelectedLink())
            selected->SetSelected(false); // a click on the bare wallpaper
    });
}

void TfrmDesktop::imgDesktopMouseMove(TShiftState shift, int x, int y) {
    Guarded("TfrmDesktop.imgDesktopMouseMove", FailurePolicy::LogAndContinue, [&] {
        if (pressedLink_) {
            pressedLink_->MouseMove(shift, x - pressedLink_->Left(), y - pressedLink_->Top());
            return;
        }
        // One tooltip for the wallpaper, showing the target of the link under
        // the pointer.
        TLink* under = LinkAt(POINT{x, y});
        if (under == hintLink_)
            return;
        hintLink_ = under;
        imgDesktop->SetHint(under ? under->Target() : std::string());
        imgDesktop->SetShowHint(under && !under->Target().empty());
    });
}

void TfrmDesktop::imgDesktopMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    Guarded("TfrmDesktop.imgDesktopMouseUp", FailurePolicy::LogAndContinue, [&] {
        TLink* link = pressedLink_;
        pressedLink_ = nullptr;
        if (link)
            link->MouseUp(button, shift, x - link->Left(), y - link->Top());
    });
}

void TfrmDesktop::LinkOpen(TLink& link) {
    // The program started takes the keys now.
    EndDeleteKeyWatch();
    if (!link.Resolved)
        ResolveLink(link);
    const std::wstring folder = Wide(link.WorkingFolder);
    HINSTANCE result = ShellExecuteW(nullptr, nullptr, Wide(link.Path).c_str(), nullptr,
                                     folder.empty() ? nullptr : folder.c_str(), link.ShowCommand);
    if (reinterpret_cast<INT_PTR>(result) <= 32)
        throw ShellError("Cannot open \"" + link.Path + "\" (error " +
                         std::to_string(reinterpret_cast<INT_PTR>(result)) + ")");
}

void TfrmDesktop::LinkContextMenu(TLink&, POINT point) {
    pmDesktop->Popup(point.x, point.y);
}

void TfrmDesktop::pmDesktopPopup() {
    if (!SelectedLink())
        return;
    pmDesktop->Items().Clear();
    auto add = [this](const char* name, std::function<void()> action) {
        auto* item = NewComponent<TMenuItem>(pmDesktop);
        item->SetName(std::string("mi") + name);
        item->Caption = GetLangMessage(name);
        item->OnClick = [action, name](TComponent&) {
            Guarded(std::string("TfrmDesktop.mi") + name + "Click", FailurePolicy::LogAndContinue,
                    action);
        };
        pmDesktop->Items().Add(item);
    };
    add("CreateLink", [this] { miCreateLinkClick(); });
    add("DeleteLink", [this] { miDeleteLinkClick(); });
}

void TfrmDesktop::miCreateLinkClick() {
    const std::string folder = FolderOfSource(kLinkUserDesktop);
    if (folder.empty())
        return;
    std::wstring command = Wide("rundll32 AppWiz.Cpl,NewLinkHere " + folder + "\\");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    // Not waited for: the shortcut it makes arrives through the folder watcher.
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SaveLinks();
    ReadLinks();
}

void TfrmDesktop::miDeleteLinkClick() {
    TLink* link = SelectedLink();
    if (!link)
        return;
    // The question runs a message loop, where a re-read may free the link:
    // only these copies are used after it.
    const TEntryToDelete entry{link->Path, link->Folder};
    const std::string caption = link->ApplLable->Caption();
    if (!StillTheSameEntry(entry)) {
        ReadLinks();
        return;
    }
    if (!AskYesNo || !AskYesNo(GetLangMessage("DeleteLinkQuery", caption)))
        return;
    // Checked again right before acting: the answer may have taken a while.
    if (!StillTheSameEntry(entry)) {
        ReadLinks();
        return;
    }
    // One entry, a folder with everything in it as one item.
    if (!RecycleEntry(entry.path))
        throw ShellError("Cannot move \"" + entry.path + "\" to the Recycle Bin");
    // Links\Desktop has no watcher: the list follows at once.
    ReadLinks();
}

std::string TfrmDesktop::SavedPlaceValue(const std::string& caption) const {
    const std::string key = LinkPlaceKey(caption);
    if (!savedPlaces_)
        return IniFile(places_.configFile).ReadString("Desktop", key, "");
    auto found = savedPlaces_->find(LowerCase(key));
    if (found == savedPlaces_->end())
        return "";
    std::string value = found->second;
    // The file's own lookup drops one pair of quotes around a value.
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string TfrmDesktop::FolderOfSource(uint8_t source) const {
    switch (source) {
    case kLinkCommonDesktop:
        return places_.commonDesktop;
    case kLinkUserDesktop:
        return places_.userDesktop;
    default:
        return places_.programLinks;
    }
}

} // namespace orvane
