// The quick-launch bar on a small form: one button per folder entry, its image
// and hint, the bar's width, and a press that opens the entry.
#include "taskbar/QuickLaunch.h"

#include "base/Utf.h"
#include "system/IconLookup.h"
#include "system/Shortcuts.h"
#include "toolkit/Form.h"
#include "widgets/ImageList.h"
#include "widgets/SkinButton.h"
#include "widgets/SkinToolBar.h"
#include "tests/support/TestApp.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvane;
using namespace orvane::test;

namespace {

// The taskbar's part of it: a flat bar without captions or hints, 80 pixels
// wide, over an image list that holds two images of its own.
class TfrmQuickProbe : public TForm {
    ORVANE_COMPONENT(TfrmQuickProbe, TForm)
  public:
    TfrmQuickProbe(TComponent* owner, std::string name) : TForm(owner, std::move(name)) {
        SetBorderStyle(TBorderStyle::None);
    }
    void FormCreate() override {
        SetBounds(0, 0, 400, 30);
        images = NewComponent<TImageList>(this);
        for (int i = 0; i < 2; ++i)
            images->AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
        bar = NewComponent<TSkinToolBar>(this);
        bar->SetFlat(true);
        bar->SetShowHints(false);
        bar->SetImages(images);
        bar->SetBounds(0, 0, 80, 25);
        bar->SetAlign(TAlign::Left);
        bar->SetParent(this);
    }
    TSkinSpeedButton* Button(size_t i) const {
        return static_cast<TSkinSpeedButton*>(bar->Controls().at(i));
    }
    std::vector<std::string> SortedHints() const {
        std::vector<std::string> hints;
        for (TControl* control : bar->Controls())
            hints.push_back(control->Hint());
        std::sort(hints.begin(), hints.end());
        return hints;
    }

    TImageList* images = nullptr;
    TSkinToolBar* bar = nullptr;
};

struct Probe {
    TfrmQuickProbe* form = CreateForm<TfrmQuickProbe>(&App(), "frmQuickProbe");
    ~Probe() { App().FreeComponent(form); }
    void Load(const std::string& folder) { LoadQuickLaunch(*form->bar, *form->images, folder); }
};

std::string Marker() {
    return BinDir() + "\\quicklaunch_marker.exe";
}

} // namespace

TEST(QuickLaunch, OneButtonPerShortcutWithImagesAfterTheDesignedOnes) {
    ScratchDir folder("quick");
    for (const char* name : {"One.lnk", "Two.lnk", "Three.lnk"})
        CreateShortcut(Marker(), folder / name, name, "");
    Probe probe;
    probe.Load(folder.path());

    ASSERT_EQ(probe.form->bar->Controls().size(), 3u);
    EXPECT_EQ(probe.form->images->Count(), 5);
    for (size_t k = 0; k < 3; ++k) {
        TSkinSpeedButton* button = probe.form->Button(k);
        EXPECT_EQ(button->ImageIndex(), static_cast<int>(k) + 2);
        EXPECT_EQ(button->Left(), static_cast<int>(k) * 25);
        EXPECT_EQ(button->Width(), 25);
        EXPECT_TRUE(button->Flat());
        EXPECT_FALSE(button->ShowHint());
        EXPECT_EQ(button->Caption(), "");
    }
    EXPECT_EQ(
        probe.form->SortedHints(),
        (std::vector<std::string>{folder / "One.lnk", folder / "Three.lnk", folder / "Two.lnk"}));
    EXPECT_EQ(probe.form->bar->Width(), 79);
}

TEST(QuickLaunch, ANameInAnyScriptIsTheHint) {
    ScratchDir folder("quick");
    const std::string name = "Блокнот.lnk";
    CreateShortcut(Marker(), folder / name, "", "");
    Probe probe;
    probe.Load(folder.path());
    ASSERT_EQ(probe.form->bar->Controls().size(), 1u);
    EXPECT_EQ(probe.form->Button(0)->Hint(), folder / name);
    // The scratch folder's own clean-up lists names through the code page.
    DeleteFileW(Wide(folder / name).c_str());
}

TEST(QuickLaunch, HiddenFilesAndSubFoldersGetButtonsMissingFolderNone) {
    ScratchDir folder("quick");
    WriteFileText(folder / "desktop.ini", "[.ShellClassInfo]\r\n");
    SetFileAttributesA((folder / "desktop.ini").c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(CreateDirectoryA((folder / "Tools").c_str(), nullptr));
    {
        Probe probe;
        probe.Load(folder.path());
        EXPECT_EQ(probe.form->SortedHints(),
                  (std::vector<std::string>{folder / "Tools", folder / "desktop.ini"}));
        EXPECT_EQ(probe.form->images->Count(), 4);
        EXPECT_EQ(probe.form->bar->Width(), 53);
    }
    Probe probe;
    probe.Load(folder / "Missing");
    EXPECT_TRUE(probe.form->bar->Controls().empty());
    EXPECT_EQ(probe.form->images->Count(), 2);
    EXPECT_EQ(probe.form->bar->Width(), 1);
}

TEST(QuickLaunch, PressingAButtonOpensItsEntryInItsFolder) {
    // The marker writes into the folder it was started in: the test's own
    // folder unless the press names the entry's folder as the working one.
    ScratchDir folder("quick");
    ASSERT_TRUE(CopyFileA(Marker().c_str(), (folder / "Marker.exe").c_str(), FALSE));
    Probe probe;
    probe.Load(folder.path());
    ASSERT_EQ(probe.form->bar->Controls().size(), 1u);

    HWND button = probe.form->Button(0)->Handle();
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(WaitUntil([&] { return FileExists(folder / "opened.txt"); }, 20000));
    // The marker must have ended before the scratch folder goes.
    WaitUntil([&] { return DeleteFileA((folder / "Marker.exe").c_str()) != 0; }, 10000);
}

TEST(QuickLaunch, AShortcutsImageBecomesItsProgramsOwnIcon) {
    ScratchDir folder("quick");
    const std::string shell = StageDir() + "\\Orvane_Shell.exe";
    CreateShortcut(shell, folder / "Shell.lnk", "", "");
    auto pixels = [](HICON icon) {
        std::vector<COLORREF> all;
        WindowDc screen(nullptr);
        UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
        UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 16, 16));
        SelectedObject selected(dc.get(), bitmap.get());
        RECT all16{0, 0, 16, 16};
        FillRect(dc.get(), &all16, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        DrawIconEx(dc.get(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                all.push_back(GetPixel(dc.get(), x, y));
        return all;
    };
    HICON small = nullptr;
    ExtractIconExW(Wide(shell).c_str(), 0, nullptr, &small, 1);
    UniqueIcon own(small);
    Probe probe;
    TOwnIcons ownIcons;
    LoadQuickLaunch(*probe.form->bar, *probe.form->images, folder.path(), &ownIcons);
    ASSERT_EQ(probe.form->images->Count(), 3);
    EXPECT_NE(pixels(probe.form->images->Icon(2).get()), pixels(own.get()))
        << "the shortcut's type icon first";
    EXPECT_TRUE(WaitUntil(
        [&] { return pixels(probe.form->images->Icon(2).get()) == pixels(own.get()); }, 10000));
}
