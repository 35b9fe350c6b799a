#include "base/ShellError.h"
#include "base/Utf.h"
#include "system/Shortcuts.h"
#include "base/Win32Handles.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <shlobj.h>

namespace orvane {
namespace {

// Reads back what CreateShortcut stored, through the shell-link object directly.
struct RawLink {
    std::string arguments, description;
    int showCommand = -1;
};

RawLink ReadRaw(const std::string& file) {
    ComPtr<IShellLinkW> link;
    EXPECT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkW, link.putVoid())));
    auto persist = link.as<IPersistFile>(IID_IPersistFile);
    EXPECT_TRUE(SUCCEEDED(persist->Load(Wide(file).c_str(), STGM_READ)));
    wchar_t buffer[MAX_PATH] = {};
    RawLink raw;
    link->GetArguments(buffer, MAX_PATH);
    raw.arguments = Utf8(buffer);
    buffer[0] = L'\0';
    link->GetDescription(buffer, MAX_PATH);
    raw.description = Utf8(buffer);
    link->GetShowCmd(&raw.showCommand);
    return raw;
}

void WriteRaw(const std::string& file, const std::string& target, const std::string& folder,
              int show) {
    ComPtr<IShellLinkA> link;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkA, link.putVoid())));
    link->SetPath(target.c_str());
    link->SetWorkingDirectory(folder.c_str());
    link->SetShowCmd(show);
    auto persist = link.as<IPersistFile>(IID_IPersistFile);
    ASSERT_TRUE(SUCCEEDED(persist->Save(Wide(file).c_str(), TRUE)));
}

class ShortcutTest : public testing::Test {
  protected:
    test::ScratchDir dir{"lnk"};
    std::string target = test::WindowsFolder() + "\\notepad.exe";
};

TEST_F(ShortcutTest, RoundTrip) {
    for (const auto& [description, arguments] :
         {std::pair<std::string, std::string>{"Edits text", "/p readme.txt"}, {"", ""}}) {
        SCOPED_TRACE(description);
        const std::string file = dir / (description + "Notepad.lnk");
        CreateShortcut(target, file, description, arguments);
        ASSERT_TRUE(test::FileExists(file));
        ShortcutInfo info = ResolveShortcut(file);
        EXPECT_EQ(lstrcmpiA(info.target.c_str(), target.c_str()), 0) << info.target;
        EXPECT_EQ(info.folder, "");
        EXPECT_EQ(info.showCommand, SW_SHOWNORMAL);
        RawLink raw = ReadRaw(file);
        EXPECT_EQ(raw.arguments, arguments);
        EXPECT_EQ(raw.description, description);
    }
}

TEST_F(ShortcutTest, PathsInAnyScriptRoundTrip) {
    const std::string folder = dir / "Ελληνικά 日本語";
    ASSERT_TRUE(CreateDirectoryW(Wide(folder).c_str(), nullptr));
    const std::string greekTarget = folder + "\\Πρόγραμμα 日本.txt";
    UniqueFileHandle created(CreateFileW(Wide(greekTarget).c_str(), GENERIC_WRITE, 0, nullptr,
                                         CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(created.valid());
    created.reset();
    const std::string file = folder + "\\Σύνδεσμος 日本.lnk";
    CreateShortcut(greekTarget, file, "Περιγραφή 説明", "Ωmega");
    ShortcutInfo info = ResolveShortcut(file);
    EXPECT_EQ(info.target, greekTarget);
    RawLink raw = ReadRaw(file);
    EXPECT_EQ(raw.description, "Περιγραφή 説明");
    EXPECT_EQ(raw.arguments, "Ωmega");
    // The scratch folder's own clean-up lists names through the code page.
    DeleteFileW(Wide(file).c_str());
    DeleteFileW(Wide(greekTarget).c_str());
    RemoveDirectoryW(Wide(folder).c_str());
}

TEST_F(ShortcutTest, ResolveGivesFolderAndShowCommand) {
    const std::string file = dir / "Minimised.lnk";
    WriteRaw(file, target, "C:\\windows\\temp", SW_SHOWMAXIMIZED);
    ShortcutInfo info = ResolveShortcut(file);
    EXPECT_EQ(lstrcmpiA(info.target.c_str(), target.c_str()), 0) << info.target;
    EXPECT_EQ(info.folder, "C:\\windows\\temp");
    // Wine's loader does not keep the stored show command (it reports
    // SW_SHOWNORMAL), so compare with what the link object itself reports.
    EXPECT_EQ(info.showCommand, ReadRaw(file).showCommand);
}

TEST_F(ShortcutTest, NoShortcutGivesEmptyValues) {
    const std::string text = dir / "notes.lnk";
    test::WriteFileText(text, "this is not a shortcut");
    for (const std::string& file : {text, dir / "absent.lnk"}) {
        ShortcutInfo info = ResolveShortcut(file);
        EXPECT_EQ(info.target, "") << file;
        EXPECT_EQ(info.folder, "") << file;
    }
}

TEST_F(ShortcutTest, UnsavableShortcutRaises) {
    const std::string file = dir / "no such folder\\Notepad.lnk";
    try {
        CreateShortcut(target, file, "", "");
        FAIL() << "shortcut reported as written";
    } catch (const ShellError& error) {
        EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
    }
    EXPECT_FALSE(test::FileExists(file));
}

} // namespace
} // namespace orvane
