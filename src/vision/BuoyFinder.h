#pragma once
// Buoys found on a setup picture: orange-red blobs of buoy size, each with
// a sub-pixel centre, and, when there are exactly five, which is which.

#include <QImage>
#include <QPointF>
#include <optional>
#include <vector>

namespace zt::vision {

// Centres in pixels (pixel i covers i..i+1), left to right.
std::vector<QPointF> findBuoys(const QImage& picture);

struct BuoyProposal {
    QPointF upperRight, lowerRight, upperLeft, lowerLeft, check;
};

// Five buoys: the check buoy is the one inside the four others; of those
// the upper pair is the one higher on the picture, each pair split left
// and right. Nullopt for another count or when no buoy lies inside the
// others.
std::optional<BuoyProposal> proposeBuoys(const std::vector<QPointF>& buoys);

} // namespace zt::vision
