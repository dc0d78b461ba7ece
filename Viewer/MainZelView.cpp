// zelview: plays a document in a window, reloads it when its files change, and shows what
// it is doing. See docs/man/zelview.1.
#include <SDL.h>

#include <iostream>
#include <memory>
#include <string>

#include "Core/IFactory.h"
#include "Viewer/InotifyWatcher.h"
#include "Viewer/NoMusic.h"
#include "Viewer/SdlViewerMusic.h"
#include "Viewer/SdlViewerWindow.h"
#include "Viewer/SteadyClock.h"
#include "Viewer/Viewer.h"
#include "Viewer/ViewerOptions.h"

namespace {

// SDL goes last, after everything that used it.
struct SdlQuitAtExit {
    ~SdlQuitAtExit() { SDL_Quit(); }
};

// Silence when none was asked for; when the track cannot be played the viewer still runs.
std::unique_ptr<ZEL::IMusic> OpenMusic(const std::string& path) {
    if (path.empty()) {
        return std::make_unique<ZEL::NoMusic>();
    }
    std::string problem;
    auto music = ZEL::SdlViewerMusic::Open(path, &problem);
    if (!music) {
        std::cerr << "zelview: cannot play " << path << ": " << problem << " (going on without)"
                  << std::endl;
        return std::make_unique<ZEL::NoMusic>();
    }
    return music;
}

}  // namespace

int main(int argc, char** argv) {
    ZEL::ViewerOptions options;
    std::string problem;
    switch (ZEL::ParseViewerOptions(argc, argv, &options, &problem)) {
        case ZEL::ParseOutcome::Help:
            std::cout << ZEL::kViewerUsage;
            return 0;
        case ZEL::ParseOutcome::Version:
            std::cout << "zelview " << ZEL_VERSION << "\n";
            return 0;
        case ZEL::ParseOutcome::Bad:
            std::cerr << "zelview: " << problem << "\n" << ZEL::kViewerUsage;
            return 2;
        case ZEL::ParseOutcome::Run:
            break;
    }
    SdlQuitAtExit sdl;
    auto window =
        ZEL::SdlViewerWindow::Create(options.widthDips, options.heightDips, options.dpi, &problem);
    if (!window) {
        std::cerr << "no display: " << problem << std::endl;
        return 1;
    }
    std::unique_ptr<ZEL::IMusic> music = OpenMusic(options.music);
    std::unique_ptr<ZEL::IFactory> factory(ZEL::GetFactory());
    if (!factory) {
        std::cerr << "Unable to create ZEL Factory" << std::endl;
        return 1;
    }
    ZEL::SteadyClock clock;
    ZEL::InotifyWatcher watcher;
    ZEL::Viewer viewer(ZEL::ViewerConfig{options.document, options.startMs, &std::cout, &std::cerr},
                       *factory, clock, watcher, *music, *window);
    return viewer.Run();
}
