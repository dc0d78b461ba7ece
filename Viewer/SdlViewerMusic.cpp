#include "Viewer/SdlViewerMusic.h"

#include <SDL.h>

namespace ZEL {

namespace {
constexpr uint32_t kAudioRateHz = 44100;
}

std::unique_ptr<SdlViewerMusic> SdlViewerMusic::Open(const std::string& path,
                                                     std::string* problem) {
    auto music = std::make_unique<SdlViewerMusic>();
    if (!music->m_Music.Open(kAudioRateHz) || !music->m_Music.Load(path)) {
        *problem = SDL_GetError();
        return nullptr;
    }
    return music;
}

void SdlViewerMusic::PlayFrom(uint64_t positionMs) {
    m_Music.PlayFrom(static_cast<double>(positionMs) / 1000.0);
}

}  // namespace ZEL
