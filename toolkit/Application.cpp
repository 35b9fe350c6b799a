#include "toolkit/Application.h"

#include "base/Config.h"
#include "base/Guarded.h"
#include "base/Utf.h"
#include "base/WindowMessages.h"
#include "toolkit/Control.h"
#include "toolkit/Form.h"

#include <commctrl.h>

#include <cctype>

namespace orvane {

namespace {

constexpr wchar_t kApplicationClass[] = L"TApplication";
TApplication* theApplication = nullptr;

LRESULT CALLBACK ApplicationWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Forms released while the program has no main form come here.
    if (message == WM_RELEASEFORM) {
        TForm::FreeReleased(lParam, nullptr);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterApplicationClass() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ApplicationWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    wc.lpszClassName = kApplicationClass;
    RegisterClassW(&wc); // a second registration in the same process fails harmlessly
}

struct TopMostQuery {
    DWORD processId;
    HWND hintWindow;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectTopMost(HWND window, LPARAM param) {
    auto& query = *reinterpret_cast<TopMostQuery*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == query.processId && window != query.hintWindow && IsWindowVisible(window) &&
        (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
        query.found->push_back(window);
    return TRUE;
}

} // namespace

TApplication* Application() {
    return theApplication;
}

std::string TApplication::InitialTitle(const std::string& executablePath) {
    std::string name = executablePath.substr(executablePath.find_last_of('\\') + 1);
    name = name.substr(0, name.find('.'));
    for (size_t i = 1; i < name.size(); ++i)
        name[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    return name;
}

TApplication::TApplication() : TComponent(nullptr) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterApplicationClass();
    // Hidden, but a real top-level window, so other instances can find it.
    handle_ = CreateWindowExW(0, kApplicationClass, Wide(InitialTitle(ExecutablePath())).c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                              0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    theApplication = this;
    // Failures that reach a window procedure or a timer end in the error box.
    SetErrorBox([this](const std::string& message) { ReportError(message); });
}

TApplication::~TApplication() {
    // The forms go first, while the application still answers for them.
    while (!Components().empty())
        FreeComponent(Components().back().get());
    if (hintWindow_)
        DestroyWindow(hintWindow_);
    if (handle_)
        DestroyWindow(handle_);
    if (theApplication == this) {
        theApplication = nullptr;
        SetErrorBox(nullptr);
    }
}

std::string TApplication::Title() const {
    return WindowText(handle_);
}

void TApplication::SetTitle(const std::string& title) {
    SetWindowTextW(handle_, Wide(title).c_str());
}

void TApplication::SetMainForm(TForm* form) {
    mainForm_ = form;
    mainWindow_ = form ? form->Handle() : nullptr;
}

std::vector<TForm*> TApplication::Forms() const {
    std::vector<TForm*> forms;
    for (const auto& component : Components())
        if (component->Is<TForm>())
            forms.push_back(static_cast<TForm*>(component.get()));
    return forms;
}

void TApplication::Terminate() {
    if (terminated_)
        return;
    terminated_ = true;
    PostQuitMessage(0);
}

namespace {

// Tab and Shift+Tab move the focus through a dialog's controls.
bool IsTabKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || GetKeyState(VK_CONTROL) < 0)
        return false;
    TControl* root = TControl::FromHandle(GetAncestor(msg.hwnd, GA_ROOT));
    if (!root || !root->Is<TForm>())
        return false;
    auto* form = static_cast<TForm*>(root);
    if (form->BorderStyle() != TBorderStyle::Dialog)
        return false;
    TControl* next = form->NextTabStop(GetFocus(), GetKeyState(VK_SHIFT) >= 0);
    if (!next)
        return false;
    next->SetFocus();
    return true;
}

// Enter and Escape inside a form press its default and cancel buttons.
bool IsDialogKey(const MSG& msg) {
    if (IsTabKey(msg))
        return true;
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE))
        return false;
    // A dropped-down list takes its own Enter and Escape.
    for (HWND w = msg.hwnd; w; w = GetParent(w))
        if (SendMessageW(w, CB_GETDROPPEDSTATE, 0, 0))
            return false;
    TControl* root = TControl::FromHandle(GetAncestor(msg.hwnd, GA_ROOT));
    return root && root->Is<TForm>() &&
           static_cast<TForm*>(root)->DialogKey(static_cast<WORD>(msg.wParam));
}

void Dispatch(const MSG& msg) {
    if (IsDialogKey(msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

} // namespace

bool TApplication::HandleMessage() {
    MSG msg;
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
        terminated_ = true;
        return false;
    }
    Dispatch(msg);
    return !terminated_;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            return;
        }
        Dispatch(msg);
    }
}

