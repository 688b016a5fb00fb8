#include "grid/LiveCameraGuard.h"

#include <QFileInfo>

namespace zt::vision {

QString cameraMovedShortText(int grid) {
    return QStringLiteral("The camera has moved since grid %1 was set up.").arg(grid);
}

LiveCameraGuard::LiveCameraGuard(Done done) : done_(std::move(done)) {}

LiveCameraGuard::~LiveCameraGuard() {
    if (thread_.joinable())
        thread_.join();
}

bool LiveCameraGuard::start(const QString& gridPath, int grid, const QImage& frame) {
    if (busy_.exchange(true))
        return false;
    if (thread_.joinable())
        thread_.join(); // the check before has ended: busy_ was false
    thread_ = std::thread([this, gridPath, grid, frame] {
        const FrameCameraCheck result = check(gridPath, grid, frame);
        if (done_)
            done_(result);
        busy_ = false;
    });
    return true;
}

const CameraGuard* LiveCameraGuard::guardOf(const QString& gridPath, QString* error) {
    const QFileInfo file(patchesPathOf(gridPath));
    if (!file.exists()) {
        cached_.reset();
        cachedPath_.clear();
        return nullptr;
    }
    if (!cached_ || cachedPath_ != gridPath || cachedModified_ != file.lastModified() ||
        cachedSize_ != file.size()) {
        cached_ = std::make_unique<CameraGuard>(CameraGuard::load(file.filePath(), error));
        cachedPath_ = gridPath;
        cachedModified_ = file.lastModified();
        cachedSize_ = file.size();
    }
    return cached_->empty() ? nullptr : cached_.get();
}

FrameCameraCheck LiveCameraGuard::check(const QString& gridPath, int grid, const QImage& frame) {
    FrameCameraCheck result;
    if (gridPath.isEmpty() || frame.isNull())
        return result;
    const std::lock_guard<std::mutex> lock(cacheMutex_);
    QString error;
    const CameraGuard* guard = guardOf(gridPath, &error);
    if (!guard) {
        if (!error.isEmpty())
            result.logLine = QStringLiteral("Camera check not possible: ") + error;
        return result;
    }
    return checkFrameWith(*guard, frame,
                          [grid](const CameraCheck&) { return cameraMovedShortText(grid); });
}

} // namespace zt::vision
