#pragma once
// The profile-file syntax over decoded text: "[Section]" lines open a section,
// "Key=Value" lines belong to the section above; names match without regard
// to case; blanks around names and values are not part of them; lines that
// start with ";" are comments. The first of two sections or keys of the same
// name is the one read. Edits change only the lines they must, so keys other
// programs or an editor put into the file stay as they were.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane {

using IniPairs = std::vector<std::pair<std::string, std::string>>;

class IniText {
  public:
    explicit IniText(std::string_view text);

    // The value as it stands in the file (surrounding quotes included).
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // Key=Value pairs of the first section of that name, in file order,
    // values as they stand.
    IniPairs Section(std::string_view section) const;

    // Sets the first such key, or adds it at the end of the first such
    // section, or adds the section at the end of the text.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // Removes every section of that name with all its lines.
    void EraseSection(std::string_view section);
    // Replaces the first such section's keys by `pairs` (removing its
    // duplicates), or adds it at the end.
    void ReplaceSection(std::string_view section, const IniPairs& pairs);

    // The text with the line breaks the file had ("\r\n" for a new file).
    std::string Text() const;

  private:
    struct Line {
        std::string text;
    };
    // Index of the first line of the first section called `section` (its
    // header), or lines_.size().
    size_t FindSection(std::string_view section) const;
    // One past the last line of the section whose header is at `header`.
    size_t SectionEnd(size_t header) const;
    // One past the last non-blank line of that section.
    size_t SectionContentEnd(size_t header) const;

    std::vector<std::string> lines_;
    std::string lineBreak_ = "\r\n";
    bool finalBreak_ = true;
};

// True when two section or key names are the same without regard to case.
bool SameIniName(std::string_view a, std::string_view b);
// One pair of matching quotes ('…' or "…") around a value taken off, as the
// platform's profile reader does.
std::string UnquoteIniValue(const std::string& value);

} // namespace orvane
