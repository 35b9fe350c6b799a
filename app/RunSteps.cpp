#include "app/RunSteps.h"

#include "base/Config.h"
#include "base/Guarded.h"
#include "base/Log.h"
#include "system/FileSystem.h"
#include "system/Registry.h"
#include "base/Win32Handles.h"

namespace orvane {

namespace {

constexpr char kWinSettings[] = "WinSettings";
constexpr int kHeightOverWorkArea = 25;
constexpr const char* kColorsKey = "Control Panel\\Colors";
constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string RegistryColor(COLORREF colour) {
    return std::to_string(GetRValue(colour)) + " " + std::to_string(GetGValue(colour)) + " " +
           std::to_string(GetBValue(colour));
}

} // namespace

bool LastRunWasUnclean(const std::string& logPath) {
    if (!FileExists(logPath))
        return false;
    return !TLog::Contains(logPath, "Work end") &&
           !TLog::Contains(logPath, "Main panel is shown first time");
}

void RecolorCaptions() {
    IniFile config = IniFile::Config();
    config.WriteInteger(kWinSettings, "ActiveTitle",
                        static_cast<int32_t>(GetSysColor(COLOR_ACTIVECAPTION)));
    config.WriteInteger(kWinSettings, "GradientActiveTitle",
                        static_cast<int32_t>(GetSysColor(COLOR_GRADIENTACTIVECAPTION)));

    const INT elements[] = {COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION};
    const COLORREF colours[] = {kActiveTitleColor, kGradientActiveTitleColor};
    SetSysColors(2, elements, colours);

    UniqueRegKey key = CreateRegKey(HKEY_CURRENT_USER, kColorsKey, KEY_SET_VALUE);
    if (!key)
        return;
    WriteRegText(key.get(), "ActiveTitle", RegistryColor(kActiveTitleColor));
    WriteRegText(key.get(), "GradientActiveTitle", RegistryColor(kGradientActiveTitleColor));
}

void RestoreCaptionColors() {
    IniFile config = IniFile::Config();
    struct Saved {
        const char* key;
        INT element;
    };
    std::vector<INT> elements;
    std::vector<COLORREF> colours;
    std::vector<const char*> keys;
    for (Saved saved : {Saved{"ActiveTitle", COLOR_ACTIVECAPTION},
                        Saved{"GradientActiveTitle", COLOR_GRADIENTACTIVECAPTION}}) {
        const std::string text = config.ReadString(kWinSettings, saved.key, "");
        if (text.empty())
            continue;
        std::optional<int32_t> colour = ParseIniInteger(text);
        if (!colour) {
            LogFailure("RestoreCaptionColors",
                       "[WinSettings] " + std::string(saved.key) + " is no colour: " + text);
            continue;
        }
        elements.push_back(saved.element);
        colours.push_back(static_cast<COLORREF>(*colour));
        keys.push_back(saved.key);
    }
    if (elements.empty())
        return;
    SetSysColors(static_cast<int>(elements.size()), elements.data(), colours.data());

    // The running system has its colours back even when the stored ones
    // cannot be updated.
    UniqueRegKey key = CreateRegKey(HKEY_CURRENT_USER, kColorsKey, KEY_SET_VALUE);
    if (!key)
        return;
    for (size_t i = 0; i < keys.size(); ++i)
        WriteRegText(key.get(), keys[i], RegistryColor(colours[i]));
}

void RestoreWorkArea() {
    IniFile config = IniFile::Config();
    RECT area{config.ReadInteger(kWinSettings, "ScreenLeft", 0),
              config.ReadInteger(kWinSettings, "ScreenTop", 0),
              config.ReadInteger(kWinSettings, "ScreenRight", GetSystemMetrics(SM_CXSCREEN)),
              config.ReadInteger(kWinSettings, "ScreenBottom", GetSystemMetrics(SM_CYSCREEN))};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, SPIF_SENDCHANGE);
}

void HideMinimizedWindows() {
    MINIMIZEDMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETMINIMIZEDMETRICS, sizeof metrics, &metrics,
                               SPIF_UPDATEINIFILE))
        return;
    if (metrics.iArrange & ARW_HIDE)
        return;
    metrics.iArrange |= ARW_HIDE;
    SystemParametersInfoW(SPI_SETMINIMIZEDMETRICS, sizeof metrics, &metrics, SPIF_UPDATEINIFILE);
}

namespace {

RECT TakenWorkArea() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - kTaskbarReserve};
}

// The area the shell itself set, left behind by a run that died: saving it
// would make the way back keep the taskbar's room. What an earlier start saved
// stays then.
bool IsLeftOverArea(const RECT& area, const IniFile& config) {
    const RECT taken = TakenWorkArea();
    return EqualRect(&area, &taken) &&
           config.ReadString(kWinSettings, "ScreenBottom", "").size() > 0;
}

} // namespace

RECT TaskbarRoom() {
    const RECT taken = TakenWorkArea();
    return {taken.left, taken.bottom, taken.right, GetSystemMetrics(SM_CYSCREEN)};
}

void TakeWorkArea() {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    IniFile config = IniFile::Config();
    if (!IsLeftOverArea(area, config))
        config.WriteStrings(kWinSettings, {{"ScreenLeft", std::to_string(area.left)},
                                           {"ScreenTop", std::to_string(area.top)},
                                           {"ScreenRight", std::to_string(area.right)},
                                           {"ScreenBottom", std::to_string(area.bottom)}});

    RECT taken = TakenWorkArea();
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &taken, SPIF_SENDCHANGE);
}

void FitMaximizedWindows(const std::vector<HWND>& windows) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN) - kHeightOverWorkArea;
    for (HWND window : windows) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (!GetWindowPlacement(window, &placement) || placement.showCmd != SW_SHOWMAXIMIZED)
            continue;
        MoveWindow(window, 0, 0, width, height, TRUE);
        ShowWindow(window, SW_SHOWMAXIMIZED);
        // Where the work area is kept per process (Wine), showing it maximised
        // again spreads it over the whole screen once more.
        RECT rect{};
        if (GetWindowRect(window, &rect) &&
            (rect.left != 0 || rect.top != 0 || rect.right != width || rect.bottom != height))
            MoveWindow(window, 0, 0, width, height, TRUE);
    }
}

std::optional<std::string> QuickLaunchFolder() {
    UniqueRegKey key = OpenRegKey(HKEY_CURRENT_USER, kShellFoldersKey, KEY_QUERY_VALUE);
    if (!key)
        return std::nullopt;
    // A value that is missing or no text leaves the folder relative.
    std::string appData;
    Guarded("QuickLaunchFolder", FailurePolicy::Silent,
            [&] { appData = ReadRegText(key.get(), "AppData").value_or(std::string()); });
    return appData + "\\Microsoft\\Internet Explorer\\Quick Launch";
}

} // namespace orvane
