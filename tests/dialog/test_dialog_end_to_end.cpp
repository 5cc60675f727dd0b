// The settings dialog as the user meets it: the built Quorlane.scr with "/c" on a virtual
// display with a window manager, driven with the mouse and keyboard through xdotool.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <QImage>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <thread>

#include "tests/support/read_file.h"
#include "tests/support/show_harness.h"

// Xlib last: its macros (Status, None, Bool) clash with Qt's and GoogleTest's names.
#include <X11/Xlib.h>

extern char** environ;

namespace quorlane::testing {
namespace {

using namespace std::chrono_literals;

#define PICTURE_MODE "\x89\xE6\x91\x9C"
#define PICTURE_FILE "\x89\xE6\x91\x9C\xCC\xA7\xB2\xD9"
#define MUSIC_MODE "BGM\x8B\xE6\x95\xAA"
#define REPEAT_TRACK "BGM\xD8\xCB\xDF\xB0\xC4"
#define MUSIC_FILE "BGM\xCC\xA7\xB2\xD9"

void xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> command = {"xdotool"};
    command.insert(command.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : command) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawnp(&pid, "xdotool", nullptr, nullptr, argv.data(), environ), 0);
    int status = 0;
    waitpid(pid, &status, 0);
}

using test::readFile;

void writeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

struct XGeometryOnScreen {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const XGeometryOnScreen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const XGeometryOnScreen& g) {
    return out << g.x << "," << g.y << " " << g.width << "x" << g.height;
}

class DialogEndToEnd : public ::testing::Test {
protected:
    ShowHarness shell{/*withRenderer=*/true};
    Display* display = XOpenDisplay(nullptr);
    fs::path ini = shell.bin() / "Quorlane.ini";
    unsigned long window = 0;
    int clientX = 0, clientY = 0;

    ~DialogEndToEnd() override { XCloseDisplay(display); }

