// The readable skin source: values, defaults and the faults the build must stop at.
#include <gtest/gtest.h>

#include "skinfile/SkinSource.h"

namespace orvane {
namespace {

std::vector<SkinElementStyle> Parse(const std::string& text) {
    return ParseSkinSource(text, "t.skin.txt", nullptr);
}

// The message of the fault the source raises, or "" when it parses.
std::string FaultOf(const std::string& text) {
    try {
        Parse(text);
    } catch (const SkinFormatError& error) {
        return error.what();
    }
    return "";
}

TEST(SkinSource, ReadsColoursFillsNumbersFlagsAndTexts) {
    const auto elements = Parse("; a comment\n"
                                "[Button]\r\n"
                                "face = 1,2,3 -> 4 , 5 , 6 horizontal ; trailing comment\n"
                                "hot = #A0CC0B\n"
                                "down = 10,20,30 -> 40,50,60\n"
                                "Light = 255, 0, 128\n"
                                "bevel = 3\n"
                                "font =  Courier New  \n"
                                "font.bold = no\n"
                                "rollup = YES\n");
    ASSERT_EQ(elements.size(), 1u);
    const SkinElementStyle& button = elements[0];
    EXPECT_EQ(button.name, "button");
    EXPECT_EQ(button.face,
              (SkinFill{SkinRgb(1, 2, 3), SkinRgb(4, 5, 6), SkinGradient::Horizontal}));
    EXPECT_EQ(button.hot,
              (SkinFill{SkinRgb(160, 204, 11), SkinRgb(160, 204, 11), SkinGradient::None}));
    EXPECT_EQ(button.down.direction, SkinGradient::Vertical);
    EXPECT_EQ(button.down.end, SkinRgb(40, 50, 60));
    EXPECT_EQ(button.light, 0x008000FFu); // 0x00BBGGRR
    EXPECT_EQ(button.bevelWidth, 3);
    EXPECT_EQ(button.font.name, "Courier New");
    EXPECT_FALSE(button.font.bold);
    EXPECT_TRUE(button.rollUpButton);
}

TEST(SkinSource, KeysLeftOutKeepTheBuiltInLook) {
    const auto elements = Parse("[form]\nborder.width = 2\n[hint]\n");
    ASSERT_EQ(elements.size(), 2u);
    SkinElementStyle expectedForm = DefaultSkinElement("form");
    expectedForm.borderWidth = 2;
    EXPECT_EQ(elements[0], expectedForm);
    EXPECT_EQ(elements[1], DefaultSkinElement("hint"));
}

TEST(SkinSource, FaultsNameTheLineAndRejectRepeatsAndEmptySkins) {
    EXPECT_EQ(FaultOf("[panel]\n\nfacee = 1,2,3\n"), "t.skin.txt:3: unknown key \"facee\"");
    EXPECT_EQ(FaultOf("[panel]\n[knob]\n"), "t.skin.txt:2: unknown element [knob]");
    EXPECT_EQ(FaultOf("face = 1,2,3\n"), "t.skin.txt:1: a key before the first [element]");
    EXPECT_NE(FaultOf("[panel]\n[edit]\n[PANEL]\n").find(":3: [panel] given twice"),
              std::string::npos);
    EXPECT_NE(FaultOf("[panel]\nbevel = 1\nBevel = 2\n").find(":3: \"bevel\" given twice"),
              std::string::npos);
    // The same key in two sections is fine.
    EXPECT_EQ(FaultOf("[panel]\nbevel = 1\n[edit]\nbevel = 2\n"), "");
    EXPECT_NE(FaultOf("; nothing\n\n").find("defines no element"), std::string::npos);
}

TEST(SkinSource, RejectsBadValues) {
    const char* bad[] = {
        "face = 1,2",                              // too few components
        "face = 1,2,3,4",                          // too many
        "face = 256,0,0",                          // out of range
        "face = -1,0,0",                           // negative
        "face = 1,2,x",                            // not a number
        "face = #12345",                           // short hex
        "face = #12345G",                          // bad hex digit
        "face = 1,2,3 -> 4,5,6 diagonal",          // unknown direction
        "face = 1,2,3 vertical",                   // a direction without a gradient
        "bevel = 17",                              // above its range
        "font.size = 0",                           // below its range
        "bevel = 2.5",                             // not an integer
        "font.bold = maybe",                       // not a flag
        "font = ",                                 // empty text
        "font = An Extremely Long Font Face Name", // longer than a face name may be
        "bitmap = face.bmp",                       // no way to read files here
        "panel",                                   // neither section nor key
        "[panel",                                  // unclosed section
    };
    for (const char* line : bad)
        EXPECT_NE(FaultOf(std::string("[panel]\n") + line + "\n").find("t.skin.txt:2: "),
                  std::string::npos)
            << line;
}

TEST(SkinSource, BitmapsAreReadThroughTheReaderAndChecked) {
    const std::vector<std::uint8_t> notBmp = {'G', 'I', 'F', '8'};
    std::string asked;
    const SkinFileReader reader = [&](const std::string& name) {
        asked = name;
        return notBmp;
    };
    try {
        ParseSkinSource("[panel]\nbitmap = faces\\panel.bmp\n", "t.skin.txt", reader);
        ADD_FAILURE() << "a file that is no BMP was accepted";
    } catch (const SkinFormatError& error) {
        EXPECT_NE(std::string(error.what()).find("t.skin.txt:2: bitmap: bad bitmap"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_EQ(asked, "faces\\panel.bmp");
}

TEST(SkinSource, EveryElementNameIsASection) {
    std::string text;
    for (std::string_view name : SkinElementNames())
        text += "[" + std::string(name) + "]\n";
    const auto elements = Parse(text);
    ASSERT_EQ(elements.size(), SkinElementNames().size());
    for (std::size_t i = 0; i < elements.size(); ++i)
        EXPECT_EQ(elements[i].name, SkinElementNames()[i]);
}

} // namespace
} // namespace orvane
