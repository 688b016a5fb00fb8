#include "capture/CaptureSession.h"

#include "capture/CaptureInput.h"
#include "capture/ClipRecorder.h"
#include "capture/ThreadCpu.h"
#include "video/AviFile.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>

namespace zt {

namespace {

// The live picture is made at most this often.
constexpr double pictureInterval = 1.0 / 30;

double steadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

AVCodecContext* openDecoder(const AVStream* stream, QString* error) {
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        *error = QStringLiteral("No decoder for the device's format");
        return nullptr;
    }
    AVCodecContext* c = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(c, stream->codecpar);
    c->thread_count = 1;
    const int r = avcodec_open2(c, codec, nullptr);
    if (r < 0) {
        avcodec_free_context(&c);
        *error = QStringLiteral("The device's format cannot be decoded: ") + ffmpegErrorText(r);
        return nullptr;
    }
    return c;
}

} // namespace

std::unique_ptr<CaptureSession> CaptureSession::open(const Options& options, Listener* listener,
                                                     QString* error) {
    std::unique_ptr<CaptureSession> s(new CaptureSession);
    s->listener_ = listener;
    s->frameRate_ = qMax(1, options.frameRate);
    s->video_ = CaptureInput::open(options.video, &s->quit_, error);
    if (!s->video_)
        return nullptr;
    if (options.audio) {
        QString audioError;
        s->audio_ = CaptureInput::open(*options.audio, &s->quit_, &audioError);
        if (!s->audio_ && listener)
            listener->statusText(QStringLiteral("The audio device cannot be opened: ") +
                                 audioError);
    }
    if (!s->openDecoders(error))
        return nullptr;
    s->videoThread_ = std::thread([p = s.get()] { p->videoLoop(); });
    if (s->audio_)
        s->audioThread_ = std::thread([p = s.get()] { p->audioLoop(); });
    return s;
}

bool CaptureSession::openDecoders(QString* error) {
    videoDecoder_ = openDecoder(video_->stream(), error);
    if (!videoDecoder_)
        return false;
    decoded_ = av_frame_alloc();
    if (audio_) {
        QString audioError;
        audioDecoder_ = openDecoder(audio_->stream(), &audioError);
        if (!audioDecoder_)
            audio_.reset();
    }
    return true;
}

CaptureSession::~CaptureSession() {
    if (recording_)
        stopRecording();
    quit_ = true;
    {
        std::lock_guard lock(stillMutex_);
        stillReady_.notify_all();
    }
    if (videoThread_.joinable())
        videoThread_.join();
    if (audioThread_.joinable())
        audioThread_.join();
    if (speakers_) {
        av_write_trailer(speakers_);
        avformat_free_context(speakers_);
    }
    avcodec_free_context(&videoDecoder_);
    avcodec_free_context(&audioDecoder_);
    av_frame_free(&decoded_);
    sws_freeContext(pictureSws_);
}

QSize CaptureSession::videoSize() const {
    const AVCodecParameters* p = video_->stream()->codecpar;
    return {p->width, p->height};
}

bool CaptureSession::deliversMjpeg() const {
    return video_->stream()->codecpar->codec_id == AV_CODEC_ID_MJPEG;
}

