// Button faces as the widget paints them, read back pixel for pixel on Qt's offscreen
// platform: frame pieces, stretched edges, gradient direction, caption placement and look.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "shell/controls/command.h"
#include "shell/controls/face_geometry.h"

namespace quorlane {
namespace {

// A plain window holding one button at (10, 10), shown and active.
class Host {
public:
    Host(int width, int height) {
        window.resize(200, 100);
        window.setAutoFillBackground(true);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, QColor(0x33, 0x66, 0x99));
        window.setPalette(palette);
        button = new Command(&window);
        button->setCaption(QString());
        button->setGeometry(10, 10, width, height);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        // Showing the window gave the button focus as the first in the tab chain.
        button->clearFocus();
        button->initialize();
    }
    QPoint at(int x, int y) const { return button->mapTo(&window, QPoint(x, y)); }
    // From outside the button: Qt drops a move to where the pointer already was.
    void moveIn() {
        QTest::mouseMove(window.windowHandle(), QPoint(2, 2));
        QTest::mouseMove(window.windowHandle(), at(button->width() / 2, button->height() / 2));
    }
    void press(Qt::MouseButton which = Qt::LeftButton) {
        QTest::mousePress(window.windowHandle(), which, {},
                          at(button->width() / 2, button->height() / 2));
    }
    void release(Qt::MouseButton which = Qt::LeftButton) {
        QTest::mouseRelease(window.windowHandle(), which, {},
                            at(button->width() / 2, button->height() / 2));
    }
    unsigned face(int x, int y) const { return button->surface().pixel(x, y) & 0xFFFFFF; }
    unsigned shown(int x, int y) { return window.grab().toImage().pixel(at(x, y)) & 0xFFFFFF; }

    QWidget window;
    Command* button = nullptr;
};

struct PixelCheck {
    int x, y;
    unsigned rgb;
};

void expectPixels(const Host& host, std::initializer_list<PixelCheck> checks) {
    for (const PixelCheck& check : checks)
        EXPECT_EQ(host.face(check.x, check.y), check.rgb) << "at " << check.x << ", " << check.y;
}

// Where each of the eight pieces lands is read back from the painted faces below, at 69 x 25
// and at 37 x 21; here the lengths in twips, which pixels round, and an oversized button.
TEST(FaceGeometry, CaptionTopInTwipsAndOversizedButtons) {
    FaceGeometry geometry;
    geometry.resize(69, 25);
    EXPECT_EQ(geometry.edgeWidthTwips(), 915);
    EXPECT_EQ(geometry.edgeHeightTwips(), 255);

    EXPECT_EQ(FaceGeometry::captionTopTwips(25), 80.0);
    EXPECT_EQ(FaceGeometry::captionTopTwips(21), 50.0);
    EXPECT_EQ(FaceGeometry::captionTopTwips(24), 72.5);

    // Beyond 32,767 twips the width keeps the last value that fitted; the height still follows.
    geometry.resize(37, 21);
    geometry.resize(2200, 25);
    EXPECT_EQ(geometry.edgeWidthTwips(), 435);
    EXPECT_EQ(geometry.edgeHeightTwips(), 255);
}

TEST(CommandPainting, NormalAt69x25KeepsCornersAndStretchesTheTopEdge) {
    Host host(69, 25);
    ASSERT_EQ(host.button->behaviour().state(), ButtonState::Normal);
    ASSERT_EQ(host.button->currentFace(), FaceImage::Normal);
    expectPixels(host,
                 {// Top-left corner as in the picture.
                  {0, 0, 0xE0DCC9},
                  {1, 1, 0xE6E1D0},
                  {2, 1, 0x7A95A8},
                  {3, 1, 0x255783},
                  {1, 3, 0x255783},
                  // Top edge: outline from x 4 to 64, then the top-right corner from the picture.
                  {4, 1, 0x003C74},
                  {64, 1, 0x003C74},
                  {65, 1, 0x255783},
                  {66, 1, 0x7A95A8},
                  {67, 1, 0xE6E1D0},
                  {68, 1, 0xF0EEE0},
                  // The picture's darker middle of the ring, 17 pixels, stretched to 19.
                  {25, 0, 0xE0DCC9},
                  {26, 0, 0xDCD6C2},
                  {44, 0, 0xDCD6C2},
                  {45, 0, 0xE0DCC9},
                  // Sides unstretched: the rim at the middle row, both bottom corners.
                  {2, 12, 0xF4F4F0},
                  {66, 12, 0xE8E5DF},
                  {65, 12, 0xEEEDE7},
                  {1, 23, 0xE6E1D0},
                  {67, 23, 0xE6E1D0},
                  {34, 23, 0x003C74},
                  {34, 24, 0xFAFAF6},
                  // White at the top in state 1.
                  {34, 4, 0xF5F5F8},
                  {34, 12, 0xE2E2EB},
                  {34, 20, 0xCFCEDD}});
    const QLabel* label = host.button->findChild<QLabel*>();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->geometry(), QRect(0, 5, 69, 13));  // 80 twips from the top
}

