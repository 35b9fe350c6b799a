#pragma once
// A list of strings, each with an object beside it (an icon handle, a file
// size...), as list boxes, combo boxes and menus hold them.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class TStringList {
  public:
    int Count() const { return static_cast<int>(items_.size()); }
    const std::string& operator[](int index) const { return items_.at(index).text; }
    std::string Get(int index) const { return items_.at(index).text; }
    // Out-of-range indexes raise std::out_of_range; lists only grow through Add.
    void Set(int index, const std::string& text);
    intptr_t Object(int index) const { return items_.at(index).object; }
    void SetObject(int index, intptr_t object);

    int Add(const std::string& text, intptr_t object = 0);
    void Insert(int index, const std::string& text, intptr_t object = 0);
    void Delete(int index);
    void Clear();
    int IndexOf(std::string_view text) const; // case-insensitive, -1 when absent
    void Assign(const std::vector<std::string>& lines);
    std::vector<std::string> Lines() const;

    // Lines separated by commas; see ParseCommaText.
    void SetCommaText(std::string_view text);
    std::string CommaText() const;

    // Called after every change, so the control showing the list can follow.
    std::function<void()> OnChange;

  private:
    struct Item {
        std::string text;
        intptr_t object = 0;
    };
    void Changed();
    std::vector<Item> items_;
};

// Comma text: blanks (every character up to and including the space) around a
// line are skipped and an unquoted line ends at a blank; a line that starts
// with a double quote runs to the closing one ("" inside stands for one);
// ",," gives an empty line and a comma at the end a final empty line.
std::vector<std::string> ParseCommaText(std::string_view text);

} // namespace orvane
