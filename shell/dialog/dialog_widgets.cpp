#include "shell/dialog/dialog_widgets.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace quorlane {

RetainedBox::RetainedBox(QWidget* parent, QColor base)
    : QWidget(parent), base_(base), client_(new QWidget(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    fitClient();
}

void RetainedBox::fitClient() {
    client_->setGeometry(kBorder, kBorder, std::max(0, width() - 2 * kBorder),
                         std::max(0, height() - 2 * kBorder));
}

void RetainedBox::resizeEvent(QResizeEvent*) { fitClient(); }

QImage& RetainedBox::retained() {
    fitRetained();
    return retained_;
}

void RetainedBox::setOuterSize(int width, int height) {
    resize(width, height);
    fitClient();
    fitRetained();
    update();
}

void RetainedBox::clear() {
    fitRetained();
    retained_.fill(base_);
    update();
}

void RetainedBox::fitRetained() {
    const int width = std::max(0, this->width() - 2 * kBorder);
    const int height = std::max(0, this->height() - 2 * kBorder);
    if (!retained_.isNull() && retained_.width() == width && retained_.height() == height) return;
    retained_ = QImage(width, height, QImage::Format_RGB32);
    retained_.fill(base_);
}

void RetainedBox::paintEvent(QPaintEvent*) {
    fitRetained();
    QPainter painter(this);
    const int w = width(), h = height();
    // A sunken edge: shadow above and left, light below and right, two lines deep.
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(0, 0, w - 1, 0);
    painter.drawLine(0, 0, 0, h - 1);
    painter.setPen(QColor(64, 64, 64));
    painter.drawLine(1, 1, w - 2, 1);
    painter.drawLine(1, 1, 1, h - 2);
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(0, h - 1, w - 1, h - 1);
    painter.drawLine(w - 1, 0, w - 1, h - 1);
    painter.setPen(QColor(192, 192, 192));
    painter.drawLine(1, h - 2, w - 2, h - 2);
    painter.drawLine(w - 2, 1, w - 2, h - 2);
    painter.drawImage(kBorder, kBorder, retained_);
}

ChoiceLabel::ChoiceLabel(QWidget* parent) : QLabel(parent) {}

void ChoiceLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) leftHeld_ = true;
    emit pressed();
}

void ChoiceLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !leftHeld_) return;
    leftHeld_ = false;
    if (rect().contains(event->position().toPoint())) emit clicked();
}

PathBox::PathBox(QWidget* parent) : QWidget(parent) {}

void PathBox::setText(const QString& text) {
    text_ = text;
    update();
}

void PathBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QColor(64, 64, 64));
    painter.drawRect(0, 0, width() - 1, height() - 1);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect().adjusted(2, 2, -2, -2),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere, text_);
}

}  // namespace quorlane
