// Desktop links: captions, saved places, automatic places, layouts, drag,
// the menu's delete, shared keys, and the watcher bringing new entries.
#include "base/IniText.h"
#include "desktop/LinkPlaces.h"
#include "tests/support/PixelSurface.h"
#include "i18n/Languages.h"
#include "system/Shortcuts.h"
#include "widgets/Image.h"
#include "widgets/Menu.h"
#include "widgets/PaintBox.h"
#include "tests/desktop/DesktopTestSupport.h"
#include "tests/i18n/LanguageTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace orvane;
using namespace orvane::test;

namespace {

POINT At(const TLink& link) {
    return POINT{link.Left(), link.Top()};
}

bool Same(POINT a, POINT b) {
    return a.x == b.x && a.y == b.y;
}

} // namespace

TEST(LinkPlaces, CaptionsAndSavedValues) {
    EXPECT_EQ(LinkCaption("Mail.lnk"), "Mail");
    EXPECT_EQ(LinkCaption("notes.txt"), "notes.txt");
    EXPECT_EQ(LinkCaption(".lnk"), ".lnk");
    EXPECT_EQ(LinkCaption("a.lnk.lnk"), "a");

    TSavedPlace negative = ParseSavedPlace("-5,40");
    EXPECT_EQ(negative.left, -5);
    EXPECT_FALSE(negative.Usable());
    EXPECT_TRUE(negative.error.empty());
    TSavedPlace word = ParseSavedPlace("abc");
    EXPECT_FALSE(word.Usable());
    EXPECT_TRUE(word.error.empty()) << "no comma: no position, and nothing to log";
    TSavedPlace half = ParseSavedPlace("10,x");
    EXPECT_EQ(half.left, 10);
    EXPECT_EQ(half.top, -1);
    EXPECT_EQ(half.error, "'x' is not a valid integer value");
    TSavedPlace good = ParseSavedPlace("415,300");
    EXPECT_TRUE(good.Usable());
    EXPECT_EQ(FormatSavedPlace(good.left, good.top), "415,300");
}

TEST(DesktopLinks, EntriesGetCaptionsAndAutomaticPlaces) {
    if (!ScreenIs1024x768())
        GTEST_SKIP() << "written for a 1024 x 768 screen";
    DesktopFixture fixture;
    for (const char* name : {"Mail.lnk", "notes.txt", ".lnk", "zeta.txt"})
        WriteFileText(fixture.User(name), "");
    // Unusable saved values: the links are placed automatically, and only the
    // value with an unreadable number is logged.
    fixture.SetSaved("Mail", "-5,40");
    fixture.SetSaved("notes.txt", "abc");
    fixture.SetSaved("zeta.txt", "10,x");
    TfrmDesktop& desktop = fixture.Create();
    ASSERT_EQ(desktop.Links().size(), 4u);
    EXPECT_TRUE(fixture.Find("Mail") && fixture.Find("notes.txt") && fixture.Find(".lnk"));
    // The automatic places follow the listing order.
    const POINT expected[] = {{415, 300}, {415, 360}, {415, 420}, {874, 100}};
    for (int i = 0; i < 4; ++i) {
        TLink& link = *desktop.Links()[i];
        EXPECT_TRUE(Same(At(link), expected[i]))
            << link.ApplLable->Caption() << " at " << link.Left() << "," << link.Top();
        EXPECT_EQ(link.Small, i == 3);
        EXPECT_EQ(link.Width(), i == 3 ? 110 : 48);
        EXPECT_EQ(link.Path, fixture.User(desktop.Links()[i]->Path.substr(
                                 desktop.Links()[i]->Path.rfind('\\') + 1)));
    }
    const std::string log = fixture.LogText();
    EXPECT_NE(log.find("TfrmDesktop.AddDesktopItem: 'x' is not a valid integer value"),
              std::string::npos);
    EXPECT_EQ(log.find("'abc'"), std::string::npos);
    EXPECT_EQ(log.find("'-5'"), std::string::npos);
}

