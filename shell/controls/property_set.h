#pragma once
// The key/value set a host keeps for a stored button, in the order the values were written.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace quorlane {

// A font as it is stored: everything a caption font carries.
struct FontDescription {
    std::string faceName;
    double pointSize = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int charset = 0;
    bool operator==(const FontDescription&) const = default;
};

// Shift-JIS, the character set of the Japanese captions.
constexpr int kShiftJisCharset = 128;

using PropertyValue = std::variant<bool, int32_t, std::string, FontDescription>;

class PropertySet {
public:
    // The stored value, or null when the key is absent.
    const PropertyValue* find(std::string_view key) const;

    // Replaces the value of a key, or adds the key at the end.
    void set(std::string_view key, PropertyValue value);

    const std::vector<std::pair<std::string, PropertyValue>>& entries() const { return entries_; }

private:
    std::vector<std::pair<std::string, PropertyValue>> entries_;
};

}  // namespace quorlane
