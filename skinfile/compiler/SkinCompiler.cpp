// orvane-skinc SOURCE OUTPUT: compiles the readable skin source into the
// compressed skin file the shell loads. Built for the build machine, so it
// shares the format code but nothing that needs Windows.
#include "skinfile/SkinContainer.h"
#include "skinfile/SkinPayload.h"
#include "skinfile/SkinSource.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw orvane::SkinFormatError("cannot open " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Written beside the target and renamed, so an interrupted build never leaves
// a half-written skin that looks up to date.
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            throw orvane::SkinFormatError("cannot write " + temporary.string());
    }
    std::filesystem::rename(temporary, path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: orvane-skinc SOURCE OUTPUT\n");
        return 2;
    }
    try {
        const std::filesystem::path source = argv[1];
        const std::vector<std::uint8_t> text = ReadBytes(source);
        const auto elements = orvane::ParseSkinSource(
            std::string_view(reinterpret_cast<const char*>(text.data()), text.size()),
            source.filename().string(),
            [&](const std::string& name) { return ReadBytes(source.parent_path() / name); });
        WriteBytes(argv[2], orvane::PackSkinFile(orvane::EncodeSkinPayload(elements)));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "orvane-skinc: %s\n", error.what());
        return 1;
    }
    return 0;
}
