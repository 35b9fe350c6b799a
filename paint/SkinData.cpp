#include "paint/SkinData.h"

#include "base/ShellError.h"
#include "base/Utf.h"
#include "skinfile/SkinBitmap.h"
#include "skinfile/SkinContainer.h"
#include "skinfile/SkinPayload.h"

#include <cstring>

namespace orvane {

namespace {

// A compiled skin is a few kilobytes; anything near this is not one of ours.
constexpr LONGLONG kLargestSkinFile = 64ll << 20;

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    UniqueFileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw ShellError("Cannot open skin file " + path + ": " + SystemErrorText(GetLastError()));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        throw ShellError("Cannot read skin file " + path + ": " + SystemErrorText(GetLastError()));
    if (size.QuadPart > kLargestSkinFile)
        throw ShellError("Cannot load skin file " + path + ": the file is too large");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                      &got, nullptr))
            throw ShellError("Cannot read skin file " + path + ": " +
                             SystemErrorText(GetLastError()));
        if (got == 0)
            break; // shrank while we read: the checks below see a short file
        done += got;
    }
    bytes.resize(done);
    return bytes;
}

// A DIB section holding the checked BMP's pixels; needs no device context.
UniqueBitmap MakeBitmap(std::span<const std::uint8_t> bmp) {
    const SkinBitmapLayout layout = CheckSkinBitmap(bmp);
    // DWORD-backed so the BITMAPINFO is aligned whatever the file's offsets.
    std::vector<DWORD> info((sizeof(BITMAPINFOHEADER) + layout.colorCount * sizeof(RGBQUAD)) /
                            sizeof(DWORD));
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    std::memcpy(header, bmp.data() + layout.infoOffset, sizeof(BITMAPINFOHEADER));
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biSizeImage = 0;
    header->biClrUsed = static_cast<DWORD>(layout.colorCount);
    std::memcpy(header + 1, bmp.data() + layout.colorTableOffset,
                layout.colorCount * sizeof(RGBQUAD));

    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                         DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        ThrowLastError("CreateDIBSection");
    std::memcpy(bits, bmp.data() + layout.bitsOffset, layout.bitsSize);
    return bitmap;
}

} // namespace

TSkinElement::TSkinElement(SkinElementStyle style) : SkinElementStyle(std::move(style)) {
    if (!bitmap.empty())
        bitmapHandle = MakeBitmap(bitmap);
}

TSkinData::TSkinData() : builtIn_(BuiltIn()) {}

TSkinData::ElementMap TSkinData::BuiltIn() {
    ElementMap elements;
    for (std::string_view name : SkinElementNames())
        elements.emplace(std::string(name), TSkinElement(DefaultSkinElement(name)));
    return elements;
}

void TSkinData::LoadFromFile(const std::string& path) {
    LoadFromBytes(ReadWholeFile(path), path);
}

void TSkinData::LoadFromBytes(std::span<const std::uint8_t> bytes, const std::string& sourceName) {
    ElementMap elements;
    try {
        for (SkinElementStyle& style : DecodeSkinPayload(UnpackSkinFile(bytes))) {
            std::string name = style.name;
            elements.emplace(std::move(name), TSkinElement(std::move(style)));
        }
    } catch (const SkinFormatError& error) {
        throw ShellError("Cannot load skin file " + sourceName + ": " + error.what());
    } catch (const ShellError& error) {
        throw ShellError("Cannot load skin file " + sourceName + ": " + error.what());
    }
    loaded_ = std::move(elements);
    fileName_ = sourceName;
}

bool TSkinData::Contains(std::string_view name) const {
    return loaded_.find(SkinLowerCase(name)) != loaded_.end();
}

const TSkinElement& TSkinData::Element(std::string_view name) const {
    const std::string key = SkinLowerCase(name);
    if (auto found = loaded_.find(key); found != loaded_.end())
        return found->second;
    if (auto found = builtIn_.find(key); found != builtIn_.end())
        return found->second;
    return builtIn_.find("panel")->second;
}

std::vector<std::string> TSkinData::ElementNames() const {
    std::vector<std::string> names;
    for (const auto& [name, element] : loaded_)
        names.push_back(name);
    return names;
}

} // namespace orvane
