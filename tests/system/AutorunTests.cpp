#include "system/Autorun.h"
#include "base/Platform.h"
#include "base/ShellError.h"
#include "system/Registry.h"
#include "system/Shortcuts.h"
#include "tests/system/AutorunFixture.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include <shlobj.h>

namespace orvane::test {
namespace {

constexpr const char* kValueName = "OrvaneAutorunTest";

class AutorunAllTest : public ::testing::Test {
  protected:
    void SetValue(HKEY root, const std::string& key, const std::string& name,
                  const std::string& value) {
        values_.push_back(std::make_unique<ScopedRegValue>(root, key, name, value));
    }
    void SetWinIniRun(const std::string& value) {
        ini_ = std::make_unique<ScopedIniValue>(WindowsFolder() + "\\win.ini", "windows", "run",
                                                value);
    }
    // A shortcut in a Startup folder that starts the recorder with `tag`.
    void AddStartupLink(int csidl, const std::string& fileName, const std::string& tag,
                        bool hidden = false) {
        auto file = std::make_unique<ScopedFile>(SpecialFolder(csidl) + "\\" + fileName);
        CreateShortcut(recorders_.RecorderPath(), file->path(), "", tag);
        if (hidden)
            SetFileAttributesA(file->path().c_str(), FILE_ATTRIBUTE_HIDDEN);
        files_.push_back(std::move(file));
    }
    void UseWindows98() { SetValue(HKEY_CURRENT_USER, kRunnerAppDefaults, "Version", "win98"); }
    bool HasValue(HKEY root, const std::string& key, const std::string& name) {
        return GetRegString(root, key, name).has_value();
    }

    RecorderFolder recorders_;

  private:
    std::vector<std::unique_ptr<ScopedRegValue>> values_;
    std::vector<std::unique_ptr<ScopedFile>> files_;
    std::unique_ptr<ScopedIniValue> ini_;
};

TEST_F(AutorunAllTest, NtLogonStartsEverySourceInOrderAndDeletesRunOnce) {
    SetValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "OrvaneOnceA", recorders_.Command("machine-once"));
    SetValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "OrvaneOnceB", recorders_.Command("machine-once"));
    SetValue(HKEY_LOCAL_MACHINE, kRunKey, kValueName, recorders_.Command("machine-run"));
    SetValue(HKEY_CURRENT_USER, kRunKey, kValueName, recorders_.Command("user-run"));
    AddStartupLink(CSIDL_STARTUP, "OrvaneUser.lnk", "user-startup");
    AddStartupLink(CSIDL_COMMON_STARTUP, "OrvaneCommon.lnk", "common-startup");
    SetValue(HKEY_CURRENT_USER, kRunOnceKey, kValueName, recorders_.Command("user-once"));
    // Policies commands are separated by blanks, so they carry no arguments.
    SetValue(HKEY_LOCAL_MACHINE, kPoliciesExplorerKey, "Run",
             recorders_.CopyAs("policy-machine1") + " " + recorders_.CopyAs("policy-machine2"));
    SetValue(HKEY_CURRENT_USER, kPoliciesExplorerKey, "Run", recorders_.CopyAs("policy-user"));
    SetWinIniRun(recorders_.CopyAs("winini"));

    ASSERT_EQ(RunRunner("autorun 0"), kPlatformNT);

    std::vector<std::string> expected = {
        "machine-once",   "machine-once", "machine-run",     "user-run",        "user-startup",
        "common-startup", "user-once",    "policy-machine1", "policy-machine2", "policy-user"};
    EXPECT_EQ(recorders_.WaitForTags(expected.size()), expected);
    EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "OrvaneOnceA"));
    EXPECT_FALSE(HasValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "OrvaneOnceB"));
    EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kRunOnceKey, kValueName));
    EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, kRunKey, kValueName));
    EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kRunKey, kValueName));
}

TEST_F(AutorunAllTest, ExplorerWasRunningStartsOnlyUserRunOnceAndKeepsIt) {
    SetValue(HKEY_LOCAL_MACHINE, kRunOnceKey, kValueName, recorders_.Command("machine-once"));
    SetValue(HKEY_LOCAL_MACHINE, kRunKey, kValueName, recorders_.Command("machine-run"));
    SetValue(HKEY_CURRENT_USER, kRunKey, kValueName, recorders_.Command("user-run"));
    AddStartupLink(CSIDL_STARTUP, "OrvaneUser.lnk", "user-startup");
    SetValue(HKEY_CURRENT_USER, kRunOnceKey, "OrvaneOnceA", recorders_.Command("user-once-a"));
    SetValue(HKEY_CURRENT_USER, kRunOnceKey, "OrvaneOnceB", recorders_.Command("user-once-b"));
    SetValue(HKEY_CURRENT_USER, kPoliciesExplorerKey, "Run", recorders_.CopyAs("policy-user"));

    ASSERT_EQ(RunRunner("autorun 1"), kPlatformNT);

    auto tags = recorders_.WaitForTags(2);
    std::sort(tags.begin(), tags.end());
    EXPECT_EQ(tags, (std::vector<std::string>{"user-once-a", "user-once-b"}));
    EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kRunOnceKey, "OrvaneOnceA"));
    EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, kRunOnceKey, "OrvaneOnceB"));
    EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, kRunOnceKey, kValueName));
}

