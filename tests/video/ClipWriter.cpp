#include "ClipWriter.h"

#include <algorithm>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
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

AVPixelFormat formatFor(const ClipParams& params) {
    const QString& encoder = params.encoder;
    if (!params.pixelFormat.isEmpty())
        return av_get_pix_fmt(params.pixelFormat.toLatin1().constData());
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
    int64_t nextSample = 0; // on the clip's timeline, after the last chunk written

    ~Writer() {
        sws_freeContext(sws);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&enc);
        if (out && out->pb)
            avio_closep(&out->pb);
        avformat_free_context(out);
    }

    // Empty chunks for the samples before sample that have no picture, as a
    // recorder writes them for dropped frames. The muxer fills gaps between
    // pictures itself, but not before the first or after the last.
    bool emptyUpTo(int64_t sample) {
        for (; nextSample < sample; ++nextSample) {
            AVPacket* empty = av_packet_alloc();
            empty->pts = empty->dts = nextSample;
            empty->duration = 1;
            av_packet_rescale_ts(empty, enc->time_base, stream->time_base);
            empty->stream_index = stream->index;
            const int r = av_interleaved_write_frame(out, empty);
            av_packet_free(&empty);
            if (r < 0)
                return false;
        }
        return true;
    }

    bool flush(AVFrame* f, const ClipParams& params) {
        if (avcodec_send_frame(enc, f) < 0)
            return false;
        while (avcodec_receive_packet(enc, packet) == 0) {
            if (params.damaged.count(int(packet->pts)) && av_packet_make_writable(packet) >= 0)
                std::fill_n(packet->data, packet->size, uint8_t(0));
            if (params.bFrames == 0) {
                if (!emptyUpTo(packet->dts))
                    return false;
                nextSample = packet->dts + 1;
            }
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
        enc->pix_fmt = formatFor(params);
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
    AVDictionary* muxerOptions = nullptr;
    if (params.bottomUp)
        av_dict_set(&muxerOptions, "flipped_raw_rgb", "1", 0);
    const int header = avformat_write_header(w.out, &muxerOptions);
    av_dict_free(&muxerOptions);
    if (header < 0)
        return fail("header");
    w.frame = av_frame_alloc();
    w.packet = av_packet_alloc();
    w.frame->format = w.enc->pix_fmt;
    w.frame->width = params.width;
    w.frame->height = params.height;
    if (av_frame_get_buffer(w.frame, 0) < 0)
        return fail("frame");
    w.sws = sws_getContext(params.width, params.height, AV_PIX_FMT_RGB24, params.width,
                           params.height, w.enc->pix_fmt, SWS_BILINEAR, nullptr, nullptr, nullptr);
    if (!w.sws)
        return fail("no conversion to the encoder's format");
    std::vector<int> samples = params.samples;
    if (samples.empty())
        for (int n = 0; n < params.frames; ++n)
            if (!params.dropped.count(n))
                samples.push_back(n);
    // Room past the last row: the converter may read whole blocks.
    std::vector<uint8_t> rgb(size_t(params.width) * size_t(params.height) * 3 + 256);
    const int rowBytes = params.width * 3;
    for (const int n : samples) {
        paint(rgb, params.width, params.height, n);
        if (av_frame_make_writable(w.frame) < 0)
            return fail("frame");
        // Bottom-up storage: the encoder is handed the rows upside down.
        const uint8_t* src[1] = {params.bottomUp ? rgb.data() + size_t(params.height - 1) * rowBytes
                                                 : rgb.data()};
        const int srcStride[1] = {params.bottomUp ? -rowBytes : rowBytes};
        sws_scale(w.sws, src, srcStride, 0, params.height, w.frame->data, w.frame->linesize);
        w.frame->pts = n;
        if (!w.flush(w.frame, params))
            return fail("encode");
    }
    if (!w.flush(nullptr, params))
        return fail("finish");
    if (params.samples.empty() && params.bFrames == 0 && !w.emptyUpTo(params.frames))
        return fail("finish");
    if (av_write_trailer(w.out) < 0)
        return fail("finish");
    return true;
}

QImage paintedPicture(int width, int height, int number) {
    std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
    paint(rgb, width, height, number);
    QImage img(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        std::copy_n(&rgb[size_t(y) * size_t(width) * 3], size_t(width) * 3, img.scanLine(y));
    return img;
}

std::vector<QImage> referencePictures(const QString& path) {
    std::vector<QImage> pictures;
    AVFormatContext* in = nullptr;
    const QByteArray file = path.toUtf8();
    if (avformat_open_input(&in, file.constData(), nullptr, nullptr) < 0)
        return pictures;
    AVCodecContext* dec = nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    SwsContext* sws = nullptr;
    const int stream = avformat_find_stream_info(in, nullptr) >= 0
                           ? av_find_best_stream(in, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0)
                           : -1;
    const AVCodec* codec =
        stream >= 0 ? avcodec_find_decoder(in->streams[stream]->codecpar->codec_id) : nullptr;
    if (codec) {
        dec = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(dec, in->streams[stream]->codecpar);
        dec->thread_count = 1;
    }
    const auto take = [&] {
        while (avcodec_receive_frame(dec, frame) == 0) {
            // Rows long enough for any block the converter works in.
            const int stride = (frame->width + 63) / 64 * 64 * 3;
            std::vector<uint8_t> rows(size_t(stride) * size_t(frame->height));
            sws = sws_getCachedContext(sws, frame->width, frame->height,
                                       AVPixelFormat(frame->format), frame->width, frame->height,
                                       AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
            uint8_t* dst[4] = {rows.data(), nullptr, nullptr, nullptr};
            int dstStride[4] = {stride, 0, 0, 0};
            sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, dstStride);
            QImage img(frame->width, frame->height, QImage::Format_BGR888);
            for (int y = 0; y < frame->height; ++y)
                std::copy_n(&rows[size_t(y) * size_t(stride)], size_t(frame->width) * 3,
                            img.scanLine(y));
            pictures.push_back(img);
        }
    };
    if (dec && avcodec_open2(dec, codec, nullptr) >= 0) {
        while (av_read_frame(in, packet) >= 0) {
            if (packet->stream_index == stream && packet->size > 0 &&
                avcodec_send_packet(dec, packet) >= 0)
                take();
            av_packet_unref(packet);
        }
        avcodec_send_packet(dec, nullptr);
        take();
    }
    sws_freeContext(sws);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&dec);
    avformat_close_input(&in);
    return pictures;
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
