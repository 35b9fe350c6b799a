#include "skin/Form.h"

namespace orvane {

// The system draws the frame until the skinned one is in place.
bool HandleSkinnedFrameMessage(TForm&, UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

} // namespace orvane
