#include "video/VideoDecoder.h"

#include "video/AviFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

namespace zt {

namespace {

// Packets read for one frame before the decoder is given up on; ends a
// decode of garbage that never yields a picture.
constexpr int maxPacketsPerFrame = 20000;
// Frames a decoder may have taken in beyond the last it gave out (frame
// threads and reordering): passing over frames ends this far before the
// frame wanted.
constexpr int64_t passOverGuard = 32;
// Keyframes tried, further and further back, when a seek lands past the
// frame asked for (open GOP).
constexpr std::size_t keyframeAttempts = 3;

constexpr int memoryIoBufferSize = 32 * 1024;

} // namespace

std::vector<int64_t> seekStarts(const std::vector<int64_t>& keyframes, int64_t n) {
    std::vector<int64_t> starts;
    auto k = std::upper_bound(keyframes.begin(), keyframes.end(), n);
    while (k != keyframes.begin() && starts.size() < keyframeAttempts)
        starts.push_back(*--k);
    starts.push_back(VideoDecoder::rewind);
    return starts;
}

VideoDecoder::~VideoDecoder() {
    av_packet_free(&packet_);
    av_frame_free(&decoded_);
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
    if (memoryIo_)
        av_freep(&memoryIo_->buffer);
    avio_context_free(&memoryIo_);
}

int VideoDecoder::readMemory(void* opaque, uint8_t* buf, int size) {
    auto* self = static_cast<VideoDecoder*>(opaque);
    const QByteArray& bytes = *self->input_.bytes;
    const int64_t left = bytes.size() - self->memoryPos_;
    if (left <= 0)
        return AVERROR_EOF;
    const int n = int(std::min<int64_t>(left, size));
    std::memcpy(buf, bytes.constData() + self->memoryPos_, size_t(n));
    self->memoryPos_ += n;
    return n;
}

int64_t VideoDecoder::seekMemory(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<VideoDecoder*>(opaque);
    const int64_t size = self->input_.bytes->size();
    if (whence & AVSEEK_SIZE)
        return size;
    int64_t pos = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET:
        pos = offset;
        break;
    case SEEK_CUR:
        pos = self->memoryPos_ + offset;
        break;
    case SEEK_END:
        pos = size + offset;
        break;
    default:
        return AVERROR(EINVAL);
    }
    if (pos < 0 || pos > size)
        return AVERROR(EINVAL);
    self->memoryPos_ = pos;
    return pos;
}

FrameError VideoDecoder::open(const ClipInput& input) {
    input_ = input;
    if (input_.bytes) {
        auto* buffer = static_cast<unsigned char*>(av_malloc(memoryIoBufferSize));
        if (buffer)
            memoryIo_ = avio_alloc_context(buffer, memoryIoBufferSize, 0, this, &readMemory,
                                           nullptr, &seekMemory);
        if (!memoryIo_) {
            av_free(buffer);
            return FrameError::CannotOpen;
        }
        format_ = avformat_alloc_context();
        if (!format_)
            return FrameError::CannotOpen;
        format_->pb = memoryIo_;
        format_->flags |= AVFMT_FLAG_CUSTOM_IO;
        if (avformat_open_input(&format_, "", nullptr, nullptr) < 0)
            return FrameError::CannotOpen;
    } else {
        if (!QFileInfo(input_.path).isFile())
            return FrameError::CannotOpen;
        const QByteArray file = input_.path.toUtf8();
        if (avformat_open_input(&format_, file.constData(), nullptr, nullptr) < 0)
            return FrameError::CannotOpen;
    }
    if (avformat_find_stream_info(format_, nullptr) < 0)
        return FrameError::CannotOpen;
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (stream_ < 0)
        return FrameError::NoVideoStream;
    const AVStream* st = format_->streams[stream_];
    const AVCodec* decoder = avcodec_find_decoder(st->codecpar->codec_id);
    if (!decoder)
        return FrameError::NoDecoder;
    codec_ = avcodec_alloc_context3(decoder);
    if (!codec_ || avcodec_parameters_to_context(codec_, st->codecpar) < 0)
        return FrameError::NoDecoder;
    // Frame and slice threads on every core: a refill of the window below,
    // stepping forwards and an extraction all decode runs of frames in
    // order, where frame threads pay off; their delay of a frame or two at
    // the start of a run is far below one decode of a keyframe interval.
    codec_->thread_count = 0;
    codec_->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    // A hostile header or bitstream must not make the decoder allocate
    // pictures of gigabytes.
    codec_->max_pixels = int64_t(maxPictureSide) * maxPictureSide;
    if (avcodec_open2(codec_, decoder, nullptr) < 0)
        return FrameError::NoDecoder;
    decoded_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    avi_ = std::strstr(format_->iformat->name, "avi") != nullptr;
    if (!avi_)
        for (unsigned i = 0; i < format_->nb_streams; ++i)
            if (int(i) != stream_)
                format_->streams[i]->discard = AVDISCARD_ALL; // sound is never read
    size_t matrixSize = 0;
    if (const uint8_t* matrix = av_stream_get_side_data(st, AV_PKT_DATA_DISPLAYMATRIX, &matrixSize);
        matrix && matrixSize >= 9 * sizeof(int32_t)) {
        // The matrix turns counter-clockwise; the display turns the other way.
        const double turn = -av_display_rotation_get(reinterpret_cast<const int32_t*>(matrix));
        const int quarter = int(std::lround(turn / 90.0));
        rotation_ = ((quarter % 4 + 4) % 4) * 90;
    }
    return decoded_ && packet_ ? FrameError::None : FrameError::DecodeFailed;
}

