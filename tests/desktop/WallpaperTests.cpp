// The wallpaper: the JPEG seeds the bitmap once; a broken or missing picture
// is an error the desktop logs, and its folder watchers run all the same.
#include "base/ShellError.h"
#include "desktop/Backdrop.h"
#include "desktop/Wallpaper.h"
#include "paint/Dib.h"
#include "paint/PictureFiles.h"
#include "tests/desktop/DesktopTestSupport.h"
#include "widgets/Image.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

std::string ShippedJpeg() {
    return StageDir() + "\\wallpaper\\wallpaper.jpg";
}

// What a desktop of `size` shows of `picture`: its backdrop painted whole.
std::vector<uint32_t> ShownPixels(TBackdrop& backdrop, const TPicture& picture, SIZE size) {
    void* bits = nullptr;
    UniqueBitmap target = CreateTopDownDib(size.cx, size.cy, &bits);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    {
        SelectedObject selected(dc.get(), target.get());
        backdrop.Paint(dc.get(), picture, size);
    }
    const auto* pixels = static_cast<const uint32_t*>(bits);
    return std::vector<uint32_t>(pixels, pixels + static_cast<size_t>(size.cx) * size.cy);
}

} // namespace

TEST(Wallpaper, TheJpegSeedsTheBitmapOnce) {
    ScratchDir dir("wallpaper");
    ASSERT_TRUE(CopyFileA(ShippedJpeg().c_str(), (dir / "wallpaper.jpg").c_str(), FALSE));
    TPicture first;
    LoadWallpaper(first, dir.path());
    ASSERT_TRUE(FileExists(dir / "wallpaper.bmp"));
    EXPECT_GT(first.Width(), 0);
    EXPECT_FALSE(FileExists(dir / "wallpaper.bmp.part"));

    // Later starts read the bitmap and never look at the JPEG again.
    WriteFileText(dir / "wallpaper.jpg", "not a picture");
    TPicture second;
    LoadWallpaper(second, dir.path());
    EXPECT_EQ(second.Width(), first.Width());
    EXPECT_EQ(second.Height(), first.Height());
}

TEST(Wallpaper, BrokenJpegsAreErrorsNotTheEndOfTheProcess) {
    ScratchDir dir("wallpaper");
    const std::string jpeg = ReadFileText(ShippedJpeg());
    ASSERT_GT(jpeg.size(), 1000u);
    // Not a JPEG at all, cut off inside its header, and a header with junk
    // in place of its tables: each raises, none ends the process.
    std::string junk = jpeg.substr(0, 20) + std::string(600, '\x5a');
    for (const std::string& content : {std::string("plain text"), jpeg.substr(0, 150), junk}) {
        WriteFileText(dir / "broken.jpg", content);
        EXPECT_THROW(DecodeJpegFile(dir / "broken.jpg"), ShellError);
    }
    EXPECT_THROW(DecodeJpegFile(dir / "missing.jpg"), ShellError);
    TRgbImage image = DecodeJpegFile(ShippedJpeg());
    EXPECT_EQ(image.rgb.size(), static_cast<size_t>(image.width) * image.height * 3);
}

TEST(Wallpaper, ACorruptOrMissingWallpaperLeavesTheColourAndTheWatchers) {
    for (bool corrupt : {true, false}) {
        DesktopFixture fixture;
        if (corrupt)
            WriteFileText(fixture.Places().wallpaperFolder + "\\wallpaper.jpg", "\xff\xd8junk");
        TfrmDesktop& desktop = fixture.Create();
        EXPECT_TRUE(desktop.imgDesktop->Picture().Empty());
        EXPECT_TRUE(desktop.Watching()) << "links must still follow their folders";
        EXPECT_NE(fixture.LogText().find("TfrmDesktop.FormCreate: "), std::string::npos);
        EXPECT_FALSE(FileExists(fixture.Places().wallpaperFolder + "\\wallpaper.bmp"));
        EXPECT_EQ(desktop.Color(), RGB(48, 91, 139));
    }
}

TEST(Wallpaper, OnlyThePictureAsTheDesktopShowsItIsKeptAndItLooksTheSame) {
    ScratchDir dir("wallpaper");
    ASSERT_TRUE(CopyFileA(ShippedJpeg().c_str(), (dir / "wallpaper.jpg").c_str(), FALSE));
    TPicture whole;
    LoadWallpaper(whole, dir.path());
    const SIZE desktop{640, 479};
    ASSERT_NE(whole.Width(), desktop.cx);

    TPicture kept;
    LoadWallpaper(kept, dir.path(), desktop);
    EXPECT_EQ(kept.Width(), desktop.cx);
    EXPECT_EQ(kept.Height(), desktop.cy);
    // Kept in three bytes a pixel, with the colours a 32-bit stretch gives.
    BITMAP facts{};
    ASSERT_TRUE(GetObjectW(kept.Bitmap(), sizeof facts, &facts));
    EXPECT_EQ(facts.bmBitsPixel, 24);
    {
        void* bits = nullptr;
        UniqueBitmap wide = CreateTopDownDib(desktop.cx, desktop.cy, &bits);
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr)), source(CreateCompatibleDC(nullptr));
        SelectedObject selected(dc.get(), wide.get()), picked(source.get(), whole.Bitmap());
        SetStretchBltMode(dc.get(), HALFTONE);
        SetBrushOrgEx(dc.get(), 0, 0, nullptr);
        StretchBlt(dc.get(), 0, 0, desktop.cx, desktop.cy, source.get(), 0, 0, whole.Width(),
                   whole.Height(), SRCCOPY);
        GdiFlush();
        TBackdrop shown(RGB(48, 91, 139));
        const std::vector<uint32_t> pixels = ShownPixels(shown, kept, desktop);
        const auto* wanted = static_cast<const uint32_t*>(bits);
        size_t differing = 0;
        for (size_t i = 0; i < pixels.size(); ++i)
            differing += (pixels[i] & 0xFFFFFF) != (wanted[i] & 0xFFFFFF);
        EXPECT_EQ(differing, 0u) << "of " << pixels.size();
    }
    // The file keeps the picture's own size.
    TPicture stored;
    stored.LoadFromFile(dir / "wallpaper.bmp");
    EXPECT_EQ(stored.Width(), whole.Width());

    // The desktop shows the same pixels, and with a picture of its own size
    // it keeps no second copy.
    TBackdrop fromWhole(RGB(48, 91, 139)), fromKept(RGB(48, 91, 139));
    const std::vector<uint32_t> expected = ShownPixels(fromWhole, whole, desktop);
    EXPECT_TRUE(fromWhole.HoldsCopy());
    EXPECT_TRUE(ShownPixels(fromKept, kept, desktop) == expected);
    EXPECT_FALSE(fromKept.HoldsCopy());
    // Another size of desktop: a stretched copy again.
    ShownPixels(fromKept, kept, SIZE{320, 240});
    EXPECT_TRUE(fromKept.HoldsCopy());
}
