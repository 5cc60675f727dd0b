// The settings dialog of the built Quorlane.scr ("/c") under Wine on the test's X display,
// driven by the pointer and keys as a user would: its painted window, saving, cancelling.
#include <windows.h>
// windows.h first; the test framework after it.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/desktop_image_location.h"
#include "tests/windows/wine_screen.h"

namespace quorlane {
namespace {

using testing::captureScreen;
using testing::clickAt;
using testing::Screen;
using testing::waitFor;

constexpr char kShell[] = QUORLANE_BIN_DIR "/Quorlane.scr";
constexpr char kShots[] = QUORLANE_TEST_OUTPUT_DIR;

// Keys in code page 932.
#define PICTURE_MODE "\x89\xE6\x91\x9C"
#define PICTURE_FILE "\x89\xE6\x91\x9C\xCC\xA7\xB2\xD9"
#define MUSIC_MODE "BGM\x8B\xE6\x95\xAA"
#define REPEAT_TRACK "BGM\xD8\xCB\xDF\xB0\xC4"
#define MUSIC_FILE "BGM\xCC\xA7\xB2\xD9"

// Points of the client area: a panel's controls sit 2 pixels inside its corner.
constexpr POINT kMusicCd{14 + 132 + 6, 126 + 12 + 6};
constexpr POINT kNoMusic{14 + 132 + 6, 126 + 32 + 6};
constexpr POINT kRepeatBox{14 + 200 + 10, 126 + 8 + 10};
constexpr POINT kPictureFileLabel{14 + 132 + 6, 14 + 32 + 6};
constexpr POINT kPictureChooser{14 + 228 + 18, 14 + 28 + 10};
constexpr POINT kSet{236 + 34, 256 + 12};
constexpr POINT kCancel{308 + 34, 256 + 12};

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DialogUnderWine : public ::testing::Test {
protected:
    const std::string ini_ = QUORLANE_BIN_DIR "/Quorlane.ini";

    void SetUp() override { DeleteFileA(ini_.c_str()); }
    void TearDown() override {
        testing::endProcess(dialog_);
        testing::endProcess(second_);
        DeleteFileA(ini_.c_str());
        RemoveDirectoryA(ini_.c_str());
    }

    void writeSettings(const std::string& text) { std::ofstream(ini_, std::ios::binary) << text; }

    // Starts "/c" and waits until the dialog is up and painted.
    void open(const char* program = kShell) {
        ASSERT_TRUE(testing::startProgram(program, "/c", dialog_)) << GetLastError();
        ASSERT_TRUE(waitFor([&] {
            window_ = FindWindowA(nullptr, "<Quorlane>");
            return window_ != nullptr && IsWindowVisible(window_);
        }));
        origin_ = {0, 0};
        ClientToScreen(window_, &origin_);
        // The gradient's first row is up once the window has painted.
        ASSERT_TRUE(waitFor([&] { return pixel(captureScreen(), 5, 0) == 0x1E001Eu; }));
    }

    uint32_t pixel(const Screen& screen, int x, int y) const {
        const int sx = origin_.x + x;
        const int sy = origin_.y + y;
        if (sx < 0 || sy < 0 || sx >= screen.width || sy >= screen.height) return 0xFFFFFFFFu;
        return screen.pixels[size_t(sy) * size_t(screen.width) + size_t(sx)] & 0xFFFFFF;
    }

    void click(POINT at) { clickAt({origin_.x + at.x, origin_.y + at.y}); }

    // For a failed wait's message: the screen then, kept to be looked at.
    static std::string screenKeptAs(const std::string& name) {
        testing::saveScreen(captureScreen(), kShots, name);
        return "the screen is in " + name;
    }

    // The picture chooser's button as the screen shows it.
    std::vector<uint32_t> pictureChooserFace() const {
        const Screen screen = captureScreen();
        std::vector<uint32_t> face;
        for (int y = 14 + 28; y < 14 + 28 + 21; ++y) {
            for (int x = 14 + 228; x < 14 + 228 + 37; ++x) face.push_back(pixel(screen, x, y));
        }
        return face;
    }

    PROCESS_INFORMATION dialog_{}, second_{};
    HWND window_ = nullptr;
    POINT origin_{};
};

TEST_F(DialogUnderWine, ShowsThePaintedWindowInPlaceAndCancelWritesNothing) {
    open();
    char className[64] = {};
    GetClassNameA(window_, className, sizeof className);
    EXPECT_STREQ(className, "Vantorel_P");
    RECT client{};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, 390);
    EXPECT_EQ(client.bottom, 299);
    // Centred across, a third of the free height above it.
    RECT outer{};
    GetWindowRect(window_, &outer);
    const int freeWidth = GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left);
    const int freeHeight = GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top);
    EXPECT_NEAR(outer.left, freeWidth / 2, 1);
    EXPECT_NEAR(outer.top, freeHeight / 3, 1);

    const Screen screen = captureScreen();
    testing::saveScreen(screen, kShots, "dialog-under-wine.bmp");
    // The gradient in the margins, dark purple to pale lavender and back.
    struct Row {
        int y;
        uint32_t colour;
    };
    for (const Row& row : {Row{0, 0x1E001E}, Row{10, 0x351735}, Row{150, 0xFADCFA},
                           Row{179, 0xEFD1EF}, Row{250, 0x8A6C8A}, Row{298, 0x200220}}) {
        for (int x : {5, 385}) EXPECT_EQ(pixel(screen, x, row.y), row.colour) << x << "," << row.y;
    }
    // The empty preview box is white inside its sunken edge.
    EXPECT_EQ(pixel(screen, 14 + 272 + 40, 14 + 8 + 40), 0xFFFFFFu);
    // The buttons show their faces: the frame's corner pixels are not the gradient beneath.
    EXPECT_NE(pixel(screen, kSet.x, kSet.y - 11), pixel(screen, kSet.x, 256 - 2));

    // A second start while the dialog is open ends at once.
    ASSERT_TRUE(testing::startProgram(kShell, "/c", second_));
    EXPECT_EQ(testing::waitForExit(second_), 0u);

    click(kNoMusic);
    click(kCancel);
    EXPECT_EQ(testing::waitForExit(dialog_), 0u);
    EXPECT_EQ(FindWindowA(nullptr, "<Quorlane>"), nullptr);
    EXPECT_EQ(GetFileAttributesA(ini_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(DialogUnderWine, TheCloseBoxLeavesTheFileAsItWas) {
    const std::string before =
        "[Section]\r\n" PICTURE_MODE "=0\r\n" MUSIC_MODE "=1\r\n" REPEAT_TRACK "=3\r\n; note\r\n";
    writeSettings(before);
    open();
    click(kNoMusic);
    PostMessageA(window_, WM_CLOSE, 0, 0);  // what the close box sends
    EXPECT_EQ(testing::waitForExit(dialog_), 0u);
    EXPECT_EQ(fileText(ini_), before);
}

// The buttons' faces as the pointer comes and goes: at rest the gradient is white at the top,
// under the pointer it turns over; a chooser's button shows its disabled face until its choice.
TEST_F(DialogUnderWine, TheButtonsFacesFollowThePointerAndTheirChoices) {
    open();
    // A column left of the caption, inside the frame: rows 5 and 19 show the gradient.
    const int x = 236 + 8;
    auto whiteAtTop = [&] {
        const Screen screen = captureScreen();
        return (pixel(screen, x, 256 + 5) & 0xFF) > (pixel(screen, x, 256 + 19) & 0xFF);
    };
    // Away from the buttons, once they have painted their rest faces.
    testing::moveTo({origin_.x + 5, origin_.y + 290});
    EXPECT_TRUE(waitFor(whiteAtTop));
    testing::moveTo({origin_.x + kSet.x, origin_.y + kSet.y});
    EXPECT_TRUE(waitFor([&] { return !whiteAtTop(); }));
    // The hover poll finds the pointer gone.
    testing::moveTo({origin_.x + 5, origin_.y + 290});
    EXPECT_TRUE(waitFor(whiteAtTop));

    const std::vector<uint32_t> disabled = pictureChooserFace();
    click(kPictureFileLabel);
    EXPECT_TRUE(waitFor([&] { return pictureChooserFace() != disabled; }));
    click(kCancel);
    EXPECT_EQ(testing::waitForExit(dialog_), 0u);
}

TEST_F(DialogUnderWine, SetSavesTheChoicesByteForByte) {
    writeSettings("; kept\r\n[Other]\r\nkeep=me\r\n[Section]\r\n");
    open();
    click(kMusicCd);
    click(kRepeatBox);
    testing::type("7");
    click(kSet);
    EXPECT_EQ(testing::waitForExit(dialog_), 0u);
    EXPECT_EQ(fileText(ini_),
              "; kept\r\n[Other]\r\nkeep=me\r\n[Section]\r\n" PICTURE_MODE "=0\r\n" PICTURE_FILE
              "=\r\n" MUSIC_MODE "=1\r\n" REPEAT_TRACK "=7\r\n" MUSIC_FILE "=\r\n");
}

// The chooser takes a typed path; the preview shows the picture and Set saves it.
TEST_F(DialogUnderWine, APictureChosenInTheChooserIsPreviewedAndSaved) {
    open();
    // As a user does: the chooser's button is pressed once it shows that it can be.
    const std::vector<uint32_t> disabled = pictureChooserFace();
    click(kPictureFileLabel);
    ASSERT_TRUE(waitFor([&] { return pictureChooserFace() != disabled; }));
    click(kPictureChooser);
    HWND chooser = nullptr;
    ASSERT_TRUE(waitFor([&] {
        chooser = FindWindowW(nullptr, L"ﾌｧｲﾙを開く");
        return chooser != nullptr && IsWindowVisible(chooser);
    })) << screenKeptAs("no-chooser.bmp");
    std::string picture = QUORLANE_SOURCE_DIR "\\shell\\assets\\preview_still.jpg";
    for (char& c : picture) c = c == '/' ? '\\' : c;
    // The chooser's own file name box (its combo box, or the plain edit of older ones) and
    // its Open button: that part is Windows', not ours.
    HWND name = GetDlgItem(chooser, 0x480);
    if (name == nullptr) name = GetDlgItem(chooser, 0x47C);
    ASSERT_NE(name, nullptr);
    SetWindowTextA(name, picture.c_str());
    PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(chooser); }, std::chrono::seconds(20)))
        << screenKeptAs("chooser.bmp");
    // 120 x 90 shows at 80 x 60: the box's lower part is the panel again, no longer white.
    Screen shown;
    EXPECT_TRUE(waitFor([&] {
        shown = captureScreen();
        return pixel(shown, 14 + 272 + 40, 14 + 8 + 30) != 0xFFFFFFu &&
               pixel(shown, 14 + 272 + 40, 14 + 8 + 70) != 0xFFFFFFu;
    }));
    // And what the chooser covered is the dialog again (panels, not the chooser's white list).
    EXPECT_TRUE(waitFor([&] {
        shown = captureScreen();
        return pixel(shown, 200, 150) != 0xFFFFFFu && pixel(shown, 100, 250) != 0xFFFFFFu;
    }));
    testing::saveScreen(shown, kShots, "dialog-with-picture-under-wine.bmp");
    click(kSet);
    EXPECT_EQ(testing::waitForExit(dialog_), 0u);
    EXPECT_EQ(fileText(ini_), "[Section]\r\n" PICTURE_MODE "=1\r\n" PICTURE_FILE "=" + picture +
                                  "\r\n" MUSIC_MODE "=0\r\n" REPEAT_TRACK "=0\r\n" MUSIC_FILE
                                  "=\r\n");
}