TEST(DesktopLinks, SavedPlacesLayoutsAndDragging) {
    DesktopFixture fixture;
    WriteFileText(fixture.User("Mail.lnk"), "");
    WriteFileText(fixture.User("Big.lnk"), "");
    const int width = GetSystemMetrics(SM_CXSCREEN);
    fixture.SetSaved("Mail", std::to_string(width - 150) + ",300");
    // Keys are found whatever their case, and one pair of quotes is dropped.
    fixture.SetSaved("BIG", "\"200,200\"");
    TfrmDesktop& desktop = fixture.Create();
    TLink& mail = *fixture.Find("Mail");
    TLink& big = *fixture.Find("Big");
    EXPECT_TRUE(mail.Small) << "saved at width - 150";
    EXPECT_EQ(mail.Width(), 110);
    EXPECT_FALSE(big.Small);
    EXPECT_TRUE(Same(At(big), POINT{200, 200}));
    EXPECT_EQ(desktop.Counters().small, 0);

    // Over the right-hand strip a large link turns small at once; back out
    // it turns large again where it is; at the edge itself nothing changes.
    EXPECT_TRUE(desktop.imgDesktopDragOver(big, width - 150));
    EXPECT_FALSE(big.Small);
    desktop.imgDesktopDragOver(big, width - 100);
    EXPECT_TRUE(big.Small);
    EXPECT_TRUE(Same(At(big), POINT{width - 150, 20}));
    EXPECT_EQ(big.Icon->Width(), 16);
    EXPECT_EQ(desktop.Counters().small, 1);
    desktop.imgDesktopDragOver(big, 500);
    EXPECT_FALSE(big.Small);
    EXPECT_EQ(big.Icon->Width(), 32);
    EXPECT_TRUE(Same(At(big), POINT{width - 150, 20}));

    // Mail was placed from its saved value and never counted: dragging it out
    // of the strip must not wrap the small counter round to 65535.
    desktop.imgDesktopDragOver(big, width - 100);
    desktop.Counters().small = 0;
    desktop.imgDesktopDragOver(mail, 500);
    EXPECT_EQ(desktop.Counters().small, 0);
    EXPECT_FALSE(mail.Small);

    // The drop puts the point that was held under the pointer.
    mail.PressPos = POINT{10, 5};
    desktop.DropLink(mail, POINT{300, 250});
    EXPECT_TRUE(Same(At(mail), POINT{290, 245}));
    EXPECT_EQ(fixture.Saved("Mail"), "290,245") << "saved at the drop";
}

// Answers the desktop's questions and keeps them; `meanwhile` runs while a
// question is up.
struct Answers {
    std::vector<std::string> asked;
    bool yes = false;
    std::function<void()> meanwhile;
    explicit Answers(TfrmDesktop& desktop) {
        desktop.AskYesNo = [this](const std::string& question) {
            asked.push_back(question);
            if (meanwhile)
                meanwhile();
            return yes;
        };
    }
};

TLink* LinkOf(const TfrmDesktop& desktop, const std::string& path) {
    for (TLink* link : desktop.Links())
        if (link->Path == path)
            return link;
    return nullptr;
}

const char kQueryLanguage[] = "[Messages]\r\nDeleteLinkQuery=Recycle \"%s\"?\r\n";

TEST(DesktopLinks, DeleteLinkRecyclesTheEntryTheLinkWasReadFrom) {
    const std::string trash = PrefixTrashFolder();
    if (trash.empty())
        GTEST_SKIP() << "the Recycle Bin lies outside the prefix";
    TestLanguage language(UniqueLanguageName(), kQueryLanguage);
    DesktopFixture fixture;
    WriteFileText(fixture.User("Mail.lnk"), "mail");
    WriteFileText(fixture.User("Mail.lnk.bak"), "backup");
    CreateDirectoryA(fixture.User("Games").c_str(), nullptr);
    WriteFileText(fixture.User("Games\\save.dat"), "save");
    WriteFileText(fixture.User("Games.lnk"), "games");
    TfrmDesktop& desktop = fixture.Create();
    Answers answers(desktop);
    desktop.pmDesktopPopup();
    EXPECT_EQ(desktop.pmDesktop->Items().Count(), 0) << "no link selected, no menu";

    TLink* backup = LinkOf(desktop, fixture.User("Mail.lnk.bak"));
    ASSERT_NE(backup, nullptr);
    EXPECT_EQ(backup->ApplLable->Caption(), "Mail");
    backup->SetSelected(true);
    desktop.pmDesktopPopup();
    ASSERT_EQ(desktop.pmDesktop->Items().Count(), 2);
    EXPECT_EQ(desktop.pmDesktop->Items().Items(1)->Caption, GetLangMessage("DeleteLink"));
    desktop.miDeleteLinkClick(); // answered No
    EXPECT_EQ(answers.asked, std::vector<std::string>{"Recycle \"Mail\"?"});
    EXPECT_TRUE(FileExists(fixture.User("Mail.lnk.bak")));

    answers.yes = true;
    desktop.miDeleteLinkClick();
    EXPECT_FALSE(FileExists(fixture.User("Mail.lnk.bak")));
    EXPECT_EQ(ReadFileText(fixture.User("Mail.lnk")), "mail");
    EXPECT_EQ(ReadFileText(trash + "/Mail.lnk.bak"), "backup");
    EXPECT_EQ(LinkOf(desktop, fixture.User("Mail.lnk.bak")), nullptr) << "re-read at once";

    TLink* games = LinkOf(desktop, fixture.User("Games"));
    ASSERT_TRUE(games && games->Folder);
    games->SetSelected(true);
    desktop.miDeleteLinkClick();
    EXPECT_FALSE(FileExists(fixture.User("Games")));
    EXPECT_EQ(ReadFileText(fixture.User("Games.lnk")), "games");
    EXPECT_EQ(ReadFileText(trash + "/Games/save.dat"), "save") << "the folder as one item";
}

