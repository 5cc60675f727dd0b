#include "shell/controls/command.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace quorlane {

namespace {

// The Windows face name of the dialog's Japanese font, and what stands in for it here.
const char* const kCaptionFace = "ＭＳ Ｐゴシック";
const char* const kCaptionFaceStandIn = "IPAPGothic";
constexpr double kCaptionPointSize = 9.75;

const char* const kFaceFiles[kFaceImageCount] = {
    ":/faces/normal.bmp",  ":/faces/highlight.bmp", ":/faces/highlight_select.bmp",
    ":/faces/pressed.bmp", ":/faces/disable.bmp",   ":/faces/selected.bmp",
};

QColor fromBgr(uint32_t colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

FontDescription describe(const QFont& font, int charset) {
    return {font.family().toStdString(),
            font.pointSizeF(),
            font.weight(),
            font.italic(),
            font.underline(),
            font.strikeOut(),
            charset};
}

MouseButton buttonOf(const QMouseEvent* event) {
    return event->button() == Qt::LeftButton ? MouseButton::Left : MouseButton::Other;
}

// The classic disabled text: grey letters over a white copy one pixel down and right, readable
// on the pale disabled face where a palette's faded text colour all but vanishes.
const QColor kDisabledText(128, 128, 128);
const QColor kDisabledEmboss(255, 255, 255);

class CaptionLabel : public QLabel {
public:
    explicit CaptionLabel(QWidget* parent) : QLabel(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override {
        if (isEnabled()) {
            QLabel::paintEvent(event);
            return;
        }
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(kDisabledEmboss);
        painter.drawText(rect().translated(1, 1), static_cast<int>(alignment()), text());
        painter.setPen(kDisabledText);
        painter.drawText(rect(), static_cast<int>(alignment()), text());
    }
};

}  // namespace

Command::Command(QWidget* parent)
    : QWidget(parent),
      behaviour_(std::make_unique<CommandBehaviour>(static_cast<CommandView&>(*this))) {
    // fontconfig knows no alias for the Windows face name; without this the caption falls to
    // a font without Japanese glyphs.
    QFont::insertSubstitution(QString::fromUtf8(kCaptionFace),
                              QString::fromLatin1(kCaptionFaceStandIn));

    for (int i = 0; i < kFaceImageCount; ++i)
        faces_[i] =
            QImage(QString::fromLatin1(kFaceFiles[i])).convertToFormat(QImage::Format_RGB32);

    // Keyboard focus by Tab when enabled (setTakesFocus); a left press takes focus itself, so
    // other buttons never do.
    setMouseTracking(true);

    label_ = new CaptionLabel(this);
    label_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Presses, moves and releases over the caption belong to the button.
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);

    hoverTimer_.setTimerType(Qt::CoarseTimer);
    connect(&hoverTimer_, &QTimer::timeout, this, &Command::pollHover);

    // Loaded as placed: enabled and used, with the designed caption and font.
    PropertySet placed;
    placed.set("Caption", std::string("Command"));
    placed.set("Font", FontDescription{kCaptionFace, kCaptionPointSize, 400, false, false, false,
                                       kShiftJisCharset});
    readProperties(placed);
}

Command::~Command() = default;

QString Command::caption() const { return label_->text(); }

void Command::setCaption(const QString& caption) { behaviour_->setCaption(caption.toStdString()); }

uint32_t Command::fontColour() const { return behaviour_->fontColour(); }

void Command::setFontColour(uint32_t colour) { behaviour_->setFontColour(colour); }

bool Command::buttonEnabled() { return behaviour_->enabled(); }

void Command::setButtonEnabled(bool enabled) { behaviour_->setEnabled(enabled); }

uint8_t Command::faceVisible() const { return behaviour_->visible(); }

void Command::setFaceVisible(uint8_t visible) { behaviour_->setVisible(visible); }

void Command::initialize() { behaviour_->initialize(); }

void Command::readProperties(const PropertySet& stored) {
    loading_ = true;
    behaviour_->readProperties(stored, ambientFont());
    loading_ = false;
    // A host loads a button before sizing it, and sizing shows the enabled or disabled face;
    // a button that already has its size is brought to the same look here.
    behaviour_->sizeChanged();
}

PropertySet Command::writeProperties() { return behaviour_->writeProperties(ambientFont()); }

FontDescription Command::ambientFont() const {
    return describe(parentWidget() ? parentWidget()->font() : QApplication::font(), fontCharset_);
}

void Command::pollHover() {
    // Asking the display server where the pointer is costs a round trip; a button without
    // hover would ignore the answer.
    if (behaviour_->hoverCanEnd()) behaviour_->hoverTick(pointerOverButton());
}

bool Command::pointerOverButton() const {
    // The caption has no window of its own: over it is over the button.
    const QWidget* under = QApplication::widgetAt(QCursor::pos());
    return under != nullptr && (under == this || isAncestorOf(under));
}

void Command::paintEvent(QPaintEvent*) {
    // A transparent face shows only its caption.
    if (!opaque_ || surface_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, surface_);
}

void Command::resizeEvent(QResizeEvent*) { behaviour_->sizeChanged(); }

void Command::focusInEvent(QFocusEvent*) { behaviour_->focusArrives(); }

void Command::focusOutEvent(QFocusEvent*) { behaviour_->focusLeaves(); }

void Command::mousePressEvent(QMouseEvent* event) {
    // Focus first, so that a click on an unfocused button goes through its focus face.
    if (event->button() == Qt::LeftButton && !hasFocus()) setFocus(Qt::MouseFocusReason);
    behaviour_->buttonDown(buttonOf(event));
}

void Command::mouseReleaseEvent(QMouseEvent* event) { behaviour_->buttonUp(buttonOf(event)); }

void Command::mouseMoveEvent(QMouseEvent*) { behaviour_->pointerMoves(); }

// A window above the button that goes away while the pointer rests shows up here as the
// pointer entering, or as the host window becoming active again.
void Command::enterEvent(QEnterEvent*) { behaviour_->windowsAboveChanged(true); }

void Command::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange && !loading_) markPropertyChanged("Font");
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        behaviour_->windowsAboveChanged(pointerOverButton());
    QWidget::changeEvent(event);
}

