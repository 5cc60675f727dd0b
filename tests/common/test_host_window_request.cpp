// How a framework's window reaches the programs: the options, both dash spellings, the
// environment variable in hex and in decimal, and what is refused.
#include <gtest/gtest.h>

#include "common/host_window_request.h"

namespace quorlane {
namespace {

using Kind = HostWindowRequest::Kind;

struct Case {
    const char* commandLine;
    const char* windowVariable;  // null: unset
    Kind kind;
    uint32_t window;
    const char* picture;
};

TEST(HostWindowRequest, ReadsTheWindowFromOptionsAndEnvironment) {
    const Case cases[] = {
        // the show's own switches ask for no window
        {"/s", nullptr, Kind::None, 0, ""},
        {"", "0x400007", Kind::None, 0, ""},
        {"/p 1234", nullptr, Kind::None, 0, ""},
        // -window-id, either spelling, decimal or hex
        {"-window-id 4194311", nullptr, Kind::Window, 4194311, ""},
        {"--window-id 0x400007", nullptr, Kind::Window, 0x400007, ""},
        {"--window-id=0X2A", nullptr, Kind::Window, 42, ""},
        {"-window-id=17", nullptr, Kind::Window, 17, ""},
        // -root takes XSCREENSAVER_WINDOW: XScreenSaver's hex, xsecurelock's decimal
        {"-root", "0x1e00007", Kind::Window, 0x1e00007, ""},
        {"--root", "31457287", Kind::Window, 31457287, ""},
        // -root without it (or with it empty) is the root window itself
        {"--root", nullptr, Kind::Root, 0, ""},
        {"-root", "", Kind::Root, 0, ""},
        // -window-id wins over -root and its variable
        {"-root -window-id 99", "0x1e00007", Kind::Window, 99, ""},
        // a framework's own options are left alone
        {"-root -fps -install", "12", Kind::Window, 12, ""},
        // the renderer's picture, given by the shell
        {"-window-id 0x10 -picture /run/user/1000/orvask/Torvane-0x10.bmp", nullptr, Kind::Window,
         16, "/run/user/1000/orvask/Torvane-0x10.bmp"},
        // refused: missing, zero, signed, partial, too large, not a number
        {"-window-id", nullptr, Kind::Invalid, 0, ""},
        {"-window-id 0", nullptr, Kind::Invalid, 0, ""},
        {"-window-id 0x", nullptr, Kind::Invalid, 0, ""},
        {"-window-id -5", nullptr, Kind::Invalid, 0, ""},
        {"-window-id +5", nullptr, Kind::Invalid, 0, ""},
        {"-window-id 12abc", nullptr, Kind::Invalid, 0, ""},
        {"-window-id 0x100000000", nullptr, Kind::Invalid, 0, ""},
        {"-window-id 4294967296", nullptr, Kind::Invalid, 0, ""},
        {"-root", "window", Kind::Invalid, 0, ""},
        {"-root", "0x1e0000g", Kind::Invalid, 0, ""},
        {"-window-id 7 -picture", nullptr, Kind::Invalid, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.commandLine) + " with XSCREENSAVER_WINDOW=" +
                     (c.windowVariable ? c.windowVariable : "(unset)"));
        const HostWindowRequest request =
            hostWindowRequest(splitAtBlanks(c.commandLine), c.windowVariable);
        EXPECT_EQ(request.kind, c.kind);
        EXPECT_EQ(request.window, c.window);
        EXPECT_EQ(request.picture, c.picture);
        EXPECT_EQ(request.problem.empty(), c.kind != Kind::Invalid) << request.problem;
    }
}

TEST(HostWindowRequest, TheLargestIdIsStillAWindow) {
    EXPECT_EQ(parseWindowId("0xffffffff"), 0xffffffffu);
    EXPECT_EQ(parseWindowId("4294967295"), 0xffffffffu);
    EXPECT_EQ(parseWindowId(" 12"), std::nullopt);
}

TEST(HostWindowRequest, SplitsACommandLineAtBlanksAndTabs) {
    EXPECT_EQ(splitAtBlanks("  -root\t --window-id  0x10 "),
              (std::vector<std::string>{"-root", "--window-id", "0x10"}));
    EXPECT_TRUE(splitAtBlanks("").empty());
}

}  // namespace
}  // namespace quorlane