    pid_t openDialog() {
        const pid_t pid = shell.startShell({"/c"});
        window = shell.waitForWindow("<Quorlane>", 5s);
        EXPECT_NE(window, 0u);
        // Mapped and placed by the window manager, after the zoom.
        for (int i = 0; i < 100; ++i) {
            XWindowAttributes attributes{};
            XGetWindowAttributes(display, window, &attributes);
            if (attributes.map_state == IsViewable) break;
            std::this_thread::sleep_for(20ms);
        }
        Window child = 0;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &clientX, &clientY,
                              &child);
        std::this_thread::sleep_for(300ms);  // painted, buttons polling
        return pid;
    }

    // A click at a point of the dialog's client area.
    void click(int x, int y) {
        xdotool({"mousemove", "--sync", std::to_string(clientX + x), std::to_string(clientY + y)});
        std::this_thread::sleep_for(150ms);  // a hover tick of the buttons
        xdotool({"click", "1"});
        std::this_thread::sleep_for(150ms);
    }

    void chooseInFileChooser(const std::string& path) {
        const unsigned long chooser = shell.waitForWindow("ﾌｧｲﾙを開く", 5s);
        ASSERT_NE(chooser, 0u);
        std::this_thread::sleep_for(300ms);
        if (const char* keep = std::getenv("QUORLANE_KEEP_CHOOSER")) shell.screenshot(keep);
        xdotool({"type", "--delay", "5", path});
        xdotool({"key", "Return"});
        for (int i = 0; i < 100 && shell.findWindow("ﾌｧｲﾙを開く") != 0; ++i)
            std::this_thread::sleep_for(20ms);
    }

    // Whether the window manager has made this window the active one.
    bool active(unsigned long which) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
        if (XGetWindowProperty(display, DefaultRootWindow(display), active, 0, 1, False,
                               AnyPropertyType, &type, &format, &count, &after, &data) != Success)
            return false;
        const bool is = data != nullptr && count == 1 && format == 32 &&
                        *reinterpret_cast<unsigned long*>(data) == which;
        if (data != nullptr) XFree(data);
        return is;
    }

    // The window the user sees as the dialog: the window manager's frame around it.
    XGeometryOnScreen outerOf(unsigned long client) {
        Window current = client;
        for (;;) {
            Window root = 0, parent = 0, *children = nullptr;
            unsigned count = 0;
            if (XQueryTree(display, current, &root, &parent, &children, &count) == 0) break;
            if (children != nullptr) XFree(children);
            if (parent == root || parent == 0) break;
            current = parent;
        }
        XWindowAttributes attributes{};
        XGetWindowAttributes(display, current, &attributes);
        return {attributes.x, attributes.y, attributes.width, attributes.height};
    }

    // The rectangles each outline of a zoom took since the last call, in the order drawn: the
    // overlays are the override-redirect windows made on the root and mapped.
    std::vector<std::vector<XGeometryOnScreen>> zoomOutlines() {
        XSync(display, False);
        std::map<Window, std::vector<XGeometryOnScreen>> frames;
        std::vector<Window> mapped;
        while (XPending(display) > 0) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == CreateNotify && e.xcreatewindow.override_redirect) {
                const auto& c = e.xcreatewindow;
                frames[c.window].push_back({c.x, c.y, c.width, c.height});
            } else if (e.type == ConfigureNotify && frames.count(e.xconfigure.window)) {
                const auto& c = e.xconfigure;
                frames[c.window].push_back({c.x, c.y, c.width, c.height});
            } else if (e.type == MapNotify && frames.count(e.xmap.window)) {
                mapped.push_back(e.xmap.window);
            }
        }
        std::vector<std::vector<XGeometryOnScreen>> outlines;
        for (Window overlay : mapped) outlines.push_back(frames[overlay]);
        return outlines;
    }

    // An xdg-open of the test's own, alone on PATH, running this shell script; none when empty.
    void useOpener(const std::string& script) {
        fs::create_directory(shell.root() / "tools");
        if (!script.empty()) {
            writeFile(shell.root() / "tools" / "xdg-open", "#!/bin/sh\n" + script + "\n");
            fs::permissions(shell.root() / "tools" / "xdg-open", fs::perms::owner_all);
        }
        shell.setEnv("PATH", (shell.root() / "tools").string());
    }

    void pressCloseBox() {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] =
            static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &event);
        XFlush(display);
    }
};

// Client-area points of the controls (panel origin, its border, then the control's position).
constexpr int kMusicCdX = 14 + 132 + 10, kMusicCdY = 126 + 12 + 6;
constexpr int kRepeatX = 14 + 200 + 12, kRepeatY = 126 + 8 + 10;
constexpr int kNoMusicX = 14 + 132 + 8, kNoMusicY = 126 + 32 + 6;
constexpr int kPictureFileX = 14 + 132 + 20, kPictureFileY = 14 + 32 + 6;
constexpr int kPictureChooserX = 14 + 228 + 18, kPictureChooserY = 14 + 28 + 10;
constexpr int kSetX = 236 + 34, kSetY = 256 + 12;
constexpr int kCancelX = 308 + 34, kCancelY = 256 + 12;
constexpr int kLinkX = 12 + 20, kLinkY = 268 + 6;

