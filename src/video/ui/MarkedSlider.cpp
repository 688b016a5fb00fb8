#include "video/ui/MarkedSlider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace zt {

namespace {

// Half the mark's width, and how far beside it a click still hits it.
constexpr int markHalfWidth = 4;
constexpr int markReach = 3;

} // namespace

MarkedSlider::MarkedSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void MarkedSlider::setMark(int value) {
    mark_ = value;
    update();
}

QRect MarkedSlider::markRect() const {
    if (mark_ < minimum() || mark_ > maximum() || maximum() <= minimum())
        return {};
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
    // The handle's centre travels over the groove less the handle's width.
    const int span = std::max(0, groove.width() - handle.width());
    const int x =
        groove.left() + handle.width() / 2 +
        QStyle::sliderPositionFromValue(minimum(), maximum(), mark_, span, opt.upsideDown);
    return QRect(x - markHalfWidth, 0, 2 * markHalfWidth + 1, height());
}

void MarkedSlider::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    const QRect r = markRect();
    if (r.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 120, 0));
    // A triangle pointing down at the groove from the top edge, and one up
    // from the bottom edge, so the handle never hides both.
    const int cx = r.center().x();
    const int h = std::max(4, r.height() / 3);
    p.drawPolygon(QPolygon({QPoint(r.left(), 0), QPoint(r.right(), 0), QPoint(cx, h)}));
    p.drawPolygon(QPolygon({QPoint(r.left(), height() - 1), QPoint(r.right(), height() - 1),
                            QPoint(cx, height() - 1 - h)}));
}

void MarkedSlider::mousePressEvent(QMouseEvent* event) {
    const QRect r = markRect().adjusted(-markReach, 0, markReach, 0);
    if (isEnabled() && event->button() == Qt::LeftButton && !r.isNull() &&
        r.contains(event->position().toPoint())) {
        event->accept();
        emit markClicked(mark_);
        return;
    }
    QSlider::mousePressEvent(event);
}

} // namespace zt
