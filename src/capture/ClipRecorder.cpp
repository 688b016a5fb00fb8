#include "capture/ClipRecorder.h"

#include "capture/CaptureInput.h"
#include "capture/ThreadCpu.h"
#include "video/ClipFile.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <cerrno>

namespace zt {

namespace {

// Encoded packets may wait this much for the disk before the encoder waits.
constexpr std::size_t writeByteCapacity = 256u << 20;
// Frames wait at most about a second, and never more than this many bytes.
constexpr std::size_t frameByteCapacity = 192u << 20;

std::size_t frameBytes(const AVFrame* f) {
    std::size_t bytes = 0;
    for (int i = 0; i < AV_NUM_DATA_POINTERS && f->buf[i]; ++i)
        bytes += f->buf[i]->size;
    return bytes;
}

AVPixelFormat encoderPixelFormat(Compression c) {
    switch (c) {
    case Compression::None:
        return AV_PIX_FMT_BGR24;
    case Compression::Mjpeg: // full range, as JPEG has it
    case Compression::Ffv1:
        return AV_PIX_FMT_YUV420P;
    }
    return AV_PIX_FMT_YUV420P;
}

AVCodecID encoderId(Compression c) {
    switch (c) {
    case Compression::None:
        return AV_CODEC_ID_RAWVIDEO;
    case Compression::Mjpeg:
        return AV_CODEC_ID_MJPEG;
    case Compression::Ffv1:
        return AV_CODEC_ID_FFV1;
    }
    return AV_CODEC_ID_MJPEG;
}

} // namespace

QString writeErrorText(int e) {
    if (e == AVERROR(ENOSPC) || e == AVERROR(EFBIG) || e == AVERROR(EDQUOT))
        return QStringLiteral("the disk is full");
    if (e == AVERROR(EACCES) || e == AVERROR(EPERM) || e == AVERROR(EROFS))
        return QStringLiteral("the folder cannot be written to");
    if (e == AVERROR(EEXIST))
        return QStringLiteral("something of that name (a file or a link) is already there");
    if (e == AVERROR(ENOENT) || e == AVERROR(ENODEV) || e == AVERROR(EIO))
        return QStringLiteral("the folder or its drive is no longer there");
    return ffmpegErrorText(e);
}

std::unique_ptr<ClipRecorder> ClipRecorder::open(const ClipSettings& settings, const VideoIn& video,
                                                 const std::optional<AudioIn>& audio,
                                                 FailureHandler onFailure, QString* error) {
    std::unique_ptr<ClipRecorder> r(new ClipRecorder);
    r->path_ = settings.path;
    r->onFailure_ = std::move(onFailure);
    r->videoIn_ = video;
    r->frameRate_ = qMax(1, settings.frameRate);
    if (!r->openOutput(settings, video, audio, error)) {
        r->freeAll();
        return nullptr;
    }
    const std::size_t frame = static_cast<std::size_t>(
        av_image_get_buffer_size(static_cast<AVPixelFormat>(qMax(0, video.pixelFormat)),
                                 qMax(1, video.width), qMax(1, video.height), 1));
    r->encodeCapacity_ = static_cast<std::size_t>(qMax(8, r->frameRate_));
    r->encodeByteCapacity_ = qMax(frameByteCapacity, 8 * frame);
    r->encoder_ = std::thread([p = r.get()] { p->encodeLoop(); });
    r->writer_ = std::thread([p = r.get()] { p->writeLoop(); });
    return r;
}

bool ClipRecorder::openOutput(const ClipSettings& settings, const VideoIn& video,
                              const std::optional<AudioIn>& audio, QString* error) {
    const QByteArray file = settings.path.toUtf8();
    if (avformat_alloc_output_context2(&out_, nullptr, "avi", file.constData()) < 0 || !out_) {
        *error = QStringLiteral("The AVI writer is missing from this build");
        return false;
    }
    if (!openVideoEncoder(settings, video, error))
        return false;
    if (audio && settings.audio && !openAudio(settings, *audio, error))
        return false;
    // A new file only: never one already there, never through a link.
    const int r = openNewClipFile(settings.path, &out_->pb);
    if (r < 0) {
        *error = QStringLiteral("The clip file ") + settings.path +
                 QStringLiteral(" cannot be created: ") + writeErrorText(r);
        return false;
    }
    const int h = avformat_write_header(out_, nullptr);
    if (h < 0) {
        *error = QStringLiteral("The clip file ") + settings.path +
                 QStringLiteral(" cannot be written: ") + writeErrorText(h);
        return false;
    }
    return true;
}

bool ClipRecorder::openVideoEncoder(const ClipSettings& s, const VideoIn& video, QString* error) {
    videoStream_ = avformat_new_stream(out_, nullptr);
    videoStream_->time_base = {1, frameRate_};
    videoStream_->avg_frame_rate = {frameRate_, 1};
    if (video.copyFrom) {
        avcodec_parameters_copy(videoStream_->codecpar, video.copyFrom);
        videoStream_->codecpar->codec_tag = 0;
        return true;
    }
    const AVCodec* codec = avcodec_find_encoder(encoderId(s.compression));
    if (!codec) {
        *error = QStringLiteral("The video compressor is missing from this build");
        return false;
    }
    AVCodecContext* c = videoEncoder_ = avcodec_alloc_context3(codec);
    c->width = video.width;
    c->height = video.height;
    c->pix_fmt = encoderPixelFormat(s.compression);
    c->time_base = {1, frameRate_};
    c->framerate = {frameRate_, 1};
    c->gop_size = 1;
    if (s.compression == Compression::Mjpeg) {
        c->color_range = AVCOL_RANGE_JPEG;
        c->flags |= AV_CODEC_FLAG_QSCALE;
        c->global_quality = qBound(2, s.mjpegQuality, 31) * FF_QP2LAMBDA;
        c->thread_count = 2;
        c->thread_type = FF_THREAD_FRAME;
    } else if (s.compression == Compression::Ffv1) {
        av_opt_set_int(c->priv_data, "level", 3, 0);
        av_opt_set_int(c->priv_data, "slices", 4, 0);
        c->thread_count = 2;
        c->thread_type = FF_THREAD_SLICE;
    }
    if (out_->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const int r = avcodec_open2(c, codec, nullptr);
    if (r < 0) {
        *error = QStringLiteral("The video compressor cannot start: ") + ffmpegErrorText(r);
        return false;
    }
    avcodec_parameters_from_context(videoStream_->codecpar, c);
    return true;
}

bool ClipRecorder::openAudio(const ClipSettings& s, const AudioIn& in, QString* error) {
    const AudioFormat& f = s.audioFormat;
    const AVCodec* codec =
        avcodec_find_encoder(f.bits == 8 ? AV_CODEC_ID_PCM_U8 : AV_CODEC_ID_PCM_S16LE);
    AVCodecContext* c = audioEncoder_ = avcodec_alloc_context3(codec);
    c->sample_rate = f.sampleRate;
    c->sample_fmt = f.bits == 8 ? AV_SAMPLE_FMT_U8 : AV_SAMPLE_FMT_S16;
    av_channel_layout_default(&c->ch_layout, f.channels);
    c->time_base = {1, f.sampleRate};
    int r = avcodec_open2(c, codec, nullptr);
    if (r < 0) {
        *error = QStringLiteral("The audio format cannot be recorded: ") + ffmpegErrorText(r);
        return false;
    }
    audioStream_ = avformat_new_stream(out_, nullptr);
    audioStream_->time_base = {1, f.sampleRate};
    avcodec_parameters_from_context(audioStream_->codecpar, c);
    AVChannelLayout inLayout;
    av_channel_layout_default(&inLayout, in.channels);
    r = swr_alloc_set_opts2(&swr_, &c->ch_layout, c->sample_fmt, c->sample_rate, &inLayout,
                            static_cast<AVSampleFormat>(in.sampleFormat), in.sampleRate, 0,
                            nullptr);
    av_channel_layout_uninit(&inLayout);
    if (r < 0 || swr_init(swr_) < 0) {
        *error = QStringLiteral("The microphone's sound cannot be converted to the audio format");
        return false;
    }
    return true;
}

ClipRecorder::~ClipRecorder() {
    finish();
    freeAll();
}

void ClipRecorder::freeAll() {
    avcodec_free_context(&videoEncoder_);
    avcodec_free_context(&audioEncoder_);
    sws_freeContext(sws_);
    sws_ = nullptr;
    swr_free(&swr_);
    if (out_) {
        closeClipFile(&out_->pb);
        avformat_free_context(out_);
        out_ = nullptr;
    }
}

bool ClipRecorder::enqueue(Item item, bool bounded) {
    const std::size_t bytes = item.frame    ? frameBytes(item.frame)
                              : item.packet ? item.packet->size
                                            : 0;
    {
        std::lock_guard lock(encodeMutex_);
        if (bounded && (encodeQueue_.size() >= encodeCapacity_ ||
                        encodeBytes_ + bytes > encodeByteCapacity_ || failed_)) {
            av_frame_free(&item.frame);
            av_packet_free(&item.packet);
            return false;
        }
        encodeQueue_.push_back(item);
        encodeBytes_ += bytes;
    }
    encodeReady_.notify_one();
    return true;
}

bool ClipRecorder::pushFrame(const AVFrame* frame, int64_t n) {
    Item item;
    item.frame = av_frame_clone(frame);
    item.n = n;
    return item.frame && enqueue(item, true);
}

bool ClipRecorder::pushPacket(const AVPacket* packet, int64_t n) {
    Item item;
    item.packet = av_packet_clone(packet);
    item.n = n;
    return item.packet && enqueue(item, true);
}

long long ClipRecorder::pushAudio(const AVFrame* in) {
    std::lock_guard lock(audioMutex_);
    if (!audioEncoder_ || failed_)
        return 0;
    AVFrame* out = av_frame_alloc();
    out->format = audioEncoder_->sample_fmt;
    out->sample_rate = audioEncoder_->sample_rate;
    av_channel_layout_copy(&out->ch_layout, &audioEncoder_->ch_layout);
    out->nb_samples = swr_get_out_samples(swr_, in->nb_samples);
    long long taken = 0;
    if (out->nb_samples > 0 && av_frame_get_buffer(out, 0) >= 0) {
        const int n = swr_convert(swr_, out->data, out->nb_samples,
                                  const_cast<const uint8_t**>(in->extended_data), in->nb_samples);
        if (n > 0) {
            out->nb_samples = n;
            out->pts = audioSamples_;
            audioSamples_ += n;
            taken = n;
            AVPacket* p = av_packet_alloc();
            if (avcodec_send_frame(audioEncoder_, out) >= 0) {
                while (avcodec_receive_packet(audioEncoder_, p) >= 0) {
                    toWriter(av_packet_clone(p), audioStream_, audioEncoder_->time_base.den,
                             audioEncoder_->time_base.num);
                    av_packet_unref(p);
                }
            }
            av_packet_free(&p);
        }
    }
    av_frame_free(&out);
    return taken;
}

void ClipRecorder::toWriter(AVPacket* packet, AVStream* stream, int den, int num) {
    if (!packet)
        return;
    av_packet_rescale_ts(packet, AVRational{num, den}, stream->time_base);
    packet->stream_index = stream->index;
    std::unique_lock lock(writeMutex_);
    // Video waits for room; the little audio there is always goes in.
    if (stream == videoStream_)
        writeRoom_.wait(lock, [&] { return writeBytes_ < writeByteCapacity || failed_; });
    writeBytes_ += static_cast<std::size_t>(packet->size);
    writeQueue_.push_back(packet);
    writeReady_.notify_one();
}

void ClipRecorder::encodeLoop() {
    for (;;) {
        Item item;
        {
            std::unique_lock lock(encodeMutex_);
            encodeReady_.wait(lock, [&] { return !encodeQueue_.empty(); });
            item = encodeQueue_.front();
            encodeQueue_.pop_front();
            encodeBytes_ -= item.frame    ? frameBytes(item.frame)
                            : item.packet ? item.packet->size
                                          : 0;
        }
        if (item.end)
            break;
        if (!failed_)
            encode(item);
        av_frame_free(&item.frame);
        av_packet_free(&item.packet);
    }
    if (videoEncoder_ && !failed_)
        drainEncoder(true);
    encoderCpu_ = cpuSecondsOfThisThread();
    std::lock_guard lock(writeMutex_);
    encoderDone_ = true;
    writeReady_.notify_one();
}

bool ClipRecorder::encode(const Item& item) {
    if (item.packet) {
        AVPacket* p = av_packet_clone(item.packet);
        p->pts = p->dts = item.n;
        p->duration = 1;
        p->flags |= AV_PKT_FLAG_KEY;
        toWriter(p, videoStream_, frameRate_, 1);
        return true;
    }
    if (!prepareScaler(item.frame))
        return false;
    AVFrame* f = av_frame_alloc();
    f->format = videoEncoder_->pix_fmt;
    f->width = videoEncoder_->width;
    f->height = videoEncoder_->height;
    bool ok =
        av_frame_get_buffer(f, 0) >= 0 && sws_scale(sws_, item.frame->data, item.frame->linesize, 0,
                                                    item.frame->height, f->data, f->linesize) > 0;
    if (ok) {
        f->pts = item.n;
        ok = avcodec_send_frame(videoEncoder_, f) >= 0;
    }
    av_frame_free(&f);
    if (ok)
        drainEncoder(false);
    return ok;
}

// The converter from the camera's pictures (known with the first one) to
// the compressor's.
bool ClipRecorder::prepareScaler(const AVFrame* in) {
    const AVCodecContext* c = videoEncoder_;
    sws_ = sws_getCachedContext(sws_, in->width, in->height, static_cast<AVPixelFormat>(in->format),
                                c->width, c->height, c->pix_fmt, SWS_BILINEAR, nullptr, nullptr,
                                nullptr);
    if (!sws_)
        return false;
    if (c->color_range == AVCOL_RANGE_JPEG) {
        int* inv = nullptr;
        int* table = nullptr;
        int srcRange = 0, dstRange = 0, brightness = 0, contrast = 0, saturation = 0;
        sws_getColorspaceDetails(sws_, &inv, &srcRange, &table, &dstRange, &brightness, &contrast,
                                 &saturation);
        if (dstRange != 1)
            sws_setColorspaceDetails(sws_, inv, srcRange, table, 1, brightness, contrast,
                                     saturation);
    }
    return true;
}

void ClipRecorder::drainEncoder(bool flush) {
    if (flush)
        avcodec_send_frame(videoEncoder_, nullptr);
    AVPacket* p = av_packet_alloc();
    while (avcodec_receive_packet(videoEncoder_, p) >= 0) {
        p->duration = 1;
        toWriter(av_packet_clone(p), videoStream_, videoEncoder_->time_base.den,
                 videoEncoder_->time_base.num);
        av_packet_unref(p);
    }
    av_packet_free(&p);
}

void ClipRecorder::writeLoop() {
    for (;;) {
        AVPacket* p = nullptr;
        {
            std::unique_lock lock(writeMutex_);
            writeReady_.wait(lock, [&] { return !writeQueue_.empty() || encoderDone_; });
            if (writeQueue_.empty())
                break;
            p = writeQueue_.front();
            writeQueue_.pop_front();
            writeBytes_ -= static_cast<std::size_t>(p->size);
            writeRoom_.notify_all();
        }
        // The muxer takes the packet's data: what it is goes first.
        const bool picture = p->stream_index == videoStream_->index && p->size > 0;
        if (!failed_) {
            const int r = av_interleaved_write_frame(out_, p);
            if (r < 0)
                fail(writeErrorText(r));
            else if (picture)
                ++framesWritten_;
        }
        av_packet_free(&p);
    }
    writerCpu_ = cpuSecondsOfThisThread();
}

void ClipRecorder::fail(const QString& reason) {
    {
        std::lock_guard lock(failureMutex_);
        if (failed_)
            return;
        failure_ = reason;
        failed_ = true;
    }
    {
        std::lock_guard lock(writeMutex_);
        writeRoom_.notify_all();
    }
    if (onFailure_)
        onFailure_(reason);
}

QString ClipRecorder::failure() const {
    std::lock_guard lock(failureMutex_);
    return failure_;
}

long long ClipRecorder::finish() {
    if (finished_)
        return framesWritten_;
    finished_ = true;
    {
        std::lock_guard lock(encodeMutex_);
        Item end;
        end.end = true;
        encodeQueue_.push_back(end);
    }
    encodeReady_.notify_one();
    if (encoder_.joinable())
        encoder_.join();
    if (writer_.joinable())
        writer_.join();
    if (out_ && out_->pb) {
        // The index: without it the clip is still read chunk by chunk.
        const int r = av_write_trailer(out_);
        if (r < 0 && !failed_)
            fail(writeErrorText(r));
        if (const int c = closeClipFile(&out_->pb); c < 0 && !failed_)
            fail(writeErrorText(c));
    }
    return framesWritten_;
}

} // namespace zt
