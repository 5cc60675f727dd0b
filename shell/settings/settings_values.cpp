#include "shell/settings/settings_values.h"

namespace quorlane {

SettingsValues& settingsValues() {
    static SettingsValues values;
    return values;
}

}  // namespace quorlane
