#include <windows.h>

#include "renderer/core/error_message.h"

namespace quorlane {

// On Windows the message is a modal box titled "Error", owned by the window with the focus;
// the loader carries on once it is dismissed.
void reportError(const std::string& text) { MessageBoxA(GetFocus(), text.c_str(), "Error", MB_OK); }

}  // namespace quorlane
