// The settings dialog's OK and Cancel: the configuration file, the clock
// pattern and the wallpaper picked on the Wallpaper page.
#include "settings/SettingsForm.h"

#include "base/Config.h"
#include "base/Guarded.h"
#include "base/Log.h"
#include "base/ShellError.h"
#include "base/Utf.h"
#include "i18n/Languages.h"
#include "settings/WallpaperPick.h"
#include "toolkit/Application.h"
#include "widgets/ComboBox.h"
#include "widgets/Image.h"

namespace orvane {

namespace {

// The profile functions read a file they cannot open as empty and report
// nothing, so the file is opened here first to tell a locked or forbidden
// configuration file from a missing one (which reads as the defaults).
void CheckFileOpens(const std::string& path, DWORD access) {
    const std::wstring wide = Wide(path);
    if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    UniqueFileHandle file(CreateFileW(wide.c_str(), access,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        ThrowLastError("Cannot open file \"" + path + "\"");
}

// The English text when the language file lacks the message.
constexpr char kWallpaperNotSaved[] =
    "The wallpaper cannot be saved as \"%s\". No setting was changed: pick another picture, "
    "or press Cancel to keep the one saved before.";

// The text of a named message, or `fallback` when the language file has none
// (the message's name would be no text for the user).
std::string MessageText(const char* name, const char* fallback, const std::string& argument) {
    std::string text = GetLangMessage(name, argument);
    if (text != name)
        return text;
    text = fallback;
    if (const size_t at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

} // namespace

void TfrmSettings::btnOKClick() {
    // A wallpaper that could not be saved keeps the dialog open, so that the
    // user can pick another picture or take the choice back with Cancel.
    if (SaveConfig())
        Hide();
}

void TfrmSettings::btnCancelClick() {
    LoadConfig();
    Hide();
}

bool TfrmSettings::SaveConfig() {
    auto logFailure = [](const std::string& message) {
        LogFailure("TfrmSettings.SaveConfig", message);
    };
    if (!GuardedReport([&] { CheckFileOpens(places_.configFile, GENERIC_READ | GENERIC_WRITE); },
                       logFailure)) {
        if (Terminate)
            Terminate();
        return false;
    }
    // The wallpaper first: when it cannot be written, no other setting of
    // this OK is stored either.
    if (!SaveWallpaper())
        return false;
    const std::string format = cbTimeFormat->Text();
    if (!GuardedReport(
            [&] {
                IniFile config(places_.configFile);
                config.WriteString("General", "Language", cbLang->Text());
                config.WriteString("Taskbar", "TimeFormat", format);
            },
            logFailure)) {
        if (Terminate)
            Terminate();
        return false;
    }
    if (host_.SetTimeFormat)
        host_.SetTimeFormat(format);
    return true;
}

bool TfrmSettings::SaveWallpaper() {
    TPicture* picture = DesktopPicture();
    if (!WallpaperChanged || !picture)
        return true;
    const bool written = GuardedReport(
        [&] {
            const std::string folder =
                places_.wallpaperFile.substr(0, places_.wallpaperFile.find_last_of('\\'));
            CreateDirectoryW(Wide(folder).c_str(), nullptr);
            WriteBmpFile(places_.wallpaperFile, BitmapPixels(picture->Bitmap()));
        },
        [](const std::string& message) { LogFailure("TfrmSettings.SaveConfig", message); });
    if (!written && ShowMessage)
        ShowMessage(MessageText("WallpaperNotSaved", kWallpaperNotSaved, places_.wallpaperFile));
    return written;
}

void TfrmSettings::LoadConfig() {
    const bool opened =
        GuardedReport([&] { CheckFileOpens(places_.configFile, GENERIC_READ); },
                      [](const std::string&) { /* reported below in the user's words */ });
    if (!opened) {
        const std::string text = GetLangMessage("ErrorOnLoad", "config");
        Guarded("TfrmSettings.LoadConfig", FailurePolicy::Silent, [&] {
            if (TLog* log = ShellLog())
                log->Add(text);
        });
        if (Application())
            Application()->MessageBox(text, Application()->Title(), MB_OK | MB_ICONWARNING);
        if (Terminate)
            Terminate();
        return;
    }
    if (WallpaperChanged)
        RestoreWallpaper();
    cbLang->SetText(IniFile(places_.configFile).ReadString("General", "Language", "English"));
}

void TfrmSettings::btnSelectWallpaperClick() {
    if (!ChooseWallpaper)
        return;
    std::optional<std::string> path = ChooseWallpaper();
    if (!path)
        return;
    UniqueBitmap bitmap = LoadPictureFile(*path);
    if (TPicture* picture = DesktopPicture(); bitmap && picture) {
        ResizeBitmap(bitmap, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        picture->AdoptBitmap(bitmap.release());
    }
    ShowDesktopWallpaper();
    RepaintDesktop();
    // Also for a file that gave no picture: OK then writes the picture the
    // desktop shows, Cancel reads the stored one back.
    WallpaperChanged = true;
}

void TfrmSettings::RestoreWallpaper() {
    TPicture* picture = DesktopPicture();
    if (!picture)
        return;
    TPicture stored;
    // A stored file that cannot be read back leaves the desktop the picture
    // it shows now rather than none.
    if (!Guarded("TfrmSettings.LoadConfig", FailurePolicy::LogAndContinue,
                 [&] { stored.LoadFromFile(places_.wallpaperFile); }) ||
        stored.Empty())
        return;
    picture->SetBitmap(stored.Bitmap());
    ShowDesktopWallpaper();
    RepaintDesktop();
}

TPicture* TfrmSettings::DesktopPicture() const {
    return host_.DesktopPicture ? host_.DesktopPicture() : nullptr;
}

void TfrmSettings::ShowDesktopWallpaper() {
    TPicture* picture = DesktopPicture();
    HBITMAP shown = picture ? picture->Bitmap() : nullptr;
    if (shown)
        imgWallpaper->Picture().SetBitmap(shown);
    else
        imgWallpaper->Picture().Clear();
}

void TfrmSettings::RepaintDesktop() {
    if (host_.DesktopPictureChanged)
        host_.DesktopPictureChanged();
}

} // namespace orvane
