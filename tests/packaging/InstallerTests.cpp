// The packages as a user's machine sees them: the installer run silently into
// a chosen folder, the installed shell started, an upgrade over it, the
// uninstaller with the shell as the logon shell, and the portable zip.
// tests/packaging/packages.sh builds the packages before this runs.
#include "tests/e2e/ShellHarness.h"

#include "base/Version.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace orvane::test;

namespace {

constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneShell";
constexpr char kWinlogon[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr DWORD kPackageRunLimitMs = 120000;

std::string PackagesDir() {
    return BinDir() + "\\..\\packages-test";
}

// The single file of `folder` whose name matches `pattern`.
std::string FindFile(const std::string& folder, const std::string& pattern) {
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return "";
    FindClose(search);
    return folder + "\\" + found.cFileName;
}

std::string Installer() {
    return FindFile(PackagesDir(), "OrvaneShell-" ORVANE_VERSION_TEXT "-win64-setup.exe");
}
std::string NewerInstaller() {
    return FindFile(PackagesDir() + "\\newer",
                    "OrvaneShell-" ORVANE_NEWER_VERSION "-win64-setup.exe");
}

// Runs a package's program to its end; the exit code, or -1 when it did not end.
long RunTimed(const std::string& commandLine, const char* what) {
    ULONGLONG started = GetTickCount64();
    ChildProcess program = ChildProcess::Start(commandLine);
    auto exitCode = program.wait(kPackageRunLimitMs);
    std::printf("[ measured ] %s: %llu ms\n", what, GetTickCount64() - started);
    return exitCode ? static_cast<long>(*exitCode) : -1;
}

long Install(const std::string& installer, const std::string& folder, const char* what) {
    std::string command = "\"" + installer + "\" /S";
    if (!folder.empty())
        command += " /D=" + folder; // last and unquoted, as the installer expects
    return RunTimed(command, what);
}

// What Wine's list of installed programs shows.
std::string InstalledPrograms() {
    ScratchDir dir("list");
    std::string output = dir / "programs.txt";
    ChildProcess list =
        ChildProcess::Start("cmd.exe /c uninstaller.exe --list > \"" + output + "\"");
    list.wait(30000);
    return FileExists(output) ? ReadFileText(output) : "";
}

// The uninstaller runs on from a copy of itself ("Un.exe" in a folder under
// %TEMP%) after the started one ends; done when its entry is gone and the copy
// has ended.
bool UninstallDone() {
    HKEY key = nullptr;
    bool entryGone =
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS;
    if (key)
        RegCloseKey(key);
    return entryGone && !IsProcessRunning("Un.exe");
}

std::optional<DWORD> GetRegDword(HKEY root, const char* key, const char* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

std::string VersionText(const std::string& file, const char* field) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    std::vector<char> block(size);
    if (!size || !GetFileVersionInfoA(file.c_str(), 0, size, block.data()))
        return "";
    char* text = nullptr;
    UINT length = 0;
    std::string query = std::string("\\StringFileInfo\\040904B0\\") + field;
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length))
        return "";
    return std::string(text, length ? length - 1 : 0);
}

std::string CommonProgramsFolder() {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, path);
    return path;
}

// The shell started from `folder`, its taskbar up and its start run through.
struct RunningShell {
    ChildProcess process;
    HWND taskbar = nullptr;
};
RunningShell StartShellIn(const std::string& folder) {
    RunningShell shell;
    std::string log = folder + "\\Orvane_Shell.log";
    DeleteFileA(log.c_str());
    shell.process = ChildProcess::Start("\"" + folder + "\\Orvane_Shell.exe\"", folder);
    shell.taskbar = WaitForWindow(shell.process.id(), "TfrmTaskbar", 30000);
    EXPECT_NE(shell.taskbar, nullptr);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return FileExists(log) &&
                   ReadFileText(log).find("WMDisplayChange") != std::string::npos;
        },
        30000))
        << "the shell's start did not run through from " << folder;
    EXPECT_TRUE(WaitUntil([&] { return shell.taskbar && IsWindowVisible(shell.taskbar); }, 10000));
    return shell;
}

void ExpectProgramFiles(const std::string& folder, bool present) {
    for (const char* file : {"Orvane_Shell.exe", "Skins\\Orvane.skn", "Languages\\English.lng"})
        EXPECT_EQ(FileExists(folder + "\\" + file), present) << folder << "\\" << file;
    if (present) {
        EXPECT_TRUE(FileExists(folder + "\\winwatch.dll"));
    }
}

// Files the system removes at the next restart (MoveFileEx, delay until reboot).
std::string PendingRemovals() {
    char names[8192] = {};
    DWORD size = sizeof names;
    RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                 "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, names, &size);
    std::string text(names, size);
    std::replace(text.begin(), text.end(), '\0', '\n');
    return text;
}

} // namespace

