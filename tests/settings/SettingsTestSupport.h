#pragma once
// A settings dialog over scratch folders: the groups, the languages, the
// wallpaper file and the configuration file live in one scratch folder, the
// desktop is a scratch desktop, and the start panel is a counter.
#include "settings/SettingsForm.h"
#include "tests/desktop/DesktopTestSupport.h"
#include "tests/support/TestSupport.h"

#include <optional>
#include <string>
#include <vector>

namespace orvane::test {

class SettingsFixture {
  public:
    SettingsFixture();
    ~SettingsFixture();

    TfrmSettings& dialog() { return *dialog_; }
    TfrmDesktop& desktop() { return desktopFixture_.desktop(); }
    const TSettingsPlaces& places() const { return places_; }
    std::string Group(const std::string& name) const { return places_.groupsFolder + "\\" + name; }
    std::string LogText() const { return desktopFixture_.LogText(); }

    int groupsMenuRefills = 0;
    std::string timeFormat = "d| hh:mm:ss";
    // What the file dialogs hand back next; nothing stands for Cancel.
    std::optional<std::string> pickedItem;
    std::optional<std::string> pickedWallpaper;
    bool terminated = false;
    // What the dialog told the user.
    std::vector<std::string> messages;

  private:
    ScratchDir dir_;
    DesktopFixture desktopFixture_;
    TSettingsPlaces places_;
    TfrmSettings* dialog_ = nullptr;
};

// Writes a `width` x `height` JPEG of one colour.
void WriteSolidJpeg(const std::string& path, int width, int height, COLORREF colour);
// The colour of a bitmap's pixel.
COLORREF PixelOf(HBITMAP bitmap, int x, int y);
// Whether two colours differ by at most `tolerance` in each component (JPEG).
bool NearColour(COLORREF a, COLORREF b, int tolerance = 12);

} // namespace orvane::test
