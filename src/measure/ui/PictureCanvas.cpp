#include "measure/ui/PictureCanvas.h"

#include "app/KeyState.h"
#include "measure/Pictures.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>
#include <QWheelEvent>
#include <algorithm>
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

namespace {

// The screen pixel the mouse is in (positions can be fractional on screens
// scaled by the system).
QPointF pixelUnder(QPointF position) {
    return {std::floor(position.x()), std::floor(position.y())};
}

} // namespace

// The scrolled widget: paints the canvas at the view's scale and reports
// the mouse in twips; the wheel zooms, the middle button (or Space and the
// left button) pans.
class CanvasSurface : public QWidget {
public:
    explicit CanvasSurface(PictureCanvas& canvas) : canvas_(canvas) { setMouseTracking(true); }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter painter(this);
        painter.fillRect(e->rect(), palette().window());
        canvas_.paintOn(painter, canvas_.view_, e->rect());
    }
    void mousePressEvent(QMouseEvent* e) override {
        canvas_.lastMouse_ = e->position();
        // A click on the picture ends typing in a box: the view's keys and
        // the screen's letter keys work again.
        canvas_.setFocus(Qt::MouseFocusReason);
        if (canvas_.panPress(e))
            return;
        const QPointF t = canvas_.twipsOfSurface(pixelUnder(e->position()));
        emit canvas_.mousePressed(t.x(), t.y(), e->button());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        canvas_.lastMouse_ = e->position();
        canvas_.mouseOver_ = true;
        if (canvas_.panMove(e))
            return;
        const QPointF t = canvas_.twipsOfSurface(pixelUnder(e->position()));
        emit canvas_.mouseMoved(t.x(), t.y(), e->buttons());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (canvas_.panRelease(e))
            return;
        const QPointF t = canvas_.twipsOfSurface(pixelUnder(e->position()));
        emit canvas_.mouseReleased(t.x(), t.y(), e->button());
    }
    void wheelEvent(QWheelEvent* e) override { canvas_.wheel(e); }
    void enterEvent(QEnterEvent* e) override {
        canvas_.mouseOver_ = true;
        canvas_.lastMouse_ = e->position();
    }
    void leaveEvent(QEvent*) override { canvas_.mouseOver_ = false; }

private:
    PictureCanvas& canvas_;
};

PictureCanvas::PictureCanvas(QWidget* parent) : QScrollArea(parent) {
    surface_ = new CanvasSurface(*this);
    surface_->setObjectName(QStringLiteral("pictureSurface"));
    setWidget(surface_);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    viewport()->installEventFilter(this);
    qApp->installEventFilter(this);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, this, &PictureCanvas::scrolled);
    relayout();
}

