#include "skinfile/SkinContainer.h"

#include "skinfile/SkinModel.h"

#include <algorithm>
#include <zlib.h>

namespace orvane {

namespace {

// deflate cannot shrink data by more than about 1032:1; a header claiming more
// is damaged, and must not make us allocate its figure.
constexpr std::uint64_t kMostInflation = 1032;

void PutU16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}
void PutU32(std::uint8_t* at, std::uint32_t value) {
    PutU16(at, static_cast<std::uint16_t>(value));
    PutU16(at + 2, static_cast<std::uint16_t>(value >> 16));
}
std::uint16_t GetU16(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}
std::uint32_t GetU32(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(GetU16(at)) | static_cast<std::uint32_t>(GetU16(at + 2))
                                                        << 16;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    // The sizes here are capped far below 4 GiB, so one call suffices.
    return static_cast<std::uint32_t>(crc32(crc32(0L, Z_NULL, 0), data, static_cast<uInt>(size)));
}

[[noreturn]] void Reject(const std::string& what) {
    throw SkinFormatError(what);
}

} // namespace

std::vector<std::uint8_t> PackSkinFile(std::span<const std::uint8_t> payload) {
    if (payload.empty() || payload.size() > kSkinMaxPayloadSize)
        Reject("skin data of " + std::to_string(payload.size()) + " bytes");
    uLongf packedSize = compressBound(static_cast<uLong>(payload.size()));
    std::vector<std::uint8_t> file(kSkinHeaderSize + packedSize);
    if (compress2(file.data() + kSkinHeaderSize, &packedSize, payload.data(),
                  static_cast<uLong>(payload.size()), Z_BEST_COMPRESSION) != Z_OK)
        Reject("the skin data cannot be compressed");
    file.resize(kSkinHeaderSize + packedSize);

    std::copy(std::begin(kSkinMagic), std::end(kSkinMagic), file.begin());
    PutU16(&file[kSkinVersionOffset], kSkinFormatVersion);
    PutU16(&file[kSkinVersionOffset + 2], 0);
    PutU32(&file[kSkinPayloadSizeOffset], static_cast<std::uint32_t>(payload.size()));
    PutU32(&file[kSkinPackedSizeOffset], static_cast<std::uint32_t>(packedSize));
    PutU32(&file[kSkinPackedCrcOffset], Crc32(file.data() + kSkinHeaderSize, packedSize));
    PutU32(&file[kSkinPayloadCrcOffset], Crc32(payload.data(), payload.size()));
    PutU32(&file[kSkinHeaderCrcOffset], Crc32(file.data(), kSkinHeaderCrcOffset));
    return file;
}

std::vector<std::uint8_t> UnpackSkinFile(std::span<const std::uint8_t> file) {
    if (file.size() < kSkinHeaderSize)
        Reject("the file is truncated (no complete header)");
    const std::uint8_t* header = file.data();
    if (!std::equal(std::begin(kSkinMagic), std::end(kSkinMagic), header))
        Reject("not a skin file");
    if (GetU32(header + kSkinHeaderCrcOffset) != Crc32(header, kSkinHeaderCrcOffset))
        Reject("the header is damaged");
    if (GetU16(header + kSkinVersionOffset) != kSkinFormatVersion ||
        GetU16(header + kSkinVersionOffset + 2) != 0)
        Reject("unsupported skin format version " +
               std::to_string(GetU16(header + kSkinVersionOffset)));

    const std::uint32_t payloadSize = GetU32(header + kSkinPayloadSizeOffset);
    const std::uint32_t packedSize = GetU32(header + kSkinPackedSizeOffset);
    const std::size_t available = file.size() - kSkinHeaderSize;
    if (packedSize > available)
        Reject("the file is truncated");
    if (packedSize < available)
        Reject("unexpected data after the skin");
    if (payloadSize == 0 || payloadSize > kSkinMaxPayloadSize ||
        payloadSize > kMostInflation * packedSize)
        Reject("absurd skin data length " + std::to_string(payloadSize));

    if (Crc32(file.data() + kSkinHeaderSize, packedSize) != GetU32(header + kSkinPackedCrcOffset))
        Reject("checksum mismatch: the compressed skin data is damaged");

    std::vector<std::uint8_t> payload(payloadSize);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        Reject("zlib cannot start inflating");
    stream.next_in = const_cast<Bytef*>(file.data() + kSkinHeaderSize);
    stream.avail_in = packedSize;
    stream.next_out = payload.data();
    stream.avail_out = payloadSize;
    const int result = inflate(&stream, Z_FINISH);
    const bool complete = result == Z_STREAM_END && stream.avail_in == 0 && stream.avail_out == 0;
    inflateEnd(&stream);
    if (!complete)
        Reject(result == Z_STREAM_END ? "the skin data has the wrong length"
                                      : "the compressed skin data is damaged");
    if (Crc32(payload.data(), payload.size()) != GetU32(header + kSkinPayloadCrcOffset))
        Reject("checksum mismatch: the skin data is damaged");
    return payload;
}

} // namespace orvane
