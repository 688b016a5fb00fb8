#include "ClipWriter.h"

#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace zt::test {

namespace {

constexpr int bitCount = 12;
constexpr int bitColumns = 6;

// Block of bit b: two rows of six blocks across the top half.
void bitBlock(int width, int height, int bit, int* x0, int* y0, int* w, int* h) {
    *w = width / bitColumns;
    *h = height / 6;
    *x0 = (bit % bitColumns) * *w;
    *y0 = (bit / bitColumns) * *h;
}

void paint(std::vector<uint8_t>& rgb, int width, int height, int number) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[size_t(y * width + x) * 3];
            const int v = (x * 2 + y + number * 5) & 0xFF;
            p[0] = uint8_t(v), p[1] = uint8_t((v + 85) & 0xFF), p[2] = uint8_t(255 - v);
        }
    for (int b = 0; b < bitCount; ++b) {
        int x0, y0, w, h;
        bitBlock(width, height, b, &x0, &y0, &w, &h);
        const uint8_t level = (number >> b) & 1 ? 255 : 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                std::fill_n(&rgb[size_t(y * width + x) * 3], 3, level);
    }
}

AVPixelFormat formatFor(const QString& encoder) {
    if (encoder == QLatin1String("rawvideo"))
        return AV_PIX_FMT_BGR24;
    if (encoder == QLatin1String("mjpeg"))
        return AV_PIX_FMT_YUVJ420P;
    return AV_PIX_FMT_YUV420P;
}

struct Writer {
    AVFormatContext* out = nullptr;
    AVCodecContext* enc = nullptr;
    AVStream* stream = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    SwsContext* sws = nullptr;

    ~Writer() {
        sws_freeContext(sws);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&enc);
        if (out && out->pb)
            avio_closep(&out->pb);
        avformat_free_context(out);
    }

    bool flush(AVFrame* f) {
        if (avcodec_send_frame(enc, f) < 0)
            return false;
        while (avcodec_receive_packet(enc, packet) == 0) {
            av_packet_rescale_ts(packet, enc->time_base, stream->time_base);
            packet->stream_index = stream->index;
            if (av_interleaved_write_frame(out, packet) < 0)
                return false;
        }
        return true;
    }

    bool openEncoder(const ClipParams& params) {
        const AVCodec* codec = avcodec_find_encoder_by_name(params.encoder.toUtf8().constData());
        if (!codec)
            return false;
        enc = avcodec_alloc_context3(codec);
        enc->width = params.width;
        enc->height = params.height;
        enc->time_base = {1, params.fps};
        enc->framerate = {params.fps, 1};
        enc->pix_fmt = formatFor(params.encoder);
        enc->gop_size = params.gop;
        enc->max_b_frames = params.bFrames;
        enc->thread_count = 1;
        if (params.encoder == QLatin1String("mjpeg") || params.encoder == QLatin1String("mpeg4")) {
            enc->flags |= AV_CODEC_FLAG_QSCALE;
            enc->global_quality = 4 * FF_QP2LAMBDA;
        }
        if (params.encoder == QLatin1String("libx264")) {
            av_opt_set(enc->priv_data, "preset", "veryfast", 0);
            av_opt_set_int(enc->priv_data, "crf", 20, 0);
        }
        if (out->oformat->flags & AVFMT_GLOBALHEADER)
            enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        return avcodec_open2(enc, codec, nullptr) >= 0;
    }
};

} // namespace

bool haveEncoder(const QString& name) {
    return avcodec_find_encoder_by_name(name.toUtf8().constData()) != nullptr;
}

bool writeClip(const QString& path, const ClipParams& params, QString* error) {
    auto fail = [error](const char* what) {
        if (error)
            *error = QString::fromLatin1(what);
        return false;
    };
    av_log_set_level(AV_LOG_QUIET);
    Writer w;
    const QByteArray file = path.toUtf8();
    if (avformat_alloc_output_context2(&w.out, nullptr, "avi", file.constData()) < 0)
        return fail("no avi muxer");
    if (!w.openEncoder(params))
        return fail("encoder does not open");
    w.stream = avformat_new_stream(w.out, nullptr);
    avcodec_parameters_from_context(w.stream->codecpar, w.enc);
    w.stream->time_base = w.enc->time_base;
    if (avio_open(&w.out->pb, file.constData(), AVIO_FLAG_WRITE) < 0)
        return fail("cannot create the file");
    if (avformat_write_header(w.out, nullptr) < 0)
        return fail("header");
    w.frame = av_frame_alloc();
    w.packet = av_packet_alloc();
    w.frame->format = w.enc->pix_fmt;
    w.frame->width = params.width;
    w.frame->height = params.height;
    if (av_frame_get_buffer(w.frame, 0) < 0)
        return fail("frame");
    w.sws = sws_getContext(params.width, params.height, AV_PIX_FMT_RGB24, params.width, params.height,
                           w.enc->pix_fmt, SWS_BILINEAR, nullptr, nullptr, nullptr);
    std::vector<uint8_t> rgb(size_t(params.width * params.height * 3));
    for (int n = 0; n < params.frames; ++n) {
        if (params.dropped.count(n))
            continue;
        paint(rgb, params.width, params.height, n);
        if (av_frame_make_writable(w.frame) < 0)
            return fail("frame");
        const uint8_t* src[1] = {rgb.data()};
        const int srcStride[1] = {params.width * 3};
        sws_scale(w.sws, src, srcStride, 0, params.height, w.frame->data, w.frame->linesize);
        w.frame->pts = n;
        if (!w.flush(w.frame))
            return fail("encode");
    }
    if (!w.flush(nullptr) || av_write_trailer(w.out) < 0)
        return fail("finish");
    return true;
}

int frameNumberOf(const QImage& image) {
    if (image.isNull())
        return -1;
    int number = 0;
    for (int b = 0; b < bitCount; ++b) {
        int x0, y0, w, h;
        bitBlock(image.width(), image.height(), b, &x0, &y0, &w, &h);
        const int gray = qGray(image.pixel(x0 + w / 2, y0 + h / 2));
        if (gray > 96 && gray < 160)
            return -1;
        if (gray >= 160)
            number |= 1 << b;
    }
    return number;
}

} // namespace zt::test
