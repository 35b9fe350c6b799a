#include "skinfile/SkinPayload.h"

#include "skinfile/SkinBitmap.h"

#include <limits>

namespace orvane {

namespace {

class Writer {
  public:
    void U8(std::uint8_t value) { bytes_.push_back(value); }
    void U16(std::uint16_t value) {
        U8(static_cast<std::uint8_t>(value));
        U8(static_cast<std::uint8_t>(value >> 8));
    }
    void U32(std::uint32_t value) {
        U16(static_cast<std::uint16_t>(value));
        U16(static_cast<std::uint16_t>(value >> 16));
    }
    void ShortText(std::string_view text, std::size_t limit) {
        if (text.size() > limit)
            throw SkinFormatError("\"" + std::string(text) + "\" is too long");
        U8(static_cast<std::uint8_t>(text.size()));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }
    void Blob(std::span<const std::uint8_t> blob) {
        U32(static_cast<std::uint32_t>(blob.size()));
        bytes_.insert(bytes_.end(), blob.begin(), blob.end());
    }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
};

class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool AtEnd() const { return offset_ == bytes_.size(); }

    std::span<const std::uint8_t> Take(std::size_t count) {
        if (count > bytes_.size() - offset_)
            throw SkinFormatError("the skin data ends early");
        const auto part = bytes_.subspan(offset_, count);
        offset_ += count;
        return part;
    }
    std::uint8_t U8() { return Take(1)[0]; }
    std::uint16_t U16() {
        const auto b = Take(2);
        return static_cast<std::uint16_t>(b[0] | b[1] << 8);
    }
    std::uint32_t U32() {
        const auto b = Take(4);
        return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
               static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    }
    std::string ShortText() {
        const auto b = Take(U8());
        return std::string(b.begin(), b.end());
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::size_t offset_ = 0;
};

// Whatever is written must read back, so the writer holds to the reader's limits.
SkinColor CheckedColor(SkinColor color) {
    if (color > 0xFFFFFFu)
        throw SkinFormatError("bad colour value");
    return color;
}

void WriteValue(Writer& out, const SkinProperty& property, SkinElementStyle& style) {
    std::visit(
        [&](auto access) {
            const auto& field = access(style);
            using Field = std::remove_cvref_t<decltype(field)>;
            if constexpr (std::is_same_v<Field, SkinColor>) {
                out.U32(CheckedColor(field));
            } else if constexpr (std::is_same_v<Field, SkinFill>) {
                out.U32(CheckedColor(field.start));
                out.U32(CheckedColor(field.end));
                out.U8(static_cast<std::uint8_t>(field.direction));
            } else if constexpr (std::is_same_v<Field, int>) {
                if (field < property.minimum || field > property.maximum)
                    throw SkinFormatError("\"" + std::string(property.key) + "\" of [" +
                                          style.name + "] is out of range");
                out.U32(static_cast<std::uint32_t>(field));
            } else if constexpr (std::is_same_v<Field, bool>) {
                out.U8(field ? 1 : 0);
            } else if constexpr (std::is_same_v<Field, std::string>) {
                out.ShortText(field, kSkinMaxTextLength);
            } else {
                if (field.size() > kSkinMaxBitmapBytes)
                    throw SkinFormatError("the bitmap of [" + style.name + "] is too large");
                out.Blob(field);
            }
        },
        property.field);
}

SkinColor ReadColor(Reader& in) {
    const std::uint32_t value = in.U32();
    if (value > 0xFFFFFFu)
        throw SkinFormatError("bad colour value");
    return value;
}

// Reads one value of `kind`; stores it when `property` is known.
void ReadValue(Reader& in, SkinValueKind kind, const SkinProperty* property,
               SkinElementStyle& style) {
    if (property && property->kind() != kind)
        throw SkinFormatError("\"" + std::string(property->key) + "\" has the wrong kind");
    switch (kind) {
    case SkinValueKind::Color: {
        const SkinColor color = ReadColor(in);
        if (property)
            std::get<SkinFieldAccess<SkinColor>>(property->field)(style) = color;
        return;
    }
    case SkinValueKind::Fill: {
        SkinFill fill;
        fill.start = ReadColor(in);
        fill.end = ReadColor(in);
        const std::uint8_t direction = in.U8();
        if (direction > static_cast<std::uint8_t>(SkinGradient::Horizontal))
            throw SkinFormatError("bad gradient direction");
        fill.direction = static_cast<SkinGradient>(direction);
        if (property)
            std::get<SkinFieldAccess<SkinFill>>(property->field)(style) = fill;
        return;
    }
    case SkinValueKind::Integer: {
        const std::uint32_t raw = in.U32();
        const std::int64_t value =
            raw <= static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())
                ? static_cast<std::int64_t>(raw)
                : static_cast<std::int64_t>(raw) - (std::int64_t{1} << 32);
        if (property) {
            if (value < property->minimum || value > property->maximum)
                throw SkinFormatError("\"" + std::string(property->key) + "\" out of range");
            std::get<SkinFieldAccess<int>>(property->field)(style) = static_cast<int>(value);
        }
        return;
    }
    case SkinValueKind::Flag: {
        const std::uint8_t value = in.U8();
        if (value > 1)
            throw SkinFormatError("bad flag value");
        if (property)
            std::get<SkinFieldAccess<bool>>(property->field)(style) = value == 1;
        return;
    }
    case SkinValueKind::Text: {
        std::string text = in.ShortText();
        if (text.size() > kSkinMaxTextLength)
            throw SkinFormatError("text too long");
        for (char c : text)
            if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e)
                throw SkinFormatError("bad character in a text");
        if (property)
            std::get<SkinFieldAccess<std::string>>(property->field)(style) = std::move(text);
        return;
    }
    case SkinValueKind::Bitmap: {
        const std::uint32_t size = in.U32();
        if (size > kSkinMaxBitmapBytes)
            throw SkinFormatError("bitmap too large");
        const auto bytes = in.Take(size);
        if (property) {
            if (!bytes.empty())
                CheckSkinBitmap(bytes);
            std::get<SkinFieldAccess<std::vector<std::uint8_t>>>(property->field)(style).assign(
                bytes.begin(), bytes.end());
        }
        return;
    }
    }
    throw SkinFormatError("unknown value kind " + std::to_string(static_cast<int>(kind)));
}

