#include "taskbar/QuickLaunch.h"

#include "base/Config.h"
#include "base/Guarded.h"
#include "base/Log.h"
#include "base/Utf.h"
#include "system/FileSystem.h"
#include "system/IconLookup.h"
#include "system/ShellIcons.h"
#include "base/Win32Handles.h"
#include "widgets/ImageList.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinToolBar.h"

#include <shellapi.h>

#include <exception>

namespace orvane {

namespace {

constexpr int ButtonSize = 25;

} // namespace

void LoadQuickLaunch(TSkinToolBar& bar, TImageList& images, const std::string& folder,
                     TOwnIcons* ownIcons) {
    int k = 0;
    for (const TFolderEntry& entry : ListFolder(folder))
        AddQuickLaunchButton(bar, images, folder, entry.name, ++k, ownIcons);
    const auto& buttons = bar.Controls();
    const int firstWidth = buttons.empty() ? 0 : buttons.front()->Width();
    bar.SetWidth((firstWidth + 1) * static_cast<int>(buttons.size()) + 1);
}

TSkinSpeedButton* AddQuickLaunchButton(TSkinToolBar& bar, TImageList& images,
                                       const std::string& folder, const std::string& name, int k,
                                       TOwnIcons* ownIcons) {
    const std::string path = folder + "\\" + name;
    auto* button = NewComponent<TSkinSpeedButton>(&bar);
    button->SetFlat(bar.Flat());
    button->SetBounds(bar.Width(), 0, ButtonSize, ButtonSize);
    button->SetAlign(TAlign::Left);

    // An entry whose type has no icon gets the general program icon, so that
    // every later button's image still sits at its k + 1.
    UniqueIcon icon = GetFileIcon(path, true);
    images.AddIcon(icon ? icon.get() : LoadIconW(nullptr, IDI_APPLICATION));
    button->SetImageIndex(k + 1);
    if (ownIcons)
        ownIcons->Ask(path, true, [&images, button, k](HICON own) {
            ImageList_ReplaceIcon(images.Handle(), k + 1, own);
            button->Invalidate();
        });

    button->SetHint(path);
    button->SetParent(&bar);
    button->OnMouseDown = [](TComponent& sender, TMouseButton, TShiftState, int, int) {
        Guarded("TfrmTaskbar.QuickLaunchMouseDown", FailurePolicy::LogAndContinue,
                [&] { QuickLaunchMouseDown(static_cast<TSkinSpeedButton&>(sender)); });
    };
    return button;
}

void QuickLaunchMouseDown(TSkinSpeedButton& button) {
    const std::string& path = button.Hint();
    const std::string folder = FolderOf(path);
    ShellExecuteW(nullptr, nullptr, Wide(path).c_str(), nullptr,
                  folder.empty() ? nullptr : Wide(folder).c_str(), SW_SHOWNORMAL);
}

} // namespace orvane
