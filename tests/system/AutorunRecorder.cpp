// autorun_recorder.exe [tag]: appends "tag creation-time" to records.txt in its
// own folder and ends. The tag defaults to the program's file name without
// extension, for sources whose commands cannot carry arguments. The creation
// time (a 64-bit FILETIME) orders the records, since started programs run
// concurrently and may write in any order.
#include <windows.h>
#include <cstdlib>
#include <string>

namespace {

std::string OwnPath() {
    char buffer[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    return buffer;
}

unsigned long long CreationTime() {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string path = OwnPath();
    size_t slash = path.find_last_of('\\');
    std::string folder = path.substr(0, slash);
    std::string tag = path.substr(slash + 1);
    tag = tag.substr(0, tag.find_last_of('.'));
    if (__argc > 1)
        tag = __argv[1];
    std::string line = tag + " " + std::to_string(CreationTime()) + "\r\n";
    std::string records = folder + "\\records.txt";
    // Several recorders start at once; whoever finds the file open waits its turn.
    for (int attempt = 0; attempt < 500; ++attempt) {
        HANDLE file = CreateFileA(records.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            BOOL ok =
                WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(file);
            return ok && written == line.size() ? 0 : 2;
        }
        Sleep(10);
    }
    return 1;
}
