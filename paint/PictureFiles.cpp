#include "paint/PictureFiles.h"

#include "base/ShellError.h"
#include "base/Utf.h"
#include "base/Win32Handles.h"
#include "paint/PictureLimits.h"

#include <windows.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

// jpeglib.h wants FILE and size_t declared first.
#include <jpeglib.h>
#include <jerror.h>

namespace orvane {

namespace {

// A header may promise any size: a picture larger than kMaxPicturePixels is
// refused before anything is decoded, and libjpeg may not take more than this
// for its own buffers (a progressive picture keeps all of its coefficients),
// so a tiny hostile file cannot claim the memory.
constexpr long kMaxDecoderMemory = 256l * 1024 * 1024;

// libjpeg's own error_exit ends the process. This one jumps back to the
// decoder, which turns the message into an exception once libjpeg's frames
// are left behind.
struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

void ReturnToDecoder(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->back, 1);
}

// Warnings (corrupt data that libjpeg can step over) stay silent, but data
// that ends early (the file, or a scan cut short by the next marker) ends
// the decoding: libjpeg would go on inventing the rest of a picture whose
// header may promise millions of rows.
void StopAtEndOfData(j_common_ptr info, int level) {
    const int code = info->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
        ReturnToDecoder(info);
}

// libjpeg's state, freed however the decoding ends: by an error, an early
// end, or an exception from the pixel buffer.
struct JpegDecoder {
    jpeg_decompress_struct info{};
    bool created = false;
    JpegDecoder() = default;
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;
    ~JpegDecoder() {
        if (created)
            jpeg_destroy_decompress(&info);
    }
};

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

// The libjpeg part: no C++ object is made between setjmp and the calls that
// may jump back, so the jump skips no destructor; the decoder and the image
// belong to the caller. Returns false with `errors->message` filled when
// libjpeg gave up or the picture is too large.
bool DecodeOpenJpeg(FILE* file, JpegDecoder* decoder, JpegErrorManager* errors, TRgbImage* image) {
    jpeg_decompress_struct& info = decoder->info;
    info.err = jpeg_std_error(&errors->pub);
    errors->pub.error_exit = ReturnToDecoder;
    errors->pub.emit_message = StopAtEndOfData;
    if (setjmp(errors->back))
        return false;
    jpeg_create_decompress(&info);
    decoder->created = true;
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (static_cast<uint64_t>(info.image_width) * info.image_height > kMaxPicturePixels) {
        snprintf(errors->message, sizeof errors->message, "picture too large (%ux%u)",
                 info.image_width, info.image_height);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image->width = static_cast<int>(info.output_width);
    image->height = static_cast<int>(info.output_height);
    const size_t stride = static_cast<size_t>(info.output_width) * 3;
    // Room for the whole picture, but rows are filled (and the memory
    // touched) only as they are decoded.
    image->rgb.reserve(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        image->rgb.resize(stride * (info.output_scanline + 1));
        JSAMPROW row = image->rgb.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

TRgbImage DecodeJpegFile(const std::string& path) {
    std::unique_ptr<FILE, FileCloser> file(_wfopen(Wide(path).c_str(), L"rb"));
    if (!file)
        throw ShellError("Cannot open file \"" + path + "\"");
    TRgbImage image;
    auto decoder = std::make_unique<JpegDecoder>();
    auto errors = std::make_unique<JpegErrorManager>();
    errors->message[0] = '\0';
    if (!DecodeOpenJpeg(file.get(), decoder.get(), errors.get(), &image))
        throw ShellError("JPEG error in \"" + path + "\": " + errors->message);
    if (image.width <= 0 || image.height <= 0)
        throw ShellError("JPEG error: no picture in \"" + path + "\"");
    return image;
}

void WriteBmpFile(const std::string& path, const TRgbImage& image) {
    const size_t stride = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
    const size_t pixelBytes = stride * image.height;
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    header.bfType = 0x4D42; // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = static_cast<DWORD>(header.bfOffBits + pixelBytes);
    info.biSize = sizeof info;
    info.biWidth = image.width;
    info.biHeight = image.height; // bottom-up, as every reader expects
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(pixelBytes);

    std::vector<uint8_t> bytes(header.bfOffBits + pixelBytes);
    memcpy(bytes.data(), &header, sizeof header);
    memcpy(bytes.data() + sizeof header, &info, sizeof info);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* source = image.rgb.data() + static_cast<size_t>(y) * image.width * 3;
        uint8_t* target = bytes.data() + header.bfOffBits + stride * (image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            target[x * 3] = source[x * 3 + 2];
            target[x * 3 + 1] = source[x * 3 + 1];
            target[x * 3 + 2] = source[x * 3];
        }
    }
    // Written beside the target and moved over it, so a failed write never
    // leaves a half bitmap that later starts would show instead of the JPEG.
    const std::string partial = path + ".part";
    {
        UniqueFileHandle file(CreateFileW(Wide(partial).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            ThrowLastError("Cannot create file \"" + path + "\"");
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) ||
            written != bytes.size()) {
            DWORD error = GetLastError();
            file.reset();
            DeleteFileW(Wide(partial).c_str());
            SetLastError(error);
            ThrowLastError("Cannot write file \"" + path + "\"");
        }
    }
    if (!MoveFileExW(Wide(partial).c_str(), Wide(path).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DWORD error = GetLastError();
        DeleteFileW(Wide(partial).c_str());
        SetLastError(error);
        ThrowLastError("Cannot write file \"" + path + "\"");
    }
}

} // namespace orvane
