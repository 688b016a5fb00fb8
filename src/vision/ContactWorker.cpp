#include "vision/ContactWorker.h"

namespace zt::vision {

ContactWorker::ContactWorker(const QString& clipPath, const QPolygonF& area, Done done)
    : thread_([this, clipPath, area, done = std::move(done)] {
          const ContactProposal p = proposeContact(clipPath, area, &cancel_);
          if (!cancel_.load())
              done(p);
      }) {}

ContactWorker::~ContactWorker() {
    cancel_ = true;
    if (thread_.joinable())
        thread_.join();
}

QPolygonF landingAreaOfBuoys(const std::array<double, 5>& screenX,
                             const std::array<double, 5>& screenY) {
    for (size_t i = 1; i <= 4; ++i)
        if (screenX[i] == 0 && screenY[i] == 0)
            return {};
    auto at = [&](size_t i) { return QPointF(screenX[i], screenY[i]) / 15; };
    return landingArea(at(3), at(1), at(2), at(4));
}

} // namespace zt::vision