TEST_F(DialogEndToEnd, OpensInPlaceAndSavesTheChoicesByteForByte) {
    fs::create_directory(shell.root() / "pics");
    const fs::path picture = shell.root() / "pics" / "sea.bmp";
    QImage image(400, 100, QImage::Format_RGB32);
    image.fill(QColor(0, 90, 200));
    ASSERT_TRUE(image.save(QString::fromStdString(picture.string())));
    writeFile(ini, "; kept\r\n[Other]\r\nkeep=me\r\n[Section]\r\n");

    const pid_t pid = openDialog();
    // Openbox's frame here is 1, 1, 20, 1: outer 392 x 320 on 1920 x 1080, so the frame's
    // corner is at (764, 253) and the client area at (765, 273).
    EXPECT_EQ(clientX, 765);
    EXPECT_EQ(clientY, 273);

    const fs::path shot = shell.root() / "dialog.png";
    shell.screenshot(shot);
    const QImage screen(QString::fromStdString(shot.string()));
    ASSERT_FALSE(screen.isNull());
    if (const char* keep = std::getenv("QUORLANE_KEEP_SCREENSHOT")) screen.save(keep);
    auto pixel = [&](int x, int y) { return screen.pixel(clientX + x, clientY + y) & 0xFFFFFF; };
    EXPECT_EQ(pixel(5, 0), 0x1E001Eu);  // the gradient in the left margin
    EXPECT_EQ(pixel(5, 150), 0xFADCFAu);
    EXPECT_EQ(pixel(5, 250), 0x8A6C8Au);
    // The empty preview box is white inside its sunken border.
    EXPECT_EQ(pixel(14 + 272 + 40, 14 + 8 + 40), 0xFFFFFFu);
    // Some glyph of "画像の選択" is drawn dark on the title plate.
    int dark = 0;
    for (int y = 14 + 12; y < 14 + 25; ++y) {
        for (int x = 14 + 8; x < 14 + 103; ++x) dark += qGray(pixel(x, y)) < 100;
    }
    EXPECT_GT(dark, 30);

    click(kMusicCdX, kMusicCdY);
    click(kRepeatX, kRepeatY);
    xdotool({"key", "ctrl+a"});
    xdotool({"type", "7"});
    click(kPictureFileX, kPictureFileY);
    click(kPictureChooserX, kPictureChooserY);
    chooseInFileChooser(picture.string());
    // The preview shows the 400 x 100 picture at 80 x 20.
    std::this_thread::sleep_for(200ms);
    shell.screenshot(shot);
    const QImage after(QString::fromStdString(shot.string()));
    EXPECT_EQ(after.pixel(clientX + 14 + 272 + 10, clientY + 14 + 8 + 10) & 0xFFFFFF, 0x005AC8u);

    click(kSetX, kSetY);
    EXPECT_EQ(shell.waitExit(pid, 5s), std::optional<int>(0));
    // The chooser's own state is not left in the user's folders, nor anything else there.
    EXPECT_FALSE(fs::exists(shell.homeDir() / ".config")) << "QtProject.conf or a settings folder";
    EXPECT_EQ(
        readFile(ini),
        "; kept\r\n[Other]\r\nkeep=me\r\n[Section]\r\n" PICTURE_MODE "=1\r\n" PICTURE_FILE "=" +
            picture.string() + "\r\n" MUSIC_MODE "=1\r\n" REPEAT_TRACK "=7\r\n" MUSIC_FILE "=\r\n");
}

TEST_F(DialogEndToEnd, CancelAndTheCloseBoxLeaveTheFileAsItWas) {
    const std::string before =
        "[Section]\r\n" PICTURE_MODE "=0\r\n" MUSIC_MODE "=1\r\n" REPEAT_TRACK "=3\r\n; note\r\n";
    // The link opens the product's page through the desktop's opener; this one only records it.
    const fs::path opened = shell.root() / "opened.txt";
    useOpener("echo \"$@\" > '" + opened.string() + "'");
    writeFile(shell.bin() / "quorlane.html", "<html></html>\n");

    for (const char* way : {"cancel", "close box"}) {
        SCOPED_TRACE(way);
        writeFile(ini, before);
        const pid_t pid = openDialog();
        click(kNoMusicX, kNoMusicY);
        click(kPictureFileX, kPictureFileY);
        if (std::string(way) == "cancel") {
            click(kLinkX, kLinkY);
            for (int i = 0; i < 100 && !fs::exists(opened); ++i) std::this_thread::sleep_for(20ms);
            EXPECT_EQ(readFile(opened),
                      "file://" + (shell.bin() / "quorlane.html").string() + "\n");
            click(kCancelX, kCancelY);
        } else {
            pressCloseBox();
        }
        EXPECT_EQ(shell.waitExit(pid, 5s), std::optional<int>(0));
        EXPECT_EQ(readFile(ini), before);
    }
}

