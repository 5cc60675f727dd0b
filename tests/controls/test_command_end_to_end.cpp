// Buttons in a real window on a private X display: the real pointer moved and clicked by
// xdotool, hover found by the buttons' own polling, faces read back from screenshots.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "shell/controls/command.h"

namespace quorlane {
namespace {

void xdotool(const QStringList& arguments) {
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0)
        << arguments.join(' ').toStdString();
}

void movePointer(const QPoint& global) {
    xdotool({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y())});
}

// The whole screen as the X server has it, kept beside the test program to look at.
QImage screenshot(const QString& name) {
    const QString file =
        QCoreApplication::applicationDirPath() + '/' + name + QStringLiteral(".png");
    QProcess::execute(QStringLiteral("sh"),
                      {"-c", "xwd -root -silent | convert xwd:- png:" + file});
    return QImage(file);
}

// Processes events until the condition holds (false only if it never does, so that a broken
// button fails instead of hanging the run).
bool waitFor(const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 30000) return false;
        QTest::qWait(5);
    }
    return true;
}

class CommandOnScreen : public ::testing::Test {
protected:
    void SetUp() override {
        window.setWindowTitle(QStringLiteral("Command test"));
        window.resize(240, 90);
        window.setAutoFillBackground(true);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, QColor(0x40, 0x60, 0x80));
        window.setPalette(palette);
        const QFont font(QString::fromUtf8("ＭＳ Ｐゴシック"), 9);
        const struct {
            const char* caption;
            QRect place;
        } placed[] = {
            {"設定", {10, 10, 69, 25}}, {"ｷｬﾝｾﾙ", {90, 10, 69, 25}}, {"...", {10, 50, 37, 21}}};
        for (const auto& [caption, place] : placed) {
            auto* button = new Command(&window);
            button->setCaption(QString::fromUtf8(caption));
            button->setFont(font);
            button->setGeometry(place);
            buttons.push_back(button);
        }
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        for (Command* button : buttons) button->initialize();
        movePointer(window.mapToGlobal(QPoint(200, 80)));
        QTest::qWait(150);
    }

    QPoint global(const Command* button, int x, int y) const {
        return button->mapToGlobal(QPoint(x, y));
    }
    static unsigned rgb(const QImage& screen, const QPoint& at) {
        return screen.pixel(at) & 0xFFFFFF;
    }

    QWidget window;
    std::vector<Command*> buttons;
};

TEST_F(CommandOnScreen, HoverLeaveAndOneClickForOneClick) {
    Command* set = buttons[0];
    Command* cancel = buttons[1];
    QSignalSpy setClicks(set, &Command::click);
    QSignalSpy cancelClicks(cancel, &Command::click);

    // Hover: the warm face at once, white at the bottom; the neighbour stays at rest.
    movePointer(global(set, 34, 12));
    ASSERT_TRUE(waitFor([&] { return set->currentFace() == FaceImage::HighLight; }));
    // Resting: the polls find the pointer still over the button.
    QTest::qWait(350);
    EXPECT_EQ(set->currentFace(), FaceImage::HighLight);
    QImage screen = screenshot(QStringLiteral("command_hover"));
    ASSERT_FALSE(screen.isNull());
    EXPECT_EQ(rgb(screen, global(set, 34, 2)), 0xFFF0CFu);
    EXPECT_EQ(rgb(screen, global(set, 34, 1)), 0x003C74u);
    EXPECT_EQ(rgb(screen, global(set, 60, 20)), 0xF5F5F8u);
    EXPECT_EQ(rgb(screen, global(cancel, 34, 2)), 0xF3F3EEu);
    EXPECT_EQ(rgb(screen, global(cancel, 60, 20)), 0xCFCEDDu);

    // Leaving: the button's own poll finds the pointer gone.
    movePointer(window.mapToGlobal(QPoint(200, 80)));
    EXPECT_TRUE(waitFor([&] { return set->currentFace() == FaceImage::Normal; }));
    QTest::qWait(50);
    screen = screenshot(QStringLiteral("command_left"));
    EXPECT_EQ(rgb(screen, global(set, 34, 2)), 0xF3F3EEu);
    EXPECT_EQ(rgb(screen, global(set, 60, 20)), 0xCFCEDDu);

    // One click, one Click; the pointer stays, so the face is focus-and-hover.
    movePointer(global(cancel, 20, 12));
    ASSERT_TRUE(waitFor([&] { return cancel->currentFace() == FaceImage::HighLight; }));
    xdotool({"click", "1"});
    ASSERT_TRUE(waitFor([&] { return cancelClicks.count() > 0; }));
    QTest::qWait(300);
    EXPECT_EQ(cancelClicks.count(), 1);
    EXPECT_EQ(setClicks.count(), 0);
    EXPECT_TRUE(cancel->hasFocus());
    screen = screenshot(QStringLiteral("command_clicked"));
    EXPECT_EQ(rgb(screen, global(cancel, 34, 2)), 0xFFF0CFu);

    // Out again: focus without hover shows the blue face.
    movePointer(window.mapToGlobal(QPoint(200, 80)));
    EXPECT_TRUE(waitFor([&] { return cancel->currentFace() == FaceImage::Selected; }));
    QTest::qWait(50);
    screen = screenshot(QStringLiteral("command_focused"));
    EXPECT_EQ(rgb(screen, global(cancel, 34, 2)), 0xCEE7FFu);
    EXPECT_EQ(cancelClicks.count(), 1);
}

}  // namespace
}  // namespace quorlane

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
