#include "skinfile/SkinSource.h"

#include "skinfile/SkinBitmap.h"

#include <charconv>
#include <set>

namespace orvane {

namespace {

std::string_view Trim(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Errors of a value; the caller adds file and line.
struct ValueError {
    std::string what;
};

int ParseNumber(std::string_view text, int minimum, int maximum, std::string_view what) {
    text = Trim(text);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw ValueError{"\"" + std::string(text) + "\" is not a number"};
    if (value < minimum || value > maximum)
        throw ValueError{std::string(what) + " " + std::to_string(value) + " is not within " +
                         std::to_string(minimum) + ".." + std::to_string(maximum)};
    return value;
}

SkinColor ParseColor(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '#') {
        unsigned value = 0;
        const auto [end, error] =
            std::from_chars(text.data() + 1, text.data() + text.size(), value, 16);
        if (text.size() != 7 || error != std::errc() || end != text.data() + text.size())
            throw ValueError{"\"" + std::string(text) + "\" is not a colour #RRGGBB"};
        return SkinRgb(static_cast<std::uint8_t>(value >> 16),
                       static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value));
    }
    int parts[3] = {};
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = text.find(',');
        if ((i < 2) != (comma != std::string_view::npos))
            throw ValueError{"a colour is R,G,B or #RRGGBB"};
        parts[i] = ParseNumber(text.substr(0, comma), 0, 255, "a colour component");
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    return SkinRgb(static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]),
                   static_cast<std::uint8_t>(parts[2]));
}

SkinFill ParseFill(std::string_view text) {
    const std::size_t arrow = text.find("->");
    if (arrow == std::string_view::npos) {
        const SkinColor color = ParseColor(text);
        return {color, color, SkinGradient::None};
    }
    SkinFill fill{ParseColor(text.substr(0, arrow)), 0, SkinGradient::Vertical};
    std::string_view rest = Trim(text.substr(arrow + 2));
    // A trailing word, if any, is the direction; colours may hold blanks after commas.
    const std::size_t blank = rest.find_last_of(" \t");
    const std::string word =
        SkinLowerCase(blank == std::string_view::npos ? rest : rest.substr(blank + 1));
    if (!word.empty() && word.front() >= 'a' && word.front() <= 'z') {
        if (word == "horizontal")
            fill.direction = SkinGradient::Horizontal;
        else if (word != "vertical")
            throw ValueError{"a gradient runs \"vertical\" or \"horizontal\", not \"" + word +
                             "\""};
        rest = blank == std::string_view::npos ? std::string_view() : Trim(rest.substr(0, blank));
    }
    fill.end = ParseColor(rest);
    return fill;
}

bool ParseFlag(std::string_view text) {
    const std::string word = SkinLowerCase(Trim(text));
    if (word == "yes" || word == "true" || word == "1")
        return true;
    if (word == "no" || word == "false" || word == "0")
        return false;
    throw ValueError{"\"" + word + "\" is not yes or no"};
}

std::string ParseText(std::string_view text) {
    text = Trim(text);
    if (text.empty() || text.size() > kSkinMaxTextLength)
        throw ValueError{"a text is 1 to " + std::to_string(kSkinMaxTextLength) + " characters"};
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e)
            throw ValueError{"a text holds printable ASCII characters only"};
    return std::string(text);
}

class SourceParser {
  public:
    SourceParser(const std::string& sourceName, const SkinFileReader& readFile)
        : sourceName_(sourceName), readFile_(readFile) {}

    std::vector<SkinElementStyle> Parse(std::string_view text) {
        while (!text.empty()) {
            ++lineNumber_;
            const std::size_t newline = text.find('\n');
            std::string_view line = text.substr(0, newline);
            text =
                newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
            ParseLine(Trim(line.substr(0, line.find(';'))));
        }
        if (elements_.empty())
            Fail("the skin defines no element");
        return std::move(elements_);
    }

  private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw SkinFormatError(sourceName_ + ":" + std::to_string(lineNumber_) + ": " + what);
    }

    void ParseLine(std::string_view line) {
        if (line.empty())
            return;
        if (line.front() == '[') {
            if (line.back() != ']')
                Fail("a section line is [element]");
            StartElement(SkinLowerCase(Trim(line.substr(1, line.size() - 2))));
            return;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            Fail("a line is [element] or key = value");
        if (elements_.empty())
            Fail("a key before the first [element]");
        const std::string key = SkinLowerCase(Trim(line.substr(0, equals)));
        const SkinProperty* property = FindSkinProperty(key);
        if (!property)
            Fail("unknown key \"" + key + "\"");
        if (!keys_.insert(key).second)
            Fail("\"" + key + "\" given twice in [" + elements_.back().name + "]");
        try {
            SetValue(*property, line.substr(equals + 1));
        } catch (const ValueError& error) {
            Fail(key + ": " + error.what);
        } catch (const SkinFormatError& error) {
            Fail(key + ": " + error.what());
        }
    }

    void StartElement(const std::string& name) {
        if (!IsSkinElementName(name))
            Fail("unknown element [" + name + "]");
        for (const SkinElementStyle& element : elements_)
            if (element.name == name)
                Fail("[" + name + "] given twice");
        elements_.push_back(DefaultSkinElement(name));
        keys_.clear();
    }

    void SetValue(const SkinProperty& property, std::string_view value) {
        SkinElementStyle& style = elements_.back();
        std::visit(
            [&](auto access) {
                auto& field = access(style);
                using Field = std::remove_reference_t<decltype(field)>;
                if constexpr (std::is_same_v<Field, SkinColor>)
                    field = ParseColor(value);
                else if constexpr (std::is_same_v<Field, SkinFill>)
                    field = ParseFill(value);
                else if constexpr (std::is_same_v<Field, int>)
                    field = ParseNumber(value, property.minimum, property.maximum, property.key);
                else if constexpr (std::is_same_v<Field, bool>)
                    field = ParseFlag(value);
                else if constexpr (std::is_same_v<Field, std::string>)
                    field = ParseText(value);
                else
                    field = ReadBitmap(Trim(value));
            },
            property.field);
    }

    std::vector<std::uint8_t> ReadBitmap(std::string_view file) {
        if (file.empty())
            throw ValueError{"no bitmap file named"};
        if (!readFile_)
            throw ValueError{"bitmaps cannot be read here"};
        std::vector<std::uint8_t> bytes = readFile_(std::string(file));
        if (bytes.size() > kSkinMaxBitmapBytes)
            throw ValueError{std::string(file) + " is larger than " +
                             std::to_string(kSkinMaxBitmapBytes) + " bytes"};
        CheckSkinBitmap(bytes);
        return bytes;
    }

    const std::string& sourceName_;
    const SkinFileReader& readFile_;
    std::vector<SkinElementStyle> elements_;
    std::set<std::string> keys_;
    int lineNumber_ = 0;
};

} // namespace

std::vector<SkinElementStyle> ParseSkinSource(std::string_view text, const std::string& sourceName,
                                              const SkinFileReader& readFile) {
    return SourceParser(sourceName, readFile).Parse(text);
}

} // namespace orvane
