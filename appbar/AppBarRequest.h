#pragma once
// The app-bar requests that Wine's SHAppBarMessage sends with WM_COPYDATA to
// the window of class "WineAppBar", and the answer it reads back. The block
// belongs to another process: its window, map and process are numbers of
// that process, checked before use and never taken as pointers.
#include <windows.h>

#include <cstdint>
#include <string>

namespace orvane {

// dwData: the ABM_ message. The block, 48 bytes, little-endian (measured):
// 0 the answer's file mapping (a handle of the sender), 4 the sender's
// process id, 8 hWnd, 12 uCallbackMessage, 16 uEdge, 20 rc (left, top, right,
// bottom), 36 padding, 40 lParam (64 bits). No cbSize: shell32 refuses an
// APPBARDATA smaller than its own before sending.
constexpr size_t kAppBarRequestSize = 48;

// The answer in that mapping: 0 the result (64 bits), then from 8 the
// request's fields in the same order as above from 8 on (hWnd, uCallbackMessage,
// uEdge, rc, padding, lParam); shell32 returns the result and copies uEdge and
// rc back into the caller's APPBARDATA.
constexpr size_t kAppBarAnswerSize = 48;

struct TAppBarRequest {
    uint32_t Message = 0; // ABM_NEW 0 ... ABM_SETSTATE 10
    uint32_t AnswerMap = 0;
    uint32_t SenderProcess = 0;
    uint32_t WindowValue = 0; // as sent: 32 bits
    uint32_t CallbackMessage = 0;
    uint32_t Edge = 0;
    RECT Rect{};
    uint64_t LParam = 0;

    HWND Window() const;
};

// Decodes a request; ShellError for a missing block or one of another size.
TAppBarRequest DecodeAppBarRequest(const COPYDATASTRUCT& data);

// The answer block for a request, with its result and the place it got.
struct TAppBarAnswer {
    uint64_t Result = 0;
    uint32_t WindowValue = 0;
    uint32_t CallbackMessage = 0;
    uint32_t Edge = 0;
    RECT Rect{};
    uint64_t LParam = 0;
};
void EncodeAppBarAnswer(const TAppBarAnswer& answer, uint8_t (&block)[kAppBarAnswerSize]);

// The name of an ABM_ message for the log ("ABM_SETPOS"), or its number.
std::string AppBarMessageName(uint32_t message);

} // namespace orvane
