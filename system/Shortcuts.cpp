#include "system/Shortcuts.h"

#include "base/ShellError.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"

#include <shlobj.h>

namespace orvane {

namespace {

ComPtr<IShellLinkW> NewShellLink() {
    ComPtr<IShellLinkW> link;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  link.putVoid());
    if (FAILED(hr))
        throw ShellError(SystemErrorText(static_cast<DWORD>(hr)));
    return link;
}

ComPtr<IPersistFile> PersistFileOf(const ComPtr<IShellLinkW>& link) {
    auto file = link.as<IPersistFile>(IID_IPersistFile);
    if (!file)
        throw ShellError(SystemErrorText(static_cast<DWORD>(E_NOINTERFACE)));
    return file;
}

// The path of the item the link points to, from its item list; "" when it has
// none or the item is no file-system item.
std::string ItemListPath(IShellLinkW& link) {
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(link.GetIDList(&list)) || !list)
        return {};
    // The platform writes up to MAX_PATH units.
    wchar_t path[MAX_PATH + 1] = {};
    const bool found = SHGetPathFromIDListW(list, path) != FALSE;
    CoTaskMemFree(list);
    return found ? Utf8Until(path, MAX_PATH) : std::string();
}

} // namespace

ShortcutInfo ResolveShortcut(const std::string& file) {
    auto link = NewShellLink();
    auto persist = PersistFileOf(link);
    // A file that does not load leaves the object empty; its empty values are
    // the answer then.
    persist->Load(Wide(file).c_str(), STGM_READ);

    ShortcutInfo info;
    wchar_t buffer[MAX_PATH] = {};
    if (SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH)))
        info.target = Utf8Until(buffer, MAX_PATH);
    // Wine stores a link's path in the ANSI code page only, where a character
    // the code page lacks comes back as '?', which no file name holds. The
    // item list keeps the path whole.
    if (info.target.find('?') != std::string::npos)
        if (std::string whole = ItemListPath(*link.get()); !whole.empty())
            info.target = std::move(whole);
    buffer[0] = L'\0';
    if (SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH)))
        info.folder = Utf8Until(buffer, MAX_PATH);
    link->GetShowCmd(&info.showCommand);
    buffer[0] = L'\0';
    if (SUCCEEDED(link->GetIconLocation(buffer, MAX_PATH, &info.iconIndex)))
        info.iconFile = Utf8Until(buffer, MAX_PATH);
    return info;
}

void CreateShortcut(const std::string& target, const std::string& file,
                    const std::string& description, const std::string& arguments) {
    auto link = NewShellLink();
    link->SetArguments(Wide(arguments).c_str());
    link->SetDescription(Wide(description).c_str());
    link->SetPath(Wide(target).c_str());
    auto persist = PersistFileOf(link);
    // A shortcut that was not written must not look like one that was: the
    // settings dialog reports the failure to the user.
    HRESULT hr = persist->Save(Wide(file).c_str(), FALSE);
    if (FAILED(hr))
        throw ShellError("Unable to write to " + file + ": " +
                         SystemErrorText(static_cast<DWORD>(hr)));
}

} // namespace orvane
