#include "skinfile/SkinModel.h"

#include <algorithm>
#include <array>

namespace orvane {

namespace {

// Captureless lambdas reaching one (possibly nested) field of the record.
#define ORVANE_SKIN_FIELD(type, member)                                                            \
    SkinField(static_cast<SkinFieldAccess<type>>(                                                  \
        [](SkinElementStyle& style) -> type& { return style.member; }))

const std::array kProperties{
    SkinProperty{"face", ORVANE_SKIN_FIELD(SkinFill, face)},
    SkinProperty{"hot", ORVANE_SKIN_FIELD(SkinFill, hot)},
    SkinProperty{"down", ORVANE_SKIN_FIELD(SkinFill, down)},
    SkinProperty{"selected", ORVANE_SKIN_FIELD(SkinFill, selected)},
    SkinProperty{"selected.frame", ORVANE_SKIN_FIELD(SkinColor, selectedFrame)},
    SkinProperty{"light", ORVANE_SKIN_FIELD(SkinColor, light)},
    SkinProperty{"shadow", ORVANE_SKIN_FIELD(SkinColor, shadow)},
    SkinProperty{"bevel", ORVANE_SKIN_FIELD(int, bevelWidth), 0, 16},
    SkinProperty{"border", ORVANE_SKIN_FIELD(SkinColor, border)},
    SkinProperty{"border.width", ORVANE_SKIN_FIELD(int, borderWidth), 0, 16},
    SkinProperty{"separator", ORVANE_SKIN_FIELD(SkinColor, separator)},
    SkinProperty{"font", ORVANE_SKIN_FIELD(std::string, font.name)},
    SkinProperty{"font.size", ORVANE_SKIN_FIELD(int, font.size), 1, 72},
    SkinProperty{"font.color", ORVANE_SKIN_FIELD(SkinColor, font.color)},
    SkinProperty{"font.bold", ORVANE_SKIN_FIELD(bool, font.bold)},
    SkinProperty{"font.color.hot", ORVANE_SKIN_FIELD(SkinColor, hotFontColor)},
    SkinProperty{"font.color.down", ORVANE_SKIN_FIELD(SkinColor, downFontColor)},
    SkinProperty{"font.color.disabled", ORVANE_SKIN_FIELD(SkinColor, disabledFontColor)},
    SkinProperty{"font.color.selected", ORVANE_SKIN_FIELD(SkinColor, selectedFontColor)},
    SkinProperty{"caption.active", ORVANE_SKIN_FIELD(SkinFill, captionActive)},
    SkinProperty{"caption.inactive", ORVANE_SKIN_FIELD(SkinFill, captionInactive)},
    SkinProperty{"caption.height", ORVANE_SKIN_FIELD(int, captionHeight), 0, 64},
    SkinProperty{"caption.font", ORVANE_SKIN_FIELD(std::string, captionFont.name)},
    SkinProperty{"caption.font.size", ORVANE_SKIN_FIELD(int, captionFont.size), 1, 72},
    SkinProperty{"caption.font.color", ORVANE_SKIN_FIELD(SkinColor, captionFont.color)},
    SkinProperty{"caption.font.color.inactive",
                 ORVANE_SKIN_FIELD(SkinColor, captionInactiveFontColor)},
    SkinProperty{"caption.font.bold", ORVANE_SKIN_FIELD(bool, captionFont.bold)},
    SkinProperty{"rollup", ORVANE_SKIN_FIELD(bool, rollUpButton)},
    SkinProperty{"bitmap", ORVANE_SKIN_FIELD(std::vector<std::uint8_t>, bitmap)},
};

#undef ORVANE_SKIN_FIELD

constexpr std::array<std::string_view, 12> kElementNames{
    "panel", "button",   "resizebutton", "resizetoolpanel", "form",    "popupmenu",
    "edit",  "combobox", "statusbar",    "bevel",           "toolbar", "hint",
};

constexpr SkinFill Solid(SkinColor color) {
    return {color, color, SkinGradient::None};
}
constexpr SkinFill Vertical(SkinColor from, SkinColor to) {
    return {from, to, SkinGradient::Vertical};
}

// The olive theme the shipped skin refines; also what an element missing from a
// skin looks like, so a sparse skin never falls back to grey system colours.
SkinElementStyle BaseElement(std::string_view name) {
    SkinElementStyle style;
    style.name = std::string(name);
    style.face = Vertical(SkinRgb(190, 208, 120), SkinRgb(143, 159, 51));
    style.hot = Vertical(SkinRgb(246, 250, 224), SkinRgb(210, 230, 140));
    style.down = Vertical(SkinRgb(202, 222, 132), SkinRgb(236, 245, 196));
    style.selected = Vertical(SkinRgb(236, 245, 196), SkinRgb(202, 222, 132));
    style.selectedFrame = SkinRgb(150, 193, 47);
    style.light = SkinRgb(228, 238, 184);
    style.shadow = SkinRgb(76, 96, 30);
    style.bevelWidth = 1;
    style.border = SkinRgb(110, 139, 61);
    style.borderWidth = 0;
    style.separator = SkinRgb(190, 204, 140);
    style.font = {"Tahoma", 8, SkinRgb(64, 80, 16), false};
    style.hotFontColor = SkinRgb(96, 129, 35);
    style.downFontColor = SkinRgb(64, 80, 16);
    style.disabledFontColor = SkinRgb(150, 158, 120);
    style.selectedFontColor = SkinRgb(98, 98, 28);
    style.captionActive = {SkinRgb(96, 129, 35), SkinRgb(160, 204, 11), SkinGradient::Horizontal};
    style.captionInactive = {SkinRgb(143, 159, 51), SkinRgb(196, 206, 150),
                             SkinGradient::Horizontal};
    style.captionHeight = 0;
    style.captionFont = {"Tahoma", 8, SkinRgb(255, 255, 255), true};
    style.captionInactiveFontColor = SkinRgb(232, 236, 208);
    style.rollUpButton = false;
    return style;
}

} // namespace

std::span<const SkinProperty> SkinProperties() {
    return kProperties;
}

const SkinProperty* FindSkinProperty(std::string_view key) {
    for (const SkinProperty& property : kProperties)
        if (property.key == key)
            return &property;
    return nullptr;
}

std::span<const std::string_view> SkinElementNames() {
    return kElementNames;
}

bool IsSkinElementName(std::string_view name) {
    return std::find(kElementNames.begin(), kElementNames.end(), name) != kElementNames.end();
}

SkinElementStyle DefaultSkinElement(std::string_view name) {
    SkinElementStyle style = BaseElement(name);
    if (name == "button" || name == "resizebutton") {
        style.face = Vertical(SkinRgb(240, 246, 210), SkinRgb(196, 216, 120));
        style.border = SkinRgb(143, 159, 51);
        style.borderWidth = 1;
        style.font = {"Arial", 8, SkinRgb(96, 129, 35), true};
    } else if (name == "form") {
        style.borderWidth = 4;
        style.border = SkinRgb(96, 129, 35);
        style.captionHeight = 18;
        style.rollUpButton = true;
    } else if (name == "popupmenu") {
        style.face = Solid(SkinRgb(246, 248, 232));
        style.borderWidth = 1;
        style.font.color = SkinRgb(98, 98, 28);
    } else if (name == "edit" || name == "combobox") {
        style.face = Solid(SkinRgb(250, 252, 240));
        style.border = SkinRgb(143, 159, 51);
        style.borderWidth = 1;
        style.font = {"Arial", 8, SkinRgb(48, 64, 16), false};
    } else if (name == "hint") {
        style.face = Vertical(SkinRgb(250, 252, 228), SkinRgb(226, 238, 170));
        style.borderWidth = 1;
    }
    return style;
}

std::string SkinLowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool IsSkinIdentifier(std::string_view text) {
    if (text.empty() || text.size() > kSkinMaxNameLength)
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    });
}

} // namespace orvane
