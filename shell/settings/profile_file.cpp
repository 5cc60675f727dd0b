#include "shell/settings/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "common/ascii_case.h"
#include "common/atomic_file.h"
#include "common/read_only_open.h"
#include "shell/settings/code_page_932.h"

namespace quorlane {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// ASCII letters match either case; the second byte of a double-byte character is compared
// exactly, because 0x41 and 0x61 there are parts of two different characters.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (isCp932LeadByte(ca)) {
            if (ca != cb || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return true;
}

// Position of the first `wanted` byte that is a character of its own, not the second byte of
// a double-byte one (0x5D "]" can be that).
std::size_t findSingleByte(std::string_view text, char wanted) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == wanted) return i;
        if (isCp932LeadByte(static_cast<unsigned char>(text[i]))) ++i;
    }
    return std::string_view::npos;
}

enum class LineKind { Other, Section, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section name or key
    std::string_view value;  // key lines: the trimmed text after "="
};

ParsedLine parseLine(std::string_view line) {
    ParsedLine parsed;
    std::string_view text = trim(line);
    if (text.empty() || text.front() == ';') return parsed;
    if (text.front() == '[') {
        std::string_view inner = text.substr(1);
        inner = inner.substr(0, findSingleByte(inner, ']'));
        parsed.kind = LineKind::Section;
        parsed.name = trim(inner);
        return parsed;
    }
    std::size_t equals = findSingleByte(text, '=');
    if (equals == std::string_view::npos) return parsed;
    parsed.kind = LineKind::Key;
    parsed.name = trim(text.substr(0, equals));
    parsed.value = trim(text.substr(equals + 1));
    return parsed;
}

bool isQuote(char c) { return c == '"' || c == '\''; }

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front()) {
        value.remove_prefix(1);
        value.remove_suffix(1);
    }
    return value;
}

bool holdsLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool isUsableName(std::string_view name) {
    return !name.empty() && trim(name).size() == name.size() && !holdsLineBreakOrNul(name) &&
           name.front() != '[' && name.front() != ';';
}

// --- file access -----------------------------------------------------------------------------

ProfileRead readWholeFile(const std::string& path, std::string& out) {
    out.clear();
    // Non-blocking, so that a FIFO in the file's place cannot hang the caller.
    int fd = openRegularFileToRead(path);
    if (fd < 0) return errno == ENOENT ? ProfileRead::Missing : ProfileRead::Unreadable;
    struct stat st {};
    ProfileRead result = ProfileRead::Ok;
    if (::fstat(fd, &st) != 0)
        result = ProfileRead::Unreadable;
    else if (static_cast<std::size_t>(st.st_size) > kMaxProfileBytes)
        result = ProfileRead::TooLarge;
    char buffer[16384];
    while (result == ProfileRead::Ok) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) result = ProfileRead::Unreadable;
        if (n <= 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
        // A file that grows while it is read is held to the same limit.
        if (out.size() > kMaxProfileBytes) result = ProfileRead::TooLarge;
    }
    ::close(fd);
    if (result != ProfileRead::Ok) out.clear();
    return result;
}

}  // namespace

ProfileText::ProfileText(std::string_view bytes) {
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.emplace_back(line);
        start = next;
    }
}

std::optional<std::string> ProfileText::value(std::string_view section,
                                              std::string_view key) const {
    bool seenSection = false;
    bool inSection = false;
    for (const std::string& line : lines_) {
        ParsedLine parsed = parseLine(line);
        if (parsed.kind == LineKind::Section) {
            // Only the first section of that name counts, as on Windows.
            if (inSection) return std::nullopt;
            inSection = !seenSection && sameName(parsed.name, section);
            seenSection = seenSection || inSection;
        } else if (inSection && parsed.kind == LineKind::Key && sameName(parsed.name, key)) {
            return std::string(unquote(parsed.value));
        }
    }
    return std::nullopt;
}

