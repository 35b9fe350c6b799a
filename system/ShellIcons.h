#pragma once
// Icons through the shell: the icon registered for a file's type, the system
// image list index of a shell item, and icons rendered into 16 x 16 bitmaps.
#include "base/Win32Handles.h"

#include <shlobj.h>

#include <string>

namespace orvane {

// Index of the item's small icon in the system image list.
int GetSysIconIndex(PCIDLIST_ABSOLUTE item);

// The icon registered for the type of `path` (the file itself is not opened and
// need not exist); empty when the shell has none.
UniqueIcon GetFileIcon(const std::string& path, bool small);

// A folder's small icon: its associated one, else the shell's folder icon
// (Wine associates none with a folder, and no icon would draw nothing).
UniqueIcon GetFolderIcon(const std::string& folder);

// A new 16 x 16 bitmap showing `icon` on a white background; `icon` stays the
// caller's. A null icon gives a plain white bitmap.
UniqueBitmap IconToBitmap(HICON icon);

} // namespace orvane
