#include "video/FrameSource.h"

#include "video/Dib.h"
#include "video/FramePrefetch.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

namespace zt {

namespace {

// A forward request this close is decoded onwards even past a keyframe.
constexpr int64_t shortForwardStep = 8;
// Decoded frames kept for a clip of keyframes only.
constexpr std::size_t intraCacheFrames = 4;
// Smallest cache that gets a prefetch worker.
constexpr std::size_t prefetchMinCache = 8;
constexpr int64_t endless = std::numeric_limits<int64_t>::max();
// Decoded frames kept take no more memory than this, whatever the cache's
// count (a 4K or hostile clip would otherwise take gigabytes).
constexpr std::size_t cacheByteBudget = std::size_t(256) << 20;
// swscale's fast paths convert whole blocks of pixels and leave out the last
// block when the destination row is too short for it: the right-most
// columns of a picture whose width is not a multiple of 8 stayed black.
constexpr int conversionBlock = 16;

std::size_t frameBytes(const AVFrame* f) {
    std::size_t total = 0;
    for (const AVBufferRef* buf : f->buf)
        if (buf)
            total += buf->size;
    return total;
}

bool pictureSizeUsable(const AVFrame* f) {
    return f->width > 0 && f->height > 0 && f->width <= maxPictureSide &&
           f->height <= maxPictureSide;
}

void quietLibraryLog() {
    if (av_log_get_level() == AV_LOG_INFO)
        av_log_set_level(AV_LOG_ERROR);
}

} // namespace

std::unique_ptr<FrameSource> FrameSource::open(const QString& path, FrameError* error) {
    return open(path, Options{}, error);
}

std::unique_ptr<FrameSource> FrameSource::open(const QString& path, const Options& options,
                                               FrameError* error) {
    return open(ClipInput::file(path), options, error);
}

std::unique_ptr<FrameSource> FrameSource::open(const ClipInput& input, const Options& options,
                                               FrameError* error) {
    std::unique_ptr<FrameSource> source(new FrameSource);
    source->options_ = options;
    source->options_.cacheFrames = std::max<std::size_t>(options.cacheFrames, 1);
    const FrameError e = source->start(input);
    if (error)
        *error = e;
    if (e != FrameError::None)
        return nullptr;
    return source;
}

FrameSource::~FrameSource() {
    prefetch_.reset(); // stops the worker before the frames go
    for (auto& [number, entry] : cache_)
        av_frame_free(&entry.frame);
    av_frame_free(&pending_.frame);
    sws_freeContext(sws_);
}

FrameError FrameSource::start(const ClipInput& input) {
    quietLibraryLog();
    input_ = input;
    if (const FrameError e = decoder_.open(input); e != FrameError::None)
        return e;
    if (const FrameError e = decoder_.readTimeline(&timeline_); e != FrameError::None)
        return e;
    frameCount_ = decoder_.declaredFrames();
    lengthUncertain_ = frameCount_ < 0 || decoder_.aviWithoutIndex();
    // Every frame decodes on its own: a long window of decoded pictures
    // would only cost memory.
    if (decoder_.intraOnly())
        options_.cacheFrames = std::min(options_.cacheFrames, intraCacheFrames);
    // The first picture is decoded by now; keep it and carry on from there.
    // Its size is the picture's size, whatever the headers say.
    const AVFrame* first = decoder_.current();
    if (!pictureSizeUsable(first))
        return FrameError::TooLarge;
    width_ = first->width;
    height_ = first->height;
    if (const std::size_t bytes = frameBytes(first); bytes > 0)
        options_.cacheFrames =
            std::clamp<std::size_t>(cacheByteBudget / bytes, 1, options_.cacheFrames);
    position_ = timeline_.firstPicture;
    keep(timeline_.firstPicture, -1, first, timeline_.firstPicture);
    return FrameError::None;
}

double FrameSource::frameRate() const {
    return decoder_.frameRate();
}

void FrameSource::applyScan(const ClipScan& scan) {
    frameCount_ = scan.frames;
    scannedDamaged_.insert(scan.damaged.begin(), scan.damaged.end());
    lengthUncertain_ = false;
}

bool FrameSource::isDamaged(int64_t n) const {
    return scannedDamaged_.count(n) > 0 || decoder_.damaged().count(n) > 0;
}

std::size_t FrameSource::cacheBytes() const {
    std::size_t total = 0;
    for (const auto& [number, entry] : cache_)
        total += frameBytes(entry.frame);
    return total;
}

// Keeps frame number (decoded after previous in this run) when it lies in
// the window from keepFrom. The frame before the window is held back: when
// the next frame comes after keepFrom, the held one stands for the frames
// in between (a run of dropped frames) and is kept too.
void FrameSource::keep(int64_t number, int64_t previous, const AVFrame* f, int64_t keepFrom) {
    if (previous >= 0) {
        auto prev = cache_.find(previous);
        if (prev != cache_.end()) {
            prev->second.coversTo = std::max(prev->second.coversTo, number - 1);
        } else if (pending_.frame && pendingNumber_ == previous && number > keepFrom) {
            store(previous, pending_.frame, number - 1);
            pending_.frame = nullptr;
        }
    }
    dropPending();
    if (cache_.count(number))
        return;
    if (number < keepFrom) {
        pending_.frame = av_frame_clone(f);
        pendingNumber_ = number;
        return;
    }
    if (AVFrame* copy = av_frame_clone(f))
        store(number, copy, number);
}

void FrameSource::store(int64_t number, AVFrame* frame, int64_t coversTo) {
    if (!frame)
        return;
    cache_[number] = Entry{frame, coversTo};
    evict();
}

void FrameSource::dropPending() {
    av_frame_free(&pending_.frame);
    pendingNumber_ = -1;
}

// The run reached the end of the clip: its last frame stands for every
// frame after it.
void FrameSource::endRun() {
    const int64_t last = decoder_.runLast();
    if (auto it = cache_.find(last); it != cache_.end()) {
        it->second.coversTo = endless;
    } else if (pending_.frame && pendingNumber_ == last) {
        store(last, pending_.frame, endless);
        pending_.frame = nullptr;
    }
    dropPending();
    if (frameCount_ < 0 && last >= 0)
        frameCount_ = last + 1; // the file did not say; now we know
}

// Drops the frames farthest from the one asked for last; those behind the
// direction of travel count double. The frame that stands for the one asked
// for stays, however far back it lies.
void FrameSource::evict() {
    const auto cost = [this](int64_t number) {
        const int64_t d = number - position_;
        return d * direction_ >= 0 ? std::abs(d) : 2 * std::abs(d);
    };
    while (cache_.size() > options_.cacheFrames) {
        auto worst = cache_.end();
        for (auto it = cache_.begin(); it != cache_.end(); ++it) {
            if (it->first <= position_ && it->second.coversTo >= position_)
                continue;
            if (worst == cache_.end() || cost(it->first) > cost(worst->first))
                worst = it;
        }
        if (worst == cache_.end())
            return;
        av_frame_free(&worst->second.frame);
        cache_.erase(worst);
    }
}

const AVFrame* FrameSource::lookup(int64_t n) {
    if (frameCount_ > 0 && n >= frameCount_)
        return nullptr;
    auto it = cache_.upper_bound(n);
    if (it == cache_.begin())
        return nullptr;
    --it;
    if (it->second.coversTo < n)
        return nullptr;
    shown_ = it->first;
    return it->second.frame;
}

// Decodes on to frame n; false when the run landed past n at its start
// (open GOP) or ended before n.
bool FrameSource::decodeUntil(int64_t n, int64_t keepFrom) {
    int64_t number = 0, previous = -1;
    while (const AVFrame* f = decoder_.next(&number, &previous)) {
        if (previous < 0 && number > n)
            return false; // start further back
        keep(number, previous, f, keepFrom);
        if (number >= n)
            return true;
    }
    endRun();
    return false;
}

bool FrameSource::forwardWithinReach(int64_t n) const {
    const int64_t at = decoder_.runLast();
    if (!decoder_.running() || at < 0 || n <= at)
        return false;
    if (n - at <= shortForwardStep)
        return true;
    // A keyframe between here and n makes a seek cheaper than decoding on.
    const auto& keys = timeline_.keyframes;
    auto k = std::upper_bound(keys.begin(), keys.end(), at);
    return k == keys.end() || *k > n;
}

const AVFrame* FrameSource::seekAndDecode(int64_t n, FrameError* error) {
    const int64_t keepFrom = n - static_cast<int64_t>(options_.cacheFrames) + 1;
    for (const int64_t start : seekStarts(timeline_.keyframes, n)) {
        if (!decoder_.seekTo(start))
            continue;
        // Landing past n (open GOP), or frames without a place on the
        // timeline (a decoder that just restarted), send us further back.
        decodeUntil(n, keepFrom);
        if (const AVFrame* f = lookup(n))
            return f;
        if (frameCount_ > 0 && n >= frameCount_)
            break; // the end turned out to come before n
    }
    *error =
        frameCount_ > 0 && n >= frameCount_ ? FrameError::OutOfRange : FrameError::DecodeFailed;
    return nullptr;
}

void FrameSource::takePrefetched(bool wait) {
    if (!prefetch_)
        return;
    std::vector<DecodedFrame> frames = prefetch_->take(wait);
    const std::set<int64_t> damaged = prefetch_->damaged();
    scannedDamaged_.insert(damaged.begin(), damaged.end());
    for (DecodedFrame& d : frames) {
        auto it = cache_.find(d.number);
        if (it == cache_.end()) {
            cache_[d.number] = Entry{d.frame, d.coversTo};
            d.frame = nullptr;
        } else {
            it->second.coversTo = std::max(it->second.coversTo, d.coversTo);
        }
    }
    freeFrames(&frames);
    evict();
}

// The lowest frame number from which every frame up to n is in the cache.
int64_t FrameSource::coveredFrom(int64_t n) const {
    auto it = cache_.upper_bound(n);
    if (it == cache_.begin())
        return n + 1;
    --it;
    if (it->second.coversTo < n)
        return n + 1;
    while (it != cache_.begin()) {
        auto below = std::prev(it);
        if (below->second.coversTo < it->first - 1)
            break;
        it = below;
    }
    return it->first;
}

// Walking backwards with only a quarter of the window left below: decode
// the rest of a window further down on the worker. A refill costs a decode
// from the keyframe whatever its size, so the windows are large.
void FrameSource::planPrefetch(int64_t n) {
    if (!options_.prefetch || direction_ > 0 || options_.cacheFrames < prefetchMinCache ||
        decoder_.intraOnly())
        return;
    const int64_t window = static_cast<int64_t>(options_.cacheFrames);
    const int64_t margin = window / 4;
    const int64_t bottom = coveredFrom(n);
    if (bottom <= 0 || n - bottom >= margin)
        return;
    if (!prefetch_)
        prefetch_ = std::make_unique<FramePrefetch>(input_, timeline_);
    prefetch_->request(std::max<int64_t>(0, bottom - (window - margin)), bottom - 1);
}

const AVFrame* FrameSource::frame(int64_t n, FrameError* error) {
    *error = FrameError::None;
    if (n < 0 || (frameCount_ > 0 && n >= frameCount_)) {
        *error = FrameError::OutOfRange;
        return nullptr;
    }
    if (n < timeline_.firstPicture) {
        *error = FrameError::NoPicture; // no picture yet, and none before it
        return nullptr;
    }
    if (n != position_)
        direction_ = n > position_ ? 1 : -1;
    position_ = n;
    takePrefetched(false);
    const AVFrame* f = lookup(n);
    if (!f && prefetch_ && prefetch_->covers(n)) {
        takePrefetched(true); // on its way: waiting beats decoding it twice
        f = lookup(n);
    }
    if (!f && forwardWithinReach(n)) {
        decodeUntil(n, n - static_cast<int64_t>(options_.cacheFrames) + 1);
        f = lookup(n);
    }
    if (!f)
        f = seekAndDecode(n, error);
    if (f)
        planPrefetch(n);
    return f;
}

// Converts f to 24-bit BGR rows of stride bytes from dst (negative: the
// rows go upwards, as in a bottom-up bitmap).
FrameError FrameSource::convert(const AVFrame* f, uint8_t* dst, int stride) {
    if (!pictureSizeUsable(f))
        return FrameError::TooLarge;
    const int width = f->width, height = f->height;
    sws_ = sws_getCachedContext(sws_, width, height, AVPixelFormat(f->format), width, height,
                                AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!sws_)
        return FrameError::DecodeFailed;
    const int wholeRow = (width + conversionBlock - 1) / conversionBlock * conversionBlock * 3;
    const bool direct = std::abs(stride) >= wholeRow;
    if (!direct)
        scratch_.resize(std::size_t(wholeRow) * std::size_t(height));
    uint8_t* planes[4] = {direct ? dst : scratch_.data(), nullptr, nullptr, nullptr};
    int strides[4] = {direct ? stride : wholeRow, 0, 0, 0};
    if (sws_scale(sws_, f->data, f->linesize, 0, height, planes, strides) != height)
        return FrameError::DecodeFailed;
    if (!direct)
        for (int y = 0; y < height; ++y)
            std::memcpy(dst + std::ptrdiff_t(y) * stride,
                        scratch_.data() + std::size_t(y) * wholeRow, std::size_t(width) * 3);
    return FrameError::None;
}

std::optional<QByteArray> FrameSource::packedDib(int64_t n, FrameError* error) {
    FrameError e = FrameError::None;
    const AVFrame* f = frame(n, &e);
    if (f && !pictureSizeUsable(f)) {
        f = nullptr;
        e = FrameError::TooLarge;
    }
    if (error)
        *error = e;
    if (!f)
        return std::nullopt;
    const BmpInfoHeader header = frameFormat24(f->width, f->height);
    QByteArray out = header.toBytes();
    out.resize(BmpInfoHeader::byteSize + qsizetype(header.sizeImage), '\0');
    const int stride = static_cast<int>(rowBytes24(f->width));
    // Bottom-up: the top row of the picture is the last row of the bitmap.
    auto* lastRow = reinterpret_cast<uint8_t*>(out.data()) + BmpInfoHeader::byteSize +
                    qsizetype(stride) * (f->height - 1);
    if (const FrameError c = convert(f, lastRow, -stride); c != FrameError::None) {
        if (error)
            *error = c;
        return std::nullopt;
    }
    return out;
}

QImage FrameSource::image(int64_t n, FrameError* error) {
    FrameError e = FrameError::None;
    const AVFrame* f = frame(n, &e);
    if (f && !pictureSizeUsable(f)) {
        f = nullptr;
        e = FrameError::TooLarge;
    }
    if (error)
        *error = e;
    if (!f)
        return QImage();
    QImage img(f->width, f->height, QImage::Format_BGR888);
    const FrameError c =
        img.isNull() ? FrameError::DecodeFailed : convert(f, img.bits(), int(img.bytesPerLine()));
    if (c != FrameError::None) {
        if (error)
            *error = c;
        return QImage();
    }
    return img;
}

} // namespace zt
