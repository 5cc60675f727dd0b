#pragma once
// Vantorel_R: the preview, a still of the show drawn inside the small preview area that
// the desktop's screensaver settings provide (a foreign X window, the host). It runs no
// show: no capture, no settings, no music, no renderer.
#include <QImage>
#include <QRasterWindow>
#include <QRect>

#include "shell/core/decoded_picture.h"

typedef struct _XDisplay Display;

namespace quorlane {

class PreviewWindow : public QRasterWindow {
public:
    // picture: the still that Img_Prev shows.
    explicit PreviewWindow(QImage picture);

    // Img_Prev's place in the window; the still is stretched to it, whatever its shape.
    void setPictureGeometry(const QRect& rect);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QRect pictureRect_;
};

// The still built into the program.
QImage previewPicture();
// The same still for a show's picture area; false when it cannot be decoded.
bool decodePreviewStill(DecodedPicture& picture);

// Embeds the preview into the host window and runs until the host, or the preview inside
// it, is destroyed. display: the shell's own connection (its error handler tolerates
// BadWindow). Returns the exit code.
int runPreviewWindow(Display* display, unsigned long host, const char* program);

}  // namespace quorlane
