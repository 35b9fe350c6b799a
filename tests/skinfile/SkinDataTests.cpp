// Loading compiled skins: the shipped one, ones written here, lookups and defaults.
#include <gtest/gtest.h>

#include "base/ShellError.h"
#include "paint/SkinData.h"
#include "tests/skinfile/SkinTestFiles.h"
#include "tests/support/TestSupport.h"

namespace orvane {
namespace {

using test::CompileSkin;
using test::ScratchDir;

TEST(InstalledSkin, HasEveryElementAndIsTheOliveTheme) {
    TSkinData skin;
    skin.LoadFromFile(test::InstalledSkinPath());
    EXPECT_EQ(skin.FileName(), test::InstalledSkinPath());
    for (std::string_view name : SkinElementNames())
        EXPECT_TRUE(skin.Contains(name)) << name;
    EXPECT_EQ(skin.ElementNames().size(), SkinElementNames().size());
    const TSkinElement& form = skin.Element("form");
    EXPECT_EQ(form.captionActive.start, SkinRgb(96, 129, 35));
    EXPECT_EQ(form.captionActive.end, SkinRgb(160, 204, 11));
    EXPECT_EQ(form.captionInactive.start, SkinRgb(143, 159, 51));
    EXPECT_TRUE(form.rollUpButton);
    EXPECT_GT(form.captionHeight, 0);
    EXPECT_GT(form.borderWidth, 0);
    // The Start and clock buttons draw in the caption green.
    EXPECT_EQ(skin.Element("button").font.color, SkinRgb(96, 129, 35));
    EXPECT_EQ(skin.Element("panel").face.end, SkinRgb(143, 159, 51));
    EXPECT_EQ(skin.Element("popupmenu").selected.start, SkinRgb(236, 245, 196));
    // No element is drawn in the grey of the default look.
    for (std::string_view name : SkinElementNames())
        EXPECT_NE(skin.Element(name).face.start, SkinRgb(192, 192, 192)) << name;
}

TEST(SkinLookup, IgnoresCaseAndMissingElementsGetTheBuiltInLook) {
    TSkinData skin;
    skin.LoadFromBytes(CompileSkin("[statusbar]\nbevel = 3\n"), "mem");
    EXPECT_TRUE(skin.Contains("StatusBar"));
    EXPECT_EQ(skin.Element("STATUSBAR").bevelWidth, 3);
    EXPECT_EQ(&skin.Element("StatusBar"), &skin.Element("statusbar"));
    skin.LoadFromBytes(CompileSkin("[panel]\nbevel = 5\n"), "mem");
    EXPECT_FALSE(skin.Contains("hint"));
    EXPECT_EQ(static_cast<const SkinElementStyle&>(skin.Element("hint")),
              DefaultSkinElement("hint"));
    // A name no widget uses gets the panel's built-in look, not the file's.
    EXPECT_EQ(static_cast<const SkinElementStyle&>(skin.Element("gauge")),
              DefaultSkinElement("panel"));
}

TEST(SkinLookup, BeforeLoadingEverythingIsBuiltIn) {
    TSkinData skin;
    EXPECT_EQ(skin.FileName(), "");
    EXPECT_TRUE(skin.ElementNames().empty());
    EXPECT_EQ(skin.Element("form").captionActive.start, SkinRgb(96, 129, 35));
    EXPECT_TRUE(skin.Element("button").font.bold);
}

TEST(SkinRoundTrip, WrittenFileLoadsBackUnchanged) {
    const std::string source = "[form]\n"
                               "caption.active = 1,2,3 -> 4,5,6 horizontal\n"
                               "caption.font = Verdana\n"
                               "caption.font.size = 11\n"
                               "rollup = no\n"
                               "[Edit]\n"
                               "face = #102030\n"
                               "font.color.disabled = 7,8,9\n";
    ScratchDir dir("skin");
    test::WriteBytes(dir / "t.skn", CompileSkin(source));
    TSkinData skin;
    skin.LoadFromFile(dir / "t.skn");

    SkinElementStyle form = DefaultSkinElement("form");
    form.captionActive = {SkinRgb(1, 2, 3), SkinRgb(4, 5, 6), SkinGradient::Horizontal};
    form.captionFont.name = "Verdana";
    form.captionFont.size = 11;
    form.rollUpButton = false;
    SkinElementStyle edit = DefaultSkinElement("edit");
    edit.face = {SkinRgb(0x10, 0x20, 0x30), SkinRgb(0x10, 0x20, 0x30), SkinGradient::None};
    edit.disabledFontColor = SkinRgb(7, 8, 9);
    EXPECT_EQ(static_cast<const SkinElementStyle&>(skin.Element("form")), form);
    EXPECT_EQ(static_cast<const SkinElementStyle&>(skin.Element("edit")), edit);
    EXPECT_EQ(skin.ElementNames(), (std::vector<std::string>{"edit", "form"}));
}

TEST(SkinRoundTrip, EmbeddedBitmapBecomesADibSection) {
    const auto bmp = test::MakeBmp(5, 3);
    TSkinData skin;
    skin.LoadFromBytes(CompileSkin("[toolbar]\nbitmap = bar.bmp\n", {{"bar.bmp", bmp}}), "mem");
    const TSkinElement& toolbar = skin.Element("toolbar");
    EXPECT_EQ(toolbar.bitmap, bmp);
    ASSERT_TRUE(toolbar.bitmapHandle);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectA(toolbar.bitmapHandle.get(), sizeof dib, &dib), int(sizeof dib));
    EXPECT_EQ(dib.dsBm.bmWidth, 5);
    EXPECT_EQ(dib.dsBm.bmHeight, 3);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
    // Bottom-up rows: the first stored row is the picture's last (y = 2).
    const auto* bits = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(bits[3 * 4 + 0], 200);
    EXPECT_EQ(bits[3 * 4 + 1], 20);
    EXPECT_EQ(bits[3 * 4 + 2], 40);
    // Elements without a bitmap have no handle.
    EXPECT_FALSE(skin.Element("panel").bitmapHandle);
}

TEST(SkinLoadFailure, MissingFileNamesThePathAndTheSkinBeforeIsKept) {
    ScratchDir dir("skin");
    TSkinData skin;
    skin.LoadFromBytes(CompileSkin("[panel]\nbevel = 4\n"), "first");
    const std::string path = dir / "Skins\\Orvane.skn";
    try {
        skin.LoadFromFile(path);
        ADD_FAILURE() << "a missing file loaded";
    } catch (const ShellError& error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
    auto broken = CompileSkin("[panel]\nbevel = 6\n");
    broken.back() ^= 0x55;
    test::WriteBytes(dir / "broken.skn", broken);
    EXPECT_THROW(skin.LoadFromFile(dir / "broken.skn"), ShellError);
    EXPECT_EQ(skin.FileName(), "first");
    EXPECT_EQ(skin.Element("panel").bevelWidth, 4);
}

} // namespace
} // namespace orvane
