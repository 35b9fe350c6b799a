// How long a program waits while the taskbar handles one of its window events
// (created, activated, redraw, destroyed), with 10, 100 and 500 task buttons,
// next to a bare cross-process SendMessage to a window that does nothing; and
// what one tick of the Wine window watcher costs.
// A closed window's button is kept hidden for the next window, and a spare is
// made between events; "without a spare button" is a notice that must make
// its button's window itself.
// Run without arguments: the program starts itself as the client (the program
// raising the events) and prints microseconds per event, median and mean.
#include "bench/BenchSupport.h"
#include "system/IconLookup.h"
#include "toolkit/Application.h"
#include "taskbar/TaskButtons.h"
#include "taskbar/TaskbarForm.h"
#include "taskbar/WindowEventWatcher.h"
#include "winwatch/winwatch.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace orvane;

namespace {

constexpr int kRounds = 200;
constexpr UINT kBenchDone = WM_APP + 7;

double Now() {
    return bench::MicrosecondsNow();
}

struct Figures {
    double median = 0, mean = 0;
};

Figures Summarise(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    Figures figures;
    figures.median = samples[samples.size() / 2];
    for (double sample : samples)
        figures.mean += sample;
    figures.mean /= static_cast<double>(samples.size());
    return figures;
}

template <typename F> Figures Time(int rounds, F&& once) {
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        double start = Now();
        once(i);
        samples.push_back(Now() - start);
    }
    return Summarise(samples);
}

// Visible to every test of the task buttons (WS_VISIBLE), but never mapped on
// the X display: Wine takes seconds to unmap a shown window.
HWND NewWindow(const char* title) {
    static bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TaskbarBenchWindow";
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    HWND window = CreateWindowExA(0, "TaskbarBenchWindow", title, WS_OVERLAPPED, -200, -200, 100,
                                  50, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongA(window, GWL_STYLE, GetWindowLongA(window, GWL_STYLE) | WS_VISIBLE);
    return window;
}

void Print(const char* what, int buttons, const Figures& f, const Figures& bare) {
    std::printf("%-30s %4d buttons: median %8.1f us  mean %8.1f us  (%.2f x bare median)\n", what,
                buttons, f.median, f.mean, f.median / bare.median);
}

// The program raising the events: its own windows, sent to the taskbar.
int RunClient(HWND taskbar, HWND bare, HWND host, int buttons) {
    std::vector<HWND> known;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        char title[64] = {};
        GetWindowTextA(w, title, sizeof title);
        if (std::string(title).rfind("Bench window ", 0) == 0)
            known.push_back(w);
    }
    auto send = [&](HWND window, LPARAM code) {
        SendMessageA(taskbar, WM_HOOKNOTIFY, reinterpret_cast<WPARAM>(window), code);
    };
    Figures bareTrip = Time(kRounds, [&](int) { SendMessageA(bare, WM_USER, 0, 0); });
    std::printf("%-30s %4d buttons: median %8.1f us  mean %8.1f us\n", "bare SendMessage", buttons,
                bareTrip.median, bareTrip.mean);
    Print("activate", buttons,
          Time(kRounds, [&](int i) { send(known[static_cast<size_t>(i) % known.size()], 4); }),
          bareTrip);
    Print("redraw (title)", buttons,
          Time(kRounds, [&](int i) { send(known[static_cast<size_t>(i) % known.size()], 6); }),
          bareTrip);

    // Create and destroy in pairs keeps the number of buttons steady.
    std::vector<double> created, destroyed;
    for (int i = 0; i < kRounds / 4; ++i) {
        HWND window = NewWindow(("Client window " + std::to_string(i)).c_str());
        double start = Now();
        send(window, 1);
        created.push_back(Now() - start);
        start = Now();
        send(window, 2);
        destroyed.push_back(Now() - start);
        DestroyWindow(window);
    }
    Print("create", buttons, Summarise(created), bareTrip);
    Print("destroy", buttons, Summarise(destroyed), bareTrip);
    std::fflush(stdout);
    PostMessageA(host, kBenchDone, 0, 0);
    return 0;
}

// The bar's own window procedure, timed around the creation notices that come
// from the client: the GUI thread's part of a creation, whatever the client
// waited for.
WNDPROC g_barProc = nullptr;
std::vector<double> g_handled;

LRESULT CALLBACK TimedBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_HOOKNOTIFY || lParam != 1)
        return CallWindowProcW(g_barProc, window, message, wParam, lParam);
    const double start = Now();
    LRESULT result = CallWindowProcW(g_barProc, window, message, wParam, lParam);
    g_handled.push_back(Now() - start);
    return result;
}

LRESULT CALLBACK BareProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER)
        return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

