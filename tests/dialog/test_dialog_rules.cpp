// The settings dialog's rules without any window: what load shows and enables for each set
// of stored values, the choices, the repeat box, the zoom anchor, the drawing geometry, the
// layout table and what "設定" writes into the settings file.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "common/file_path.h"
#include "shell/dialog/dialog_choices.h"
#include "shell/dialog/dialog_geometry.h"
#include "shell/dialog/dialog_layout.h"
#include "shell/dialog/product_page.h"
#include "shell/dialog/settings_save.h"
#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

using test::TempFolder;
constexpr Mark E = Mark::Empty, N = Mark::On, F = Mark::Off;

struct LoadCase {
    const char* name;
    int16_t pictureMode;
    int16_t musicMode;
    int16_t repeatTrack;
    std::array<Mark, 2> pictureMarks;
    std::array<Mark, 3> musicMarks;
    bool pictureChooser, repeatBox, musicChooser, preview;
    const char* pictureFolder;
    const char* repeatText;
};

TEST(DialogLoad, MarksEnabledControlsAndTextsFollowTheStoredValues) {
    const std::vector<LoadCase> cases = {
        {"desktop, no music",
         0,
         0,
         7,
         {N, F},
         {N, F, F},
         false,
         false,
         false,
         false,
         "/opt/q",
         "7"},
        {"picture file, CD", 1, 1, 0, {F, N}, {F, N, F}, true, true, false, true, "/pics", ""},
        {"music file", 0, 2, -3, {N, F}, {F, F, N}, false, false, true, false, "/opt/q", "-3"},
        {"picture mode 2", 2, 0, 0, {E, E}, {N, F, F}, false, false, false, false, "/opt/q", ""},
        {"picture mode -1", -1, 0, 0, {E, E}, {N, F, F}, false, false, false, false, "/opt/q", ""},
        {"music mode 3", 0, 3, 20, {N, F}, {F, F, F}, false, false, false, false, "/opt/q", "20"},
        {"music mode -1", 1, -1, 0, {F, N}, {F, F, F}, true, false, false, true, "/pics", ""},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsValues values;
        values.pictureMode = c.pictureMode;
        values.pictureFile = "/pics/sea.bmp";
        values.pictureFolder = "/from/loadSettings";
        values.musicMode = c.musicMode;
        values.musicFile = "/music/song.mp3";
        values.repeatTrack = c.repeatTrack;
        DialogChoices choices(values, "/opt/q");
        EXPECT_EQ(choices.load(), c.preview);
        const DialogView& view = choices.view();
        EXPECT_EQ(view.pictureMarks, c.pictureMarks);
        EXPECT_EQ(view.musicMarks, c.musicMarks);
        EXPECT_EQ(view.pictureChooserEnabled, c.pictureChooser);
        EXPECT_EQ(view.repeatBoxEnabled, c.repeatBox);
        EXPECT_EQ(view.musicChooserEnabled, c.musicChooser);
        EXPECT_EQ(values.pictureFolder, c.pictureFolder);
        EXPECT_EQ(view.repeatText, c.repeatText);
        // The path boxes show the stored files whatever the modes.
        EXPECT_EQ(view.picturePathText, "/pics/sea.bmp");
        EXPECT_EQ(view.musicPathText, "/music/song.mp3");
        // Modes out of range stay as they were until the user chooses.
        EXPECT_EQ(values.pictureMode, c.pictureMode);
        EXPECT_EQ(values.musicMode, c.musicMode);
    }
}

