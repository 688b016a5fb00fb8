#pragma once
// Decodes the frames a player asks for on a thread of its own, so that the
// screen never waits for a decoder. Requests are coalesced: while one frame
// is being decoded, a newer request replaces any older one still waiting,
// so a held key never queues steps behind the picture. Pictures come back
// in the order they were asked for, each with the number it was asked
// for; one that a newer picture overtook before the screen took it is
// dropped, never shown after the newer one.
//
// After a single step the worker decodes the frame one more step on while
// no request waits (FrameSource::prepare), so that a held key finds it
// decoded and only converts it.
//
// The clip stays open in one FrameSource, used by one thread at a time:
// the worker while it decodes, the caller of withSource() otherwise.

#include "video/ClipScan.h"
#include "video/FrameError.h"
#include "video/MediaFileOpen.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace zt {

class FrameSource;

struct FramePicture {
    int64_t frame = -1; // the frame asked for
    int64_t shown = -1; // the frame whose picture it is (the one before a dropped frame)
    QImage image;
    FrameError error = FrameError::None;
    bool damaged = false; // frame has no whole picture: image is the last whole one
};

class FrameLoader : public QObject {
    Q_OBJECT
public:
    explicit FrameLoader(QObject* parent = nullptr);
    ~FrameLoader() override;

    // Opens a clip (closing the one open); its first picture is decoded.
    FrameError open(const QString& path);
    // Stops the worker and closes the clip: no handle on the file is left.
    void release();
    bool isOpen() const { return source_ != nullptr; }
    const QString& path() const { return path_; }

    int64_t frameCount() const { return frameCount_; }
    // The clip's length is being found by a scan on a thread of its own
    // (a clip without a trustworthy frame count); lengthKnown follows.
    bool countingFrames() const { return counting_; }
    double frameRate() const { return frameRate_; }
    // The clip's container, codec, displayed size, rate and rotation.
    const ClipFacts& facts() const { return facts_; }

    // Asks for frame n; replaces a request that has not started.
    void request(int64_t n);
    // A request waits or is being decoded, or its picture waits to be taken.
    bool busy() const;
    // Waits until the newest request is decoded and hands its picture over
    // now (pictureReady is emitted before this returns).
    void settle();
    // The most decoded pictures the clip held at once so far, in bytes
    // (FrameSource::heldBytes after each picture).
    std::size_t peakHeldBytes() const { return peakHeld_; }
    // Runs f on the calling thread with the clip, the worker held idle.
    // False when no clip is open.
    bool withSource(const std::function<void(FrameSource&)>& f);

signals:
    void pictureReady(const zt::FramePicture& picture);
    void lengthKnown(qint64 frames);

private:
    void work();
    void startScan();
    void applyScan(unsigned generation, const ClipScan& scan);
    void stopScan();
    void deliver();
    void stopWorker();

    QString path_;
    std::unique_ptr<FrameSource> source_;
    int64_t frameCount_ = 0;
    double frameRate_ = 0;
    ClipFacts facts_;

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<int64_t> pending_;
    std::optional<FramePicture> done_;
    bool decoding_ = false;
    bool preparing_ = false; // decoding the frame after the one given, unasked
    bool borrowed_ = false;
    bool stop_ = false;
    std::thread thread_;

    bool counting_ = false;
    unsigned generation_ = 0; // a scan's result only for the clip it scanned
    std::atomic<bool> cancelScan_{false};
    std::atomic<std::size_t> peakHeld_{0};
    std::thread scanThread_;
};

} // namespace zt

Q_DECLARE_METATYPE(zt::FramePicture)
