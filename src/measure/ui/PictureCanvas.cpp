#include "measure/ui/PictureCanvas.h"

#include "measure/Pictures.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace zt {

long long himetricOfPixels(int pixels) {
    return std::llround(static_cast<double>(pixels) * 2540.0 / 96.0);
}

double twipsOfHimetric(long long himetric) {
    return static_cast<double>(himetric) * 15.0 / 26.5;
}

QColor colorOfBgr(long bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// The scrolled widget: paints the canvas and reports the mouse in twips.
class CanvasSurface : public QWidget {
public:
    explicit CanvasSurface(PictureCanvas& canvas) : canvas_(canvas) { setMouseTracking(true); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        canvas_.paintOn(painter);
    }
    void mousePressEvent(QMouseEvent* e) override {
        const QPointF t = PictureCanvas::twipsOfPixel(e->position());
        emit canvas_.mousePressed(t.x(), t.y(), e->button());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        const QPointF t = PictureCanvas::twipsOfPixel(e->position());
        emit canvas_.mouseMoved(t.x(), t.y(), e->buttons());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        const QPointF t = PictureCanvas::twipsOfPixel(e->position());
        emit canvas_.mouseReleased(t.x(), t.y(), e->button());
    }

private:
    PictureCanvas& canvas_;
};

PictureCanvas::PictureCanvas(QWidget* parent) : QScrollArea(parent) {
    surface_ = new CanvasSurface(*this);
    surface_->setObjectName(QStringLiteral("pictureSurface"));
    setWidget(surface_);
    setWidgetResizable(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureCanvas::setPicture(const QImage& picture) {
    picture_ = picture;
    updateSurfaceSize();
}

bool PictureCanvas::loadPicture(const QString& path) {
    const PictureRead read = readWholePicture(path);
    if (!read.ok())
        return false;
    setPicture(read.image);
    return true;
}

void PictureCanvas::setBackgroundColor(const QColor& color) {
    QPalette pal = surface_->palette();
    pal.setColor(QPalette::Window, color);
    surface_->setPalette(pal);
    surface_->update();
}

void PictureCanvas::clearPicture() {
    picture_ = QImage();
    updateSurfaceSize();
}

QSizeF PictureCanvas::pictureSizeTwips() const {
    if (picture_.isNull())
        return {0, 0};
    return {twipsOfHimetric(himetricOfPixels(picture_.width())),
            twipsOfHimetric(himetricOfPixels(picture_.height()))};
}

void PictureCanvas::clearDrawing() {
    displayList_.clear();
    surface_->update();
}

void PictureCanvas::drawLine(double x1, double y1, double x2, double y2, const QColor& color) {
    displayList_.push_back({CanvasPrimitive::Line, x1, y1, x2, y2, 0, color, drawWidth_});
    surface_->update();
}

void PictureCanvas::drawCircle(double x, double y, double radius, const QColor& color) {
    displayList_.push_back({CanvasPrimitive::Circle, x, y, x, y, radius, color, drawWidth_});
    surface_->update();
}

void PictureCanvas::drawPoint(double x, double y, const QColor& color) {
    displayList_.push_back({CanvasPrimitive::Point, x, y, x, y, 0, color, drawWidth_});
    surface_->update();
}

int PictureCanvas::addLineObject(const CanvasLine& line) {
    lines_.push_back(line);
    surface_->update();
    return static_cast<int>(lines_.size()) - 1;
}

void PictureCanvas::setLine(int id, double x1, double y1, double x2, double y2) {
    CanvasLine& l = lines_.at(static_cast<size_t>(id));
    l.x1 = x1, l.y1 = y1, l.x2 = x2, l.y2 = y2;
    surface_->update();
}

void PictureCanvas::setLineVisible(int id, bool visible) {
    lines_.at(static_cast<size_t>(id)).visible = visible;
    surface_->update();
}

void PictureCanvas::setLineColor(int id, const QColor& color) {
    lines_.at(static_cast<size_t>(id)).color = color;
    surface_->update();
}

void PictureCanvas::setOverlay(Overlay overlay) {
    overlay_ = std::move(overlay);
    surface_->update();
}

void PictureCanvas::setLineWidth(int id, int pixels) {
    lines_.at(static_cast<size_t>(id)).width = pixels;
    surface_->update();
}

QPoint PictureCanvas::pixelOfTwips(double x, double y) {
    return {static_cast<int>(std::lround(x / twipsPerPixel)),
            static_cast<int>(std::lround(y / twipsPerPixel))};
}

QPointF PictureCanvas::twipsOfPixel(const QPointF& p) {
    return {p.x() * twipsPerPixel, p.y() * twipsPerPixel};
}

QImage PictureCanvas::render() const {
    QImage image(surface_->size(), QImage::Format_RGB32);
    image.fill(surface_->palette().window().color());
    QPainter painter(&image);
    paintOn(painter);
    return image;
}

namespace {

QPointF px(double x, double y) {
    return {x / twipsPerPixel, y / twipsPerPixel};
}

void paintPrimitive(QPainter& painter, const CanvasPrimitive& p) {
    QPen pen(p.color, p.width);
    switch (p.kind) {
    case CanvasPrimitive::Line:
        painter.setPen(pen);
        painter.drawLine(px(p.x1, p.y1), px(p.x2, p.y2));
        break;
    case CanvasPrimitive::Circle:
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(px(p.x1, p.y1), p.radius / twipsPerPixel, p.radius / twipsPerPixel);
        break;
    case CanvasPrimitive::Point:
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.drawPoint(px(p.x1, p.y1));
        break;
    }
}

} // namespace

void PictureCanvas::paintOn(QPainter& painter) const {
    if (!picture_.isNull())
        painter.drawImage(QPoint(0, 0), picture_);
    for (const CanvasPrimitive& p : displayList_)
        paintPrimitive(painter, p);
    for (const CanvasLine& l : lines_) {
        if (!l.visible)
            continue;
        painter.setPen(QPen(l.color, l.width));
        painter.drawLine(px(l.x1, l.y1), px(l.x2, l.y2));
    }
    if (overlay_) {
        painter.save();
        overlay_(painter);
        painter.restore();
    }
}

void PictureCanvas::updateSurfaceSize() {
    surface_->setMinimumSize(picture_.isNull() ? QSize(0, 0) : picture_.size());
    surface_->update();
}

} // namespace zt
