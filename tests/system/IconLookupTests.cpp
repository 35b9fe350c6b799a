// The own-icon lookup pool: shortcuts, the cache's bound, cancelled requests,
// and a GUI thread that never waits for a slow lookup.
#include "base/Utf.h"
#include "system/IconLookup.h"
#include "system/ShellIcons.h"
#include "system/Shortcuts.h"
#include "tests/support/PixelSurface.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <optional>

using namespace orvane;
using namespace orvane::test;

namespace {

// The icon drawn 16 x 16 over a fixed background, row by row.
std::vector<COLORREF> Pixels(HICON icon) {
    PixelSurface surface(16, 16);
    DrawIconEx(surface.dc(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            pixels.push_back(surface.At(x, y));
    return pixels;
}

std::string Program() {
    return EnvVar("ORVANE_STAGE") + "\\Orvane_Shell.exe";
}

UniqueIcon ProgramIcon() {
    HICON small = nullptr;
    ExtractIconExW(Wide(Program()).c_str(), 0, nullptr, &small, 1);
    return UniqueIcon(small);
}

class IconLookupTest : public ::testing::Test {
  protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    void TearDown() override { CoUninitialize(); }

    // What the lookup of `path` found, waiting for it in the message loop.
    std::optional<TIconFound> Look(TIconLookup& lookup, const std::string& path) {
        std::optional<TIconFound> result;
        TIconRequest request =
            lookup.FileIcon(path, true, [&](TIconFound& found) { result = std::move(found); });
        WaitUntil([&] { return result.has_value(); }, 10000);
        return result;
    }

    ScratchDir dir_{"icons"};
};

} // namespace

TEST_F(IconLookupTest, ShortcutShowsItsTargetsIconAndKeepsTheTypeIconWhenTheTargetIsGone) {
    TIconLookup lookup;
    CreateShortcut(Program(), dir_ / "Shell.lnk", "", "");
    UniqueIcon expected = ProgramIcon();
    ASSERT_TRUE(expected);
    std::optional<TIconFound> found = Look(lookup, dir_ / "Shell.lnk");
    ASSERT_TRUE(found && found->icon);
    EXPECT_EQ(Pixels(found->icon->get()), Pixels(expected.get()));
    EXPECT_NE(Pixels(found->icon->get()), Pixels(GetFileIcon(dir_ / "Shell.lnk", true).get()))
        << "the shortcut's type icon is another picture";

    // The icon location a shortcut names wins over its target's.
    const std::string named = EnvVar("ORVANE_STAGE") + "\\Icons\\System\\Help.ico";
    CreateShortcut(Program(), dir_ / "Named.lnk", "", "");
    {
        ComPtr<IShellLinkW> link;
        ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_IShellLinkW, link.putVoid())));
        auto file = link.as<IPersistFile>(IID_IPersistFile);
        ASSERT_TRUE(SUCCEEDED(file->Load(Wide(dir_ / "Named.lnk").c_str(), STGM_READWRITE)));
        link->SetIconLocation(Wide(named).c_str(), 0);
        ASSERT_TRUE(SUCCEEDED(file->Save(nullptr, TRUE)));
    }
    HICON help = nullptr;
    ExtractIconExW(Wide(named).c_str(), 0, nullptr, &help, 1);
    UniqueIcon helpIcon(help);
    found = Look(lookup, dir_ / "Named.lnk");
    ASSERT_TRUE(found && found->icon);
    EXPECT_EQ(Pixels(found->icon->get()), Pixels(helpIcon.get()));

    CopyFileW(Wide(Program()).c_str(), Wide(dir_ / "Gone.exe").c_str(), FALSE);
    CreateShortcut(dir_ / "Gone.exe", dir_ / "Gone.lnk", "", "");
    ASSERT_TRUE(DeleteFileW(Wide(dir_ / "Gone.exe").c_str()));
    found = Look(lookup, dir_ / "Gone.lnk");
    ASSERT_TRUE(found);
    EXPECT_FALSE(found->icon) << "no own icon: the entry keeps the shortcut type icon";
}

TEST(IconCache, BoundHoldsAfterTenThousandDistinctLookups) {
    TIconCache cache(100);
    std::weak_ptr<const UniqueIcon> first;
    for (int i = 0; i < 10000; ++i) {
        // Every hundredth entry holds a real icon: they must go when pushed out.
        SharedIcon icon = i % 100 == 0
                              ? ShareIcon(UniqueIcon(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION))))
                              : SharedIcon();
        if (i == 0)
            first = icon;
        cache.Put({"C:\\file" + std::to_string(i) + ".exe", 0, true, 7}, icon);
        ASSERT_LE(cache.Count(), 100u);
    }
    EXPECT_EQ(cache.Count(), 100u);
    EXPECT_TRUE(first.expired()) << "an icon pushed out of the cache is destroyed";
    EXPECT_TRUE(cache.Find({"C:\\file9999.exe", 0, true, 7}).has_value());
    EXPECT_FALSE(cache.Find({"C:\\file9999.exe", 0, true, 8}).has_value())
        << "a file changed since is looked up anew";
    EXPECT_FALSE(cache.Find({"C:\\file0.exe", 0, true, 7}).has_value());
}

