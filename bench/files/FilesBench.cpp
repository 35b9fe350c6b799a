// files_bench [files] [extensions]: a scratch folder under %TEMP% with 10,000
// empty files of 200 distinct extensions by default. Prints the time of
// TfrmFiles::OpenFolder next to a bare enumeration of the same folder that
// makes as many icon lookups (one per extension), medians of 5 rounds taken
// in turns in the same run.
#include "bench/BenchSupport.h"
#include "files/FilesForm.h"
#include "system/IconLookup.h"
#include "system/ShellIcons.h"
#include "toolkit/Application.h"
#include "widgets/StringGrid.h"

#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

using namespace orvane;

namespace {

constexpr int kPrograms = 100;

std::string MakeFolder(int files, int extensions) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder =
        std::string(temp) + "orvane-files-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    char name[64];
    for (int i = 0; i < files; ++i) {
        std::snprintf(name, sizeof name, "file%05d.x%03d", i, i % extensions);
        HANDLE file = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, name, static_cast<DWORD>(i % 3000), &written, nullptr);
        CloseHandle(file);
    }
    // Programs with icons of their own, looked up by the lookup pool.
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    for (int i = 0; i < kPrograms; ++i) {
        std::snprintf(name, sizeof name, "program%03d.exe", i);
        CopyFileA(exe, (folder + name).c_str(), FALSE);
    }
    return folder;
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do
            DeleteFileA((folder + entry.cFileName).c_str());
        while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

// What any listing of the folder costs: the enumeration and one shell icon
// per distinct extension.
double BareListing(const std::string& folder, int& lookups) {
    const double start = bench::MicrosecondsNow();
    std::set<std::string> seen;
    std::vector<UniqueIcon> icons;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            const char* dot = std::strrchr(entry.cFileName, '.');
            if (dot && seen.insert(dot).second)
                icons.push_back(GetFileIcon(folder + entry.cFileName, true));
            if (dot && std::strcmp(dot, ".exe") == 0) {
                HICON own = nullptr;
                ExtractIconExA((folder + entry.cFileName).c_str(), 0, nullptr, &own, 1);
                icons.emplace_back(own);
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    lookups = static_cast<int>(icons.size());
    return (bench::MicrosecondsNow() - start) / 1000.0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    const int extensions = argc > 2 ? std::clamp(atoi(argv[2]), 1, 1000) : 200;
    CoInitialize(nullptr);
    TApplication application;
    const double made = bench::MicrosecondsNow();
    const std::string folder = MakeFolder(files, extensions);
    std::printf("folder of %d files, %d extensions made in %.0f ms\n", files, extensions,
                (bench::MicrosecondsNow() - made) / 1000.0);

    auto* browser = CreateForm<TfrmFiles>(&application, "frmFiles");
    browser->SetBounds(150, 40, 410, 515);
    std::vector<double> bare, open, ownShown;
    int lookups = 0;
    for (int round = 0; round < 5; ++round) {
        bare.push_back(BareListing(folder, lookups));
        const double start = bench::MicrosecondsNow();
        browser->OpenFolder(folder);
        open.push_back((bench::MicrosecondsNow() - start) / 1000.0);
        while (IconLookup().Waiting() > 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            application.ProcessMessages();
        }
        ownShown.push_back((bench::MicrosecondsNow() - start) / 1000.0);
    }
    std::printf("rows listed: %d (header and \"..\" included)\n", browser->sgFiles->RowCount());
    std::printf("bare enumeration + %d icon lookups (%d of them own icons of programs): %.1f ms "
                "(median of 5)\n",
                lookups, kPrograms, Median(bare));
    std::printf("OpenFolder: %.1f ms (median of 5)\n", Median(open));
    std::printf("ratio: %.2f (target at most 1.5)\n", Median(open) / Median(bare));
    std::printf("last own icon shown after: first round (nothing cached) %.1f ms, median %.1f ms\n",
                ownShown.front(), Median(ownShown));
    application.FreeComponent(browser);
    RemoveFolder(folder);
    CoUninitialize();
    return 0;
}
