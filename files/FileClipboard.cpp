#include "files/FileClipboard.h"

namespace orvane {

TFileClipboard& FileClipboard() {
    static TFileClipboard clipboard;
    return clipboard;
}

} // namespace orvane
