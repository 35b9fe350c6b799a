#pragma once
// The Windows key pressed and let go on its own (no other key between) runs
// an action: the start button's; Win+R runs another: the run box's. Seen
// through a low-level keyboard hook, so other keys reach their programs
// unchanged; the R of Win+R is taken, as the system's shell takes it.
#include <windows.h>

#include <functional>

namespace orvane {

class TWindowsKeyWatch {
  public:
    explicit TWindowsKeyWatch(std::function<void()> pressed, std::function<void()> run = {});
    ~TWindowsKeyWatch();
    TWindowsKeyWatch(const TWindowsKeyWatch&) = delete;
    TWindowsKeyWatch& operator=(const TWindowsKeyWatch&) = delete;

    bool Installed() const { return hook_ != nullptr; }

  private:
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
    // True when the key is taken (no program sees it).
    bool Key(const KBDLLHOOKSTRUCT& key, bool down);

    std::function<void()> pressed_;
    std::function<void()> run_;
    HHOOK hook_ = nullptr;
    bool held_ = false;   // a Windows key is down
    bool alone_ = false;  // ... and no other key came since
    bool takenR_ = false; // the R of a Win+R is down
};

} // namespace orvane
