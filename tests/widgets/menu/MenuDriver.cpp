#include "tests/widgets/menu/MenuDriver.h"

#include <algorithm>

namespace orvane::test {

void DrawLog::Add(DrawnItem item) {
    std::lock_guard lock(mutex_);
    items_.push_back(std::move(item));
}

std::vector<DrawnItem> DrawLog::Items() const {
    std::lock_guard lock(mutex_);
    return items_;
}

bool DrawLog::Find(const std::string& caption, DrawnItem& found) const {
    std::lock_guard lock(mutex_);
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if (it->caption == caption) {
            found = *it;
            return true;
        }
    return false;
}

bool DrawLog::WaitFor(const std::string& caption, DWORD timeoutMs, DrawnItem* found) const {
    DrawnItem item{};
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; ::Sleep(20))
        if (Find(caption, item)) {
            if (found)
                *found = item;
            return true;
        }
    return false;
}

void DrawLog::Clear() {
    std::lock_guard lock(mutex_);
    items_.clear();
}

MenuDriver::MenuDriver(std::function<void(MenuDriver&)> script) : guiThread_(GetCurrentThreadId()) {
    thread_ = std::thread([this, script = std::move(script)] {
        script(*this);
        // Whatever the script did, the menu must not outlive it.
        for (int i = 0; i < 5 && !Windows().empty(); ++i) {
            Key(VK_ESCAPE);
            ::Sleep(100);
        }
    });
}

MenuDriver::~MenuDriver() {
    if (thread_.joinable())
        thread_.join();
}

namespace {

BOOL CALLBACK CollectMenuWindow(HWND window, LPARAM data) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "#32768" && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> MenuWindowsOf(DWORD thread) {
    std::vector<HWND> windows;
    EnumThreadWindows(thread, CollectMenuWindow, reinterpret_cast<LPARAM>(&windows));
    std::sort(windows.begin(), windows.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return windows;
}

std::vector<HWND> MenuDriver::Windows() const {
    return MenuWindowsOf(guiThread_);
}

bool MenuDriver::WaitForWindows(size_t count, DWORD timeoutMs) const {
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; ::Sleep(20))
        if (Windows().size() == count)
            return true;
    return false;
}

HWND MenuDriver::Target() const {
    auto windows = Windows();
    return windows.empty() ? nullptr : windows.back();
}

void MenuDriver::Key(WORD key) const {
    HWND target = Target();
    PostMessageA(target, WM_KEYDOWN, key, 1);
    // A posted key is not turned into a character, and menus choose on the
    // character of Enter.
    if (key == VK_RETURN)
        PostMessageA(target, WM_CHAR, '\r', 1);
    PostMessageA(target, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
}

void MenuDriver::MoveTo(POINT screen) const {
    PostMessageA(Target(), WM_MOUSEMOVE, 0, MAKELPARAM(screen.x, screen.y));
}

void MenuDriver::ClickAt(POINT screen) const {
    HWND target = Target();
    LPARAM where = MAKELPARAM(screen.x, screen.y);
    PostMessageA(target, WM_MOUSEMOVE, 0, where);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(target, WM_LBUTTONUP, 0, where);
}

POINT Center(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

} // namespace orvane::test
