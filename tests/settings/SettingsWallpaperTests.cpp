// The wallpaper page: a picked picture is stretched to the screen and shown
// on the desktop at once, written by OK and taken back by Cancel.
#include "base/Config.h"
#include "desktop/DesktopForm.h"
#include "settings/WallpaperPick.h"
#include "tests/settings/SettingsTestSupport.h"
#include "widgets/ComboBox.h"
#include "widgets/Image.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

constexpr COLORREF kRed = RGB(200, 30, 30);
constexpr COLORREF kBlue = RGB(30, 60, 200);

SIZE FileBitmapSize(const std::string& path) {
    TPicture picture;
    picture.LoadFromFile(path);
    return {picture.Width(), picture.Height()};
}

TEST(SettingsWallpaper, AJpegIsStretchedToTheScreenWrittenByOkAndTakenBackByCancel) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    SettingsFixture fixture;
    ScratchDir pictures("pictures");
    WriteSolidJpeg(pictures / "red.jpg", 800, 600, kRed);
    WriteSolidJpeg(pictures / "blue.JPEG", 640, 480, kBlue);
    TfrmSettings& dialog = fixture.dialog();
    TPicture& wallpaper = fixture.desktop().imgDesktop->Picture();

    dialog.FormShow();
    fixture.pickedWallpaper = pictures / "red.jpg";
    dialog.btnSelectWallpaperClick();
    ASSERT_FALSE(wallpaper.Empty());
    EXPECT_EQ(wallpaper.Width(), screenWidth);
    EXPECT_EQ(wallpaper.Height(), screenHeight);
    EXPECT_TRUE(NearColour(PixelOf(wallpaper.Bitmap(), screenWidth - 1, screenHeight - 1), kRed));
    EXPECT_EQ(dialog.imgWallpaper->Picture().Width(), screenWidth) << "the preview shows it";
    EXPECT_TRUE(dialog.WallpaperChanged);
    EXPECT_FALSE(FileExists(fixture.places().wallpaperFile)) << "written by OK only";

    dialog.btnOKClick();
    ASSERT_TRUE(FileExists(fixture.places().wallpaperFile));
    SIZE written = FileBitmapSize(fixture.places().wallpaperFile);
    EXPECT_EQ(written.cx, screenWidth);
    EXPECT_EQ(written.cy, screenHeight);
    EXPECT_FALSE(dialog.Visible());

    // Another pick, then Cancel: the stored picture comes back.
    dialog.FormShow();
    EXPECT_FALSE(dialog.WallpaperChanged);
    fixture.pickedWallpaper = pictures / "blue.JPEG";
    dialog.btnSelectWallpaperClick();
    EXPECT_TRUE(NearColour(PixelOf(wallpaper.Bitmap(), 10, 10), kBlue));
    dialog.btnCancelClick();
    EXPECT_TRUE(NearColour(PixelOf(wallpaper.Bitmap(), 10, 10), kRed));
    EXPECT_TRUE(NearColour(PixelOf(dialog.imgWallpaper->Picture().Bitmap(), 10, 10), kRed));

    // A file that gives no picture changes nothing but still counts as a pick.
    dialog.FormShow();
    WriteFileText(pictures / "broken.jpg", "not a picture");
    for (const char* name : {"broken.jpg", "notes.txt"}) {
        fixture.pickedWallpaper = pictures / name;
        dialog.btnSelectWallpaperClick();
        EXPECT_TRUE(NearColour(PixelOf(wallpaper.Bitmap(), 10, 10), kRed)) << name;
    }
    EXPECT_TRUE(dialog.WallpaperChanged);
}

TEST(SettingsWallpaper, TheHiddenDialogKeepsNoCopyOfThePicture) {
    SettingsFixture fixture;
    ScratchDir pictures("pictures");
    WriteSolidJpeg(pictures / "red.jpg", 320, 200, kRed);
    fixture.desktop().imgDesktop->Picture().AdoptBitmap(
        LoadPictureFile(pictures / "red.jpg").release());
    TfrmSettings& dialog = fixture.dialog();
    for (int round = 0; round < 2; ++round) {
        dialog.Show();
        ASSERT_FALSE(dialog.imgWallpaper->Picture().Empty()) << round;
        EXPECT_TRUE(NearColour(PixelOf(dialog.imgWallpaper->Picture().Bitmap(), 10, 10), kRed));
        dialog.Hide();
        EXPECT_TRUE(dialog.imgWallpaper->Picture().Empty()) << round;
    }
}

