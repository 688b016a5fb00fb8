#include "video/FrameSource.h"

#include "video/AviFile.h"
#include "video/Dib.h"

#include <algorithm>
#include <cstring>
#include <limits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace zt {

namespace {

// Packets read for one frame before the decoder is given up on; ends a
// decode of garbage that never yields a picture.
constexpr int maxPacketsPerFrame = 20000;
// A forward request this close is decoded onwards even past a keyframe.
constexpr int64_t shortForwardStep = 8;
// Keyframes tried, further and further back, when a seek lands past the
// frame asked for (open GOP).
constexpr int seekAttempts = 4;
// Decoded frames kept for a clip of keyframes only.
constexpr std::size_t intraCacheFrames = 4;
constexpr int64_t endless = std::numeric_limits<int64_t>::max();

bool isAviWithoutIndex(const QString& path) {
    const auto h = readAviHeaders(path);
    return h && !h->hasIdx1 && !h->hasStreamIndex;
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
    std::unique_ptr<FrameSource> source(new FrameSource);
    source->options_ = options;
    source->options_.cacheFrames = std::max<std::size_t>(options.cacheFrames, 1);
    const FrameError e = source->start(path);
    if (error)
        *error = e;
    if (e != FrameError::None)
        return nullptr;
    return source;
}

FrameSource::~FrameSource() {
    for (auto& [number, entry] : cache_)
        av_frame_free(&entry.frame);
    sws_freeContext(sws_);
    av_packet_free(&packet_);
    av_frame_free(&decoded_);
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
}

FrameError FrameSource::start(const QString& path) {
    quietLibraryLog();
    const QByteArray file = path.toUtf8();
    if (avformat_open_input(&format_, file.constData(), nullptr, nullptr) < 0)
        return FrameError::CannotOpen;
    if (avformat_find_stream_info(format_, nullptr) < 0)
        return FrameError::CannotOpen;
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream_ < 0)
        return FrameError::NoVideoStream;
    AVStream* st = format_->streams[stream_];
    const AVCodec* decoder = avcodec_find_decoder(st->codecpar->codec_id);
    if (!decoder)
        return FrameError::NoDecoder;
    codec_ = avcodec_alloc_context3(decoder);
    if (!codec_ || avcodec_parameters_to_context(codec_, st->codecpar) < 0)
        return FrameError::NoDecoder;
    // One thread: frame threading would hold frames back, and the machine
    // is shared with capture and encoding.
    codec_->thread_count = 1;
    if (avcodec_open2(codec_, decoder, nullptr) < 0)
        return FrameError::NoDecoder;
    decoded_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!decoded_ || !packet_)
        return FrameError::DecodeFailed;
    width_ = st->codecpar->width;
    height_ = st->codecpar->height;
    frameCount_ = st->nb_frames > 0 ? st->nb_frames : -1;

    // The first frame fixes the offset between timestamps and frame numbers.
    const AVFrame* first = decodeNext();
    if (!first)
        return FrameError::DecodeFailed;
    offset_ = first->best_effort_timestamp == AV_NOPTS_VALUE ? 0 : first->best_effort_timestamp;
    if (width_ <= 0 || height_ <= 0)
        width_ = first->width, height_ = first->height;
    if (width_ <= 0 || height_ <= 0)
        return FrameError::DecodeFailed;

    const int entries = avformat_index_get_entries_count(st);
    for (int i = 0; i < entries; ++i) {
        const AVIndexEntry* e = avformat_index_get_entry(st, i);
        if (e && (e->flags & AVINDEX_KEYFRAME) && e->timestamp != AV_NOPTS_VALUE)
            keyframes_.push_back(e->timestamp - offset_);
    }
    std::sort(keyframes_.begin(), keyframes_.end());
    if (entries > 0) {
        const AVIndexEntry* e = avformat_index_get_entry(st, 0);
        firstTimestamp_ = e ? e->timestamp : 0;
    }
    const AVCodecDescriptor* desc = avcodec_descriptor_get(st->codecpar->codec_id);
    const bool intraOnly = desc && (desc->props & AV_CODEC_PROP_INTRA_ONLY);
    // An AVI file without an index (a recorder that was killed) gets its
    // index from reading, with every chunk marked as a keyframe; for a
    // codec with predicted frames those marks are worthless.
    if (!intraOnly && isAviWithoutIndex(path))
        keyframes_.clear();
    // Every frame a keyframe: any frame decodes on its own, so a long
    // window of decoded pictures would only cost memory.
    if (entries > 0 && keyframes_.size() == size_t(entries))
        options_.cacheFrames = std::min(options_.cacheFrames, intraCacheFrames);

    runActive_ = true;
    runLast_ = -1;
    keep(numberOf(first), first, 0);
    av_frame_unref(decoded_);
    return FrameError::None;
}

