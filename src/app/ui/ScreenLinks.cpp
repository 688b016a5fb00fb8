#include "app/ui/ScreenLinks.h"

#include "app/ui/App.h"
#include "app/ui/MainForm.h"
#include "measure/ui/Measure.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
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

QMainWindow* mainWindow(App& app) {
    return &app.mainForm();
}

} // namespace

void showPictureFile(QLabel* label, const QString& dir, const QString& name) {
    if (!label)
        return;
    const QString path = dir.isEmpty() ? name : dir + QLatin1Char('/') + name;
    QPixmap pm;
    if (QFileInfo(path).isFile())
        pm.load(path);
    if (pm.isNull())
        pm = standInPicture(name);
    label->setPixmap(pm);
    label->setProperty(pictureProperty, name);
}

QString pictureNameOf(const QWidget* widget) {
    return widget ? widget->property(pictureProperty).toString() : QString();
}

QWidget* mainGridLabel(App& app, int g) {
    return mainWindow(app)->findChild<QWidget*>(QStringLiteral("lblGrid%1").arg(g));
}

QLabel* mainGridImage(App& app, int g) {
    return mainWindow(app)->findChild<QLabel*>(QStringLiteral("ImageGrid%1").arg(g));
}

QLineEdit* mainGridDescription(App& app, int g) {
    QMainWindow* w = mainWindow(app);
    const int index = g - 1;
    for (const QString& name : {QStringLiteral("txtGridDescription_%1").arg(index),
                                QStringLiteral("txtGridDescription%1").arg(index)})
        if (auto* box = w->findChild<QLineEdit*>(name))
            return box;
    // A control array sharing one name, with its index as a property or in
    // creation order.
    const QList<QLineEdit*> all = w->findChildren<QLineEdit*>(QStringLiteral("txtGridDescription"));
    for (QLineEdit* box : all)
        if (box->property("index").isValid() && box->property("index").toInt() == index)
            return box;
    return index >= 0 && index < all.size() ? all[index] : nullptr;
}

void setMainGridPicture(App& app, int g, bool ready) {
    showPictureFile(mainGridImage(app, g), app.paths().appDir,
                    ready ? readyGridPicture : notReadyGridPicture);
}

void setMainGridDescription(App& app, int g, const QString& text) {
    if (QLineEdit* box = mainGridDescription(app, g))
        box->setText(text);
}

void setMainGridVisible(App& app, int g, bool visible) {
    for (QWidget* w : {mainGridLabel(app, g), static_cast<QWidget*>(mainGridImage(app, g)),
                       static_cast<QWidget*>(mainGridDescription(app, g))})
        if (w)
            w->setVisible(visible);
}

QWidget* measureControl(App& app, const QString& name) {
    return app.measure().findChild<QWidget*>(name);
}

} // namespace zt
