#pragma once
// The path rules of the whole program. On Linux paths are split and joined at "/" only; on
// Windows at "\" and, for the folder of a path, also after a drive's ":". Paths are UTF-8 text
// on both systems (Windows' wide-character calls take them through common/win32/wide_text.h).
#include <string>
#include <string_view>

namespace quorlane {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Linux: everything before the last "/": "/" itself for a file in the root, empty for a bare
// name. Windows: everything up to the last ":" or "\", without that "\": "C:" for a file in
// a drive's root, empty for a bare name.
std::string folderOfPath(const std::string& path);

// Whether a folder named by the environment may be used: Linux, from the root ("/...");
// Windows, on a drive ("C:\..." or "C:/...") or a share ("\\server\..."). Null is not.
bool isAbsolutePath(const char* path);

// folder + separator + name, without a doubled separator when the folder ends in one.
std::string joinedPath(std::string folder, std::string_view name);

}  // namespace quorlane
