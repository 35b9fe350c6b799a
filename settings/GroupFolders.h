#pragma once
// The start panel's groups on disk: one folder per group below the Groups
// folder, each holding the group's items as shortcut files. Every change acts
// on the file system at once; failures are not reported, the refreshed lists
// show what happened.
#include <string>
#include <vector>

namespace orvane {

// Whether `name` can name a group: one folder directly below the Groups
// folder. An empty name would name the Groups folder itself, and ".." or a
// path a folder elsewhere; a change asked for such a name is not made.
bool IsGroupName(const std::string& name);

// The folders below `groupsFolder`, in listing order.
std::vector<std::string> ListGroups(const std::string& groupsFolder);
// An item of a group: the name the list shows and the file it stands for.
struct TGroupItem {
    std::string name; // the file's name cut before its first ".lnk"
    std::string file; // as listed: "Mail.lnk.bak" and "Mail.lnk" both show "Mail"
};
// The entries of `groupFolder` whose name holds ".lnk" (lower case).
std::vector<TGroupItem> ListGroupItems(const std::string& groupFolder);
// The entries of `languagesFolder` whose name holds ".lng", each cut before
// its first ".lng" (folders too, as the list only offers names).
std::vector<std::string> ListLanguages(const std::string& languagesFolder);

// The shortcut file name for an item: the target's file name with its
// extension replaced by ".lnk" (C:\Tools\calc.exe gives calc.lnk).
std::string ShortcutNameFor(const std::string& target);

// Each does nothing for a name IsGroupName refuses; failures are not reported.
void CreateGroup(const std::string& groupsFolder, const std::string& name);
// True when the folder was renamed.
bool RenameGroup(const std::string& groupsFolder, const std::string& from, const std::string& to);
// Deletes the group's files (not its sub-folders), then the folder when it is
// empty by then.
void DeleteGroup(const std::string& groupsFolder, const std::string& name);
// Makes the shortcut file `file` for `target` unless an entry of that name
// exists: false then, and nothing is written. The name is taken before the
// shortcut is written, so no other writer's file is overwritten either.
// Raises ShellError when the shortcut cannot be written.
bool CreateNewShortcut(const std::string& target, const std::string& file);
// Deletes the item file `file` of `groupFolder`, as ListGroupItems listed
// it, when a file is still listed under exactly that name.
void DeleteGroupItem(const std::string& groupFolder, const std::string& file);

} // namespace orvane