QString VideoDecoder::containerName() const {
    return QString::fromLatin1(format_->iformat->name);
}

QString VideoDecoder::codecName() const {
    return QString::fromLatin1(avcodec_get_name(format_->streams[stream_]->codecpar->codec_id));
}

// Reads every packet of the video stream once (no decoding): the
// presentation timestamps give the frames' order and numbers, the key
// packets the places a seek can start from. False when a packet carries no
// time at all; the clip is then numbered by its timestamps, as an AVI clip.
bool VideoDecoder::listPresentation() {
    struct Key {
        int64_t pts, seek;
    };
    std::vector<int64_t> pts;
    std::vector<Key> keys;
    int64_t first = AV_NOPTS_VALUE;
    while (av_read_frame(format_, packet_) >= 0) {
        const AVPacket* p = packet_;
        if (p->stream_index == stream_ && p->size > 0 && !(p->flags & AV_PKT_FLAG_DISCARD)) {
            const int64_t t = p->pts != AV_NOPTS_VALUE ? p->pts : p->dts;
            if (t == AV_NOPTS_VALUE) {
                av_packet_unref(packet_);
                return false;
            }
            const int64_t seek = p->dts != AV_NOPTS_VALUE ? std::min(p->dts, t) : t;
            if (first == AV_NOPTS_VALUE)
                first = seek;
            pts.push_back(t);
            if (p->flags & AV_PKT_FLAG_KEY)
                keys.push_back({t, seek});
        }
        av_packet_unref(packet_);
    }
    if (pts.empty())
        return false;
    std::sort(pts.begin(), pts.end());
    pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
    timeline_.presentation = std::move(pts);
    const auto& order = timeline_.presentation;
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) { return a.pts < b.pts; });
    for (const Key& k : keys) {
        const int64_t n = numberOf(k.pts);
        if (timeline_.keyframes.empty() || timeline_.keyframes.back() < n) {
            timeline_.keyframes.push_back(n);
            timeline_.keySeek.push_back(k.seek);
        }
    }
    timeline_.firstTimestamp = first;
    // Variable: a frame's duration differs from the usual one by more than
    // a tenth (a millisecond time base rounds 33.3 ms to 33 or 34).
    std::vector<int64_t> durations;
    for (std::size_t i = 1; i < order.size(); ++i)
        durations.push_back(order[i] - order[i - 1]);
    if (!durations.empty()) {
        std::vector<int64_t> sorted = durations;
        std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
        const int64_t usual = sorted[sorted.size() / 2];
        const int64_t slack = std::max<int64_t>(1, usual / 10);
        for (const int64_t d : durations)
            timeline_.variableRate = timeline_.variableRate || std::llabs(d - usual) > slack;
    }
    return true;
}

// The number of the frame shown at timestamp: its place in presentation
// order (the first frame at or after it when no frame has that time).
int64_t VideoDecoder::numberOf(int64_t timestamp) const {
    const auto& order = timeline_.presentation;
    return std::lower_bound(order.begin(), order.end(), timestamp) - order.begin();
}

bool VideoDecoder::aviWithoutIndex() const {
    std::optional<AviHeaders> h;
    if (input_.bytes) {
        QBuffer buffer;
        buffer.setData(*input_.bytes);
        if (buffer.open(QIODevice::ReadOnly))
            h = readAviHeaders(buffer);
    } else {
        h = readAviHeaders(input_.path);
    }
    return h && !h->hasIdx1 && !h->hasStreamIndex;
}

