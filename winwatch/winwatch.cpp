#include "winwatch/winwatch.h"
// placeholder until the hook procedure lands
WINWATCH_API BOOL WINAPI SetShellHook(HWND) { return 0; }
WINWATCH_API BOOL WINAPI RemoveShellHook() { return 0; }
