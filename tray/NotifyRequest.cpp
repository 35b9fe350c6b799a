#include "tray/NotifyRequest.h"

#include "base/Bytes.h"
#include "base/Guarded.h"
#include "base/ShellError.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace orvane {

namespace {

// Wine's record, by offset.
constexpr size_t kWineOwner = 0, kWineId = 4, kWineFlags = 8, kWineCallback = 12, kWineTip = 16;
constexpr size_t kWineWidth = 944, kWineHeight = 948, kWinePlanes = 952, kWineBpp = 956;

// The platform's block, by offset.
constexpr size_t kCommand = 4, kOwner = 12, kId = 16, kFlags = 20, kCallback = 24, kIcon = 28;

// 32-bit handles from another process widen the way the platform widens them.
template <typename Handle> Handle WidenHandle(uint32_t value) {
    return reinterpret_cast<Handle>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}

// Bytes of one bitmap as Wine packs them: whole 16-bit words over all its bits.
uint64_t PackedBits(uint64_t planes, uint64_t width, uint64_t height, uint64_t bpp) {
    return (planes * width * height * bpp + 15) / 16 * 2;
}

std::string TextOf(const uint8_t* block, size_t offset, size_t availableBytes, size_t maxUnits) {
    std::vector<wchar_t> units(availableBytes / sizeof(wchar_t));
    if (!units.empty())
        std::memcpy(units.data(), block + offset, units.size() * sizeof(wchar_t));
    return TipText(units.data(), units.size(), maxUnits);
}

bool UsableIconFormat(uint32_t width, uint32_t height, uint32_t planes, uint32_t bpp) {
    bool knownDepth = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    return width >= 1 && width <= 256 && height >= 1 && height <= 256 && planes == 1 && knownDepth;
}

TNotifyIconData DecodeWineBlock(const COPYDATASTRUCT& data) {
    const auto* block = static_cast<const uint8_t*>(data.lpData);
    TNotifyIconData request;
    // Only the low 32 bits carry a command; anything above makes it unknown.
    request.Command = data.dwData > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(data.dwData);
    request.OwnerValue = ReadU32(block, kWineOwner);
    request.Id = ReadU32(block, kWineId);
    request.Flags = ReadU32(block, kWineFlags);
    request.CallbackMessage = ReadU32(block, kWineCallback);
    request.Tip = TextOf(block, kWineTip, kWineTipUnits * sizeof(wchar_t), kNotifyTipUnits);

    uint32_t width = ReadU32(block, kWineWidth), height = ReadU32(block, kWineHeight);
    uint32_t planes = ReadU32(block, kWinePlanes), bpp = ReadU32(block, kWineBpp);
    if (!(request.Flags & NIF_ICON) || data.cbData == kWineRecordSize)
        return request;
    if (!UsableIconFormat(width, height, planes, bpp)) {
        request.IconError = "the icon bits of the request have an unusable format (" +
                            std::to_string(width) + " x " + std::to_string(height) + ", " +
                            std::to_string(planes) + " planes, " + std::to_string(bpp) + " bpp)";
        return request;
    }
    const uint8_t* mask = block + kWineRecordSize;
    const uint8_t* colour = mask + PackedBits(1, width, height, 1);
    request.IconPixels = IconPixelsFromDeviceBits(width, height, bpp, mask, colour);
    if (request.IconPixels)
        return request;
    // Formats the direct reading does not know go through a real icon.
    UniqueIcon icon(CreateIcon(nullptr, static_cast<int>(width), static_cast<int>(height),
                               static_cast<BYTE>(planes), static_cast<BYTE>(bpp), mask, colour));
    GuardedReport([&] { request.IconPixels = IconPixelsFromHandle(icon.get()); },
                  [&](const std::string& message) {
                      request.IconError = "the icon bits of the request make no icon: " + message;
                  });
    return request;
}

TNotifyIconData DecodePlatformBlock(const COPYDATASTRUCT& data) {
    const auto* block = static_cast<const uint8_t*>(data.lpData);
    TNotifyIconData request;
    request.Command = ReadU32(block, kCommand);
    request.OwnerValue = ReadU32(block, kOwner);
    request.Id = ReadU32(block, kId);
    request.Flags = ReadU32(block, kFlags);
    request.CallbackMessage = ReadU32(block, kCallback);
    request.Icon = WidenHandle<HICON>(ReadU32(block, kIcon));
    size_t tipBytes =
        std::min<size_t>(data.cbData - kNotifyTipOffset, kNotifyTipUnits * sizeof(wchar_t));
    request.Tip = TextOf(block, kNotifyTipOffset, tipBytes, kNotifyTipUnits);
    return request;
}

bool IsWineBlock(const COPYDATASTRUCT& data) {
    if (data.cbData < kWineRecordSize)
        return false;
    const auto* block = static_cast<const uint8_t*>(data.lpData);
    if (ReadU32(block, 0) == kNotifySignature)
        return false;
    return WineBlockSize(ReadU32(block, kWineWidth), ReadU32(block, kWineHeight),
                         ReadU32(block, kWinePlanes), ReadU32(block, kWineBpp)) == data.cbData;
}

} // namespace

HWND TNotifyIconData::Owner() const {
    return WidenHandle<HWND>(OwnerValue);
}

uint64_t WineBlockSize(uint32_t width, uint32_t height, uint32_t planes, uint32_t bpp) {
    return kWineRecordSize + PackedBits(1, width, height, 1) +
           PackedBits(planes, width, height, bpp);
}

TNotifyIconData DecodeNotifyRequest(const COPYDATASTRUCT& data) {
    if (!data.lpData)
        throw ShellError("the request carries no data block");
    if (IsWineBlock(data))
        return DecodeWineBlock(data);
    if (data.cbData < kNotifyFixedSize)
        throw ShellError("the request block of " + std::to_string(data.cbData) +
                         " bytes is too short");
    return DecodePlatformBlock(data);
}

std::string TipText(const wchar_t* text, size_t availableUnits, size_t maxUnits) {
    const size_t limit = std::min(availableUnits, maxUnits);
    size_t length = 0;
    while (length < limit && text[length] != L'\0')
        ++length;
    // Cut by the limit or by the block's end, not ended by a NUL: a high
    // surrogate whose partner lay beyond the cut goes too.
    if (length == limit && length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
        --length;
    return Utf8(std::wstring_view(text, length));
}

} // namespace orvane
