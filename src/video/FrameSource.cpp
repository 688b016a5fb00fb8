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

// Eviction: a frame behind the direction of travel counts this many times
// its distance.
constexpr int64_t behindCost = 8;
// A forward request this close is decoded onwards even past a keyframe.
constexpr int64_t shortForwardStep = 8;
// Decoded frames kept for a clip of keyframes only.
constexpr std::size_t intraCacheFrames = 4;
// Smallest cache that gets a prefetch worker.
constexpr std::size_t prefetchMinCache = 8;
// Of the frames held, the worker's window below takes two fifths; the
// window above keeps the rest, all but a tenth of it as the margin the
// operator steps through while the worker decodes.
constexpr int64_t endless = std::numeric_limits<int64_t>::max();
// Decoded frames held (the cache, the frame held back, the worker's window)
// take no more memory than this, whatever the cache's count (a 4K or
// hostile clip would otherwise take gigabytes).
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
    const bool sideways = decoder_.rotation() == 90 || decoder_.rotation() == 270;
    width_ = sideways ? first->height : first->width;
    height_ = sideways ? first->width : first->height;
    // One frame more than the budget's count: the frame held back below
    // the window.
    if (const std::size_t bytes = frameBytes(first); bytes > 0)
        options_.cacheFrames =
            std::clamp<std::size_t>(cacheByteBudget / bytes - 1, 1, options_.cacheFrames);
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

std::size_t FrameSource::heldFrames() const {
    return cache_.size() + (pending_.frame ? 1 : 0) + (prefetch_ ? prefetch_->heldFrames() : 0);
}

std::size_t FrameSource::heldBytes() const {
    const std::size_t one = cache_.empty() ? 0 : frameBytes(cache_.begin()->second.frame);
    return cacheBytes() + (pending_.frame ? frameBytes(pending_.frame) : 0) +
           (prefetch_ ? prefetch_->heldFrames() * one : 0);
}

std::size_t FrameSource::prefetchWindow() const {
    return options_.cacheFrames * 2 / 5;
}

// The frames left below the position when the worker starts on the window
// below: all the cache keeps while the worker holds its window, but a tenth
// of what may be held (frames above, for a change of direction).
int64_t FrameSource::prefetchMargin() const {
    const int64_t held = static_cast<int64_t>(options_.cacheFrames);
    return std::max<int64_t>(held - static_cast<int64_t>(prefetchWindow()) - 1 - held / 10, 1);
}

