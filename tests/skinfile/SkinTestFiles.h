#pragma once
// Skin files for the tests: the installed one, and ones written here.
#include "skinfile/SkinModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::test {

// The program folder's skin, as installed by the build.
std::string InstalledSkinPath();

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Source text compiled the way the build compiles it; bitmaps come from `bitmaps`.
std::vector<std::uint8_t>
CompileSkin(const std::string& source,
            const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& bitmaps = {});

// A bottom-up 24-bit BMP file whose pixel (x, y) is RGB(x * 10, y * 10, 200).
std::vector<std::uint8_t> MakeBmp(int width, int height);

} // namespace orvane::test
