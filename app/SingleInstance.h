#pragma once
// One shell per logon: a named mutex tells a second start that the shell runs.
#include <windows.h>

namespace orvane {

// Creates the mutex "PREVINST:" + the application window's current text.
// Call once, before the application title is set. Returns FirstInstance.
bool InitSingleInstance(HWND applicationWindow);

// True only when this process created the mutex.
bool FirstInstance();

// Brings the running instance forward, as far as it can be found.
void ActivatePrevInstance(HWND applicationWindow);

} // namespace orvane
