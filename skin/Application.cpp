#include "skin/Application.h"

#include "shell/Config.h"

#include <cctype>

namespace orvane {

namespace {

constexpr char kApplicationClass[] = "TApplication";
TApplication* theApplication = nullptr;

LRESULT CALLBACK ApplicationWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterApplicationClass() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ApplicationWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    wc.lpszClassName = kApplicationClass;
    RegisterClassA(&wc); // a second registration in the same process fails harmlessly
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

TApplication::TApplication() {
    RegisterApplicationClass();
    // Hidden, but a real top-level window, so other instances can find it.
    handle_ = CreateWindowExA(0, kApplicationClass, InitialTitle(ExecutablePath()).c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2,
                              0, 0, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    theApplication = this;
}

TApplication::~TApplication() {
    if (handle_)
        DestroyWindow(handle_);
    if (theApplication == this)
        theApplication = nullptr;
}

std::string TApplication::Title() const {
    char buffer[513] = {};
    GetWindowTextA(handle_, buffer, sizeof buffer);
    return buffer;
}

void TApplication::SetTitle(const std::string& title) {
    SetWindowTextA(handle_, title.c_str());
}

void TApplication::Terminate() {
    if (terminated_)
        return;
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::Run() {
    MSG msg;
    while (!terminated_ && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    terminated_ = true;
}

} // namespace orvane