void CaptureSession::videoLoop() {
    AVPacket* packet = av_packet_alloc();
    while (!quit_) {
        const int r = video_->read(packet);
        if (r == AVERROR(EAGAIN)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        if (r < 0) {
            if (quit_)
                break;
            const QString reason =
                r == AVERROR_EOF ? QStringLiteral("the camera stopped delivering pictures")
                                 : QStringLiteral("the camera stopped delivering pictures (") +
                                       ffmpegErrorText(r) + ')';
            endRecordingOnce(RecordingEnd::InputLost, reason);
            if (listener_)
                listener_->inputEnded(reason);
            break;
        }
        onVideoPacket(packet);
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
}

void CaptureSession::onVideoPacket(AVPacket* packet) {
    const double t = packet->pts != AV_NOPTS_VALUE ? video_->seconds(packet->pts) : steadySeconds();
    const bool wantPicture =
        preview_ && pictureTaken_ && t - lastPictureAt_ >= pictureInterval * 0.9;
    bool wantStill;
    {
        std::lock_guard lock(stillMutex_);
        wantStill = stillWanted_;
    }
    std::lock_guard lock(recordMutex_);
    const int64_t n = recording_ && !recorder_->failed() ? frameNumber(t) : -1;
    const bool needFrame = (n >= 0 && !copyPackets_) || wantPicture || wantStill;
    AVFrame* frame = needFrame ? decodeVideo(packet) : nullptr;
    if (n >= 0) {
        const bool taken = copyPackets_ ? recorder_->pushPacket(packet, n)
                                        : frame && recorder_->pushFrame(frame, n);
        ++(taken ? framesRecorded_ : framesDropped_);
    }
    if (frame && wantPicture) {
        lastPictureAt_ = t;
        makePicture(frame);
    }
    if (frame && wantStill)
        makeStill(frame);
}

AVFrame* CaptureSession::decodeVideo(AVPacket* packet) {
    av_frame_unref(decoded_);
    if (avcodec_send_packet(videoDecoder_, packet) < 0)
        return nullptr;
    return avcodec_receive_frame(videoDecoder_, decoded_) >= 0 ? decoded_ : nullptr;
}

int64_t CaptureSession::frameNumber(double t) {
    if (endSignalled_)
        return -1;
    const int64_t n = numbering_.next(t);
    if (n < 0)
        return -1;
    if (limitFrames_ > 0 && n >= limitFrames_) {
        endSignalled_ = true;
        if (listener_)
            listener_->recordingMustEnd(RecordingEnd::TimeLimit, QString());
        return -1;
    }
    framesDropped_ += numbering_.take(n); // frames the camera missed
    return n;
}

QImage CaptureSession::toImage(const AVFrame* f) {
    pictureSws_ = sws_getCachedContext(pictureSws_, f->width, f->height,
                                       static_cast<AVPixelFormat>(f->format), f->width, f->height,
                                       AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!pictureSws_)
        return {};
    QImage image(f->width, f->height, QImage::Format_RGB888);
    uint8_t* dst[4] = {image.bits(), nullptr, nullptr, nullptr};
    int stride[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    sws_scale(pictureSws_, f->data, f->linesize, 0, f->height, dst, stride);
    return image;
}

void CaptureSession::makePicture(const AVFrame* f) {
    QImage image = toImage(f);
    if (image.isNull())
        return;
    {
        std::lock_guard lock(pictureMutex_);
        picture_ = std::move(image);
    }
    pictureTaken_ = false;
    if (listener_)
        listener_->pictureReady();
}

void CaptureSession::makeStill(const AVFrame* f) {
    QImage image = toImage(f);
    std::lock_guard lock(stillMutex_);
    if (!image.isNull())
        still_ = std::move(image);
    stillWanted_ = false;
    stillReady_.notify_all();
}

QImage CaptureSession::picture() {
    std::lock_guard lock(pictureMutex_);
    pictureTaken_ = true;
    return picture_;
}

std::optional<QImage> CaptureSession::grabStill(QString* error) {
    std::unique_lock lock(stillMutex_);
    still_.reset();
    stillWanted_ = true;
    const bool got = stillReady_.wait_for(lock, std::chrono::seconds(3),
                                          [&] { return still_.has_value() || quit_; });
    stillWanted_ = false;
    if (!got || !still_) {
        *error = QStringLiteral("The camera delivers no picture");
        return std::nullopt;
    }
    return still_;
}

bool CaptureSession::startRecording(const ClipSettings& settings, QString* error) {
    std::lock_guard lock(recordMutex_);
    if (recorder_) {
        *error = QStringLiteral("A recording is already running");
        return false;
    }
    const AVStream* in = video_->stream();
    ClipRecorder::VideoIn video;
    video.width = in->codecpar->width;
    video.height = in->codecpar->height;
    video.pixelFormat = videoDecoder_->pix_fmt >= 0 ? videoDecoder_->pix_fmt : in->codecpar->format;
    copyPackets_ = settings.compression == Compression::Mjpeg && deliversMjpeg();
    if (copyPackets_)
        video.copyFrom = in->codecpar;
    std::optional<ClipRecorder::AudioIn> audio;
    if (audio_ && audioDecoder_ && settings.audio)
        audio =
            ClipRecorder::AudioIn{audioDecoder_->sample_rate, audioDecoder_->ch_layout.nb_channels,
                                  audioDecoder_->sample_fmt};
    auto onFailure = [this](const QString& reason) {
        if (listener_)
            listener_->recordingMustEnd(RecordingEnd::WriteFailed, reason);
    };
    recorder_ = ClipRecorder::open(settings, video, audio, onFailure, error);
    if (!recorder_)
        return false;
    numbering_.start(settings.frameRate);
    limitFrames_ = settings.timeLimitSeconds > 0
                       ? static_cast<int64_t>(settings.timeLimitSeconds) * numbering_.rate()
                       : 0;
    endSignalled_ = false;
    framesRecorded_ = framesDropped_ = samples_ = elapsedMs_ = 0;
    startedAt_ = std::chrono::steady_clock::now();
    cpu_ = {cpuSecondsOf(videoThread_), cpuSecondsOf(audioThread_), 0, 0};
    recording_ = true;
    return true;
}

RecordingEnd CaptureSession::stopRecording() {
    std::unique_ptr<ClipRecorder> recorder;
    {
        std::lock_guard lock(recordMutex_);
        if (!recorder_)
            return {};
        recording_ = false;
        recorder = std::move(recorder_);
        elapsedMs_ = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now() - startedAt_)
                         .count();
    }
    cpu_.video = cpuSecondsOf(videoThread_) - cpu_.video;
    cpu_.audio = cpuSecondsOf(audioThread_) - cpu_.audio;
    // The frames still queued are part of the clip: they are written now.
    const long long written = recorder->finish();
    cpu_.encoder = recorder->encoderCpuSeconds();
    cpu_.writer = recorder->writerCpuSeconds();
    RecordingEnd end;
    end.path = recorder->path();
    if (recorder->failed()) {
        end.kind = RecordingEnd::WriteFailed;
        end.reason = recorder->failure();
        // What a player can show of the clip: the last frame may be cut.
        const long long whole = wholeVideoFrames(end.path);
        framesRecorded_ = whole >= 0 ? std::min(written, whole) : written;
    }
    end.counters = counters();
    return end;
}

CaptureCounters CaptureSession::counters() const {
    CaptureCounters c;
    c.framesRecorded = framesRecorded_;
    c.framesDropped = framesDropped_;
    c.framesWritten = recorder_ ? recorder_->framesWritten() : framesRecorded_.load();
    c.samples = samples_;
    c.elapsedMs = recording_ ? std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now() - startedAt_)
                                   .count()
                             : elapsedMs_.load();
    return c;
}

CaptureSession::CpuTimes CaptureSession::cpuTimes() {
    return cpu_;
}

void CaptureSession::endRecordingOnce(RecordingEnd::Kind kind, const QString& reason) {
    std::lock_guard lock(recordMutex_);
    if (!recording_ || endSignalled_)
        return;
    endSignalled_ = true;
    if (listener_)
        listener_->recordingMustEnd(kind, reason);
}

void CaptureSession::audioLoop() {
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    while (!quit_) {
        const int r = audio_->read(packet);
        if (r == AVERROR(EAGAIN)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        if (r < 0) {
            if (!quit_ && listener_)
                listener_->statusText(QStringLiteral("The audio device stopped: ") +
                                      ffmpegErrorText(r));
            break;
        }
        if (avcodec_send_packet(audioDecoder_, packet) >= 0) {
            while (avcodec_receive_frame(audioDecoder_, frame) >= 0) {
                std::lock_guard lock(recordMutex_);
                if (recorder_ && numbering_.started() && !endSignalled_)
                    samples_ += recorder_->pushAudio(frame);
            }
        }
        if (listen_)
            playAudio(packet);
        av_packet_unref(packet);
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
}

void CaptureSession::playAudio(AVPacket* packet) {
    if (speakersFailed_)
        return;
    if (!speakers_) {
        for (const char* device : {"pulse", "alsa"}) {
            AVFormatContext* out = nullptr;
            if (avformat_alloc_output_context2(&out, nullptr, device, "default") < 0 || !out)
                continue;
            AVStream* st = avformat_new_stream(out, nullptr);
            avcodec_parameters_copy(st->codecpar, audio_->stream()->codecpar);
            st->time_base = audio_->stream()->time_base;
            if (avformat_write_header(out, nullptr) >= 0) {
                speakers_ = out;
                break;
            }
            avformat_free_context(out);
        }
        if (!speakers_) {
            speakersFailed_ = true;
            if (listener_)
                listener_->statusText(QStringLiteral("No speakers to listen with"));
            return;
        }
    }
    AVPacket* copy = av_packet_clone(packet);
    copy->stream_index = 0;
    av_write_frame(speakers_, copy);
    av_packet_free(&copy);
}

} // namespace zt
