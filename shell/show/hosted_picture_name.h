#pragma once
// The picture file of a show in a framework's window. Each show has its own, named for the shell
// that runs it and its window, so that shows side by side (on one display or several, where
// windows may share an id) never read or remove each other's; and a file whose shell is gone,
// killed before it could remove it, can be known and removed by a later start.
#include <optional>
#include <string>

namespace quorlane {

// <folder>/Torvane-<owner>-0x<host>.bmp
std::string hostedDesktopImageFileIn(const std::string& folder, long owner, unsigned long host);

// The owner (the shell's process id) of a file of that form in the folder, or of the temporary
// written beside it (the name followed by a dot and six letters or digits); nothing for any
// other name.
std::optional<long> hostedDesktopImageOwner(const std::string& fileName);

}  // namespace quorlane
