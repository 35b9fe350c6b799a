#include "system/ShellIcons.h"

#include "base/ShellError.h"
#include "base/Utf.h"
#include "system/FileSystem.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <mutex>
#include <string>
#include <unordered_map>

namespace orvane {

namespace {

constexpr int kGlyphSize = 16;
// Resource ids of the shell's own icons, as on Windows.
constexpr int kDocumentIconId = 1;
constexpr int kFolderIconId = 4;

bool IsShell32(const std::wstring& file) {
    return lstrcmpiW(PathFindFileNameW(file.c_str()), L"shell32.dll") == 0;
}

// Icons read from their files, by place and size: reading one opens the file
// and parses its resources (shell32 for most types), about a millisecond under
// Wine, and a start menu asks for the same few places a thousand times. Lookup
// workers and the GUI thread share it.
class TExtractedIcons {
  public:
    // A copy of the icon, for the caller to own; empty when the file has none.
    UniqueIcon Get(const std::wstring& file, int index, int size) {
        std::wstring key = file;
        CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
        key += L'|' + std::to_wstring(index) + L'|' + std::to_wstring(size);
        std::lock_guard<std::mutex> lock(mutex_);
        auto known = icons_.find(key);
        if (known == icons_.end()) {
            if (icons_.size() >= kMostKept)
                icons_.clear();
            known = icons_.emplace(std::move(key), Extract(file, index, size)).first;
        }
        return known->second ? UniqueIcon(CopyIcon(known->second.get())) : UniqueIcon{};
    }

  private:
    static constexpr size_t kMostKept = 256;

    static UniqueIcon Extract(const std::wstring& file, int index, int size) {
        HICON icon = nullptr;
        UINT id = 0;
        const UINT found = PrivateExtractIconsW(file.c_str(), index, size, size, &icon, &id, 1, 0);
        if (found == 0 || found == 0xFFFFFFFF)
            return {};
        return UniqueIcon(icon);
    }

    std::mutex mutex_;
    std::unordered_map<std::wstring, UniqueIcon> icons_;
};

TExtractedIcons& ExtractedIcons() {
    static TExtractedIcons icons;
    return icons;
}

// `index` counts icons in the file from 0, or is minus a resource id.
UniqueIcon IconAt(const std::wstring& file, int index, bool small) {
    // Wine's shell32 lists a named icon before its numbered ones, while its
    // folders hand out position 0 for the document icon, as on Windows.
    if (index == 0 && IsShell32(file))
        index = -kDocumentIconId;
    return ExtractedIcons().Get(file, index, GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON));
}

UniqueIcon ShellIcon(int resourceId, bool small) {
    return IconAt(L"shell32.dll", -resourceId, small);
}

} // namespace

UniqueIcon GetItemIcon(PCIDLIST_ABSOLUTE item, bool small) {
    ComPtr<IShellFolder> parent;
    PCUITEMID_CHILD child = nullptr;
    if (FAILED(SHBindToParent(item, IID_IShellFolder, parent.putVoid(), &child)))
        return {};
    ComPtr<IExtractIconW> extract;
    if (FAILED(parent->GetUIObjectOf(nullptr, 1, &child, IID_IExtractIconW, nullptr,
                                     extract.putVoid())))
        return {};
    wchar_t location[MAX_PATH] = {};
    int index = 0;
    UINT flags = 0;
    if (FAILED(extract->GetIconLocation(GIL_FORSHELL, location, MAX_PATH, &index, &flags)))
        return {};
    // A handler that fills the whole buffer leaves no end to the text.
    location[MAX_PATH - 1] = L'\0';
    if (!(flags & GIL_NOTFILENAME))
        return IconAt(Wide(ExpandEnvironment(Utf8Until(location, MAX_PATH))), index, small);
    // Only the item's own handler can draw this one.
    HICON large = nullptr, little = nullptr;
    const UINT sizes = MAKELONG(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CXSMICON));
    const HRESULT drawn = extract->Extract(location, index, &large, &little, sizes);
    UniqueIcon largeIcon(large), smallIcon(little);
    if (drawn != S_OK)
        return {};
    return small ? std::move(smallIcon) : std::move(largeIcon);
}

UniqueIcon GetPathIcon(const std::string& path, bool small) {
    UniquePidl item(ILCreateFromPathW(Wide(path).c_str()));
    return item ? GetItemIcon(item.get(), small) : UniqueIcon{};
}

UniqueIcon GetFileIcon(const std::string& path, bool small) {
    // The type's registered place, read without opening the file: "%1" means
    // the file itself.
    const std::wstring wide = Wide(path);
    const wchar_t* extension = PathFindExtensionW(wide.c_str());
    wchar_t place[MAX_PATH] = {};
    DWORD units = MAX_PATH;
    if (*extension && SUCCEEDED(AssocQueryStringW(ASSOCF_NONE, ASSOCSTR_DEFAULTICON, extension,
                                                  nullptr, place, &units))) {
        place[MAX_PATH - 1] = L'\0';
        const bool itself = lstrcmpW(place, L"%1") == 0;
        const int index = itself ? 0 : PathParseIconLocationW(place);
        const std::wstring file =
            itself ? wide : Wide(ExpandEnvironment(Utf8Until(place, MAX_PATH)));
        if (UniqueIcon icon = IconAt(file, index, small))
            return icon;
    }
    return ShellIcon(kDocumentIconId, small);
}

UniqueIcon GetFolderIcon(const std::string& folder) {
    // The platform may write the path of the icon's file back into the buffer.
    const std::wstring wide = Wide(folder);
    wchar_t path[MAX_PATH + 1] = {};
    lstrcpynW(path, wide.c_str(), MAX_PATH);
    WORD index = 0;
    if (HICON icon = ExtractAssociatedIconW(GetModuleHandleW(nullptr), path, &index))
        return UniqueIcon(icon);
    if (UniqueIcon icon = GetPathIcon(folder, true))
        return icon;
    return ShellIcon(kFolderIconId, true);
}

UniqueBitmap IconToBitmap(HICON icon) {
    UniqueImageList list(ImageList_Create(kGlyphSize, kGlyphSize, ILC_COLOR32 | ILC_MASK, 1, 0));
    if (!list)
        ThrowLastError("ImageList_Create");
    if (icon)
        ImageList_AddIcon(list.get(), icon);

    int width = kGlyphSize, height = kGlyphSize;
    ImageList_GetIconSize(list.get(), &width, &height);

    WindowDc screen(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!bitmap)
        ThrowLastError("CreateCompatibleBitmap");
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    if (!dc)
        ThrowLastError("CreateCompatibleDC");
    {
        SelectedObject selected(dc.get(), bitmap.get());
        RECT all{0, 0, width, height};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (ImageList_GetImageCount(list.get()) > 0)
            ImageList_Draw(list.get(), 0, dc.get(), 0, 0, ILD_NORMAL);
    }
    return bitmap;
}

} // namespace orvane
