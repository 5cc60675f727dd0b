// The dialog's drawing and controls, off screen: exact pixels of the background, the tiled
// panels and the picture preview, and what presses on the controls do to them.
#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <filesystem>
#include <fstream>
#include <set>

#include "shell/controls/command.h"
#include "shell/dialog/dialog_painting.h"
#include "shell/dialog/dialog_widgets.h"
#include "shell/dialog/file_chooser.h"
#include "shell/dialog/qt_translations.h"
#include "shell/dialog/settings_dialog.h"
#include "tests/support/temp_folder.h"

namespace quorlane {
namespace {

using test::TempFolder;

QRgb at(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

TEST(DialogPainting, BackgroundRowsRunFromDarkPurpleToPaleLavenderAndBack) {
    QImage surface(390, 299, QImage::Format_RGB32);
    surface.fill(Qt::green);
    paintBackground(surface);
    struct Row {
        int y;
        QRgb colour;
    };
    // 179, 261 and 294 are rows where 3.142 and pi give different shades; the palest shade
    // holds for rows 144 to 155 exactly.
    std::vector<Row> rows = {{0, 0x1E001E},   {10, 0x351735},  {143, 0xF9DBF9},
                             {156, 0xF9DBF9}, {179, 0xEFD1EF}, {250, 0x8A6C8A},
                             {261, 0x735573}, {294, 0x290B29}, {298, 0x200220}};
    for (int y = 144; y <= 155; ++y) rows.push_back({y, 0xFADCFA});
    for (const Row& row : rows) {
        for (int x : {0, 195, 389})
            EXPECT_EQ(at(surface, x, row.y), row.colour) << x << "," << row.y;
    }
}

// A strip whose every pixel tells where in the strip it came from.
QImage markedStrip() {
    QImage strip(563, 21, QImage::Format_RGB32);
    for (int y = 0; y < 21; ++y) {
        for (int x = 0; x < 563; ++x) strip.setPixel(x, y, qRgb(y * 10, x % 256, x / 256 + 1));
    }
    return strip;
}

TEST(DialogPainting, TheStripIsLaidInColumnsUpToTheFirstCopyPastTheEdge) {
    const QImage strip = markedStrip();
    QImage retained(620, 170, QImage::Format_RGB32);
    retained.fill(Qt::black);
    tilePanel(retained, strip, 365, 117);
    for (int copyY : {0, 21, 42, 63, 84, 105, 126}) {
        SCOPED_TRACE(copyY);
        for (int dy : {0, 20}) {
            EXPECT_EQ(at(retained, 5, copyY + dy), at(strip, 5, dy));
            EXPECT_EQ(at(retained, 562, copyY + dy), at(strip, 562, dy));
            EXPECT_EQ(at(retained, 563 + 40, copyY + dy), at(strip, 40, dy));  // second column
        }
    }
    // No copy starts at 147: the one at 126 was already past the panel's 117.
    EXPECT_EQ(at(retained, 5, 147), 0x000000u);
    EXPECT_EQ(at(retained, 600, 160), 0x000000u);
}

class DialogWindow : public ::testing::Test {
protected:
    TempFolder folder;
    SettingsValues values;

    std::string picture(const char* name, int width, int height, bool striped = false) {
        QImage image(width, height, QImage::Format_RGB32);
        for (int x = 0; x < width; ++x) {
            const QRgb colour =
                striped ? (x % 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255)) : qRgb(0, 160, 0);
            for (int y = 0; y < height; ++y) image.setPixel(x, y, colour);
        }
        const std::string path = folder.file(name);
        EXPECT_TRUE(image.save(QString::fromStdString(path)));
        return path;
    }

    std::unique_ptr<SettingsDialog> loaded(int16_t pictureMode, const std::string& pictureFile) {
        values.pictureMode = pictureMode;
        values.pictureFile = pictureFile;
        auto dialog = std::make_unique<SettingsDialog>(
            values, SettingsDialog::Files{folder.path(), folder.file("Quorlane.ini"), ""});
        dialog->load();
        return dialog;
    }

    static std::set<QRgb> colours(const QImage& image, int width, int height) {
        std::set<QRgb> found;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) found.insert(at(image, x, y));
        }
        return found;
    }
};

