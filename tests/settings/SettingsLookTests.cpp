// How the settings dialog and the about box look over the desktop with the
// start panel in, in English and in German: every text fits its control, and
// each page is captured from the screen into the build tree
// (settings-look\*.bmp) to be looked at.
#include "i18n/Languages.h"
#include "paint/Canvas.h"
#include "paint/Dib.h"
#include "paint/Skin.h"
#include "settings/AboutForm.h"
#include "startpanel/StartPanel.h"
#include "tests/i18n/LanguageTestSupport.h"
#include "tests/settings/SettingsTestSupport.h"
#include "toolkit/Timer.h"
#include "widgets/Button.h"
#include "widgets/ComboBox.h"
#include "widgets/GroupBox.h"
#include "widgets/Label.h"
#include "widgets/ListBox.h"
#include "widgets/Notebook.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

void CaptureScreen(const std::string& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    void* bits = nullptr;
    UniqueBitmap bitmap = CreateTopDownDib(width, height, &bits);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap.get());
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    std::vector<uint32_t> pixels(static_cast<uint32_t*>(bits),
                                 static_cast<uint32_t*>(bits) + width * height);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    // GDI leaves the alpha byte 0; viewers would take that as transparent.
    for (uint32_t& pixel : pixels)
        pixel |= 0xFF000000u;
    WriteBmp(path, width, height, pixels);
}

int TextWidthIn(const TFont& font, const std::string& text) {
    HDC screen = GetDC(nullptr);
    int width = 0;
    {
        TCanvas canvas(screen);
        canvas.Font = font;
        width = canvas.TextWidth(text);
    }
    ReleaseDC(nullptr, screen);
    return width;
}

// The names of the components whose text does not fit them.
void CollectCutTexts(TControl& control, std::vector<std::string>& cut) {
    const std::string& text = control.Caption();
    if (control.Is<TButton>() && TextWidthIn(control.Font, text) + 8 > control.Width())
        cut.push_back(control.Name() + " \"" + text + "\"");
    if (control.Is<TGroupBox>() && TextWidthIn(control.Font, text) + 16 > control.Width())
        cut.push_back(control.Name() + " \"" + text + "\"");
    if (control.Is<TCustomLabel>() && control.Parent() &&
        control.Left() + control.Width() > control.Parent()->ClientWidth())
        cut.push_back(control.Name() + " \"" + text + "\"");
    if (control.Is<TListBox>()) {
        auto& list = static_cast<TListBox&>(control);
        for (const std::string& line : list.Items().Lines())
            if (TextWidthIn(control.Font, line) + 6 > list.ClientWidth())
                cut.push_back(control.Name() + " \"" + line + "\"");
    }
    for (TControl* child : control.Controls())
        CollectCutTexts(*child, cut);
}

class SettingsLook : public testing::Test {
  protected:
    void SetUp() override {
        CurrentSkin().LoadFromFile(StageDir() + "\\Skins\\Orvane.skn");
        folder_ = BinDir() + "\\..\\settings-look";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }

    void Capture(const std::string& name) {
        PumpMessagesFor(400);
        CaptureScreen(folder_ + "\\" + name + ".bmp");
    }

    std::string folder_;
};

TEST_F(SettingsLook, EveryPageInEnglishAndGermanAndTheAboutBox) {
    SetCurrentLanguage("English");
    SettingsFixture fixture;
    CreateDirectoryA(fixture.Group("Tools").c_str(), nullptr);
    CreateDirectoryA(fixture.Group("Office").c_str(), nullptr);
    for (const char* group : {"Tools", "Office"})
        for (const char* item : {"\\Editor.lnk", "\\Calculator.lnk"})
            WriteFileText(fixture.Group(group) + item, "");

    TStartPanelHost host;
    host.TaskbarHeight = 26;
    host.GroupsFolder = fixture.places().groupsFolder;
    auto* panel = CreateForm<TfrmStart>(&App(), std::move(host));
    panel->SlideIn();
    for (int tick = 0; tick < 50 && panel->Left() < 0; ++tick)
        panel->trrShowStartTimer();
    panel->trrShowStart->SetEnabled(false);

    TfrmSettings& dialog = fixture.dialog();
    fixture.desktop().Show();
    dialog.Show();
    fixture.pickedWallpaper = StageDir() + "\\wallpaper\\wallpaper.jpg";
    dialog.btnSelectWallpaperClick();

    const std::pair<int, const char*> pages[] = {
        {1, "groups"}, {3, "wallpaper"}, {6, "language"}, {5, "clock"}};
    for (const char* language : {"English", "Deutsch"}) {
        std::unique_ptr<TestLanguage> shipped;
        shipped = std::make_unique<TestLanguage>(
            UniqueLanguageName(), ReadFileText(StageDir() + "\\Languages\\" + language + ".lng"));
        dialog.cbLang->SetText(CurrentLanguage());
        dialog.cbLangClick();
        std::vector<std::string> cut;
        CollectCutTexts(dialog, cut);
        EXPECT_TRUE(cut.empty()) << language << ": " << ::testing::PrintToString(cut);
        for (const auto& [line, page] : pages) {
            dialog.lbxSettings->SetItemIndex(line);
            dialog.lbxSettings->Click();
            Capture(std::string(language) + "-" + page);
        }
        auto* about = CreateForm<TfrmAbout>(&App());
        std::vector<std::string> aboutCut;
        CollectCutTexts(*about, aboutCut);
        EXPECT_TRUE(aboutCut.empty()) << language << ": " << ::testing::PrintToString(aboutCut);
        about->Show();
        Capture(std::string(language) + "-about");
        App().FreeComponent(about);
        shipped.reset();
    }
    dialog.btnCancelClick();
    App().FreeComponent(panel);
    SetCurrentLanguage("English");
}

} // namespace
