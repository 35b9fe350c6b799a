#include "base/Utf.h"
#include "system/ShellIcons.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <vector>

namespace orvane {
namespace {

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return SIZE{0, 0};
    UniqueBitmap mask(info.hbmMask), color(info.hbmColor);
    BITMAP bitmap{};
    GetObjectA(mask.get(), sizeof bitmap, &bitmap);
    // Without a colour bitmap the mask holds the AND and XOR halves one above the other.
    return SIZE{bitmap.bmWidth, color ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

SIZE BitmapSize(HBITMAP handle) {
    BITMAP bitmap{};
    EXPECT_NE(GetObjectA(handle, sizeof bitmap, &bitmap), 0);
    return SIZE{bitmap.bmWidth, bitmap.bmHeight};
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectedObject selected(dc.get(), bitmap);
    return GetPixel(dc.get(), x, y);
}

// A solid, fully opaque icon of one colour.
UniqueIcon SolidIcon(int size, COLORREF color) {
    WindowDc screen(nullptr);
    UniqueBitmap image(CreateCompatibleBitmap(screen.get(), size, size));
    UniqueBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    RECT all{0, 0, size, size};
    {
        SelectedObject selected(dc.get(), image.get());
        UniqueBrush brush(CreateSolidBrush(color));
        FillRect(dc.get(), &all, brush.get());
    }
    {
        SelectedObject selected(dc.get(), mask.get());
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    ICONINFO info{TRUE, 0, 0, mask.get(), image.get()};
    return UniqueIcon(CreateIconIndirect(&info));
}

TEST(GetFileIcon, RegisteredIconOfAFileType) {
    // The file need not exist: the icon is the one of its type.
    UniqueIcon small = GetFileIcon("C:\\no such folder\\program.exe", true);
    UniqueIcon large = GetFileIcon("C:\\no such folder\\program.exe", false);
    ASSERT_TRUE(small);
    ASSERT_TRUE(large);
    EXPECT_EQ(IconSize(small.get()).cx, GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(IconSize(large.get()).cx, GetSystemMetrics(SM_CXICON));
}

// What the platform's own file information shows, drawn on white.
std::vector<COLORREF> PixelsOf(HICON icon) {
    WindowDc screen(nullptr);
    UniqueBitmap image(CreateCompatibleBitmap(screen.get(), 32, 32));
    UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    SelectedObject selected(dc.get(), image.get());
    RECT all{0, 0, 32, 32};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc.get(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            pixels.push_back(GetPixel(dc.get(), x, y));
    return pixels;
}

std::vector<COLORREF> PlatformIcon(const std::wstring& path, UINT flags) {
    SHFILEINFOW info{};
    SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_ICON | flags);
    UniqueIcon icon(info.hIcon);
    return PixelsOf(icon.get());
}

TEST(ShellIcons, SameIconsAsThePlatformsFileInformation) {
    test::ScratchDir dir{"icons"};
    const std::string text = dir / "readme.txt";
    test::WriteFileText(text, "text");
    const std::string program = test::BinDir() + "\\Orvane_Shell.exe";
    for (const bool small : {true, false}) {
        const UINT size = small ? SHGFI_SMALLICON : 0u;
        SCOPED_TRACE(small ? "small" : "large");
        // A type's icon (the document icon is the shell's first), and a
        // program that carries its own.
        EXPECT_EQ(PixelsOf(GetFileIcon(text, small).get()),
                  PlatformIcon(Wide(text), size | SHGFI_USEFILEATTRIBUTES));
        EXPECT_EQ(PixelsOf(GetFileIcon("C:\\nowhere\\file.unknowntype", small).get()),
                  PlatformIcon(L"C:\\nowhere\\file.unknowntype", size | SHGFI_USEFILEATTRIBUTES));
        EXPECT_EQ(PixelsOf(GetPathIcon(program, small).get()), PlatformIcon(Wide(program), size));
        EXPECT_EQ(PixelsOf(GetPathIcon("C:\\", small).get()), PlatformIcon(L"C:\\", size));
        EXPECT_EQ(PixelsOf(GetPathIcon(dir.path(), small).get()),
                  PlatformIcon(Wide(dir.path()), size));
    }
    EXPECT_FALSE(GetPathIcon(dir / "missing.txt", true));
}

TEST(IconToBitmap, SixteenBySixteenWithTheIconDrawnOrBlank) {
    UniqueIcon icon = SolidIcon(16, RGB(255, 0, 0));
    ASSERT_TRUE(icon);
    UniqueIcon shellIcon = GetFileIcon("program.exe", true);
    UniqueBitmap bitmap = IconToBitmap(icon.get()), fromShell = IconToBitmap(shellIcon.get()),
                 blank = IconToBitmap(nullptr);
    for (HBITMAP made : {bitmap.get(), fromShell.get(), blank.get()}) {
        ASSERT_TRUE(made);
        SIZE size = BitmapSize(made);
        EXPECT_EQ(size.cx, 16);
        EXPECT_EQ(size.cy, 16);
    }
    EXPECT_EQ(PixelOf(bitmap.get(), 8, 8), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(bitmap.get(), 0, 15), RGB(255, 0, 0));
    // The icon stays usable: it belongs to the caller.
    EXPECT_EQ(IconSize(icon.get()).cx, 16);
    EXPECT_EQ(PixelOf(blank.get(), 8, 8), RGB(255, 255, 255));
}

} // namespace
} // namespace orvane
