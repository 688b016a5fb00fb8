#include "video/FrameNumber.h"

#include "app/TextFormat.h"

#include <algorithm>
#include <cmath>

namespace zt {

namespace {

int64_t withinClip(int64_t frame, int64_t frameCount) {
    return std::clamp<int64_t>(frame, 0, std::max<int64_t>(frameCount - 1, 0));
}

} // namespace

std::optional<int64_t> typedFrame(const QString& text, int64_t frameCount) {
    if (frameCount <= 0)
        return std::nullopt;
    double value = 0;
    if (!readNumberStrict(text, &value) || std::isnan(value))
        return std::nullopt;
    // Far beyond any clip before it becomes a whole number.
    const double bounded = std::clamp(value, -1.0, static_cast<double>(frameCount));
    return withinClip(toWholeNumber(bounded), frameCount);
}

std::optional<int64_t> frameForKey(int qtKey, int64_t position, int64_t frameCount) {
    switch (qtKey) {
    case Qt::Key_PageDown:
        return withinClip(position + framePageStep, frameCount);
    case Qt::Key_PageUp:
        return withinClip(position - framePageStep, frameCount);
    case Qt::Key_Home:
        return int64_t{0};
    case Qt::Key_End:
        return withinClip(frameCount - 1, frameCount);
    default:
        return std::nullopt;
    }
}

} // namespace zt
