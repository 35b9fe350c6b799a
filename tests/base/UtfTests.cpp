#include "base/Utf.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(Utf, NamesInEveryScriptRoundTrip) {
    for (const char* text : {"日本.txt", "Привет", "ελληνικά", "📁 Mail", "Größe", ""}) {
        const std::wstring wide = Wide(text);
        EXPECT_EQ(Utf8(wide), text);
    }
    EXPECT_EQ(Wide("Ω"), L"\u03A9");
    EXPECT_EQ(Wide("📁"), std::wstring(L"\xD83D\xDCC1"));
}

TEST(Utf, FixedBuffersStopAtTheirEndOrFirstNul) {
    const wchar_t full[3] = {L'a', L'b', L'c'}; // no NUL inside
    EXPECT_EQ(Utf8Until(full, 3), "abc");
    const wchar_t cut[4] = {L'x', L'\0', L'y', L'z'};
    EXPECT_EQ(Utf8Until(cut, 4), "x");
    EXPECT_EQ(Utf8Until(nullptr, 4), "");
}

TEST(Utf, BrokenInputBecomesReplacementCharacters) {
    EXPECT_EQ(Utf8(std::wstring(1, static_cast<wchar_t>(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(Wide("a\xFF"), L"a\uFFFD");
}

TEST(Utf, ValidityCheckTellsUtf8FromSingleByteText) {
    EXPECT_TRUE(IsValidUtf8("plain ASCII"));
    EXPECT_TRUE(IsValidUtf8("Größe 日本 📁"));
    EXPECT_FALSE(IsValidUtf8("Gr\xF6\xDF"
                             "e"));            // Windows-1252 "Größe"
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));     // overlong "/"
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80")); // a surrogate
    EXPECT_FALSE(IsValidUtf8("\xE6\x97"));     // cut short
}

} // namespace
} // namespace orvane
