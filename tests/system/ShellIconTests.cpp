#include "system/ShellIcons.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <shellapi.h>

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

TEST(GetSysIconIndex, MatchesTheSystemImageListOfTheFileType) {
    test::ScratchDir dir{"icons"};
    const std::string file = dir / "readme.txt";
    test::WriteFileText(file, "text");
    PIDLIST_ABSOLUTE item = nullptr;
    std::wstring wide(file.begin(), file.end());
    ASSERT_TRUE(SUCCEEDED(SHParseDisplayName(wide.c_str(), nullptr, &item, 0, nullptr)));

    SHFILEINFOA info{};
    ASSERT_NE(SHGetFileInfoA(file.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                             SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES),
              0u);
    EXPECT_EQ(GetSysIconIndex(item), info.iIcon);
    CoTaskMemFree(item);
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