TEST(Installer, InstallsIntoTheChosenFolderAndAnUpgradeKeepsTheUsersFiles) {
    ASSERT_FALSE(Installer().empty()) << "no installer in " << PackagesDir();
    ASSERT_FALSE(NewerInstaller().empty()) << "no newer installer in " << PackagesDir();
    const std::string folder = "C:\\Orvane Test\\Shell";
    ASSERT_EQ(Install(Installer(), folder, "silent install"), 0);

    ExpectProgramFiles(folder, true);
    EXPECT_TRUE(FileExists(folder + "\\Uninstall.exe"));
    for (const char* sub :
         {"Links\\Groups", "Links\\Desktop", "Icons\\System", "Help", "wallpaper"})
        EXPECT_NE(GetFileAttributesA((folder + "\\" + sub).c_str()), INVALID_FILE_ATTRIBUTES)
            << sub;
    EXPECT_TRUE(FileExists(CommonProgramsFolder() + "\\Orvane Shell.lnk"));
    EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"),
              ORVANE_VERSION_TEXT);
    EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), ORVANE_PUBLISHER);
    EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"),
              folder + "\\Orvane_Shell.exe,0");
    EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "InstallLocation"), folder);
    EXPECT_GT(GetRegDword(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize").value_or(0), 100u);
    EXPECT_NE(InstalledPrograms().find("Orvane Shell " ORVANE_VERSION_TEXT), std::string::npos)
        << InstalledPrograms();
    for (const char* file : {"Orvane_Shell.exe", "winwatch.dll"}) {
        EXPECT_EQ(VersionText(folder + "\\" + file, "ProductVersion"), ORVANE_VERSION_TEXT);
        EXPECT_EQ(VersionText(folder + "\\" + file, "ProductName"), ORVANE_PRODUCT_NAME);
        EXPECT_EQ(VersionText(folder + "\\" + file, "OriginalFilename"), file);
    }

    {
        RunningShell shell = StartShellIn(folder);
        EXPECT_TRUE(CloseShell(shell.process, shell.taskbar));
    }

    // What the user made of it: a language, a run history, a group.
    const std::string ini = folder + "\\Orvane_Shell.ini";
    WritePrivateProfileStringA("General", "Language", "Deutsch", ini.c_str());
    WritePrivateProfileStringA("Run", "0", "notepad", ini.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
    const std::string settings = ReadFileText(ini);
    CreateDirectoryA((folder + "\\Links\\Groups\\Mine").c_str(), nullptr);
    WriteFileText(folder + "\\Links\\Groups\\Mine\\Tool.lnk", "a user's shortcut");

    // No folder given: the upgrade goes where the installed version is.
    ASSERT_EQ(Install(NewerInstaller(), "", "silent upgrade"), 0);
    EXPECT_EQ(ReadFileText(ini), settings);
    EXPECT_EQ(ReadFileText(folder + "\\Links\\Groups\\Mine\\Tool.lnk"), "a user's shortcut");
    EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"),
              ORVANE_NEWER_VERSION);
    std::string programs = InstalledPrograms();
    EXPECT_NE(programs.find("Orvane Shell " ORVANE_NEWER_VERSION), std::string::npos) << programs;
    EXPECT_EQ(programs.find("Orvane Shell " ORVANE_VERSION_TEXT), std::string::npos) << programs;
}

TEST(Uninstaller, RestoresTheLogonShellEndsTheShellAndKeepsTheConfiguration) {
    ASSERT_FALSE(Installer().empty()) << "no installer in " << PackagesDir();
    const std::string folder = "C:\\Orvane Test\\Removed";
    const std::string exe = folder + "\\Orvane_Shell.exe";
    ASSERT_EQ(Install(Installer(), folder, "silent install"), 0);

    // Started, the shell makes itself the logon shell.
    RunningShell shell = StartShellIn(folder);
    ASSERT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kWinlogon, "Shell"), exe);
    ASSERT_EQ(GetRegString(HKEY_CURRENT_USER, kWinlogon, "Shell"), exe);
    const std::string ini = folder + "\\Orvane_Shell.ini";
    WritePrivateProfileStringA("General", "Language", "Deutsch", ini.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
    const std::string settings = ReadFileText(ini);

    ULONGLONG started = GetTickCount64();
    ChildProcess uninstaller = ChildProcess::Start("\"" + folder + "\\Uninstall.exe\" /S");
    EXPECT_TRUE(WaitUntil(UninstallDone, kPackageRunLimitMs));
    std::printf("[ measured ] silent uninstall, a running shell ended: %llu ms\n",
                GetTickCount64() - started);

    EXPECT_TRUE(shell.process.wait(10000).has_value()) << "the running shell was not ended";
    EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kWinlogon, "Shell"), "explorer.exe");
    EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kWinlogon, "Shell"), "explorer.exe");
    EXPECT_TRUE(WaitUntil([] { return IsProcessRunning("explorer.exe"); }, 10000))
        << "the session was left without a shell";
    ExpectProgramFiles(folder, false);
    // Under Wine a loaded hook library stays in the programs that used it.
    EXPECT_TRUE(!FileExists(folder + "\\winwatch.dll") ||
                PendingRemovals().find(folder + "\\winwatch.dll") != std::string::npos)
        << PendingRemovals();
    EXPECT_FALSE(FileExists(folder + "\\Uninstall.exe"));
    EXPECT_FALSE(FileExists(CommonProgramsFolder() + "\\Orvane Shell.lnk"));
    EXPECT_EQ(InstalledPrograms().find("Orvane Shell"), std::string::npos);
    EXPECT_EQ(ReadFileText(ini), settings);
}

TEST(PortableZip, RunsFromAnUnpackedCopyAnywhere) {
    std::string unpacked = FindFile(PackagesDir() + "\\portable copy", "OrvaneShell-*-win64");
    ASSERT_FALSE(unpacked.empty()) << "the zip was not unpacked in " << PackagesDir();
    ScratchDir anywhere("portable place");
    CopyTree(unpacked, anywhere.path());
    ExpectProgramFiles(anywhere.path(), true);
    EXPECT_FALSE(FileExists(anywhere / "Uninstall.exe"));
    RunningShell shell = StartShellIn(anywhere.path());
    EXPECT_TRUE(CloseShell(shell.process, shell.taskbar));
}