void RunHost(int buttons) {
    TApplication application;
    auto* taskbar = CreateForm<TfrmTaskbar>(&application);
    taskbar->WMDisplayChange();
    std::vector<HWND> windows;
    for (int i = 0; i < buttons; ++i) {
        windows.push_back(NewWindow(("Bench window " + std::to_string(i)).c_str()));
        taskbar->AddTaskButton(windows.back());
    }
    taskbar->RefreshTaskButtons();

    // The parts of a creation event, in this process.
    std::vector<double> adds, refreshes, icons, notices;
    // The buttons made above have their own icons first.
    while (IconLookup().Waiting() > 0)
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT), application.ProcessMessages();
    for (int i = 0; i < 20; ++i) {
        HWND window = NewWindow("Probe window");
        double start = Now();
        taskbar->AddTaskButton(window);
        adds.push_back(Now() - start);
        const double added = Now();
        taskbar->RefreshTaskButtons();
        refreshes.push_back(Now() - added);
        // Until the window's own icon is on its button, looked up off this thread.
        while (IconLookup().Waiting() > 0)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT),
                application.ProcessMessages();
        icons.push_back(Now() - start);
        taskbar->TaskButtons().HookNotify(window, 2);
        DestroyWindow(window);
    }
    // The whole creation notice as the bar's window handles it: from the
    // notice to the button placed in the row with its caption.
    for (int i = 0; i < 20; ++i) {
        HWND window = NewWindow("Probe window");
        double start = Now();
        SendMessageA(taskbar->Handle(), WM_HOOKNOTIFY, reinterpret_cast<WPARAM>(window), 1);
        notices.push_back(Now() - start);
        while (IconLookup().Waiting() > 0)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT),
                application.ProcessMessages();
        taskbar->TaskButtons().HookNotify(window, 2);
        DestroyWindow(window);
    }
    // Windows made one after another, faster than a spare button is made
    // between them: each notice makes its button's window itself.
    std::vector<double> unready;
    std::vector<HWND> burst;
    for (int i = 0; i < 20; ++i) {
        burst.push_back(NewWindow("Burst window"));
        double start = Now();
        SendMessageA(taskbar->Handle(), WM_HOOKNOTIFY, reinterpret_cast<WPARAM>(burst.back()), 1);
        unready.push_back(Now() - start);
    }
    for (HWND window : burst) {
        taskbar->TaskButtons().HookNotify(window, 2);
        DestroyWindow(window);
    }
    Figures add = Summarise(adds), refresh = Summarise(refreshes), icon = Summarise(icons),
            notice = Summarise(notices), noSpare = Summarise(unready);
    std::printf("%-30s %4d buttons: median %8.1f us  mean %8.1f us\n",
                "creation notice on GUI thread", buttons, notice.median, notice.mean);
    std::printf("%-30s %4d buttons: median %8.1f us  mean %8.1f us\n", "  without a spare button",
                buttons, noSpare.median, noSpare.mean);
    std::printf("%-30s %4d buttons: median %8.1f us  mean %8.1f us\n", "AddTaskButton in process",
                buttons, add.median, add.mean);
    std::printf("%-30s %4d buttons: median %8.1f us  mean %8.1f us\n", "  own icon shown after",
                buttons, icon.median, icon.mean);
    std::printf("%-30s %4d buttons: median %8.1f us  mean %8.1f us\n",
                "RefreshTaskButtons in process", buttons, refresh.median, refresh.mean);

    // One tick of the watcher that stands in for the hook under Wine.
    TWindowEventWatcher watcher([](HWND, LPARAM) {},
                                [&] { return taskbar->TaskButtons().Windows(); });
    Figures tick = Time(100, [&](int) { watcher.Tick(); });
    std::printf("%-30s %4d buttons: median %8.1f us  mean %8.1f us\n", "window watcher tick",
                buttons, tick.median, tick.mean);
    std::fflush(stdout);

    HWND bare = bench::CreateBareWindow("TaskbarBenchBare", BareProc);
    HANDLE client = bench::StartSelf(
        "client " + std::to_string(reinterpret_cast<uintptr_t>(taskbar->Handle())) + " " +
        std::to_string(reinterpret_cast<uintptr_t>(bare)) + " " +
        std::to_string(reinterpret_cast<uintptr_t>(application.Handle())) + " " +
        std::to_string(buttons));
    if (!client) {
        std::printf("cannot start the client\n");
        return;
    }
    g_barProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        taskbar->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TimedBarProc)));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == kBenchDone)
            break;
        DispatchMessageA(&msg);
    }
    WaitForSingleObject(client, 10000);
    CloseHandle(client);
    Figures handled = Summarise(g_handled);
    std::printf("%-30s %4d buttons: median %8.1f us  mean %8.1f us\n", "create, on the GUI thread",
                buttons, handled.median, handled.mean);
}

HWND HandleArg(const char* text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(text, nullptr, 10)));
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::string(argv[1]) == "client")
        return RunClient(HandleArg(argv[2]), HandleArg(argv[3]), HandleArg(argv[4]),
                         std::atoi(argv[5]));
    if (argc == 3 && std::string(argv[1]) == "host") {
        RunHost(std::atoi(argv[2]));
        std::fflush(stdout);
        ExitProcess(0); // the windows go with the process
    }
    // One host process per size, so that each starts with a clean screen.
    for (int buttons : {10, 100, 500}) {
        HANDLE host = bench::StartSelf("host " + std::to_string(buttons));
        if (!host)
            return 1;
        WaitForSingleObject(host, 600000);
        CloseHandle(host);
    }
    return 0;
}
