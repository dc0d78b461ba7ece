#include "Export/Exporter.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include "Export/FFmpeg.h"
#include "Export/FrameQueue.h"
#include "Export/Palette.h"
#include "Export/PngWriter.h"
#include "Export/VideoFile.h"

namespace ZEL {

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kQueued = 8;       // frames in flight between two stages
constexpr size_t kPaletteStep = 6;  // every sixth frame shapes a GIF's palette

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The first error any stage meets; the others then stop.
class Failure {
  public:
    void Set(const std::string& text) {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_Text.empty()) {
            m_Text = text;
        }
        m_Failed = true;
    }
    bool Failed() const { return m_Failed; }
    std::string Text() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return m_Text;
    }

  private:
    std::mutex m_Mutex;
    std::string m_Text;
    std::atomic<bool> m_Failed{false};
};

void ShowProgress(size_t done, size_t total, Clock::time_point start) {
    const double elapsed = Since(start);
    const double fps = elapsed > 0 ? done / elapsed : 0;
    const double left = fps > 0 ? (total - done) / fps : 0;
    std::fprintf(stderr, "\r%zu of %zu frames, %.1f frames/s, %d:%02d left   ", done, total, fps,
                 static_cast<int>(left) / 60, static_cast<int>(left) % 60);
    std::fflush(stderr);
}

// The frame's pixels, in a buffer handed back by a later stage when there is one.
VideoFrame Capture(DocumentRenderer& renderer, size_t index,
                   FrameQueue<std::vector<uint8_t>>& spare) {
    VideoFrame frame;
    if (auto buffer = spare.TryPop()) {
        frame.bgra = std::move(*buffer);
    }
    const Gfx::SizeU size = renderer.Target().GetPixelSize();
    frame.width = size.width;
    frame.height = size.height;
    frame.stride = renderer.Stride();
    frame.index = index;
    const uint8_t* pixels = renderer.Pixels();
    frame.bgra.assign(pixels, pixels + static_cast<size_t>(frame.stride) * frame.height);
    return frame;
}

// A GIF's one palette, from every kPaletteStep-th frame of a run of its own.
bool MakePalette(const Exporter::Settings& s, Palette* palette, std::string* error) {
    DocumentRenderer renderer;
    if (!renderer.Open(s.render, error)) {
        return false;
    }
    for (size_t k = 0; k < s.times.size(); ++k) {
        if (!renderer.Update(s.times[k], error)) {
            return false;
        }
        if (k % kPaletteStep == 0) {
            if (!renderer.Render(error)) {
                return false;
            }
            const Gfx::SizeU size = renderer.Target().GetPixelSize();
            palette->Add(renderer.Pixels(), size.width, size.height, renderer.Stride());
        }
    }
    palette->Build();
    return true;
}

}  // namespace

std::atomic<bool>& Exporter::StopRequest() {
    static std::atomic<bool> stop{false};
    return stop;
}

std::string FrameName(const std::string& pattern, size_t index) {
    std::string name = pattern;
    const size_t at = name.find("%d");
    if (at != std::string::npos) {
        name.replace(at, 2, std::to_string(index));
    }
    return name;
}

