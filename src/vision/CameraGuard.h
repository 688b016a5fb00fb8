#pragma once
// The camera-moved guard: small patches of the setup picture around the
// grid's marks, searched for again on a later picture. A buoy whose patch
// is found more than a pixel away says the camera has moved since the
// grid was set up; a buoy hidden (a boat's wave) is not found and counts
// for nothing unless most of them are.

#include <QImage>
#include <QPointF>
#include <QString>
#include <vector>

namespace zt::vision {

struct GuardMark {
    QString name; // "upper right", ...
    QPointF at;   // pixels
};

struct BuoyShift {
    QString name;
    double dx = 0, dy = 0; // pixels, the later picture against the setup
    double score = 0;      // normalised cross-correlation at the best place
    bool found = false;    // the score is high enough to trust the shift
    double length() const;
};

struct CameraCheck {
    std::vector<BuoyShift> buoys;
    bool moved = false;
};

class CameraGuard {
public:
    static constexpr int patchHalf = 16;    // patches are 2 * patchHalf pixels square
    static constexpr int searchRadius = 12; // pixels either way
    static constexpr double movedPixels = 1.0;
    static constexpr double foundScore = 0.9;

    CameraGuard() = default;
    // Patches cut from the setup picture; a mark too near the edge for
    // its patch and search gets none.
    CameraGuard(const QImage& setup, const std::vector<GuardMark>& marks);

    bool empty() const { return patches_.empty(); }
    CameraCheck check(const QImage& picture) const;

    // The patches as one PNG strip, the marks in its text; replaced whole.
    bool save(const QString& path, QString* error) const;
    // An empty guard when the file is missing or unusable (error says why).
    static CameraGuard load(const QString& path, QString* error);

private:
    struct Patch {
        GuardMark mark;
        QPoint origin; // top left corner in the setup picture
        QImage gray;   // the buoy channel, Format_Grayscale8, 2 * patchHalf square
    };
    std::vector<Patch> patches_;
};

// The warning for the measure screen: "The camera has moved since grid N
// was set up: upper left buoy 2.4 px, ... Set the grid up again before
// measuring."
QString cameraMovedText(int grid, const CameraCheck& check);
// One line for the diagnostic log: each buoy's shift and score.
QString cameraShiftsLine(const CameraCheck& check);

} // namespace zt::vision
