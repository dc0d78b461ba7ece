#include "Export/VideoFile.h"

#include <cstdio>
#include <cstring>

namespace ZEL {

namespace {

struct Format {
    const char* extension;
    const char* muxer;
    const char* encoder;
    AVPixelFormat pixels;
    bool sound;
};

const Format kFormats[] = {
    {".mp4", "mp4", "libx264", AV_PIX_FMT_YUV420P, true},
    {".webm", "webm", "libvpx-vp9", AV_PIX_FMT_YUV420P, true},
    {".mkv", "matroska", "ffv1", AV_PIX_FMT_BGR0, true},
    {".gif", "gif", "gif", AV_PIX_FMT_PAL8, false},
    {".webp", "webp", "libwebp_anim", AV_PIX_FMT_BGRA, false},
};

const Format* FormatOf(const std::string& path) {
    for (const Format& f : kFormats) {
        const size_t n = std::strlen(f.extension);
        if (path.size() > n && path.compare(path.size() - n, n, f.extension) == 0) {
            return &f;
        }
    }
    return nullptr;
}

// Speed and quality per encoder: fast enough to keep up with the renderer on two cores.
void SetEncoderOptions(AVCodecContext* c, const std::string& encoder, int crf) {
    const std::string quality = std::to_string(crf);
    if (encoder == "libx264") {
        av_opt_set(c->priv_data, "preset", "veryfast", 0);
        av_opt_set(c->priv_data, "crf", quality.c_str(), 0);
    } else if (encoder == "libvpx-vp9") {
        c->bit_rate = 0;  // constant quality
        av_opt_set(c->priv_data, "crf", quality.c_str(), 0);
        av_opt_set(c->priv_data, "deadline", "realtime", 0);
        av_opt_set(c->priv_data, "cpu-used", "8", 0);
        av_opt_set_int(c->priv_data, "row-mt", 1, 0);
    } else if (encoder == "ffv1") {
        av_opt_set_int(c->priv_data, "slices", 4, 0);
        c->level = 3;
    } else if (encoder == "libwebp_anim") {
        av_opt_set_int(c->priv_data, "quality", 80, 0);
    }
}

}  // namespace

VideoFile::~VideoFile() {
    Close();
}

bool VideoFile::KnownFormat(const std::string& path, std::string* error) {
    if (FormatOf(path)) {
        return true;
    }
    *error = "unknown video format \"" + path +
             "\": the name must end in .mp4 (H.264), .webm (VP9), .mkv (lossless FFV1), .gif or "
             ".webp";
    return false;
}

bool VideoFile::NeedsPalette(const std::string& path) {
    const Format* f = FormatOf(path);
    return f && f->pixels == AV_PIX_FMT_PAL8;
}

bool VideoFile::TakesSound(const std::string& path) {
    const Format* f = FormatOf(path);
    return f && f->sound;
}

bool VideoFile::Open(const Settings& settings, std::string* error) {
    av_log_set_level(AV_LOG_ERROR);  // encoder statistics would bury the progress line
    m_Settings = settings;
    const Format* format = FormatOf(settings.path);
    if (!format && !KnownFormat(settings.path, error)) {
        return false;
    }
    if (avformat_alloc_output_context2(&m_Out, nullptr, format->muxer, settings.path.c_str()) < 0) {
        *error = std::string("this system's FFmpeg cannot write ") + format->muxer + " files";
        return false;
    }
    if (!OpenVideo(error)) {
        return false;
    }
    if (!settings.music.empty() && format->sound) {
        m_Music = std::make_unique<MusicTrack>();
        if (!m_Music->Open(settings.music, m_Out, settings.musicStart, settings.seconds, error)) {
            return false;
        }
    }
    int r = avio_open(&m_Out->pb, settings.path.c_str(), AVIO_FLAG_WRITE);
    if (r < 0) {
        *error = "could not write \"" + settings.path + "\": " + AvError(r);
        return false;
    }
    AVDictionary* options = nullptr;
    av_dict_set(&options, "loop", "0", 0);  // animated images play over and over
    r = avformat_write_header(m_Out, std::string(format->muxer) == "webp" ? &options : nullptr);
    av_dict_free(&options);
    if (r < 0) {
        *error = "could not start \"" + settings.path + "\": " + AvError(r);
        return false;
    }
    m_HeaderWritten = true;
    return true;
}

bool VideoFile::OpenVideo(std::string* error) {
    const Format& format = *FormatOf(m_Settings.path);
    const AVCodec* codec = avcodec_find_encoder_by_name(format.encoder);
    if (!codec) {
        *error = std::string("this system's FFmpeg has no ") + format.encoder + " encoder";
        return false;
    }
    m_Stream = avformat_new_stream(m_Out, nullptr);
    m_Encoder.reset(avcodec_alloc_context3(codec));
    if (!m_Stream || !m_Encoder) {
        *error = "out of memory";
        return false;
    }
    AVCodecContext* c = m_Encoder.get();
    c->width = static_cast<int>(m_Settings.width);
    c->height = static_cast<int>(m_Settings.height);
    c->pix_fmt = format.pixels;
    const AVRational rate = av_d2q(m_Settings.fps, 100000);
    c->framerate = rate;
    c->time_base = av_inv_q(rate);
    c->gop_size = static_cast<int>(m_Settings.fps * 2);
    if (format.pixels == AV_PIX_FMT_YUV420P) {
        c->colorspace = AVCOL_SPC_SMPTE170M;  // the matrix the converter uses
        c->color_range = AVCOL_RANGE_MPEG;
    }
    if (m_Out->oformat->flags & AVFMT_GLOBALHEADER) {
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    SetEncoderOptions(c, format.encoder, m_Settings.crf);
    const int r = avcodec_open2(c, codec, nullptr);
    if (r < 0) {
        *error = std::string("could not open the ") + format.encoder + " encoder: " + AvError(r);
        return false;
    }
    avcodec_parameters_from_context(m_Stream->codecpar, c);
    m_Stream->time_base = c->time_base;
    m_Stream->avg_frame_rate = rate;
    if (format.pixels == AV_PIX_FMT_YUV420P) {
        m_Scaler = sws_getContext(c->width, c->height, AV_PIX_FMT_BGRA, c->width, c->height,
                                  AV_PIX_FMT_YUV420P, SWS_FAST_BILINEAR, nullptr, nullptr, nullptr);
    }
    if (format.pixels == AV_PIX_FMT_PAL8 && !m_Settings.palette) {
        *error = "a GIF needs the palette of its frames";
        return false;
    }
    return true;
}

// Into the encoder's pixel format: converted to YUV, mapped to the palette, or copied.
FramePtr VideoFile::Convert(const VideoFrame& in, FramePtr reuse) const {
    // Fresh frames of this size come straight from the kernel, page by page: reused ones
    // are much cheaper to fill.
    FramePtr f = reuse && av_frame_make_writable(reuse.get()) == 0 ? std::move(reuse) : nullptr;
    if (!f) {
        f.reset(av_frame_alloc());
        f->format = m_Encoder->pix_fmt;
        f->width = m_Encoder->width;
        f->height = m_Encoder->height;
        if (av_frame_get_buffer(f.get(), 0) < 0) {
            return nullptr;
        }
    }
    if (m_Scaler) {
        const uint8_t* src[1] = {in.bgra.data()};
        const int stride[1] = {static_cast<int>(in.stride)};
        sws_scale(m_Scaler, src, stride, 0, static_cast<int>(in.height), f->data, f->linesize);
        return f;
    }
    for (uint32_t y = 0; y < in.height; ++y) {
        const uint8_t* row = in.bgra.data() + static_cast<size_t>(y) * in.stride;
        uint8_t* out = f->data[0] + static_cast<size_t>(y) * f->linesize[0];
        if (f->format == AV_PIX_FMT_PAL8) {
            m_Settings.palette->Map(row, in.width, y, out);
        } else {
            std::memcpy(out, row, static_cast<size_t>(in.width) * 4);
        }
    }
    if (f->format == AV_PIX_FMT_PAL8) {
        std::memcpy(f->data[1], m_Settings.palette->Colors().data(), 256 * 4);
    }
    return f;
}

bool VideoFile::Encode(FramePtr frame, std::string* error, FramePtr* spent) {
    frame->pts = m_Next++;
    if (!Send(frame.get(), error)) {
        return false;
    }
    if (spent) {
        *spent = std::move(frame);  // encoders keep their own reference when they need one
    }
    // The music keeps up with the pictures, so the muxer need not hold much of either.
    return !m_Music || m_Music->WriteUntil(m_Next / m_Settings.fps, error);
}

bool VideoFile::Send(AVFrame* frame, std::string* error) {
    AVCodecContext* c = m_Encoder.get();
    int r = avcodec_send_frame(c, frame);
    if (r < 0) {
        *error = "could not encode a frame: " + AvError(r);
        return false;
    }
    PacketPtr packet(av_packet_alloc());
    while ((r = avcodec_receive_packet(c, packet.get())) == 0) {
        av_packet_rescale_ts(packet.get(), c->time_base, m_Stream->time_base);
        packet->stream_index = m_Stream->index;
        r = av_interleaved_write_frame(m_Out, packet.get());
        if (r < 0) {
            *error = "could not write \"" + m_Settings.path + "\": " + AvError(r);
            return false;
        }
    }
    return r == AVERROR(EAGAIN) || r == AVERROR_EOF;
}

bool VideoFile::Finish(std::string* error) {
    if (!Send(nullptr, error)) {
        return false;
    }
    if (m_Music) {
        // Only as far as the frames written, so a stopped export stays in step.
        if (!m_Music->Finish(m_Next / m_Settings.fps, error)) {
            return false;
        }
    }
    const int r = av_write_trailer(m_Out);
    m_HeaderWritten = false;
    if (r < 0) {
        *error = "could not finish \"" + m_Settings.path + "\": " + AvError(r);
        return false;
    }
    Close();
    return true;
}

void VideoFile::Close() {
    if (m_Scaler) {
        sws_freeContext(m_Scaler);
        m_Scaler = nullptr;
    }
    m_Music.reset();
    if (m_Out) {
        if (m_Out->pb) {
            avio_closep(&m_Out->pb);
        }
        avformat_free_context(m_Out);
        m_Out = nullptr;
    }
}

void VideoFile::Discard() {
    const bool opened = m_Out && m_Out->pb;
    Close();
    if (opened) {
        std::remove(m_Settings.path.c_str());
    }
}

}  // namespace ZEL
