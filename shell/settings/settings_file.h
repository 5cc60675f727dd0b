#pragma once
// The settings file beside the shell: "Quorlane.ini", section "Section", five keys.
#include <string>
#include <vector>

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

// Reads and checks all five keys, with every fallback, from Quorlane.ini in shellFolder (the
// settings folder); a key that file does not hold is read from defaultsFile, when given.
void loadSettings(SettingsValues& values, const std::string& shellFolder,
                  const std::string& defaultsFile = {});
// Saves the five keys, in their fixed order, in one replacement of the file at filePath:
// either all are written or none. Temporaries a killed save left beside the file go first.
// Returns the keys whose stored value is not the one given: empty when the save worked; when
// it failed, the keys it would have changed (a key already holding its value is not lost). A
// value the file cannot hold exactly fails the whole save.
std::vector<std::string> saveSettings(const SettingsValues& values, const std::string& filePath);

bool canOpenFile(const std::string& path);

}  // namespace quorlane
