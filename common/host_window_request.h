#pragma once
// The window a screensaver framework hands its programs to draw in: "-window-id <id>"
// (decimal or 0x hex), or "-root" with the window's id in XSCREENSAVER_WINDOW (XScreenSaver
// writes it in hex, xsecurelock in decimal), "-root" alone meaning the root window itself.
// Both programs read it: the shell from the framework, the renderer from the shell.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorlane {

struct HostWindowRequest {
    enum class Kind {
        None,     // no window given: the program runs as it always has
        Window,   // draw into `window`
        Root,     // draw into the root window of the default screen
        Invalid,  // a window was asked for, but not told well enough to find it
    };
    Kind kind = Kind::None;
    uint32_t window = 0;  // for Window
    std::string picture;  // "-picture <file>": the renderer's picture, given by the shell
    std::string problem;  // for Invalid: what is wrong, for one line on standard error
};

// A window id as frameworks write it: decimal, or hex after "0x" / "0X"; nothing else
// around it. 0 and ids beyond 32 bits name no window.
std::optional<uint32_t> parseWindowId(std::string_view text);

// Reads the arguments (without the program name); each option may start with one dash or
// two, and "--window-id=<id>" is taken too. "-window-id" wins over "-root". Arguments it
// does not know are left alone: frameworks may add their own. windowVariable is the value
// of XSCREENSAVER_WINDOW, null when it is unset.
HostWindowRequest hostWindowRequest(const std::vector<std::string>& arguments,
                                    const char* windowVariable);

// A command line split at blanks, as the shell's start-up holds it.
std::vector<std::string> splitAtBlanks(const std::string& line);

}  // namespace quorlane
