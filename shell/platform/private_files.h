#pragma once
// The desktop picture is the user's screen: its folder and file are private to the user,
// and a new file replaces the old one whole or not at all (common/atomic_file.h).
#include <string>

namespace quorlane {

// Creates the folder (and missing parents) with mode 0700. True when it then is a real
// folder, not a link, owned by this user: only then is it safe to write into.
bool makePrivateFolder(const std::string& folder);

}  // namespace quorlane