FrameError VideoDecoder::readTimeline(Timeline* timeline) {
    timeline_ = Timeline{};
    if (!avi_ && listPresentation()) {
        if (av_seek_frame(format_, stream_, timeline_.firstTimestamp, AVSEEK_FLAG_BACKWARD) < 0)
            return FrameError::CannotOpen;
        const AVFrame* first = decodeNext();
        if (!first)
            return FrameError::NoPicture;
        const int64_t ts = first->best_effort_timestamp;
        timeline_.firstPicture = ts == AV_NOPTS_VALUE ? 0 : numberOf(ts);
        runLast_ = timeline_.firstPicture;
        *timeline = timeline_;
        return FrameError::None;
    }
    if (!avi_) { // read through by the listing: back to the start
        timeline_ = Timeline{};
        const int64_t start = format_->streams[stream_]->start_time;
        av_seek_frame(format_, stream_, start == AV_NOPTS_VALUE ? 0 : start, AVSEEK_FLAG_BACKWARD);
    }
    stamps_.clear();
    stamping_ = true;
    const AVFrame* first = decodeNext();
    stamping_ = false;
    AVStream* st = format_->streams[stream_];
    if (!first) {
        stamps_.clear();
        return FrameError::NoPicture;
    }
    // Sample 0 is where the stream starts, not where its first picture is:
    // empty or damaged chunks before it keep their place on the timeline.
    if (st->start_time != AV_NOPTS_VALUE)
        timeline_.start = st->start_time;
    else if (!stamps_.empty())
        timeline_.start = stamps_.front().timestamp;
    const int64_t sample = std::max<int64_t>(0, firstPictureSample(first) - timeline_.start);
    stamps_.clear();
    stamps_.shrink_to_fit();
    const int64_t ts = first->best_effort_timestamp;
    timeline_.offset = ts == AV_NOPTS_VALUE ? timeline_.start : ts - sample;
    timeline_.firstPicture = sample;
    runLast_ = sample;
    const int entries = avformat_index_get_entries_count(st);
    for (int i = 0; i < entries; ++i) {
        const AVIndexEntry* e = avformat_index_get_entry(st, i);
        if (e && (e->flags & AVINDEX_KEYFRAME) && e->timestamp != AV_NOPTS_VALUE)
            timeline_.keyframes.push_back(e->timestamp - timeline_.start);
    }
    std::sort(timeline_.keyframes.begin(), timeline_.keyframes.end());
    if (const AVIndexEntry* e = entries > 0 ? avformat_index_get_entry(st, 0) : nullptr)
        timeline_.firstTimestamp = e->timestamp;
    // An AVI file without an index (a recorder that was killed) gets its
    // index from reading, with every chunk marked as a keyframe; for a
    // codec with predicted frames those marks are worthless.
    if (!intraOnly() && aviWithoutIndex())
        timeline_.keyframes.clear();
    *timeline = timeline_;
    return FrameError::None;
}

// The timestamp of the packet the first picture was decoded from. Its
// best-effort timestamp is no guide: with B-frames it is that of a later
// packet, the one that pushed the picture out of the decoder.
int64_t VideoDecoder::firstPictureSample(const AVFrame* first) const {
    if (first->pkt_pos >= 0)
        for (const PacketStamp& p : stamps_)
            if (p.pos == first->pkt_pos)
                return p.timestamp;
    if (intraOnly() && first->best_effort_timestamp != AV_NOPTS_VALUE)
        return first->best_effort_timestamp;
    return stamps_.empty() ? timeline_.start : stamps_.front().timestamp;
}

int64_t VideoDecoder::declaredFrames() const {
    if (timeline_.byPresentation())
        return int64_t(timeline_.presentation.size());
    const int64_t n = format_->streams[stream_]->nb_frames;
    return n > 0 ? n : -1;
}

double VideoDecoder::frameRate() const {
    const AVRational r = format_->streams[stream_]->avg_frame_rate;
    if (r.num > 0 && r.den > 0)
        return av_q2d(r);
    const AVRational tb = format_->streams[stream_]->time_base;
    return tb.num > 0 ? double(tb.den) / tb.num : 0.0;
}

bool VideoDecoder::intraOnly() const {
    const AVCodecDescriptor* d =
        avcodec_descriptor_get(format_->streams[stream_]->codecpar->codec_id);
    return d && (d->props & AV_CODEC_PROP_INTRA_ONLY);
}

