#pragma once
// The path rules of the whole program. Paths are split and joined at "/" only.
#include <string>
#include <string_view>

namespace quorlane {

// Everything before the last "/": "/" itself for a file in the root, empty for a bare name.
std::string folderOfPath(const std::string& path);

// folder + "/" + name, without doubled slashes when the folder ends in one.
std::string joinedPath(std::string folder, std::string_view name);

}  // namespace quorlane
