#pragma once
// The desktop picture is the user's screen: its folder and file are private to the user,
// and a new file replaces the old one whole or not at all.
#include <string>
#include <string_view>

namespace quorlane {

// Creates the folder (and missing parents) with mode 0700. True when it then is a real
// folder, not a link, owned by this user: only then is it safe to write into.
bool makePrivateFolder(const std::string& folder);

// Writes the bytes to a new file with mode 0600 beside the target and renames it over the
// target. On any failure the target is left as it was and false is returned.
bool replaceFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace quorlane