TEST(SettingsWallpaper, CancelKeepsThePictureWhenTheStoredFileCannotBeRead) {
    SettingsFixture fixture;
    ScratchDir pictures("pictures");
    WriteSolidJpeg(pictures / "blue.jpg", 320, 200, kBlue);
    WriteFileText(fixture.places().wallpaperFile, "no bitmap");
    TfrmSettings& dialog = fixture.dialog();
    dialog.FormShow();
    fixture.pickedWallpaper = pictures / "blue.jpg";
    dialog.btnSelectWallpaperClick();
    dialog.btnCancelClick();
    TPicture& wallpaper = fixture.desktop().imgDesktop->Picture();
    ASSERT_FALSE(wallpaper.Empty()) << "the desktop keeps a picture";
    EXPECT_TRUE(NearColour(PixelOf(wallpaper.Bitmap(), 5, 5), kBlue));
    EXPECT_FALSE(dialog.Visible());
    EXPECT_NE(fixture.LogText().find("TfrmSettings.LoadConfig: "), std::string::npos);
}

TEST(SettingsWallpaper, ResizeBitmapStretchesOrRefuses) {
    ScratchDir pictures("pictures");
    WriteSolidJpeg(pictures / "small.jpg", 16, 8, kRed);
    UniqueBitmap bitmap = LoadPictureFile(pictures / "small.jpg");
    ASSERT_TRUE(bitmap);
    EXPECT_TRUE(ResizeBitmap(bitmap, 100, 30));
    BITMAP info{};
    GetObjectA(bitmap.get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 100);
    EXPECT_EQ(std::abs(info.bmHeight), 30);
    EXPECT_FALSE(ResizeBitmap(bitmap, 0, 30));
    UniqueBitmap none;
    EXPECT_FALSE(ResizeBitmap(none, 10, 10));
}

} // namespace

TEST(SettingsWallpaper, OkSaysSoWhenTheWallpaperCannotBeWrittenAndStoresNothing) {
    SettingsFixture fixture;
    ScratchDir pictures("pictures");
    WriteSolidJpeg(pictures / "red.jpg", 64, 48, kRed);
    TfrmSettings& dialog = fixture.dialog();
    const IniFile config(fixture.places().configFile);

    // No picture on the desktop yet, and the pick gives none: nothing to write.
    dialog.Show();
    fixture.pickedWallpaper = pictures / "broken.jpg";
    dialog.btnSelectWallpaperClick();
    dialog.btnOKClick();
    ASSERT_EQ(fixture.messages.size(), 1u);
    EXPECT_TRUE(dialog.Visible());

    // A picture, but its folder cannot be made (a file has its name).
    const std::string folder = FolderOf(fixture.places().wallpaperFile);
    RemoveDirectoryA(folder.substr(0, folder.size() - 1).c_str());
    WriteFileText(folder.substr(0, folder.size() - 1), "in the way");
    fixture.pickedWallpaper = pictures / "red.jpg";
    dialog.btnSelectWallpaperClick();
    dialog.cbLang->SetText("Deutsch");
    dialog.cbTimeFormat->SetText("hh:mm AM/PM");
    dialog.btnOKClick();
    ASSERT_EQ(fixture.messages.size(), 2u);
    EXPECT_NE(fixture.messages[1].find(fixture.places().wallpaperFile), std::string::npos)
        << fixture.messages[1];
    EXPECT_NE(fixture.messages[1], "WallpaperNotSaved") << "a text, not the message's name";
    EXPECT_TRUE(dialog.Visible()) << "the dialog stays open";
    EXPECT_EQ(config.ReadString("General", "Language", "none"), "none") << "nothing half-saved";
    EXPECT_EQ(config.ReadString("Taskbar", "TimeFormat", "none"), "none");
    EXPECT_EQ(fixture.timeFormat, "d| hh:mm:ss");
    EXPECT_NE(fixture.LogText().find("TfrmSettings.SaveConfig: "), std::string::npos);
    EXPECT_FALSE(fixture.terminated);

    // Room for it again: the same OK stores everything and closes.
    DeleteFileA(folder.substr(0, folder.size() - 1).c_str());
    dialog.btnOKClick();
    EXPECT_FALSE(dialog.Visible());
    EXPECT_TRUE(FileExists(fixture.places().wallpaperFile));
    EXPECT_EQ(config.ReadString("General", "Language", ""), "Deutsch");
    EXPECT_EQ(fixture.timeFormat, "hh:mm AM/PM");
    EXPECT_EQ(fixture.messages.size(), 2u);
}
