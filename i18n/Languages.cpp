#include "i18n/Languages.h"

#include "base/Config.h"
#include "base/Utf.h"
#include "toolkit/Application.h"
#include "toolkit/Component.h"
#include "toolkit/Form.h"

#include <windows.h>

#include <charconv>
#include <cmath>
#include <optional>

namespace orvane {

namespace {

const char* const kMessagesSection = "Messages";
const char* const kDefaultLanguage = "English";

std::string& Language() {
    static std::string language = kDefaultLanguage;
    return language;
}

// What a plain key sets on a component of each kind; the first row the
// component belongs to wins, so derived kinds must come before their bases.
struct DefaultProperty {
    const char* kind;
    const char* property; // null: a plain key naming such a component is skipped
};

constexpr DefaultProperty kDefaultProperties[] = {
    {"TButton", "Caption"},
    {"TMenuItem", "Caption"},
    {"TCustomLabel", "Caption"},
    {"TCustomEdit", "Text"},
    {"TGroupBox", "Caption"},
    {"TOpenDialog", "Title"},
    // A bare list name could mean its lines, its selection or its edit text;
    // guessing would wipe a list the user relies on, so the file has to say
    // which with "<list>.Items=" or an indexed key.
    {"TListBox", nullptr},
    {"TCustomComboBox", nullptr},
};

const char* DefaultPropertyOf(const TComponent& component) {
    for (const auto& row : kDefaultProperties)
        if (component.InheritsFrom(row.kind))
            return row.property;
    return nullptr;
}

bool IsIdentifierStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsIdentifier(std::string_view text) {
    if (text.empty() || !IsIdentifierStart(text.front()))
        return false;
    for (char c : text)
        if (!IsIdentifierStart(c) && !(c >= '0' && c <= '9'))
            return false;
    return true;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string DecimalSeparator() {
    constexpr int kUnits = 8;
    wchar_t buffer[kUnits] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, kUnits) > 1)
        return Utf8Until(buffer, kUnits);
    return ".";
}

// A decimal number written with the system's separator, blanks around it
// allowed; anything else (names such as "inf" included) is not a number.
std::optional<double> ParseLocalFloat(std::string_view text, const std::string& separator) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    std::string plain;
    for (size_t i = 0; i < text.size();) {
        if (!separator.empty() && text.substr(i, separator.size()) == separator) {
            plain += '.';
            i += separator.size();
            continue;
        }
        char c = text[i++];
        if (!IsDigit(c) && c != 'e' && c != 'E' && c != '+' && c != '-')
            return std::nullopt;
        plain += c;
    }
    if (!plain.empty() && plain.front() == '+')
        plain.erase(0, 1);
    if (plain.empty() || !(IsDigit(plain.front()) || plain.front() == '-' || plain.front() == '.'))
        return std::nullopt;
    double value = 0;
    auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Sets a property from its text in the file; a value that does not fit the
// property's kind or range leaves the current value.
void ApplyValue(const TProperty& property, const std::string& value) {
    switch (property.Kind) {
    case TPropKind::Integer:
    case TPropKind::Enumeration: {
        auto number = ParseIniInteger(value);
        if (number && *number >= property.MinValue && *number <= property.MaxValue &&
            property.SetOrdinal)
            property.SetOrdinal(*number);
        break;
    }
    case TPropKind::Char:
        // One byte: a letter beyond ASCII takes several in UTF-8, and its
        // first byte alone is no character.
        if (!value.empty() && static_cast<unsigned char>(value.front()) < 0x80 &&
            property.SetOrdinal)
            property.SetOrdinal(static_cast<unsigned char>(value.front()));
        break;
    case TPropKind::Float:
        if (auto number = ParseLocalFloat(value, DecimalSeparator()); number && property.SetFloat)
            property.SetFloat(*number);
        break;
    case TPropKind::String:
    case TPropKind::WideString: // text is UTF-8 throughout: the file's text goes in as it is
        if (property.SetText)
            property.SetText(value);
        break;
    case TPropKind::StringList:
        if (TStringList* list = property.List ? property.List() : nullptr)
            list->SetCommaText(value);
        break;
    case TPropKind::Other:
        break;
    }
}

void ApplyNamedProperty(TComponent& target, std::string_view name, const std::string& value) {
    if (const TProperty* property = target.FindProperty(name))
        ApplyValue(*property, value);
}

struct ListIndex {
    std::string_view property; // the text before "("
    int line;
};

// "<property>(<line>)": the first "(" must come before the first ")" and the
// whole text between them must be an integer.
std::optional<ListIndex> ParseListIndex(std::string_view text) {
    size_t open = text.find('(');
    size_t close = text.find(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return std::nullopt;
    auto line = ParseIniInteger(text.substr(open + 1, close - open - 1));
    if (!line)
        return std::nullopt;
    return ListIndex{text.substr(0, open), *line};
}

// Lists are never lengthened by a language file: a line that does not exist
// stays missing.
void SetListLine(TComponent& target, std::string_view property, int line,
                 const std::string& value) {
    const TProperty* found = target.FindProperty(property);
    if (!found || found->Kind != TPropKind::StringList || !found->List)
        return;
    TStringList* list = found->List();
    if (list && line >= 0 && line < list->Count())
        list->Set(line, value);
}

void ApplyKey(TComponent& window, std::string_view key, const std::string& value) {
    size_t dot = key.find('.');
    if (dot == std::string_view::npos && IsIdentifier(key)) {
        TComponent* component = window.FindComponent(key);
        if (!component) {
            ApplyNamedProperty(window, key, value); // e.g. Caption= of the window itself
            return;
        }
        if (const char* property = DefaultPropertyOf(*component))
            ApplyNamedProperty(*component, property, value);
        return;
    }
    if (dot != std::string_view::npos && IsIdentifier(key.substr(0, dot))) {
        TComponent* component = window.FindComponent(key.substr(0, dot));
        if (!component)
            return;
        std::string_view rest = key.substr(dot + 1);
        if (IsIdentifier(rest)) {
            ApplyNamedProperty(*component, rest, value);
            return;
        }
        // The dotted indexed form sets its value as written: only the short
        // form needs the "." that protects leading blanks.
        if (auto index = ParseListIndex(rest))
            SetListLine(*component, index->property, index->line, value);
        return;
    }
    // The short indexed form "<component>(<line>)" sets a line of Items; a
    // leading "." lets the line start with blanks the INI reader would drop.
    size_t open = key.find('(');
    if (open == std::string_view::npos || !IsIdentifier(key.substr(0, open)))
        return;
    TComponent* component = window.FindComponent(key.substr(0, open));
    if (!component)
        return;
    auto index = ParseListIndex(key.substr(open));
    if (!index)
        return;
    std::string line = value;
    if (!line.empty() && line.front() == '.')
        line.erase(0, 1);
    SetListLine(*component, "Items", index->line, line);
}

} // namespace

std::string CurrentLanguage() {
    return Language();
}

void SetCurrentLanguage(const std::string& language) {
    Language() = language;
}

std::string LanguageFilePath() {
    return ProgramFolder() + "\\Languages\\" + Language() + ".lng";
}

std::string GetLangMessage(const std::string& name) {
    return IniFile(LanguageFilePath()).ReadString(kMessagesSection, name, name);
}

std::string GetLangMessage(const std::string& name, const std::string& argument) {
    std::string text = GetLangMessage(name);
    if (const size_t at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, argument);
    return text;
}

void LoadLanguage(bool apply) {
    SetCurrentLanguage(kDefaultLanguage);
    SetCurrentLanguage(IniFile::Config().ReadString("General", "Language", kDefaultLanguage));
    if (apply)
        TranslateAllForms();
}

std::string LanguageSectionName(std::string_view windowName) {
    size_t n = windowName.size();
    if (n >= 2 && windowName[n - 2] == '_' && IsDigit(windowName[n - 1]))
        return std::string(windowName.substr(0, n - 2));
    if (n >= 3 && windowName[n - 3] == '_' && IsDigit(windowName[n - 2]) &&
        IsDigit(windowName[n - 1]))
        return std::string(windowName.substr(0, n - 3));
    return std::string(windowName);
}

void TranslateForm(TComponent* window) {
    if (!window)
        return;
    IniFile file(LanguageFilePath());
    for (const auto& [key, value] : file.ReadSection(LanguageSectionName(window->Name())))
        ApplyKey(*window, key, value);
}

void TranslateAllForms() {
    TApplication* application = Application();
    if (!application)
        return;
    for (TForm* form : application->Forms())
        TranslateForm(form);
}

} // namespace orvane
