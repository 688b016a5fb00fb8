#pragma once
// The camera-moved guard on the capture screen's live picture: the grid in
// use checked against one picture every few seconds, on a thread of its
// own so the screen never waits on it. The grid's patches are read once
// and again only when their file changes (a grid set up again).

#include "grid/GridPatches.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace zt::vision {

// The capture screen's short warning for grid g.
QString cameraMovedShortText(int grid);

class LiveCameraGuard {
public:
    // done runs on the guard's thread; a screen hands the result over to
    // its own thread.
    using Done = std::function<void(const FrameCameraCheck&)>;
    explicit LiveCameraGuard(Done done);
    // Waits for a check under way.
    ~LiveCameraGuard();
    LiveCameraGuard(const LiveCameraGuard&) = delete;
    LiveCameraGuard& operator=(const LiveCameraGuard&) = delete;

    // Starts checking frame against grid g (its file gridPath); false, and
    // nothing started, while the check before is still under way.
    bool start(const QString& gridPath, int grid, const QImage& frame);
    bool busy() const { return busy_.load(); }

    // The check itself, on the caller's thread (the patches cached).
    FrameCameraCheck check(const QString& gridPath, int grid, const QImage& frame);

private:
    const CameraGuard* guardOf(const QString& gridPath, QString* error);

    Done done_;
    std::thread thread_;
    std::atomic<bool> busy_{false};
    std::mutex cacheMutex_;
    QString cachedPath_;
    QDateTime cachedModified_;
    qint64 cachedSize_ = -1;
    std::unique_ptr<CameraGuard> cached_;
};

} // namespace zt::vision
