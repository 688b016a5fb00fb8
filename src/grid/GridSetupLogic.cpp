#include "grid/GridSetupLogic.h"

#include "app/TextFormat.h"

namespace zt {

namespace {

constexpr double pixel = 15;

size_t u(int i) {
    return static_cast<size_t>(i);
}

void setPointInState(GridState& s, SetupPoint p, QPointF at) {
    if (p == SetupPoint::CheckBuoy) {
        s.checkMarkX = at.x();
        s.checkMarkY = at.y();
        return;
    }
    const int buoy = buoyOf(p);
    s.buoyScreenX[u(buoy)] = at.x();
    s.buoyScreenY[u(buoy)] = at.y();
}

} // namespace

int buoyOf(SetupPoint point) {
    switch (point) {
    case SetupPoint::UpperRight:
        return 1;
    case SetupPoint::LowerRight:
        return 2;
    case SetupPoint::UpperLeft:
        return 3;
    case SetupPoint::LowerLeft:
        return 4;
    case SetupPoint::CheckBuoy:
        break;
    }
    return 0;
}

SetupMarks setupMarksOf(const GridState& s) {
    SetupMarks m;
    for (SetupPoint p : setupPoints) {
        const int buoy = buoyOf(p);
        m[p] = buoy == 0 ? QPointF(s.checkMarkX, s.checkMarkY)
                         : QPointF(s.buoyScreenX[u(buoy)], s.buoyScreenY[u(buoy)]);
    }
    return m;
}

bool onPicture(QSizeF pictureTwips, double x, double y) {
    if (pictureTwips.isEmpty())
        pictureTwips = QSizeF(12000, 9000);
    return x >= 0 && y >= 0 && x < pictureTwips.width() && y < pictureTwips.height();
}

std::vector<MarkMove> placeSetupPoint(GridState& s, SetupMarks& marks, SetupPoint selected,
                                      QPointF click, bool locked) {
    const QPointF offset = click - marks[selected];
    std::vector<MarkMove> moves;
    for (SetupPoint p : setupPoints) {
        if (p != selected && !locked)
            continue;
        const QPointF from = marks[p];
        const QPointF to = p == selected ? click : from + offset;
        marks[p] = to;
        setPointInState(s, p, to);
        moves.push_back({p, from, to});
    }
    return moves;
}

std::vector<MarkMove> stepSetupPoint(GridState& s, SetupMarks& marks, SetupPoint selected,
                                     SetupStep step, bool locked) {
    QPointF to = marks[selected];
    switch (step) {
    case SetupStep::Left:
        to.rx() -= pixel;
        break;
    case SetupStep::Right:
        to.rx() += pixel;
        break;
    case SetupStep::Up:
        to.ry() -= pixel;
        break;
    case SetupStep::Down:
        to.ry() += pixel;
        break;
    }
    return placeSetupPoint(s, marks, selected, to, locked);
}

std::vector<OverlayShape> setupMarkerShapes(const SetupMarks& marks, double markerSize) {
    std::vector<OverlayShape> shapes;
    OverlayOptions options;
    options.crossSize = markerSize;
    for (const QPointF& at : marks.at)
        addBuoyMarker(shapes, at.x(), at.y(), options);
    return shapes;
}

std::vector<OverlayShape> crossShapes(QPointF at, double arm) {
    return {{OverlayShape::Line, at.x() - arm, at.y(), at.x() + arm, at.y(), 0},
            {OverlayShape::Line, at.x(), at.y() - arm, at.x(), at.y() + arm, 0}};
}

std::vector<OverlayShape> oldMarkerShapes(QPointF at, double markerRadius, double markerSize) {
    std::vector<OverlayShape> shapes = crossShapes(at, markerSize);
    shapes.insert(shapes.begin(),
                  {OverlayShape::Circle, at.x(), at.y(), at.x(), at.y(), markerRadius});
    return shapes;
}

void storeSetupBox(GridState& s, SetupBox box, int buoy, const QString& text) {
    const double v = readNumber(text);
    const bool buoyOk = buoy >= 1 && buoy <= 4;
    switch (box) {
    case SetupBox::SurveyX:
        if (buoyOk)
            s.buoySurveyX[u(buoy)] = v;
        break;
    case SetupBox::SurveyY:
        if (buoyOk)
            s.buoySurveyY[u(buoy)] = v;
        break;
    case SetupBox::JumpX:
        s.jumpX = s.savedJumpX = v;
        break;
    case SetupBox::JumpY:
        s.jumpY = s.savedJumpY = v;
        break;
    case SetupBox::CheckSurveyX:
        s.checkSurveyX = v;
        break;
    case SetupBox::CheckSurveyY:
        s.checkSurveyY = v;
        break;
    case SetupBox::Other:
        break;
    }
}

int nextSetupGrid(int current, int gridCount) {
    if (current == 1)
        return gridCount > 1 ? 2 : 1;
    if (current == 2)
        return gridCount == 3 ? 3 : 1;
    return 1;
}

QString gridChangeLine(int from, int to) {
    return QStringLiteral("Changed from grid %1 to grid %2").arg(from).arg(to);
}

} // namespace zt
