#include "video/VideoDecoder.h"

#include "video/AviFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace zt {

namespace {

// Packets read for one frame before the decoder is given up on; ends a
// decode of garbage that never yields a picture.
constexpr int maxPacketsPerFrame = 20000;
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
    // One thread: frame threading would hold frames back, and the machine
    // is shared with capture and encoding.
    codec_->thread_count = 1;
    // A hostile header or bitstream must not make the decoder allocate
    // pictures of gigabytes.
    codec_->max_pixels = int64_t(maxPictureSide) * maxPictureSide;
    if (avcodec_open2(codec_, decoder, nullptr) < 0)
        return FrameError::NoDecoder;
    decoded_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    return decoded_ && packet_ ? FrameError::None : FrameError::DecodeFailed;
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
        const int64_t n = ts != AV_NOPTS_VALUE ? ts - timeline_.offset
                          : runLast_ >= 0      ? runLast_ + 1
                                               : -1;
        if (n < 0 || (runLast_ >= 0 && n <= runLast_))
            continue; // no place on the timeline, or a repeat
        if (isDamaged(f)) {
            damaged_.insert(n); // the frame before stands for it, never a splice
            continue;
        }
        *previous = runLast_;
        *number = runLast_ = n;
        return f;
    }
    return nullptr;
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
    const int64_t ts = number == rewind ? timeline_.firstTimestamp : number + timeline_.start;
    if (av_seek_frame(format_, stream_, ts, AVSEEK_FLAG_BACKWARD) < 0)
        return false;
    avcodec_flush_buffers(codec_);
    draining_ = ended_ = false;
    running_ = true;
    runLast_ = -1;
    return true;
}

} // namespace zt
