#include "config/Magnifier.h"

#include <QPainter>
#include <algorithm>

namespace zt {

namespace {

int clampZoom(int zoom) {
    return std::clamp(zoom, minimumLoupeZoom, maximumLoupeZoom);
}

} // namespace

QRect magnifiedSourceRect(QPoint center, QSize viewSize, int zoom) {
    zoom = clampZoom(zoom);
    // Odd counts of source pixels, so the centre pixel has a middle.
    const int w = (viewSize.width() / zoom) | 1;
    const int h = (viewSize.height() / zoom) | 1;
    return QRect(center.x() - w / 2, center.y() - h / 2, w, h);
}

QImage magnifyAround(const QImage& source, QPoint sourceOrigin, QPoint center, QSize viewSize,
                     int zoom) {
    zoom = clampZoom(zoom);
    QImage view(viewSize, QImage::Format_RGB32);
    view.fill(Qt::black);
    const QRect area = magnifiedSourceRect(center, viewSize, zoom);
    // Offset that centres the enlarged area in the view.
    const int offX = (viewSize.width() - area.width() * zoom) / 2;
    const int offY = (viewSize.height() - area.height() * zoom) / 2;
    const QImage src = source.convertToFormat(QImage::Format_RGB32);
    for (int sy = 0; sy < area.height(); ++sy) {
        const int py = area.top() + sy - sourceOrigin.y();
        if (py < 0 || py >= src.height())
            continue;
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(py));
        for (int sx = 0; sx < area.width(); ++sx) {
            const int px = area.left() + sx - sourceOrigin.x();
            if (px < 0 || px >= src.width())
                continue;
            const QRgb c = line[px];
            for (int by = 0; by < zoom; ++by) {
                const int vy = offY + sy * zoom + by;
                if (vy < 0 || vy >= viewSize.height())
                    continue;
                auto* out = reinterpret_cast<QRgb*>(view.scanLine(vy));
                for (int bx = 0; bx < zoom; ++bx) {
                    const int vx = offX + sx * zoom + bx;
                    if (vx >= 0 && vx < viewSize.width())
                        out[vx] = c;
                }
            }
        }
    }
    // Crosshair: lines up to the centre block, and the block outlined, so the
    // pixel under the mouse itself stays visible.
    QPainter p(&view);
    p.setPen(QPen(QColor(255, 0, 0), 1));
    const int bx = offX + (area.width() / 2) * zoom;
    const int by = offY + (area.height() / 2) * zoom;
    const int cx = bx + zoom / 2;
    const int cy = by + zoom / 2;
    p.drawLine(cx, 0, cx, by - 2);
    p.drawLine(cx, by + zoom + 1, cx, viewSize.height() - 1);
    p.drawLine(0, cy, bx - 2, cy);
    p.drawLine(bx + zoom + 1, cy, viewSize.width() - 1, cy);
    p.setBrush(Qt::NoBrush);
    p.drawRect(bx - 1, by - 1, zoom + 1, zoom + 1);
    return view;
}

QPoint loupeWindowPosition(QPoint cursor, QSize windowSize, QRect screenArea, int gap) {
    int x = cursor.x() + gap;
    int y = cursor.y() + gap;
    if (x + windowSize.width() > screenArea.right() + 1)
        x = cursor.x() - gap - windowSize.width();
    if (y + windowSize.height() > screenArea.bottom() + 1)
        y = cursor.y() - gap - windowSize.height();
    x = std::max(x, screenArea.left());
    y = std::max(y, screenArea.top());
    return {x, y};
}

} // namespace zt
