// Damaged skin files: every fault is a ShellError naming the file, never a crash.
#include <gtest/gtest.h>

#include "base/ShellError.h"
#include "skinfile/SkinContainer.h"
#include "paint/SkinData.h"
#include "skinfile/SkinPayload.h"
#include "tests/skinfile/SkinTestFiles.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <random>
#include <zlib.h>

namespace orvane {
namespace {

// The message a load of `bytes` fails with; the test fails if it loads, or
// fails with anything but a ShellError naming the source.
std::string LoadFault(const std::vector<std::uint8_t>& bytes) {
    TSkinData skin;
    try {
        skin.LoadFromBytes(bytes, "C:\\damaged\\Orvane.skn");
    } catch (const ShellError& error) {
        const std::string what = error.what();
        EXPECT_NE(what.find("C:\\damaged\\Orvane.skn"), std::string::npos) << what;
        return what;
    }
    ADD_FAILURE() << "a damaged skin of " << bytes.size() << " bytes loaded";
    return "";
}

// Loads what may or may not be a skin: success and ShellError are both fine.
void LoadAnything(const std::vector<std::uint8_t>& bytes) {
    TSkinData skin;
    try {
        skin.LoadFromBytes(bytes, "fuzz");
    } catch (const ShellError&) {
    }
}

class DamagedSkin : public testing::Test {
  protected:
    void SetUp() override {
        original = test::ReadBytes(test::InstalledSkinPath());
        ASSERT_GT(original.size(), kSkinHeaderSize + 16);
    }

