#include "grid/AccuracyCheck.h"

#include "app/TextFormat.h"

#include <QPainter>
#include <QPolygonF>
#include <cmath>

namespace zt {

namespace {

constexpr double pixel = 15;
const QString crlf = QStringLiteral("\r\n");

size_t u(int i) {
    return static_cast<size_t>(i);
}

QString r2(double v) {
    return numberText(roundTo(v, 2));
}

QString wholeText(double v) {
    return QString::number(static_cast<long long>(std::floor(v)));
}

std::optional<double> distanceAt(GridState& s, double x, double y, bool barefoot, bool sitski) {
    s.screenX = x;
    s.screenY = y;
    if (!distance_calculation(s, barefoot, sitski))
        return std::nullopt;
    return s.jumpDistance;
}

QString pairLine(const QString& label, const QString& a, const QString& b) {
    return label + a + QStringLiteral("  ") + b + crlf;
}

QString buoyLines(const AccuracyHeader& h, int buoy, const QString& corner) {
    return pairLine(corner + QStringLiteral(" X,Y Pixels: "), h.screenXText[u(buoy)],
                    h.screenYText[u(buoy)]) +
           pairLine(corner + QStringLiteral(" X,Y Survey: "), h.surveyXText[u(buoy)],
                    h.surveyYText[u(buoy)]) +
           QStringLiteral(" ") + crlf;
}

} // namespace

AccuracyMesh accuracyMesh(QPointF ul, QPointF ur, QPointF ll, QPointF lr) {
    AccuracyMesh m;
    const int last = meshSize - 1;
    for (int d = 0; d <= last; ++d) {
        m.at[0][u(d)] = ul + (ll - ul) * d / last;
        m.at[u(last)][u(d)] = ur + (lr - ur) * d / last;
    }
    for (int d = 0; d <= last; ++d) {
        const QPointF left = m.at[0][u(d)], right = m.at[u(last)][u(d)];
        for (int a = 1; a < last; ++a)
            m.at[u(a)][u(d)] = left + (right - left) * a / last;
    }
    return m;
}

HomClass homologationClass(double delta) {
    if (delta <= 0.1)
        return HomClass::R;
    if (delta <= 0.15)
        return HomClass::L;
    if (delta <= 0.2)
        return HomClass::C;
    return HomClass::NH;
}

QString homologationText(HomClass c) {
    switch (c) {
    case HomClass::R:
        return QStringLiteral("R");
    case HomClass::L:
        return QStringLiteral("L");
    case HomClass::C:
        return QStringLiteral("C");
    case HomClass::NH:
        break;
    }
    return QStringLiteral("NH");
}

const AccuracyPoint* AccuracyResult::point(int a, int d) const {
    const size_t i = u(a * meshSize + d);
    return a >= 0 && d >= 0 && d < meshSize && i < points.size() ? &points[i] : nullptr;
}

AccuracyResult runAccuracyCheck(GridState& s, const AccuracyMesh& mesh, bool barefoot,
                                bool sitski) {
    AccuracyResult r;
    r.mesh = mesh;
    for (int a = 0; a < meshSize; ++a) {
        for (int d = 0; d < meshSize; ++d) {
            AccuracyPoint p;
            p.a = a, p.d = d;
            p.at = mesh.at[u(a)][u(d)];
            const auto dist = distanceAt(s, p.at.x(), p.at.y(), barefoot, sitski);
            const auto h =
                dist ? distanceAt(s, p.at.x() + pixel, p.at.y(), barefoot, sitski) : std::nullopt;
            const auto v =
                h ? distanceAt(s, p.at.x(), p.at.y() + pixel, barefoot, sitski) : std::nullopt;
            if (!v)
                return r;
            p.distance = *dist, p.horizontal = *h, p.vertical = *v;
            const double dh = std::abs(*h - *dist), dv = std::abs(*v - *dist);
            p.delta = dh >= dv ? dh : dv;
            p.waterX = s.waterX, p.waterY = s.waterY;
            p.homClass = homologationClass(p.delta);
            r.points.push_back(p);
        }
    }
    r.complete = true;
    return r;
}

QString accuracyLabelText(const AccuracyPoint& p, AccuracyDisplay display) {
    switch (display) {
    case AccuracyDisplay::HomologationLevel:
        return homologationText(p.homClass);
    case AccuracyDisplay::Distance:
        return numberText(roundTo(p.distance, 1));
    case AccuracyDisplay::Detail:
        break;
    }
    return r2(p.delta);
}

QString accuracyFileName(const QDate& date) {
    return QStringLiteral("acc") + date.toString(QStringLiteral("MMdd")) + QStringLiteral(".txt");
}

QString accuracyPointLine(const AccuracyPoint& p) {
    return QStringLiteral("xpix: ") + wholeText(p.at.x()) + QStringLiteral("  ypix: ") +
           wholeText(p.at.y()) + QStringLiteral("  x: ") + r2(p.waterX) + QStringLiteral("  y: ") +
           r2(p.waterY) + QStringLiteral("  distance: ") + r2(p.distance) +
           QStringLiteral("  v inc: ") + r2(p.vertical) + QStringLiteral("  h inc: ") +
           r2(p.horizontal) + QStringLiteral("  delta: ") + r2(p.delta);
}

QString accuracyFileText(const AccuracyHeader& h, const AccuracyResult& result) {
    QString t = dateText(h.when.date()) + QStringLiteral("  ") + timeText(h.when.time()) +
                QStringLiteral(" Accuracy Check") + crlf;
    t += QStringLiteral("Grid Set-up for accuracy check") + crlf;
    t += h.fileNameText + crlf;
    t += h.descriptionText + crlf;
    t += QStringLiteral("Grid Number: ") + gridNumberText(h.gridNumber) + crlf;
    t += QStringLiteral(" ") + crlf;
    t += QStringLiteral("Front Ratio: ") + numberText(h.frontRatio) + crlf;
    t += QStringLiteral("Back Ratio: ") + numberText(h.backRatio) + crlf;
    t += buoyLines(h, 3, QStringLiteral("Upper Left"));
    t += buoyLines(h, 4, QStringLiteral("Lower Left"));
    t += buoyLines(h, 1, QStringLiteral("Upper Right"));
    t += buoyLines(h, 2, QStringLiteral("Lower Right"));
    t += pairLine(QStringLiteral("Jump X,Y Survey: "), h.jumpXText, h.jumpYText);
    t += QStringLiteral(" ") + crlf;
    t += pairLine(QStringLiteral("Check Buoy X,Y Pixels: "), numberText(h.checkMarkX),
                  numberText(h.checkMarkY));
    t +=
        pairLine(QStringLiteral("Check Buoy X,Y Survey: "), h.checkSurveyXText, h.checkSurveyYText);
    t += QStringLiteral(" ") + crlf;
    for (const AccuracyPoint& p : result.points)
        t += accuracyPointLine(p) + crlf;
    if (result.complete)
        t += QStringLiteral("Accuracy Check Complete") + crlf + crlf;
    return t;
}

QColor homologationColor(HomClass c) {
    switch (c) {
    case HomClass::R:
        return QColor(0, 200, 0, 110);
    case HomClass::L:
        return QColor(255, 230, 0, 110);
    case HomClass::C:
        return QColor(255, 140, 0, 120);
    case HomClass::NH:
        break;
    }
    return QColor(230, 0, 0, 120);
}

void paintAccuracyMap(QPainter& painter, const AccuracyResult& result) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    for (int a = 0; a + 1 < meshSize; ++a) {
        for (int d = 0; d + 1 < meshSize; ++d) {
            const AccuracyPoint* corners[] = {result.point(a, d), result.point(a + 1, d),
                                              result.point(a + 1, d + 1), result.point(a, d + 1)};
            QPolygonF cell;
            double worst = 0;
            bool whole = true;
            for (const AccuracyPoint* p : corners) {
                if (!p) {
                    whole = false;
                    break;
                }
                worst = std::max(worst, p->delta);
                cell << p->at / pixel;
            }
            if (!whole)
                continue;
            painter.setBrush(homologationColor(homologationClass(worst)));
            painter.drawPolygon(cell);
        }
    }
    painter.restore();
}

