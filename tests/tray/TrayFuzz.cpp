#include "tests/tray/TrayFuzz.h"
#include "tests/tray/TrayBlocks.h"

#include "base/Win32Handles.h"
#include "tray/TrayIconImage.h"

#include <psapi.h>

#include <cstring>
#include <random>

namespace traytest {

using namespace orvane;

namespace {

class BlockMaker {
  public:
    BlockMaker(uint32_t seed, const std::vector<HWND>& owners) : random_(seed), owners_(owners) {
        for (auto id : {IDI_APPLICATION, IDI_ERROR, IDI_WARNING, IDI_INFORMATION})
            icons_.push_back(LoadIcon(nullptr, id));
    }

    uint32_t Below(uint32_t limit) { return static_cast<uint32_t>(random_() % limit); }

    uint32_t Owner() {
        switch (Below(8)) {
        case 0:
            return static_cast<uint32_t>(random_());
        case 1:
            return Below(2) ? 0xFFFFFFFFu : 0;
        default:
            return static_cast<uint32_t>(
                reinterpret_cast<uintptr_t>(owners_[Below(static_cast<uint32_t>(owners_.size()))]));
        }
    }
    uint32_t Id() {
        switch (Below(10)) {
        case 0: // far-off ids, from a small pool so the list stays bounded
            return 0x7FFF0000u + Below(8) * 0x01000001u;
        case 1:
            return 0xFFFFFF9Fu + Below(3);
        default:
            return Below(16);
        }
    }
    uint32_t Command() { return Below(10) == 0 ? static_cast<uint32_t>(random_()) : Below(5); }
    uint32_t Icon() {
        switch (Below(6)) {
        case 0:
            return static_cast<uint32_t>(random_());
        case 1:
            return 0;
        default:
            return static_cast<uint32_t>(
                reinterpret_cast<uintptr_t>(icons_[Below(static_cast<uint32_t>(icons_.size()))]));
        }
    }

    // One block and its dwData.
    std::vector<uint8_t> Next(ULONG_PTR& dwData) {
        std::vector<uint8_t> block;
        if (Below(4) == 0) {
            block = WineShaped(dwData);
        } else {
            block.resize(Below(2049));
            for (auto& byte : block)
                byte = static_cast<uint8_t>(random_());
            dwData = random_();
            Put32(block, 0, Below(8) ? kPlatformSignature : static_cast<uint32_t>(random_()));
            Put32(block, 4, Command());
            Put32(block, 12, Owner());
            Put32(block, 16, Id());
            Put32(block, 20, Below(8));
            Put32(block, 28, Icon());
        }
        // Now and then cut the block anywhere, fields included.
        if (Below(5) == 0 && !block.empty())
            block.resize(Below(static_cast<uint32_t>(block.size())));
        return block;
    }

  private:
    std::vector<uint8_t> WineShaped(ULONG_PTR& dwData) {
        uint32_t width = Below(4) ? 16 << Below(2) : Below(300);
        uint32_t height = Below(4) ? width : Below(300);
        uint32_t planes = Below(6) ? 1 : Below(3);
        const uint32_t depths[] = {1, 4, 8, 16, 24, 32, 7, 0};
        uint32_t bpp = depths[Below(8)];
        uint64_t size = WineBlockSize(width, height, planes, bpp);
        if (size > 65536) // keep the run quick: no huge icons
            size = kWineRecordSize;
        std::vector<uint8_t> block(static_cast<size_t>(size));
        for (auto& byte : block)
            byte = static_cast<uint8_t>(random_());
        dwData = Command();
        Put32(block, 0, Owner());
        Put32(block, 4, Id());
        Put32(block, 8, Below(8));
        Put32(block, 944, width);
        Put32(block, 948, height);
        Put32(block, 952, planes);
        Put32(block, 956, bpp);
        return block;
    }

