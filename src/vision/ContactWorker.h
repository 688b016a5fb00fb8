#pragma once
// The contact proposal of a clip worked out on a thread of its own, so the
// screen that opened the clip stays responsive. done runs on that thread;
// a screen hands the result over to its own thread. Destroying the worker
// stops the work and waits for the thread.

#include "vision/ContactProposal.h"

#include <QPolygonF>
#include <QString>
#include <array>
#include <atomic>
#include <functional>
#include <thread>

namespace zt::vision {

class ContactWorker {
public:
    using Done = std::function<void(const ContactProposal&)>;
    ContactWorker(const QString& clipPath, const QPolygonF& area, Done done);
    ~ContactWorker();
    ContactWorker(const ContactWorker&) = delete;
    ContactWorker& operator=(const ContactWorker&) = delete;

private:
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};

// The landing area of the working grid's four buoys (twips, buoy index 1
// upper right, 2 lower right, 3 upper left, 4 lower left) in pixels; empty
// when the buoys are not all marked.
QPolygonF landingAreaOfBuoys(const std::array<double, 5>& screenX,
                             const std::array<double, 5>& screenY);

} // namespace zt::vision