TEST(DialogChoice, TheDesktopLabelEmptiesThePathBoxButItsMarkDoesNot) {
    SettingsValues values;
    values.pictureMode = 1;
    values.pictureFile = "/pics/sea.bmp";
    DialogChoices choices(values, "/opt/q");
    choices.load();

    EXPECT_FALSE(choices.pressPicture(0, /*onLabel=*/false));
    EXPECT_EQ(choices.view().picturePathText, "/pics/sea.bmp");
    EXPECT_EQ(choices.view().pictureMarks, (std::array<Mark, 2>{N, F}));
    EXPECT_FALSE(choices.view().pictureChooserEnabled);
    EXPECT_EQ(values.pictureMode, 0);

    EXPECT_TRUE(choices.pressPicture(0, /*onLabel=*/true));
    EXPECT_EQ(choices.view().picturePathText, "");
    EXPECT_EQ(values.pictureFile, "/pics/sea.bmp");  // still saved with the rest

    // Back to the picture file: "..." comes back, the path box stays empty until a choice.
    EXPECT_FALSE(choices.pressPicture(1, /*onLabel=*/true));
    EXPECT_TRUE(choices.view().pictureChooserEnabled);
    EXPECT_EQ(choices.view().picturePathText, "");
    EXPECT_EQ(values.pictureMode, 1);

    choices.pictureChosen("/other/dir/lake.jpg");
    EXPECT_EQ(values.pictureFile, "/other/dir/lake.jpg");
    EXPECT_EQ(values.pictureFolder, "/other/dir");
    EXPECT_EQ(choices.view().picturePathText, "/other/dir/lake.jpg");
}

TEST(DialogChoice, MusicChoicesMoveTheMarkAndTheEnabledControls) {
    SettingsValues values;
    values.musicMode = 7;  // out of range: nothing marked until a click
    DialogChoices choices(values, "/opt/q");
    choices.load();
    struct Step {
        int choice;
        std::array<Mark, 3> marks;
        bool repeatBox, musicChooser;
    };
    for (const Step& step : std::vector<Step>{{2, {F, F, N}, false, true},
                                              {1, {F, N, F}, true, false},
                                              {0, {N, F, F}, false, false}}) {
        choices.clickMusic(step.choice);
        EXPECT_EQ(values.musicMode, step.choice);
        EXPECT_EQ(choices.view().musicMarks, step.marks);
        EXPECT_EQ(choices.view().repeatBoxEnabled, step.repeatBox);
        EXPECT_EQ(choices.view().musicChooserEnabled, step.musicChooser);
    }
    choices.musicChosen("/music/a b/song.wav");
    EXPECT_EQ(values.musicFile, "/music/a b/song.wav");
    EXPECT_EQ(values.musicFolder, "/music/a b");
    EXPECT_EQ(values.musicMode, 0);  // choosing a file does not choose the mode
}

