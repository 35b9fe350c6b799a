#include "tests/skinfile/SkinTestFiles.h"

#include "skinfile/SkinContainer.h"
#include "skinfile/SkinPayload.h"
#include "skinfile/SkinSource.h"
#include "tests/support/TestSupport.h"

#include <stdexcept>

namespace orvane::test {

std::string InstalledSkinPath() {
    return StageDir() + "\\Skins\\Orvane.skn";
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    const std::string text = ReadFileText(path);
    return {text.begin(), text.end()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    WriteFileText(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<std::uint8_t>
CompileSkin(const std::string& source,
            const std::vector<std::pair<std::string, std::vector<std::uint8_t>>>& bitmaps) {
    const auto reader = [&](const std::string& name) {
        for (const auto& [file, bytes] : bitmaps)
            if (file == name)
                return bytes;
        throw SkinFormatError("no file " + name);
    };
    return PackSkinFile(EncodeSkinPayload(ParseSkinSource(source, "test.skin.txt", reader)));
}

namespace {
void PutU16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void PutU32(std::vector<std::uint8_t>& out, unsigned value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}
} // namespace

std::vector<std::uint8_t> MakeBmp(int width, int height) {
    const unsigned stride = (static_cast<unsigned>(width) * 3 + 3) / 4 * 4;
    const unsigned bitsSize = stride * static_cast<unsigned>(height);
    std::vector<std::uint8_t> bmp;
    bmp.push_back('B');
    bmp.push_back('M');
    PutU32(bmp, 54 + bitsSize);
    PutU32(bmp, 0);
    PutU32(bmp, 54);
    PutU32(bmp, 40);
    PutU32(bmp, static_cast<unsigned>(width));
    PutU32(bmp, static_cast<unsigned>(height));
    PutU16(bmp, 1);
    PutU16(bmp, 24);
    for (int i = 0; i < 6; ++i)
        PutU32(bmp, 0);
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) {
            bmp.push_back(200);                                 // blue
            bmp.push_back(static_cast<std::uint8_t>(row * 10)); // green
            bmp.push_back(static_cast<std::uint8_t>(x * 10));   // red
        }
        bmp.resize(bmp.size() + (stride - static_cast<unsigned>(width) * 3), 0);
    }
    return bmp;
}

} // namespace orvane::test
