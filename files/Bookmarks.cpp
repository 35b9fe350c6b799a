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
    file.EraseSection("Bookmarks");
    for (size_t i = 0; i < bookmarks.size(); ++i)
        file.WriteString("Bookmarks", std::to_string(i), bookmarks[i]);
}

} // namespace orvane