TEST_F(DialogEndToEnd, TheLinkTellsWhenThePageCannotBeOpened) {
    struct Case {
        const char* name;
        bool page;
        const char* opener;
    };
    for (const Case& c : {Case{"no page", false, "exit 0"}, Case{"no opener", true, ""},
                          Case{"the opener fails", true, "exit 3"}}) {
        SCOPED_TRACE(c.name);
        fs::remove(shell.root() / "tools" / "xdg-open");
        useOpener(c.opener);
        if (c.page) {
            writeFile(shell.bin() / "quorlane.html", "<html></html>\n");
        } else {
            fs::remove(shell.bin() / "quorlane.html");
        }
        const pid_t pid = openDialog();
        click(kLinkX, kLinkY);
        const unsigned long message = shell.waitForWindow("Quorlane", 5s);
        ASSERT_NE(message, 0u);
        for (int i = 0; i < 250 && !active(message); ++i) std::this_thread::sleep_for(20ms);
        xdotool({"key", "Return"});
        for (int i = 0; i < 250 && shell.findWindow("Quorlane") != 0; ++i)
            std::this_thread::sleep_for(20ms);
        EXPECT_EQ(shell.findWindow("Quorlane"), 0u);
        click(kCancelX, kCancelY);
        EXPECT_EQ(shell.waitExit(pid, 5s), std::optional<int>(0));
    }
}

TEST_F(DialogEndToEnd, AChoiceThatCannotBeSavedIsToldAndTheFileKept) {
    // A path longer than a settings value can be: it would read back cut short.
    const fs::path folder = shell.root() / std::string(150, 'a') / std::string(150, 'b');
    fs::create_directories(folder);
    const fs::path picture = folder / "sea.bmp";
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(picture.string())));
    const std::string before = "[Section]\r\n" PICTURE_MODE "=0\r\n";
    writeFile(ini, before);

    const pid_t pid = openDialog();
    click(kPictureFileX, kPictureFileY);
    click(kPictureChooserX, kPictureChooserY);
    chooseInFileChooser(picture.string());
    click(kSetX, kSetY);
    const unsigned long message = shell.waitForWindow("Quorlane", 5s);
    ASSERT_NE(message, 0u);
    if (const char* keep = std::getenv("QUORLANE_KEEP_MESSAGE")) {
        std::this_thread::sleep_for(1s);  // painted, for a person to look at
        // The box alone: a shot of the whole screen here can miss what Qt drew into it.
        const std::string shot =
            "xwd -silent -id " + std::to_string(message) + " | convert xwd:- '" + keep + "'";
        EXPECT_EQ(std::system(shot.c_str()), 0);
    }
    EXPECT_NE(shell.findWindow("<Quorlane>"), 0u);  // the dialog stays open
    EXPECT_EQ(readFile(ini), before);
    // Released in a run of its own: the box closes on the press (see ShowHarness::pressEscape).
    xdotool({"keydown", "--window", std::to_string(message), "Return"});
    xdotool({"keyup", "Return"});
    for (int i = 0; i < 250 && (shell.findWindow("Quorlane") != 0 || !active(window)); ++i)
        std::this_thread::sleep_for(20ms);
    // The pointer has stayed on "設定": the next click there is a click, and tells again.
    ASSERT_TRUE(active(window));
    xdotool({"click", "1"});
    const unsigned long again = shell.waitForWindow("Quorlane", 5s);
    ASSERT_NE(again, 0u);
    for (int i = 0; i < 250 && !active(again); ++i) std::this_thread::sleep_for(20ms);
    xdotool({"key", "Return"});
    for (int i = 0; i < 250 && shell.findWindow("Quorlane") != 0; ++i)
        std::this_thread::sleep_for(20ms);
    click(kCancelX, kCancelY);
    EXPECT_EQ(shell.waitExit(pid, 5s), std::optional<int>(0));
    EXPECT_EQ(readFile(ini), before);
}

