#pragma once
// Icons through the shell: the icon registered for a file's type, the icon of
// a shell item, and icons rendered into 16 x 16 bitmaps. The shell's folders
// say where each icon lies and it is extracted here: SHGetFileInfo would build
// the system image list, which under Wine costs over 3 MB from its first use
// (a 256-pixel copy of every icon it holds).
#include "base/Win32Handles.h"

#include <shlobj.h>

#include <string>

namespace orvane {

// The icon the shell shows for the item; empty when its folder names none.
UniqueIcon GetItemIcon(PCIDLIST_ABSOLUTE item, bool small);

// The icon the shell shows for an existing file, folder or drive; empty when
// there is none.
UniqueIcon GetPathIcon(const std::string& path, bool small);

// The icon registered for the type of `path` (the file itself need not exist):
// a type without a usable icon gets the document icon.
UniqueIcon GetFileIcon(const std::string& path, bool small);

// A folder's small icon: its associated one, else the shell's folder icon
// (Wine associates none with a folder, and no icon would draw nothing).
UniqueIcon GetFolderIcon(const std::string& folder);

// A new 16 x 16 bitmap showing `icon` on a white background; `icon` stays the
// caller's. A null icon gives a plain white bitmap.
UniqueBitmap IconToBitmap(HICON icon);

} // namespace orvane
