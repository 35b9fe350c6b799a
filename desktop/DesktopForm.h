#pragma once
// The desktop: a borderless window as large as the screen that always lies
// beneath every other window, showing the wallpaper, a month calendar and the
// desktop links of three folders.
#include "desktop/Backdrop.h"
#include "desktop/Link.h"
#include "desktop/LinkPlaces.h"
#include "system/Monitors.h"
#include "toolkit/Form.h"
#include "widgets/Image.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace orvane {

class TChangeMessage;
class TFolderWatcher;
class TLinkKeyWatch;
class TPaintBox;
class TSkinPopupMenu;

// The folders and files the desktop reads; the defaults are the user's and
// the all-users desktop folders and the program folder's.
struct TDesktopPlaces {
    std::string userDesktop;
    std::string commonDesktop;
    std::string programLinks;    // Links\Desktop under the program folder
    std::string wallpaperFolder; // wallpaper under the program folder
    std::string configFile;
    static TDesktopPlaces Default();
};

// The wallpaper control: paints its piece of the desktop's backdrop.
class TWallpaperImage : public TImage {
    ORVANE_COMPONENT(TWallpaperImage, TImage)
  public:
    using TImage::TImage;
    std::function<void(TCanvas&)> PaintBackdrop;

  protected:
    void Paint(TCanvas& canvas) override;
};

class TfrmDesktop : public TForm, private TLinkHost {
    ORVANE_COMPONENT(TfrmDesktop, TForm)
  public:
    explicit TfrmDesktop(TComponent* owner, TDesktopPlaces places = TDesktopPlaces::Default());
    ~TfrmDesktop() override;

    TWallpaperImage* imgDesktop = nullptr;
    TPaintBox* pbCalendar = nullptr;
    TSkinPopupMenu* pmDesktop = nullptr;

    // Links in the order the folders list them.
    const std::vector<TLink*>& Links() const { return links_; }
    TLink* SelectedLink() const;
    TLinkCounters& Counters() { return counters_; }
    const TDesktopPlaces& Places() const { return places_; }
    bool Watching() const { return userWatcher_ || commonWatcher_; }

    void ReadLinks();
    void SaveLinks();
    // imgDesktop's picture was replaced: the links and the calendar, which
    // paint their piece of the backdrop, paint again over the new one.
    void PictureChanged();
    void AddIconsFromFolder(const std::string& folder, uint8_t source);
    void SetLittleIcon(TLink& link, bool small);

    // The drag and menu steps, public for tools and tests that drive them.
    bool imgDesktopDragOver(TLink& link, int x);
    void DropLink(TLink& link, POINT desktopPoint);
    void pmDesktopPopup();
    void miCreateLinkClick();
    // Moves the selected link's own entry to the Recycle Bin after asking;
    // the Delete key right after a press on a link runs it too.
    void miDeleteLinkClick();

    // A Yes/No question over the desktop; true for Yes. Tests answer it.
    std::function<bool(const std::string& question)> AskYesNo;
    // Whether the Delete key is watched for the link just pressed.
    bool WatchingDeleteKey() const;

    // Runs after every re-read of the links (tests and benchmarks wait on it).
    std::function<void()> OnLinksRead;
    // Reads the shortcuts of the links still waiting for it (tools and tests).
    void ResolveAllLinks();

  protected:
    void FormCreate() override;
    DWORD WindowExStyle() const override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(TCanvas& canvas) override;

  private:
    void CreateControls();
    void WireEvents();
    void LoadWallpaperPicture();
    void StartWatchers();
    void PaintBackdrop(TCanvas& canvas);
    void pbCalendarPaint(TCanvas& canvas);
    // The window over every monitor, the calendar on the primary one.
    void PlaceOnMonitors();
    void WMLinkKey(WPARAM key, LPARAM round);
    void WMFolderWatch(WPARAM which, LPARAM error);
    void EndDeleteKeyWatch();
    void AddDesktopItem(const std::string& folder, uint8_t source, const std::string& name,
                        bool isFolder, int& placed);
    void PlaceLink(TLink& link, POINT at);
    // Gives the links waiting for an automatic place theirs.
    void PlaceWaitingLinks();
    // Links no longer on the screen (after a change of resolution) go to a
    // free place on it.
    void PullLinksOnScreen();
    // Where automatic places may go, every placed link but `except` taken.
    TLinkField LinkField(const TLink* except) const;
    SIZE ScreenSize() const;
    void SetLinkIcon(TLink& link, bool small);
    void ResolveLink(TLink& link);
    void ResolvePendingLinks();
    std::string FolderOfSource(uint8_t source) const;
    // The [Desktop] value of a caption: from the table read once per
    // ReadLinks, or from the file when links are added outside it.
    std::string SavedPlaceValue(const std::string& caption) const;

    // TLinkHost
    void LinkPressed(TLink& link, TMouseButton button) override;
    bool LinkDragOver(TLink& link, POINT point) override;
    void LinkDropped(TLink& link, POINT point) override;
    void LinkOpen(TLink& link) override;
    void LinkContextMenu(TLink& link, POINT point) override;
    void LinkChanged(const RECT& area) override;

    // The links' share of the wallpaper: drawing them and their mouse events.
    void PaintLinks(TCanvas& canvas);
    TLink* LinkAt(POINT point) const;
    void imgDesktopMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void imgDesktopMouseMove(TShiftState shift, int x, int y);
    void imgDesktopMouseUp(TMouseButton button, TShiftState shift, int x, int y);

    TDesktopPlaces places_;
    TBackdrop backdrop_;
    TLinkCounters counters_;
    std::vector<TLink*> links_;
    // Live links kept across a re-read, by source and path.
    std::vector<TLink*> previousLinks_;
    std::unique_ptr<TChangeMessage> changeMessage_;
    std::unique_ptr<TFolderWatcher> userWatcher_;
    std::unique_ptr<TFolderWatcher> commonWatcher_;
    std::unique_ptr<TLinkKeyWatch> linkKeys_;
    int bottomRetries_ = 0;
    // New links whose shortcuts are read after the first paint, a batch per
    // message, so a full desktop shows at once and tooltips follow.
    std::vector<TLink*> unresolved_;
    // New links waiting for an automatic place, with the area each goes to.
    std::vector<std::pair<TLink*, TLinkArea>> unplaced_;
    TLink* pressedLink_ = nullptr; // takes the mouse until the button comes up
    TLink* hintLink_ = nullptr;    // whose target the wallpaper's tooltip shows
    bool readingLinks_ = false;
    // [Desktop] by lower-cased caption while ReadLinks runs; the file's first
    // key of a name wins, as in a lookup of the file.
    std::optional<std::unordered_map<std::string, std::string>> savedPlaces_;
};

// Where the desktop window lies: over every monitor (the virtual screen),
// stopping one row short of its bottom edge.
RECT DesktopBounds(const std::vector<TMonitor>& monitors);
// Where the calendar lies in the desktop window: at the bottom right of the
// primary monitor.
POINT CalendarPlace(const std::vector<TMonitor>& monitors);

} // namespace orvane