double FrameSource::frameRate() const {
    const AVRational r = format_->streams[stream_]->avg_frame_rate;
    if (r.num > 0 && r.den > 0)
        return av_q2d(r);
    const AVRational tb = format_->streams[stream_]->time_base;
    return tb.num > 0 ? double(tb.den) / tb.num : 0.0;
}

std::size_t FrameSource::cacheBytes() const {
    std::size_t total = 0;
    for (const auto& [number, entry] : cache_)
        for (AVBufferRef* buf : entry.frame->buf)
            if (buf)
                total += buf->size;
    return total;
}

AVFrame* FrameSource::decodeNext() {
    for (int guard = 0; guard < maxPacketsPerFrame; ++guard) {
        const int r = avcodec_receive_frame(codec_, decoded_);
        if (r == 0)
            return decoded_;
        if (r != AVERROR(EAGAIN) || draining_) {
            ended_ = true;
            return nullptr;
        }
        if (av_read_frame(format_, packet_) < 0) {
            avcodec_send_packet(codec_, nullptr); // drain what the decoder holds
            draining_ = true;
            continue;
        }
        // An empty packet would start draining; a damaged one is skipped.
        if (packet_->stream_index == stream_ && packet_->size > 0)
            avcodec_send_packet(codec_, packet_);
        av_packet_unref(packet_);
    }
    ended_ = true;
    return nullptr;
}

int64_t FrameSource::numberOf(const AVFrame* f) {
    const int64_t ts = f->best_effort_timestamp;
    if (ts != AV_NOPTS_VALUE)
        return ts - offset_;
    return runLast_ >= 0 ? runLast_ + 1 : -1;
}

void FrameSource::keep(int64_t number, const AVFrame* f, int64_t keepFrom) {
    if (runLast_ >= 0 && runLast_ < number) {
        auto prev = cache_.find(runLast_);
        if (prev != cache_.end())
            prev->second.coversTo = std::max(prev->second.coversTo, number - 1);
    }
    runLast_ = number;
    if (number < keepFrom)
        return;
    auto it = cache_.find(number);
    if (it != cache_.end()) {
        it->second.lastUse = ++useClock_;
        return;
    }
    AVFrame* copy = av_frame_clone(f);
    if (!copy)
        return;
    cache_[number] = Entry{copy, number, ++useClock_};
    evict();
}

