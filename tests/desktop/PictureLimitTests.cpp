// Pictures from outside: a header that promises a huge picture in a tiny file
// is refused before the memory is taken.
#include "base/ShellError.h"
#include "desktop/Wallpaper.h"
#include "paint/PictureFiles.h"
#include "paint/PictureLimits.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <cstdio>
#include <jpeglib.h>

using namespace orvane;
using namespace orvane::test;

namespace {

// A real 16 x 16 JPEG, progressive or not, made by libjpeg itself.
std::string SmallJpeg(bool progressive) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = info.image_height = 16;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    unsigned char row[16 * 3];
    for (int x = 0; x < 16 * 3; ++x)
        row[x] = static_cast<unsigned char>(x * 5);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string jpeg(reinterpret_cast<char*>(buffer), size);
    free(buffer);
    return jpeg;
}

// The same picture with its frame header claiming `width` x `height`.
std::string Claiming(std::string jpeg, unsigned width, unsigned height) {
    for (size_t i = 0; i + 8 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

size_t PeakMemory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

} // namespace

TEST(PictureLimits, HostileJpegHeadersAreRefusedWithLittleMemory) {
    ScratchDir dir("jpeg");
    const size_t before = PeakMemory();
    for (bool progressive : {true, false}) {
        const std::string jpeg = SmallJpeg(progressive);
        WriteFileText(dir / "small.jpg", jpeg);
        EXPECT_EQ(DecodeJpegFile(dir / "small.jpg").width, 16);
        // Beyond the pixel limit: refused on the header alone.
        WriteFileText(dir / "huge.jpg", Claiming(jpeg, 65000, 65000));
        EXPECT_THROW(DecodeJpegFile(dir / "huge.jpg"), ShellError);
        // Within it, but the data end after a few hundred bytes: the decoder
        // stops there instead of inventing 7,000 rows.
        WriteFileText(dir / "tall.jpg", Claiming(jpeg, 7000, 7000));
        EXPECT_THROW(DecodeJpegFile(dir / "tall.jpg"), ShellError) << progressive;
    }
    EXPECT_LT(PeakMemory() - before, 64u * 1024 * 1024);
}

TEST(PictureLimits, BitmapHeadersAreCheckedBeforeLoading) {
    ScratchDir dir("bmp");
    std::vector<uint32_t> pixels(4 * 4, 0xFF336699);
    WriteBmp(dir / "small.bmp", 4, 4, pixels);
    EXPECT_NO_THROW(CheckBitmapFileSize(dir / "small.bmp"));
    std::string bmp = ReadFileText(dir / "small.bmp");
    // Width and height of the info header, little endian, 60,000 each.
    for (size_t at : {18u, 22u})
        bmp.replace(at, 4, std::string("\x60\xEA\x00\x00", 4));
    WriteFileText(dir / "huge.bmp", bmp);
    EXPECT_THROW(CheckBitmapFileSize(dir / "huge.bmp"), ShellError);
    WriteFileText(dir / "text.bmp", "not a bitmap at all, just some text");
    EXPECT_THROW(CheckBitmapFileSize(dir / "text.bmp"), ShellError);
}
