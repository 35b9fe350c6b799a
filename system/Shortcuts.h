#pragma once
// Reading and writing shortcut (.lnk) files through the shell-link object.
// COM must be initialised on the calling thread.
#include <string>

namespace orvane {

struct ShortcutInfo {
    std::string target; // the path as stored, environment variables unexpanded
    std::string folder; // working folder
    int showCommand = 0;
    // The icon the shortcut names (environment variables unexpanded), "" for
    // its target's.
    std::string iconFile;
    int iconIndex = 0;
};

// A file that is not a readable shortcut gives what an empty shell-link object
// reports. Raises ShellError when the shell-link object cannot be created.
ShortcutInfo ResolveShortcut(const std::string& file);

// Writes a shortcut to `target` into `file`. Raises ShellError when the
// shell-link object cannot be created or the file cannot be saved.
void CreateShortcut(const std::string& target, const std::string& file,
                    const std::string& description, const std::string& arguments);

} // namespace orvane
