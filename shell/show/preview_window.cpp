#include "shell/show/preview_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSocketNotifier>

#include <algorithm>
#include <memory>

#include "shell/platform/picture_file.h"
#include "shell/platform/qt_on_x.h"
#include "shell/platform/x11/preview_host.h"

// Outside any namespace: the resource's initialiser is a global function.
static void initPreviewResources() { Q_INIT_RESOURCE(preview_still); }

namespace quorlane {

namespace {

const QColor kBackground(192, 192, 192);

}  // namespace

PreviewWindow::PreviewWindow(QImage picture) : picture_(std::move(picture)) {
    setTitle("Preview Window");
    setFlag(Qt::FramelessWindowHint);
}

void PreviewWindow::setPictureGeometry(const QRect& rect) {
    pictureRect_ = rect;
    update();
}

void PreviewWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(0, 0), size()), kBackground);
    // Nearest pixels, as a plain stretch copy gives them.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!picture_.isNull() && !pictureRect_.isEmpty()) painter.drawImage(pictureRect_, picture_);
}

QImage previewPicture() {
    initPreviewResources();
    return QImage(":/preview/preview_still.jpg");
}

bool decodePreviewStill(DecodedPicture& picture) { return decodeImage(previewPicture(), picture); }

int runPreviewWindow(Display* display, unsigned long host, const char* program) {
    // Watch before anything else, so a host that goes while we set up is still noticed.
    PreviewHost previewHost(display, host);
    if (previewHost.gone()) return 0;

    // The host is an X window, whatever session this runs in.
    QtOnXArguments arguments(program);
    QGuiApplication application(arguments.argc(), arguments.argv());

    std::unique_ptr<QWindow> hostWindow(QWindow::fromWinId(static_cast<WId>(host)));
    PreviewWindow window(previewPicture());
    window.setParent(hostWindow.get());
    // The whole host, however large, and again whenever the host changes its size. (A size
    // held in 16-bit twips would stop at 2184 pixels and leave the rest of a larger host
    // uncovered.)
    const auto fillHost = [&] {
        const QRect whole(0, 0, std::max(0, previewHost.width()),
                          std::max(0, previewHost.height()));
        window.setGeometry(whole);
        window.setPictureGeometry(whole);
    };
    fillHost();
    window.create();
    previewHost.watchPreview(static_cast<unsigned long>(window.winId()));

    QSocketNotifier notifier(previewHost.fileDescriptor(), QSocketNotifier::Read);
    const auto checkHost = [&] {
        if (previewHost.gone()) QCoreApplication::exit(0);
        if (previewHost.takeResize()) fillHost();
    };
    QObject::connect(&notifier, &QSocketNotifier::activated, checkHost);
    if (previewHost.gone()) return 0;
    if (previewHost.takeResize()) fillHost();

    window.show();
    return application.exec();
}

}  // namespace quorlane
