#pragma once
// The file browser's own clipboard: one marked file, to be copied or moved
// by the next Paste in any browser window. It is shared by all of them, lives
// as long as the process and has nothing to do with the system clipboard.
#include <string>

namespace orvane {

struct TFileClipboard {
    // The marked file's full path; empty when nothing is marked.
    std::string ClipboardPath;
    // True after Replace (move), false after Copy.
    bool MoveOnPaste = false;
};

TFileClipboard& FileClipboard();

} // namespace orvane