    std::mt19937 random_;
    const std::vector<HWND>& owners_;
    std::vector<HICON> icons_;
};

} // namespace

std::string CheckConsistency(const TTray& tray, const TSkinPanel& panel) {
    const auto& info = tray.TrayInfo();
    int onPanel = 0;
    for (TControl* child : panel.Controls())
        onPanel += child->Is<TTrayIconImage>() ? 1 : 0;
    if (onPanel != static_cast<int>(info.size()))
        return std::to_string(info.size()) + " icons but " + std::to_string(onPanel) +
               " icon controls";
    bool untouched = info.empty() && panel.Width() == 18; // as laid out, before any change
    if (!untouched && panel.Width() != 20 * static_cast<int>(info.size()) + 14)
        return "panel " + std::to_string(panel.Width()) + " wide for " +
               std::to_string(info.size()) + " icons";
    for (size_t i = 0; i < info.size(); ++i) {
        const TTrayIconRecord& record = info[i];
        if (!record.Control || record.Control->Parent() != &panel || !record.Control->Handle())
            return "icon " + std::to_string(i) + " has no live control on the panel";
        if (record.Control->Tag != static_cast<intptr_t>(i) ||
            record.Control->Left() != 9 + 20 * static_cast<int>(i) || record.Control->Top() != 3)
            return "icon " + std::to_string(i) + " is out of place";
        for (size_t j = 0; j < i; ++j)
            if (info[j].Owner == record.Owner && info[j].Id == record.Id)
                return "icons " + std::to_string(j) + " and " + std::to_string(i) + " share a key";
    }
    return "";
}

FuzzResult RunFuzz(TTray& tray, const TSkinPanel& panel, const std::vector<HWND>& owners, int count,
                   uint32_t seed, int checkEvery) {
    BlockMaker maker(seed, owners);
    FuzzResult result;
    for (int i = 0; i < count; ++i) {
        ULONG_PTR dwData = 0;
        std::vector<uint8_t> block = maker.Next(dwData);
        bool noData = maker.Below(50) == 0;
        COPYDATASTRUCT data{dwData, static_cast<DWORD>(block.size()),
                            noData || block.empty() ? nullptr : block.data()};
        LRESULT reply =
            SendMessageA(tray.Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        ++result.requests;
        result.accepted += reply == 1;
        result.mostIcons = std::max(result.mostIcons, tray.IconCount());
        if ((i + 1) % checkEvery == 0 || i + 1 == count) {
            tray.Present();
            std::string fault = CheckConsistency(tray, panel);
            if (!fault.empty()) {
                result.fault = "after " + std::to_string(i + 1) + " requests: " + fault;
                return result;
            }
        }
    }
    return result;
}

void RemoveAllIcons(TTray& tray) {
    while (tray.IconCount() > 0) {
        const TTrayIconRecord& last = tray.TrayInfo().back();
        auto block = PlatformBlock(NIM_DELETE, last.Owner, last.Id, 0, 0, nullptr, L"");
        COPYDATASTRUCT data{1, static_cast<DWORD>(block.size()), block.data()};
        if (SendMessageA(tray.Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) != 1)
            break;
    }
    tray.Present();
}

namespace {

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<size_t*>(count);
    return TRUE;
}

// EnumChildWindows reaches every descendant, not only the children.
BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    ++*reinterpret_cast<size_t*>(count);
    EnumChildWindows(window, CountChild, count);
    return TRUE;
}

} // namespace

ResourceUse CurrentResourceUse() {
    ResourceUse use;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&use.windows));
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(),
                             reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters))
        // Wine leaves PrivateUsage at 0; its commit charge stands in.
        use.privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return use;
}

bool CanStillMakeObjects(int count) {
    std::vector<UniqueIcon> icons;
    std::vector<UniqueBrush> brushes;
    // Each takes a window-system handle and a bitmap, as a copied icon would:
    // copies of a 32x32 icon took three times as long under Wine, 4 to 5 s of
    // the fuzz test's 12.
    const BYTE andMask[2] = {0xFF, 0xFF}, xorMask[2] = {};
    for (int i = 0; i < count; ++i) {
        icons.emplace_back(CreateIcon(nullptr, 1, 1, 1, 1, andMask, xorMask));
        brushes.emplace_back(CreateSolidBrush(RGB(i & 0xFF, 0, 0)));
        if (!icons.back() || !brushes.back())
            return false;
    }
    return true;
}

} // namespace traytest
