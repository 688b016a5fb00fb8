#include "capture/ui/CaptureView.h"

#include "capture/CaptureControl.h"

#include <QImage>
#include <QPainter>

namespace zt {

CaptureView::CaptureView(CaptureControl& control, QWidget* parent)
    : QWidget(parent), control_(control) {
    setMinimumSize(320, 240);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&control_, &CaptureControl::frameAvailable, this, qOverload<>(&QWidget::update));
}

void CaptureView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const QImage frame = control_.preview() ? control_.currentFrame() : QImage();
    if (frame.isNull())
        return;
    const QSize size = frame.size().scaled(this->size(), Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    p.drawImage(target, frame);
}

} // namespace zt