    void PutU32(std::vector<std::uint8_t>& file, std::size_t offset, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            file[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
    // Makes the header's own checksum fit again after a deliberate change.
    void ResealHeader(std::vector<std::uint8_t>& file) {
        PutU32(file, kSkinHeaderCrcOffset,
               static_cast<std::uint32_t>(crc32(0, file.data(), kSkinHeaderCrcOffset)));
    }
    // The original with one header field changed and the header resealed.
    std::vector<std::uint8_t> WithField(std::size_t offset, std::uint32_t value) {
        auto file = original;
        PutU32(file, offset, value);
        ResealHeader(file);
        return file;
    }

    std::vector<std::uint8_t> original;
};

TEST_F(DamagedSkin, TruncatedOrPaddedFilesFail) {
    const std::size_t cuts[] = {0,
                                1,
                                3,
                                kSkinHeaderSize - 1,
                                kSkinHeaderSize,
                                kSkinHeaderSize + 1,
                                original.size() / 2,
                                original.size() - 4,
                                original.size() - 1};
    for (std::size_t cut : cuts)
        EXPECT_NE(LoadFault({original.begin(), original.begin() + cut}), "") << cut;
    auto padded = original;
    padded.push_back(0);
    EXPECT_NE(LoadFault(padded).find("unexpected data"), std::string::npos);
}

TEST_F(DamagedSkin, TruncatedFileOnDiskNamesThePath) {
    test::ScratchDir dir("skin");
    const std::string path = dir / "Orvane.skn";
    test::WriteBytes(path, {original.begin(), original.end() - 10});
    TSkinData skin;
    try {
        skin.LoadFromFile(path);
        ADD_FAILURE() << "a truncated file loaded";
    } catch (const ShellError& error) {
        EXPECT_NE(std::string(error.what()).find(path + ": the file is truncated"),
                  std::string::npos)
            << error.what();
    }
}

TEST_F(DamagedSkin, EveryFlippedHeaderByteFails) {
    for (std::size_t offset = 0; offset < kSkinHeaderSize; ++offset) {
        auto damaged = original;
        damaged[offset] ^= 0x01;
        std::string fault = LoadFault(damaged);
        EXPECT_NE(fault, "") << offset;
        if (offset == 0) {
            EXPECT_NE(fault.find("not a skin file"), std::string::npos) << fault;
        }
    }
}

TEST_F(DamagedSkin, AnotherFormatVersionFails) {
    auto damaged = original;
    damaged[kSkinVersionOffset] = 2;
    ResealHeader(damaged);
    EXPECT_NE(LoadFault(damaged).find("unsupported skin format version 2"), std::string::npos);
}

TEST_F(DamagedSkin, FlippedChecksumsFail) {
    for (std::size_t offset = kSkinPackedCrcOffset; offset < kSkinPayloadCrcOffset + 4; ++offset) {
        auto damaged = original;
        damaged[offset] ^= 0x80;
        ResealHeader(damaged);
        EXPECT_NE(LoadFault(damaged).find("checksum mismatch"), std::string::npos) << offset;
    }
}

// With the checksums made to fit, zlib and the payload checksum must still notice.
// The last deflated byte may hold padding bits zlib never reads, and the four
// after it are zlib's own trailer, so they are left out of the resealed case.
TEST_F(DamagedSkin, FlippedCompressedBytesFailAlsoWhenResealed) {
    for (std::size_t offset = kSkinHeaderSize; offset < original.size(); ++offset) {
        auto damaged = original;
        damaged[offset] ^= 0x10;
        EXPECT_NE(LoadFault(damaged).find("checksum mismatch"), std::string::npos) << offset;
        if (offset + 5 >= original.size())
            continue;
        PutU32(
            damaged, kSkinPackedCrcOffset,
            static_cast<std::uint32_t>(crc32(0, damaged.data() + kSkinHeaderSize,
                                             static_cast<uInt>(damaged.size() - kSkinHeaderSize))));
        ResealHeader(damaged);
        EXPECT_NE(LoadFault(damaged), "") << offset << " resealed";
    }
}

TEST_F(DamagedSkin, AbsurdOrWrongLengthsFailWithoutAllocating) {
    // 16 MiB is within the cap but no 700-byte deflate stream can hold it.
    for (std::uint32_t length : {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x01000001u, 0x01000000u})
        EXPECT_NE(
            LoadFault(WithField(kSkinPayloadSizeOffset, length)).find("absurd skin data length"),
            std::string::npos)
            << length;
    const std::uint32_t actual = static_cast<std::uint32_t>(UnpackSkinFile(original).size());
    for (std::uint32_t length : {1u, actual - 1, actual + 1})
        EXPECT_NE(LoadFault(WithField(kSkinPayloadSizeOffset, length)), "") << length;
    EXPECT_NE(LoadFault(WithField(kSkinPackedSizeOffset, 0xFFFFFFF0u)).find("truncated"),
              std::string::npos);
}

TEST_F(DamagedSkin, RandomGarbageNeverCrashes) {
    std::mt19937 random(20240611);
    for (int i = 0; i < 2000; ++i) {
        std::vector<std::uint8_t> garbage(random() % 700);
        for (auto& byte : garbage)
            byte = static_cast<std::uint8_t>(random());
        if (i % 2) // half of them get past the magic
            for (std::size_t k = 0; k < 4 && k < garbage.size(); ++k)
                garbage[k] = kSkinMagic[k];
        LoadAnything(garbage);
    }
}

TEST_F(DamagedSkin, RandomlyDamagedFilesNeverCrashOrLoad) {
    std::mt19937 random(77);
    for (int i = 0; i < 1500; ++i) {
        auto damaged = original;
        const int flips = 1 + static_cast<int>(random() % 6);
        for (int k = 0; k < flips; ++k)
            damaged[random() % damaged.size()] ^= static_cast<std::uint8_t>(1 + random() % 255);
        EXPECT_NE(LoadFault(damaged), "") << i;
    }
}

// Damage inside a correctly sealed file reaches the element decoder itself.
TEST_F(DamagedSkin, DamagedSkinDataInASoundFileNeverCrashes) {
    const std::vector<std::uint8_t> payload = UnpackSkinFile(original);
    std::mt19937 random(4242);
    int loaded = 0;
    for (int i = 0; i < 2000; ++i) {
        auto damaged = payload;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < flips; ++k)
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        TSkinData skin;
        try {
            skin.LoadFromBytes(PackSkinFile(damaged), "sealed");
            ++loaded;
        } catch (const ShellError&) {
        }
    }
    // Changed colour bytes are still a valid skin, so some must load.
    EXPECT_GT(loaded, 0);
    for (std::size_t cut = 1; cut < payload.size(); cut += 7)
        EXPECT_NE(LoadFault(PackSkinFile(std::span(payload).first(cut))), "") << cut;
}

TEST_F(DamagedSkin, BadEmbeddedBitmapsFail) {
    auto bmp = test::MakeBmp(4, 4);
    const auto good = test::CompileSkin("[panel]\nbitmap = p.bmp\n", {{"p.bmp", bmp}});
    auto payload = UnpackSkinFile(good);
    // The BMP sits whole in the payload; find it and claim a larger width.
    const auto at = std::search(payload.begin(), payload.end(), bmp.begin(), bmp.end());
    ASSERT_NE(at, payload.end());
    at[18] = 0x40; // width 64: the pixels no longer fit in the file
    EXPECT_NE(LoadFault(PackSkinFile(payload)).find("bad bitmap"), std::string::npos);
}

} // namespace
} // namespace orvane
