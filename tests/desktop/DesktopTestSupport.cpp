#include "tests/desktop/DesktopTestSupport.h"

#include "base/Config.h"
#include "tests/support/TestApp.h"

namespace orvane::test {

DesktopFixture::DesktopFixture() : dir_("desktop"), logPath_(dir_ / "work.log") {
    for (const char* folder : {"user", "common", "links", "wallpaper"})
        CreateDirectoryA((dir_ / folder).c_str(), nullptr);
    log_ = std::make_unique<TLog>(logPath_);
    SetShellLog(log_.get());
}

DesktopFixture::~DesktopFixture() {
    Destroy();
    SetShellLog(nullptr);
}

TDesktopPlaces DesktopFixture::Places() const {
    TDesktopPlaces places;
    places.userDesktop = dir_ / "user";
    places.commonDesktop = dir_ / "common";
    places.programLinks = dir_ / "links";
    places.wallpaperFolder = dir_ / "wallpaper";
    places.configFile = dir_ / "shell.ini";
    return places;
}

TfrmDesktop& DesktopFixture::Create() {
    Destroy();
    desktop_ = CreateForm<TfrmDesktop>(&App(), Places());
    return *desktop_;
}

void DesktopFixture::Destroy() {
    if (desktop_)
        App().FreeComponent(desktop_);
    desktop_ = nullptr;
}

void DesktopFixture::SetSaved(const std::string& caption, const std::string& value) const {
    IniFile(Places().configFile).WriteString("Desktop", caption, value);
}

std::string DesktopFixture::Saved(const std::string& caption) const {
    return IniFile(Places().configFile).ReadString("Desktop", caption, "");
}

TLink* DesktopFixture::Find(const std::string& caption) const {
    if (!desktop_)
        return nullptr;
    for (TLink* link : desktop_->Links())
        if (link->ApplLable->Caption() == caption)
            return link;
    return nullptr;
}

std::string PrefixTrashFolder() {
    const std::string data = EnvVar("XDG_DATA_HOME");
    const std::string prefix = EnvVar("WINEPREFIX");
    if (data.empty() || prefix.empty() || data.rfind(prefix + "/", 0) != 0)
        return "";
    return "Z:" + data + "/Trash/files";
}

bool ScreenIs1024x768() {
    return GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768;
}

} // namespace orvane::test
