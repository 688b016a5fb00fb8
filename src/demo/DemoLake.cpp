#include "demo/DemoLake.h"

#include <QPainter>
#include <QPolygonF>
#include <cmath>
#include <numbers>
#include <random>

namespace zt {

namespace {

using Vec = std::array<double, 3>;

Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec unit(const Vec& a) {
    const double n = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
    return {a[0] / n, a[1] / n, a[2] / n};
}

double dot(const Vec& a, const Vec& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// The course: the ramp at the origin, the skiers flying along +X; the grid
// from 25 to 59 m along the course and 6 m either side of it; the camera on
// a 20 m tower 72 m off the course, looking across it at the grid's middle.
constexpr double rampHeight = 1.7;
constexpr double flightSpeed = 24;    // m/s along the water
constexpr double rideSpeed = 18;      // after the landing
constexpr double apexHeight = 2.6;    // above the straight line from ramp to water
constexpr double takeoffOffset = 1.5; // seconds into each jump's period
constexpr double splashSeconds = 1.5;
constexpr double towerX = 42, towerY = -72, towerHeight = 20;

const QColor skyColor(176, 206, 230);
const QColor farWater(58, 104, 134);
const QColor nearWater(24, 58, 84);

} // namespace

QColor DemoLake::buoyColor() {
    return QColor(255, 120, 0);
}

QColor DemoLake::splashColor(const DemoJump& jump) {
    const double w = jump.splashWhite;
    return QColor(static_cast<int>(std::lround(245 * w + 120 * (1 - w))),
                  static_cast<int>(std::lround(250 * w + 150 * (1 - w))),
                  static_cast<int>(std::lround(255 * w + 170 * (1 - w))));
}

DemoLake::DemoLake(QSize size, unsigned seed) : size_(size), seed_(seed) {
    ripples_ = seed % 3 == 2 ? 2.2 : 1;
    survey_.upperLeft = {25, 6};
    survey_.upperRight = {59, 6};
    survey_.lowerLeft = {25, -6};
    survey_.lowerRight = {59, -6};
    survey_.checkBuoy = {45, 1.5};
    survey_.jump = {0, 0};
    cx_ = towerX, cy_ = towerY, cz_ = towerHeight;
    forward_ = unit({towerX - cx_, 0 - cy_, 0 - cz_}); // at the grid's middle
    right_ = unit(cross(forward_, {0, 0, 1}));
    down_ = cross(forward_, right_);
    u0_ = size.width() / 2.0, v0_ = size.height() / 2.0;
    // The focal length that makes the near buoys span 84% of the width.
    focal_ = 1;
    const QPointF l = *project(survey_.lowerLeft.x, survey_.lowerLeft.y);
    const QPointF r = *project(survey_.lowerRight.x, survey_.lowerRight.y);
    focal_ = 0.84 * size.width() / (r.x() - l.x());
}

std::optional<QPointF> DemoLake::project(double x, double y, double z) const {
    const Vec d{x - cx_, y - cy_, z - cz_};
    const double depth = dot(d, forward_);
    if (depth <= 0.01)
        return std::nullopt;
    return QPointF(u0_ + focal_ * dot(d, right_) / depth, v0_ + focal_ * dot(d, down_) / depth) +
           shift_;
}

QPointF DemoLake::twipsOf(PlanePoint water) const {
    const auto p = project(water.x, water.y);
    return p ? *p * 15 : QPointF();
}

DemoJump DemoLake::jump(int k) const {
    std::mt19937 random(seed_ * 7919u + static_cast<unsigned>(k));
    std::uniform_real_distribution<double> distance(26, 58), side(-3, 3);
    DemoJump j;
    j.index = k;
    j.distance = distance(random);
    const double y = side(random);
    j.landing = {std::sqrt(j.distance * j.distance - y * y), y};
    j.splashSize = std::uniform_real_distribution<double>(0.6, 1.4)(random);
    j.splashWhite = std::uniform_real_distribution<double>(0.6, 1)(random);
    j.takeoffTime = k * jumpPeriod + takeoffOffset;
    j.landingTime = j.takeoffTime + j.distance / flightSpeed;
    return j;
}

int DemoLake::contactFrame(const DemoJump& jump, double fps) {
    return static_cast<int>(std::ceil(jump.landingTime * fps - 1e-9));
}

QImage DemoLake::render(double t, bool withSkier) const {
    QImage image(size_, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawWater(p, t);
    drawRamp(p);
    drawBuoys(p);
    if (withSkier)
        drawSkier(p, t);
    return image;
}

void DemoLake::drawWater(QPainter& p, double t) const {
    // The horizon: where the water far ahead of the camera is seen.
    const double h = std::hypot(forward_[0], forward_[1]);
    const auto far = project(cx_ + 1e7 * forward_[0] / h, cy_ + 1e7 * forward_[1] / h);
    const double horizon = far ? std::max(0.0, far->y()) : 0;
    p.fillRect(QRectF(0, 0, size_.width(), horizon), skyColor);
    QLinearGradient water(0, horizon, 0, size_.height());
    water.setColorAt(0, farWater);
    water.setColorAt(1, nearWater);
    p.fillRect(QRectF(0, horizon, size_.width(), size_.height() - horizon), water);
    // Short wave crests scattered over the water, drifting with the wind:
    // pieces of parallel crest lines, which piece shows decided by a fixed
    // pattern, each drawn where it lies on the water.
    const double ca = std::cos(0.35), sa = std::sin(0.35), spacing = 2.6, piece = 3.2;
    const double drift = t * 0.8;
    for (int line = -60; line <= 60; ++line) {
        const double off = line * spacing + std::fmod(drift, spacing);
        const int shift = static_cast<int>(std::floor(drift / spacing));
        for (int k = -40; k <= 40; ++k) {
            const unsigned hash = static_cast<unsigned>(line - shift) * 73856093u ^
                                  static_cast<unsigned>(k) * 19349663u;
            if (hash % 5 > 1)
                continue;
            const double along = k * piece, len = piece * (0.45 + (hash % 7) / 14.0);
            const double bx = towerX + off * ca - along * sa, by = 8 + off * sa + along * ca;
            const auto a = project(bx, by), b = project(bx - len * sa, by + len * ca);
            if (!a || !b)
                continue;
            const int alpha = static_cast<int>((40 + hash % 50) * ripples_);
            p.setPen(QPen(QColor(170, 205, 225, std::min(255, alpha)), 1.3 * std::sqrt(ripples_)));
            p.drawLine(*a, *b);
        }
    }
}

void DemoLake::fillPolygon(QPainter& p, const std::vector<std::array<double, 3>>& points,
                           const QColor& color) const {
    QPolygonF poly;
    for (const auto& pt : points) {
        const auto at = project(pt[0], pt[1], pt[2]);
        if (!at)
            return;
        poly << *at;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(poly);
}

void DemoLake::drawRamp(QPainter& p) const {
    // A wedge rising to the jump point's edge: its surface and front face.
    const double x = survey_.jump.x, y = survey_.jump.y, w = 2.2;
    fillPolygon(
        p, {{x - 9, y - w, 0}, {x, y - w, rampHeight}, {x, y + w, rampHeight}, {x - 9, y + w, 0}},
        QColor(235, 235, 225));
    fillPolygon(p, {{x, y - w, 0}, {x, y - w, rampHeight}, {x, y + w, rampHeight}, {x, y + w, 0}},
                QColor(150, 150, 140));
}

void DemoLake::drawBuoys(QPainter& p) const {
    const PlanePoint buoys[] = {survey_.upperLeft, survey_.upperRight, survey_.checkBuoy,
                                survey_.lowerLeft, survey_.lowerRight};
    p.setPen(Qt::NoPen);
    p.setBrush(buoyColor());
    for (const PlanePoint& b : buoys) {
        const auto at = project(b.x, b.y);
        const auto top = project(b.x, b.y, 0.35);
        if (!at || !top)
            continue;
        const double r = std::max(3.0, QLineF(*at, *top).length());
        p.drawEllipse(*at, r, r * 0.8);
    }
}

void DemoLake::drawSkier(QPainter& p, double t) const {
    const int k = static_cast<int>(std::floor(t / jumpPeriod));
    const DemoJump j = jump(k);
    double x = 0, y = 0, z = 0;
    if (t < j.takeoffTime) { // on the water towards the ramp
        x = survey_.jump.x - (j.takeoffTime - t) * flightSpeed;
        y = survey_.jump.y;
        z = rampHeight * std::max(0.0, 1 - (j.takeoffTime - t) * flightSpeed / 9);
    } else if (t < j.landingTime) { // in the air
        const double s = (t - j.takeoffTime) / (j.landingTime - j.takeoffTime);
        x = survey_.jump.x + (j.landing.x - survey_.jump.x) * s;
        y = survey_.jump.y + (j.landing.y - survey_.jump.y) * s;
        z = rampHeight * (1 - s) + 4 * apexHeight * s * (1 - s);
    } else { // on the water again
        const double ride = (t - j.landingTime) * rideSpeed;
        x = j.landing.x + ride, y = j.landing.y;
    }
    // Skis along the course and a body standing on them.
    fillPolygon(p,
                {{x - 0.85, y - 0.12, z},
                 {x + 0.85, y - 0.12, z},
                 {x + 0.85, y + 0.12, z},
                 {x - 0.85, y + 0.12, z}},
                QColor(250, 220, 40));
    fillPolygon(p,
                {{x - 0.2, y, z + 0.1},
                 {x + 0.2, y, z + 0.1},
                 {x + 0.25, y, z + 1.45},
                 {x - 0.25, y, z + 1.45}},
                QColor(200, 30, 40));
    if (const auto head = project(x, y, z + 1.62)) {
        const auto chin = project(x, y, z + 1.45);
        const double r = chin ? std::max(1.5, QLineF(*head, *chin).length()) : 2;
        p.setBrush(QColor(240, 200, 170));
        p.drawEllipse(*head, r, r);
    }
    if (t >= j.landingTime && t < j.landingTime + splashSeconds) {
        // Spray around the landing point, from the first touch on.
        const double grow = (0.9 + (t - j.landingTime) * 1.2) * j.splashSize;
        const auto c = project(j.landing.x, j.landing.y);
        const auto side = project(j.landing.x + grow, j.landing.y);
        if (c && side) {
            const double rx = std::max(4.0, QLineF(*c, *side).length());
            p.setBrush(splashColor(j));
            p.drawEllipse(*c, rx, std::max(3.0, rx * 0.45));
        }
    }
}

} // namespace zt
