#include "skin/Skin.h"

namespace orvane {

TSkinData& CurrentSkin() {
    static TSkinData skin;
    return skin;
}

} // namespace orvane