void PictureCanvas::setPicture(const QImage& picture) {
    picture_ = picture;
    fitted_ = QImage();
    view_.setPictureSize(picture_.isNull() ? QSize() : picture_.size());
    view_.zoomAbout(Zoom::Fit, {0, 0});
    relayout();
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
    setPicture(QImage());
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

void PictureCanvas::drawShapes(const std::vector<OverlayShape>& shapes, const QColor& color) {
    for (const OverlayShape& shape : shapes) {
        if (shape.kind == OverlayShape::Line)
            drawLine(shape.x1, shape.y1, shape.x2, shape.y2, color);
        else if (shape.kind == OverlayShape::Circle)
            drawCircle(shape.x1, shape.y1, shape.radius, color);
        else
            drawPoint(shape.x1, shape.y1, color);
    }
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

QPointF PictureCanvas::twipsOfSurface(const QPointF& p) const {
    return view_.twipsOfContent(p);
}

QPoint PictureCanvas::surfacePointOf(double x, double y) const {
    const QPointF c = view_.contentOfTwips({x, y});
    return {static_cast<int>(std::lround(c.x())), static_cast<int>(std::lround(c.y()))};
}

void PictureCanvas::pinToPicture(QWidget* child, double x, double y, QPointF offsetTwips) {
    auto it = std::find_if(pins_.begin(), pins_.end(),
                           [child](const Pin& p) { return p.child == child; });
    if (it == pins_.end())
        it = pins_.insert(pins_.end(), Pin{child, {}, {}});
    it->at = {x, y};
    it->offset = offsetTwips;
    placePin(*it);
}

void PictureCanvas::placePin(const Pin& pin) {
    // At 1:1 exactly where the sum in twips has always put it.
    const QPointF c = view_.scale() == 1
                          ? (pin.at + pin.offset) / PictureView::twipsPerPixel
                          : view_.contentOfTwips(pin.at) + pin.offset / PictureView::twipsPerPixel;
    pin.child->move(static_cast<int>(std::lround(c.x())), static_cast<int>(std::lround(c.y())));
}

void PictureCanvas::placePins() {
    std::erase_if(pins_, [](const Pin& p) { return p.child.isNull(); });
    for (const Pin& p : pins_)
        placePin(p);
}

QImage PictureCanvas::render() const {
    PictureView actual;
    actual.setPictureSize(picture_.isNull() ? QSize() : picture_.size());
    actual.zoomAbout(Zoom::Actual, {0, 0});
    const QSize size = picture_.isNull() ? surface_->size() : picture_.size();
    QImage image(size, QImage::Format_RGB32);
    image.fill(surface_->palette().window().color());
    QPainter painter(&image);
    paintOn(painter, actual, image.rect());
    return image;
}

QImage PictureCanvas::renderView() const {
    QImage image(surface_->size(), QImage::Format_RGB32);
    image.fill(surface_->palette().window().color());
    QPainter painter(&image);
    paintOn(painter, view_, image.rect());
    return image;
}

namespace {

void paintPrimitive(QPainter& painter, const PictureView& view, const CanvasPrimitive& p) {
    QPen pen(p.color, p.width);
    const QPointF a = view.contentOfTwips({p.x1, p.y1});
    switch (p.kind) {
    case CanvasPrimitive::Line:
        painter.setPen(pen);
        painter.drawLine(a, view.contentOfTwips({p.x2, p.y2}));
        break;
    case CanvasPrimitive::Circle: {
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const double r = view.viewLength(p.radius);
        painter.drawEllipse(a, r, r);
        break;
    }
    case CanvasPrimitive::Point:
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.drawPoint(a);
        break;
    }
}

} // namespace

void PictureCanvas::paintPicture(QPainter& painter, const PictureView& view,
                                 const QRect& exposed) const {
    const double s = view.scale();
    if (s == 1) {
        painter.drawImage(QPoint(0, 0), picture_);
    } else if (s < 1) {
        const QSize size = view.contentSize();
        if (fitted_.size() != size)
            fitted_ = picture_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(QPoint(0, 0), fitted_);
    } else {
        // Whole picture pixels as s x s blocks, only those exposed.
        const QRect source = QRect(QPoint(static_cast<int>(std::floor(exposed.left() / s)),
                                          static_cast<int>(std::floor(exposed.top() / s))),
                                   QPoint(static_cast<int>(std::ceil((exposed.right() + 1) / s)),
                                          static_cast<int>(std::ceil((exposed.bottom() + 1) / s))))
                                 .intersected(picture_.rect());
        if (source.isEmpty())
            return;
        const QRectF target(source.x() * s, source.y() * s, source.width() * s,
                            source.height() * s);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, picture_, source);
    }
}

void PictureCanvas::paintOn(QPainter& painter, const PictureView& view,
                            const QRect& exposed) const {
    if (!picture_.isNull())
        paintPicture(painter, view, exposed);
    for (const CanvasPrimitive& p : displayList_)
        paintPrimitive(painter, view, p);
    for (const CanvasLine& l : lines_) {
        if (!l.visible)
            continue;
        painter.setPen(QPen(l.color, l.width));
        painter.drawLine(view.contentOfTwips({l.x1, l.y1}), view.contentOfTwips({l.x2, l.y2}));
    }
    if (overlay_) {
        painter.save();
        // Picture pixel u (twips / 15) sits where twips 15u are drawn.
        const double s = view.scale();
        const QTransform pictureToView(s, 0, 0, s, (s - 1) / 2, (s - 1) / 2);
        overlay_(painter, pictureToView);
        painter.restore();
    }
}

// ---- The view: size, zoom, scroll ----

void PictureCanvas::relayout() {
    if (syncing_)
        return;
    syncing_ = true;
    for (int pass = 0; pass < 3; ++pass) {
        const QSize seen = viewport()->size();
        view_.setViewportSize(seen);
        const QSize content = view_.contentSize();
        surface_->resize(content.expandedTo(seen));
        const QPoint most = view_.maximumScroll(), at = view_.scroll();
        horizontalScrollBar()->setRange(0, most.x());
        verticalScrollBar()->setRange(0, most.y());
        horizontalScrollBar()->setPageStep(std::max(1, seen.width()));
        verticalScrollBar()->setPageStep(std::max(1, seen.height()));
        horizontalScrollBar()->setValue(at.x());
        verticalScrollBar()->setValue(at.y());
        if (viewport()->size() == seen)
            break; // the scroll bars came or went: once more with the new size
    }
    syncing_ = false;
    placePins();
    surface_->update();
    emit viewChanged();
}

void PictureCanvas::scrolled() {
    if (syncing_)
        return;
    view_.setScroll({horizontalScrollBar()->value(), verticalScrollBar()->value()});
}

void PictureCanvas::keyPressEvent(QKeyEvent* event) {
    // The arrow keys move marks on the screens, never the picture.
    if (isArrowKey(event->key())) {
        event->ignore();
        return;
    }
    QScrollArea::keyPressEvent(event);
}

void PictureCanvas::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    relayout();
}

