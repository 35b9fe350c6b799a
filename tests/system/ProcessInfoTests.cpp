#include "base/Config.h"
#include "system/ProcessInfo.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

std::string Lower(std::string text) {
    CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

class HelperWindow : public testing::Test {
  protected:
    void SetUp() override {
        path = test::BinDir() + "\\test_window.exe";
        helper = test::ChildProcess::Start("\"" + path + "\"");
        ASSERT_TRUE(test::WaitUntil(
            [&] { return !test::WindowsOfProcess(helper.id(), "OrvaneTestWindow").empty(); },
            20000));
        window = test::WindowsOfProcess(helper.id(), "OrvaneTestWindow").front();
    }

    std::string path;
    test::ChildProcess helper;
    HWND window = nullptr;
};

TEST_F(HelperWindow, ModulePathIsTheHelpersProgramFileInLowerCase) {
    std::string result = GetProcessModulePath(window);
    EXPECT_TRUE(EndsWith(result, "\\test_window.exe")) << result;
    EXPECT_EQ(result, Lower(result));
    EXPECT_EQ(result, Lower(path));
}

TEST_F(HelperWindow, ExeNameFromTheProcessList) {
    std::string result = GetProcessExeName(window);
    EXPECT_TRUE(EndsWith(result, "test_window.exe")) << result;
    EXPECT_EQ(result, Lower(result));
}

TEST(ProcessInfo, OwnWindowAndNoWindow) {
    HWND own = CreateWindowExA(0, "STATIC", "own", 0, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(GetProcessModulePath(own), Lower(ExecutablePath()));
    EXPECT_TRUE(EndsWith(GetProcessExeName(own), "system_tests.exe"));
    DestroyWindow(own);
    EXPECT_EQ(GetProcessModulePath(own), "");
    EXPECT_EQ(GetProcessExeName(own), "");
    EXPECT_EQ(GetProcessModulePath(nullptr), "");
    EXPECT_EQ(GetProcessExeName(nullptr), "");
}

} // namespace
} // namespace orvane
