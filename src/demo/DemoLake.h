#pragma once
// The demo lake: a synthetic jump course seen by a camera whose position,
// height, heading, tilt and focal length are known exactly. Everything it
// draws is placed by projecting its surveyed position through that pinhole
// camera, so the mapping from the water to the picture is an exact known
// homography and a measurement made on its pictures can be checked against
// the truth. A skier leaves the ramp, flies and touches the water at a
// known point at a known time, with a splash from that moment on; the jump
// repeats every few seconds with another landing distance.

#include "grid/GridModel.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <array>
#include <optional>
#include <vector>

class QPainter;

namespace zt {

struct DemoSurvey {
    PlanePoint upperRight, lowerRight, upperLeft, lowerLeft, checkBuoy, jump; // meters
};

// One jump of the repeating demo.
struct DemoJump {
    int index = 0;
    double takeoffTime = 0; // seconds from the start of the demo
    double landingTime = 0; // the skis first touch the water
    PlanePoint landing;     // meters
    double distance = 0;    // straight from the jump point, no correction
    // How the splash looks: its size against the usual one and how white
    // it is (1 white, less mixed with the water's colour).
    double splashSize = 1, splashWhite = 1;
};

class DemoLake {
public:
    // A picture of the given size; the seed chooses the landing distances.
    explicit DemoLake(QSize size = QSize(1280, 720), unsigned seed = 1);

    QSize size() const { return size_; }
    // A camera that has turned a little since the setup picture: every
    // picture moves by shift pixels (fractions allowed).
    void setCameraShift(QPointF shift) { shift_ = shift; }
    QPointF cameraShift() const { return shift_; }
    const DemoSurvey& survey() const { return survey_; }

    // The picture position (pixels, continuous: pixel i covers i..i+1) of a
    // point at height z above the water, with the camera shift; nullopt
    // behind the camera.
    std::optional<QPointF> project(double x, double y, double z = 0) const;
    // The same in twips (15 per pixel), for water points.
    QPointF twipsOf(PlanePoint water) const;

    // Jump k (from 0); the demo repeats one every jumpPeriod seconds.
    static constexpr double jumpPeriod = 7.0;
    DemoJump jump(int k) const;
    // The first frame (from 0) at rate fps whose time is at or after the
    // landing of jump k.
    static int contactFrame(const DemoJump& jump, double fps);

    // The picture at time t (seconds); without the skier for the setup
    // picture.
    QImage render(double t, bool withSkier = true) const;

    // Colours the tests look for.
    static QColor buoyColor();
    static QColor splashColor(const DemoJump& jump);
    // How strong the wind's ripples are on this lake: 1 or, on some
    // seeds, more.
    double ripples() const { return ripples_; }

private:
    void drawWater(QPainter& p, double t) const;
    void drawRamp(QPainter& p) const;
    void drawBuoys(QPainter& p) const;
    void drawSkier(QPainter& p, double t) const;
    void fillPolygon(QPainter& p, const std::vector<std::array<double, 3>>& points,
                     const QColor& color) const;

    QSize size_;
    unsigned seed_;
    DemoSurvey survey_;
    // Camera: position, the unit vectors right, down and forward, focal
    // length in pixels, the picture centre.
    double cx_ = 0, cy_ = 0, cz_ = 0;
    std::array<double, 3> right_{}, down_{}, forward_{};
    double focal_ = 0, u0_ = 0, v0_ = 0;
    QPointF shift_;
    double ripples_ = 1;
};

} // namespace zt
