#pragma once
// Random notify-icon blocks against a tray, and the checks that the tray came
// through: its list matches the controls and the panel, nothing leaked.
#include "widgets/SkinPanel.h"
#include "tray/Tray.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace traytest {

// "" when the icon list, the controls on the panel and its width agree; else
// what disagrees.
std::string CheckConsistency(const orvane::TTray& tray, const orvane::TSkinPanel& panel);

struct FuzzResult {
    int requests = 0;
    int accepted = 0; // replied 1
    int mostIcons = 0;
    std::string fault; // the first inconsistency seen, or ""
};

// Sends `count` random blocks (0 to 2048 bytes, random commands, owners from
// `owners` or made up, icons valid or not, both layouts) to the tray window,
// checking the tray every `checkEvery` requests.
FuzzResult RunFuzz(orvane::TTray& tray, const orvane::TSkinPanel& panel,
                   const std::vector<HWND>& owners, int count, uint32_t seed, int checkEvery);

// Deletes every icon by requests, last first.
void RemoveAllIcons(orvane::TTray& tray);

// What a leak would show in under Wine, which reports no GDI or USER object
// counts (GetGuiResources gives 0): this thread's windows, children
// included, and the commit charge.
struct ResourceUse {
    size_t windows = 0;
    SIZE_T privateBytes = 0;
};
ResourceUse CurrentResourceUse();

// Whether `count` more icons and brushes can still be made (a process that
// leaked handles runs out of them).
bool CanStillMakeObjects(int count);

} // namespace traytest