void PictureCanvas::setZoom(Zoom zoom) {
    const QSize seen = viewport()->size();
    setZoomAbout(zoom, QPointF(view_.scroll()) + QPointF(seen.width() / 2.0, seen.height() / 2.0));
}

void PictureCanvas::setZoomAbout(Zoom zoom, QPointF surfacePoint) {
    view_.zoomAbout(zoom, surfacePoint - QPointF(view_.scroll()));
    relayout();
}

void PictureCanvas::zoomTo(Zoom zoom, double x, double y) {
    view_.zoomAbout(zoom, {0, 0});
    const QSize seen = viewport()->size();
    const QPointF c = view_.contentOfTwips({x, y});
    view_.setScroll({static_cast<int>(std::lround(c.x() - seen.width() / 2.0)),
                     static_cast<int>(std::lround(c.y() - seen.height() / 2.0))});
    relayout();
}

void PictureCanvas::zoomIn(QPointF surfacePoint) {
    if (view_.zoomIn(surfacePoint - QPointF(view_.scroll())))
        relayout();
}

void PictureCanvas::zoomOut(QPointF surfacePoint) {
    if (view_.zoomOut(surfacePoint - QPointF(view_.scroll())))
        relayout();
}

QPointF PictureCanvas::mouseOnSurface() const {
    if (lastMouse_.x() >= 0 && lastMouse_.y() >= 0)
        return lastMouse_;
    const QSize seen = viewport()->size();
    return QPointF(view_.scroll()) + QPointF(seen.width() / 2.0, seen.height() / 2.0);
}

bool PictureCanvas::viewKey(int key) {
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn(mouseOnSurface());
        return true;
    case Qt::Key_Minus:
        zoomOut(mouseOnSurface());
        return true;
    case Qt::Key_0:
        setZoom(Zoom::Fit);
        return true;
    case Qt::Key_1:
        setZoomAbout(Zoom::Actual, mouseOnSurface());
        return true;
    default:
        return false;
    }
}

void PictureCanvas::wheel(QWheelEvent* event) {
    event->accept();
    lastMouse_ = event->position();
    wheelRest_ += event->angleDelta().y();
    while (wheelRest_ >= 120) {
        wheelRest_ -= 120;
        zoomIn(event->position());
    }
    while (wheelRest_ <= -120) {
        wheelRest_ += 120;
        zoomOut(event->position());
    }
}

// ---- Panning ----

bool PictureCanvas::panPress(QMouseEvent* event) {
    const bool pan =
        event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld_);
    if (!pan)
        return false;
    panning_ = true;
    panFrom_ = event->globalPosition().toPoint();
    surface_->setCursor(Qt::ClosedHandCursor);
    return true;
}

bool PictureCanvas::panMove(QMouseEvent* event) {
    if (!panning_)
        return false;
    const QPoint now = event->globalPosition().toPoint();
    const QPoint by = now - panFrom_;
    panFrom_ = now;
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - by.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() - by.y());
    return true;
}

bool PictureCanvas::panRelease(QMouseEvent* event) {
    if (!panning_)
        return false;
    if (event->button() == Qt::MiddleButton || event->button() == Qt::LeftButton) {
        panning_ = false;
        surface_->unsetCursor();
    }
    return true;
}

// ---- Keys over the picture ----

namespace {

// Keys typed into a text box are the box's.
bool typingInTextBox() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return false;
    if (auto* combo = qobject_cast<QComboBox*>(focus))
        return combo->isEditable();
    return qobject_cast<QLineEdit*>(focus) || qobject_cast<QAbstractSpinBox*>(focus) ||
           qobject_cast<QTextEdit*>(focus) || qobject_cast<QPlainTextEdit*>(focus);
}

} // namespace

bool PictureCanvas::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == viewport() && type == QEvent::Resize) {
        relayout();
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target || target->window() != window() || !isVisible())
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Space) {
        if (type == QEvent::KeyRelease) {
            if (!key->isAutoRepeat())
                spaceHeld_ = false;
            return false;
        }
        if (!mouseOver_ || typingInTextBox())
            return false;
        spaceHeld_ = true;
        return true; // not a click of the button that has the focus
    }
    if (type != QEvent::KeyPress || !mouseOver_ || typingInTextBox())
        return false;
    // "+" takes Shift on many keyboards; Ctrl and Alt keys are commands.
    const Qt::KeyboardModifiers others =
        key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    return others == Qt::NoModifier && viewKey(key->key());
}

} // namespace zt
