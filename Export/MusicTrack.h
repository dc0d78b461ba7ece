#pragma once
#include <cstdint>
#include <string>

#include "Export/FFmpeg.h"

namespace ZEL {

// The music of a video: the track from `start` on, so that audio time 0 is the first
// frame's document time, cut at the video's end. The stream is copied when the container
// takes its codec and encoded anew (AAC, or Opus for WebM) when it does not.
class MusicTrack {
  public:
    ~MusicTrack();
    // Adds the audio stream to out (before its header is written). False with the reason.
    bool Open(const std::string& path, AVFormatContext* out, double startSeconds,
              double lengthSeconds, std::string* error);
    // Writes the music up to `seconds` of output time (interleaved by the muxer).
    bool WriteUntil(double seconds, std::string* error);
    // Writes the rest, up to the video's end (no further than seconds), and flushes the
    // encoder.
    bool Finish(double seconds, std::string* error);
    double WrittenSeconds() const { return m_Written; }

  private:
    bool OpenEncoder(const std::string& path, std::string* error);
    bool ReadPacket(bool* end, std::string* error);
    bool CopyPacket(AVPacket* packet, std::string* error);
    bool DecodePacket(AVPacket* packet, std::string* error);
    bool EncodeFromFifo(bool flush, std::string* error);
    bool Write(AVPacket* packet, std::string* error);

    InputPtr m_In;
    AVFormatContext* m_Out = nullptr;
    AVStream* m_InStream = nullptr;
    AVStream* m_OutStream = nullptr;
    CodecContextPtr m_Decoder, m_Encoder;
    ResamplerPtr m_Resampler;
    FifoPtr m_Fifo;
    bool m_Copy = false;
    bool m_InputEnded = false;
    double m_Start = 0, m_Length = 0;
    double m_Written = 0;      // output seconds written so far
    int64_t m_Samples = 0;     // encoder samples written (transcoding)
    int64_t m_MaxSamples = 0;  // the video's length in encoder samples
};

}  // namespace ZEL