TEST(DialogChoice, TheChoosersStartWhereTheUsersFilesAre) {
    struct Case {
        const char* name;
        bool installed;
        int16_t pictureMode;
        const char *pictureFile, *pictures, *musicFile, *music, *home;
        const char *pictureStart, *musicStart;
    };
    const std::vector<Case> cases = {
        {"portable, nothing chosen: its own folder", false, 0, "", "/h/Pictures", "", "/h/Music",
         "/h", "/opt/q", "/opt/q"},
        {"portable, files chosen", false, 1, "/p/sea.bmp", "/h/Pictures", "/m/a.mp3", "/h/Music",
         "/h", "/p", "/m"},
        {"installed, nothing chosen: the user's folders", true, 0, "", "/h/画像", "", "/h/Music",
         "/h", "/h/画像", "/h/Music"},
        {"installed, no such folders: home", true, 0, "", "", "", "", "/h", "/h", "/h"},
        {"installed, files chosen", true, 1, "/p/q/sea.bmp", "/h/Pictures", "/m/a.mp3", "/h/Music",
         "/h", "/p/q", "/m"},
        {"installed, a file kept under the desktop choice", true, 0, "/p/sea.bmp", "/h/Pictures",
         "", "/h/Music", "/h", "/p", "/h/Music"},
        {"installed, not even a home", true, 0, "", "", "", "", "", "/usr/lib/quorlane",
         "/usr/lib/quorlane"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsValues values;
        values.pictureMode = c.pictureMode;
        values.pictureFile = c.pictureFile;
        values.musicFile = c.musicFile;
        const std::string program = c.installed ? "/usr/lib/quorlane" : "/opt/q";
        // As loadSettings leaves them: the file's folder, else the program's.
        values.musicFolder = *c.musicFile ? folderOfPath(c.musicFile) : program;
        DialogChoices choices(values, program, {c.installed, c.pictures, c.music, c.home});
        choices.load();
        EXPECT_EQ(choices.pictureChooserFolder(), c.pictureStart);
        EXPECT_EQ(choices.musicChooserFolder(), c.musicStart);
    }
}

TEST(ProductPage, PlaceAddressAndTheLabelsShortenedAddress) {
    EXPECT_EQ(productPagePath("/home/ann/q/bin", false), "/home/ann/q/bin/quorlane.html");
    EXPECT_EQ(productPagePath("/usr/lib/quorlane", true), "/usr/share/doc/quorlane/quorlane.html");
    EXPECT_EQ(productPagePath("/opt/qu/lib/quorlane", true),
              "/opt/qu/share/doc/quorlane/quorlane.html");

    EXPECT_EQ(fileAddress("/usr/share/doc/quorlane/quorlane.html"),
              "file:///usr/share/doc/quorlane/quorlane.html");
    EXPECT_EQ(fileAddress("/home/ann/画像 と #1?%/quorlane.html"),
              "file:///home/ann/画像%20と%20%231%3F%25/quorlane.html");

    // One unit a byte: "…" (3 bytes) counts 3, a Japanese character 3.
    const auto bytes = [](const std::string& text) { return static_cast<int>(text.size()); };
    EXPECT_EQ(elidedInMiddle("file:///a/quorlane.html", 23, bytes), "file:///a/quorlane.html");
    EXPECT_EQ(elidedInMiddle("file:///usr/share/doc/quorlane/quorlane.html", 30, bytes),
              "file:///u…lane/quorlane.html");
    // Never half a character: "画像" goes whole.
    EXPECT_EQ(elidedInMiddle("ab画像cdefgh", 12, bytes), "ab…cdefgh");
    EXPECT_EQ(elidedInMiddle("abcdef", 2, bytes), "…");
}

TEST(RepeatBox, TextsAndListEntries) {
    EXPECT_EQ(repeatTrackText(0), "");
    EXPECT_EQ(repeatTrackText(7), "7");
    EXPECT_EQ(repeatTrackText(-3), "-3");
    const std::vector<std::string> entries = repeatTrackEntries();
    ASSERT_EQ(entries.size(), 21u);
    EXPECT_EQ(entries.front(), "");
    EXPECT_EQ(entries[1], "1");
    EXPECT_EQ(entries.back(), "20");

    struct Case {
        const char* text;
        int16_t previous;
        int16_t expected;
    };
    for (const Case& c : std::vector<Case>{{"", 5, 0},
                                           {"7", 0, 7},
                                           {"abc", 5, 0},
                                           {"2.5", 0, 2},
                                           {"3.5", 0, 4},
                                           {"-2.5", 0, -2},
                                           {"40000", 9, 9},
                                           {"-32769", 9, 9},
                                           {"32767.5", 9, 9},
                                           {"-32768.5", 9, -32768},
                                           {" 12 ", 0, 12},
                                           {"1e1", 0, 10},
                                           {"1e999", 9, 9},
                                           {"2,5", 9, 0},
                                           {"7x", 9, 0},
                                           {".", 9, 0}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(repeatTrackFromText(c.text, c.previous), c.expected);
    }
}

TEST(ZoomAnchor, ACoordinateOutside16BitsKeepsItsPreviousValue) {
    EXPECT_EQ(anchorCoordinate(1919, 5), 1919);
    EXPECT_EQ(anchorCoordinate(-32768, 5), -32768);
    EXPECT_EQ(anchorCoordinate(32768, 5), 5);
    EXPECT_EQ(anchorCoordinate(-40000, -7), -7);
}

TEST(DialogGeometry, TileStripColumnsAndPreviewSizesAndPlacement) {
    // The copies of a 117-row panel are read back from the painted panel (test_dialog_window).
    EXPECT_EQ(tileOrigins(365, 101, 563, 21).size(), 12u);
    EXPECT_EQ(tileOrigins(365, 101, 563, 21).back(), (IntPoint{563, 105}));
    // Exactly on an edge is not past it: one more copy follows, across and down.
    EXPECT_EQ(tileOrigins(563, 21, 563, 21).size(), 9u);

    struct Size {
        int w, h;
        double dw, dh;
        int rw, rh;
    };
    // The shapes themselves are read back from the preview box (test_dialog_window); here the
    // exact fractions and their rounding, half to even.
    for (const Size& s : std::vector<Size>{{100, 33, 80, 26.4, 80, 26},
                                           {1, 300, 80.0 / 300, 80, 0, 80},
                                           {160, 5, 80, 2.5, 80, 2},
                                           {160, 7, 80, 3.5, 80, 4}}) {
        SCOPED_TRACE(std::to_string(s.w) + "x" + std::to_string(s.h));
        const PreviewSize size = previewSize(s.w, s.h);
        EXPECT_DOUBLE_EQ(size.width, s.dw);
        EXPECT_DOUBLE_EQ(size.height, s.dh);
        EXPECT_EQ(roundHalfEven(size.width), s.rw);
        EXPECT_EQ(roundHalfEven(size.height), s.rh);
    }

    EXPECT_EQ(windowPlacement(1920, 1080, 392, 320), (IntPoint{764, 253}));
    EXPECT_EQ(windowPlacement(1024, 768, 390, 299), (IntPoint{317, 156}));
    // A screen smaller than the window: the division truncates toward zero.
    EXPECT_EQ(windowPlacement(301, 200, 392, 320), (IntPoint{-45, -40}));
}

// The inside of each area of the layout: the window's, and each panel's within its 2-pixel edge.
DesignRect insideOf(DialogArea area) {
    for (const DialogControl& c : dialogControls()) {
        if (c.kind == ControlKind::Panel && c.area == area)
            return {0, 0, c.rect.width - 4, c.rect.height - 4};
    }
    return {0, 0, kDialogClientWidth, kDialogClientHeight};
}

bool overlap(const DesignRect& a, const DesignRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

TEST(DialogLayout, EveryControlLiesInsideItsAreaAfterItsPanelAndOnlyTitlesOverlapTheirPlates) {
    EXPECT_EQ(kDialogClientWidth, 390);
    EXPECT_EQ(kDialogClientHeight, 299);
    EXPECT_EQ(insideOf(DialogArea::PicturePanel), (DesignRect{0, 0, 361, 97}));
    EXPECT_EQ(insideOf(DialogArea::MusicPanel), (DesignRect{0, 0, 361, 113}));
    const auto controls = dialogControls();
    std::vector<DialogArea> made = {DialogArea::Window};
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const DialogControl& c = controls[i];
        SCOPED_TRACE(std::to_string(i) + " " + c.name + " " + c.caption);
        const bool panel = c.kind == ControlKind::Panel;
        const DialogArea lies = panel ? DialogArea::Window : c.area;
        // The front ends make a control on its panel, which must be there already.
        EXPECT_NE(std::find(made.begin(), made.end(), lies), made.end());
        if (panel) made.push_back(c.area);
        const DesignRect inside = insideOf(lies);
        EXPECT_GE(c.rect.x, 0);
        EXPECT_GE(c.rect.y, 0);
        EXPECT_LE(c.rect.x + c.rect.width, inside.width);
        EXPECT_LE(c.rect.y + c.rect.height, inside.height);
        for (std::size_t j = 0; j < i; ++j) {
            const DialogControl& o = controls[j];
            const bool oPanel = o.kind == ControlKind::Panel;
            if ((oPanel ? DialogArea::Window : o.area) != lies) continue;
            const bool titleOnItsPlate =
                c.kind == ControlKind::Title && o.kind == ControlKind::TitlePlate;
            EXPECT_EQ(overlap(c.rect, o.rect), titleOnItsPlate) << "with " << o.name;
        }
    }
}

TEST(DialogLayout, CaptionsAndChoicesAsTheUserReadsThem) {
    // Every caption in the order the controls are made, half-width kana as they are.
    std::vector<std::string> captions;
    for (const DialogControl& c : dialogControls()) {
        if (*c.caption != '\0') captions.emplace_back(c.caption);
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Designed by Quorlane Ver.1.0.0", "設定", "ｷｬﾝｾﾙ",
                                                  "画像の選択", "ｶﾚﾝﾄ・ﾃﾞｽｸﾄｯﾌﾟ", "画像ﾌｧｲﾙを指定",
                                                  "...", "BGM", "音楽CD", "曲目をﾘﾋﾟｰﾄ", "無し",
                                                  "MP3、WAV", "..."}));

    // Each choice's number, as the settings store it, has one mark and one caption on its row.
    struct Choice {
        DialogArea area;
        int number;
        const char* caption;
        int row;
    };
    const std::vector<Choice> expected = {
        {DialogArea::PicturePanel, 0, "ｶﾚﾝﾄ・ﾃﾞｽｸﾄｯﾌﾟ", 12},
        {DialogArea::PicturePanel, 1, "画像ﾌｧｲﾙを指定", 32},
        {DialogArea::MusicPanel, 0, "無し", 32},
        {DialogArea::MusicPanel, 1, "音楽CD", 12},
        {DialogArea::MusicPanel, 2, "MP3、WAV", 52},
    };
    std::vector<Choice> marks, texts;
    for (const DialogControl& c : dialogControls()) {
        if (c.kind == ControlKind::ChoiceMark) marks.push_back({c.area, c.choice, "", c.rect.y});
        if (c.kind == ControlKind::ChoiceText)
            texts.push_back({c.area, c.choice, c.caption, c.rect.y});
    }
    ASSERT_EQ(marks.size(), expected.size());
    ASSERT_EQ(texts.size(), expected.size());
    for (const Choice& e : expected) {
        SCOPED_TRACE(e.caption);
        auto same = [&](const Choice& c) { return c.area == e.area && c.number == e.number; };
        const auto mark = std::find_if(marks.begin(), marks.end(), same);
        const auto text = std::find_if(texts.begin(), texts.end(), same);
        ASSERT_NE(mark, marks.end());
        ASSERT_NE(text, texts.end());
        EXPECT_STREQ(text->caption, e.caption);
        EXPECT_EQ(mark->row, e.row);
        EXPECT_EQ(text->row, e.row);
    }

    // The controls the front ends keep one of: per panel a chooser and a path box, the preview
    // on the picture panel, the repeat box on the music panel, the buttons and link below.
    std::map<std::pair<ControlKind, DialogArea>, int> count;
    for (const DialogControl& c : dialogControls()) ++count[{c.kind, c.area}];
    using K = ControlKind;
    for (DialogArea panel : {DialogArea::PicturePanel, DialogArea::MusicPanel}) {
        for (K kind : {K::Panel, K::TitlePlate, K::Title, K::ChooserButton, K::PathBox})
            EXPECT_EQ((count[{kind, panel}]), 1) << int(kind) << " on " << int(panel);
    }
    EXPECT_EQ((count[{K::PreviewBox, DialogArea::PicturePanel}]), 1);
    EXPECT_EQ((count[{K::RepeatBox, DialogArea::MusicPanel}]), 1);
    for (K kind : {K::SaveButton, K::CancelButton, K::Link})
        EXPECT_EQ((count[{kind, DialogArea::Window}]), 1) << int(kind);
}

