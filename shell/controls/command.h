#pragma once
// Command: the shell's own push button. A painted face (gradient and frame) under a caption,
// six faces for hover, focus, press and the disabled look, and one `click` signal. Hover is
// found by polling the pointer every 100 ms once the host has called initialize().
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "shell/controls/command_behaviour.h"
#include "shell/controls/face_painter.h"

class QLabel;

namespace quorlane {

class Command : public QWidget, private CommandView {
    Q_OBJECT

public:
    // A button as freshly placed on a host: enabled, caption "Command" in black
    // "ＭＳ Ｐゴシック" 9.75 pt, opaque face, not yet initialised.
    explicit Command(QWidget* parent = nullptr);
    ~Command() override;

    QString caption() const;
    void setCaption(const QString& caption);
    uint32_t fontColour() const;  // 0x00BBGGRR; reading repaints the face
    void setFontColour(uint32_t colour0x00BBGGRR);
    bool buttonEnabled();  // reading repaints the face
    void setButtonEnabled(bool enabled);
    uint8_t faceVisible() const;  // 0 or 255; reading an opaque face repaints it
    void setFaceVisible(uint8_t visible);
    // Starts the button: hover polling runs from here on.
    void initialize();

    // The stored form, for a host that keeps its buttons' properties.
    void readProperties(const PropertySet& stored);
    PropertySet writeProperties();

    const CommandBehaviour& behaviour() const { return *behaviour_; }
    // The last face painted and the retained surface it was painted into.
    FaceImage currentFace() const { return currentFace_; }
    const QImage& surface() const { return surface_; }

signals:
    void click();
    // The stored property set is out of date for this property.
    void propertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // CommandView
    void paintFace(FaceImage face) override;
    void setCaptionEnabled(bool enabled) override;
    std::string captionText() const override;
    void setCaptionText(const std::string& text) override;
    FontDescription captionFont() const override;
    void setCaptionFont(const FontDescription& font) override;
    uint32_t captionColour() const override;
    void setCaptionColour(uint32_t colour) override;
    void setFaceOpaque(bool opaque) override;
    void setTakesFocus(bool takes) override;
    void startHoverTimer(int intervalMs) override;
    void raiseClick() override;
    void markPropertyChanged(const char* name) override;

    void pollHover();
    bool pointerOverButton() const;
    FontDescription ambientFont() const;

    std::unique_ptr<CommandBehaviour> behaviour_;
    QLabel* label_ = nullptr;  // LblMsg: the caption, drawn over the face
    QTimer hoverTimer_;        // TmrMouse
    std::array<QImage, kFaceImageCount> faces_;
    FacePainter painter_;
    QImage surface_;
    FaceImage currentFace_ = FaceImage::Normal;
    uint32_t captionColour_ = 0;
    int fontCharset_ = kShiftJisCharset;  // kept for the stored font; Qt fonts carry none
    bool opaque_ = true;
    bool loading_ = false;  // font changes made while loading are not the host's edits
};

}  // namespace quorlane