TEST(DesktopLinks, DeleteLinkReReadsALinkWhoseEntryChangedKind) {
    if (PrefixTrashFolder().empty())
        GTEST_SKIP() << "the Recycle Bin lies outside the prefix";
    DesktopFixture fixture;
    WriteFileText(fixture.User("Tools.lnk"), "");
    WriteFileText(fixture.User("Late.lnk"), "");
    TfrmDesktop& desktop = fixture.Create();
    Answers answers(desktop);
    answers.yes = true;
    auto fileToFolder = [&](const std::string& name) {
        DeleteFileA(fixture.User(name).c_str());
        CreateDirectoryA(fixture.User(name).c_str(), nullptr);
    };
    // Changed after the links were read, before the command: no question.
    fileToFolder("Tools.lnk");
    LinkOf(desktop, fixture.User("Tools.lnk"))->SetSelected(true);
    desktop.miDeleteLinkClick();
    EXPECT_TRUE(answers.asked.empty());
    EXPECT_TRUE(FileExists(fixture.User("Tools.lnk")));
    ASSERT_NE(LinkOf(desktop, fixture.User("Tools.lnk")), nullptr);
    EXPECT_TRUE(LinkOf(desktop, fixture.User("Tools.lnk"))->Folder) << "read again";

    // Changed while the question was up: answered Yes, still nothing goes.
    answers.meanwhile = [&] { fileToFolder("Late.lnk"); };
    LinkOf(desktop, fixture.User("Late.lnk"))->SetSelected(true);
    desktop.miDeleteLinkClick();
    EXPECT_EQ(answers.asked.size(), 1u);
    EXPECT_TRUE(FileExists(fixture.User("Late.lnk")));
    EXPECT_TRUE(LinkOf(desktop, fixture.User("Late.lnk"))->Folder);
}

TEST(DesktopLinks, TwoEntriesWithOneCaptionShareAKey) {
    DesktopFixture fixture;
    WriteFileText(fixture.User("Mail.lnk"), "");
    WriteFileText(fixture.Common("Mail.lnk"), "");
    TfrmDesktop& desktop = fixture.Create();
    ASSERT_EQ(desktop.Links().size(), 2u);
    desktop.DropLink(*desktop.Links()[0], POINT{100, 100});
    desktop.DropLink(*desktop.Links()[1], POINT{600, 120});
    desktop.SaveLinks();
    EXPECT_EQ(fixture.Saved("Mail"), "600,120") << "the common folder's link is written last";
    fixture.Create();
    for (TLink* link : fixture.desktop().Links())
        EXPECT_TRUE(Same(At(*link), POINT{600, 120}));
}

