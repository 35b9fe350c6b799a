#include "desktop/DesktopForm.h"

#include "base/WindowMessages.h"
#include "base/Config.h"
#include "base/Guarded.h"
#include "base/Log.h"
#include "desktop/Calendar.h"
#include "desktop/FolderWatcher.h"
#include "desktop/LinkKeys.h"
#include "desktop/Wallpaper.h"
#include "system/FileSystem.h"
#include "toolkit/Application.h"
#include "widgets/Menu.h"
#include "widgets/PaintBox.h"

#include <shlobj.h>

namespace orvane {

namespace {

constexpr COLORREF kDesktopColour = RGB(48, 91, 139);
constexpr int kCalendarWidth = 169;
constexpr int kCalendarHeight = 161;
constexpr int kCalendarBottomGap = 7;
constexpr int kCalendarRightGap = 200;

// The desktop stops one row short of the screen's bottom edge, which the bar
// covers anyway. Straight on X, Wine confines the pointer to a full-screen
// foreground window through the pointer-clip window that explorer made; once
// explorer has been ended, letting that confinement go when the window hides
// or loses the foreground is an X error that ends the whole process.
constexpr int kRowsShortOfScreen = 1;

// Which watcher a WM_DESKTOPFOLDERWATCH comes from.
constexpr WORD kUserWatcher = 0;
constexpr WORD kCommonWatcher = 1;

} // namespace

RECT DesktopBounds(const std::vector<TMonitor>& monitors) {
    RECT bounds = VirtualScreen(monitors);
    bounds.bottom -= kRowsShortOfScreen;
    return bounds;
}

POINT CalendarPlace(const std::vector<TMonitor>& monitors) {
    const RECT desktop = VirtualScreen(monitors), primary = PrimaryBounds(monitors);
    return {primary.right - kCalendarRightGap - desktop.left,
            primary.bottom - kCalendarHeight - kCalendarBottomGap - desktop.top};
}

TDesktopPlaces TDesktopPlaces::Default() {
    TDesktopPlaces places;
    places.userDesktop = SpecialFolderPath(CSIDL_DESKTOPDIRECTORY);
    places.commonDesktop = SpecialFolderPath(CSIDL_COMMON_DESKTOPDIRECTORY);
    places.programLinks = ProgramFolder() + "\\Links\\Desktop";
    places.wallpaperFolder = ProgramFolder() + "\\wallpaper";
    places.configFile = ConfigFilePath();
    return places;
}

void TWallpaperImage::Paint(TCanvas& canvas) {
    if (PaintBackdrop)
        PaintBackdrop(canvas);
    else
        TImage::Paint(canvas);
}

TfrmDesktop::TfrmDesktop(TComponent* owner, TDesktopPlaces places)
    : TForm(owner, "frmDesktop"), places_(std::move(places)), backdrop_(kDesktopColour) {
    SetBorderStyle(TBorderStyle::None);
    SetBorderIcons(TBorderIcons{false, false, false});
    SetCaption("Orvane Shell");
    SetColor(kDesktopColour);
    Font.Name = "MS Sans Serif";
    Font.Size = 8;
    AskYesNo = [](const std::string& question) {
        TApplication* application = Application();
        return application && application->MessageBox(question, application->Title(),
                                                      MB_YESNO | MB_ICONQUESTION) == IDYES;
    };
    CreateControls();
    WireEvents();
}

TfrmDesktop::~TfrmDesktop() {
    // The watcher threads end before the window they post to goes.
    userWatcher_.reset();
    commonWatcher_.reset();
    linkKeys_.reset();
}

void TfrmDesktop::CreateControls() {
    imgDesktop = NewComponent<TWallpaperImage>(this);
    imgDesktop->SetName("imgDesktop");
    imgDesktop->SetStretch(true);
    imgDesktop->SetAlign(TAlign::Client);
    imgDesktop->SetParent(this);

    pbCalendar = NewComponent<TPaintBox>(this);
    pbCalendar->SetName("pbCalendar");
    pbCalendar->SetBounds(0, 0, kCalendarWidth, kCalendarHeight);
    pbCalendar->Font = Font;
    pbCalendar->SetParent(this);

    pmDesktop = NewComponent<TSkinPopupMenu>(this);
    pmDesktop->SetName("pmDesktop");
}

void TfrmDesktop::WireEvents() {
    imgDesktop->PaintBackdrop = [this](TCanvas& canvas) {
        PaintBackdrop(canvas);
        PaintLinks(canvas);
    };
    imgDesktop->OnMouseDown = [this](TComponent&, TMouseButton button, TShiftState shift, int x,
                                     int y) { imgDesktopMouseDown(button, shift, x, y); };
    imgDesktop->OnMouseMove = [this](TComponent&, TShiftState shift, int x, int y) {
        imgDesktopMouseMove(shift, x, y);
    };
    imgDesktop->OnMouseUp = [this](TComponent&, TMouseButton button, TShiftState shift, int x,
                                   int y) { imgDesktopMouseUp(button, shift, x, y); };
    pbCalendar->OnPaint = [this](TPaintBox&, TCanvas& canvas) { pbCalendarPaint(canvas); };
    pmDesktop->OnPopup = [this](TComponent&) {
        Guarded("TfrmDesktop.pmDesktopPopup", FailurePolicy::LogAndContinue,
                [&] { pmDesktopPopup(); });
    };
    OnClose = [](TForm&, TCloseAction& action) { action = TCloseAction::Hide; };
}

DWORD TfrmDesktop::WindowExStyle() const {
    // No task button for the desktop, now that no owner keeps it off the bar.
    return TForm::WindowExStyle() | WS_EX_TOOLWINDOW;
}

void TfrmDesktop::FormCreate() {
    // An owned window is kept above its owner, so HWND_BOTTOM would stop at
    // the application's window: the desktop stands on its own.
    SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, 0);
    PlaceOnMonitors();
    // The calendar, made after the wallpaper, comes out beneath it: the
    // wallpaper (links included) goes to the bottom.
    SetWindowPos(imgDesktop->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    counters_ = TLinkCounters{};
    linkKeys_ = std::make_unique<TLinkKeyWatch>(Handle(), WM_DESKTOPLINKKEY);
    ReadLinks();
    // A wallpaper that cannot be read leaves the background colour; the
    // links must still follow their folders.
    Guarded("TfrmDesktop.FormCreate", FailurePolicy::LogAndContinue,
            [&] { LoadWallpaperPicture(); });
    StartWatchers();
}

void TfrmDesktop::LoadWallpaperPicture() {
    LoadWallpaper(imgDesktop->Picture(), places_.wallpaperFolder, SIZE{Width(), Height()});
}

void TfrmDesktop::PictureChanged() {
    if (Handle())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TfrmDesktop::StartWatchers() {
    // A burst of changes (a program unpacking many files) costs one re-read.
    changeMessage_ = std::make_unique<TChangeMessage>(Handle(), WM_DESKTOPFOLDERCHANGED);
    auto reportTo = [window = Handle(), changes = changeMessage_.get()](WORD watcher) {
        return [=](TWatchReport report, DWORD error) {
            if (report == TWatchReport::Changed)
                return changes->Post();
            return PostMessageW(window, WM_DESKTOPFOLDERWATCH,
                                MAKEWPARAM(watcher, static_cast<WORD>(report)),
                                static_cast<LPARAM>(error)) != FALSE;
        };
    };
    Guarded("TfrmDesktop.FormCreate", FailurePolicy::LogAndContinue, [&] {
        if (!places_.userDesktop.empty())
            userWatcher_ =
                std::make_unique<TFolderWatcher>(places_.userDesktop, reportTo(kUserWatcher));
    });
    Guarded("TfrmDesktop.FormCreate", FailurePolicy::LogAndContinue, [&] {
        if (!places_.commonDesktop.empty() && places_.commonDesktop != places_.userDesktop)
            commonWatcher_ =
                std::make_unique<TFolderWatcher>(places_.commonDesktop, reportTo(kCommonWatcher));
    });
}

void TfrmDesktop::WMFolderWatch(WPARAM which, LPARAM error) {
    const TFolderWatcher* watcher =
        LOWORD(which) == kUserWatcher ? userWatcher_.get() : commonWatcher_.get();
    if (!watcher)
        return;
    const std::string folder = "\"" + watcher->Folder() + "\"";
    if (HIWORD(which) == static_cast<WORD>(TWatchReport::Stopped))
        LogFailure("TfrmDesktop.FolderWatcher", "Cannot watch " + folder + " (error " +
                                                    std::to_string(error) +
                                                    "); watching it again once it is there");
    else if (HIWORD(which) == static_cast<WORD>(TWatchReport::Resumed))
        LogFailure("TfrmDesktop.FolderWatcher", "Watching " + folder + " again");
}

void TfrmDesktop::Paint(TCanvas& canvas) {
    PaintBackdrop(canvas);
}

void TfrmDesktop::PaintBackdrop(TCanvas& canvas) {
    if (backdrop_.Paint(canvas.Handle(), imgDesktop->Picture(), SIZE{Width(), Height()}))
        // Another wallpaper: whatever was painted from the old one goes too.
        if (Handle())
            RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TfrmDesktop::PlaceOnMonitors() {
    const std::vector<TMonitor> monitors = PlatformMonitors();
    const RECT bounds = DesktopBounds(monitors);
    SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    const POINT calendar = CalendarPlace(monitors);
    pbCalendar->SetBounds(calendar.x, calendar.y, kCalendarWidth, kCalendarHeight);
}

void TfrmDesktop::pbCalendarPaint(TCanvas& canvas) {
    // Width - 200 on one monitor; on several, 200 from the primary's right.
    pbCalendar->SetLeft(CalendarPlace(PlatformMonitors()).x);
    SYSTEMTIME now;
    GetLocalTime(&now);
    DrawCalendar(canvas, POINT{5, 5}, now);
}

LRESULT TfrmDesktop::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_WINDOWPOSCHANGING:
        // Every move, size or activation leaves the desktop beneath the rest.
        reinterpret_cast<WINDOWPOS*>(lParam)->hwndInsertAfter = HWND_BOTTOM;
        break;
    case WM_WINDOWPOSCHANGED:
        // Wine raises a window that is activated on the way (BringWindowToTop)
        // whatever the answer to WM_WINDOWPOSCHANGING said: such a change is
        // undone right after.
        if (!(reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_NOZORDER) &&
            GetWindow(Handle(), GW_HWNDNEXT)) {
            bottomRetries_ = 0;
            PostMessageW(Handle(), WM_DESKTOPTOBOTTOM, 0, 0);
        }
        break;
    case WM_DESKTOPTOBOTTOM:
        if (GetWindow(Handle(), GW_HWNDNEXT)) {
            SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

            // A few more tries when something raised it again meanwhile;
            // never a loop with another program that wants the bottom too.
            if (GetWindow(Handle(), GW_HWNDNEXT) && ++bottomRetries_ < 3)
                PostMessageW(Handle(), WM_DESKTOPTOBOTTOM, 0, 0);
        }
        return 0;
    case WM_MOUSEACTIVATE:
        // A click on the wallpaper or a link leaves the active window as it
        // is: the desktop has nothing to type into, and under Wine every
        // activation would raise it first.
        return MA_NOACTIVATE;
    case WM_DESKTOPLINKKEY:
        WMLinkKey(wParam, lParam);
        return 0;
    case WM_DESKTOPRESOLVELINKS:
        ResolvePendingLinks();
        return 0;
    case WM_DESKTOPFOLDERCHANGED:
        if (changeMessage_)
            changeMessage_->Taken();
        ReadLinks();
        return 0;
    case WM_DESKTOPFOLDERWATCH:
        WMFolderWatch(wParam, lParam);
        return 0;
    case WM_DISPLAYCHANGE: {
        LRESULT result = TForm::WndProc(message, wParam, lParam);
        PlaceOnMonitors();
        Guarded("TfrmDesktop.WMDisplayChange", FailurePolicy::LogAndContinue,
                [&] { PullLinksOnScreen(); });
        return result;
    }
    default:
        break;
    }
    return TForm::WndProc(message, wParam, lParam);
}

} // namespace orvane
