#include "appbar/AppBarRequest.h"

#include "base/Bytes.h"
#include "base/ShellError.h"

#include <cstring>

namespace orvane {

namespace {

constexpr size_t kAnswerMap = 0, kSender = 4, kWindow = 8, kCallback = 12, kEdge = 16, kRect = 20,
                 kLParam = 40;

} // namespace

HWND TAppBarRequest::Window() const {
    // 32-bit handles widen the way the platform widens them.
    return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(WindowValue)));
}

TAppBarRequest DecodeAppBarRequest(const COPYDATASTRUCT& data) {
    if (!data.lpData)
        throw ShellError("the app-bar request carries no data block");
    if (data.cbData != kAppBarRequestSize)
        throw ShellError("the app-bar request block of " + std::to_string(data.cbData) +
                         " bytes is not the " + std::to_string(kAppBarRequestSize) +
                         " bytes expected");
    const auto* block = static_cast<const uint8_t*>(data.lpData);
    TAppBarRequest request;
    // Only the low 32 bits carry a message; anything above makes it unknown.
    request.Message = data.dwData > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(data.dwData);
    request.AnswerMap = ReadU32(block, kAnswerMap);
    request.SenderProcess = ReadU32(block, kSender);
    request.WindowValue = ReadU32(block, kWindow);
    request.CallbackMessage = ReadU32(block, kCallback);
    request.Edge = ReadU32(block, kEdge);
    request.Rect = {static_cast<LONG>(ReadU32(block, kRect)),
                    static_cast<LONG>(ReadU32(block, kRect + 4)),
                    static_cast<LONG>(ReadU32(block, kRect + 8)),
                    static_cast<LONG>(ReadU32(block, kRect + 12))};
    std::memcpy(&request.LParam, block + kLParam, sizeof request.LParam);
    return request;
}

void EncodeAppBarAnswer(const TAppBarAnswer& answer, uint8_t (&block)[kAppBarAnswerSize]) {
    std::memset(block, 0, sizeof block);
    std::memcpy(block, &answer.Result, sizeof answer.Result);
    WriteU32(block, kWindow, answer.WindowValue);
    WriteU32(block, kCallback, answer.CallbackMessage);
    WriteU32(block, kEdge, answer.Edge);
    WriteU32(block, kRect, static_cast<uint32_t>(answer.Rect.left));
    WriteU32(block, kRect + 4, static_cast<uint32_t>(answer.Rect.top));
    WriteU32(block, kRect + 8, static_cast<uint32_t>(answer.Rect.right));
    WriteU32(block, kRect + 12, static_cast<uint32_t>(answer.Rect.bottom));
    std::memcpy(block + kLParam, &answer.LParam, sizeof answer.LParam);
}

std::string AppBarMessageName(uint32_t message) {
    static const char* const kNames[] = {"ABM_NEW",
                                         "ABM_REMOVE",
                                         "ABM_QUERYPOS",
                                         "ABM_SETPOS",
                                         "ABM_GETSTATE",
                                         "ABM_GETTASKBARPOS",
                                         "ABM_ACTIVATE",
                                         "ABM_GETAUTOHIDEBAR",
                                         "ABM_SETAUTOHIDEBAR",
                                         "ABM_WINDOWPOSCHANGED",
                                         "ABM_SETSTATE"};
    if (message < std::size(kNames))
        return kNames[message];
    return "app-bar message " + std::to_string(message);
}

} // namespace orvane
