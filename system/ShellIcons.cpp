#include "system/ShellIcons.h"

#include "base/ShellError.h"
#include "base/Utf.h"

#include <shellapi.h>

namespace orvane {

namespace {

constexpr int kGlyphSize = 16;

} // namespace

int GetSysIconIndex(PCIDLIST_ABSOLUTE item) {
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                   SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | SHGFI_PIDL | SHGFI_SMALLICON);
    // SHGFI_ICON hands out an icon of our own as well; only the index is wanted,
    // and Control Panel listings call this once per item.
    UniqueIcon unused(info.hIcon);
    return info.iIcon;
}

UniqueIcon GetFileIcon(const std::string& path, bool small) {
    SHFILEINFOW info{};
    UINT flags = SHGFI_ICON | SHGFI_USEFILEATTRIBUTES;
    if (small)
        flags |= SHGFI_SMALLICON;
    SHGetFileInfoW(Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags);
    return UniqueIcon(info.hIcon);
}

UniqueIcon GetFolderIcon(const std::string& folder) {
    // The platform may write the path of the icon's file back into the buffer.
    const std::wstring wide = Wide(folder);
    wchar_t path[MAX_PATH + 1] = {};
    lstrcpynW(path, wide.c_str(), MAX_PATH);
    WORD index = 0;
    if (HICON icon = ExtractAssociatedIconW(GetModuleHandleW(nullptr), path, &index))
        return UniqueIcon(icon);
    SHFILEINFOW info{};
    SHGetFileInfoW(wide.c_str(), FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info,
                   SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    return UniqueIcon(info.hIcon);
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
