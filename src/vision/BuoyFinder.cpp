#include "vision/BuoyFinder.h"

#include "vision/CvImage.h"

#include <algorithm>
#include <cmath>
#include <opencv2/imgproc.hpp>

namespace zt::vision {

namespace {

// How buoy-coloured a pixel is: red above blue. Water, sky and a white
// ramp are near or below zero, an orange or red buoy far above. Mixed
// edge pixels lie linearly between the two, which the centre relies on.
cv::Mat buoyness(const cv::Mat& bgr) {
    cv::Mat channels[3];
    cv::split(bgr, channels);
    cv::Mat red, blue, v;
    channels[2].convertTo(red, CV_32F);
    channels[0].convertTo(blue, CV_32F);
    cv::subtract(red, blue, v);
    return v;
}

constexpr float blobLevel = 90; // about half way from water to a buoy

double median(std::vector<float> values) {
    if (values.empty())
        return 0;
    const auto mid = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), mid, values.end());
    return *mid;
}

// The centre of the blob inside box: each pixel weighed by how much of it
// the buoy covers, judged against the water around the blob and the
// blob's own colour.
std::optional<QPointF> blobCentre(const cv::Mat& v, const cv::Mat& labels, int label,
                                  cv::Rect box) {
    const cv::Rect window =
        (box + cv::Size(6, 6) - cv::Point(3, 3)) & cv::Rect(0, 0, v.cols, v.rows);
    std::vector<float> ring;
    float peak = blobLevel;
    for (int y = window.y; y < window.br().y; ++y)
        for (int x = window.x; x < window.br().x; ++x) {
            const float value = v.at<float>(y, x);
            if (labels.at<int>(y, x) == label)
                peak = std::max(peak, value);
            else if (!box.contains({x, y}) || value < blobLevel / 3)
                ring.push_back(value);
        }
    const double water = median(ring);
    if (peak - water < 1)
        return std::nullopt;
    double sum = 0, sx = 0, sy = 0;
    for (int y = window.y; y < window.br().y; ++y)
        for (int x = window.x; x < window.br().x; ++x) {
            const int other = labels.at<int>(y, x);
            if (other != 0 && other != label)
                continue;
            const double a = std::clamp((v.at<float>(y, x) - water) / (peak - water), 0.0, 1.0);
            sum += a, sx += a * (x + 0.5), sy += a * (y + 0.5);
        }
    if (sum <= 0)
        return std::nullopt;
    return QPointF(sx / sum, sy / sum);
}

// A buoy's size on the picture: a few pixels across up to a small part of
// the picture, about round.
bool buoySized(const cv::Mat& stats, int i, double pictureArea) {
    const int area = stats.at<int>(i, cv::CC_STAT_AREA);
    const int w = stats.at<int>(i, cv::CC_STAT_WIDTH), h = stats.at<int>(i, cv::CC_STAT_HEIGHT);
    if (area < 8 || area > pictureArea / 400)
        return false;
    const double aspect = static_cast<double>(w) / h;
    return aspect > 0.4 && aspect < 3.0 && area >= 0.4 * w * h;
}

double cross(QPointF o, QPointF a, QPointF b) {
    return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
}

// Whether p lies inside the quadrilateral of the four corners (any order).
bool insideOf(QPointF p, std::vector<QPointF> corners) {
    QPointF mid;
    for (QPointF c : corners)
        mid += c / 4;
    std::sort(corners.begin(), corners.end(), [mid](QPointF a, QPointF b) {
        return std::atan2(a.y() - mid.y(), a.x() - mid.x()) <
               std::atan2(b.y() - mid.y(), b.x() - mid.x());
    });
    for (size_t i = 0; i < 4; ++i)
        if (cross(corners[i], corners[(i + 1) % 4], p) <= 0)
            return false;
    return true;
}

} // namespace

std::vector<QPointF> findBuoys(const QImage& picture) {
    if (picture.isNull())
        return {};
    const cv::Mat v = buoyness(bgrOf(picture, picture.rect()));
    cv::Mat mask, labels, stats, centroids;
    cv::compare(v, blobLevel, mask, cv::CMP_GT);
    const int count = cv::connectedComponentsWithStats(mask, labels, stats, centroids, 8, CV_32S);
    std::vector<QPointF> found;
    const double pictureArea = static_cast<double>(picture.width()) * picture.height();
    for (int i = 1; i < count; ++i) {
        if (!buoySized(stats, i, pictureArea))
            continue;
        const cv::Rect box(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                           stats.at<int>(i, cv::CC_STAT_WIDTH),
                           stats.at<int>(i, cv::CC_STAT_HEIGHT));
        if (const auto c = blobCentre(v, labels, i, box))
            found.push_back(*c);
    }
    std::sort(found.begin(), found.end(), [](QPointF a, QPointF b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    });
    return found;
}

std::optional<BuoyProposal> proposeBuoys(const std::vector<QPointF>& buoys) {
    if (buoys.size() != 5)
        return std::nullopt;
    std::optional<size_t> check;
    for (size_t i = 0; i < 5; ++i) {
        std::vector<QPointF> others;
        for (size_t j = 0; j < 5; ++j)
            if (j != i)
                others.push_back(buoys[j]);
        if (insideOf(buoys[i], others)) {
            if (check)
                return std::nullopt;
            check = i;
        }
    }
    if (!check)
        return std::nullopt;
    std::vector<QPointF> corners;
    for (size_t j = 0; j < 5; ++j)
        if (j != *check)
            corners.push_back(buoys[j]);
    std::sort(corners.begin(), corners.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
    auto leftFirst = [](QPointF& a, QPointF& b) {
        if (b.x() < a.x())
            std::swap(a, b);
    };
    leftFirst(corners[0], corners[1]);
    leftFirst(corners[2], corners[3]);
    return BuoyProposal{corners[1], corners[3], corners[0], corners[2], buoys[*check]};
}

} // namespace zt::vision