// The keys as code page 932 bytes, spelled out so that the encoding is checked too.
#define PICTURE_MODE "\x89\xE6\x91\x9C"
#define PICTURE_FILE "\x89\xE6\x91\x9C\xCC\xA7\xB2\xD9"
#define MUSIC_MODE "BGM\x8B\xE6\x95\xAA"
#define REPEAT_TRACK "BGM\xD8\xCB\xDF\xB0\xC4"
#define MUSIC_FILE "BGM\xCC\xA7\xB2\xD9"

class DialogSave : public ::testing::Test {
protected:
    TempFolder folder;
    std::string ini = folder.file("Quorlane.ini");
    SettingsValues values;
};

TEST_F(DialogSave, WritesTheFiveKeysInOrderAndKeepsTheRestOfTheFile) {
    folder.write("Quorlane.ini",
                 "; mine\r\n[Other]\r\nkeep=me\r\n[Section]\r\n" MUSIC_MODE "=0\r\n");
    values.pictureMode = 1;
    values.pictureFile = "/pics/\xE7\x94\xBB.bmp";  // "画" in UTF-8
    values.musicMode = 7;                           // out of range: written back as it is
    values.repeatTrack = -2;
    values.musicFile = "";
    EXPECT_TRUE(saveDialogSettings(values, ini).empty());
    EXPECT_EQ(folder.read("Quorlane.ini"),
              "; mine\r\n[Other]\r\nkeep=me\r\n[Section]\r\n" MUSIC_MODE "=7\r\n" PICTURE_MODE
              "=1\r\n" PICTURE_FILE "=/pics/\x89\xE6.bmp\r\n" REPEAT_TRACK "=-2\r\n" MUSIC_FILE
              "=\r\n");
}

