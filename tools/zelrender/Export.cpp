// Timeline export: PNG sequences and videos, with progress, a summary and a clean stop.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "Export/Exporter.h"
#include "Export/Timeline.h"
#include "Export/VideoFile.h"
#include "Modes.h"

namespace ZEL {

namespace {

void RequestStop(int) {
    Exporter::StopRequest() = true;
}

// Ctrl-C and kill end the export after the frame being drawn, not the process.
struct StopOnSignal {
    struct sigaction oldInt {
    }, oldTerm{};
    StopOnSignal() {
        struct sigaction a {};
        a.sa_handler = RequestStop;
        sigemptyset(&a.sa_mask);
        sigaction(SIGINT, &a, &oldInt);
        sigaction(SIGTERM, &a, &oldTerm);
    }
    ~StopOnSignal() {
        sigaction(SIGINT, &oldInt, nullptr);
        sigaction(SIGTERM, &oldTerm, nullptr);
    }
};

double PerSecond(size_t frames, double seconds) {
    return seconds > 0 ? frames / seconds : 0;
}

}  // namespace

int RunExport(const Options& o) {
    std::string error;
    if (!o.video.empty() && !VideoFile::KnownFormat(o.video, &error)) {
        Fail(error);
    }
    if (!o.music.empty() && !VideoFile::TakesSound(o.video)) {
        std::cerr << "zelrender: " << o.video << " can hold no sound; the music is left out"
                  << std::endl;
    }
    Exporter::Settings s;
    s.render = RenderSettings(o);
    s.times = FrameTimes(o.from, o.to, o.fps);
    s.fps = o.fps;
    s.pngPattern = o.outPattern;
    s.video = o.video;
    s.music = o.music;
    s.crf = o.crf;
    s.progress = !o.quiet && isatty(STDERR_FILENO);
    Exporter::Report report;
    {
        StopOnSignal stop;
        if (!Exporter().Run(s, &report, &error)) {
            Fail(error);
        }
    }
    if (report.stopped) {
        std::cerr << "stopped after " << report.frames << " of " << s.times.size() << " frames"
                  << (o.video.empty() ? "" : "; " + o.video + " plays up to there") << std::endl;
    }
    if (!o.quiet) {
        std::fprintf(stderr,
                     "export frames=%zu seconds=%.1f fps=%.1f render_fps=%.1f convert_fps=%.1f "
                     "encode_fps=%.1f png_fps=%.1f\n",
                     report.frames, report.seconds, PerSecond(report.frames, report.seconds),
                     PerSecond(report.frames, report.renderSeconds),
                     PerSecond(report.frames, report.convertSeconds),
                     PerSecond(report.frames, report.encodeSeconds),
                     PerSecond(report.frames, report.pngSeconds));
    }
    return report.stopped ? 130 : 0;
}

}  // namespace ZEL