// While the worker has a window on its way, the cache makes room for it
// (and for the frame it holds back below the window).
std::size_t FrameSource::cacheLimit() const {
    if (prefetch_ && prefetch_->holding())
        return std::max<std::size_t>(options_.cacheFrames - prefetchWindow() - 1, 1);
    return options_.cacheFrames;
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
// direction of travel count eight times their distance, so that the frames
// ahead, which a walk needs next, stay while a few behind are kept for a
// change of direction. The frame that stands for the one asked for stays,
// however far back it lies.
void FrameSource::evict() {
    const auto cost = [this](int64_t number) {
        const int64_t d = number - position_;
        return d * direction_ >= 0 ? std::abs(d) : behindCost * std::abs(d);
    };
    const std::size_t limit = cacheLimit();
    while (cache_.size() > limit) {
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
        decoder_.passOverBefore(keepFrom);
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

// Walking backwards with fewer than a margin of frames left below: decode
// the window below on the worker, while the operator steps through the
// margin. A refill costs a decode from the keyframe whatever its size, so
// the windows are large and the margin larger: at 720p (176 frames held)
// the worker decodes a window of 70 frames, at worst a whole 250-frame
// keyframe interval, while the operator steps through 88.
void FrameSource::planPrefetch(int64_t n) {
    if (!options_.prefetch || direction_ > 0 || options_.cacheFrames < prefetchMinCache ||
        decoder_.intraOnly())
        return;
    const int64_t window = static_cast<int64_t>(prefetchWindow());
    const int64_t margin = prefetchMargin();
    const int64_t bottom = coveredFrom(n);
    if (bottom <= 0 || n - bottom >= margin)
        return;
    if (!prefetch_)
        prefetch_ = std::make_unique<FramePrefetch>(input_, timeline_);
    // The cache makes room at once: it gives up the frames farthest above.
    if (prefetch_->request(std::max<int64_t>(0, bottom - window), bottom - 1))
        evict();
}

// A seek to n that lands within the margin above a keyframe: the worker
// starts on the window below that keyframe while the frames up to n are
// decoded here, whichever way the operator goes on. Stepping back from
// there needs that window after only a few steps, and it costs a decode
// of the whole keyframe interval before.
void FrameSource::prefetchBelowSeek(int64_t n) {
    if (!options_.prefetch || options_.cacheFrames < prefetchMinCache || decoder_.intraOnly())
        return;
    const std::vector<int64_t> starts = seekStarts(timeline_.keyframes, n);
    const int64_t key = starts.front();
    if (key == VideoDecoder::rewind || key <= 0 || n - key >= prefetchMargin())
        return;
    if (!prefetch_)
        prefetch_ = std::make_unique<FramePrefetch>(input_, timeline_);
    const int64_t window = static_cast<int64_t>(prefetchWindow());
    prefetch_->request(std::max<int64_t>(0, key - window), key - 1);
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
        const int64_t keepFrom = n - static_cast<int64_t>(options_.cacheFrames) + 1;
        decoder_.passOverBefore(keepFrom);
        decodeUntil(n, keepFrom);
        f = lookup(n);
    }
    if (!f) {
        prefetchBelowSeek(n);
        f = seekAndDecode(n, error);
    }
    if (f)
        planPrefetch(n);
    return f;
}

void FrameSource::prepare(int64_t n) {
    if (n < timeline_.firstPicture || (frameCount_ > 0 && n >= frameCount_))
        return;
    const int64_t position = position_, shown = shown_;
    const int direction = direction_;
    const int64_t at = decoder_.runLast();
    const bool next = decoder_.running() && at >= 0 && n == at + 1;
    if (!lookup(n) && (next || decoder_.intraOnly())) {
        FrameError ignored = FrameError::None;
        frame(n, &ignored);
    }
    position_ = position, direction_ = direction, shown_ = shown;
}

// Converts f to 24-bit BGR rows of stride bytes from dst (negative: the
// rows go upwards, as in a bottom-up bitmap).
FrameError FrameSource::convert(const AVFrame* f, uint8_t* dst, int stride) {
    if (!pictureSizeUsable(f))
        return FrameError::TooLarge;
    const int width = f->width, height = f->height;
    const bool turned = decoder_.rotation() != 0;
    sws_ = sws_getCachedContext(sws_, width, height, AVPixelFormat(f->format), width, height,
                                AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!sws_)
        return FrameError::DecodeFailed;
    const int wholeRow = (width + conversionBlock - 1) / conversionBlock * conversionBlock * 3;
    const bool direct = !turned && std::abs(stride) >= wholeRow;
    if (!direct)
        scratch_.resize(std::size_t(wholeRow) * std::size_t(height));
    uint8_t* planes[4] = {direct ? dst : scratch_.data(), nullptr, nullptr, nullptr};
    int strides[4] = {direct ? stride : wholeRow, 0, 0, 0};
    if (sws_scale(sws_, f->data, f->linesize, 0, height, planes, strides) != height)
        return FrameError::DecodeFailed;
    if (turned)
        turn(scratch_.data(), wholeRow, width, height, dst, stride);
    else if (!direct)
        for (int y = 0; y < height; ++y)
            std::memcpy(dst + std::ptrdiff_t(y) * stride,
                        scratch_.data() + std::size_t(y) * wholeRow, std::size_t(width) * 3);
    return FrameError::None;
}

// Copies the width x height BGR picture at src into dst (rows of stride
// bytes) turned clockwise by the clip's rotation.
void FrameSource::turn(const uint8_t* src, int srcStride, int width, int height, uint8_t* dst,
                       int stride) {
    const int rotation = decoder_.rotation();
    for (int y = 0; y < height; ++y) {
        const uint8_t* s = src + std::ptrdiff_t(y) * srcStride;
        for (int x = 0; x < width; ++x, s += 3) {
            int dx = x, dy = y;
            if (rotation == 90)
                dx = height - 1 - y, dy = x;
            else if (rotation == 180)
                dx = width - 1 - x, dy = height - 1 - y;
            else if (rotation == 270)
                dx = y, dy = width - 1 - x;
            uint8_t* d = dst + std::ptrdiff_t(dy) * stride + std::ptrdiff_t(dx) * 3;
            d[0] = s[0], d[1] = s[1], d[2] = s[2];
        }
    }
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
    const bool sideways = rotation() == 90 || rotation() == 270;
    const int width = sideways ? f->height : f->width;
    const int height = sideways ? f->width : f->height;
    const BmpInfoHeader header = frameFormat24(width, height);
    QByteArray out = header.toBytes();
    out.resize(BmpInfoHeader::byteSize + qsizetype(header.sizeImage), '\0');
    const int stride = static_cast<int>(rowBytes24(width));
    // Bottom-up: the top row of the picture is the last row of the bitmap.
    auto* lastRow = reinterpret_cast<uint8_t*>(out.data()) + BmpInfoHeader::byteSize +
                    qsizetype(stride) * (height - 1);
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
    const bool sideways = rotation() == 90 || rotation() == 270;
    QImage img(sideways ? f->height : f->width, sideways ? f->width : f->height,
               QImage::Format_BGR888);
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
