#pragma once
// The proposed contact frame: the first frame in which the water of the
// landing area shows a splash, a patch that brightens suddenly against the
// frames before it and is still there, larger, in the frame after.

#include <QImage>
#include <QPolygonF>
#include <QString>
#include <array>
#include <atomic>
#include <memory>

namespace zt::vision {

class ContactDetector {
public:
    // The landing area on the picture in pixels, its corners in order
    // around it.
    explicit ContactDetector(const QPolygonF& area);
    ~ContactDetector();
    ContactDetector(const ContactDetector&) = delete;
    ContactDetector& operator=(const ContactDetector&) = delete;

    // The frames in order, from 0; true once a frame is proposed (which
    // takes the frame after it).
    bool add(const QImage& frame);
    int proposed() const { return proposed_; }

private:
    struct State;
    std::unique_ptr<State> state_;
    int proposed_ = -1;
};

// The grid's landing area: between the buoy lines, corners upper left,
// upper right, lower right, lower left (pixels).
QPolygonF landingArea(QPointF upperLeft, QPointF upperRight, QPointF lowerRight, QPointF lowerLeft);

struct ContactProposal {
    int frame = -1; // -1: none
    QString reason; // why none
};

// The clip read from its start; cancel (when given) stops it early with
// no proposal.
ContactProposal proposeContact(const QString& clipPath, const QPolygonF& area,
                               const std::atomic<bool>* cancel = nullptr);

} // namespace zt::vision
