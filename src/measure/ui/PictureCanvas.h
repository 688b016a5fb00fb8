#pragma once
// The picture area of the measure and grid setup screens: a background
// picture drawn from the top-left corner, fitted to the window or zoomed
// (1:1, 2x, 4x, 8x) about the mouse with the wheel and the +, -, 0 and 1
// keys, panned with the scroll bars, the middle button or Space and drag;
// a display list of lines, circles and points, and movable line objects,
// all in twips of the picture (15 twips per picture pixel, origin at the
// picture's top-left) and drawn at the view's scale with pen widths in
// screen pixels. Mouse positions are reported in twips of the picture
// (PictureView has the mapping).

#include "measure/MeasureLogic.h"
#include "measure/PictureView.h"

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QScrollArea>
#include <QSizeF>
#include <QTransform>
#include <functional>
#include <vector>

class QMouseEvent;
class QPainter;
class QWheelEvent;

namespace zt {

constexpr double twipsPerPixel = 15;

// A picture's HIMETRIC size (hundredths of a millimetre) from its pixel
// size at 96 dots per inch, rounded to a whole number.
long long himetricOfPixels(int pixels);
// twips = HIMETRIC * 15 / 26.5.
double twipsOfHimetric(long long himetric);

// A colour stored as &HBBGGRR (the colour settings) as a Qt colour.
QColor colorOfBgr(long bgr);

struct CanvasPrimitive {
    enum Kind { Line, Circle, Point } kind = Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // Circle: centre (x1, y1); Point: (x1, y1)
    double radius = 0;
    QColor color = Qt::white;
    int width = 1; // pen width in pixels
};

struct CanvasLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    QColor color = Qt::black;
    int width = 1;
    bool visible = true;
};

class PictureCanvas : public QScrollArea {
    Q_OBJECT
public:
    explicit PictureCanvas(QWidget* parent = nullptr);

    // Background picture.
    void setPicture(const QImage& picture);
    // False (and the picture unchanged) when the file cannot be read. The
    // file's content decides its kind, not its name.
    bool loadPicture(const QString& path);
    void clearPicture();
    bool hasPicture() const { return !picture_.isNull(); }
    const QImage& picture() const { return picture_; }
    // Picture size in twips by the HIMETRIC rule; 0 x 0 without a picture.
    QSizeF pictureSizeTwips() const;
    // Colour around and behind the picture.
    void setBackgroundColor(const QColor& color);

    // Display list. The pen width is kept as set by setDrawWidth.
    void setDrawWidth(int pixels) { drawWidth_ = pixels; }
    int drawWidth() const { return drawWidth_; }
    void clearDrawing();
    void drawLine(double x1, double y1, double x2, double y2, const QColor& color);
    void drawCircle(double x, double y, double radius, const QColor& color);
    void drawPoint(double x, double y, const QColor& color);
    // Lines, circles and points of an overlay, in one color.
    void drawShapes(const std::vector<OverlayShape>& shapes, const QColor& color);
    const std::vector<CanvasPrimitive>& displayList() const { return displayList_; }

    // Line objects: created once, then moved, shown and hidden. They stay
    // through clearDrawing.
    int addLineObject(const CanvasLine& line = {});
    void setLine(int id, double x1, double y1, double x2, double y2);
    void setLineVisible(int id, bool visible);
    void setLineColor(int id, const QColor& color);
    void setLineWidth(int id, int pixels);
    const CanvasLine& lineObject(int id) const { return lines_.at(static_cast<size_t>(id)); }

    // Painted over everything else; the transform maps picture pixels to
    // the painter's (view) pixels. None when empty. It stays through
    // clearDrawing.
    using Overlay = std::function<void(QPainter&, const QTransform& pictureToView)>;
    void setOverlay(Overlay overlay);
    bool hasOverlay() const { return static_cast<bool>(overlay_); }

    // The widget that scrolls with the picture (the picture at the view's
    // scale from its top-left). Conversions between its pixels and twips at
    // the view's scale, and at 1:1.
    QWidget* surface() const { return surface_; }
    QPointF twipsOfSurface(const QPointF& p) const;
    QPoint surfacePointOf(double x, double y) const;
    static QPoint pixelOfTwips(double x, double y);
    static QPointF twipsOfPixel(const QPointF& p);
    // Keeps a child of the surface (a label) at a picture position: its
    // top-left follows the position through zoom and scroll, offset by
    // the screen pixels that offsetTwips is at 1:1 (so that labels beside a
    // marker stay clear of it and of each other at every step).
    void pinToPicture(QWidget* child, double x, double y, QPointF offsetTwips = {});

    // The view. A new picture opens fitted.
    const PictureView& view() const { return view_; }
    Zoom zoom() const { return view_.zoom(); }
    // About a point of the surface; the middle of the visible part when
    // none is given.
    void setZoom(Zoom zoom);
    void setZoomAbout(Zoom zoom, QPointF surfacePoint);
    // A step with a picture position (twips) in the middle of the visible
    // part, as far as the scroll range allows.
    void zoomTo(Zoom zoom, double x, double y);
    void zoomIn(QPointF surfacePoint);
    void zoomOut(QPointF surfacePoint);
    // The keys of the view: + and - zoom about the mouse, 0 fits, 1 shows
    // 1:1. True when the key was one of them.
    bool viewKey(int key);
    bool mouseOverPicture() const { return mouseOver_; }

    // Renders picture and drawing at 1:1, the picture's size (tests,
    // pictures).
    QImage render() const;
    // Renders what the surface shows at the view's scale.
    QImage renderView() const;

signals:
    void mousePressed(double x, double y, Qt::MouseButton button);
    void mouseMoved(double x, double y, Qt::MouseButtons buttons);
    void mouseReleased(double x, double y, Qt::MouseButton button);
    // The picture, the window's size, the zoom or the scroll changed.
    void viewChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class CanvasSurface;
    void paintOn(QPainter& painter, const PictureView& view, const QRect& exposed) const;
    void paintPicture(QPainter& painter, const PictureView& view, const QRect& exposed) const;
    void relayout();
    void scrolled();
    void placePins();
    // Panning by the middle button or Space and the left button; true when
    // the event belonged to a pan.
    bool panPress(QMouseEvent* event);
    bool panMove(QMouseEvent* event);
    bool panRelease(QMouseEvent* event);
    void wheel(QWheelEvent* event);
    QPointF mouseOnSurface() const;

    struct Pin {
        QPointer<QWidget> child;
        QPointF at;
        QPointF offset;
    };
    void placePin(const Pin& pin);

    QWidget* surface_ = nullptr;
    PictureView view_;
    bool syncing_ = false;
    bool mouseOver_ = false;
    bool spaceHeld_ = false;
    bool panning_ = false;
    QPoint panFrom_;
    QPointF lastMouse_{-1, -1}; // on the surface
    int wheelRest_ = 0;
    std::vector<Pin> pins_;
    mutable QImage fitted_; // the picture at the fit's scale
    QImage picture_;
    int drawWidth_ = 1;
    std::vector<CanvasPrimitive> displayList_;
    std::vector<CanvasLine> lines_;
    Overlay overlay_;
};

} // namespace zt