TEST(DesktopLinks, WatcherShowsNewEntriesAndKeepsMovedLinks) {
    DesktopFixture fixture;
    WriteFileText(fixture.User("Mail.lnk"), "");
    TfrmDesktop& desktop = fixture.Create();
    desktop.Show();
    TLink* mail = fixture.Find("Mail");
    ASSERT_NE(mail, nullptr);
    mail->PressPos = POINT{0, 0};
    desktop.DropLink(*mail, POINT{222, 111});

    WriteFileText(fixture.User("Fresh.txt"), "");
    ASSERT_TRUE(WaitUntil([&] { return fixture.Find("Fresh.txt") != nullptr; }, 15000));
    TLink& fresh = *fixture.Find("Fresh.txt");
    // Links are part of the wallpaper's picture, and take its mouse: a press
    // selects the link under it, a press on the bare wallpaper ends that.
    HWND wallpaper = desktop.imgDesktop->Handle();
    const SIZE size{desktop.Width(), desktop.Height()};
    RECT caption = fresh.ApplLable->BoundsRect();
    OffsetRect(&caption, fresh.Left(), fresh.Top());
    auto press = [wallpaper](int x, int y) {
        SendMessageA(wallpaper, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(wallpaper, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    };
    press(caption.left + 2, caption.top + 2);
    EXPECT_TRUE(fresh.Selected());
    {
        PixelSurface shown(wallpaper, size, RGB(1, 2, 3));
        EXPECT_EQ(shown.At(caption.left + 1, caption.bottom - 2), fresh.ApplLable->Color)
            << "the selected caption's background";
    }
    press(fresh.Left() - 5, fresh.Top() - 5);
    EXPECT_FALSE(fresh.Selected());
    // A re-read must not undo the user's arrangement.
    ASSERT_NE(fixture.Find("Mail"), nullptr);
    EXPECT_TRUE(Same(At(*fixture.Find("Mail")), POINT{222, 111}));

    // The all-users folder is watched too.
    WriteFileText(fixture.Common("Shared.txt"), "");
    EXPECT_TRUE(WaitUntil([&] { return fixture.Find("Shared.txt") != nullptr; }, 15000));
    EXPECT_EQ(fixture.Find("Shared.txt")->Source, kLinkCommonDesktop);
}

TEST(DesktopLinks, ShortcutsAreReadAfterTheFirstPaint) {
    DesktopFixture fixture;
    CreateShortcut("C:\\windows\\notepad.exe", fixture.User("Pad.lnk"), "", "");
    // Named in any script: the caption and the shortcut's target as they are.
    CreateShortcut("C:\\windows\\notepad.exe", fixture.User("メモ帳 Σημειώσεις.lnk"), "", "");
    WriteFileText(fixture.User("plain.txt"), "");
    TfrmDesktop& desktop = fixture.Create();
    TLink& pad = *fixture.Find("Pad");
    EXPECT_FALSE(pad.Resolved) << "read from the message loop, after the links are shown";
    ASSERT_TRUE(
        WaitUntil([&] { return pad.Resolved && fixture.Find("plain.txt")->Resolved; }, 10000));
    EXPECT_EQ(pad.Target(), "C:\\windows\\notepad.exe");
    TLink* named = fixture.Find("メモ帳 Σημειώσεις");
    ASSERT_NE(named, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return named->Resolved; }, 10000));
    EXPECT_EQ(named->Target(), "C:\\windows\\notepad.exe");
    // The wallpaper's tooltip follows the link under the pointer.
    auto hover = [&](const TLink& link) {
        SendMessageA(desktop.imgDesktop->Handle(), WM_MOUSEMOVE, 0,
                     MAKELPARAM(link.Left() + 10, link.Top() + 10));
    };
    hover(pad);
    EXPECT_EQ(desktop.imgDesktop->Hint(), "C:\\windows\\notepad.exe");
    EXPECT_TRUE(desktop.imgDesktop->ShowHint());
    hover(*fixture.Find("plain.txt"));
    EXPECT_FALSE(desktop.imgDesktop->ShowHint()) << "no target, no tooltip";
}

namespace {

// A 1024 x 768 screen with the taskbar's 30 rows at the bottom and the
// calendar where the desktop puts it.
TLinkField Field1024x768() {
    TLinkField field;
    field.desktopWidth = 1024;
    field.screenHeight = 768;
    field.free = RECT{0, 0, 1024, 738};
    field.blocked.push_back(RECT{824, 600, 993, 761});
    return field;
}

// Footprints in the field, clear of what is blocked and of one another.
::testing::AssertionResult ApartInTheField(const std::vector<RECT>& footprints,
                                           const TLinkField& field) {
    for (size_t i = 0; i < footprints.size(); ++i) {
        const RECT& a = footprints[i];
        RECT overlap;
        if (a.left < field.free.left || a.top < field.free.top || a.right > field.free.right ||
            a.bottom > field.free.bottom)
            return ::testing::AssertionFailure()
                   << "link " << i << " at " << a.left << "," << a.top << " leaves the field";
        for (const RECT& blocked : field.blocked)
            if (IntersectRect(&overlap, &a, &blocked))
                return ::testing::AssertionFailure() << "link " << i << " at " << a.left << ","
                                                     << a.top << " is under the calendar";
        for (size_t j = 0; j < i; ++j)
            if (IntersectRect(&overlap, &a, &footprints[j]))
                return ::testing::AssertionFailure()
                       << "links " << j << " and " << i << " overlap at " << a.left << "," << a.top;
    }
    return ::testing::AssertionSuccess();
}

std::vector<RECT> FootprintsOf(const TfrmDesktop& desktop) {
    std::vector<RECT> footprints;
    for (const TLink* link : desktop.Links())
        footprints.push_back(LinkFootprint(POINT{link->Left(), link->Top()}, link->Small));
    return footprints;
}

} // namespace

