#pragma once
// The skin the widgets draw with: the elements of a compiled skin file
// ("\Skins\Orvane.skn"), each with its colours, widths, fonts and bitmap.
#include "base/Win32Handles.h"
#include "skinfile/SkinModel.h"

#include <map>
#include <span>
#include <string>
#include <string_view>

namespace orvane {

// One element's look; the bitmap, if the skin has one, is a DIB section.
struct TSkinElement : SkinElementStyle {
    TSkinElement() = default;
    explicit TSkinElement(SkinElementStyle style);

    UniqueBitmap bitmapHandle;
};

class TSkinData {
  public:
    // Holds the built-in look of every element until a skin is loaded.
    TSkinData();
    TSkinData(const TSkinData&) = delete;
    TSkinData& operator=(const TSkinData&) = delete;

    // Replaces the skin with the one in `path`. On any failure a ShellError that
    // names the file is raised and the skin held so far stays.
    void LoadFromFile(const std::string& path);
    // The same for a compiled skin already in memory; `sourceName` names it in errors.
    void LoadFromBytes(std::span<const std::uint8_t> bytes, const std::string& sourceName);

    // The file last loaded, or "" while the built-in look is in use.
    const std::string& FileName() const { return fileName_; }

    // Whether the loaded skin defines the element (any case).
    bool Contains(std::string_view name) const;
    // The element's look: the skin's, else the built-in one; a name no one knows
    // gets the panel's. Never fails, so a widget always has something to draw with.
    const TSkinElement& Element(std::string_view name) const;
    // The names the loaded skin defines, in lower case.
    std::vector<std::string> ElementNames() const;

  private:
    using ElementMap = std::map<std::string, TSkinElement, std::less<>>;

    static ElementMap BuiltIn();

    ElementMap loaded_;
    ElementMap builtIn_;
    std::string fileName_;
};

} // namespace orvane
