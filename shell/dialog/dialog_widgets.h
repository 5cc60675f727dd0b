#pragma once
// The plain controls of the settings dialog: panels that keep a retained image, labels and
// marks that report presses and clicks, and the bordered path boxes.
#include <QImage>
#include <QLabel>
#include <QWidget>

namespace quorlane {

// A box with a sunken two-pixel border whose inner area shows a retained image: what is drawn
// into it stays until drawn over. Used for the two panels and for the picture preview. Controls
// on a box go on its client area, inside the border, so their positions count from there.
class RetainedBox : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBorder = 2;

    RetainedBox(QWidget* parent, QColor base);

    // The image of the inner area, at the box's current size.
    QImage& retained();
    // The inner area as a parent for controls; it draws nothing of its own.
    QWidget* client() const { return client_; }
    // Changes the outer size; the retained image is cleared to the base colour.
    void setOuterSize(int width, int height);
    // Fills the retained image with the base colour.
    void clear();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitClient();
    // A hidden widget gets its resize event only when shown, but the dialog draws into its
    // boxes while loading: so the image follows the size here, not in an event.
    void fitRetained();

    QColor base_;
    QImage retained_;
    QWidget* client_ = nullptr;
};

// A label (or an option mark) that tells of a press of any mouse button and of a completed
// left-button click.
class ChoiceLabel : public QLabel {
    Q_OBJECT
public:
    explicit ChoiceLabel(QWidget* parent);

signals:
    void pressed();
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool leftHeld_ = false;
};

// A path under a single-line border, broken onto as many lines as the box has room for at any
// character (a path has no blanks to break at).
class PathBox : public QWidget {
    Q_OBJECT
public:
    explicit PathBox(QWidget* parent);
    void setText(const QString& text);
    QString text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

}  // namespace quorlane
