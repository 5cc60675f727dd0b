#pragma once
// One of the user's own folders on Windows: the one the environment names (LOCALAPPDATA,
// APPDATA) when that is an absolute path, else the profile's, so that a process started with
// a cleared environment still finds it. Empty when neither is there.
#include <string>

namespace quorlane {

// csidl: the profile folder's CSIDL_ number (CSIDL_LOCAL_APPDATA, CSIDL_APPDATA).
std::string userFolder(const char* variable, int csidl);

}  // namespace quorlane
