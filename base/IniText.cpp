#include "base/IniText.h"

#include "base/Utf.h"

#include <windows.h>

namespace orvane {

namespace {

enum class LineKind { Blank, Comment, Section, Key };

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

struct Parsed {
    LineKind kind = LineKind::Blank;
    std::string_view name;  // section or key name
    std::string_view value; // key value
};

Parsed ParseLine(std::string_view line) {
    const std::string_view text = Trim(line);
    if (text.empty())
        return {};
    if (text.front() == ';')
        return {LineKind::Comment, {}, {}};
    if (text.front() == '[') {
        const size_t close = text.find(']');
        const std::string_view name =
            close == std::string_view::npos ? text.substr(1) : text.substr(1, close - 1);
        return {LineKind::Section, Trim(name), {}};
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return {LineKind::Key, text, {}};
    return {LineKind::Key, Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

// Line breaks inside a value or a name would start lines of their own (a new
// key or section that was never written): they are written as blanks.
std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return line;
}

std::string KeyLine(std::string_view key, std::string_view value) {
    return OneLine(key) + "=" + OneLine(value);
}

} // namespace

bool SameIniName(std::string_view a, std::string_view b) {
    if (a.size() == b.size() && a == b)
        return true;
    auto ascii = [](std::string_view text) {
        for (char c : text)
            if (static_cast<unsigned char>(c) >= 0x80)
                return false;
        return true;
    };
    // Most names are ASCII: compared without converting them.
    if (ascii(a) && ascii(b)) {
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i) {
            auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
            if (lower(a[i]) != lower(b[i]))
                return false;
        }
        return true;
    }
    const std::wstring wa = Wide(a), wb = Wide(b);
    return CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(),
                                static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL;
}

std::string UnquoteIniValue(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

IniText::IniText(std::string_view text) {
    const size_t firstBreak = text.find_first_of("\r\n");
    if (firstBreak != std::string_view::npos)
        lineBreak_ = text.compare(firstBreak, 2, "\r\n") == 0 ? "\r\n"
                     : text[firstBreak] == '\n'               ? "\n"
                                                              : "\r";
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines_.emplace_back(text.substr(start));
            finalBreak_ = false;
            break;
        }
        lines_.emplace_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

size_t IniText::FindSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Parsed line = ParseLine(lines_[i]);
        if (line.kind == LineKind::Section && SameIniName(line.name, section))
            return i;
    }
    return lines_.size();
}

size_t IniText::SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && ParseLine(lines_[i]).kind != LineKind::Section)
        ++i;
    return i;
}

size_t IniText::SectionContentEnd(size_t header) const {
    size_t end = SectionEnd(header);
    while (end > header + 1 && ParseLine(lines_[end - 1]).kind == LineKind::Blank)
        --end;
    return end;
}

std::optional<std::string> IniText::Find(std::string_view section, std::string_view key) const {
    const size_t header = FindSection(section);
    if (header == lines_.size())
        return std::nullopt;
    const size_t end = SectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        const Parsed line = ParseLine(lines_[i]);
        if (line.kind == LineKind::Key && SameIniName(line.name, key))
            return std::string(line.value);
    }
    return std::nullopt;
}

IniPairs IniText::Section(std::string_view section) const {
    IniPairs pairs;
    const size_t header = FindSection(section);
    if (header == lines_.size())
        return pairs;
    const size_t end = SectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        const Parsed line = ParseLine(lines_[i]);
        if (line.kind == LineKind::Key)
            pairs.emplace_back(std::string(line.name), std::string(line.value));
    }
    return pairs;
}

void IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
    const size_t header = FindSection(section);
    if (header == lines_.size()) {
        if (!lines_.empty() && ParseLine(lines_.back()).kind != LineKind::Blank)
            lines_.emplace_back();
        lines_.push_back("[" + OneLine(section) + "]");
        lines_.push_back(KeyLine(key, value));
        return;
    }
    const size_t end = SectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        const Parsed line = ParseLine(lines_[i]);
        if (line.kind == LineKind::Key && SameIniName(line.name, key)) {
            // The key keeps the spelling the file gave it.
            lines_[i] = KeyLine(line.name, value);
            return;
        }
    }
    lines_.insert(lines_.begin() + static_cast<ptrdiff_t>(SectionContentEnd(header)),
                  KeyLine(key, value));
}

void IniText::EraseSection(std::string_view section) {
    for (size_t header = FindSection(section); header < lines_.size();
         header = FindSection(section))
        lines_.erase(lines_.begin() + static_cast<ptrdiff_t>(header),
                     lines_.begin() + static_cast<ptrdiff_t>(SectionEnd(header)));
}

void IniText::ReplaceSection(std::string_view section, const IniPairs& pairs) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : pairs)
        keys.push_back(KeyLine(key, value));
    size_t header = FindSection(section);
    if (header == lines_.size()) {
        if (!lines_.empty() && ParseLine(lines_.back()).kind != LineKind::Blank)
            lines_.emplace_back();
        lines_.push_back("[" + OneLine(section) + "]");
        lines_.insert(lines_.end(), keys.begin(), keys.end());
        return;
    }
    // Comments and blank lines inside the section stay; its keys go.
    const size_t end = SectionEnd(header);
    std::vector<std::string> kept;
    for (size_t i = header + 1; i < end; ++i)
        if (ParseLine(lines_[i]).kind != LineKind::Key)
            kept.push_back(lines_[i]);
    size_t trailing = kept.size();
    while (trailing > 0 && Trim(kept[trailing - 1]).empty())
        --trailing;
    std::vector<std::string> body(kept.begin(), kept.begin() + static_cast<ptrdiff_t>(trailing));
    body.insert(body.end(), keys.begin(), keys.end());
    body.insert(body.end(), kept.begin() + static_cast<ptrdiff_t>(trailing), kept.end());
    lines_.erase(lines_.begin() + static_cast<ptrdiff_t>(header + 1),
                 lines_.begin() + static_cast<ptrdiff_t>(end));
    lines_.insert(lines_.begin() + static_cast<ptrdiff_t>(header + 1), body.begin(), body.end());
    // Later sections of the same name would hold keys nobody reads.
    for (size_t later = SectionEnd(header); later < lines_.size();) {
        const Parsed line = ParseLine(lines_[later]);
        if (line.kind == LineKind::Section && SameIniName(line.name, section))
            lines_.erase(lines_.begin() + static_cast<ptrdiff_t>(later),
                         lines_.begin() + static_cast<ptrdiff_t>(SectionEnd(later)));
        else
            ++later;
    }
}

std::string IniText::Text() const {
    std::string text;
    for (size_t i = 0; i < lines_.size(); ++i) {
        text += lines_[i];
        if (i + 1 < lines_.size() || finalBreak_)
            text += lineBreak_;
    }
    return text;
}

} // namespace orvane