// A settings file that cannot be written is told in a warning box, and the dialog stays.
TEST_F(DialogUnderWine, ASaveThatFailsIsToldAndTheDialogStays) {
    ASSERT_TRUE(CreateDirectoryA(ini_.c_str(), nullptr));  // where the file would go
    open();
    click(kSet);
    HWND warning = nullptr;
    ASSERT_TRUE(waitFor([&] {
        warning = FindWindowA("#32770", "Quorlane");
        return warning != nullptr && IsWindowVisible(warning);
    }));
    SetForegroundWindow(warning);
    testing::press(VK_RETURN);
    ASSERT_TRUE(waitFor([&] { return !IsWindow(warning); }));
    EXPECT_EQ(WaitForSingleObject(dialog_.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(IsWindowVisible(window_));
    click(kCancel);
    EXPECT_EQ(testing::waitForExit(dialog_), 0u);
}

// Run apart, in a Japanese locale (code page 932 as the ANSI one), whatever folders it makes.
TEST_F(DialogUnderWine, JapaneseFoldersAPictureAndMusicThereSurviveASaveAndARestartAndPlay) {
    ASSERT_EQ(GetACP(), 932u);
    auto wide = [](const std::string& utf8) {
        std::wstring text(utf8.size(), L'\0');
        text.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()),
                                               text.data(), int(text.size()))));
        for (wchar_t& c : text) c = c == L'/' ? L'\\' : c;
        return text;
    };
    auto cp932 = [](const std::wstring& text) {
        std::string bytes(text.size() * 2, '\0');
        bytes.resize(size_t(WideCharToMultiByte(932, 0, text.data(), int(text.size()), bytes.data(),
                                                int(bytes.size()), nullptr, nullptr)));
        return bytes;
    };
    // "表" (95 5C) ends in a backslash byte in code page 932; "像" ends in a lead byte.
    const std::wstring base = wide(kShots) + L"\\日本語の表";
    const std::wstring pictures = base + L"\\画像", music = base + L"\\音楽";
    const std::wstring picture = pictures + L"\\海.jpg", song = music + L"\\曲.mp3";
    for (const std::wstring& folder : {base, pictures, music})
        CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(wide(QUORLANE_SOURCE_DIR "/shell/assets/preview_still.jpg").c_str(),
                          picture.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(wide(QUORLANE_SOURCE_DIR "/tests/music/fixtures/tone-880hz.mp3").c_str(),
                          song.c_str(), FALSE));
    const std::string saved =
        "[Section]\r\n" PICTURE_MODE "=1\r\n" PICTURE_FILE "=" + cp932(picture) +
        "\r\n" MUSIC_MODE "=2\r\n" REPEAT_TRACK "=0\r\n" MUSIC_FILE "=" + cp932(song) + "\r\n";
    writeSettings(saved);

    // The dialog reads both back and previews the picture (120 x 90 at 80 x 60: the box's top
    // and bottom rows are the panel's, not white); Set writes them again as they were.
    open();
    Screen shown;
    EXPECT_TRUE(waitFor([&] {
        shown = captureScreen();
        return pixel(shown, 14 + 272 + 40, 14 + 8 + 30) != 0xFFFFFFu &&
               pixel(shown, 14 + 272 + 40, 14 + 8 + 70) != 0xFFFFFFu;
    }));
    testing::saveScreen(shown, kShots, "dialog-japanese-folders.bmp");
    click(kSet);
    EXPECT_EQ(testing::waitForExit(dialog_), 0u);
    EXPECT_EQ(fileText(ini_), saved);

    // A show after the restart takes that picture (the renderer's BMP is 120 x 90) and the
    // music file, which only has no sound device to play on here.
    const DesktopImageLocation location = desktopImageLocation();
    DeleteFileA(location.file.c_str());
    ASSERT_TRUE(testing::startProgram(kShell, "/s", second_));
    HWND renderer = nullptr;
    ASSERT_TRUE(
        waitFor([&] { return (renderer = FindWindowA(nullptr, "Torvane_VC")) != nullptr; }));
    const std::string bmp = fileText(location.file);
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(uint8_t(bmp[18]) | uint8_t(bmp[19]) << 8, 120);
    EXPECT_EQ(uint8_t(bmp[22]) | uint8_t(bmp[23]) << 8, 90);
    EXPECT_TRUE(waitFor([&] { return GetForegroundWindow() == renderer; }));
    testing::press(VK_ESCAPE);
    EXPECT_EQ(testing::waitForExit(second_), 0u);
    // A copy of the program in a Japanese folder finds its settings beside it, and saves there.
    const std::wstring programs = base + L"\\プログラム";
    CreateDirectoryW(programs.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(wide(kShell).c_str(), (programs + L"\\Quorlane.scr").c_str(), FALSE));
    const std::wstring beside = programs + L"\\Quorlane.ini";
    DeleteFileW(beside.c_str());
    std::ofstream(cp932(beside), std::ios::binary) << saved;
    open(cp932(programs + L"\\Quorlane.scr").c_str());
    click(kMusicCd);
    click(kSet);
    EXPECT_EQ(testing::waitForExit(dialog_), 0u);
    EXPECT_EQ(fileText(cp932(beside)),
              "[Section]\r\n" PICTURE_MODE "=1\r\n" PICTURE_FILE "=" + cp932(picture) +
                  "\r\n" MUSIC_MODE "=1\r\n" REPEAT_TRACK "=0\r\n" MUSIC_FILE "=" + cp932(song) +
                  "\r\n");
}