TEST(CommandPainting, HoverAt37x21CompressesEdgesAndPutsWhiteAtTheBottom) {
    Host host(37, 21);
    host.moveIn();
    ASSERT_EQ(host.button->behaviour().state(), ButtonState::HighLight);
    ASSERT_EQ(host.button->currentFace(), FaceImage::HighLight);
    expectPixels(host, {{33, 1, 0x255783},
                        {34, 1, 0x7A95A8},
                        {35, 1, 0xE6E1D0},
                        {14, 0, 0xE0DCC9},
                        {15, 0, 0xDCD6C2},
                        {23, 0, 0xDCD6C2},
                        {24, 0, 0xE0DCC9},
                        {20, 2, 0xFFF0CF},
                        {20, 3, 0xFDD889},
                        {20, 18, 0xE59700},
                        {20, 19, 0x003C74},
                        // Sides 17 rows into 13: the bottom corners start at row 17.
                        {1, 16, 0x003C74},
                        {1, 17, 0x255783},
                        {1, 18, 0x7A95A8},
                        {1, 19, 0xE6E1D0},
                        {35, 17, 0x255783},
                        {35, 19, 0xE6E1D0},
                        {18, 4, 0xD1D0DF},
                        {18, 16, 0xF3F3F7}});
    EXPECT_EQ(host.button->findChild<QLabel*>()->geometry(), QRect(0, 3, 37, 13));  // 50 twips
}

TEST(CommandPainting, CombinedStateKeepsTheDirectionOfTheFaceBefore) {
    {
        SCOPED_TRACE("hover, then focus by a press: Pressed, white at the bottom");
        Host host(69, 25);
        host.moveIn();
        host.press();
        EXPECT_EQ(host.button->behaviour().state(), ButtonState::HighLightSelect);
        EXPECT_EQ(host.button->currentFace(), FaceImage::Pressed);
        expectPixels(host, {{34, 0, 0xECE9D8},
                            {34, 2, 0x003C74},
                            {2, 2, 0xE6E1D0},
                            {34, 4, 0xCFCEDD},
                            {34, 20, 0xF5F5F8}});
        host.release();
    }
    {
        SCOPED_TRACE("focus, then hover: HighLightSelect, white at the top");
        Host host(69, 25);
        host.button->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(host.button->currentFace(), FaceImage::Selected);
        EXPECT_EQ(host.face(34, 2), 0xCEE7FFu);
        host.moveIn();
        EXPECT_EQ(host.button->behaviour().state(), ButtonState::HighLightSelect);
        EXPECT_EQ(host.button->currentFace(), FaceImage::HighLightSelect);
        expectPixels(host, {{34, 2, 0xFFF0CF}, {34, 4, 0xF5F5F8}, {34, 20, 0xCFCEDD}});
    }
}

// Pixels of the caption area whose colour passes the test.
template <typename Test>
int countPixels(const QImage& image, const QRect& area, Test test) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