SkinElementStyle ReadElement(Reader& in) {
    const std::string name = SkinLowerCase(in.ShortText());
    if (!IsSkinIdentifier(name))
        throw SkinFormatError("bad element name");
    SkinElementStyle style = DefaultSkinElement(name);
    const std::uint16_t count = in.U16();
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::string key = in.ShortText();
        if (!IsSkinIdentifier(key))
            throw SkinFormatError("bad key in [" + name + "]");
        const std::uint8_t kind = in.U8();
        if (kind > static_cast<std::uint8_t>(SkinValueKind::Bitmap))
            throw SkinFormatError("unknown value kind in [" + name + "]");
        ReadValue(in, static_cast<SkinValueKind>(kind), FindSkinProperty(key), style);
    }
    return style;
}

} // namespace

std::vector<std::uint8_t> EncodeSkinPayload(std::span<const SkinElementStyle> elements) {
    if (elements.empty() || elements.size() > kSkinMaxElements)
        throw SkinFormatError("a skin holds 1 to " + std::to_string(kSkinMaxElements) +
                              " elements");
    Writer out;
    out.U32(static_cast<std::uint32_t>(elements.size()));
    for (const SkinElementStyle& element : elements) {
        if (!IsSkinIdentifier(element.name))
            throw SkinFormatError("bad element name \"" + element.name + "\"");
        out.ShortText(element.name, kSkinMaxNameLength);
        const auto properties = SkinProperties();
        out.U16(static_cast<std::uint16_t>(properties.size()));
        // The accessors hand out mutable references; the copy keeps `elements` untouched.
        SkinElementStyle style = element;
        for (const SkinProperty& property : properties) {
            out.ShortText(property.key, kSkinMaxNameLength);
            out.U8(static_cast<std::uint8_t>(property.kind()));
            WriteValue(out, property, style);
        }
    }
    return out.Take();
}

std::vector<SkinElementStyle> DecodeSkinPayload(std::span<const std::uint8_t> payload) {
    Reader in(payload);
    const std::uint32_t count = in.U32();
    if (count == 0 || count > kSkinMaxElements)
        throw SkinFormatError("bad element count");
    std::vector<SkinElementStyle> elements;
    for (std::uint32_t i = 0; i < count; ++i) {
        SkinElementStyle element = ReadElement(in);
        for (const SkinElementStyle& earlier : elements)
            if (earlier.name == element.name)
                throw SkinFormatError("element [" + element.name + "] given twice");
        elements.push_back(std::move(element));
    }
    if (!in.AtEnd())
        throw SkinFormatError("unexpected data after the last element");
    return elements;
}

} // namespace orvane
