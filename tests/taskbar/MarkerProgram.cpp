// Started from a quick-launch button: leaves "opened.txt" in the folder it was
// started in, so the test sees both that it ran and where.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HANDLE file = CreateFileA("opened.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, "opened", 6, &written, nullptr);
    CloseHandle(file);
    return 0;
}
