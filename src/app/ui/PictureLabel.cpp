#include "app/ui/PictureLabel.h"

#include "app/PictureFile.h"

#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace zt {

namespace {

const char* pictureProperty = "pictureName";

// A small face for a ready grid, a warning triangle otherwise.
QPixmap standInPicture(const QString& name) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    if (name.contains(QStringLiteral("Smiley"), Qt::CaseInsensitive) ||
        name.contains(QStringLiteral("face"), Qt::CaseInsensitive)) {
        p.setBrush(QColor(255, 220, 0));
        p.drawEllipse(QRectF(2, 2, 28, 28));
        p.setBrush(Qt::black);
        p.drawEllipse(QRectF(10, 10, 3, 4));
        p.drawEllipse(QRectF(19, 10, 3, 4));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(9, 12, 14, 12), 200 * 16, 140 * 16);
    } else {
        p.setBrush(QColor(255, 200, 0));
        p.drawPolygon(QPolygonF({QPointF(16, 2), QPointF(30, 29), QPointF(2, 29)}));
        p.setFont(QFont(QStringLiteral("Sans"), 14, QFont::Bold));
        p.drawText(QRectF(2, 8, 28, 22), Qt::AlignCenter, QStringLiteral("!"));
    }
    return pm;
}

} // namespace

void showPictureFile(QLabel* label, const QString& dir, const QString& name) {
    if (!label)
        return;
    const QString path = dir.isEmpty() ? name : dir + QLatin1Char('/') + name;
    const PictureRead read = readWholePicture(path);
    QPixmap pm = read.ok() ? QPixmap::fromImage(read.image) : QPixmap();
    if (pm.isNull())
        pm = standInPicture(name);
    label->setPixmap(pm);
    label->setProperty(pictureProperty, name);
}

QString pictureNameOf(const QWidget* widget) {
    return widget ? widget->property(pictureProperty).toString() : QString();
}

} // namespace zt
