// Figures for the shell's push button (driven by bench/button.sh):
//   paint [COUNT]          time of one face paint at 69 x 25, alone and through the widget
//   idle SECONDS BUTTONS [over]   a window with that many initialised buttons, left alone
//                                 (with `over`, the pointer resting on the first one)
#include <QApplication>
#include <QCursor>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "shell/controls/command.h"
#include "shell/controls/face_painter.h"

using namespace quorlane;

namespace {

// CPU time of this thread: other work on a shared machine does not count against a paint.
double cpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

int paint(int count) {
    Command button;
    button.setCaption(QString::fromUtf8("設定"));
    button.resize(69, 25);
    button.initialize();

    // The painter alone: gradient and eight frame pieces into the retained surface.
    QImage surface(69, 25, QImage::Format_RGB32);
    QImage face = QImage(":/faces/normal.bmp").convertToFormat(QImage::Format_RGB32);
    FacePainter painter;
    const PixelSurface target{reinterpret_cast<uint32_t*>(surface.bits()), 69, 25,
                              static_cast<int>(surface.bytesPerLine() / 4)};
    const FacePixels pixels{reinterpret_cast<const uint32_t*>(face.constBits()),
                            static_cast<int>(face.bytesPerLine() / 4)};
    double start = cpuMicroseconds();
    for (int i = 0; i < count; ++i)
        painter.paint(target, pixels, (i & 1) ? ButtonState::HighLight : ButtonState::Normal);
    const double alone = (cpuMicroseconds() - start) / count;

    // The whole repaint a property change makes: face, caption placed, window asked to update.
    start = cpuMicroseconds();
    for (int i = 0; i < count; ++i) button.fontColour();
    const double widget = (cpuMicroseconds() - start) / count;

    std::printf("face paint 69x25, painter alone: %.2f us\n", alone);
    std::printf("face paint 69x25, through the widget: %.2f us (target < 200 us)\n", widget);
    return 0;
}

int idle(int argc, char** argv, int seconds, int count, bool over) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(400, 120);
    std::vector<Command*> buttons;
    for (int i = 0; i < count; ++i) {
        auto* button = new Command(&window);
        button->setCaption(QStringLiteral("OK"));
        button->setGeometry(10 + 80 * i, 10, 69, 25);
        buttons.push_back(button);
    }
    window.show();
    for (Command* button : buttons) button->initialize();
    if (over && !buttons.empty()) {
        QTimer::singleShot(
            500, [&buttons] { QCursor::setPos(buttons.front()->mapToGlobal(QPoint(34, 12))); });
    }
    // Counted before quitting: a closing window takes the focus, and the hover, away.
    QTimer::singleShot(seconds * 1000, [&] {
        int hovered = 0;
        for (const Command* button : buttons) hovered += button->behaviour().hoverCanEnd() ? 1 : 0;
        std::printf("  (%d of %d buttons hovered at the end)\n", hovered, count);
        application.quit();
    });
    return application.exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "idle") == 0 && argc >= 4)
        return idle(argc, argv, std::atoi(argv[2]), std::atoi(argv[3]),
                    argc >= 5 && std::strcmp(argv[4], "over") == 0);
    if (argc >= 2 && std::strcmp(argv[1], "paint") == 0) {
        QApplication application(argc, argv);
        return paint(argc >= 3 ? std::atoi(argv[2]) : 20000);
    }
    std::fprintf(stderr, "usage: button_bench paint [COUNT] | idle SECONDS BUTTONS [over]\n");
    return 2;
}