bool ProfileText::setValue(std::string_view section, std::string_view key, std::string_view value) {
    if (!isUsableName(section) || findSingleByte(section, ']') != std::string_view::npos ||
        !isUsableName(key) || findSingleByte(key, '=') != std::string_view::npos ||
        holdsLineBreakOrNul(value)) {
        return false;
    }
    std::string stored(value);
    if (trim(value).size() != value.size() || unquote(value).size() != value.size()) {
        stored = "\"" + stored + "\"";
    }

    std::size_t header = lines_.size();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        ParsedLine parsed = parseLine(lines_[i]);
        if (parsed.kind == LineKind::Section && sameName(parsed.name, section)) {
            header = i;
            break;
        }
    }
    if (header == lines_.size()) {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::string(key) + "=" + stored);
        return true;
    }
    std::size_t lastFilled = header;  // a new key goes after the section's last non-blank line
    for (std::size_t i = header + 1; i < lines_.size(); ++i) {
        ParsedLine parsed = parseLine(lines_[i]);
        if (parsed.kind == LineKind::Section) break;
        if (parsed.kind == LineKind::Key && sameName(parsed.name, key)) {
            // The key keeps its spelling in the file; only the value changes.
            lines_[i] = std::string(parsed.name) + "=" + stored;
            return true;
        }
        if (!trim(lines_[i]).empty()) lastFilled = i;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(lastFilled) + 1,
                  std::string(key) + "=" + stored);
    return true;
}

std::string ProfileText::bytes() const {
    std::string out;
    for (const std::string& line : lines_) {
        out += line;
        out += "\r\n";
    }
    return out;
}

ProfileRead readProfileFile(const std::string& path, ProfileText& text) {
    std::string bytes;
    ProfileRead result = readWholeFile(path, bytes);
    text = ProfileText(bytes);
    return result;
}

std::optional<std::string> readProfileString(const std::string& path, std::string_view section,
                                             std::string_view key) {
    ProfileText text("");
    readProfileFile(path, text);
    return text.value(section, key);
}

bool writeProfileStrings(const std::string& path, std::string_view section,
                         const std::vector<ProfileEntry>& entries) {
    if (path.empty()) return false;
    std::string target = path;
#ifndef _WIN32
    // Through a symbolic link the file it names is updated, not the link replaced. (Windows
    // moves the new file over the link's own name; links to a settings file are not made there.)
    struct stat linkStat {};
    if (::lstat(path.c_str(), &linkStat) == 0 && S_ISLNK(linkStat.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved) == nullptr) return false;
        target = resolved;
    }
#endif

    std::string old;
    ProfileRead read = readWholeFile(target, old);
    // Its other contents could not be kept.
    if (read != ProfileRead::Ok && read != ProfileRead::Missing) return false;

    ProfileText text(old);
    for (const ProfileEntry& entry : entries) {
        if (!text.setValue(section, entry.key, entry.value)) return false;
    }
    std::string updated = text.bytes();
    if (read == ProfileRead::Ok && updated == old) return true;

    int mode = kModeFromUmask;  // a new file
    if (read == ProfileRead::Ok) {
        // Asked of the file opened as it was read, so that any path that reads is asked too.
        struct stat st {};
        const int fd = openForReading(target);
        const bool known = fd >= 0 && ::fstat(fd, &st) == 0;
        if (fd >= 0) ::close(fd);
        if (!known) return false;
            // The rename would replace a file its owner made read-only (root included, whom
            // permissions do not stop): such a file is kept as it is.
#ifdef _WIN32
        const bool writable = (st.st_mode & 0222) != 0;  // the read-only attribute
#else
        const bool writable = (st.st_mode & 0222) != 0 && ::access(target.c_str(), W_OK) == 0;
#endif
        if (!writable) {
            errno = EACCES;
            return false;
        }
        mode = static_cast<int>(st.st_mode & 07777);
    }
    return replaceFileAtomically(target, updated, mode);
}

bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    return writeProfileStrings(path, section, {{key, value}});
}

}  // namespace quorlane
