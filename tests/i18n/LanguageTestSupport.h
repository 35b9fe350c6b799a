#pragma once
// Language files written beside the test executable, where the shell looks for
// them, and the application object the test forms belong to.
#include "tests/support/TestApp.h"

#include <string>

namespace orvane::test {

// Writes <program folder>\Languages\<language>.lng and makes it the current
// language; the file goes and the former language comes back at the end.
class TestLanguage {
  public:
    TestLanguage(std::string language, const std::string& text);
    TestLanguage(const TestLanguage&) = delete;
    TestLanguage& operator=(const TestLanguage&) = delete;
    ~TestLanguage();

  private:
    std::string path_;
    std::string previous_;
};

// A new language name at each call, so the system's profile cache never hands
// out an earlier file's contents.
std::string UniqueLanguageName();

} // namespace orvane::test
