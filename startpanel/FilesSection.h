#pragma once
// How the start panel's Files section names a drive.
#include <windows.h>

#include <string>

namespace orvane {

// "[label]" with the drive's volume label in lower case; "[]" when it cannot
// be read (no disc, no label). No error box comes up for a drive not ready.
std::string VolumeLabelText(char letter);
// The remote name of a network drive in lower case; the volume text when the
// connection cannot be read.
std::string NetworkDriveText(char letter);
// What the entry shows until the drive's text has been read: the letter,
// or "" for kinds that are not listed.
std::string DriveLetterText(char letter, UINT driveType);
// The entry of drive `letter` (lower case) of the given GetDriveType kind, or
// "" for kinds that are not listed (unknown, no root).
std::string DriveEntryText(char letter, UINT driveType);

} // namespace orvane
