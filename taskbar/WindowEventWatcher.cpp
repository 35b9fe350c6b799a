#include "taskbar/WindowEventWatcher.h"

#include "system/TaskWindows.h"
#include "taskbar/TaskButtons.h"

#include <algorithm>
#include <utility>

namespace orvane {

namespace {

// The windows that may have a task button: unowned ones, and owned ones that
// ask for a button of their own (WS_EX_APPWINDOW); the task-button rule
// decides the rest.
BOOL CALLBACK CollectVisible(HWND window, LPARAM param) {
    if (!IsWindowVisible(window))
        return TRUE;
    if (GetWindow(window, GW_OWNER) && !(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW))
        return TRUE;
    reinterpret_cast<std::unordered_set<HWND>*>(param)->insert(window);
    return TRUE;
}

} // namespace

TWindowEventWatcher::TWindowEventWatcher(Handler handler, ButtonWindows buttonWindows)
    : handler_(std::move(handler)), buttonWindows_(std::move(buttonWindows)),
      visible_(VisibleTopLevelWindows()) {
    for (HWND window : buttonWindows_())
        titles_[window] = WindowTitle(window);
}

std::unordered_set<HWND> TWindowEventWatcher::VisibleTopLevelWindows() const {
    std::unordered_set<HWND> windows;
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void TWindowEventWatcher::Tick() {
    std::unordered_set<HWND> visible = VisibleTopLevelWindows();
    std::vector<HWND> withButtons = buttonWindows_();
    auto hasButton = [&](HWND window) {
        return std::find(withButtons.begin(), withButtons.end(), window) != withButtons.end();
    };

    // A window gone without its hook event (the hook's send timed out, or a
    // program ended without destroying its windows) loses its button too.
    for (HWND window : withButtons)
        if (!IsWindow(window) || (!visible.contains(window) && visible_.contains(window)))
            handler_(window, kWindowDestroyed);
    for (HWND window : visible)
        if (!visible_.contains(window) && !hasButton(window))
            handler_(window, kWindowCreated);
    visible_ = std::move(visible);

    HWND foreground = GetForegroundWindow();
    if (foreground != foreground_) {
        foreground_ = foreground;
        if (foreground)
            handler_(foreground, kWindowActivated);
    }

    // The handlers above may have added or removed buttons.
    std::unordered_map<HWND, std::string> titles;
    for (HWND window : buttonWindows_()) {
        std::string title = WindowTitle(window);
        auto known = titles_.find(window);
        if (known != titles_.end() && known->second != title)
            handler_(window, kWindowRedraw);
        titles.emplace(window, std::move(title));
    }
    titles_ = std::move(titles);
}

} // namespace orvane