void FrameSource::evict() {
    while (cache_.size() > options_.cacheFrames) {
        auto oldest = cache_.begin();
        for (auto it = cache_.begin(); it != cache_.end(); ++it)
            if (it->second.lastUse < oldest->second.lastUse)
                oldest = it;
        av_frame_free(&oldest->second.frame);
        cache_.erase(oldest);
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
    it->second.lastUse = ++useClock_;
    shown_ = it->first;
    return it->second.frame;
}

FrameSource::Run FrameSource::decodeUntil(int64_t n, int64_t keepFrom) {
    while (const AVFrame* f = decodeNext()) {
        const int64_t number = numberOf(f);
        if (number < 0 || (runLast_ >= 0 && number <= runLast_)) {
            av_frame_unref(decoded_);
            continue; // no place on the timeline, or a repeat
        }
        if (runLast_ < 0 && number > n) {
            av_frame_unref(decoded_);
            return Run::Overshot; // open GOP: start further back
        }
        keep(number, f, keepFrom);
        av_frame_unref(decoded_);
        if (number >= n)
            return Run::Reached;
    }
    auto last = cache_.find(runLast_);
    if (last != cache_.end())
        last->second.coversTo = endless; // nothing follows it
    if (frameCount_ < 0 && runLast_ >= 0)
        frameCount_ = runLast_ + 1; // the file did not say; now we know
    runActive_ = false;
    return Run::Ended;
}

bool FrameSource::forwardWithinReach(int64_t n) const {
    if (!runActive_ || ended_ || runLast_ < 0 || n <= runLast_)
        return false;
    if (n - runLast_ <= shortForwardStep)
        return true;
    // A keyframe between here and n makes a seek cheaper than decoding on.
    auto k = std::upper_bound(keyframes_.begin(), keyframes_.end(), runLast_);
    return k == keyframes_.end() || *k > n;
}

bool FrameSource::seekTo(int64_t number) {
    // The beginning is sought by the first packet's own timestamp, so that
    // no index entry can send it elsewhere.
    const int64_t ts = number == rewind ? firstTimestamp_ : number + offset_;
    if (av_seek_frame(format_, stream_, ts, AVSEEK_FLAG_BACKWARD) < 0)
        return false;
    avcodec_flush_buffers(codec_);
    draining_ = ended_ = false;
    runActive_ = true;
    runLast_ = -1;
    return true;
}

const AVFrame* FrameSource::seekAndDecode(int64_t n, FrameError* error) {
    // Start points: the keyframes at or before n, latest first, then the
    // beginning of the clip.
    std::vector<int64_t> starts;
    auto k = std::upper_bound(keyframes_.begin(), keyframes_.end(), n);
    while (k != keyframes_.begin() && starts.size() + 1 < seekAttempts)
        starts.push_back(*--k);
    starts.push_back(rewind);
    const int64_t keepFrom = n - static_cast<int64_t>(options_.cacheFrames) + 1;
    for (const int64_t start : starts) {
        if (!seekTo(start))
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

const AVFrame* FrameSource::frame(int64_t n, FrameError* error) {
    *error = FrameError::None;
    if (n < 0 || (frameCount_ > 0 && n >= frameCount_)) {
        *error = FrameError::OutOfRange;
        return nullptr;
    }
    if (const AVFrame* f = lookup(n))
        return f;
    if (forwardWithinReach(n)) {
        const int64_t keepFrom = n - static_cast<int64_t>(options_.cacheFrames) + 1;
        if (decodeUntil(n, keepFrom) != Run::Overshot)
            if (const AVFrame* f = lookup(n))
                return f;
    }
    return seekAndDecode(n, error);
}

bool FrameSource::convert(const AVFrame* f, int width, int height, uint8_t* dst, int stride) {
    sws_ = sws_getCachedContext(sws_, f->width, f->height, AVPixelFormat(f->format), width, height,
                                AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!sws_)
        return false;
    uint8_t* planes[4] = {dst, nullptr, nullptr, nullptr};
    int strides[4] = {stride, 0, 0, 0};
    return sws_scale(sws_, f->data, f->linesize, 0, f->height, planes, strides) == height;
}

std::optional<QByteArray> FrameSource::packedDib(int64_t n, FrameError* error, int width,
                                                 int height) {
    FrameError e = FrameError::None;
    const AVFrame* f = frame(n, &e);
    if (error)
        *error = e;
    if (!f)
        return std::nullopt;
    width = width > 0 ? width : f->width;
    height = height > 0 ? height : f->height;
    const BmpInfoHeader header = frameFormat24(width, height);
    QByteArray out = header.toBytes();
    out.resize(BmpInfoHeader::byteSize + qsizetype(header.sizeImage), '\0');
    const int stride = rowBytes24(width);
    // Bottom-up: the top row of the picture is the last row of the bitmap.
    auto* lastRow = reinterpret_cast<uint8_t*>(out.data()) + BmpInfoHeader::byteSize +
                    qsizetype(stride) * (height - 1);
    if (!convert(f, width, height, lastRow, -stride)) {
        if (error)
            *error = FrameError::DecodeFailed;
        return std::nullopt;
    }
    return out;
}

QImage FrameSource::image(int64_t n, FrameError* error) {
    FrameError e = FrameError::None;
    const AVFrame* f = frame(n, &e);
    if (error)
        *error = e;
    if (!f)
        return QImage();
    QImage img(f->width, f->height, QImage::Format_BGR888);
    if (img.isNull() ||
        !convert(f, f->width, f->height, img.bits(), static_cast<int>(img.bytesPerLine()))) {
        if (error)
            *error = FrameError::DecodeFailed;
        return QImage();
    }
    return img;
}

} // namespace zt
