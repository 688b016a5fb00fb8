#include "vision/CameraGuard.h"

#include "app/FileUtils.h"
#include "app/TextFormat.h"
#include "vision/CvImage.h"

#include <QBuffer>
#include <QStringList>
#include <cmath>
#include <opencv2/imgproc.hpp>

namespace zt::vision {

namespace {

constexpr int patchSize = 2 * CameraGuard::patchHalf;

cv::Mat matOf(const QImage& gray) {
    return cv::Mat(gray.height(), gray.width(), CV_8UC1, const_cast<uchar*>(gray.bits()),
                   static_cast<size_t>(gray.bytesPerLine()));
}

// The offset of a peak from its middle sample, from a parabola through
// three samples.
double parabolaPeak(float before, float at, float after) {
    const double curve = before - 2.0 * at + after;
    if (curve >= 0)
        return 0;
    return std::clamp(0.5 * (before - after) / curve, -0.5, 0.5);
}

BuoyShift search(const cv::Mat& window, const cv::Mat& patch, const QString& name) {
    cv::Mat score;
    cv::matchTemplate(window, patch, score, cv::TM_CCOEFF_NORMED);
    double best = 0;
    cv::Point at;
    cv::minMaxLoc(score, nullptr, &best, nullptr, &at);
    BuoyShift s;
    s.name = name;
    s.score = std::isfinite(best) ? best : 0;
    double x = at.x, y = at.y;
    if (at.x > 0 && at.x + 1 < score.cols)
        x += parabolaPeak(score.at<float>(at.y, at.x - 1), score.at<float>(at.y, at.x),
                          score.at<float>(at.y, at.x + 1));
    if (at.y > 0 && at.y + 1 < score.rows)
        y += parabolaPeak(score.at<float>(at.y - 1, at.x), score.at<float>(at.y, at.x),
                          score.at<float>(at.y + 1, at.x));
    s.dx = x - CameraGuard::searchRadius;
    s.dy = y - CameraGuard::searchRadius;
    s.found = s.score >= CameraGuard::foundScore;
    return s;
}

QString oneDecimal(double v) {
    return QString::number(std::floor(v * 10 + 0.5) / 10, 'f', 1);
}

} // namespace

double BuoyShift::length() const {
    return std::hypot(dx, dy);
}

CameraGuard::CameraGuard(const QImage& setup, const std::vector<GuardMark>& marks) {
    const QRect picture = setup.rect();
    for (const GuardMark& m : marks) {
        const QPoint origin(static_cast<int>(std::floor(m.at.x())) - patchHalf,
                            static_cast<int>(std::floor(m.at.y())) - patchHalf);
        const QRect reach = QRect(origin, QSize(patchSize, patchSize))
                                .adjusted(-searchRadius, -searchRadius, searchRadius, searchRadius);
        if (!picture.contains(reach))
            continue;
        const cv::Mat gray = buoyChannelOf(setup, QRect(origin, QSize(patchSize, patchSize)));
        QImage copy(patchSize, patchSize, QImage::Format_Grayscale8);
        for (int y = 0; y < patchSize; ++y)
            std::copy_n(gray.ptr<uchar>(y), patchSize, copy.scanLine(y));
        patches_.push_back({m, origin, copy});
    }
}

CameraCheck CameraGuard::check(const QImage& picture) const {
    CameraCheck c;
    int found = 0;
    for (const Patch& p : patches_) {
        const QRect reach = QRect(p.origin, QSize(patchSize, patchSize))
                                .adjusted(-searchRadius, -searchRadius, searchRadius, searchRadius);
        BuoyShift s;
        s.name = p.mark.name;
        if (picture.rect().contains(reach))
            s = search(buoyChannelOf(picture, reach), matOf(p.gray), p.mark.name);
        found += s.found ? 1 : 0;
        if (s.found && s.length() > movedPixels)
            c.moved = true;
        c.buoys.push_back(s);
    }
    // Most buoys not where they were: moved further than the search goes.
    if (!patches_.empty() && 2 * found < static_cast<int>(patches_.size()))
        c.moved = true;
    return c;
}

bool CameraGuard::save(const QString& path, QString* error) const {
    if (patches_.empty()) {
        *error = QStringLiteral("no patches to keep");
        return false;
    }
    QImage strip(patchSize * static_cast<int>(patches_.size()), patchSize,
                 QImage::Format_Grayscale8);
    QStringList marks;
    for (size_t i = 0; i < patches_.size(); ++i) {
        const Patch& p = patches_[i];
        for (int y = 0; y < patchSize; ++y)
            std::copy_n(p.gray.constScanLine(y), patchSize,
                        strip.scanLine(y) + static_cast<int>(i) * patchSize);
        marks << p.mark.name + QLatin1Char(',') + numberText(p.mark.at.x()) + QLatin1Char(',') +
                     numberText(p.mark.at.y());
    }
    strip.setText(QStringLiteral("marks"), marks.join(QLatin1Char(';')));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!strip.save(&buffer, "PNG")) {
        *error = QStringLiteral("the patches cannot be encoded");
        return false;
    }
    const FileResult r = replaceFile(path, bytes);
    if (!r)
        *error = r.error;
    return static_cast<bool>(r);
}

