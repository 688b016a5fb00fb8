#pragma once
// The player's slider with one mark on its groove: the proposed contact
// frame. A click on the mark (within a few pixels) reports the marked value
// instead of moving the handle there by a page.

#include <QSlider>

namespace zt {

class MarkedSlider : public QSlider {
    Q_OBJECT
public:
    explicit MarkedSlider(QWidget* parent = nullptr);

    // The value marked; -1 removes the mark.
    void setMark(int value);
    int mark() const { return mark_; }
    // Where the mark is drawn, in the slider's coordinates (null: no mark).
    QRect markRect() const;

signals:
    void markClicked(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int mark_ = -1;
};

} // namespace zt
