#include <windows.h>
#include "winwatch/winwatch.h"
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return RemoveShellHook();
}