TEST(LinkPlaces, AutomaticPlacesTakeTheNextFreeCellInMoreColumns) {
    TLinkField field = Field1024x768();
    TLinkCounters counters;
    std::vector<TLinkSpot> spots;
    // A first start of as many links as the screen holds apart: three in the
    // main area, the rest meant for the right-hand column, which holds only
    // so many above the calendar.
    for (int i = 0; i < 138; ++i) {
        const TLinkSpot spot =
            NextFreeLinkPlace(i < 3 ? TLinkArea::Main : TLinkArea::Column, counters, field);
        TakeLinkSpot(counters, spot);
        field.taken.push_back(LinkFootprint(spot.at, spot.small));
        spots.push_back(spot);
    }
    EXPECT_TRUE(ApartInTheField(field.taken, field));
    // The grid's first places stay where they always were.
    EXPECT_TRUE(Same(spots[0].at, POINT{415, 300}));
    EXPECT_TRUE(Same(spots[2].at, POINT{415, 420}));
    EXPECT_TRUE(Same(spots[3].at, POINT{874, 100}));
    EXPECT_TRUE(spots[3].small);
    EXPECT_TRUE(Same(spots[19].at, POINT{874, 580}))
        << "the column's last place above the calendar";
    EXPECT_TRUE(Same(spots[20].at, POINT{415, 480})) << "then the main area's next free place";
    EXPECT_FALSE(spots[20].small);
    EXPECT_TRUE(Same(spots[24].at, POINT{490, 12})) << "and its next column";
    int leftOfFirst = 0;
    for (const TLinkSpot& spot : spots)
        leftOfFirst += spot.at.x < 415;
    EXPECT_GT(leftOfFirst, 0) << "past the strip the main area goes on to the left";
    // Every place is a cell the counters know again.
    for (const TLinkSpot& spot : spots) {
        std::optional<TLinkSpot> cell = AutomaticCellAt(spot.at, field);
        ASSERT_TRUE(cell) << spot.at.x << "," << spot.at.y;
        EXPECT_EQ(cell->cell, spot.cell);
        EXPECT_EQ(cell->area, spot.area);
    }
    EXPECT_FALSE(AutomaticCellAt(POINT{416, 300}, field));

    // A full field still gives a place on the screen, clear of the calendar.
    const TLinkSpot last = NextFreeLinkPlace(TLinkArea::Main, counters, field);
    EXPECT_TRUE(ApartInTheField({LinkFootprint(last.at, last.small)}, field));
}

TEST(LinkPlaces, CaptionsTheFileCannotHoldAsKeysAreEscaped) {
    for (const char* plain : {"Mail", "100%", "a;b", "x[1]", "Σημειώσεις", "\"quoted\""})
        EXPECT_EQ(LinkPlaceKey(plain), plain) << "as files written before hold it";
    EXPECT_EQ(LinkPlaceKey("a=b"), "a%3Db");
    EXPECT_EQ(LinkPlaceKey("50%=half"), "50%25%3Dhalf");
    EXPECT_EQ(LinkPlaceKey(";notes"), "%3Bnotes");
    EXPECT_EQ(LinkPlaceKey("[Games]"), "%5BGames]");
    EXPECT_EQ(LinkPlaceKey(" two  "), "%20two %20");
    for (const char* caption : {"a=b", "50%=half", ";notes", "[Games]", " two  "}) {
        IniText text("[Desktop]\r\nMail=1,2\r\n");
        text.Set("Desktop", LinkPlaceKey(caption), "7,8");
        EXPECT_EQ(IniText(text.Text()).Find("Desktop", LinkPlaceKey(caption)), "7,8") << caption;
        EXPECT_EQ(IniText(text.Text()).Find("Desktop", "Mail"), "1,2") << caption;
    }
}