void Command::paintFace(FaceImage face) {
    currentFace_ = face;
    if (surface_.size() != size()) surface_ = QImage(size(), QImage::Format_RGB32);
    const QImage& picture = faces_[static_cast<int>(face)];
    const FacePixels pixels{
        picture.isNull() ? nullptr : reinterpret_cast<const uint32_t*>(picture.constBits()),
        static_cast<int>(picture.bytesPerLine() / 4)};
    if (!surface_.isNull()) {
        painter_.paint({reinterpret_cast<uint32_t*>(surface_.bits()), surface_.width(),
                        surface_.height(), static_cast<int>(surface_.bytesPerLine() / 4)},
                       pixels, behaviour_->state());
    }
    update();
    label_->setGeometry(0, FaceGeometry::captionTopPixels(height()), width(),
                        kCaptionHeightTwips / kTwipsPerPixel);
}

void Command::setCaptionEnabled(bool enabled) { label_->setEnabled(enabled); }

std::string Command::captionText() const { return label_->text().toStdString(); }

void Command::setCaptionText(const std::string& text) {
    label_->setText(QString::fromStdString(text));
}

FontDescription Command::captionFont() const { return describe(font(), fontCharset_); }

void Command::setCaptionFont(const FontDescription& description) {
    QFont font(QString::fromStdString(description.faceName));
    if (description.pointSize > 0) font.setPointSizeF(description.pointSize);
    font.setWeight(static_cast<QFont::Weight>(description.weight));
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikethrough);
    fontCharset_ = description.charset;
    setFont(font);
}

uint32_t Command::captionColour() const { return captionColour_; }

void Command::setCaptionColour(uint32_t colour) {
    captionColour_ = colour;
    // The disabled look draws in its own colours (CaptionLabel), whatever the caption's.
    QPalette palette = label_->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, fromBgr(colour));
    palette.setColor(QPalette::Inactive, QPalette::WindowText, fromBgr(colour));
    label_->setPalette(palette);
}

void Command::setFaceOpaque(bool opaque) {
    opaque_ = opaque;
    update();
}

void Command::setTakesFocus(bool takes) { setFocusPolicy(takes ? Qt::TabFocus : Qt::NoFocus); }

void Command::startHoverTimer(int intervalMs) { hoverTimer_.start(intervalMs); }

void Command::raiseClick() { emit click(); }

void Command::markPropertyChanged(const char* name) {
    emit propertyChanged(QString::fromLatin1(name));
}

}  // namespace quorlane
