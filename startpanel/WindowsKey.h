#pragma once
// The Windows key pressed and let go on its own (no other key between) runs
// an action: the start button's. Seen through a low-level keyboard hook, so
// the keys reach their programs unchanged.
#include <windows.h>

#include <functional>

namespace orvane {

class TWindowsKeyWatch {
  public:
    explicit TWindowsKeyWatch(std::function<void()> pressed);
    ~TWindowsKeyWatch();
    TWindowsKeyWatch(const TWindowsKeyWatch&) = delete;
    TWindowsKeyWatch& operator=(const TWindowsKeyWatch&) = delete;

    bool Installed() const { return hook_ != nullptr; }

  private:
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam);
    void Key(const KBDLLHOOKSTRUCT& key, bool down);

    std::function<void()> pressed_;
    HHOOK hook_ = nullptr;
    bool held_ = false;  // a Windows key is down
    bool alone_ = false; // ... and no other key came since
};

} // namespace orvane
