#pragma once
// The task buttons: one speed button on the application bar per window a user
// would switch to. The button's Tag is the window handle, its Hint the title
// and its Caption the title shortened to fit. Window events (created,
// destroyed, activated, redrawn) keep the row current.
#include <windows.h>

#include "base/Win32Handles.h"
#include "paint/Canvas.h"
#include "system/IconLookup.h"

#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <string>
#include <vector>

namespace orvane {

class TImageList;
class TSkinSpeedButton;
class TSkinToolBar;
class TTimer;

// The window event codes of the shell hook.
enum : int {
    kWindowCreated = 1,
    kWindowDestroyed = 2,
    kWindowActivated = 4,
    kWindowRedraw = 6,
    // A redraw of a window that flashes (FlashWindowEx) to ask for attention.
    kWindowFlash = HSHELL_FLASH,
};

class TTaskButtons {
  public:
    // `applicationWindow` never gets a button and its events are ignored.
    TTaskButtons(TSkinToolBar& bar, HWND applicationWindow);

    // Adds a button when the window qualifies; it shows, with its caption and
    // in its place, at the next RefreshTaskButtons.
    void AddTaskButton(HWND window);
    // Shares the bar's width out and shortens the captions.
    void RefreshTaskButtons();
    // A press on a task button: restores, minimises or raises its window.
    void TaskButtonMouseDown(TSkinSpeedButton& button);
    // One window event as the shell hook reports it.
    void HookNotify(HWND window, LPARAM code);

    std::vector<TSkinSpeedButton*> Buttons() const;
    // The windows of the buttons, in button order.
    std::vector<HWND> Windows() const;
    TSkinSpeedButton* ButtonOf(HWND window) const;
    static HWND WindowOf(const TSkinSpeedButton& button);

    // The window asked for attention and has not been activated since.
    bool Flashing(HWND window) const { return flashing_.count(window) > 0; }

    // The window most recently reported as activated that had a button.
    HWND LastActiveWindow() const { return lastActiveWindow_; }

    // Whether a window gets a button when it is added now.
    bool Qualifies(HWND window) const;

    // Asks every button's window whether its icon changed (WM_SETICON sends
    // no notice under Wine); at most once a second, off the GUI thread.
    void CheckIcons();

  private:
    void Activate(HWND window);
    void DestroyButton(TSkinSpeedButton* button);
    // A hidden button ready for the next window: the spare when there is one,
    // else a new one. Making a button's window is the dearest step of an
    // addition, so spares are made between events.
    TSkinSpeedButton* TakeButton();
    TSkinSpeedButton* MakeHiddenButton();
    void MakeSpareLater();
    // Keeps a removed button as the spare, cleared of its window's state.
    bool KeepAsSpare(TSkinSpeedButton& button);
    // Shortens the button's title to `room` pixels, unless it already was.
    void FitCaption(TSkinSpeedButton& button, int room);
    // The picture every button shows until its window's own icon arrives.
    TImageList* TypeImages();
    // Looks the window's own icon up; `known` skips an unchanged one.
    void AskIcon(TSkinSpeedButton& button, uintptr_t known);
    void OwnIconArrived(TSkinSpeedButton& button, TIconFound& found);

    // What each caption was last fitted from: measuring again is skipped while
    // the title, the room and the font stay the same.
    struct TCaptionLayout {
        std::string hint;
        int room = 0;
        TFont font;
    };

    TSkinToolBar& bar_;
    HWND applicationWindow_;
    HWND lastActiveWindow_ = nullptr;
    std::unordered_set<HWND> flashing_;
    std::unordered_map<const TSkinSpeedButton*, TCaptionLayout> captionLayouts_;
    TImageList* typeImages_ = nullptr;
    // A button's own-icon lookup and the icons it found last time.
    struct TButtonIcon {
        TIconRequest request;
        uintptr_t signature = 0;
    };
    std::unordered_map<const TSkinSpeedButton*, TButtonIcon> icons_;
    ULONGLONG lastIconCheck_ = 0;
    TSkinSpeedButton* spare_ = nullptr;
    TTimer* spareTimer_ = nullptr;
    // Fits captions; made the first time one must be measured and kept.
    UniqueMemoryDc measuringDc_;
    std::optional<TCanvas> measuring_;
};

// The longest "<first k characters of text>..." that `fits`, or the
// one-character form when none does; `text` itself when it fits whole. `text`
// is UTF-8 and k counts its characters (code points), never parts of one.
// `fits` must grow monotonically harder to satisfy as the text grows.
std::string ShortenCaption(const std::string& text,
                           const std::function<bool(const std::string&)>& fits);

} // namespace orvane