TEST_F(DialogSave, APathTheFileCannotHoldIsReportedAndNothingIsWritten) {
    const std::string before = "[Section]\r\n" PICTURE_MODE "=0\r\n";
    struct Case {
        const char* name;
        std::string pictureFile, musicFile;
        std::vector<std::string> unsavedKeys;
    };
    const std::string longest = "/" + std::string(254, 'a');
    const std::vector<Case> cases = {
        {"not in code page 932", "/pics/caf\xC3\xA9.bmp", "", {"画像ﾌｧｲﾙ"}},
        {"one byte too long", longest + "b", "", {"画像ﾌｧｲﾙ"}},
        {"both", "/\xF0\x9F\x8C\x8A.jpg", longest + "b", {"画像ﾌｧｲﾙ", "BGMﾌｧｲﾙ"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        folder.write("Quorlane.ini", before);
        values.pictureMode = 1;
        values.pictureFile = c.pictureFile;
        values.musicFile = c.musicFile;
        const std::vector<UnsavedChoice> unsaved = saveDialogSettings(values, ini);
        std::vector<std::string> keys;
        for (const UnsavedChoice& u : unsaved) {
            keys.push_back(u.key);
            EXPECT_EQ(u.problem, SaveProblem::CannotHold);
        }
        EXPECT_EQ(keys, c.unsavedKeys);
        EXPECT_EQ(folder.read("Quorlane.ini"), before);
        const std::string message = unsavedChoicesMessage(unsaved);
        EXPECT_NE(message.find("保存できませんでした"), std::string::npos);
        EXPECT_NE(message.find("・画像ﾌｧｲﾙ"), std::string::npos);
        EXPECT_NE(message.find("設定ﾌｧｲﾙは変更していません"), std::string::npos);
    }
    // 255 bytes is the longest value that reads back whole: it is saved.
    values.pictureFile = longest;
    values.musicFile = "";
    EXPECT_TRUE(saveDialogSettings(values, ini).empty());
}

TEST_F(DialogSave, ASettingsFileThatCannotBeWrittenIsReportedKeyByKey) {
    const std::string nowhere = folder.file("missing-folder/Quorlane.ini");
    const std::vector<UnsavedChoice> unsaved = saveDialogSettings(values, nowhere);
    ASSERT_EQ(unsaved.size(), 5u);
    const std::vector<std::string> order = {"画像", "画像ﾌｧｲﾙ", "BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ"};
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(unsaved[i].key, order[i]);
        EXPECT_EQ(unsaved[i].problem, SaveProblem::CannotWrite);
    }
    const std::string message = unsavedChoicesMessage(unsaved);
    EXPECT_NE(message.find("・曲目をﾘﾋﾟｰﾄ：設定ﾌｧｲﾙに書き込めません"), std::string::npos);
    EXPECT_EQ(message.find("ほかの設定は保存しました"), std::string::npos);
    EXPECT_NE(unsavedChoicesMessage({{"画像", SaveProblem::CannotWrite}})
                  .find("ほかの設定は保存しました"),
              std::string::npos);
}

}  // namespace
}  // namespace quorlane
