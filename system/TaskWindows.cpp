#include "system/TaskWindows.h"

#include "base/Utf.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvane {

namespace {

// Titles are read in a buffer of this many units first, grown up to the most.
constexpr size_t kTitleUnits = 256;
constexpr size_t kMaxTitleUnits = 32768;

// `length` units of a cut text, less a high surrogate whose partner was cut off.
size_t WholeCharacters(const wchar_t* text, size_t length) {
    if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
        return length - 1;
    return length;
}

} // namespace

bool IsTaskWindow(HWND window) {
    // Every read of another program's window is a trip to the window server,
    // so each fact is read once. A gone window has no style, and a top-level
    // window is visible exactly when its own style says so.
    const LONG style = window ? GetWindowLongW(window, GWL_STYLE) : 0;
    if ((style & WS_CHILD) || !(style & WS_VISIBLE))
        return false;
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    if (exStyle & (WS_EX_TOOLWINDOW | WS_EX_MDICHILD))
        return false;
    // An owned window gets a button of its own only when it asks for one and its
    // owner does not already have one; an owned pop-up (whose parent, as
    // GetParent reports it, is its owner) never does.
    if (HWND owner = GetWindow(window, GW_OWNER)) {
        if (!(exStyle & WS_EX_APPWINDOW) || (style & WS_POPUP))
            return false;
        if (IsTaskWindow(owner))
            return false;
    }
    // The mark is a 32-bit value; on 64-bit only the low half of the user data
    // carries it, as GetWindowLong would report it.
    const auto userData = static_cast<uint32_t>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return userData != static_cast<uint32_t>(kNoTaskButtonMark);
}

std::string WindowTitle(HWND window) {
    // InternalGetWindowText reads the stored title and sends the window no
    // message, so a hung program cannot stall the caller.
    std::vector<wchar_t> buffer(kTitleUnits);
    for (;;) {
        const int got =
            InternalGetWindowText(window, buffer.data(), static_cast<int>(buffer.size()));
        if (got <= 0)
            return std::string();
        const auto length = static_cast<size_t>(got);
        if (length + 1 < buffer.size())
            return Utf8(std::wstring_view(buffer.data(), length));
        if (buffer.size() >= kMaxTitleUnits)
            return Utf8(std::wstring_view(buffer.data(), WholeCharacters(buffer.data(), length)));
        buffer.resize(buffer.size() * 2);
    }
}

std::string GetWindowCaption(HWND window) {
    std::string title = WindowTitle(window);
    // An empty title still reads "???".
    return title.empty() ? "???" : title;
}

} // namespace orvane
