#include "tests/settings/SettingsTestSupport.h"

#include "tests/support/TestApp.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

namespace orvane::test {

SettingsFixture::SettingsFixture() : dir_("settings") {
    for (const char* folder : {"Groups", "Languages", "wallpaper"})
        CreateDirectoryA((dir_ / folder).c_str(), nullptr);
    places_.groupsFolder = dir_ / "Groups";
    places_.languagesFolder = dir_ / "Languages";
    places_.wallpaperFile = dir_ / "wallpaper\\wallpaper.bmp";
    places_.configFile = dir_ / "shell.ini";
    TSettingsHost host;
    TfrmDesktop* desktop = &desktopFixture_.Create();
    host.DesktopPicture = [desktop] { return &desktop->imgDesktop->Picture(); };
    host.DesktopPictureChanged = [desktop] { desktop->PictureChanged(); };
    host.InitGroupsMenu = [this] { ++groupsMenuRefills; };
    host.TimeFormat = [this] { return timeFormat; };
    host.SetTimeFormat = [this](const std::string& format) { timeFormat = format; };
    dialog_ = CreateForm<TfrmSettings>(&App(), std::move(host), places_);
    dialog_->ChooseGroupItem = [this] { return pickedItem; };
    dialog_->ChooseWallpaper = [this] { return pickedWallpaper; };
    dialog_->Terminate = [this] { terminated = true; };
    dialog_->ShowMessage = [this](const std::string& text) { messages.push_back(text); };
}

SettingsFixture::~SettingsFixture() {
    App().FreeComponent(dialog_);
}

void WriteSolidJpeg(const std::string& path, int width, int height, COLORREF colour) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write " + path);
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3);
    for (int x = 0; x < width; ++x) {
        row[x * 3] = GetRValue(colour);
        row[x * 3 + 1] = GetGValue(colour);
        row[x * 3 + 2] = GetBValue(colour);
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}

bool NearColour(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

} // namespace orvane::test