TEST_F(AutorunAllTest, Win9xLogonUsesWinIniInsteadOfCommonStartupAndPolicies) {
    UseWindows98();
    SetValue(HKEY_LOCAL_MACHINE, kRunKey, kValueName, recorders_.Command("machine-run"));
    AddStartupLink(CSIDL_STARTUP, "OrvaneUser.lnk", "user-startup");
    AddStartupLink(CSIDL_COMMON_STARTUP, "OrvaneCommon.lnk", "common-startup");
    SetValue(HKEY_CURRENT_USER, kRunOnceKey, kValueName, recorders_.Command("user-once"));
    SetValue(HKEY_LOCAL_MACHINE, kPoliciesExplorerKey, "Run", recorders_.CopyAs("policy-machine"));
    SetValue(HKEY_CURRENT_USER, kPoliciesExplorerKey, "Run", recorders_.CopyAs("policy-user"));
    SetWinIniRun(recorders_.CopyAs("winini1") + "," + recorders_.CopyAs("winini2"));

    ASSERT_EQ(RunRunner("autorun 0"), kPlatform9x);

    std::vector<std::string> expected = {"machine-run", "user-startup", "user-once", "winini1",
                                         "winini2"};
    EXPECT_EQ(recorders_.WaitForTags(expected.size()), expected);
    EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, kRunOnceKey, kValueName));
}

TEST_F(AutorunAllTest, HiddenStartupItemsAreNotOpened) {
    AddStartupLink(CSIDL_STARTUP, "OrvaneVisible.lnk", "visible");
    AddStartupLink(CSIDL_STARTUP, "OrvaneHidden.lnk", "hidden", true);
    AddStartupLink(CSIDL_COMMON_STARTUP, "OrvaneHiddenCommon.lnk", "hidden-common", true);

    ASSERT_EQ(RunRunner("autorun 0"), kPlatformNT);

    EXPECT_EQ(recorders_.WaitForTags(1), std::vector<std::string>{"visible"});
}

// The parts that start nothing run here, in the test process itself.
class RunRegistryKeyTest : public ::testing::Test {
  protected:
    void TearDown() override { DeleteRegKey(HKEY_CURRENT_USER, kTestKey); }
    static constexpr const char* kTestKey = "Software\\OrvaneAutorunTest";
};

TEST_F(RunRegistryKeyTest, ValueThatIsNotTextRaises) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    DWORD number = 5;
    RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    RegCloseKey(key);
    EXPECT_THROW(RunRegistryKey(HKEY_CURRENT_USER, kTestKey, false), ShellError);
}

TEST_F(RunRegistryKeyTest, NamesAndTextsInAnyScriptReadAndWriteWhole) {
    UniqueRegKey key = CreateRegKey(HKEY_CURRENT_USER, kTestKey, KEY_ALL_ACCESS);
    ASSERT_TRUE(key.valid());
    // Stored by another program without its closing NUL.
    const std::wstring path = L"C:\\Программы\\日本.exe";
    RegSetValueExW(key.get(), L"Запуск", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.data()),
                   static_cast<DWORD>(path.size() * sizeof(wchar_t)));
    EXPECT_EQ(orvane::RegValueNames(key.get()), std::vector<std::string>{"Запуск"});
    EXPECT_EQ(ReadRegText(key.get(), "Запуск"), std::string("C:\\Программы\\日本.exe"));
    ASSERT_EQ(WriteRegText(key.get(), "Ελληνικά", "Ωmega ✓"), ERROR_SUCCESS);
    wchar_t stored[32] = {};
    DWORD size = sizeof stored;
    RegQueryValueExW(key.get(), L"Ελληνικά", nullptr, nullptr, reinterpret_cast<BYTE*>(stored),
                     &size);
    EXPECT_EQ(std::wstring(stored), L"Ωmega ✓");
    EXPECT_EQ(ReadRegText(key.get(), "Missing"), std::nullopt);
}

TEST_F(RunRegistryKeyTest, MissingKeyIsCreatedOnlyWhenValuesAreDeleted) {
    const std::string child = std::string(kTestKey) + "\\Once";
    RunRegistryKey(HKEY_CURRENT_USER, child, false);
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, child.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    RunRegistryKey(HKEY_CURRENT_USER, child, true);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, child.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(RunRegistryKeyTest, MissingPoliciesKeyOrValueStartsNothing) {
    RecorderFolder recorders;
    EXPECT_NO_THROW(RunForDos(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Missing"));
    // A command under another name than "Run" is not the policy's.
    SetRegString(HKEY_CURRENT_USER, kTestKey, "Other", recorders.CopyAs("not-a-policy"));
    EXPECT_NO_THROW(RunForDos(HKEY_CURRENT_USER, kTestKey));
    PumpMessagesFor(1500); // a start would have been recorded by now
    EXPECT_TRUE(recorders.Tags().empty());
}

} // namespace
} // namespace orvane::test
