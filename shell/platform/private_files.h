#pragma once
// The desktop picture is the user's screen: its folder and file are private to the user,
// and a new file replaces the old one whole or not at all (common/atomic_file.h).
//
// Supports: real folders owned by the user (0700), files 0600 replaced through a temporary file
//   and a rename, stale temporaries removed.
// Does not: folders shared with other users, links in the place of the folder.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/atomic_file.h"

namespace quorlane {

// Creates the folder (and missing parents) with mode 0700. True when it then is a real
// folder, not a link, owned by this user: only then is it safe to write into. A folder of
// ours that others could read is closed to them (0700).
bool makePrivateFolder(const std::string& folder);

// The first of the folders (best first) that makePrivateFolder accepts; empty when none is
// safe. The renderer takes the first folder of ours in the same list, so both agree.
std::string preparePrivateFolder(const std::vector<std::string>& folders);

// Removes the files of ours in the folder that belong to a process now gone: ownerOf names
// the owning process of a file name, or nothing for a file that is not such a file. A file
// whose owner still runs, or cannot be known to be gone, is left.
void removeFilesOfEndedProcesses(
    const std::string& folder,
    const std::function<std::optional<long>(const std::string&)>& ownerOf);

}  // namespace quorlane
