#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "Export/Exporter.h"
#include "Export/FFmpeg.h"
#include "Export/Timeline.h"
#include "Gfx/ImageDecoder.h"

namespace {

using namespace ZEL;

// What a decoder finds in a written file.
struct Decoded {
    double fps = 0, seconds = 0, audioSeconds = 0;
    bool audio = false;
    std::vector<std::vector<uint8_t>> frames;  // packed RGB
};

Decoded Decode(const std::string& path) {
    Decoded d;
    AVFormatContext* raw = nullptr;
    EXPECT_EQ(avformat_open_input(&raw, path.c_str(), nullptr, nullptr), 0) << path;
    if (!raw) {
        return d;
    }
    InputPtr in(raw);
    avformat_find_stream_info(raw, nullptr);
    d.seconds = raw->duration / static_cast<double>(AV_TIME_BASE);
    const int v = av_find_best_stream(raw, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int a = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    d.audio = a >= 0;
    EXPECT_GE(v, 0);
    AVStream* vs = raw->streams[v];
    d.fps = av_q2d(vs->avg_frame_rate);
    const AVCodec* codec = avcodec_find_decoder(vs->codecpar->codec_id);
    CodecContextPtr dec(avcodec_alloc_context3(codec));
    avcodec_parameters_to_context(dec.get(), vs->codecpar);
    avcodec_open2(dec.get(), codec, nullptr);
    SwsContext* toRgb = nullptr;
    PacketPtr packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    double audioEnd = 0;
    const auto take = [&] {
        while (avcodec_receive_frame(dec.get(), frame.get()) == 0) {
            toRgb = sws_getCachedContext(toRgb, frame->width, frame->height,
                                         static_cast<AVPixelFormat>(frame->format), frame->width,
                                         frame->height, AV_PIX_FMT_RGB24, SWS_POINT, nullptr,
                                         nullptr, nullptr);
            std::vector<uint8_t> rgb(static_cast<size_t>(frame->width) * frame->height * 3);
            uint8_t* dst[1] = {rgb.data()};
            const int stride[1] = {frame->width * 3};
            sws_scale(toRgb, frame->data, frame->linesize, 0, frame->height, dst, stride);
            d.frames.push_back(std::move(rgb));
        }
    };
    while (av_read_frame(raw, packet.get()) == 0) {
        if (packet->stream_index == v) {
            avcodec_send_packet(dec.get(), packet.get());
            take();
        } else if (packet->stream_index == a) {
            const AVRational tb = raw->streams[a]->time_base;
            audioEnd = std::max(audioEnd, (packet->pts + packet->duration) * av_q2d(tb));
        }
        av_packet_unref(packet.get());
    }
    avcodec_send_packet(dec.get(), nullptr);
    take();
    sws_freeContext(toRgb);
    d.audioSeconds = audioEnd;
    return d;
}

// A PNG written by the export, as packed RGB.
std::vector<uint8_t> PngRgb(const std::string& path) {
    std::unique_ptr<Gfx::ImageDecoder> png;
    EXPECT_EQ(Gfx::ImageDecoder::Open(path, {}, &png), Gfx::kOk) << path;
    const uint32_t w = png->GetWidth(), h = png->GetHeight();
    std::vector<uint8_t> bgra(static_cast<size_t>(w) * h * 4);
    png->CopyPixels(w * 4, static_cast<uint32_t>(bgra.size()), bgra.data());
    std::vector<uint8_t> rgb;
    for (size_t i = 0; i < bgra.size(); i += 4)
        rgb.insert(rgb.end(), {bgra[i + 2], bgra[i + 1], bgra[i]});
    return rgb;
}

class VideoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_Dir =
            std::filesystem::temp_directory_path() / ("zel_video_" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_Dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_Dir); }

    // 1.5 s of the show's intro at 160x120 and 20 fps.
    Exporter::Settings Show(const std::string& video, const std::string& music = "") {
        Exporter::Settings s;
        s.render.document = "data/vortel/postprocess.scn";
        s.render.width = 160;
        s.render.height = 120;
        s.render.dpi = 19.2f;
        s.times = FrameTimes(17000, 18450, 20);
        s.fps = 20;
        s.video = video.empty() ? "" : (m_Dir / video).string();
        s.music = music;
        return s;
    }
    void Run(const Exporter::Settings& s) {
        Exporter::Report report;
        std::string error;
        ASSERT_TRUE(Exporter().Run(s, &report, &error)) << error;
        EXPECT_EQ(report.frames, s.times.size());
    }

