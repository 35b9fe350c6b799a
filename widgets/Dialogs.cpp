#include "widgets/Dialogs.h"

#include "base/Guarded.h"
#include "base/ShellError.h"
#include "base/Utf.h"
#include "toolkit/Application.h"

#include <commdlg.h>

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace orvane {

namespace {

// comdlg32 brings the print spooler (winspool.drv) and, under Wine, the
// system's printing and TLS libraries with it: 3.5 MB resident in every run
// for dialogs that few runs open. It is loaded when a dialog first opens.
FARPROC CommonDialogFunction(const char* name) {
    static HMODULE library = nullptr;
    if (!library)
        library = LoadLibraryW(L"comdlg32.dll");
    FARPROC function = library ? GetProcAddress(library, name) : nullptr;
    if (!function)
        ThrowLastError(std::string("File dialog: ") + name);
    return function;
}

template <typename Function> Function CommonDialog(const char* name) {
    return reinterpret_cast<Function>(CommonDialogFunction(name));
}

constexpr wchar_t kPreviewClass[] = L"TPicturePreview";
constexpr int kPreviewWidth = 160; // the room the dialog grows by
constexpr DWORD kFileBufferSize = 32 * 1024;

// Stay-on-top windows (the taskbar) would cover the dialog; they step back
// for as long as it is up, also when it fails.
class TopMostsLowered {
  public:
    TopMostsLowered() {
        if (Application())
            Application()->NormalizeTopMosts();
    }
    TopMostsLowered(const TopMostsLowered&) = delete;
    TopMostsLowered& operator=(const TopMostsLowered&) = delete;
    ~TopMostsLowered() {
        if (Application())
            Application()->RestoreTopMosts();
    }
};

HWND DialogOwner() {
    if (HWND active = GetActiveWindow())
        return active;
    return Application() ? Application()->Handle() : nullptr;
}

bool IsPreviewable(const std::string& path) {
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension != ".bmp" && extension != ".ico")
        return false;
    DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

std::string TOpenDialog::SystemFilter(const std::string& filter) {
    if (filter.empty())
        return {};
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    if (parts.size() % 2 != 0)
        parts.push_back("*.*");
    std::string result;
    for (const auto& part : parts) {
        result += part;
        result += '\0';
    }
    result += '\0';
    return result;
}

BOOL TOpenDialog::RunDialog(OPENFILENAMEW& dialog) {
    return CommonDialog<decltype(&GetOpenFileNameW)>("GetOpenFileNameW")(&dialog);
}

void TOpenDialog::Prepare(OPENFILENAMEW&) {}

bool TOpenDialog::Execute() {
    const std::wstring fileName = Wide(FileName);
    if (fileName.size() >= kFileBufferSize)
        throw ShellError("File dialog: file name too long");
    std::vector<wchar_t> file(kFileBufferSize, L'\0');
    std::copy(fileName.begin(), fileName.end(), file.begin());
    const std::wstring filter = Wide(SystemFilter(Filter));
    std::string extension = DefaultExt;
    if (!extension.empty() && extension.front() == '.')
        extension.erase(0, 1);
    const std::wstring defaultExt = Wide(extension);
    const std::wstring initialDir = Wide(InitialDir);
    const std::wstring title = Wide(Title);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = DialogOwner();
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(std::max(FilterIndex, 0));
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kFileBufferSize;
    dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    // The shell resolves its own files by full path, but a dialog that moved
    // the current folder would still surprise anything started later.
    dialog.Flags = Options | OFN_EXPLORER | OFN_NOCHANGEDIR;
    Prepare(dialog);

    BOOL chosen;
    {
        TopMostsLowered lowered;
        chosen = RunDialog(dialog);
    }
    if (!chosen) {
        DWORD error = CommonDialog<decltype(&CommDlgExtendedError)>("CommDlgExtendedError")();
        if (error != 0) {
            char code[16];
            std::snprintf(code, sizeof code, "0x%04lX", static_cast<unsigned long>(error));
            throw ShellError(std::string("File dialog failed: error ") + code);
        }
        return false;
    }
    FileName = Utf8Until(file.data(), file.size());
    FilterIndex = static_cast<int>(dialog.nFilterIndex);
    return true;
}

void TOpenDialog::PublishProperties(std::vector<TProperty>& properties) {
    TComponent::PublishProperties(properties);
    properties.push_back(StringProperty(
        "Title", [this] { return Title; }, [this](const std::string& v) { Title = v; }));
    properties.push_back(StringProperty(
        "Filter", [this] { return Filter; }, [this](const std::string& v) { Filter = v; }));
    properties.push_back(IntegerProperty(
        "FilterIndex", [this] { return FilterIndex; },
        [this](int64_t v) { FilterIndex = static_cast<int>(v); }));
    properties.push_back(StringProperty(
        "InitialDir", [this] { return InitialDir; },
        [this](const std::string& v) { InitialDir = v; }));
    properties.push_back(StringProperty(
        "FileName", [this] { return FileName; }, [this](const std::string& v) { FileName = v; }));
    properties.push_back(StringProperty(
        "DefaultExt", [this] { return DefaultExt; },
        [this](const std::string& v) { DefaultExt = v; }));
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* owner) : TOpenDialog(owner) {
    Filter = "All pictures (*.bmp;*.jpg;*.jpeg;*.ico)|*.bmp;*.jpg;*.jpeg;*.ico|"
             "Bitmaps (*.bmp)|*.bmp|JPEG images (*.jpg;*.jpeg)|*.jpg;*.jpeg|"
             "Icons (*.ico)|*.ico|All files (*.*)|*.*";
    // Sizing would move the system's controls but not the preview beside them.
    Options &= ~static_cast<DWORD>(OFN_ENABLESIZING);
}

void TOpenPictureDialog::Prepare(OPENFILENAMEW& dialog) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!GetClassInfoExW(instance, kPreviewClass, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &TOpenPictureDialog::PreviewProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kPreviewClass;
        if (!RegisterClassExW(&wc))
            ThrowLastError("Picture dialog: registering the preview class");
    }
    preview_.Clear();
    dialog.Flags |= OFN_ENABLEHOOK;
    dialog.lpfnHook = &TOpenPictureDialog::HookProc;
    dialog.lCustData = reinterpret_cast<LPARAM>(this);
}

UINT_PTR CALLBACK TOpenPictureDialog::HookProc(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<OPENFILENAMEW*>(lParam);
        SetWindowLongPtrW(hook, DWLP_USER, static_cast<LONG_PTR>(dialog->lCustData));
        return TRUE;
    }
    auto* self = reinterpret_cast<TOpenPictureDialog*>(GetWindowLongPtrW(hook, DWLP_USER));
    if (!self || message != WM_NOTIFY)
        return 0;
    // The preview is a convenience: on a failure the dialog goes on without it.
    Guarded("TOpenPictureDialog.Preview", FailurePolicy::ShowError, [&] {
        switch (reinterpret_cast<OFNOTIFYW*>(lParam)->hdr.code) {
        case CDN_INITDONE:
            self->CreatePreview(GetParent(hook));
            break;
        case CDN_SELCHANGE:
            self->SelectionChanged(GetParent(hook));
            break;
        default:
            break;
        }
    });
    return 0;
}

