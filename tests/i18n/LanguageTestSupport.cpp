#include "tests/i18n/LanguageTestSupport.h"

#include "i18n/Languages.h"
#include "base/Config.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace orvane::test {

TestLanguage::TestLanguage(std::string language, const std::string& text)
    : path_(ProgramFolder() + "\\Languages\\" + language + ".lng"), previous_(CurrentLanguage()) {
    CreateDirectoryA((ProgramFolder() + "\\Languages").c_str(), nullptr);
    WriteFileText(path_, text);
    SetCurrentLanguage(language);
}

TestLanguage::~TestLanguage() {
    DeleteFileA(path_.c_str());
    SetCurrentLanguage(previous_);
}

std::string UniqueLanguageName() {
    static int counter = 0;
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    return std::string("Test_") + info->test_suite_name() + "_" + info->name() + "_" +
           std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
}

} // namespace orvane::test
