// The shell's adapters on the real services: private files, the BMP it hands to the
// renderer, the renderer's process, and (under Xvfb) window lookup by title.
#include <gtest/gtest.h>

// Qt first: the X headers define macros (Status, None) that Qt's headers trip over.
#include <QImage>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "common/atomic_file.h"
#include "shell/platform/picture_file.h"
#include "shell/platform/private_files.h"
#include "shell/platform/renderer_process.h"
#include "shell/platform/x_connection.h"
#include "shell/platform/x_window_lookup.h"

namespace quorlane {
namespace {

namespace fs = std::filesystem;

struct TempFolder {
    fs::path path;
    TempFolder() {
        char name[] = "/tmp/quorlane-shell-XXXXXX";
        path = mkdtemp(name);
    }
    ~TempFolder() { fs::remove_all(path); }
};

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

uint32_t le32(const std::string& bytes, std::size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

TEST(PrivateFiles, FolderIsMadeWithParentsAndPrivate) {
    TempFolder temp;
    const fs::path folder = temp.path / "cache" / "orvask";
    EXPECT_TRUE(makePrivateFolder(folder));
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_TRUE(makePrivateFolder(folder));  // already there
}

TEST(PrivateFiles, ALinkOrAFileIsNotASafeFolder) {
    TempFolder temp;
    fs::create_directory(temp.path / "elsewhere");
    fs::create_directory_symlink(temp.path / "elsewhere", temp.path / "link");
    EXPECT_FALSE(makePrivateFolder(temp.path / "link"));
    std::ofstream(temp.path / "file") << "x";
    EXPECT_FALSE(makePrivateFolder(temp.path / "file"));
}

TEST(PrivateFiles, ReplacingIsWholeOrNothing) {
    TempFolder temp;
    const fs::path file = temp.path / "Torvane.bmp";
    ASSERT_TRUE(replaceFileAtomically(file, "first"));
    EXPECT_EQ(modeOf(file), 0600u);
    ASSERT_TRUE(replaceFileAtomically(file, "second, longer"));
    EXPECT_EQ(readAll(file), "second, longer");
    // A target that cannot be replaced (here a folder in the way): false, and the
    // temporary file does not stay behind.
    fs::create_directories(temp.path / "busy.bmp" / "inside");
    EXPECT_FALSE(replaceFileAtomically(temp.path / "busy.bmp", "third"));
    EXPECT_TRUE(fs::is_directory(temp.path / "busy.bmp"));
    fs::remove_all(temp.path / "busy.bmp");
    EXPECT_FALSE(replaceFileAtomically(temp.path / "missing" / "x.bmp", "data"));
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.path), fs::directory_iterator()), 1);
}

TEST(PictureFile, DesktopImageIsA24BitBmpWithThePlainInfoHeader) {
    TempFolder temp;
    // An 8-bit and an alpha image would otherwise be written at other depths.
    QImage indexed(3, 2, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0x33, 0x66, 0xcc), qRgb(10, 20, 30)});
    indexed.fill(0);
    QImage alpha(3, 2, QImage::Format_ARGB32);
    alpha.fill(qRgba(0x33, 0x66, 0xcc, 0x80));
    for (const QImage& image : {indexed, alpha}) {
        const fs::path file = temp.path / "Torvane.bmp";
        ASSERT_TRUE(saveBmp24(image, file));
        const std::string bytes = readAll(file);
        ASSERT_GE(bytes.size(), 54u + 2 * 12);
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(le32(bytes, 14), 40u);                     // info header size
        EXPECT_EQ(le32(bytes, 18), 3u);                      // width
        EXPECT_EQ(bytes[28] | (bytes[29] << 8), 24);         // bits per pixel
        EXPECT_EQ(le32(bytes, 30), 0u);                      // uncompressed
        const std::size_t first = le32(bytes, 10);
        EXPECT_EQ(static_cast<unsigned char>(bytes[first]), 0xcc);      // blue
        EXPECT_EQ(static_cast<unsigned char>(bytes[first + 1]), 0x66);  // green
        EXPECT_EQ(static_cast<unsigned char>(bytes[first + 2]), 0x33);  // red
    }
    EXPECT_FALSE(saveBmp24(QImage(), temp.path / "null.bmp"));
    EXPECT_FALSE(fs::exists(temp.path / "null.bmp"));
}

TEST(PictureFile, PicturesLoadAtTheirOwnSize) {
    TempFolder temp;
    QImage image(37, 21, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(temp.path / "p.jpg"), "JPEG"));
    const QImage loaded = loadPictureFile(temp.path / "p.jpg");
    EXPECT_EQ(loaded.size(), QSize(37, 21));
    std::ofstream(temp.path / "junk.jpg") << "not a picture";
    EXPECT_TRUE(loadPictureFile(temp.path / "junk.jpg").isNull());
    EXPECT_TRUE(loadPictureFile(temp.path / "absent.bmp").isNull());
}