TEST_F(IconLookupTest, CacheOfTheServiceStaysWithinItsBound) {
    TIconLookup lookup(TIconLookup::TOptions{2, 20});
    for (int i = 0; i < 60; ++i)
        CopyFileW(Wide(Program()).c_str(), Wide(dir_ / ("p" + std::to_string(i) + ".exe")).c_str(),
                  FALSE);
    std::vector<TIconRequest> requests;
    int arrived = 0;
    for (int i = 0; i < 60; ++i)
        requests.push_back(lookup.FileIcon(dir_ / ("p" + std::to_string(i) + ".exe"), true,
                                           [&](TIconFound& found) { arrived += !!found.icon; }));
    ASSERT_TRUE(WaitUntil([&] { return arrived == 60; }, 20000)) << arrived;
    EXPECT_EQ(lookup.CachedIcons(), 20u);
}

TEST_F(IconLookupTest, LookupStillRunningWhenItsEntryGoesFreesWhatItMade) {
    TIconLookup lookup;
    lookup.SetDelay(std::chrono::milliseconds(300));
    const size_t before = LiveSharedIcons();
    bool called = false;
    {
        // A window lookup (never cached) of a window of this process.
        HWND window = CreateWindowExW(0, L"STATIC", L"icon", 0, 0, 0, 10, 10, nullptr, nullptr,
                                      nullptr, nullptr);
        UniqueIcon icon(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
        TIconRequest request = lookup.WindowIcon(window, 0, [&](TIconFound&) { called = true; });
        PumpMessagesFor(50);
        ASSERT_TRUE(request.Pending());
        request.Cancel();
        EXPECT_FALSE(request.Pending());
        // The lookup finishes after its entry went.
        PumpMessagesFor(800);
        DestroyWindow(window);
    }
    EXPECT_FALSE(called);
    EXPECT_EQ(lookup.Waiting(), 0u);
    EXPECT_EQ(LiveSharedIcons(), before) << "the copied icon of the dropped lookup is freed";
}

TEST_F(IconLookupTest, WorkersStuckInLookupsGetASpareOneBeside) {
    TIconLookup lookup(TIconLookup::TOptions{1, 16});
    lookup.SetDelay(std::chrono::milliseconds(3000));
    bool second = false;
    TIconRequest first = lookup.FileIcon(Program(), true, [](TIconFound&) {});
    TIconRequest next = lookup.FileIcon(Program(), true, [&](TIconFound&) { second = true; });
    const ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(WaitUntil([&] { return second; }, 10000));
    EXPECT_LT(GetTickCount64() - start, 5000u) << "the second lookup waited for the first";
    EXPECT_EQ(lookup.Workers(), 2u);
}

TEST_F(IconLookupTest, WorkersStartWithWorkAndEndWhenIdle) {
    TIconLookup::TOptions options;
    options.idleMs = 300;
    TIconLookup lookup(options);
    EXPECT_EQ(lookup.Workers(), 0u) << "no thread before the first lookup";
    ASSERT_TRUE(Look(lookup, Program()).has_value());
    EXPECT_GE(lookup.Workers(), 1u);
    EXPECT_TRUE(WaitUntil([&] { return lookup.Workers() == 0; }, 3000)) << "idle workers stay";
    // A new lookup starts one again.
    std::optional<TIconFound> again = Look(lookup, Program());
    ASSERT_TRUE(again.has_value());
    EXPECT_TRUE(again->icon);

    // A short queue is one worker's; a long one gets the second too.
    lookup.SetDelay(std::chrono::milliseconds(100));
    std::vector<TIconRequest> requests;
    auto ask = [&](int count) {
        for (int i = 0; i < count; ++i)
            requests.push_back(lookup.FileIcon(Program(), true, [](TIconFound&) {}));
        PumpMessagesFor(50);
    };
    ask(10);
    EXPECT_EQ(lookup.Workers(), 1u);
    ask(100);
    EXPECT_EQ(lookup.Workers(), 2u);
    requests.clear();
}

TEST_F(IconLookupTest, SlowLookupsNeverHoldTheGuiThread) {
    TIconLookup lookup;
    lookup.SetDelay(std::chrono::milliseconds(200));
    std::vector<TIconRequest> requests;
    const ULONGLONG start = GetTickCount64();
    for (int i = 0; i < 1000; ++i)
        requests.push_back(lookup.FileIcon(Program(), true, [](TIconFound&) {}));
    EXPECT_LT(GetTickCount64() - start, 200u) << "asking waits for no lookup";
    // Messages keep flowing while the workers sleep.
    const HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ULONGLONG longest = 0, last = GetTickCount64();
    for (int i = 0; i < 20; ++i) {
        PostMessageW(window, WM_NULL, 0, 0);
        PumpMessagesFor(20);
        const ULONGLONG now = GetTickCount64();
        longest = std::max(longest, now - last);
        last = now;
    }
    EXPECT_LT(longest, 150u);
    DestroyWindow(window);
    requests.clear();
    EXPECT_EQ(lookup.Waiting(), 0u);
}
