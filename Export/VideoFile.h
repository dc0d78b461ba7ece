#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "Export/FFmpeg.h"
#include "Export/FrameQueue.h"
#include "Export/MusicTrack.h"
#include "Export/Palette.h"

namespace ZEL {

// A video file of opaque frames at a constant rate, its container and codec chosen by the
// file name: .mp4 H.264, .webm VP9, .mkv lossless FFV1, .gif, .webp animated. With music,
// the track is muxed so that its time 0 is the first frame's document time.
class VideoFile {
  public:
    struct Settings {
        std::string path;
        uint32_t width = 0, height = 0;
        double fps = 60;
        int crf = 18;                      // H.264 and VP9 quality, lower is better
        std::string music;                 // empty: no sound
        double musicStart = 0;             // seconds into the track of the first frame
        double seconds = 0;                // the video's length, for cutting the music
        const Palette* palette = nullptr;  // GIF: the frames' palette
    };

    ~VideoFile();
    // Whether the name asks for a known format; the message lists them when not.
    static bool KnownFormat(const std::string& path, std::string* error);
    static bool NeedsPalette(const std::string& path);
    static bool TakesSound(const std::string& path);

    bool Open(const Settings& settings, std::string* error);
    // The two stages of writing a frame, for two threads: the conversion into the encoder's
    // pixel format (null when out of memory), then the encoding, which takes converted
    // frames in order. Write does both.
    // reuse: a frame Encode handed back, or null.
    FramePtr Convert(const VideoFrame& frame, FramePtr reuse = nullptr) const;
    // *spent gets the frame back once the encoder is done with it, for Convert to reuse.
    bool Encode(FramePtr frame, std::string* error, FramePtr* spent = nullptr);
    bool Write(const VideoFrame& frame, std::string* error) {
        FramePtr converted = Convert(frame);
        if (!converted) {
            *error = "out of memory";
            return false;
        }
        return Encode(std::move(converted), error);
    }
    // Flushes the encoder and the music and writes the trailer: the file plays.
    bool Finish(std::string* error);
    // After a failure: closes and removes what was written.
    void Discard();
    bool HasMusic() const { return m_Music != nullptr; }

  private:
    bool OpenVideo(std::string* error);
    bool Send(AVFrame* frame, std::string* error);
    void Close();

    Settings m_Settings;
    AVFormatContext* m_Out = nullptr;
    AVStream* m_Stream = nullptr;
    CodecContextPtr m_Encoder;
    SwsContext* m_Scaler = nullptr;  // used by the converting thread only
    std::unique_ptr<MusicTrack> m_Music;
    bool m_HeaderWritten = false;
    int64_t m_Next = 0;  // pts of the next frame
};

}  // namespace ZEL
