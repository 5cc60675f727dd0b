#include "shell/settings/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

#include "common/atomic_file.h"
#include "common/decimal_number.h"
#include "common/file_path.h"
#include "common/read_only_open.h"
#include "shell/settings/code_page_932.h"
#include "shell/settings/profile_file.h"
#include "shell/settings/settings_keys.h"

namespace quorlane {
namespace {

// The caller's buffer on Windows is 256 bytes including the terminating zero.
constexpr std::size_t kValueBytes = 255;

// Empty gives 0; text that is no usable number leaves the value as it was.
void loadNumber(int16_t& target, const std::string& text) {
    if (text.empty()) {
        target = 0;
        return;
    }
    // Rounded toward minus infinity, as the value is converted when it is read.
    if (const std::optional<double> number = parseDecimal(text)) {
        if (const std::optional<int16_t> fitted = roundToInt16(*number, Rounding::Down))
            target = *fitted;
    }
}

// A file that cannot be opened is dropped, and the mode that would play or show it falls back.
void loadFile(std::string& file, std::string& folder, int16_t& mode, int16_t modeUsingFile,
              const std::string& text) {
    file = text;
    if (!file.empty() && canOpenFile(file)) {
        folder = folderOfPath(file);
        return;
    }
    file.clear();
    if (mode == modeUsingFile) mode = 0;
}

}  // namespace

std::string settingsFilePath(const std::string& shellFolder) {
    return joinedPath(shellFolder, "Quorlane.ini");
}

std::string readIniValue(const std::string& section, const std::string& key,
                         const std::string& filePath) {
    ProfileText text("");
    readProfileFile(filePath, text);
    return readIniValue(section, key, text);
}

std::string readIniValue(const std::string& section, const std::string& key,
                         const ProfileText& file) {
    std::optional<std::string> fileSection = utf8ToCp932(section);
    std::optional<std::string> fileKey = utf8ToCp932(key);
    if (!fileSection || !fileKey) return {};
    std::optional<std::string> value = file.value(*fileSection, *fileKey);
    if (!value) return {};
    std::string_view text = *value;
    text = text.substr(0, text.find('\0'));
    text = text.substr(0, cp932PrefixLength(text, kValueBytes));
    // Bytes that are not CP932 text are no value this program could have written: read as none.
    return cp932ToUtf8(text).value_or(std::string());
}

bool writeIniValue(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& filePath) {
    std::optional<std::string> fileSection = utf8ToCp932(section);
    std::optional<std::string> fileKey = utf8ToCp932(key);
    std::optional<std::string> fileValue = utf8ToCp932(value);
    // Text the file cannot hold exactly is not written at all, so the key keeps its old value.
    if (!fileSection || !fileKey || !fileValue) return false;
    return writeProfileString(filePath, *fileSection, *fileKey, *fileValue);
}

void loadSettings(SettingsValues& values, const std::string& shellFolder,
                  const std::string& defaultsFile) {
    values = SettingsValues{};
    // Read once for all five keys: the file may be large, and is not to change between keys.
    const auto readWhole = [](const std::string& path, ProfileText& file) {
        if (readProfileFile(path, file) == ProfileRead::TooLarge) {
            std::fprintf(stderr,
                         "Quorlane: the settings file %s is larger than %zu KiB, which no "
                         "settings file is; it is not read and the defaults are used.\n",
                         path.c_str(), kMaxProfileBytes / 1024);
        }
    };
    ProfileText file(""), defaults("");
    readWhole(settingsFilePath(shellFolder), file);
    if (!defaultsFile.empty()) readWhole(defaultsFile, defaults);
    // A key the user's own file does not hold comes from the administrator's defaults.
    const std::optional<std::string> fileSection = utf8ToCp932(kSection);
    const auto setting = [&](const char* key) {
        const std::optional<std::string> fileKey = utf8ToCp932(key);
        const bool own = fileSection && fileKey && file.value(*fileSection, *fileKey).has_value();
        return readIniValue(kSection, key, own ? file : defaults);
    };

    loadNumber(values.pictureMode, setting(kPictureModeKey));
    values.pictureFolder = shellFolder;
    loadFile(values.pictureFile, values.pictureFolder, values.pictureMode, 1,
             setting(kPictureFileKey));

    loadNumber(values.musicMode, setting(kMusicModeKey));
    loadNumber(values.repeatTrack, setting(kRepeatTrackKey));
    values.musicFolder = shellFolder;
    loadFile(values.musicFile, values.musicFolder, values.musicMode, 2, setting(kMusicFileKey));
}

std::vector<std::string> saveSettings(const SettingsValues& values, const std::string& filePath) {
    const std::pair<const char*, std::string> keys[] = {
        {kPictureModeKey, std::to_string(values.pictureMode)},
        {kPictureFileKey, values.pictureFile},
        {kMusicModeKey, std::to_string(values.musicMode)},
        {kRepeatTrackKey, std::to_string(values.repeatTrack)},
        {kMusicFileKey, values.musicFile},
    };
    // Ten seconds keeps clear of a save running now in another process, whose temporary may
    // exist for an instant before its writer locks it.
    removeStaleTemporaries(filePath, std::chrono::seconds(10));

    ProfileText before("");
    readProfileFile(filePath, before);
    const std::optional<std::string> section = utf8ToCp932(kSection);
    std::vector<std::pair<std::string, std::string>> fileKeys;  // as stored: code page 932
    std::vector<std::string> changing;
    bool holdable = section.has_value();
    for (const auto& [key, value] : keys) {
        std::optional<std::string> fileKey = utf8ToCp932(key);
        std::optional<std::string> fileValue = utf8ToCp932(value);
        if (!section || !fileKey || !fileValue) {
            holdable = false;
            changing.push_back(key);
        } else if (before.value(*section, *fileKey) != *fileValue) {
            changing.push_back(key);
        }
        if (fileKey && fileValue) fileKeys.emplace_back(std::move(*fileKey), std::move(*fileValue));
    }
    std::vector<ProfileEntry> entries;
    for (const auto& [key, value] : fileKeys) entries.push_back({key, value});
    if (holdable && writeProfileStrings(filePath, *section, entries)) return {};
    return changing;
}

bool canOpenFile(const std::string& path) {
    std::string name = path;
    if (!name.empty() && name.back() == kPathSeparator) name.pop_back();
    if (name.empty()) return false;
    // Non-blocking, so that a FIFO is refused at once instead of waiting for a writer.
    int fd = openForReading(name);
    if (fd < 0) return false;
    struct stat st {};
    bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return regular;
}

}  // namespace quorlane