TEST_F(DialogWindow, ThePreviewBoxTakesThePicturesShape) {
    struct Case {
        int width, height;
        QSize box;
    };
    for (const Case& c : std::vector<Case>{{1024, 768, {80, 60}},
                                           {768, 1024, {60, 80}},
                                           {100, 33, {80, 26}},
                                           {50, 50, {80, 80}},
                                           {1, 300, {0, 80}}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        auto dialog = loaded(1, picture("p.bmp", c.width, c.height));
        RetainedBox* box = dialog->previewBox();
        EXPECT_EQ(box->size(), c.box);
        EXPECT_EQ(box->pos(), QPoint(272, 8));
        const QImage& inner = box->retained();
        // The drawn picture fills the inner area; the border clips its right and bottom edges.
        if (c.box.width() > 4) {
            EXPECT_EQ(inner.size(), c.box - QSize(4, 4));
            EXPECT_EQ(colours(inner, inner.width(), inner.height()), (std::set<QRgb>{0x00A000}));
        } else {
            EXPECT_EQ(inner.width(), 0);  // narrower than a pixel: nothing drawn
        }
    }
}

TEST_F(DialogWindow, AShrunkStripedPictureKeepsWholeColumnsWithoutBlending) {
    auto dialog = loaded(1, picture("stripes.png", 1000, 700, /*striped=*/true));
    const QImage& inner = dialog->previewBox()->retained();
    ASSERT_EQ(dialog->previewBox()->size(), QSize(80, 56));
    EXPECT_EQ(colours(inner, inner.width(), inner.height()), (std::set<QRgb>{0xFF0000, 0x0000FF}));
}

TEST_F(DialogWindow, EmptyBoxForPicturesThatCannotBeShown) {
    folder.write("broken.bmp", "BM this is not a picture");
    const std::string good = picture("good.png", 1024, 768);
    struct Case {
        const char* name;
        int16_t mode;
        std::string file;
    };
    for (const Case& c : std::vector<Case>{{"desktop mode with a stored file", 0, good},
                                           {"missing file", 1, folder.file("gone.bmp")},
                                           {"undecodable file", 1, folder.file("broken.bmp")}}) {
        SCOPED_TRACE(c.name);
        auto dialog = loaded(c.mode, c.file);
        EXPECT_EQ(dialog->previewBox()->size(), QSize(80, 80));
        EXPECT_EQ(colours(dialog->previewBox()->retained(), 76, 76), (std::set<QRgb>{0xFFFFFF}));
    }
    // A picture that cannot be decoded, chosen after a good one, does not go on showing the
    // good one: the box no longer stands for the chosen file.
    auto dialog = loaded(1, good);
    ASSERT_EQ(dialog->previewBox()->size(), QSize(80, 60));
    dialog->acceptPictureFile(folder.file("broken.bmp"));
    EXPECT_EQ(dialog->previewBox()->size(), QSize(80, 80));
    EXPECT_EQ(colours(dialog->previewBox()->retained(), 76, 76), (std::set<QRgb>{0xFFFFFF}));
    EXPECT_EQ(values.pictureFile, folder.file("broken.bmp"));  // still chosen and saved
}

TEST_F(DialogWindow, PressesOnTheDesktopLabelAndMarkAndTheRepeatBox) {
    values.musicMode = 1;
    values.repeatTrack = 7;
    auto dialog = loaded(1, picture("good.png", 768, 1024));
    auto* path = dialog->findChild<PathBox*>(QStringLiteral("lbl_Fname(1)"));
    auto* repeat = dialog->findChild<QComboBox*>(QStringLiteral("BGM_Repeat"));
    ASSERT_NE(path, nullptr);
    ASSERT_NE(repeat, nullptr);
    EXPECT_EQ(repeat->count(), 21);
    EXPECT_EQ(repeat->itemText(0), QString());
    EXPECT_EQ(repeat->itemText(20), QStringLiteral("20"));
    EXPECT_EQ(repeat->currentText(), QStringLiteral("7"));
    EXPECT_TRUE(repeat->isEnabled());

    // The mark of the current desktop, pressed with the right button: chosen at once, box kept.
    QTest::mousePress(dialog->findChild<ChoiceLabel*>(QStringLiteral("Img_Sel(0)")),
                      Qt::RightButton);
    EXPECT_EQ(values.pictureMode, 0);
    EXPECT_EQ(path->text(), QString::fromStdString(values.pictureFile));
    EXPECT_EQ(dialog->previewBox()->size(), QSize(60, 80));

    QTest::mousePress(dialog->findChild<ChoiceLabel*>(QStringLiteral("lbl_Sel(0)")),
                      Qt::LeftButton);
    EXPECT_EQ(path->text(), QString());
    EXPECT_EQ(dialog->previewBox()->size(), QSize(80, 80));
    EXPECT_EQ(colours(dialog->previewBox()->retained(), 76, 76), (std::set<QRgb>{0xFFFFFF}));

    // Music changes on a completed click only.
    auto* none = dialog->findChild<ChoiceLabel*>(QStringLiteral("lbl_BGM(0)"));
    QTest::mousePress(none, Qt::LeftButton);
    EXPECT_EQ(values.musicMode, 1);
    QTest::mouseRelease(none, Qt::LeftButton);
    EXPECT_EQ(values.musicMode, 0);
    EXPECT_FALSE(repeat->isEnabled());
    EXPECT_EQ(repeat->currentText(), QStringLiteral("7"));  // kept, and still read when saving
}

TEST_F(DialogWindow, ControlsOnThePanelsSitInsideTheirBorders) {
    auto dialog = loaded(0, "");
    // Top-left corners in the dialog's client area: the panel's corner, its 2-pixel border,
    // then the control's position in the panel's client area.
    struct Case {
        const char* name;
        QPoint at;
    };
    const std::vector<Case> cases = {
        {"Img_Sel(0)", {130, 26}},  {"Img_Sel(1)", {130, 46}},  {"lbl_Sel(0)", {146, 26}},
        {"Cmd_Pic", {242, 42}},     {"lbl_Fname(1)", {22, 70}}, {"Display", {286, 22}},
        {"Img_BGM(1)", {130, 138}}, {"Img_BGM(0)", {130, 158}}, {"Img_BGM(2)", {130, 178}},
        {"BGM_Repeat", {214, 134}}, {"Cmd_BGM", {214, 174}},    {"lbl_Fname(0)", {22, 198}},
        {"Cmd_Set", {236, 256}},    {"Cmd_Can", {308, 256}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto* control = dialog->findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->mapTo(dialog.get(), QPoint(0, 0)), c.at);
    }
    // The music path box has the same margin on both sides of the panel's inside.
    const QWidget* music = dialog->findChild<QWidget*>(QStringLiteral("lbl_Fname(0)"));
    const QWidget* panel = dialog->panel(1);
    const int left = music->mapTo(panel, QPoint(0, 0)).x() - RetainedBox::kBorder;
    const int right =
        panel->width() - RetainedBox::kBorder - (left + RetainedBox::kBorder) - music->width();
    EXPECT_EQ(left, 8);
    EXPECT_EQ(right, 8);
}

// The folder the dialog's file chooser shows when "..." of the picture or the music panel is
// pressed; the chooser is then cancelled.
QString chooserStart(SettingsDialog& dialog, const char* button) {
    QString shown = QStringLiteral("(no chooser)");
    QTimer::singleShot(0, [&] {
        if (auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            shown = chooser->directory().absolutePath();
            chooser->reject();
        }
    });
    emit dialog.findChild<Command*>(QLatin1String(button))->click();
    QCoreApplication::processEvents();  // the timer has run before `shown` goes
    return shown;
}

TEST_F(DialogWindow, TheChoosersOfAnInstalledCopyStartInTheUsersFoldersAPortableOneInItsOwn) {
    // A home whose Pictures folder user-dirs.dirs names "画像"; it has no Music folder.
    const std::string home = folder.file("home");
    std::filesystem::create_directories(home + "/画像");
    std::filesystem::create_directories(home + "/.config");
    std::ofstream(home + "/.config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/画像\"\n";
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QByteArray::fromStdString(home));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home + "/.config"));
    const std::string program = folder.file("lib/quorlane");
    std::filesystem::create_directories(program);
    const std::string chosen = picture("sea.bmp", 4, 4);
    struct Case {
        const char* name;
        bool installed;
        std::string pictureFile;
        std::string picturesAt, musicAt;
    };
    for (const Case& c : std::vector<Case>{
             {"installed", true, "", home + "/画像", home},
             {"installed, a picture chosen", true, chosen, folder.path(), home},
             {"portable", false, "", program, program},
         }) {
        SCOPED_TRACE(c.name);
        values = SettingsValues{};
        values.pictureMode = c.pictureFile.empty() ? 0 : 1;  // as loadSettings leaves it
        values.musicMode = 2;
        values.pictureFile = c.pictureFile;
        values.pictureFolder = values.musicFolder = program;  // as loadSettings leaves them
        SettingsDialog dialog(values, {program, folder.file("Quorlane.ini"), "", c.installed});
        dialog.load();
        EXPECT_EQ(chooserStart(dialog, "Cmd_Pic").toStdString(), c.picturesAt);
        EXPECT_EQ(chooserStart(dialog, "Cmd_BGM").toStdString(), c.musicAt);
    }
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
}