void paintAccuracyLegend(QPainter& painter, QPointF topLeft) {
    const struct {
        HomClass c;
        const char* text;
    } rows[] = {{HomClass::R, "R  up to 0.10 m"},
                {HomClass::L, "L  up to 0.15 m"},
                {HomClass::C, "C  up to 0.20 m"},
                {HomClass::NH, "NH  over 0.20 m"}};
    painter.save();
    const QFontMetrics fm = painter.fontMetrics();
    const int line = fm.height() + 4;
    const int width = fm.horizontalAdvance(QStringLiteral("NH  over 0.20 m")) + line + 16;
    const QRectF box(topLeft, QSizeF(width, line * 5 + 8));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 170));
    painter.drawRect(box);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(box.left() + 6, box.top() + 4 + fm.ascent()),
                     QStringLiteral("Accuracy (1 pixel)"));
    for (int i = 0; i < 4; ++i) {
        const double y = box.top() + 4 + line * (i + 1);
        QColor solid = homologationColor(rows[i].c);
        solid.setAlpha(255);
        painter.setBrush(solid);
        painter.setPen(Qt::NoPen);
        painter.drawRect(QRectF(box.left() + 6, y + 2, line - 6, line - 6));
        painter.setPen(Qt::white);
        painter.drawText(QPointF(box.left() + line + 6, y + fm.ascent()),
                         QString::fromLatin1(rows[i].text));
    }
    painter.restore();
}

} // namespace zt
