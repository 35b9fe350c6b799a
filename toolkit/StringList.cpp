#include "toolkit/StringList.h"

#include "base/Utf.h"

#include <windows.h>

#include <stdexcept>

namespace orvane {

void TStringList::Changed() {
    if (OnChange)
        OnChange();
}

void TStringList::Set(int index, const std::string& text) {
    items_.at(index).text = text;
    Changed();
}

void TStringList::SetObject(int index, intptr_t object) {
    items_.at(index).object = object;
}

int TStringList::Add(const std::string& text, intptr_t object) {
    items_.push_back({text, object});
    Changed();
    return Count() - 1;
}

void TStringList::Insert(int index, const std::string& text, intptr_t object) {
    if (index < 0 || index > Count())
        throw std::out_of_range("list index out of bounds");
    items_.insert(items_.begin() + index, Item{text, object});
    Changed();
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count())
        throw std::out_of_range("list index out of bounds");
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    items_.clear();
    Changed();
}

int TStringList::IndexOf(std::string_view text) const {
    const std::wstring wanted = Wide(text);
    for (int i = 0; i < Count(); ++i) {
        const std::wstring line = Wide(items_[i].text);
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, line.data(),
                           static_cast<int>(line.size()), wanted.data(),
                           static_cast<int>(wanted.size())) == CSTR_EQUAL)
            return i;
    }
    return -1;
}

void TStringList::Assign(const std::vector<std::string>& lines) {
    items_.clear();
    for (const auto& line : lines)
        items_.push_back({line, 0});
    Changed();
}

std::vector<std::string> TStringList::Lines() const {
    std::vector<std::string> lines;
    for (const auto& item : items_)
        lines.push_back(item.text);
    return lines;
}

void TStringList::SetCommaText(std::string_view text) {
    Assign(ParseCommaText(text));
}

std::string TStringList::CommaText() const {
    std::string text;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (i)
            text += ',';
        const std::string& line = items_[i].text;
        bool quote = line.empty() || line.find_first_of(" ,\"") != std::string::npos ||
                     static_cast<unsigned char>(line.front()) <= ' ';
        if (!quote) {
            text += line;
            continue;
        }
        text += '"';
        for (char c : line) {
            if (c == '"')
                text += '"';
            text += c;
        }
        text += '"';
    }
    return text;
}

std::vector<std::string> ParseCommaText(std::string_view text) {
    std::vector<std::string> lines;
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text[i]))
            ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        std::string line;
        if (text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        line += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                line += text[i++];
            }
        } else {
            while (i < text.size() && text[i] != ',' && !isBlank(text[i]))
                line += text[i++];
        }
        lines.push_back(line);
        skipBlanks();
        if (i < text.size() && text[i] == ',') {
            ++i;
            if (i == text.size())
                lines.emplace_back(); // a trailing comma
            skipBlanks();
        }
        // Anything else (text after a blank that ended an unquoted line) starts
        // the next line.
    }
    return lines;
}

} // namespace orvane
