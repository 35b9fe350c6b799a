#pragma once
// Drives an open system menu from a second thread the way a user would: keys
// and pointer messages posted to the menu windows, which the menu's own modal
// loop on the GUI thread picks up.
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvane::test {

// What the menu painted, as the draw callback saw it.
struct DrawnItem {
    std::string caption;
    RECT rect;   // in the menu window
    RECT screen; // the same on the screen
    bool selected;
    HWND window;
};

class DrawLog {
  public:
    void Add(DrawnItem item);
    std::vector<DrawnItem> Items() const;
    // The latest painting of the caption; false when never painted.
    bool Find(const std::string& caption, DrawnItem& found) const;
    bool WaitFor(const std::string& caption, DWORD timeoutMs, DrawnItem* found = nullptr) const;
    void Clear();

  private:
    mutable std::mutex mutex_;
    std::vector<DrawnItem> items_;
};

class MenuDriver {
  public:
    // Runs `script` on its own thread; the destructor waits for it.
    MenuDriver(std::function<void(MenuDriver&)> script);
    MenuDriver(const MenuDriver&) = delete;
    MenuDriver& operator=(const MenuDriver&) = delete;
    ~MenuDriver();

    // The visible menu windows of the GUI thread, leftmost first.
    std::vector<HWND> Windows() const;
    bool WaitForWindows(size_t count, DWORD timeoutMs) const;
    void Key(WORD key) const;
    void MoveTo(POINT screen) const;
    void ClickAt(POINT screen) const;
    static void Sleep(DWORD ms) { ::Sleep(ms); }

  private:
    HWND Target() const;

    DWORD guiThread_;
    std::thread thread_;
};

POINT Center(const RECT& rect);
// The visible menu windows of a thread, leftmost first.
std::vector<HWND> MenuWindowsOf(DWORD thread);

} // namespace orvane::test
