#include "vision/ContactProposal.h"

#include "video/FrameSource.h"
#include "vision/CvImage.h"

#include <algorithm>
#include <deque>
#include <opencv2/imgproc.hpp>
#include <vector>

namespace zt::vision {

namespace {

constexpr size_t historyFrames = 3; // what "before" means: the brightest of these
constexpr int brighter = 35;        // grey levels above that to count as new
constexpr double jumpRatio = 2.0;   // against the largest new patch of recent frames
constexpr size_t recentFrames = 5;

// The largest connected patch of mask: its pixel count and bounding box.
std::pair<int, cv::Rect> largestPatch(const cv::Mat& mask) {
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    int best = 0;
    cv::Rect box;
    for (int i = 1; i < count; ++i)
        if (const int a = stats.at<int>(i, cv::CC_STAT_AREA); a > best) {
            best = a;
            box =
                cv::Rect(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                         stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
        }
    return {best, box};
}

} // namespace

struct ContactDetector::State {
    QRect box;    // the area's bounding box on the picture
    cv::Mat mask; // the area inside box
    int minArea = 0;
    std::deque<cv::Mat> history;
    std::vector<int> sizes; // largest new patch per frame
    int frame = -1;
    // A candidate waiting for the frame after it.
    int candidate = -1;
    int candidateArea = 0;
    cv::Rect candidateBox;
    cv::Mat candidateBefore;

    cv::Mat newBright(const cv::Mat& gray, const cv::Mat& before) const {
        cv::Mat diff, fresh;
        cv::subtract(gray, before, diff); // saturates at 0
        cv::compare(diff, brighter, fresh, cv::CMP_GT);
        fresh &= mask;
        cv::morphologyEx(fresh, fresh, cv::MORPH_OPEN,
                         cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
        return fresh;
    }
};

ContactDetector::ContactDetector(const QPolygonF& area) : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.box = area.boundingRect().toAlignedRect().adjusted(-2, -2, 2, 2);
    s.mask = cv::Mat::zeros(std::max(1, s.box.height()), std::max(1, s.box.width()), CV_8UC1);
    std::vector<cv::Point> corners;
    for (QPointF p : area)
        corners.emplace_back(static_cast<int>(std::lround(p.x() - s.box.x())),
                             static_cast<int>(std::lround(p.y() - s.box.y())));
    if (corners.size() >= 3)
        cv::fillConvexPoly(s.mask, corners, cv::Scalar(255));
    // A splash as the smallest a camera placed for measuring shows it.
    s.minArea = std::max(12, cv::countNonZero(s.mask) / 500);
}

ContactDetector::~ContactDetector() = default;

bool ContactDetector::add(const QImage& frame) {
    if (proposed_ >= 0)
        return true;
    State& s = *state_;
    ++s.frame;
    cv::Mat gray = cv::Mat::zeros(s.mask.size(), CV_8UC1);
    const QRect inside = s.box & frame.rect();
    if (!inside.isEmpty())
        grayOf(frame, inside)
            .copyTo(gray(cv::Rect(inside.x() - s.box.x(), inside.y() - s.box.y(), inside.width(),
                                  inside.height())));
    cv::GaussianBlur(gray, gray, cv::Size(3, 3), 0);
    int area = 0;
    if (s.history.size() == historyFrames) {
        cv::Mat before = s.history[0].clone();
        for (size_t i = 1; i < s.history.size(); ++i)
            before = cv::max(before, s.history[i]);
        if (s.candidate >= 0) {
            // Still there and larger: a splash, not something passing.
            const cv::Rect around =
                (s.candidateBox + cv::Size(8, 8) - cv::Point(4, 4)) & cv::Rect({}, gray.size());
            const int kept = cv::countNonZero(s.newBright(gray, s.candidateBefore)(around));
            if (kept >= s.candidateArea) {
                proposed_ = s.candidate;
                return true;
            }
            s.candidate = -1;
        }
        const auto [largest, box] = largestPatch(s.newBright(gray, before));
        area = largest;
        int recent = 0;
        for (size_t i = s.sizes.size() >= recentFrames ? s.sizes.size() - recentFrames : 0;
             i < s.sizes.size(); ++i)
            recent = std::max(recent, s.sizes[i]);
        if (area >= s.minArea && area >= jumpRatio * recent) {
            s.candidate = s.frame;
            s.candidateArea = area;
            s.candidateBox = box;
            s.candidateBefore = before;
        }
        s.history.pop_front();
    }
    s.sizes.push_back(area);
    s.history.push_back(gray);
    return false;
}

QPolygonF landingArea(QPointF upperLeft, QPointF upperRight, QPointF lowerRight,
                      QPointF lowerLeft) {
    return QPolygonF({upperLeft, upperRight, lowerRight, lowerLeft});
}

ContactProposal proposeContact(const QString& clipPath, const QPolygonF& area,
                               const std::atomic<bool>* cancel) {
    FrameSource::Options options;
    options.cacheFrames = 2;
    options.prefetch = false;
    FrameError error;
    auto clip = FrameSource::open(clipPath, options, &error);
    if (!clip)
        return {-1, QStringLiteral("the clip cannot be read")};
    ContactDetector detector(area);
    const int64_t count = clip->frameCount();
    for (int64_t n = 0; count < 0 || n < count; ++n) {
        if (cancel && cancel->load())
            return {-1, QStringLiteral("stopped")};
        const QImage frame = clip->image(n, &error);
        if (frame.isNull())
            break;
        if (detector.add(frame))
            return {detector.proposed(), QString()};
    }
    return {-1, QStringLiteral("no splash in the landing area")};
}

} // namespace zt::vision
