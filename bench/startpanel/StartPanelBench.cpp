// Run under Wine in a scratch prefix: it writes 1,000 shortcuts in 50 folders
// (and 100 more at the top) into both start menus and a 200-shortcut folder,
// and removes them again at the end.
#include "bench/BenchSupport.h"
#include "startpanel/StartPanel.h"
#include "system/FileSystem.h"
#include "base/Utf.h"
#include "system/IconLookup.h"
#include "system/ShellIcons.h"
#include "system/Shortcuts.h"
#include "taskbar/TaskbarGlyphs.h"
#include "toolkit/Application.h"
#include "toolkit/Timer.h"
#include "widgets/ImageList.h"
#include "widgets/ListBox.h"
#include "widgets/Menu.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

using namespace orvane;

namespace {

constexpr int kRounds = 5;

std::string Special(int csidl) {
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, csidl, TRUE);
    return path;
}

void RemoveTree(const std::string& folder) {
    for (const TFolderEntry& entry : ListFolder(folder)) {
        std::string path = folder + "\\" + entry.name;
        if (entry.folder)
            RemoveTree(path);
        else
            DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

// A real shortcut to a program with an icon of its own.
void Link(const std::string& path) {
    CreateShortcut("C:\\windows\\notepad.exe", path, "", "");
}

// 25 folders of 20 shortcuts and 50 top-level shortcuts in one start menu.
std::vector<std::string> MakeStartMenu(const std::string& menu, const char* tag) {
    std::vector<std::string> made;
    for (int f = 0; f < 25; ++f) {
        std::string folder = menu + "\\Bench " + tag + " " + std::to_string(f);
        CreateDirectoryA(folder.c_str(), nullptr);
        for (int s = 0; s < 20; ++s)
            Link(folder + "\\Program " + std::to_string(s) + ".lnk");
        made.push_back(folder);
    }
    for (int s = 0; s < 50; ++s) {
        std::string shortcut = menu + "\\Bench " + tag + " tool " + std::to_string(s) + ".lnk";
        Link(shortcut);
        made.push_back(shortcut);
    }
    return made;
}

// What the fill costs at the least: the listing and the icon lookups.
double BareListing(const std::vector<std::string>& folders) {
    double start = bench::MicrosecondsNow();
    size_t entries = 0;
    for (const std::string& folder : folders)
        for (const TFolderEntry& entry : ListFolder(folder)) {
            ++entries;
            if (!entry.folder)
                GetFileIcon(folder + "\\" + entry.name, true);
        }
    double elapsed = bench::MicrosecondsNow() - start;
    return entries ? elapsed : -1;
}

// The same with each shortcut's own icon looked up in place: the shortcut
// read and its target's icon taken from the program file.
double BareOwnListing(const std::vector<std::string>& folders) {
    double start = bench::MicrosecondsNow();
    std::vector<UniqueIcon> kept;
    for (const std::string& folder : folders)
        for (const TFolderEntry& entry : ListFolder(folder)) {
            if (entry.folder)
                continue;
            const ShortcutInfo link = ResolveShortcut(folder + "\\" + entry.name);
            HICON icon = nullptr;
            ExtractIconExW(Wide(link.target).c_str(), 0, nullptr, &icon, 1);
            kept.emplace_back(icon);
        }
    return bench::MicrosecondsNow() - start;
}

// Runs the message loop until every own icon asked for has arrived.
void UntilOwnIconsShown(TApplication& application) {
    while (IconLookup().Waiting() > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        application.ProcessMessages();
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main() {
    CoInitialize(nullptr);
    TApplication application;
    const std::string common = Special(CSIDL_COMMON_STARTMENU), user = Special(CSIDL_STARTMENU);
    std::vector<std::string> made = MakeStartMenu(common, "A");
    std::vector<std::string> userMade = MakeStartMenu(user, "B");
    made.insert(made.end(), userMade.begin(), userMade.end());
    const std::string bigCommon = common + "\\Bench Big", bigUser = user + "\\Bench Big";
    CreateDirectoryA(bigCommon.c_str(), nullptr);
    CreateDirectoryA(bigUser.c_str(), nullptr);
    for (int s = 0; s < 100; ++s) {
        Link(bigCommon + "\\Common " + std::to_string(s) + ".lnk");
        Link(bigUser + "\\User " + std::to_string(s) + ".lnk");
    }

    auto* glyphs = NewComponent<TImageList>(&application);
    AddSectionChevrons(*glyphs);
    TStartPanelHost host;
    host.SectionGlyphs = glyphs;
    auto* panel = CreateForm<TfrmStart>(&application, host);

    std::vector<double> fill, bareFill, popup, barePopup, fillOwn, bareOwnFill, popupOwn,
        bareOwnPopup;
    for (int round = 0; round < kRounds; ++round) {
        double start = bench::MicrosecondsNow();
        panel->InitProgramsMenu();
        fill.push_back(bench::MicrosecondsNow() - start);
        UntilOwnIconsShown(application);
        fillOwn.push_back(bench::MicrosecondsNow() - start);
        bareFill.push_back(BareListing({common, user}));
        bareOwnFill.push_back(BareOwnListing({common, user}));

        start = bench::MicrosecondsNow();
        panel->ClearPopup();
        panel->FillFolderMenu(panel->pmStart->Items(), bigCommon, TFolderMenuKind::Programs);
        panel->FillFolderMenu(panel->pmStart->Items(), bigUser, TFolderMenuKind::Programs);
        popup.push_back(bench::MicrosecondsNow() - start);
        UntilOwnIconsShown(application);
        popupOwn.push_back(bench::MicrosecondsNow() - start);
        barePopup.push_back(BareListing({bigCommon, bigUser}));
        bareOwnPopup.push_back(BareOwnListing({bigCommon, bigUser}));
    }
    std::printf("Programs list: %d entries from two start menus (1,000 shortcuts in 50 folders, "
                "100 at the top)\n",
                panel->lbPrograms->Items().Count());
    std::printf("  fill            %8.1f ms (median of %d)\n", Median(fill) / 1000, kRounds);
    std::printf("  bare listing    %8.1f ms (same entries, same icon lookups)\n",
                Median(bareFill) / 1000);
    std::printf("  ratio           %8.2f\n", Median(fill) / Median(bareFill));
    std::printf("  bare + own icons %7.1f ms; ratio %.2f (target at most 1.5)\n",
                Median(bareOwnFill) / 1000, Median(fill) / Median(bareOwnFill));
    std::printf(
        "  last own icon shown after %.1f ms (first round, nothing cached), median %.1f ms\n",
        fillOwn.front() / 1000, Median(fillOwn) / 1000);
    std::printf("Folder pop-up of 200 shortcuts: %d items\n", panel->pmStart->Items().Count());
    std::printf("  fill            %8.1f ms\n", Median(popup) / 1000);
    std::printf("  bare listing    %8.1f ms\n", Median(barePopup) / 1000);
    std::printf("  ratio           %8.2f\n", Median(popup) / Median(barePopup));
    std::printf("  bare + own icons %7.1f ms; ratio %.2f (target at most 1.5)\n",
                Median(bareOwnPopup) / 1000, Median(popup) / Median(bareOwnPopup));
    std::printf(
        "  last own icon shown after %.1f ms (first round, nothing cached), median %.1f ms\n",
        popupOwn.front() / 1000, Median(popupOwn) / 1000);

    // The pop-up shown: from the click until its window is on the screen.
    DWORD gui = GetCurrentThreadId();
    std::vector<double> shown;
    for (int round = 0; round < 3; ++round) {
        double start = bench::MicrosecondsNow(), appeared = 0;
        std::thread closer([&] {
            for (int i = 0; i < 5000; ++i) {
                HWND menu = FindWindowA("#32768", nullptr);
                DWORD owner = menu ? GetWindowThreadProcessId(menu, nullptr) : 0;
                if (menu && owner == gui && IsWindowVisible(menu)) {
                    appeared = bench::MicrosecondsNow();
                    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
                    return;
                }
                Sleep(1);
            }
        });
        panel->pmStart->Popup(200, 100);
        closer.join();
        if (appeared > 0)
            shown.push_back(appeared - start);
    }
    if (!shown.empty())
        std::printf("  shown (menu of 200 items on screen) %8.1f ms\n", Median(shown) / 1000);

    // The slide: one tick's move, and the move with the repaint it causes.
    // The first tick after the first showing also paints the whole panel.
    panel->Show();
    application.ProcessMessages();
    std::vector<double> moves, frames;
    for (int round = 0; round < 6; ++round) {
        panel->trrShowStart->Tag = round % 2 == 0 ? 1 : 2;
        panel->trrShowStart->SetEnabled(true);
        while (panel->trrShowStart->Enabled()) {
            double start = bench::MicrosecondsNow();
            panel->trrShowStartTimer();
            double moved = bench::MicrosecondsNow();
            application.ProcessMessages();
            moves.push_back(moved - start);
            frames.push_back(bench::MicrosecondsNow() - start);
        }
    }
    panel->trrShowStart->SetEnabled(false);
    std::printf("Slide: %zu ticks; move median %.2f ms, longest %.2f ms; move and repaint median "
                "%.2f ms, longest %.2f ms (a tick comes every 40 ms)\n",
                moves.size(), Median(moves) / 1000,
                *std::max_element(moves.begin(), moves.end()) / 1000, Median(frames) / 1000,
                *std::max_element(frames.begin(), frames.end()) / 1000);

    application.FreeComponent(panel);
    for (const std::string& path : made) {
        RemoveTree(path);
        DeleteFileA(path.c_str());
    }
    RemoveTree(bigCommon);
    RemoveTree(bigUser);
    CoUninitialize();
    return 0;
}
