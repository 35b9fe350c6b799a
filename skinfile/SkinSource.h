#pragma once
// The readable skin source kept in the repository, an INI-like text:
//
//   ; comment
//   [button]
//   face = 240,246,210 -> 196,216,120 vertical
//   font = Arial
//   font.bold = yes
//
// A section per element, named like the element; colours are "R,G,B" or
// "#RRGGBB"; a face is one colour or "colour -> colour" with the direction
// "vertical" (the default) or "horizontal". What a section leaves out keeps the
// element's built-in look.
#include "skinfile/SkinModel.h"

#include <functional>

namespace orvane {

// Returns the bytes of a file the source names (a bitmap), relative to the source.
using SkinFileReader = std::function<std::vector<std::uint8_t>(const std::string& name)>;

// Raises SkinFormatError with "sourceName:line: what" for the first fault.
std::vector<SkinElementStyle> ParseSkinSource(std::string_view text, const std::string& sourceName,
                                              const SkinFileReader& readFile);

} // namespace orvane
