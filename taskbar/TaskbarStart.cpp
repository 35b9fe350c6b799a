#include "taskbar/TaskbarStart.h"

#include "base/Config.h"
#include "base/Log.h"
#include "system/FileSystem.h"
#include "base/Win32Handles.h"

namespace orvane {

namespace {

constexpr char kWinSettings[] = "WinSettings";
constexpr int kHeightOverWorkArea = 25;

std::string RegistryColor(COLORREF colour) {
    return std::to_string(GetRValue(colour)) + " " + std::to_string(GetGValue(colour)) + " " +
           std::to_string(GetBValue(colour));
}

void WriteRegString(HKEY key, const char* name, const std::string& value) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
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

    HKEY raw = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Colors", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return;
    UniqueRegKey key(raw);
    WriteRegString(key.get(), "ActiveTitle", RegistryColor(kActiveTitleColor));
    WriteRegString(key.get(), "GradientActiveTitle", RegistryColor(kGradientActiveTitleColor));
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
    HKEY raw = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Colors", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return;
    UniqueRegKey key(raw);
    for (size_t i = 0; i < keys.size(); ++i)
        WriteRegString(key.get(), keys[i], RegistryColor(colours[i]));
}

void RestoreWorkArea() {
    IniFile config = IniFile::Config();
    RECT area{config.ReadInteger(kWinSettings, "ScreenLeft", 0),
              config.ReadInteger(kWinSettings, "ScreenTop", 0),
              config.ReadInteger(kWinSettings, "ScreenRight", GetSystemMetrics(SM_CXSCREEN)),
              config.ReadInteger(kWinSettings, "ScreenBottom", GetSystemMetrics(SM_CYSCREEN))};
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, SPIF_SENDCHANGE);
}

void HideMinimizedWindows() {
    MINIMIZEDMETRICS metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETMINIMIZEDMETRICS, sizeof metrics, &metrics,
                               SPIF_UPDATEINIFILE))
        return;
    if (metrics.iArrange & ARW_HIDE)
        return;
    metrics.iArrange |= ARW_HIDE;
    SystemParametersInfoA(SPI_SETMINIMIZEDMETRICS, sizeof metrics, &metrics, SPIF_UPDATEINIFILE);
}

void TakeWorkArea() {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    IniFile config = IniFile::Config();
    config.WriteInteger(kWinSettings, "ScreenLeft", area.left);
    config.WriteInteger(kWinSettings, "ScreenTop", area.top);
    config.WriteInteger(kWinSettings, "ScreenRight", area.right);
    config.WriteInteger(kWinSettings, "ScreenBottom", area.bottom);

    RECT taken{0, 0, GetSystemMetrics(SM_CXSCREEN),
               GetSystemMetrics(SM_CYSCREEN) - kTaskbarReserve};
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &taken, SPIF_SENDCHANGE);
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
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                      KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
        return std::nullopt;
    UniqueRegKey key(raw);
    std::string appData;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.get(), "AppData", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
        std::string value(size, '\0');
        if (RegQueryValueExA(key.get(), "AppData", nullptr, &type,
                             reinterpret_cast<BYTE*>(value.data()), &size) == ERROR_SUCCESS)
            appData = value.c_str();
    }
    return appData + "\\Microsoft\\Internet Explorer\\Quick Launch";
}

std::vector<POINT> TaskbarOutline(int startWidth, int clockLeft, int emptyHeight, int width) {
    const int s = startWidth, c = clockLeft, e = emptyHeight, height = 30;
    return {{0, 0},      {s + 24, 0}, {s + 30, 6}, {s + 30, e + 1}, {c - 30, e + 1},
            {c - 30, 6}, {c - 24, 0}, {width, 0},  {width, height}, {0, height}};
}

} // namespace orvane