bool dark(const QColor& c) { return c.red() < 0x40 && c.green() < 0x40 && c.blue() < 0x40; }
bool red(const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
// The classic disabled caption: grey 808080 letters over a white copy, plainly darker than
// the pale disabled face (DCDCE7 in its middle) but never black.
bool grey(const QColor& c) { return qGray(c.rgb()) >= 0x70 && qGray(c.rgb()) <= 0xA0; }
bool white(const QColor& c) { return c.red() >= 0xF8 && c.green() >= 0xF8 && c.blue() >= 0xF8; }

TEST(CommandPainting, CaptionFontColourDisabledLookAndTransparentFace) {
    Host host(69, 25);
    host.button->setCaption(QString::fromUtf8("設定"));
    EXPECT_EQ(QFontInfo(host.button->findChild<QLabel*>()->font()).family(),
              QStringLiteral("IPAPGothic"));
    const QRect text(host.at(0, 5), QSize(69, 13));
    // Black text of two Japanese glyphs.
    EXPECT_GT(countPixels(host.window.grab().toImage(), text, dark), 10);

    host.button->setFontColour(0x0000FF);  // red, stored blue-green-red
    EXPECT_GT(countPixels(host.window.grab().toImage(), text, red), 10);

    // Disabled: grey face, caption in the system's disabled colour, not the caption colour.
    host.button->setButtonEnabled(false);
    EXPECT_EQ(host.button->currentFace(), FaceImage::Disable);
    EXPECT_EQ(host.face(34, 1), 0xC9C7BAu);
    EXPECT_FALSE(host.button->findChild<QLabel*>()->isEnabled());
    const QImage disabled = host.window.grab().toImage();
    if (const char* keep = std::getenv("QUORLANE_KEEP_DISABLED")) disabled.save(keep);
    EXPECT_EQ(countPixels(disabled, text, red), 0);
    EXPECT_EQ(countPixels(disabled, text, dark), 0);
    EXPECT_GT(countPixels(disabled, text, grey), 10);
    EXPECT_GT(countPixels(disabled, text, white), 5);
    host.button->setButtonEnabled(true);

    host.button->setCaption(QString());
    EXPECT_EQ(host.shown(34, 12), 0xE2E2EBu);
    host.button->setFaceVisible(0);
    EXPECT_EQ(host.button->faceVisible(), 0);
    EXPECT_EQ(host.shown(34, 12), 0x336699u);  // only the host shows through
    host.button->setFaceVisible(255);
    EXPECT_EQ(host.shown(34, 12), 0xE2E2EBu);
}

TEST(CommandWidget, CaptionClicksRightButtonAndKeys) {
    Host host(69, 25);
    QSignalSpy clicks(host.button, &Command::click);
    // Straight onto the caption label: the button takes it.
    QTest::mouseMove(host.window.windowHandle(), host.at(34, 10));
    QTest::mouseClick(host.window.windowHandle(), Qt::LeftButton, {}, host.at(34, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(host.button->hasFocus());
    EXPECT_EQ(host.button->currentFace(), FaceImage::HighLightSelect);

    // Enter and Space do nothing.
    QTest::keyClick(&host.window, Qt::Key_Return);
    QTest::keyClick(&host.window, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(host.button->currentFace(), FaceImage::HighLightSelect);

    // A right press takes no focus and shows no pressed face; its release still clicks.
    Host other(69, 25);
    QSignalSpy otherClicks(other.button, &Command::click);
    other.moveIn();
    other.press(Qt::RightButton);
    EXPECT_FALSE(other.button->hasFocus());
    EXPECT_EQ(other.button->currentFace(), FaceImage::HighLight);
    other.release(Qt::RightButton);
    EXPECT_EQ(otherClicks.count(), 1);
}

TEST(CommandWidget, TabPassesADisabledButtonBy) {
    Host host(69, 25);
    auto* middle = new Command(&host.window);
    middle->setGeometry(10, 40, 69, 25);
    auto* last = new Command(&host.window);
    last->setGeometry(10, 70, 69, 25);
    middle->show();
    last->show();
    middle->setButtonEnabled(false);
    host.button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(host.button->hasFocus());
    QTest::keyClick(&host.window, Qt::Key_Tab);
    EXPECT_TRUE(last->hasFocus());
    // Enabled again, it is in the chain again.
    middle->setButtonEnabled(true);
    host.button->setFocus(Qt::TabFocusReason);
    QTest::keyClick(&host.window, Qt::Key_Tab);
    EXPECT_TRUE(middle->hasFocus());
}

TEST(CommandWidget, StoredPropertiesAndChangeMarks) {
    Host host(69, 25);
    QSignalSpy marks(host.button, &Command::propertyChanged);
    host.button->setCaption(QStringLiteral("OK"));
    host.button->setFont(QFont(QStringLiteral("IPAPGothic"), 12));
    host.button->setFontColour(0x00FF00);
    host.button->setButtonEnabled(false);
    host.button->setFaceVisible(0);
    QStringList names;
    for (const auto& mark : marks) names << mark.at(0).toString();
    EXPECT_EQ(names, (QStringList{"Caption", "Font", "FontColour", "Enabled", "Visible"}));

    const PropertySet stored = host.button->writeProperties();
    Host copy(69, 25);
    copy.button->readProperties(stored);
    EXPECT_EQ(copy.button->caption(), QStringLiteral("OK"));
    EXPECT_EQ(copy.button->font().family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(copy.button->font().pointSizeF(), 12.0);
    EXPECT_EQ(copy.button->faceVisible(), 0);
    EXPECT_FALSE(copy.button->behaviour().enabledValue());
    EXPECT_EQ(copy.button->currentFace(), FaceImage::Disable);
    copy.button->setButtonEnabled(true);
    EXPECT_EQ(copy.button->fontColour(), 0x00FF00u);
}

}  // namespace
}  // namespace quorlane

int main(int argc, char** argv) {
    // Pixels without a display, also when the test list is gathered at build time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
