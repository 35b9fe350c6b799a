#pragma once
// The quick-launch bar: one small icon button per entry of the user's Quick
// Launch folder. A press on a button opens its entry; the button's hint holds
// the entry's full path (the bar does not show hints).
#include <string>

namespace orvane {

class TImageList;
class TOwnIcons;
class TSkinSpeedButton;
class TSkinToolBar;

// Adds a button for every entry of `folder` (hidden entries and sub-folders
// included) and sizes the bar to hold them: (first button width + 1) * n + 1.
// A missing or empty folder leaves the bar 1 pixel wide. The entries' icons
// are appended to `images`, whose first two images belong to other users.
// With `ownIcons` each entry's type icon is replaced by its own one when that
// arrives; `ownIcons` must go before the bar and the images.
void LoadQuickLaunch(TSkinToolBar& bar, TImageList& images, const std::string& folder,
                     TOwnIcons* ownIcons = nullptr);

// The k-th button (counting from 1) of the bar, for folder + "\" + name: flat
// as the bar, aligned left, 25 x 25, no caption, image k + 1 (its icon is
// appended to `images`).
TSkinSpeedButton* AddQuickLaunchButton(TSkinToolBar& bar, TImageList& images,
                                       const std::string& folder, const std::string& name, int k,
                                       TOwnIcons* ownIcons = nullptr);

// Opens the button's entry with its default verb, in the entry's folder.
void QuickLaunchMouseDown(TSkinSpeedButton& button);

} // namespace orvane
