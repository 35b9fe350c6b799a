#pragma once
// Decoding of the notify-icon requests that other programs send to the tray
// window with WM_COPYDATA. The block belongs to another process, so nothing is
// read past the length it states.
#include "tray/IconPixels.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace orvane {

// What the tray needs of one request, whichever layout it came in.
struct TNotifyIconData {
    uint32_t Command = 0;         // NIM_ADD 0, NIM_MODIFY 1, NIM_DELETE 2, others unhandled
    uint32_t OwnerValue = 0;      // the owner as sent: 32 bits, 0xFFFFFFFF is refused
    uint32_t Id = 0;              // uID
    uint32_t Flags = 0;           // NIF_MESSAGE 1, NIF_ICON 2, NIF_TIP 4
    uint32_t CallbackMessage = 0; // posted to the owner on mouse events
    HICON Icon = nullptr;         // the sender's icon handle (platform's block)
    std::optional<TIconPixels> IconPixels; // the icon, when its bits came in the block
    std::string IconError;                 // why bits in the block gave no icon, else ""
    std::string Tip;                       // UTF-8, from at most 32 UTF-16 units

    HWND Owner() const;
};

// The platform's block: signature 0x34753423 at 0, command at 4, the 32-bit
// notify-icon fields from 12 on, the tip at 32.
constexpr uint32_t kNotifySignature = 0x34753423;
constexpr size_t kNotifyFixedSize = 32; // everything up to the tip
constexpr size_t kNotifyTipOffset = 32;
constexpr size_t kNotifyTipUnits = 32;

// Wine's own Shell_NotifyIcon: dwData is the command and the block a 960-byte
// record followed by the icon's mask and colour bits.
constexpr size_t kWineRecordSize = 960;
constexpr size_t kWineTipUnits = 128;

// Ids from here up make the tray ignore the request.
constexpr uint32_t kFirstIgnoredId = 0xFFFFFFA0;

// The length of Wine's block for a record with these icon fields, or 0 when the
// fields cannot describe one.
uint64_t WineBlockSize(uint32_t width, uint32_t height, uint32_t planes, uint32_t bpp);

// Decodes `data`; ShellError when the block is missing or too short for the
// fields the request needs.
TNotifyIconData DecodeNotifyRequest(const COPYDATASTRUCT& data);

// The UTF-16 text of `availableUnits` units up to its first NUL, as UTF-8; at
// most `maxUnits` units of it, cut between characters (never inside a
// surrogate pair).
std::string TipText(const wchar_t* text, size_t availableUnits, size_t maxUnits);

} // namespace orvane
