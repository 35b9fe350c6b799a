#include "system/Shortcuts.h"

#include "base/ShellError.h"
#include "base/Win32Handles.h"

#include <shlobj.h>

namespace orvane {

namespace {

// Paths in the system code page as UTF-16, for IPersistFile.
std::wstring WidePath(const std::string& text) {
    if (text.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

ComPtr<IShellLinkA> NewShellLink() {
    ComPtr<IShellLinkA> link;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  link.putVoid());
    if (FAILED(hr))
        throw ShellError(SystemErrorText(static_cast<DWORD>(hr)));
    return link;
}

ComPtr<IPersistFile> PersistFileOf(const ComPtr<IShellLinkA>& link) {
    auto file = link.as<IPersistFile>(IID_IPersistFile);
    if (!file)
        throw ShellError(SystemErrorText(static_cast<DWORD>(E_NOINTERFACE)));
    return file;
}

} // namespace

ShortcutInfo ResolveShortcut(const std::string& file) {
    auto link = NewShellLink();
    auto persist = PersistFileOf(link);
    // A file that does not load leaves the object empty; its empty values are
    // the answer then.
    persist->Load(WidePath(file).c_str(), STGM_READ);

    ShortcutInfo info;
    char buffer[MAX_PATH] = {};
    if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH)))
        info.target = buffer;
    buffer[0] = '\0';
    if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH)))
        info.folder = buffer;
    link->GetShowCmd(&info.showCommand);
    return info;
}

void CreateShortcut(const std::string& target, const std::string& file,
                    const std::string& description, const std::string& arguments) {
    auto link = NewShellLink();
    link->SetArguments(arguments.c_str());
    link->SetDescription(description.c_str());
    link->SetPath(target.c_str());
    auto persist = PersistFileOf(link);
    // A shortcut that was not written must not look like one that was: the
    // settings dialog reports the failure to the user.
    HRESULT hr = persist->Save(WidePath(file).c_str(), FALSE);
    if (FAILED(hr))
        throw ShellError("Unable to write to " + file + ": " +
                         SystemErrorText(static_cast<DWORD>(hr)));
}

} // namespace orvane
