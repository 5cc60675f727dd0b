#include "shell/controls/property_set.h"

namespace quorlane {

const PropertyValue* PropertySet::find(std::string_view key) const {
    for (const auto& [name, value] : entries_)
        if (name == key) return &value;
    return nullptr;
}

void PropertySet::set(std::string_view key, PropertyValue value) {
    for (auto& [name, stored] : entries_) {
        if (name == key) {
            stored = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::string(key), std::move(value));
}

}  // namespace quorlane