void TApplication::Run() {
    while (!terminated_ && HandleMessage()) {
    }
    terminated_ = true;
}

void TApplication::NormalizeTopMosts() {
    if (topMostLevel_++ > 0)
        return;
    loweredTopMosts_.clear();
    TopMostQuery query{GetCurrentProcessId(), hintWindow_, &loweredTopMosts_};
    EnumWindows(CollectTopMost, reinterpret_cast<LPARAM>(&query));
    for (HWND window : loweredTopMosts_)
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TApplication::RestoreTopMosts() {
    if (topMostLevel_ > 0 && --topMostLevel_ > 0)
        return;
    if (topMostLevel_ == 0 && loweredTopMosts_.empty()) {
        // Nothing lowered: re-assert the stay-on-top forms (a paint asks for it).
        for (TForm* form : Forms())
            if (form->Handle() && form->FormStyle() == TFormStyle::StayOnTop)
                SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    for (auto it = loweredTopMosts_.rbegin(); it != loweredTopMosts_.rend(); ++it)
        if (IsWindow(*it))
            SetWindowPos(*it, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    loweredTopMosts_.clear();
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    NormalizeTopMosts();
    HWND owner = mainWindow_ && IsWindowVisible(mainWindow_) ? mainWindow_ : handle_;
    int result =
        ::MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), flags | MB_SETFOREGROUND);
    RestoreTopMosts();
    return result;
}

void TApplication::HandleException(const std::exception& error) {
    ReportError(error.what());
}

void TApplication::ReportError(const std::string& message) {
    if (OnException) {
        OnException(message);
        return;
    }
    MessageBox(message, Title(), MB_OK | MB_ICONERROR);
}

void TApplication::EnsureHintWindow() {
    if (hintWindow_)
        return;
    hintWindow_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle_, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (hintWindow_)
        SendMessageW(hintWindow_, TTM_SETMAXTIPWIDTH, 0, 400);
}

void TApplication::SetHint(HWND control, const std::string& text) {
    EnsureHintWindow();
    if (!hintWindow_)
        return;
    std::wstring wide = Wide(text);
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    // No TTF_SUBCLASS: the control relays its mouse messages itself
    // (RelayHintEvent). A subclassed window looks its subclass up in a
    // window property at every message, a round trip to the server under
    // Wine.
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = GetParent(control) ? GetParent(control) : control;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data();
    // A known tool only takes the new text (the control copies it); adding
    // anew costs a subclassing of the window each time.
    TOOLINFOW known = tool;
    known.lpszText = nullptr;
    if (SendMessageW(hintWindow_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&known)))
        SendMessageW(hintWindow_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    else
        SendMessageW(hintWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TApplication::RelayHintEvent(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!hintWindow_)
        return;
    MSG relayed{};
    relayed.hwnd = control;
    relayed.message = message;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    relayed.time = static_cast<DWORD>(GetMessageTime());
    const DWORD at = GetMessagePos();
    relayed.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    SendMessageW(hintWindow_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void TApplication::RemoveHint(HWND control) {
    if (!hintWindow_)
        return;
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(control) ? GetParent(control) : control;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    SendMessageW(hintWindow_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

} // namespace orvane
