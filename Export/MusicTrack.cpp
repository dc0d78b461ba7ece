#include "Export/MusicTrack.h"

#include <algorithm>
#include <cmath>

#include "Gfx/RegularFile.h"

namespace ZEL {

namespace {

// Opus takes 48 kHz only; WebM takes Opus or Vorbis only.
const char* EncoderFor(const AVOutputFormat* format) {
    return std::string(format->name).find("webm") != std::string::npos ? "libopus" : "aac";
}

}  // namespace

MusicTrack::~MusicTrack() = default;

bool MusicTrack::Open(const std::string& path, AVFormatContext* out, double startSeconds,
                      double lengthSeconds, std::string* error) {
    m_Out = out;
    m_Start = startSeconds;
    m_Length = lengthSeconds;
    // A FIFO would block the open for ever and a device would never end.
    if (!Gfx::RegularFile(path).IsOpen()) {
        *error = "could not read the music \"" + path + "\": it is not a regular file";
        return false;
    }
    AVFormatContext* in = nullptr;
    int r = avformat_open_input(&in, path.c_str(), nullptr, nullptr);
    if (r < 0) {
        *error = "could not read the music \"" + path + "\": " + AvError(r);
        return false;
    }
    m_In.reset(in);
    r = avformat_find_stream_info(in, nullptr);
    const int index = r < 0 ? r : av_find_best_stream(in, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (index < 0) {
        *error = "could not read the music \"" + path + "\": it holds no sound";
        return false;
    }
    m_InStream = in->streams[index];
    if (m_Start > 0) {
        av_seek_frame(in, -1, static_cast<int64_t>(m_Start * AV_TIME_BASE), AVSEEK_FLAG_BACKWARD);
    }
    m_Copy = avformat_query_codec(out->oformat, m_InStream->codecpar->codec_id,
                                  FF_COMPLIANCE_NORMAL) == 1;
    m_OutStream = avformat_new_stream(out, nullptr);
    if (!m_OutStream) {
        *error = "out of memory";
        return false;
    }
    if (m_Copy) {
        avcodec_parameters_copy(m_OutStream->codecpar, m_InStream->codecpar);
        m_OutStream->codecpar->codec_tag = 0;
        m_OutStream->time_base = m_InStream->time_base;
        return true;
    }
    return OpenEncoder(path, error);
}

bool MusicTrack::OpenEncoder(const std::string& path, std::string* error) {
    const AVCodec* decoder = avcodec_find_decoder(m_InStream->codecpar->codec_id);
    m_Decoder.reset(decoder ? avcodec_alloc_context3(decoder) : nullptr);
    if (!m_Decoder || avcodec_parameters_to_context(m_Decoder.get(), m_InStream->codecpar) < 0 ||
        avcodec_open2(m_Decoder.get(), decoder, nullptr) < 0) {
        *error = "could not decode the music \"" + path + "\"";
        return false;
    }
    const char* name = EncoderFor(m_Out->oformat);
    const AVCodec* encoder = avcodec_find_encoder_by_name(name);
    if (!encoder) {
        *error = std::string("this system's FFmpeg has no ") + name + " encoder for the music";
        return false;
    }
    m_Encoder.reset(avcodec_alloc_context3(encoder));
    AVCodecContext* e = m_Encoder.get();
    e->sample_rate = std::string(name) == "libopus" ? 48000 : m_Decoder->sample_rate;
    e->sample_fmt = encoder->sample_fmts ? encoder->sample_fmts[0] : AV_SAMPLE_FMT_FLTP;
    av_channel_layout_default(&e->ch_layout, 2);
    e->bit_rate = 192000;
    e->time_base = AVRational{1, e->sample_rate};
    if (m_Out->oformat->flags & AVFMT_GLOBALHEADER) {
        e->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    int r = avcodec_open2(e, encoder, nullptr);
    if (r < 0) {
        *error = std::string("could not open the ") + name + " encoder: " + AvError(r);
        return false;
    }
    avcodec_parameters_from_context(m_OutStream->codecpar, e);
    m_OutStream->time_base = e->time_base;
    SwrContext* swr = nullptr;
    r = swr_alloc_set_opts2(&swr, &e->ch_layout, e->sample_fmt, e->sample_rate,
                            &m_Decoder->ch_layout, m_Decoder->sample_fmt, m_Decoder->sample_rate, 0,
                            nullptr);
    m_Resampler.reset(swr);
    if (r < 0 || swr_init(swr) < 0) {
        *error = "could not convert the music's samples";
        return false;
    }
    m_Fifo.reset(av_audio_fifo_alloc(e->sample_fmt, e->ch_layout.nb_channels, 4096));
    m_MaxSamples = static_cast<int64_t>(std::llround(m_Length * e->sample_rate));
    return true;
}

bool MusicTrack::WriteUntil(double seconds, std::string* error) {
    seconds = std::min(seconds, m_Length);
    while (!m_InputEnded && m_Written < seconds) {
        bool end = false;
        if (!ReadPacket(&end, error)) {
            return false;
        }
        m_InputEnded = end;
    }
    return true;
}

bool MusicTrack::Finish(double seconds, std::string* error) {
    m_Length = std::min(m_Length, seconds);
    if (m_Encoder) {
        m_MaxSamples = static_cast<int64_t>(std::llround(m_Length * m_Encoder->sample_rate));
    }
    if (!WriteUntil(m_Length, error)) {
        return false;
    }
    if (m_Copy) {
        return true;
    }
    if (!EncodeFromFifo(true, error)) {
        return false;
    }
    avcodec_send_frame(m_Encoder.get(), nullptr);
    PacketPtr packet(av_packet_alloc());
    while (avcodec_receive_packet(m_Encoder.get(), packet.get()) == 0) {
        if (!Write(packet.get(), error)) {
            return false;
        }
    }
    return true;
}

// One packet of the music, copied or decoded into the sample queue; *end past the last one
// or once the video's length is reached.
bool MusicTrack::ReadPacket(bool* end, std::string* error) {
    PacketPtr packet(av_packet_alloc());
    const int r = av_read_frame(m_In.get(), packet.get());
    if (r < 0) {
        *end = true;
        if (!m_Copy) {
            avcodec_send_packet(m_Decoder.get(), nullptr);
            return DecodePacket(nullptr, error);
        }
        return true;
    }
    if (packet->stream_index != m_InStream->index) {
        return true;
    }
    return m_Copy ? CopyPacket(packet.get(), error) : DecodePacket(packet.get(), error);
}

bool MusicTrack::CopyPacket(AVPacket* packet, std::string* error) {
    const AVRational tb = m_InStream->time_base;
    const int64_t start = static_cast<int64_t>(std::llround(m_Start / av_q2d(tb)));
    if (packet->pts == AV_NOPTS_VALUE || packet->pts < start) {
        return true;  // before the first frame
    }
    const double at = (packet->pts - start) * av_q2d(tb);
    if (at >= m_Length) {
        m_Written = m_Length;
        return true;  // after the last frame: the rest is cut
    }
    packet->pts -= start;
    packet->dts = packet->dts == AV_NOPTS_VALUE ? packet->pts : packet->dts - start;
    m_Written = at + packet->duration * av_q2d(tb);
    av_packet_rescale_ts(packet, tb, m_OutStream->time_base);
    return Write(packet, error);
}

bool MusicTrack::DecodePacket(AVPacket* packet, std::string* error) {
    if (packet && avcodec_send_packet(m_Decoder.get(), packet) < 0) {
        return true;  // a damaged packet: its samples are skipped
    }
    FramePtr frame(av_frame_alloc());
    const AVCodecContext* e = m_Encoder.get();
    while (avcodec_receive_frame(m_Decoder.get(), frame.get()) == 0) {
        // Samples before the first frame's time are dropped.
        const double at =
            frame->pts == AV_NOPTS_VALUE ? m_Start : frame->pts * av_q2d(m_InStream->time_base);
        int skip = 0;
        if (at < m_Start) {
            skip = static_cast<int>(
                std::min<double>(frame->nb_samples, (m_Start - at) * frame->sample_rate));
        }
        const int outCapacity = swr_get_out_samples(m_Resampler.get(), frame->nb_samples);
        FramePtr converted(av_frame_alloc());
        converted->format = e->sample_fmt;
        converted->sample_rate = e->sample_rate;
        av_channel_layout_copy(&converted->ch_layout, &e->ch_layout);
        converted->nb_samples = outCapacity;
        if (av_frame_get_buffer(converted.get(), 0) < 0) {
            *error = "out of memory";
            return false;
        }
        const int n =
            swr_convert(m_Resampler.get(), converted->data, outCapacity,
                        const_cast<const uint8_t**>(frame->extended_data), frame->nb_samples);
        const int dropped =
            static_cast<int>(static_cast<int64_t>(skip) * e->sample_rate / frame->sample_rate);
        if (n > dropped) {
            // Shift past the dropped samples by writing the whole frame and reading them off.
            av_audio_fifo_write(m_Fifo.get(), reinterpret_cast<void**>(converted->data), n);
            if (dropped > 0) {
                av_audio_fifo_drain(m_Fifo.get(), dropped);
            }
        }
        av_frame_unref(frame.get());
        if (!EncodeFromFifo(false, error)) {
            return false;
        }
    }
    return true;
}

// Encoder-sized frames from the queue, stopping at the video's length; flush sends a last,
// shorter frame.
bool MusicTrack::EncodeFromFifo(bool flush, std::string* error) {
    AVCodecContext* e = m_Encoder.get();
    const int size = e->frame_size > 0 ? e->frame_size : 1024;
    while (av_audio_fifo_size(m_Fifo.get()) >= size ||
           (flush && av_audio_fifo_size(m_Fifo.get()) > 0)) {
        const int64_t left = m_MaxSamples - m_Samples;
        const int n = static_cast<int>(std::min<int64_t>(
            {size, av_audio_fifo_size(m_Fifo.get()), std::max<int64_t>(left, 0)}));
        if (n <= 0) {
            av_audio_fifo_reset(m_Fifo.get());
            m_Written = m_Length;
            return true;
        }
        FramePtr frame(av_frame_alloc());
        frame->nb_samples = n;
        frame->format = e->sample_fmt;
        frame->sample_rate = e->sample_rate;
        av_channel_layout_copy(&frame->ch_layout, &e->ch_layout);
        if (av_frame_get_buffer(frame.get(), 0) < 0) {
            *error = "out of memory";
            return false;
        }
        av_audio_fifo_read(m_Fifo.get(), reinterpret_cast<void**>(frame->data), n);
        frame->pts = m_Samples;
        m_Samples += n;
        m_Written = static_cast<double>(m_Samples) / e->sample_rate;
        if (avcodec_send_frame(e, frame.get()) < 0) {
            *error = "could not encode the music";
            return false;
        }
        PacketPtr packet(av_packet_alloc());
        while (avcodec_receive_packet(e, packet.get()) == 0) {
            if (!Write(packet.get(), error)) {
                return false;
            }
        }
    }
    return true;
}

bool MusicTrack::Write(AVPacket* packet, std::string* error) {
    packet->stream_index = m_OutStream->index;
    if (!m_Copy) {
        av_packet_rescale_ts(packet, m_Encoder->time_base, m_OutStream->time_base);
    }
    const int r = av_interleaved_write_frame(m_Out, packet);
    if (r < 0) {
        *error = "could not write the music: " + AvError(r);
        return false;
    }
    return true;
}

}  // namespace ZEL
