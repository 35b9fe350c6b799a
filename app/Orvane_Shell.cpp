// Program entry: one shell per logon; the main window's creation is the start.
#include "app/SingleInstance.h"
#include "base/Guarded.h"
#include "base/Log.h"
#include "base/Platform.h"
#include "base/Win32Handles.h"
#include "desktop/DesktopForm.h"
#include "i18n/Languages.h"
#include "settings/AboutForm.h"
#include "settings/SettingsForm.h"
#include "startpanel/StartPanel.h"
#include "system/Autorun.h"
#include "taskbar/TaskbarForm.h"
#include "taskbar/TaskbarStart.h"
#include "toolkit/Application.h"
#include "toolkit/Timer.h"
#include "widgets/SkinButton.h"

#include <exception>

using namespace orvane;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TApplication application;
    // Before the title changes: the mutex name follows the executable's name.
    if (!InitSingleInstance(application.Handle())) {
        ActivatePrevInstance(application.Handle());
        return 0;
    }

    ComApartment com;
    application.SetTitle("Orvane Shell");
    OSPlatform = GetOSPlatform();
    LoadLanguage(false);

    auto* taskbar = CreateForm<TfrmTaskbar>(&application);
    if (taskbar->tmrClock->Enabled()) {
        taskbar->Show();
        // Hidden at creation; the clock's next tick shows it beneath everything.
        auto* desktop = CreateForm<TfrmDesktop>(&application);
        taskbar->Desktop = desktop;

        TStartPanelHost host;
        host.TaskbarHeight = taskbar->Height();
        host.SectionGlyphs = taskbar->ImageList1;
        host.VirtualFolders = [taskbar] { return taskbar->VirtualFolders.get(); };
        host.StartButton = [taskbar] { taskbar->bbStart->Click(); };
        host.TimeFormat = [taskbar] { return taskbar->TimeFormat; };
        host.RestoreCaptionColors = [] { RestoreCaptionColors(); };
        host.RestoreWorkArea = [] { RestoreWorkArea(); };
        host.CloseTaskbar = [taskbar] { taskbar->Close(); };
        host.CloseLog = [taskbar] {
            SetShellLog(nullptr);
            taskbar->Log.reset();
        };
        taskbar->StartPanel = CreateForm<TfrmStart>(&application, std::move(host));

        CreateForm<TfrmAbout>(&application);
        TSettingsHost settings;
        settings.Desktop = desktop;
        settings.InitGroupsMenu = [taskbar] {
            if (taskbar->StartPanel)
                taskbar->StartPanel->InitGroupsMenu();
        };
        settings.TimeFormat = [taskbar] { return taskbar->TimeFormat; };
        settings.SetTimeFormat = [taskbar](const std::string& format) {
            taskbar->TimeFormat = format;
        };
        CreateForm<TfrmSettings>(&application, std::move(settings));
        TranslateAllForms();
        Guarded("AutorunAll", FailurePolicy::LogAndContinue,
                [&] { AutorunAll(taskbar->ExplorerWasRunning); });
    } else {
        application.Terminate();
    }
    application.Run();
    return 0;
}
