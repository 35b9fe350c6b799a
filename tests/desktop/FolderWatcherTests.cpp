// The folder watchers: reports that could not be handed on are tried again,
// and a folder that goes away and comes back is watched again.
#include "desktop/FolderWatcher.h"
#include "tests/desktop/DesktopTestSupport.h"

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <vector>

using namespace orvane;
using namespace orvane::test;

namespace {

std::vector<DWORD> ThreadsOfThisProcess() {
    std::vector<DWORD> threads;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{sizeof entry};
    for (BOOL more = Thread32First(snapshot.get(), &entry); more;
         more = Thread32Next(snapshot.get(), &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            threads.push_back(entry.th32ThreadID);
    return threads;
}

} // namespace

TEST(FolderWatcher, WatchersShareOneThreadThatEndsWithTheLast) {
    ScratchDir one("watched-one"), two("watched-two");
    const std::vector<DWORD> before = ThreadsOfThisProcess();
    std::vector<DWORD> added;
    std::atomic<int> changedOne{0}, changedTwo{0};
    {
        auto counting = [](std::atomic<int>& count) {
            return [&count](TWatchReport report, DWORD) {
                count += report == TWatchReport::Changed;
                return true;
            };
        };
        TFolderWatcher first(one.path(), counting(changedOne));
        TFolderWatcher second(two.path(), counting(changedTwo));
        for (DWORD thread : ThreadsOfThisProcess())
            if (std::find(before.begin(), before.end(), thread) == before.end())
                added.push_back(thread);
        EXPECT_EQ(added.size(), 1u) << "threads made for two watchers";
        WriteFileText(two / "new.txt", "");
        EXPECT_TRUE(WaitUntil([&] { return changedTwo > 0; }, 5000));
        WriteFileText(one / "new.txt", "");
        EXPECT_TRUE(WaitUntil([&] { return changedOne > 0; }, 5000));
    }
    const std::vector<DWORD> after = ThreadsOfThisProcess();
    for (DWORD thread : added)
        EXPECT_EQ(std::count(after.begin(), after.end(), thread), 0) << "left running";
}

TEST(FolderWatcher, AReportThatCannotBeHandedOnIsTriedAgain) {
    ScratchDir folder("watched");
    std::atomic<int> tries{0}, handed{0};
    TFolderWatcher watcher(folder.path(), [&](TWatchReport report, DWORD) {
        if (report != TWatchReport::Changed)
            return true;
        // The first two posts fail, as with a full message queue.
        if (++tries <= 2)
            return false;
        ++handed;
        return true;
    });
    WriteFileText(folder / "new.txt", "");
    EXPECT_TRUE(WaitUntil([&] { return handed > 0; }, 5000)) << tries << " tries";

    // A message that could not be posted is not taken for one on its way.
    TChangeMessage message(reinterpret_cast<HWND>(0x7FFF0), WM_APP);
    EXPECT_FALSE(message.Post());
    EXPECT_FALSE(message.Post()) << "posted again, not skipped";
}

TEST(DesktopLinks, AFolderThatGoesAndComesBackIsWatchedAgain) {
    DesktopFixture fixture;
    const std::string user = fixture.Places().userDesktop;
    WriteFileText(fixture.User("Mail.txt"), "");
    fixture.Create();
    ASSERT_NE(fixture.Find("Mail.txt"), nullptr);
    auto logged = [&](const std::string& text) {
        return fixture.LogText().find(text) != std::string::npos;
    };
    const std::string stopped = "TfrmDesktop.FolderWatcher: Cannot watch \"" + user + "\"";
    const std::string resumed = "TfrmDesktop.FolderWatcher: Watching \"" + user + "\" again";

    // Renamed away, another folder of that name in its place: Wine's watch
    // went with the old one.
    ASSERT_TRUE(MoveFileA(user.c_str(), (user + "-old").c_str()));
    CreateDirectoryA(user.c_str(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return logged(resumed); }, 10000)) << fixture.LogText();
    EXPECT_TRUE(logged(stopped));
    EXPECT_EQ(fixture.Find("Mail.txt"), nullptr) << "the new folder's links";
    WriteFileText(fixture.User("Fresh.txt"), "");
    EXPECT_TRUE(WaitUntil([&] { return fixture.Find("Fresh.txt") != nullptr; }, 10000));

    // Missing when the desktop starts: watched once it is there. (A watched
    // folder that is deleted stays under Wine until the watch lets it go.)
    fixture.Destroy();
    RemoveTree(user);
    fixture.Create();
    ASSERT_TRUE(WaitUntil(
        [&] { return CountLinesWith(SplitLines(fixture.LogText()), "Cannot watch") >= 2; }, 5000));
    CreateDirectoryA(user.c_str(), nullptr);
    WriteFileText(fixture.User("Back.txt"), "");
    EXPECT_TRUE(WaitUntil([&] { return fixture.Find("Back.txt") != nullptr; }, 10000))
        << fixture.LogText();
}
