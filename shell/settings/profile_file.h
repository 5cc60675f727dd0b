#pragma once
// An initialization ("profile") file read and written with the rules of the Windows profile
// routines, so that a file written by either side reads the same on the other: "[Section]"
// headers, "key=value" lines, CRLF line ends. Names and values here are the file's own bytes
// (code page 932 for the settings file); conversion is the caller's business.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorlane {

// The text of one profile file. Lines that are not touched keep their text and their order;
// LF-only and CRLF files are both read, and the text is always written back with CRLF.
class ProfileText {
public:
    explicit ProfileText(std::string_view bytes);

    // The value of the first matching key in the first matching section (both compared without
    // regard to ASCII case), blanks around it trimmed and one pair of matching quotes removed;
    // nullopt when there is no such key.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Replaces the key's value, or adds the key at the end of its section, or adds the section
    // at the end of the text. A value that reading would alter (outer blanks or outer matching
    // quotes) is stored in double quotes so that it reads back as given. Returns false, and
    // changes nothing, for text a line cannot hold (line breaks, NUL, "=" in a key, "]" in a
    // section name, empty or blank-edged names).
    bool setValue(std::string_view section, std::string_view key, std::string_view value);

    std::string bytes() const;

private:
    std::vector<std::string> lines_;
};

// Far larger than any settings file; a bigger file is none this program wrote, and taking it
// apart would cost seconds and memory.
inline constexpr std::size_t kMaxProfileBytes = std::size_t{1} << 20;

enum class ProfileRead { Ok, Missing, Unreadable, TooLarge };

// Reads the whole file once, for any number of look-ups. Unless the result is Ok the text is
// empty, so every key is missing. A file above kMaxProfileBytes is not read at all.
ProfileRead readProfileFile(const std::string& path, ProfileText& text);

// One look-up in a freshly read file; a file that cannot be read (see readProfileFile) reads
// as empty, so every key is missing.
std::optional<std::string> readProfileString(const std::string& path, std::string_view section,
                                             std::string_view key);

// Writes one key through a temporary file in the same folder and a rename, keeping the old
// file's mode: a crash or a full disk never leaves a half-written file. Returns whether the
// file now holds the value; on false the old file is as it was. A file that cannot be read
// whole (unreadable, or above kMaxProfileBytes) is not rewritten: its other contents would
// be lost.
bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace quorlane