TEST(DesktopLinks, FortyLinksOfAFirstStartLieApartOnTheScreen) {
    if (!ScreenIs1024x768())
        GTEST_SKIP() << "written for a 1024 x 768 screen";
    DesktopFixture fixture;
    CopyFileA((StageDir() + "\\wallpaper\\wallpaper.jpg").c_str(),
              (fixture.Places().wallpaperFolder + "\\wallpaper.jpg").c_str(), FALSE);
    for (int i = 0; i < 40; ++i) {
        char name[32];
        snprintf(name, sizeof name, "Link %02d.txt", i);
        WriteFileText(fixture.User(name), "");
    }
    TfrmDesktop& desktop = fixture.Create();
    ASSERT_EQ(desktop.Links().size(), 40u);
    TLinkField field = Field1024x768();
    field.blocked = {desktop.pbCalendar->BoundsRect()};
    EXPECT_TRUE(ApartInTheField(FootprintsOf(desktop), field));

    // A look at it: desktop-look\forty-links.bmp in the build tree.
    desktop.Show();
    PumpMessagesFor(600);
    const std::string folder = BinDir() + "\\..\\desktop-look";
    CreateDirectoryA(folder.c_str(), nullptr);
    HDC screen = GetDC(nullptr);
    PixelSurface shot(1024, 768);
    BitBlt(shot.dc(), 0, 0, 1024, 768, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x)
            pixels.push_back(PixelSurface::ToPixel(shot.At(x, y)) | 0xFF000000u);
    WriteBmp(folder + "\\forty-links.bmp", 1024, 768, pixels);
}

TEST(DesktopLinks, NewLinksAfterARestartGoPastTheSavedOnes) {
    if (!ScreenIs1024x768())
        GTEST_SKIP() << "written for a 1024 x 768 screen";
    DesktopFixture fixture;
    // "A" comes first in the listing; the others lie on the first and third
    // automatic places, saved by an earlier run.
    for (const char* name : {"A.txt", "B.txt", "C.txt"})
        WriteFileText(fixture.User(name), "");
    fixture.SetSaved("B.txt", "415,300");
    fixture.SetSaved("C.txt", "415,420");
    TfrmDesktop& desktop = fixture.Create();
    EXPECT_TRUE(Same(At(*fixture.Find("A.txt")), POINT{415, 480}))
        << "A at " << fixture.Find("A.txt")->Left() << "," << fixture.Find("A.txt")->Top();
    EXPECT_TRUE(Same(At(*fixture.Find("B.txt")), POINT{415, 300}));
    EXPECT_EQ(desktop.Counters().large, 4);
}

TEST(DesktopLinks, LinksOffTheScreenComeBackAndCaptionsWithEqualsKeepTheirPlaces) {
    DesktopFixture fixture;
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    for (const char* name : {"Far.txt", "Wide.txt", "a=b.txt", "Home.txt"})
        WriteFileText(fixture.User(name), "");
    // Saved on a larger screen: one in its main area, one in its column.
    fixture.SetSaved("Far.txt", "300," + std::to_string(height + 300));
    fixture.SetSaved("Wide.txt", std::to_string(width + 200) + ",100");
    fixture.SetSaved("Home.txt", "415,300");
    TfrmDesktop& desktop = fixture.Create();
    const SIZE screen{width, height};
    for (const TLink* link : desktop.Links())
        EXPECT_TRUE(LinkOnScreen(POINT{link->Left(), link->Top()}, link->Small, screen))
            << link->ApplLable->Caption() << " at " << link->Left() << "," << link->Top();
    EXPECT_TRUE(fixture.Find("Wide.txt")->Small) << "back in the column it was in";
    EXPECT_FALSE(fixture.Find("Far.txt")->Small);
    TLinkField field;
    field.free = RECT{0, 0, width, height};
    EXPECT_TRUE(ApartInTheField(FootprintsOf(desktop), field));

    TLink& equals = *fixture.Find("a=b.txt");
    equals.PressPos = POINT{0, 0};
    desktop.DropLink(equals, POINT{300, 200});
    fixture.Create();
    EXPECT_TRUE(Same(At(*fixture.Find("a=b.txt")), POINT{300, 200}));
    EXPECT_TRUE(Same(At(*fixture.Find("Home.txt")), POINT{415, 300}));

    // After a change of resolution a link off the screen comes back on it.
    TLink& home = *fixture.Find("Home.txt");
    home.SetBounds(width + 40, 300, home.Width(), home.Height());
    SendMessageW(fixture.desktop().Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(width, height));
    EXPECT_TRUE(LinkOnScreen(POINT{home.Left(), home.Top()}, home.Small, screen))
        << home.Left() << "," << home.Top();
}