void TOpenPictureDialog::CreatePreview(HWND dialog) {
    RECT window;
    GetWindowRect(dialog, &window);
    SetWindowPos(dialog, nullptr, 0, 0, window.right - window.left + kPreviewWidth,
                 window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(dialog, &client);
    int width = kPreviewWidth - 16;
    previewWindow_ = CreateWindowExW(WS_EX_CLIENTEDGE, kPreviewClass, L"", WS_CHILD | WS_VISIBLE,
                                     client.right - kPreviewWidth + 4, 40, width, width + 20,
                                     dialog, nullptr, GetModuleHandleW(nullptr), this);
    if (!previewWindow_)
        ThrowLastError("Picture dialog: creating the preview");
}

void TOpenPictureDialog::SelectionChanged(HWND dialog) {
    wchar_t buffer[MAX_PATH * 2] = {};
    constexpr size_t kUnits = sizeof buffer / sizeof buffer[0];
    LRESULT length =
        SendMessageW(dialog, CDM_GETFILEPATH, kUnits, reinterpret_cast<LPARAM>(buffer));
    const std::string path = Utf8Until(buffer, kUnits);
    preview_.Clear();
    if (length > 0 && static_cast<size_t>(length) <= kUnits && IsPreviewable(path)) {
        try {
            preview_.LoadFromFile(path);
        } catch (const ShellError&) {
            // A damaged file simply shows no preview.
        }
    }
    if (previewWindow_)
        InvalidateRect(previewWindow_, nullptr, TRUE);
}

LRESULT CALLBACK TOpenPictureDialog::PreviewProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TOpenPictureDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        if (self) {
            if (!Guarded("TOpenPictureDialog.PaintPreview", FailurePolicy::ShowError,
                         [&] { self->PaintPreview(window); }))
                ValidateRect(window, nullptr); // or the failed paint comes back at once
            return 0;
        }
        break;
    case WM_NCDESTROY:
        if (self && self->previewWindow_ == window)
            self->previewWindow_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void TOpenPictureDialog::PaintPreview(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    struct EndPaintOnExit {
        HWND window;
        PAINTSTRUCT* paint;
        ~EndPaintOnExit() { EndPaint(window, paint); }
    } end{window, &paint};
    RECT client;
    GetClientRect(window, &client);
    TCanvas canvas(dc);
    canvas.Brush.Color = GetSysColor(COLOR_BTNFACE);
    canvas.FillRect(client);
    canvas.Font.Color = GetSysColor(COLOR_BTNTEXT);
    canvas.Brush.Style = TBrushStyle::Clear;
    RECT textRect{client.left, client.bottom - 18, client.right, client.bottom};
    if (preview_.Empty() || preview_.Width() <= 0 || preview_.Height() <= 0) {
        canvas.DrawText(client, "(None)", DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    // Fitted into the square above the size line, never enlarged.
    RECT area{client.left + 4, client.top + 4, client.right - 4, textRect.top - 2};
    int areaWidth = std::max<int>(1, area.right - area.left);
    int areaHeight = std::max<int>(1, area.bottom - area.top);
    double scale = std::min({1.0, static_cast<double>(areaWidth) / preview_.Width(),
                             static_cast<double>(areaHeight) / preview_.Height()});
    int width = std::max(1, static_cast<int>(preview_.Width() * scale));
    int height = std::max(1, static_cast<int>(preview_.Height() * scale));
    RECT target{area.left + (areaWidth - width) / 2, area.top + (areaHeight - height) / 2, 0, 0};
    target.right = target.left + width;
    target.bottom = target.top + height;
    preview_.Draw(canvas.Handle(), target, false);
    std::string size = std::to_string(preview_.Width()) + " x " + std::to_string(preview_.Height());
    canvas.DrawText(textRect, size, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

TSavePictureDialog::TSavePictureDialog(TComponent* owner) : TOpenPictureDialog(owner) {
    Options &= ~static_cast<DWORD>(OFN_FILEMUSTEXIST);
}

BOOL TSavePictureDialog::RunDialog(OPENFILENAMEW& dialog) {
    return CommonDialog<decltype(&GetSaveFileNameW)>("GetSaveFileNameW")(&dialog);
}

} // namespace orvane
