#include "files/Bookmarks.h"

#include <algorithm>
#include <vector>

namespace orvane {

void AddBookmark(const IniFile& file, const std::string& folder) {
    std::vector<std::string> bookmarks;
    for (auto& [key, value] : file.ReadSection("Bookmarks"))
        bookmarks.push_back(std::move(value));
    if (std::find(bookmarks.begin(), bookmarks.end(), folder) != bookmarks.end())
        return;
    bookmarks.insert(bookmarks.begin(), folder);
    bookmarks.resize(std::min(bookmarks.size(), kMaxBookmarks));
    IniPairs pairs;
    for (size_t i = 0; i < bookmarks.size(); ++i)
        pairs.emplace_back(std::to_string(i), bookmarks[i]);
    file.WriteSection("Bookmarks", pairs);
}

} // namespace orvane
