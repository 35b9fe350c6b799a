// The element records of a compiled skin, written by hand: what a reader of this
// version accepts from a newer writer, and what it must refuse.
#include <gtest/gtest.h>

#include "skinfile/SkinPayload.h"

namespace orvane {
namespace {

class PayloadBuilder {
  public:
    PayloadBuilder& U8(std::uint8_t value) {
        bytes.push_back(value);
        return *this;
    }
    PayloadBuilder& U16(std::uint16_t value) { return U8(value & 0xFF).U8(value >> 8); }
    PayloadBuilder& U32(std::uint32_t value) {
        return U16(value & 0xFFFF).U16(static_cast<std::uint16_t>(value >> 16));
    }
    PayloadBuilder& Text(std::string_view text) {
        U8(static_cast<std::uint8_t>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    std::vector<std::uint8_t> bytes;
};

// One element "name" whose single property is `key` of `kind` with a u32 value.
std::vector<std::uint8_t> OneProperty(std::string_view name, std::string_view key,
                                      SkinValueKind kind, std::uint32_t value) {
    return PayloadBuilder()
        .U32(1)
        .Text(name)
        .U16(1)
        .Text(key)
        .U8(static_cast<std::uint8_t>(kind))
        .U32(value)
        .bytes;
}

TEST(SkinPayload, UnknownKeysOfKnownKindsAreSkipped) {
    const auto bytes = PayloadBuilder()
                           .U32(1)
                           .Text("Panel")
                           .U16(3)
                           .Text("glow")
                           .U8(static_cast<std::uint8_t>(SkinValueKind::Fill))
                           .U32(1)
                           .U32(2)
                           .U8(1)
                           .Text("bevel")
                           .U8(static_cast<std::uint8_t>(SkinValueKind::Integer))
                           .U32(5)
                           .Text("tagline")
                           .U8(static_cast<std::uint8_t>(SkinValueKind::Text))
                           .Text("hello")
                           .bytes;
    const auto elements = DecodeSkinPayload(bytes);
    ASSERT_EQ(elements.size(), 1u);
    SkinElementStyle expected = DefaultSkinElement("panel");
    expected.bevelWidth = 5;
    EXPECT_EQ(elements[0], expected);
}

TEST(SkinPayload, ElementsOfOtherNamesAreKept) {
    const auto elements =
        DecodeSkinPayload(OneProperty("gauge", "light", SkinValueKind::Color, SkinRgb(1, 2, 3)));
    ASSERT_EQ(elements.size(), 1u);
    EXPECT_EQ(elements[0].name, "gauge");
    EXPECT_EQ(elements[0].light, SkinRgb(1, 2, 3));
}

TEST(SkinPayload, RefusesMalformedRecords) {
    const std::vector<std::vector<std::uint8_t>> bad = {
        OneProperty("panel", "bevel", SkinValueKind::Color, 1),             // known key, other kind
        OneProperty("panel", "bevel", SkinValueKind::Integer, 17),          // out of its range
        OneProperty("panel", "bevel", SkinValueKind::Integer, 0xFFFFFFFFu), // -1
        OneProperty("panel", "light", SkinValueKind::Color, 0x01000000u),   // not a colour
        OneProperty("panel", "light", static_cast<SkinValueKind>(9), 0),    // unknown kind
        OneProperty("Pa nel", "light", SkinValueKind::Color, 0),            // bad name
        OneProperty("", "light", SkinValueKind::Color, 0),                  // empty name
        OneProperty("panel", "", SkinValueKind::Color, 0),                  // empty key
        PayloadBuilder().U32(0).bytes,                                      // no element
        PayloadBuilder().U32(257).bytes,                                    // too many
        PayloadBuilder().U32(2).Text("panel").U16(0).Text("PANEL").U16(0).bytes, // twice
        PayloadBuilder().U32(1).Text("panel").U16(0).U8(0).bytes, // data after the end
        PayloadBuilder().U32(1).Text("panel").U16(1).bytes,       // ends early
        PayloadBuilder()
            .U32(1)
            .Text("panel")
            .U16(1)
            .Text("bitmap")
            .U8(static_cast<std::uint8_t>(SkinValueKind::Bitmap))
            .U32(0xFFFFFFF0u)
            .bytes, // a bitmap longer than the data
    };
    for (std::size_t i = 0; i < bad.size(); ++i)
        EXPECT_THROW(DecodeSkinPayload(bad[i]), SkinFormatError) << i;
}

TEST(SkinPayload, EncodingRoundTripsEveryProperty) {
    SkinElementStyle button = DefaultSkinElement("button");
    button.face = {SkinRgb(9, 8, 7), SkinRgb(6, 5, 4), SkinGradient::Horizontal};
    button.selectedFrame = SkinRgb(1, 1, 1);
    button.captionHeight = 64;
    button.font = {"Lucida Console", 72, SkinRgb(3, 3, 3), false};
    button.rollUpButton = true;
    const std::vector<SkinElementStyle> elements = {button, DefaultSkinElement("hint")};
    EXPECT_EQ(DecodeSkinPayload(EncodeSkinPayload(elements)), elements);
}

TEST(SkinPayload, EncodingRefusesWhatCannotBeRead) {
    SkinElementStyle longFont = DefaultSkinElement("panel");
    longFont.font.name = std::string(40, 'x');
    EXPECT_THROW(EncodeSkinPayload(std::vector{longFont}), SkinFormatError);
    SkinElementStyle badName = DefaultSkinElement("panel");
    badName.name = "Panel";
    EXPECT_THROW(EncodeSkinPayload(std::vector{badName}), SkinFormatError);
    SkinElementStyle wide = DefaultSkinElement("form");
    wide.captionHeight = 65;
    EXPECT_THROW(EncodeSkinPayload(std::vector{wide}), SkinFormatError);
    SkinElementStyle badColour = DefaultSkinElement("edit");
    badColour.hot.end = 0xFF000000u;
    EXPECT_THROW(EncodeSkinPayload(std::vector{badColour}), SkinFormatError);
    EXPECT_THROW(EncodeSkinPayload({}), SkinFormatError);
}

} // namespace
} // namespace orvane
