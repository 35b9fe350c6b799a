#include "appbar/AppBarService.h"

#include "base/Guarded.h"
#include "base/Log.h"
#include "base/ShellError.h"

#include <cstdio>
#include <cstring>

namespace orvane {

namespace {

// Wine's shell32 looks for the first window of this class.
constexpr wchar_t kAppBarClass[] = L"WineAppBar";
constexpr UINT_PTR kLookTimer = 1;
// A program flooding the service with broken requests would bury the log's
// other lines.
constexpr int kRefusalLogLimit = 100;
// ABM_GETSTATE: the taskbar never hides and always stays on top.
constexpr uint64_t kTaskbarState = ABS_ALWAYSONTOP;

TAppBarService* currentService = nullptr;

std::string HandleText(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

uint32_t HandleValue(HWND window) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window));
}

std::vector<LONG> KeyOf(const RECT& bounds) {
    return {bounds.left, bounds.top, bounds.right, bounds.bottom};
}

TActiveWindow PlatformActiveWindow() {
    TActiveWindow active;
    active.Window = GetForegroundWindow();
    if (!active.Window)
        return active;
    active.Shown = IsWindowVisible(active.Window) && !IsIconic(active.Window);
    GetWindowRect(active.Window, &active.Bounds);
    DWORD process = 0;
    GetWindowThreadProcessId(active.Window, &process);
    active.Own = process == GetCurrentProcessId() || active.Window == GetDesktopWindow() ||
                 active.Window == GetShellWindow();
    return active;
}

// Needs the window; the messages that ask about the taskbar do not.
bool NamesABar(uint32_t message) {
    switch (message) {
    case ABM_GETSTATE:
    case ABM_GETTASKBARPOS:
    case ABM_GETAUTOHIDEBAR:
    case ABM_SETSTATE:
        return false;
    default:
        return true;
    }
}

} // namespace

TAppBarService* AppBarService() {
    return currentService;
}

TAppBarService::TAppBarService(TAppBarHost host) : host_(std::move(host)) {
    if (!host_.Monitors)
        host_.Monitors = PlatformMonitors;
    if (!host_.SetWorkArea)
        host_.SetWorkArea = [](const RECT& area) {
            RECT copy = area;
            SystemParametersInfoW(SPI_SETWORKAREA, 0, &copy, SPIF_SENDCHANGE);
        };
    if (!host_.ActiveWindow)
        host_.ActiveWindow = PlatformActiveWindow;
    CreateServiceWindow();
    currentService = this;
}

TAppBarService::~TAppBarService() {
    if (window_)
        KillTimer(window_.get(), kLookTimer);
    window_.reset();
    if (currentService == this)
        currentService = nullptr;
}

void TAppBarService::CreateServiceWindow() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW existing{};
    if (!GetClassInfoW(instance, kAppBarClass, &existing)) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &TAppBarService::WindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = kAppBarClass;
        if (!RegisterClassW(&wc))
            ThrowLastError("TAppBarService: registering the app-bar window class");
    }
    window_.reset(CreateWindowExW(WS_EX_TOOLWINDOW, kAppBarClass, L"", WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, instance, nullptr));
    if (!window_)
        ThrowLastError("TAppBarService: creating the app-bar window");
    // The first window of the class in the Z order gets the requests: in a
    // Wine virtual desktop explorer keeps one of its own.
    SetWindowPos(window_.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetTimer(window_.get(), kLookTimer, kLookInterval, nullptr);
}

LRESULT CALLBACK TAppBarService::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    TAppBarService* service = currentService;
    if (!service || window != service->Handle())
        return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_TIMER && wParam == kLookTimer) {
        Guarded("TAppBarService.Look", FailurePolicy::LogAndContinue, [&] { service->Look(); });
        return 0;
    }
    if (message == WM_COPYDATA)
        return service->HandleCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<TMonitor> TAppBarService::Monitors() const {
    std::vector<TMonitor> monitors = host_.Monitors();
    return monitors;
}

void TAppBarService::AddShellBar(HWND bar, const RECT& room) {
    if (shellBar_)
        layout_.Remove(shellBar_);
    shellBar_ = bar;
    // The shell's bar comes first: other bars on its edge stack inside it.
    TAppBarLayout layout;
    layout.Add(bar, 0);
    layout.SetPos(bar, kEdgeBottom, room, Monitors());
    for (const TAppBar& other : layout_.Bars()) {
        layout.Add(other.Window, other.CallbackMessage);
        if (other.Place)
            layout.SetPos(other.Window, other.Edge, *other.Place, Monitors());
    }
    layout_ = std::move(layout);
    ApplyWorkAreas();
}