TEST_F(DialogEndToEnd, AClickRightAfterTheChooserClosesOverItsButtonOpensItAgain) {
    const pid_t pid = openDialog();
    click(kPictureFileX, kPictureFileY);
    click(kPictureChooserX, kPictureChooserY);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const unsigned long chooser = shell.waitForWindow("ﾌｧｲﾙを開く", 5s);
        ASSERT_NE(chooser, 0u);
        for (int i = 0; i < 250 && !active(chooser); ++i) std::this_thread::sleep_for(20ms);
        // Cancelled from the keyboard: the pointer stays on "..." throughout.
        xdotool({"key", "Escape"});
        for (int i = 0; i < 250 && (shell.findWindow("ﾌｧｲﾙを開く") != 0 || !active(window)); ++i)
            std::this_thread::sleep_for(20ms);
        ASSERT_TRUE(active(window));
        xdotool({"click", "1"});
    }
    const unsigned long last = shell.waitForWindow("ﾌｧｲﾙを開く", 5s);
    EXPECT_NE(last, 0u);
    for (int i = 0; i < 250 && !active(last); ++i) std::this_thread::sleep_for(20ms);
    xdotool({"key", "Escape"});
    for (int i = 0; i < 250 && shell.findWindow("ﾌｧｲﾙを開く") != 0; ++i)
        std::this_thread::sleep_for(20ms);
    click(kCancelX, kCancelY);
    EXPECT_EQ(shell.waitExit(pid, 5s), std::optional<int>(0));
}

TEST_F(DialogEndToEnd, TheZoomsRunBetweenThePointerAndWhereTheDialogIsShown) {
    xdotool({"mousemove", "--sync", "200", "150"});
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);  // drop what came before
    const pid_t pid = openDialog();
    // Openbox's frame here is 1, 1, 20, 1 around the 390 x 299 client centred across and at a
    // third of the free height of 1920 x 1080.
    const XGeometryOnScreen outer = outerOf(window);
    EXPECT_EQ(outer, (XGeometryOnScreen{764, 253, 392, 320}));
    const auto opening = zoomOutlines();
    ASSERT_EQ(opening.size(), 1u);
    ASSERT_GE(opening[0].size(), 3u);
    EXPECT_EQ(opening[0].front(), (XGeometryOnScreen{200, 150, 1, 1}));
    EXPECT_EQ(opening[0].back(), outer);

    // Closed with the pointer elsewhere: back into the point it opened from.
    xdotool({"mousemove", "--sync", std::to_string(clientX + kCancelX),
             std::to_string(clientY + kCancelY)});
    std::this_thread::sleep_for(150ms);  // a hover tick of the buttons
    xdotool({"click", "1"});
    EXPECT_EQ(shell.waitExit(pid, 5s), std::optional<int>(0));
    const auto closing = zoomOutlines();
    ASSERT_EQ(closing.size(), 1u);
    ASSERT_GE(closing[0].size(), 3u);
    EXPECT_EQ(closing[0].front(), outer);
    EXPECT_EQ(closing[0].back(), (XGeometryOnScreen{200, 150, 1, 1}));
}

TEST_F(DialogEndToEnd, AnythingStartedWhileTheDialogIsOpenEndsAtOnce) {
    const pid_t dialog = openDialog();
    for (const char* mode : {"/s", "/c"}) {
        SCOPED_TRACE(mode);
        const pid_t second = shell.startShell({mode});
        EXPECT_EQ(shell.waitExit(second, 2s), std::optional<int>(0));
    }
    EXPECT_TRUE(shell.rendererProcesses().empty());
    EXPECT_EQ(shell.findWindow("Vantorel_Main"), 0u);
    click(kCancelX, kCancelY);
    EXPECT_EQ(shell.waitExit(dialog, 5s), std::optional<int>(0));
}

}  // namespace
}  // namespace quorlane::testing
