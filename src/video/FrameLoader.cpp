#include "video/FrameLoader.h"

#include "video/FrameSource.h"

#include <QMetaObject>

namespace zt {

FrameLoader::FrameLoader(QObject* parent) : QObject(parent) {
    qRegisterMetaType<zt::FramePicture>();
}

FrameLoader::~FrameLoader() {
    release();
}

FrameError FrameLoader::open(const QString& path) {
    release();
    FrameError error = FrameError::None;
    source_ = FrameSource::open(path, &error);
    if (!source_)
        return error;
    path_ = path;
    frameCount_ = std::max<int64_t>(source_->frameCount(), 0);
    frameRate_ = source_->frameRate();
    facts_ = factsOf(*source_);
    stop_ = false;
    thread_ = std::thread([this] { work(); });
    if (source_->lengthUncertain())
        startScan();
    return FrameError::None;
}

void FrameLoader::startScan() {
    counting_ = true;
    cancelScan_ = false;
    const unsigned generation = generation_;
    scanThread_ = std::thread([this, generation, input = ClipInput::file(path_)] {
        const std::optional<ClipScan> scan = scanClip(input, &cancelScan_);
        if (!scan)
            return;
        QMetaObject::invokeMethod(
            this, [this, generation, found = *scan] { applyScan(generation, found); },
            Qt::QueuedConnection);
    });
}

void FrameLoader::applyScan(unsigned generation, const ClipScan& scan) {
    if (generation != generation_ || !source_)
        return; // another clip by now
    withSource([&](FrameSource& source) { source.applyScan(scan); });
    frameCount_ = scan.frames;
    counting_ = false;
    emit lengthKnown(frameCount_);
}

void FrameLoader::stopScan() {
    cancelScan_ = true;
    if (scanThread_.joinable())
        scanThread_.join();
    ++generation_;
    counting_ = false;
}

void FrameLoader::stopWorker() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
        pending_.reset();
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
    std::lock_guard lock(mutex_);
    done_.reset();
    decoding_ = false;
}

void FrameLoader::release() {
    stopScan();
    stopWorker();
    source_.reset(); // closes the file and stops its prefetch worker
    path_.clear();
    frameCount_ = 0;
    frameRate_ = 0;
    facts_ = ClipFacts{};
    peakHeld_ = 0;
}

void FrameLoader::request(int64_t n) {
    if (!source_)
        return;
    {
        std::lock_guard lock(mutex_);
        pending_ = n;
    }
    wake_.notify_all();
}

bool FrameLoader::busy() const {
    std::lock_guard lock(mutex_);
    return pending_ || decoding_ || done_;
}

void FrameLoader::work() {
    std::unique_lock lock(mutex_);
    int64_t last = -1; // the frame given before
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || (pending_ && !borrowed_); });
        if (stop_)
            return;
        const int64_t n = *pending_;
        pending_.reset();
        decoding_ = true;
        lock.unlock();
        FramePicture picture;
        picture.frame = n;
        picture.image = source_->image(n, &picture.error);
        picture.shown = picture.error == FrameError::None ? source_->shownFrame() : -1;
        picture.damaged = picture.error == FrameError::None && source_->isDamaged(n);
        peakHeld_ = std::max<std::size_t>(peakHeld_, source_->heldBytes());
        lock.lock();
        decoding_ = false;
        done_ = std::move(picture); // a picture not yet taken is overtaken
        idle_.notify_all();
        QMetaObject::invokeMethod(
            this, [this] { deliver(); }, Qt::QueuedConnection);
        const int64_t step = n - last;
        last = n;
        if ((step == 1 || step == -1) && !pending_ && !stop_ && !borrowed_) {
            preparing_ = true;
            lock.unlock();
            source_->prepare(n + step);
            lock.lock();
            preparing_ = false;
            idle_.notify_all();
        }
    }
}

void FrameLoader::deliver() {
    std::optional<FramePicture> picture;
    {
        std::lock_guard lock(mutex_);
        picture.swap(done_);
    }
    if (picture)
        emit pictureReady(*picture);
}

void FrameLoader::settle() {
    if (!source_)
        return;
    {
        std::unique_lock lock(mutex_);
        // A request made while the clip is lent out waits for its return.
        idle_.wait(lock, [this] { return (!pending_ || borrowed_) && !decoding_; });
    }
    deliver();
}

bool FrameLoader::withSource(const std::function<void(FrameSource&)>& f) {
    if (!source_)
        return false;
    {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return !decoding_ && !preparing_; });
        borrowed_ = true;
    }
    f(*source_);
    {
        std::lock_guard lock(mutex_);
        borrowed_ = false;
    }
    wake_.notify_all();
    return true;
}

} // namespace zt
