// A language file saved by an earlier version in the Windows code page reads
// as well as the shipped UTF-8 one.
#include "i18n/Languages.h"
#include "tests/i18n/LanguageTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;

namespace {

// The UTF-8 text in Windows-1252, the code page such files were written in.
std::string InWindows1252(const std::string& utf8) {
    const std::wstring wide = [&] {
        std::wstring text(utf8.size(), L'\0');
        text.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                        text.data(), static_cast<int>(text.size())));
        return text;
    }();
    std::string bytes(wide.size() * 2, '\0');
    bytes.resize(WideCharToMultiByte(1252, 0, wide.data(), static_cast<int>(wide.size()),
                                     bytes.data(), static_cast<int>(bytes.size()), nullptr,
                                     nullptr));
    return bytes;
}

} // namespace

TEST(LegacyLanguageFile, SingleByteGermanReadsLikeTheShippedOne) {
    const std::string shipped = ReadFileText(StageDir() + "\\Languages\\Deutsch.lng");
    const std::string legacy = InWindows1252(shipped);
    ASSERT_NE(legacy, shipped) << "the German file holds umlauts";
    TestLanguage language(UniqueLanguageName(), legacy);
    EXPECT_EQ(GetLangMessage("FileSize"), "Größe");
    EXPECT_EQ(GetLangMessage("DeleteLink"), "Verknüpfung löschen");
    EXPECT_EQ(GetLangMessage("About"), "Über Orvane Shell");
}