TEST_F(DialogWindow, NoButtonHasTheFocusWhenTheDialogOpens) {
    auto dialog = loaded(0, "");
    dialog->show();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    for (Command* button : dialog->findChildren<Command*>()) {
        EXPECT_FALSE(button->hasFocus()) << button->objectName().toStdString();
    }
}

TEST(FileChooser, PatternsMatchInEitherCaseAsWritten) {
    TempFolder folder;
    for (const char* name : {"a.bmp", "b.BMP", "c.Jpg", "djpg", "e.png", "f.wav", "g.Mp3"}) {
        folder.write(name, "x");
    }
    struct Case {
        ChooserFilter filter;
        QString shownFilter;
        std::set<QString> listed;
    };
    const std::vector<Case> cases = {
        {{"画像ﾌｧｲﾙ (BMP JPG)", "*.BMP;*JPG"},
         "画像ﾌｧｲﾙ (BMP JPG) (*.BMP *JPG)",
         {"a.bmp", "b.BMP", "c.Jpg", "djpg"}},
        {{"BGMﾌｧｲﾙ (MP3 WAV)", "*.MP3;*.WAV"},
         "BGMﾌｧｲﾙ (MP3 WAV) (*.MP3 *.WAV)",
         {"f.wav", "g.Mp3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shownFilter.toStdString());
        const auto chooser = makeChooser(nullptr, QString::fromStdString(folder.path()), c.filter);
        EXPECT_EQ(chooser->windowTitle(), QStringLiteral("ﾌｧｲﾙを開く"));
        EXPECT_EQ(chooser->nameFilters(), QStringList{c.shownFilter});
        EXPECT_EQ(chooser->fileMode(), QFileDialog::AnyFile);  // a typed new name is taken
        chooser->show();
        auto* list = chooser->findChild<QListView*>(QStringLiteral("listView"));
        ASSERT_NE(list, nullptr);
        std::set<QString> listed;
        (void)QTest::qWaitFor(
            [&] {
                listed.clear();
                const QModelIndex root = list->rootIndex();
                for (int row = 0; row < list->model()->rowCount(root); ++row) {
                    listed.insert(list->model()->index(row, 0, root).data().toString());
                }
                return listed == c.listed;
            },
            3000);
        EXPECT_EQ(listed, c.listed);
    }
}

TEST(QtTexts, TheChooserAndTheWarningBoxSpeakJapanese) {
    QTranslator japanese;
    ASSERT_TRUE(installQtJapanese(japanese));
    TempFolder folder;
    const auto chooser =
        makeChooser(nullptr, QString::fromStdString(folder.path()), {"x", "*.BMP"});
    struct Case {
        const char* label;
        QString text;
    };
    for (const Case& c : std::vector<Case>{{"lookInLabel", QStringLiteral("アドレス:")},
                                           {"fileNameLabel", QStringLiteral("ファイル名(&N):")},
                                           {"fileTypeLabel", QStringLiteral("ファイルの種類:")}}) {
        const auto* label = chooser->findChild<QLabel*>(QLatin1String(c.label));
        ASSERT_NE(label, nullptr) << c.label;
        EXPECT_EQ(label->text(), c.text) << c.label;
    }
    const auto* buttons = chooser->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Open)->text(), QStringLiteral("開く(&O)"));
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    // The warning box's only text of Qt's own is its "OK", the same in Japanese.
}

}  // namespace
}  // namespace quorlane

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");  // exact pixels, no display needed
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