bool TAppBarService::ApplyWorkAreas() {
    const std::vector<TMonitor> monitors = Monitors();
    bool changed = false;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const RECT area = layout_.WorkArea(i, monitors);
        auto last = applied_.find(KeyOf(monitors[i].Bounds));
        if (last != applied_.end() && EqualRect(&last->second, &area))
            continue;
        // A monitor without bars keeps the area it has until one comes.
        if (last == applied_.end() && EqualRect(&area, &monitors[i].Bounds))
            continue;
        applied_[KeyOf(monitors[i].Bounds)] = area;
        host_.SetWorkArea(area);
        changed = true;
    }
    return changed;
}

void TAppBarService::Notify(WPARAM notice, LPARAM lParam, HWND except) {
    for (const TAppBar& bar : layout_.Bars())
        if (bar.Window != shellBar_ && bar.Window != except && bar.CallbackMessage)
            // Posted: a bar that hangs must not hold the shell up.
            PostMessageW(bar.Window, bar.CallbackMessage, notice, lParam);
}

void TAppBarService::RoomChanged(HWND except) {
    ApplyWorkAreas();
    Notify(kNoticePosChanged, 0, except);
}

void TAppBarService::RemoveDeadBars() {
    std::vector<HWND> dead =
        layout_.RemoveDead([this](HWND window) { return window == shellBar_ || IsWindow(window); });
    if (dead.empty())
        return;
    for (HWND window : dead)
        LogFailure("AppBarWindowProc", "the bar of window " + HandleText(HandleValue(window)) +
                                           " is gone: its room is given back");
    RoomChanged(nullptr);
}

void TAppBarService::Look() {
    RemoveDeadBars();
    bool changed = false;
    const HWND full = fullScreen_.Look(host_.ActiveWindow(), Monitors(), changed);
    if (!changed)
        return;
    if (host_.FullScreenChanged)
        host_.FullScreenChanged(full);
    Notify(kNoticeFullScreenApp, full ? TRUE : FALSE, nullptr);
}

LRESULT TAppBarService::HandleCopyData(const COPYDATASTRUCT* data) {
    LRESULT result = 0;
    GuardedReport(
        [&] {
            if (!data)
                throw ShellError("the app-bar request carries no COPYDATASTRUCT");
            const TAppBarRequest request = DecodeAppBarRequest(*data);
            const TAppBarAnswer answer = Answer(request);
            WriteAnswer(request, answer);
            result = static_cast<LRESULT>(answer.Result);
        },
        [this](const std::string& message) { LogRefusal(message); });
    return result;
}

