#pragma once
// The local path a "file:" URI names, as a desktop portal hands back a picture it saved.
#include <optional>
#include <string>
#include <string_view>

namespace quorlane {

// "file:///tmp/out.png" or "file://localhost/..." with %XX escapes: the absolute path, decoded.
// Nothing for another scheme or host, a relative path, a broken escape or an escaped NUL.
std::optional<std::string> localPathOfFileUri(std::string_view uri);

}  // namespace quorlane
