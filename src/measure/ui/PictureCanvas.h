#pragma once
// The picture area of the measure and grid setup screens: a background
// picture drawn 1:1 from the top-left corner (scrollable when larger than
// the window), a display list of lines, circles and points, and movable
// line objects, all in twips of the picture (15 twips per picture pixel,
// origin at the picture's top-left). Mouse positions are reported in twips.

#include <QColor>
#include <QImage>
#include <QScrollArea>
#include <QSizeF>
#include <functional>
#include <vector>

class QPainter;

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
    const std::vector<CanvasPrimitive>& displayList() const { return displayList_; }

    // Line objects: created once, then moved, shown and hidden. They stay
    // through clearDrawing.
    int addLineObject(const CanvasLine& line = {});
    void setLine(int id, double x1, double y1, double x2, double y2);
    void setLineVisible(int id, bool visible);
    void setLineColor(int id, const QColor& color);
    void setLineWidth(int id, int pixels);
    const CanvasLine& lineObject(int id) const { return lines_.at(static_cast<size_t>(id)); }

    // Painted over everything else, in pixels of the picture; none when
    // empty. It stays through clearDrawing.
    using Overlay = std::function<void(QPainter&)>;
    void setOverlay(Overlay overlay);
    bool hasOverlay() const { return static_cast<bool>(overlay_); }

    // The widget that scrolls with the picture; children placed on it keep
    // their place on the picture. Conversions between its pixels and twips.
    QWidget* surface() const { return surface_; }
    static QPoint pixelOfTwips(double x, double y);
    static QPointF twipsOfPixel(const QPointF& p);

    // Renders picture and drawing as the screen shows them (tests, pictures).
    QImage render() const;

signals:
    void mousePressed(double x, double y, Qt::MouseButton button);
    void mouseMoved(double x, double y, Qt::MouseButtons buttons);
    void mouseReleased(double x, double y, Qt::MouseButton button);

private:
    friend class CanvasSurface;
    void paintOn(QPainter& painter) const;
    void updateSurfaceSize();

    QWidget* surface_ = nullptr;
    QImage picture_;
    int drawWidth_ = 1;
    std::vector<CanvasPrimitive> displayList_;
    std::vector<CanvasLine> lines_;
    Overlay overlay_;
};

} // namespace zt
