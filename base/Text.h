#pragma once
// Text helpers shared by the layers above.
#include <string>

namespace orvane {

// `text` in lower case as the system compares names, letters of every script
// included.
std::string LowerCase(std::string text);

// The text without leading and trailing blanks and control characters.
std::string TrimBlanks(const std::string& text);

} // namespace orvane