// The screen's dots per inch as Wine keeps them, for the programs started while it is held.
class DotsPerInch {
public:
    explicit DotsPerInch(DWORD dpi) { set(dpi); }
    ~DotsPerInch() { set(96); }

private:
    static void set(DWORD dpi) {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                        sizeof dpi);
    }
};

TEST_F(DialogUnderWine, At192DotsPerInchEverythingIsTwiceAsLargeAndTheRepeatBoxTakesText) {
    const DotsPerInch dpi(192);
    open();
    RECT client{};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, 780);
    EXPECT_EQ(client.bottom, 598);
    const Screen screen = captureScreen();
    testing::saveScreen(screen, kShots, "dialog-192-dpi-under-wine.bmp");
    // Each row of the gradient twice; the preview box white inside at twice its place.
    for (const auto& [y, colour] : {std::pair{0, 0x1E001Eu},
                                    {1, 0x1E001Eu},
                                    {20, 0x351735u},
                                    {21, 0x351735u},
                                    {300, 0xFADCFAu},
                                    {597, 0x200220u}}) {
        EXPECT_EQ(pixel(screen, 10, y), colour) << y;
    }
    EXPECT_EQ(pixel(screen, 2 * (14 + 272 + 40), 2 * (14 + 8 + 40)), 0xFFFFFFu);
    // "画像の選択" in letters twice as tall: dark glyph pixels reach below the 96-dpi line box.
    int darkBelow = 0;
    for (int y = 2 * (14 + 12) + 14; y < 2 * (14 + 25); ++y) {
        for (int x = 2 * (14 + 8); x < 2 * (14 + 103); ++x)
            darkBelow += (pixel(screen, x, y) & 0xFF) < 100;
    }
    EXPECT_GT(darkBelow, 20);

    auto twice = [](POINT at) { return POINT{2 * at.x, 2 * at.y}; };
    // The middle of the marks of 音楽CD and 無し, twice as far in.
    const POINT cdMark{2 * (14 + 116 + 6), 2 * (126 + 12 + 6)};
    const uint32_t on = pixel(screen, 2 * (14 + 116 + 6), 2 * (126 + 32 + 6));
    click(twice(kMusicCd));
    EXPECT_TRUE(waitFor([&] { return pixel(captureScreen(), cdMark.x, cdMark.y) == on; }));
    click(twice(kRepeatBox));
    testing::type("7");
    // Kept to be looked at once the typed digit is in the box.
    HWND repeatBox = nullptr;
    EnumChildWindows(
        window_,
        [](HWND child, LPARAM found) {
            char name[16] = {};
            GetClassNameA(child, name, sizeof name);
            if (lstrcmpiA(name, "ComboBox") == 0) *reinterpret_cast<HWND*>(found) = child;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&repeatBox));
    // Asked by message: another process's box keeps its text in its edit field.
    EXPECT_TRUE(waitFor([&] { return SendMessageA(repeatBox, WM_GETTEXTLENGTH, 0, 0) == 1; }));
    testing::saveScreen(captureScreen(), kShots, "dialog-192-dpi-typed-under-wine.bmp");
    click(twice(kSet));
    EXPECT_EQ(testing::waitForExit(dialog_), 0u);
    EXPECT_EQ(fileText(ini_), "[Section]\r\n" PICTURE_MODE "=0\r\n" PICTURE_FILE "=\r\n" MUSIC_MODE
                              "=1\r\n" REPEAT_TRACK "=7\r\n" MUSIC_FILE "=\r\n");
}

// Windows starts a screensaver without arguments for "Configure": the dialog, never a show.
TEST_F(DialogUnderWine, AnEmptyCommandLineOpensTheDialogAndNoShow) {
    ASSERT_TRUE(testing::startProgram(kShell, "", dialog_));
    ASSERT_TRUE(waitFor([&] {
        window_ = FindWindowA(nullptr, "<Quorlane>");
        return window_ != nullptr && IsWindowVisible(window_);
    }));
    EXPECT_EQ(FindWindowA(nullptr, "Vantorel_Main"), nullptr);
    EXPECT_EQ(FindWindowA(nullptr, "Torvane_VC"), nullptr);
    PostMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(testing::waitForExit(dialog_), 0u);
    EXPECT_EQ(FindWindowA(nullptr, "Vantorel_Main"), nullptr);
}

}  // namespace
}  // namespace quorlane
