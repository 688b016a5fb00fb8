#pragma once
// The picture of the screen loupe: the area around a point of a screen
// picture, enlarged pixel by pixel (every pixel a zoom x zoom block, no
// smoothing, so single pixels stay visible) with a crosshair through the
// pixel under the point.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace zt {

inline constexpr int minimumLoupeZoom = 4;
inline constexpr int maximumLoupeZoom = 16;

// The screen area a view of viewSize at zoom shows around center: the
// centre pixel sits in the middle block of the view.
QRect magnifiedSourceRect(QPoint center, QSize viewSize, int zoom);

// The enlarged view of source (a picture of the area sourceRect of the
// screen, sourceRect.topLeft() being its pixel 0,0) around center. Parts
// outside the source are black. The crosshair outlines the centre block.
QImage magnifyAround(const QImage& source, QPoint sourceOrigin, QPoint center, QSize viewSize,
                     int zoom);

// Where the loupe window goes for the mouse at cursor: beside and below it,
// flipped to the other side near the edges of the screen area, so it never
// covers the area it shows.
QPoint loupeWindowPosition(QPoint cursor, QSize windowSize, QRect screenArea, int gap);

} // namespace zt
