#pragma once
// Acting on exactly the entry a user chose. A name that reaches a delete,
// copy, move or rename is one existing entry, looked up right before acting
// and compared letter by letter, so that neither a wildcard, nor the
// platform's trimming of trailing dots and blanks, nor a short 8.3 alias can
// make it stand for another entry.
#include <string>

namespace orvane {

enum class TEntryKind { Missing, File, Folder };

// What `name` is inside `folder` (which ends with "\"): the kind of the entry
// listed under exactly that name, or Missing when there is none, when the
// name holds a wildcard or a path separator, or when the platform would find
// another entry under it.
TEntryKind ExactEntryKind(const std::string& folder, const std::string& name);

// Whether `name` can name a new file or folder: not empty, no \ / : * ? " < > |
// nor control characters, not "." or "..", no trailing dot or blank, not a
// device name (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, with or
// without an extension), at most 255 UTF-16 units.
bool IsValidEntryName(const std::string& name);

// Whether the folder `path` (with or without a final "\") holds a folder, or
// is itself a link to another place (a junction or symbolic link), either of
// which a one-step delete must not take along.
bool FolderHoldsFolders(const std::string& path);

// Moves one file or folder (with what it holds) to the Recycle Bin as one
// item, never asking and never showing progress. Refuses a path with a
// wildcard. True when the entry is gone afterwards.
bool RecycleEntry(const std::string& path);

} // namespace orvane