bool waitUntilEnded(RendererProcess& process) {
    for (int i = 0; i < 200; ++i) {
        if (process.ended()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(RendererProcess, StartsByPathWithoutArgumentsAndIsReaped) {
    TempFolder temp;
    const fs::path script = temp.path / "Quorlane.dll";
    // Records its arguments and working folder, then exits 3.
    std::ofstream(script) << "#!/bin/sh\necho \"$#:$(pwd)\" > \"" << (temp.path / "out").string()
                          << "\"\nexit 3\n";
    fs::permissions(script, fs::perms::owner_all);
    RendererProcess process;
    EXPECT_TRUE(process.ended());  // nothing started yet
    ASSERT_TRUE(process.start(script));
    ASSERT_TRUE(waitUntilEnded(process));
    EXPECT_TRUE(WIFEXITED(process.status()));
    EXPECT_EQ(WEXITSTATUS(process.status()), 3);
    EXPECT_EQ(readAll(temp.path / "out"), "0:" + fs::current_path().string() + "\n");

    RendererProcess missing;
    EXPECT_FALSE(missing.start(temp.path / "absent"));
    EXPECT_TRUE(missing.ended());
}

// An unmapped top-level window with the given title properties.
Window makeWindow(Display* display, const char* wmName, const char* netWmName) {
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    if (wmName != nullptr) XStoreName(display, window, wmName);
    if (netWmName != nullptr) {
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                        XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(netWmName),
                        static_cast<int>(std::strlen(netWmName)));
    }
    XSync(display, False);
    return window;
}

TEST(WindowLookup, FindsHiddenWindowsByExactTitle) {
    if (getenv("DISPLAY") == nullptr) GTEST_SKIP() << "needs an X display";
    const auto other = XConnection::open();  // another program's windows
    const auto ours = XConnection::open();
    ASSERT_TRUE(other && ours);
    Display* d = other->display();
    Display* look = ours->display();

    EXPECT_FALSE(topLevelWindowExists(look, "Torvane_VC"));
    const Window plain = makeWindow(d, "Torvane_VC", nullptr);
    EXPECT_TRUE(topLevelWindowExists(look, "Torvane_VC"));
    EXPECT_FALSE(topLevelWindowExists(look, "Torvane"));       // no substrings
    EXPECT_FALSE(topLevelWindowExists(look, "Torvane_VC2"));
    EXPECT_FALSE(topLevelWindowExists(look, "torvane_vc"));    // exact case
    XDestroyWindow(d, plain);
    XSync(d, False);
    EXPECT_FALSE(topLevelWindowExists(look, "Torvane_VC"));

    // The UTF-8 name wins over the old one, as window managers show it.
    const Window both = makeWindow(d, "old title", "Vantorel_Main");
    EXPECT_TRUE(topLevelWindowExists(look, "Vantorel_Main"));
    EXPECT_FALSE(topLevelWindowExists(look, "old title"));
    EXPECT_TRUE(isExistingWindow(look, static_cast<uint32_t>(both)));
    XDestroyWindow(d, both);
    XSync(d, False);
    EXPECT_FALSE(isExistingWindow(look, static_cast<uint32_t>(both)));
    EXPECT_FALSE(isExistingWindow(look, 0));

    // A managed window inside a frame is found through the client list.
    const Window frame = makeWindow(d, nullptr, nullptr);
    const Window client =
        XCreateSimpleWindow(d, frame, 0, 0, 5, 5, 0, 0, 0);
    XStoreName(d, client, "<Quorlane>");
    EXPECT_FALSE(topLevelWindowExists(look, "<Quorlane>"));
    XChangeProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_CLIENT_LIST", False), XA_WINDOW,
                    32, PropModeReplace, reinterpret_cast<const unsigned char*>(&client), 1);
    XSync(d, False);
    EXPECT_TRUE(topLevelWindowExists(look, "<Quorlane>"));
    XDeleteProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_CLIENT_LIST", False));
    XSync(d, False);
}

// A shell that dies without its end sequence must not leave its renderer running.
TEST(RendererProcess, EndsWhenTheShellDies) {
    TempFolder temp;
    const fs::path script = temp.path / "Quorlane.dll";
    const fs::path pidFile = temp.path / "pid";
    std::ofstream(script) << "#!/bin/sh\necho $$ > \"" << pidFile.string() << "\"\nexec sleep 30\n";
    fs::permissions(script, fs::perms::owner_all);

    // Orphans come back to this test, so it can see how the renderer ended.
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    const pid_t shell = fork();
    ASSERT_GE(shell, 0);
    if (shell == 0) {
        RendererProcess process;
        if (!process.start(script)) _exit(1);
        for (int i = 0; i < 200 && !fs::exists(pidFile); ++i) usleep(10000);
        _exit(0);  // dies without reaping or ending its renderer
    }
    int status = 0;
    ASSERT_EQ(waitpid(shell, &status, 0), shell);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const pid_t renderer = std::stoi(readAll(pidFile));
    pid_t reaped = 0;
    for (int i = 0; i < 300 && reaped == 0; ++i) {
        reaped = waitpid(renderer, &status, WNOHANG);
        if (reaped == 0) usleep(10000);
    }
    prctl(PR_SET_CHILD_SUBREAPER, 0);
    if (reaped == 0) kill(renderer, SIGKILL);
    ASSERT_EQ(reaped, renderer) << "the renderer outlived its shell";
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
}

}  // namespace
}  // namespace quorlane
