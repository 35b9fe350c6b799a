#include "base/History.h"

#include <algorithm>
#include <vector>

namespace orvane {

void AddToHistory(const IniFile& file, const std::string& section, const std::string& item) {
    std::vector<std::string> values;
    for (auto& [key, value] : file.ReadSection(section))
        values.push_back(std::move(value));

    // With duplicates (a hand-edited file) the last occurrence is the one that goes.
    auto last = std::find(values.rbegin(), values.rend(), item);
    if (last != values.rend())
        values.erase(std::next(last).base());
    values.insert(values.begin(), item);

    // The section is written anew in one step: a failure leaves the old list.
    IniPairs pairs;
    for (size_t i = 0; i < std::min(values.size(), kHistoryLength); ++i)
        pairs.emplace_back(std::to_string(i), values[i]);
    file.WriteSection(section, pairs);
}

void AddToHistory(const std::string& section, const std::string& item) {
    AddToHistory(IniFile::Config(), section, item);
}

} // namespace orvane
