#pragma once
// The accuracy check of a completed grid: a 7 x 7 mesh laid over the four
// buoys on the picture; at every mesh point the jump distance and how much
// it changes when the point moves one pixel right or down. The larger change
// (the delta) is the error one pixel of marking causes there, and gives the
// point its homologation class. The day's accuracy file collects every
// check; the accuracy map shades the grid by class.

#include "grid/GridModel.h"

#include <QColor>
#include <QDateTime>
#include <QPointF>
#include <QString>
#include <array>
#include <vector>

class QPainter;

namespace zt {

inline constexpr int meshSize = 7;

// Screen mesh in twips: at[a][d], a across (0 left .. 6 right), d down
// (0 on the upper buoy line .. 6 on the lower one).
struct AccuracyMesh {
    std::array<std::array<QPointF, meshSize>, meshSize> at{};
};
// Edges interpolated between the corners, then every row between its edges.
AccuracyMesh accuracyMesh(QPointF upperLeft, QPointF upperRight, QPointF lowerLeft,
                          QPointF lowerRight);

// Homologation classes by delta (meters).
enum class HomClass { R, L, C, NH };
HomClass homologationClass(double delta);
QString homologationText(HomClass c);

struct AccuracyPoint {
    int a = 0, d = 0;
    QPointF at;                    // twips
    double distance = 0;           // with the tournament correction
    double horizontal = 0;         // one pixel right
    double vertical = 0;           // one pixel lower
    double delta = 0;              // the larger change
    double waterX = 0, waterY = 0; // of the last transform (one pixel lower)
    HomClass homClass = HomClass::R;
};

struct AccuracyResult {
    AccuracyMesh mesh;
    std::vector<AccuracyPoint> points; // a = 0..6, within it d = 0..6
    bool complete = false;             // false: a transform failed at points.size()
    const AccuracyPoint* point(int a, int d) const;
};

// Runs the check on the active grid's coefficients and jump point; leaves
// the transform registers as the last distance left them. Stops at the
// first point where a transform cannot be evaluated.
AccuracyResult runAccuracyCheck(GridState& s, const AccuracyMesh& mesh, bool barefootJump,
                                bool sitSkiJump);

enum class AccuracyDisplay { HomologationLevel, Distance, Detail };
// A label's text: the class, the distance to 0.1 or the delta to 0.01.
QString accuracyLabelText(const AccuracyPoint& p, AccuracyDisplay display);

// "acc" + month + day + ".txt".
QString accuracyFileName(const QDate& date);

// What the header of a check shows besides the working state.
struct AccuracyHeader {
    QDateTime when;
    QString fileNameText, descriptionText;
    int gridNumber = 1;
    double frontRatio = 0, backRatio = 0;
    // Box texts, buoy index 1 upper right .. 4 lower left.
    std::array<QString, 5> screenXText, screenYText, surveyXText, surveyYText;
    QString jumpXText, jumpYText;
    double checkMarkX = 0, checkMarkY = 0;
    QString checkSurveyXText, checkSurveyYText;
};

// One mesh point's line of the accuracy file, without its line end.
QString accuracyPointLine(const AccuracyPoint& p);
// The whole text a check appends: header, the lines of the points checked
// and, for a complete check, "Accuracy Check Complete" and an empty line.
QString accuracyFileText(const AccuracyHeader& header, const AccuracyResult& result);

// The accuracy map: every mesh cell shaded, half transparent, by the class
// of its worst corner. Drawn with painter in pixels of the picture (15
// twips per pixel).
QColor homologationColor(HomClass c);
void paintAccuracyMap(QPainter& painter, const AccuracyResult& result);
// The legend naming the classes and their limits, at topLeft (pixels).
void paintAccuracyLegend(QPainter& painter, QPointF topLeft);

} // namespace zt