CameraGuard CameraGuard::load(const QString& path, QString* error) {
    QImage strip;
    if (!strip.load(path, "PNG")) {
        *error = path + QStringLiteral(": no patches can be read");
        return {};
    }
    strip = strip.convertToFormat(QImage::Format_Grayscale8);
    const QStringList marks =
        strip.text(QStringLiteral("marks")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (strip.height() != patchSize || strip.width() != patchSize * marks.size()) {
        *error = path + QStringLiteral(": the patches do not match their marks");
        return {};
    }
    CameraGuard g;
    for (qsizetype i = 0; i < marks.size(); ++i) {
        const QStringList f = marks[i].split(QLatin1Char(','));
        double x = 0, y = 0;
        if (f.size() != 3 || !readNumberStrict(f[1], &x) || !readNumberStrict(f[2], &y)) {
            *error = path + QStringLiteral(": a mark cannot be read: ") + marks[i];
            return {};
        }
        const QPoint origin(static_cast<int>(std::floor(x)) - patchHalf,
                            static_cast<int>(std::floor(y)) - patchHalf);
        g.patches_.push_back(
            {{f[0], QPointF(x, y)},
             origin,
             strip.copy(static_cast<int>(i) * patchSize, 0, patchSize, patchSize)});
    }
    return g;
}

QString cameraMovedText(int grid, const CameraCheck& check) {
    QStringList parts;
    for (const BuoyShift& b : check.buoys) {
        const QString buoy =
            b.name.endsWith(QLatin1String("buoy")) ? b.name : b.name + QStringLiteral(" buoy");
        if (!b.found)
            parts << buoy + QStringLiteral(" not found");
        else if (b.length() > CameraGuard::movedPixels)
            parts << buoy + QLatin1Char(' ') + oneDecimal(b.length()) + QStringLiteral(" px");
    }
    return QStringLiteral("The camera has moved since grid ") + QString::number(grid) +
           QStringLiteral(" was set up: ") + parts.join(QStringLiteral(", ")) +
           QStringLiteral(". Set the grid up again before measuring.");
}

QString cameraShiftsLine(const CameraCheck& check) {
    QStringList parts;
    for (const BuoyShift& b : check.buoys)
        parts << b.name + QStringLiteral(" ") + numberText(std::round(b.dx * 100) / 100) +
                     QLatin1Char(' ') + numberText(std::round(b.dy * 100) / 100) +
                     QStringLiteral(" (") + numberText(std::round(b.score * 1000) / 1000) +
                     QLatin1Char(')');
    return QStringLiteral("Camera check: ") + parts.join(QStringLiteral(", ")) +
           (check.moved ? QStringLiteral(" - moved") : QStringLiteral(" - steady"));
}

} // namespace zt::vision
