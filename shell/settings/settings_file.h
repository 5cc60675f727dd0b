#pragma once
// The settings file beside the shell: "Quorlane.ini", section "Section", five keys.
#include <string>

#include "common/file_path.h"  // folderOfPath
#include "shell/settings/profile_file.h"
#include "shell/settings/settings_values.h"

namespace quorlane {

std::string settingsFilePath(const std::string& shellFolder);

// Profile-file access with the semantics the settings rely on; section, key and value are
// UTF-8 here and CP932 in the file. A value comes back cut to 255 bytes of CP932.
std::string readIniValue(const std::string& section, const std::string& key,
                         const std::string& filePath);
// The same from a file already read (see readProfileFile).
std::string readIniValue(const std::string& section, const std::string& key,
                         const ProfileText& file);
// Returns whether the file now holds the value (the callers ignore it; tests do not).
bool writeIniValue(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& filePath);

// Reads and checks all five keys, with every fallback; shellFolder is the folder of the
// running shell program.
void loadSettings(SettingsValues& values, const std::string& shellFolder);
// Writes all five keys in their fixed order (the settings dialog's confirm button).
void writeSettings(const SettingsValues& values, const std::string& shellFolder);

bool canOpenFile(const std::string& path);

}  // namespace quorlane