TAppBarAnswer TAppBarService::Answer(const TAppBarRequest& request) {
    TAppBarAnswer answer;
    answer.WindowValue = request.WindowValue;
    answer.CallbackMessage = request.CallbackMessage;
    answer.Edge = request.Edge;
    answer.Rect = request.Rect;
    answer.LParam = request.LParam;

    if (request.Message > ABM_SETSTATE) {
        Refuse(request, "unknown request");
        return answer;
    }
    // A bar whose window died since the last look is not asked about.
    RemoveDeadBars();
    const HWND window = request.Window();
    if (NamesABar(request.Message)) {
        if (!IsWindow(window)) {
            Refuse(request, "the window " + HandleText(request.WindowValue) + " is no window");
            return answer;
        }
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != request.SenderProcess) {
            Refuse(request, "the window " + HandleText(request.WindowValue) +
                                " does not belong to the sending process " +
                                std::to_string(request.SenderProcess));
            return answer;
        }
        if (window == shellBar_) {
            Refuse(request, "the window is the shell's own bar");
            return answer;
        }
        if (request.Message != ABM_NEW && !layout_.Find(window)) {
            Refuse(request, "the window " + HandleText(request.WindowValue) + " has no bar");
            return answer;
        }
    }

    const std::vector<TMonitor> monitors = Monitors();
    switch (request.Message) {
    case ABM_NEW:
        if (!layout_.Add(window, request.CallbackMessage)) {
            Refuse(request, "the window " + HandleText(request.WindowValue) + " has a bar already");
            return answer;
        }
        answer.Result = TRUE;
        break;
    case ABM_REMOVE: {
        const bool placed = layout_.Find(window)->Place.has_value();
        layout_.Remove(window);
        if (placed)
            RoomChanged(window);
        answer.Result = TRUE;
        break;
    }
    case ABM_QUERYPOS:
    case ABM_SETPOS: {
        const bool set = request.Message == ABM_SETPOS;
        const TAppBar before = *layout_.Find(window);
        std::optional<RECT> place =
            set ? layout_.SetPos(window, request.Edge, request.Rect, monitors)
                : layout_.QueryPos(window, request.Edge, request.Rect, monitors);
        if (!place) {
            Refuse(request, "the edge " + std::to_string(request.Edge) + " is none of the four");
            return answer;
        }
        answer.Rect = *place;
        answer.Result = TRUE;
        const bool moved =
            !before.Place || !EqualRect(&*before.Place, &*place) || before.Edge != request.Edge;
        if (set && moved)
            RoomChanged(window);
        break;
    }
    case ABM_GETSTATE:
        answer.Result = kTaskbarState;
        break;
    case ABM_GETTASKBARPOS:
        if (!shellBar_ || !GetWindowRect(shellBar_, &answer.Rect)) {
            Refuse(request, "there is no taskbar");
            return answer;
        }
        answer.Edge = kEdgeBottom;
        answer.Result = TRUE;
        break;
    case ABM_ACTIVATE:
    case ABM_WINDOWPOSCHANGED:
        answer.Result = TRUE;
        break;
    case ABM_GETAUTOHIDEBAR:
        answer.Result = HandleValue(layout_.AutoHideBar(request.Edge));
        break;
    case ABM_SETAUTOHIDEBAR:
        answer.Result = layout_.SetAutoHideBar(window, request.Edge, request.LParam != 0);
        break;
    case ABM_SETSTATE:
        // The taskbar neither hides nor leaves the top: its state stays.
        answer.Result = 0;
        break;
    default:
        break;
    }
    return answer;
}

void TAppBarService::WriteAnswer(const TAppBarRequest& request, const TAppBarAnswer& answer) {
    if (!request.AnswerMap)
        return;
    // Only the shell's own thread may name the shell's own handles: another
    // program could otherwise have it write into a mapping of its own.
    if (request.SenderProcess == GetCurrentProcessId() && InSendMessage())
        throw ShellError(AppBarMessageName(request.Message) +
                         ": a request from another program names the shell's own process");
    // The mapping is a handle of the sender: it is taken over from that
    // process (only the right to write into it) and only ever mapped, never
    // read as an address. A mapping smaller than the answer does not map.
    UniqueHandle process(OpenProcess(PROCESS_DUP_HANDLE, FALSE, request.SenderProcess));
    if (!process)
        throw ShellError(AppBarMessageName(request.Message) + ": the sending process " +
                         std::to_string(request.SenderProcess) +
                         " cannot be reached: " + SystemErrorText(GetLastError()));
    HANDLE mapping = nullptr;
    if (!DuplicateHandle(process.get(),
                         reinterpret_cast<HANDLE>(static_cast<uintptr_t>(request.AnswerMap)),
                         GetCurrentProcess(), &mapping, FILE_MAP_WRITE, FALSE, 0))
        throw ShellError(AppBarMessageName(request.Message) + ": the answer's mapping " +
                         HandleText(request.AnswerMap) +
                         " cannot be taken over: " + SystemErrorText(GetLastError()));
    UniqueHandle ownMapping(mapping);
    void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kAppBarAnswerSize);
    if (!view)
        throw ShellError(AppBarMessageName(request.Message) + ": the answer's mapping " +
                         HandleText(request.AnswerMap) +
                         " does not map: " + SystemErrorText(GetLastError()));
    uint8_t block[kAppBarAnswerSize];
    EncodeAppBarAnswer(answer, block);
    std::memcpy(view, block, sizeof block);
    UnmapViewOfFile(view);
}

void TAppBarService::Refuse(const TAppBarRequest& request, const std::string& why) {
    LogRefusal(AppBarMessageName(request.Message) + " refused: " + why);
}

void TAppBarService::LogRefusal(const std::string& message) {
    if (refusalsLogged_ > kRefusalLogLimit)
        return;
    ++refusalsLogged_;
    if (refusalsLogged_ <= kRefusalLogLimit)
        LogFailure("AppBarWindowProc", message);
    else
        LogFailure("AppBarWindowProc", "further refused requests are not logged");
}

} // namespace orvane
