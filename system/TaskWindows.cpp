#include "system/TaskWindows.h"

#include <cstdint>

namespace orvane {

bool IsTaskWindow(HWND window) {
    if (!IsWindow(window))
        return false;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if (style & WS_CHILD)
        return false;
    if (!(style & WS_VISIBLE))
        return false;
    if (!IsWindowVisible(window))
        return false;
    const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    if (exStyle & WS_EX_TOOLWINDOW)
        return false;
    if (exStyle & WS_EX_MDICHILD)
        return false;
    // An owned window gets a button of its own only when it asks for one and its
    // owner does not already have one.
    if (HWND owner = GetWindow(window, GW_OWNER)) {
        if (!(exStyle & WS_EX_APPWINDOW))
            return false;
        if (IsTaskWindow(owner))
            return false;
    }
    if (GetParent(window))
        return false;
    // The mark is a 32-bit value; on 64-bit only the low half of the user data
    // carries it, as GetWindowLongA would report it.
    const auto userData = static_cast<uint32_t>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return userData != static_cast<uint32_t>(kNoTaskButtonMark);
}

std::string GetWindowCaption(HWND window) {
    const int length = GetWindowTextLengthA(window) + 1;
    if (length > 1) {
        std::string text(static_cast<size_t>(length), '\0');
        const int got = GetWindowTextA(window, text.data(), length);
        // The title may have shrunk in between; an emptied one still reads "???".
        if (got > 0) {
            text.resize(static_cast<size_t>(got));
            return text;
        }
    }
    return "???";
}

} // namespace orvane
