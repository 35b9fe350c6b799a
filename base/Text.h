#pragma once
// Text helpers shared by the layers above.
#include <string>

namespace orvane {

// `text` in lower case as the system compares names, letters of every script
// included.
std::string LowerCase(std::string text);

} // namespace orvane
