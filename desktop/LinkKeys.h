#pragma once
// The Delete key for the desktop link just pressed.
//
// The desktop never becomes the active window (it answers WM_MOUSEACTIVATE
// with MA_NOACTIVATE: an activated full-screen window is raised by Wine, and
// activating clicks made the shell die during link drags), so the keys typed
// after a press on a link go to the program that was active before. A press
// on a link therefore arms this watch: low-level hooks see the input, and as
// long as nothing else came after the press (no other key, no mouse button,
// no other foreground window) a plain Delete is taken from that program and
// handed to the desktop. Anything else ends the watch and passes unchanged;
// the hooks are removed as soon as it ended, so they cost nothing between
// presses.
#include <windows.h>

#include <cstdint>

namespace orvane {

class TLinkKeyWatch {
  public:
    // `message` is posted to `target`: wParam 1 for the Delete key, 0 when
    // the watch ended by itself; lParam the watch's round (see Ended).
    TLinkKeyWatch(HWND target, UINT message);
    ~TLinkKeyWatch();
    TLinkKeyWatch(const TLinkKeyWatch&) = delete;
    TLinkKeyWatch& operator=(const TLinkKeyWatch&) = delete;

    // From the press on a link: watches the next input. False when the hooks
    // could not be installed (the key then simply reaches the other program).
    bool Arm();
    // Ends the watch and removes the hooks.
    void Disarm();
    // The posted message's round is the current one: the hooks can go. A
    // message of an earlier round (the press that ended it was followed by a
    // press on a link) changes nothing.
    void Ended(LPARAM round);
    bool Armed() const { return armed_; }

  private:
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam);
    // True when the key is taken.
    bool Key(const KBDLLHOOKSTRUCT& key, bool down);
    void Stop(WPARAM reason);

    HWND target_;
    UINT message_;
    HHOOK keyboard_ = nullptr;
    HHOOK mouse_ = nullptr;
    bool armed_ = false;
    HWND foreground_ = nullptr;
    uint32_t round_ = 0;
};

} // namespace orvane
