#pragma once
// Saving the dialog's five choices into the settings file, in their fixed order. A choice the
// file cannot hold is never written cut or altered: the save reports it instead, so that the
// dialog can tell the user rather than close as if everything had been kept.
#include <string>
#include <vector>

#include "shell/settings/settings_values.h"

namespace quorlane {

enum class SaveProblem {
    CannotHold,   // a path with characters code page 932 lacks, or longer than a value can be
    CannotWrite,  // the settings file could not be written
};

struct UnsavedChoice {
    std::string key;  // the settings key, e.g. "画像ﾌｧｲﾙ"
    SaveProblem problem;
};

// The longest value, in code page 932 bytes, that reads back whole.
inline constexpr std::size_t kLongestSettingValue = 255;

// Whether the file can hold the text exactly and read it back whole.
bool settingsFileCanHold(const std::string& text);

// Writes the five keys in order. When a path cannot be held, nothing at all is written, so the
// file keeps a consistent set of choices; a key whose write fails leaves its old value. Returns
// what was not saved (empty when all was).
std::vector<UnsavedChoice> saveDialogSettings(const SettingsValues& values,
                                              const std::string& settingsFile);

// The message that names the unsaved choices, in the dialog's language.
std::string unsavedChoicesMessage(const std::vector<UnsavedChoice>& unsaved);

}  // namespace quorlane