bool Exporter::Run(const Settings& s, Report* report, std::string* error) {
    const auto start = Clock::now();
    Palette palette;
    if (!s.video.empty() && VideoFile::NeedsPalette(s.video) && !MakePalette(s, &palette, error)) {
        return false;
    }
    DocumentRenderer renderer;
    if (!renderer.Open(s.render, error)) {
        return false;
    }
    const Gfx::SizeU size = renderer.Target().GetPixelSize();
    std::unique_ptr<VideoFile> video;
    if (!s.video.empty()) {
        VideoFile::Settings v;
        v.path = s.video;
        v.width = size.width;
        v.height = size.height;
        v.fps = s.fps;
        v.crf = s.crf;
        v.music = s.music;
        v.musicStart = s.times.empty() ? 0 : s.times.front() / 1000.0;
        v.seconds = s.times.size() / s.fps;
        v.palette = &palette;
        video = std::make_unique<VideoFile>();
        if (!video->Open(v, error)) {
            video->Discard();
            return false;
        }
    }

    Failure failure;
    FrameQueue<VideoFrame> toVideo(kQueued), toPng(kQueued);
    FrameQueue<FramePtr> toEncoder(kQueued), spentFrames(kQueued);
    FrameQueue<std::vector<uint8_t>> spentPixels(2 * kQueued);
    double convertSeconds = 0, encodeSeconds = 0;
    std::thread converter, encoder, writer;
    if (video) {
        converter = std::thread([&] {
            while (auto frame = toVideo.Pop()) {
                const auto t0 = Clock::now();
                auto reuse = spentFrames.TryPop();
                FramePtr converted = video->Convert(*frame, reuse ? std::move(*reuse) : nullptr);
                convertSeconds += Since(t0);
                spentPixels.TryPush(std::move(frame->bgra));
                if (!converted) {
                    failure.Set("out of memory");
                } else if (!failure.Failed()) {
                    toEncoder.Push(std::move(converted));
                }
            }
            toEncoder.Close();
        });
        encoder = std::thread([&] {
            while (auto frame = toEncoder.Pop()) {
                const auto t0 = Clock::now();
                std::string e;
                FramePtr spent;
                if (!failure.Failed() && !video->Encode(std::move(*frame), &e, &spent)) {
                    failure.Set(e);
                }
                if (spent) {
                    spentFrames.TryPush(std::move(spent));
                }
                encodeSeconds += Since(t0);
            }
        });
    }
    // Compressing costs several times drawing: two writers keep up with the renderer.
    double pngBusy[2] = {0, 0};
    const auto writePngs = [&](double* busy) {
        while (auto frame = toPng.Pop()) {
            const auto t0 = Clock::now();
            std::string e;
            if (!failure.Failed() &&
                !WritePng(FrameName(s.pngPattern, frame->index), frame->bgra.data(), frame->width,
                          frame->height, frame->stride, &e)) {
                failure.Set(e);
            }
            spentPixels.TryPush(std::move(frame->bgra));
            *busy += Since(t0);
        }
    };
    std::thread writer2;
    if (!s.pngPattern.empty()) {
        writer = std::thread(writePngs, &pngBusy[0]);
        writer2 = std::thread(writePngs, &pngBusy[1]);
    }

    double renderSeconds = 0;
    auto lastProgress = Clock::now();
    size_t done = 0;
    for (; done < s.times.size() && !failure.Failed() && !StopRequest(); ++done) {
        const auto t0 = Clock::now();
        std::string e;
        if (!renderer.Frame(s.times[done], &e)) {
            failure.Set(e);
            break;
        }
        renderSeconds += Since(t0);
        if (video || !s.pngPattern.empty()) {
            VideoFrame frame = Capture(renderer, done, spentPixels);
            if (!s.pngPattern.empty()) {
                toPng.Push(video ? frame : std::move(frame));
            }
            if (video) {
                toVideo.Push(std::move(frame));
            }
        }
        if (s.progress && Since(lastProgress) > 0.25) {
            ShowProgress(done + 1, s.times.size(), start);
            lastProgress = Clock::now();
        }
    }
    toVideo.Close();
    toPng.Close();
    for (std::thread* t : {&converter, &encoder, &writer2}) {
        if (t->joinable()) {
            t->join();
        }
    }
    if (writer.joinable()) {
        writer.join();
    }
    if (s.progress) {
        ShowProgress(done, s.times.size(), start);
        std::fputc('\n', stderr);
    }
    std::string e;
    if (video && !failure.Failed() && !video->Finish(&e)) {
        failure.Set(e);
    }
    if (failure.Failed()) {
        if (video) {
            video->Discard();
        }
        *error = failure.Text();
        return false;
    }
    report->frames = done;
    report->stopped = done < s.times.size();
    report->seconds = Since(start);
    report->renderSeconds = renderSeconds;
    report->convertSeconds = convertSeconds;
    report->encodeSeconds = encodeSeconds;
    report->pngSeconds = (pngBusy[0] + pngBusy[1]) / 2;
    return true;
}

}  // namespace ZEL