    std::filesystem::path m_Dir;
};

TEST_F(VideoTest, LosslessFramesAreThePngFramesAndTheMusicLastsAsLong) {
    Exporter::Settings s = Show("show.mkv", "data/music/duskwave.mp3");
    s.pngPattern = (m_Dir / "f%d.png").string();
    Run(s);
    const Decoded d = Decode(s.video);
    ASSERT_EQ(d.frames.size(), 30u);
    EXPECT_DOUBLE_EQ(d.fps, 20);
    EXPECT_NEAR(d.seconds, 1.5, 0.05);
    EXPECT_TRUE(d.audio);
    EXPECT_NEAR(d.audioSeconds, 1.5, 0.05);  // cut at the video's end, not the track's 154 s
    for (size_t k = 0; k < d.frames.size(); k += 7) {
        EXPECT_TRUE(d.frames[k] == PngRgb(FrameName(s.pngPattern, k))) << "frame " << k;
    }
}

TEST_F(VideoTest, H264IsCloseToTheFramesAndWebmGetsItsOwnSound) {
    Exporter::Settings s = Show("show.mp4", "data/music/duskwave.mp3");
    s.pngPattern = (m_Dir / "g%d.png").string();
    Run(s);
    const Decoded d = Decode(s.video);
    ASSERT_EQ(d.frames.size(), 30u);
    EXPECT_DOUBLE_EQ(d.fps, 20);
    EXPECT_TRUE(d.audio);
    EXPECT_NEAR(d.audioSeconds, 1.5, 0.05);
    for (size_t k = 0; k < d.frames.size(); k += 7) {
        const std::vector<uint8_t> png = PngRgb(FrameName(s.pngPattern, k));
        double sum = 0;
        for (size_t i = 0; i < png.size(); ++i) sum += std::abs(png[i] - d.frames[k][i]);
        // 4:2:0 chroma halves the colour of the intro's thin stars and lines at this size.
        EXPECT_LT(sum / png.size(), 5.0) << "frame " << k;
    }
    Run(Show("show.webm", "data/music/duskwave.mp3"));  // the track re-encoded as Opus
    const Decoded w = Decode((m_Dir / "show.webm").string());
    EXPECT_EQ(w.frames.size(), 30u);
    EXPECT_TRUE(w.audio);
    EXPECT_NEAR(w.audioSeconds, 1.5, 0.05);
}

TEST_F(VideoTest, AnimatedImagesHaveEveryFrame) {
    Run(Show("show.gif"));
    const Decoded g = Decode((m_Dir / "show.gif").string());
    EXPECT_EQ(g.frames.size(), 30u);
    EXPECT_FALSE(g.audio);
    Run(Show("show.webp"));
    EXPECT_GT(std::filesystem::file_size(m_Dir / "show.webp"), 1000u);
}

TEST_F(VideoTest, FailuresSayWhyAndLeaveNoFile) {
    struct Case {
        Exporter::Settings settings;
        std::string text;
    };
    Exporter::Settings badMusic = Show("music.mp4", "/etc/hostname");
    Exporter::Settings badPath = Show("");
    badPath.video = "/nonexistent/folder/x.mp4";
    Exporter::Settings badDoc = Show("doc.mp4");
    badDoc.render.document = (m_Dir / "missing.scn").string();
    for (const Case& c : {Case{badMusic, "could not read the music \"/etc/hostname\""},
                          Case{badPath, "could not write \"/nonexistent/folder/x.mp4\""},
                          Case{badDoc, "could not open the file"}}) {
        Exporter::Report report;
        std::string error;
        EXPECT_FALSE(Exporter().Run(c.settings, &report, &error));
        EXPECT_NE(error.find(c.text), std::string::npos) << error;
        EXPECT_FALSE(std::filesystem::exists(c.settings.video)) << c.settings.video;
    }
}

}  // namespace
