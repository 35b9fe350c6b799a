// Program entry: one shell per logon. The shell's run does the rest.
#include "app/ShellRun.h"
#include "app/SingleInstance.h"
#include "base/Win32Handles.h"
#include "toolkit/Application.h"

using namespace orvane;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TApplication application;
    // Before the title changes: the mutex name follows the executable's name.
    if (!InitSingleInstance(application.Handle())) {
        ActivatePrevInstance(application.Handle());
        return kExitNormal;
    }

    ComApartment com;
    TShellRun run(application);
    const TStartOutcome outcome = run.Start();
    // A start that ended before the clock leaves only the taskbar: the
    // message loop ends at once.
    if (!run.ClockStarted())
        application.Terminate();
    application.Run();
    return ExitCodeOf(outcome);
}
