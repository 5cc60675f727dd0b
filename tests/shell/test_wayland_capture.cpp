// The pieces of a Wayland session's desktop capture that need no compositor: the file a portal
// names (its URI, how it is opened and removed, its PNG), the output cut from a screenshot of
// the whole layout, and the line a show prints when no picture can be had.
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "shell/core/file_uri.h"
#include "shell/core/screenshot_permission.h"
#include "shell/core/screenshot_region.h"
#include "shell/core/wayland_capture_outcome.h"
#include "shell/platform/wayland/screenshot_file.h"
#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

TEST(FileUri, LocalPathsOnlyDecodedOnce) {
    struct Case {
        const char* uri;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {"file:///tmp/out.png", "/tmp/out.png"},
        {"file://localhost/home/a/Screenshot.png", "/home/a/Screenshot.png"},
        {"file:///home/a/My%20Pictures/%E7%94%BB.png", "/home/a/My Pictures/\xE7\x94\xBB.png"},
        {"file:///a%252F", "/a%2F"},
        {"file://otherhost/tmp/out.png", std::nullopt},
        {"http:///tmp/out.png", std::nullopt},
        {"file:tmp/out.png", std::nullopt},
        {"file:///tmp/a%00.png", std::nullopt},
        {"file:///tmp/a%2", std::nullopt},
        {"file:///tmp/a%zz", std::nullopt},
        {"file:///tmp/a.png?x", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(localPathOfFileUri(c.uri), c.path) << c.uri;
}

TEST(ScreenshotRegion, TheOriginOutputOfTheWholeLayout) {
    const std::vector<MonitorRect> two = {{0, 0, 1280, 800}, {1280, 0, 1024, 768}};
    // At the layout's own size, then at twice it (a scale-2 screenshot).
    EXPECT_EQ(outputRegionInScreenshot(two, two[0], 2304, 800), (MonitorRect{0, 0, 1280, 800}));
    EXPECT_EQ(outputRegionInScreenshot(two, two[1], 4608, 1600),
              (MonitorRect{2560, 0, 2048, 1536}));
    // A layout that does not begin at 0,0.
    const std::vector<MonitorRect> left = {{-1024, 100, 1024, 768}, {0, 0, 1280, 800}};
    EXPECT_EQ(outputRegionInScreenshot(left, left[1], 2304, 868),
              (MonitorRect{1024, 0, 1280, 800}));
    // A picture of another shape is not that layout's; an output outside it is not in it.
    EXPECT_EQ(outputRegionInScreenshot(two, two[0], 1280, 800), std::nullopt);
    EXPECT_EQ(outputRegionInScreenshot(two, {3000, 0, 100, 100}, 2304, 800), std::nullopt);
    EXPECT_EQ(outputRegionInScreenshot({}, two[0], 2304, 800), std::nullopt);
}

TEST(WaylandCaptureOutcome, OneLineSaysWhyAndWhatToDo) {
    // Saving the settings dialog asks again only where the desktop keeps the user's answer.
    EXPECT_EQ(waylandCaptureFailureLine(ScreencopyOutcome::NotOffered, PortalOutcome::Refused,
                                        "refused", "ubuntu:GNOME"),
              "Quorlane.scr: no picture of the Wayland desktop: the desktop portal refused the "
              "screenshot; allow it once by saving the settings dialog (quorlane --settings) "
              "with the desktop picture chosen, or choose a picture in the settings dialog "
              "(quorlane --settings)");
    for (const char* desktops : {"KDE", "sway", ""}) {
        EXPECT_EQ(waylandCaptureFailureLine(ScreencopyOutcome::NotOffered, PortalOutcome::Refused,
                                            "refused", desktops),
                  "Quorlane.scr: no picture of the Wayland desktop: the desktop portal refused "
                  "the screenshot; choose a picture in the settings dialog (quorlane --settings)")
            << desktops;
    }
    EXPECT_EQ(waylandCaptureFailureLine(ScreencopyOutcome::NotOffered, PortalOutcome::NoPortal, "",
                                        "GNOME"),
              "Quorlane.scr: no picture of the Wayland desktop: the compositor offers no screen "
              "copy and no desktop portal takes screenshots; install the portal for your desktop "
              "(xdg-desktop-portal with xdg-desktop-portal-gnome, -kde, or -wlr and -gtk), or "
              "choose a picture in the settings dialog (quorlane --settings)");
    EXPECT_EQ(waylandCaptureFailureLine(ScreencopyOutcome::Failed, PortalOutcome::NoBus,
                                        "no shared memory", "sway"),
              "Quorlane.scr: no picture of the Wayland desktop: the compositor's screen copy "
              "failed and there is no session bus (no shared memory); install the portal for "
              "your desktop (xdg-desktop-portal with xdg-desktop-portal-gnome, -kde, or -wlr and "
              "-gtk), or choose a picture in the settings dialog (quorlane --settings)");
    EXPECT_EQ(waylandCaptureFailureLine(ScreencopyOutcome::NotOffered, PortalOutcome::Failed,
                                        "/tmp/out.png is not a regular file", "GNOME"),
              "Quorlane.scr: no picture of the Wayland desktop: the desktop portal's screenshot "
              "failed (/tmp/out.png is not a regular file); choose a picture in the settings "
              "dialog (quorlane --settings)");
}

TEST(ScreenshotPermission, OnlyGnomeWaitsForTheUsersAnswer) {
    using enum StoredScreenshotPermission;
    struct Case {
        const char* desktops;
        StoredScreenshotPermission stored;
        bool needsAnswer;
    };
    const Case cases[] = {
        {"GNOME", NotAsked, true},
        {"GNOME", Denied, true},
        {"GNOME", Unknown, true},
        {"GNOME", Allowed, false},
        {"ubuntu:GNOME", NotAsked, true},
        {"gnome", NotAsked, true},
        {"GNOME-Classic:GNOME", Allowed, false},
        {"GNOME-Flashback", NotAsked, false},  // a name of its own, not GNOME's
        {"KDE", NotAsked, false},
        {"sway", Unknown, false},
        {"", NotAsked, false},
        {"XGNOME:", NotAsked, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(screenshotNeedsTheUsersAnswer(c.desktops, c.stored), c.needsAnswer)
            << c.desktops << " " << static_cast<int>(c.stored);
    EXPECT_EQ(waylandCaptureFailureLine(ScreencopyOutcome::NotOffered, PortalOutcome::NotAllowed,
                                        "", "GNOME"),
              "Quorlane.scr: no picture of the Wayland desktop: the desktop has not allowed "
              "screenshots without asking, and a show cannot ask; allow them once by saving the "
              "settings dialog (quorlane --settings) with the desktop picture chosen, or choose "
              "a picture in the settings dialog (quorlane --settings)");
}

// A 2 x 1 PNG: one dark blue-grey pixel, one pink one.
std::string twoPixelPng() {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 2;
    image.height = 1;
    image.format = PNG_FORMAT_RGB;
    const unsigned char pixels[] = {0x10, 0x20, 0x30, 0xff, 0x00, 0x80};
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, nullptr);
    std::string bytes(size, '\0');
    png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, 0, nullptr);
    return bytes;
}

TEST(ScreenshotFile, ReadOnlyFromARegularFileOfOursThenRemoved) {
    const test::TempFolder folder;
    const std::string png = twoPixelPng();
    DecodedPicture picture;
    std::string why;

    folder.write("shot.png", png);
    ASSERT_TRUE(takeScreenshotFile(folder.file("shot.png"), picture, why)) << why;
    EXPECT_EQ(picture.width, 2);
    EXPECT_EQ(picture.height, 1);
    EXPECT_EQ(picture.pixels, (std::vector<uint32_t>{0x00102030u, 0x00ff0080u}));
    EXPECT_FALSE(std::filesystem::exists(folder.file("shot.png"))) << "ours, read: removed";

    // A link planted in the portal's place: never followed, and what it names stays.
    folder.write("secret.png", png);
    std::filesystem::create_symlink(folder.file("secret.png"), folder.file("link.png"));
    EXPECT_FALSE(takeScreenshotFile(folder.file("link.png"), picture, why));
    EXPECT_TRUE(std::filesystem::exists(folder.file("secret.png")));

    // A FIFO in its place does not hang the show.
    ASSERT_EQ(mkfifo(folder.file("fifo.png").c_str(), 0600), 0);
    EXPECT_FALSE(takeScreenshotFile(folder.file("fifo.png"), picture, why));
    EXPECT_EQ(why, folder.file("fifo.png") + " is not a regular file");

    // Not a picture.
    folder.write("text.png", "not a picture");
    EXPECT_FALSE(takeScreenshotFile(folder.file("text.png"), picture, why));
    EXPECT_EQ(picture.width, 2) << "a failed read leaves the picture as it was";

    // Another user's file (only root can make one here).
    if (geteuid() == 0) {
        folder.write("theirs.png", png);
        ASSERT_EQ(chown(folder.file("theirs.png").c_str(), 65534, 65534), 0);
        EXPECT_FALSE(takeScreenshotFile(folder.file("theirs.png"), picture, why));
        EXPECT_EQ(why, folder.file("theirs.png") + " belongs to another user");
        EXPECT_TRUE(std::filesystem::exists(folder.file("theirs.png")));
    }
}

}  // namespace
}  // namespace quorlane
