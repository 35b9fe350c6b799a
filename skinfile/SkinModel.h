#pragma once
// The skin's data model, shared by the loader and the build-time skin compiler.
// Plain C++ and no Windows headers: the compiler is built for the build machine.
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvane {

// A colour as the platform stores it: 0x00BBGGRR (a COLORREF).
using SkinColor = std::uint32_t;

constexpr SkinColor SkinRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<SkinColor>(r) | static_cast<SkinColor>(g) << 8 |
           static_cast<SkinColor>(b) << 16;
}

// Anything wrong with a skin source or a compiled skin; the loader turns it into
// a ShellError naming the file.
class SkinFormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class SkinGradient : std::uint8_t { None = 0, Vertical = 1, Horizontal = 2 };

// A face: one colour, or a gradient from `start` to `end`.
struct SkinFill {
    SkinColor start = 0;
    SkinColor end = 0;
    SkinGradient direction = SkinGradient::None;
    bool operator==(const SkinFill&) const = default;
};

struct SkinFont {
    std::string name;
    int size = 8; // points
    SkinColor color = 0;
    bool bold = false;
    bool operator==(const SkinFont&) const = default;
};

// Every element has the same record; each widget reads the parts it draws.
struct SkinElementStyle {
    std::string name;
    SkinFill face;     // the background
    SkinFill hot;      // under the pointer
    SkinFill down;     // pressed, or held down
    SkinFill selected; // the selected item of a menu or list
    SkinColor selectedFrame = 0;
    SkinColor light = 0; // bevel, lit edge
    SkinColor shadow = 0;
    int bevelWidth = 1;
    SkinColor border = 0;
    int borderWidth = 0;
    SkinColor separator = 0;
    SkinFont font;
    SkinColor hotFontColor = 0;
    SkinColor downFontColor = 0;
    SkinColor disabledFontColor = 0;
    SkinColor selectedFontColor = 0;
    // Form frames only.
    SkinFill captionActive;
    SkinFill captionInactive;
    int captionHeight = 0;
    SkinFont captionFont;
    SkinColor captionInactiveFontColor = 0;
    bool rollUpButton = false;
    // A BMP file's bytes, empty when the element has no bitmap.
    std::vector<std::uint8_t> bitmap;

    bool operator==(const SkinElementStyle&) const = default;
};

// One settable property of an element: its key in the source and in the
// compiled file, and the field it fills.
template <typename T> using SkinFieldAccess = T& (*)(SkinElementStyle&);
using SkinField =
    std::variant<SkinFieldAccess<SkinColor>, SkinFieldAccess<SkinFill>, SkinFieldAccess<int>,
                 SkinFieldAccess<bool>, SkinFieldAccess<std::string>,
                 SkinFieldAccess<std::vector<std::uint8_t>>>;

// The kind tags of the compiled file follow the variant's order.
enum class SkinValueKind : std::uint8_t {
    Color = 0,
    Fill = 1,
    Integer = 2,
    Flag = 3,
    Text = 4,
    Bitmap = 5,
};

struct SkinProperty {
    std::string_view key;
    SkinField field;
    int minimum = 0; // integers only
    int maximum = 0;

    SkinValueKind kind() const { return static_cast<SkinValueKind>(field.index()); }
};

std::span<const SkinProperty> SkinProperties();
// Null for an unknown key; keys are lower case.
const SkinProperty* FindSkinProperty(std::string_view key);

// The elements the shell's widgets draw with.
std::span<const std::string_view> SkinElementNames();
bool IsSkinElementName(std::string_view name);

// The built-in look of an element, used for whatever a skin leaves out. An unknown
// name gets the plain panel look under its own name.
SkinElementStyle DefaultSkinElement(std::string_view name);

// Limits that keep a damaged file from asking for absurd amounts of anything.
inline constexpr std::size_t kSkinMaxElements = 256;
inline constexpr std::size_t kSkinMaxNameLength = 64;
inline constexpr std::size_t kSkinMaxTextLength = 31; // a font face name
inline constexpr std::size_t kSkinMaxBitmapBytes = 4u << 20;

std::string SkinLowerCase(std::string_view text);
// Element names and keys: lower-case letters, digits, '.', '_' and '-'.
bool IsSkinIdentifier(std::string_view text);

} // namespace orvane