AVFrame* VideoDecoder::decodeNext() {
    av_frame_unref(decoded_);
    for (int guard = 0; guard < maxPacketsPerFrame; ++guard) {
        const int r = avcodec_receive_frame(codec_, decoded_);
        if (r == 0)
            return decoded_;
        if (r != AVERROR(EAGAIN) || draining_)
            break;
        if (av_read_frame(format_, packet_) < 0) {
            avcodec_send_packet(codec_, nullptr); // drain what the decoder holds
            draining_ = true;
            continue;
        }
        // An empty packet would start draining; a damaged one is skipped.
        if (packet_->stream_index == stream_ && packet_->size > 0) {
            if (packet_->flags & AV_PKT_FLAG_CORRUPT)
                cutPackets_.insert(packet_->pos);
            if (stamping_) {
                const int64_t ts = packet_->pts != AV_NOPTS_VALUE ? packet_->pts : packet_->dts;
                if (ts != AV_NOPTS_VALUE)
                    stamps_.push_back({packet_->pos, ts});
            }
            avcodec_send_packet(codec_, packet_);
        }
        av_packet_unref(packet_);
    }
    ended_ = true;
    running_ = false;
    return nullptr;
}

const AVFrame* VideoDecoder::next(int64_t* number, int64_t* previous) {
    while (const AVFrame* f = decodeNext()) {
        const int64_t ts = f->best_effort_timestamp;
        const int64_t n = ts == AV_NOPTS_VALUE         ? (runLast_ >= 0 ? runLast_ + 1 : -1)
                          : timeline_.byPresentation() ? numberOf(ts)
                                                       : ts - timeline_.offset;
        if (passUntil_ >= 0 && n >= passUntil_ - passOverGuard) {
            codec_->skip_frame = AVDISCARD_DEFAULT;
            passUntil_ = -1;
        }
        if (n < 0 || (runLast_ >= 0 && n <= runLast_))
            continue; // no place on the timeline, or a repeat
        // Pictures shown before the keyframe a seek started from (an open
        // GOP's leading pictures) need the frames before it: they come
        // whole from a run that starts further back.
        if (timeline_.byPresentation() && runLast_ < 0 && n < seekKey_)
            continue;
        if (isDamaged(f)) {
            damaged_.insert(n); // the frame before stands for it, never a splice
            continue;
        }
        *previous = reportFrom_ >= 0 && n < reportFrom_ ? -1 : runLast_;
        if (n >= reportFrom_)
            reportFrom_ = -1;
        *number = runLast_ = n;
        return f;
    }
    return nullptr;
}

void VideoDecoder::passOverBefore(int64_t until) {
    if (intraOnly() || until - passOverGuard <= std::max<int64_t>({seekKey_, runLast_, 0}))
        return;
    passUntil_ = until;
    reportFrom_ = until - passOverGuard / 2;
    codec_->skip_frame = AVDISCARD_NONREF;
}

// The decoder's own marks, or the packet it came from was cut short (the
// demuxer found the file ending inside it).
bool VideoDecoder::isDamaged(const AVFrame* frame) const {
    return (frame->flags & AV_FRAME_FLAG_CORRUPT) || frame->decode_error_flags != 0 ||
           (frame->pkt_pos >= 0 && cutPackets_.count(frame->pkt_pos) > 0);
}

bool VideoDecoder::seekTo(int64_t number) {
    // The beginning is sought by the first packet's own timestamp, so that
    // no index entry can send it elsewhere.
    int64_t ts = number == rewind ? timeline_.firstTimestamp : number + timeline_.start;
    seekKey_ = number == rewind ? -1 : number;
    if (timeline_.byPresentation() && number != rewind) {
        const auto& keys = timeline_.keyframes;
        const auto k = std::lower_bound(keys.begin(), keys.end(), number);
        if (k != keys.end() && *k == number)
            ts = timeline_.keySeek[std::size_t(k - keys.begin())];
        else
            ts = timeline_.presentation[std::size_t(
                std::clamp<int64_t>(number, 0, int64_t(timeline_.presentation.size()) - 1))];
    }
    if (av_seek_frame(format_, stream_, ts, AVSEEK_FLAG_BACKWARD) < 0)
        return false;
    avcodec_flush_buffers(codec_);
    codec_->skip_frame = AVDISCARD_DEFAULT;
    passUntil_ = reportFrom_ = -1;
    draining_ = ended_ = false;
    running_ = true;
    runLast_ = -1;
    return true;
}

} // namespace zt
