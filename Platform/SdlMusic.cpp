#include "Platform/SdlMusic.h"

#include <SDL.h>

#include <cstdio>

#include "Gfx/RegularFile.h"
#include "Platform/NativePath.h"

namespace ZEL {

namespace {
constexpr int kChannels = 2;
constexpr int kChunkFrames = 2048;
}  // namespace

SdlMusic::~SdlMusic() {
    Free();
}

bool SdlMusic::Open(uint32_t rateHz) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    m_Open =
        Mix_OpenAudio(static_cast<int>(rateHz), MIX_DEFAULT_FORMAT, kChannels, kChunkFrames) == 0;
    return m_Open;
}

bool SdlMusic::Load(const std::string& path) {
    if (!m_Open) {
        return false;
    }
    // Only a regular file: a FIFO would block the load for ever and a device never ends.
    std::FILE* file = Gfx::RegularFile(ToNativePath(path)).ReleaseAsStream();
    SDL_RWops* rw = file ? SDL_RWFromFP(file, SDL_TRUE) : nullptr;
    if (!file) {
        SDL_SetError("%s is not a regular file that can be read", path.c_str());
        return false;
    }
    if (!rw) {
        std::fclose(file);
        return false;
    }
    m_Music = Mix_LoadMUS_RW(rw, 1);
    return m_Music != nullptr;
}

// Played once, not looped: the program ends with the track.
bool SdlMusic::Play() {
    return m_Music && Mix_PlayMusic(m_Music, 1) == 0;
}

bool SdlMusic::PlayFrom(double seconds) {
    if (!Play()) {
        return false;
    }
    // A new play does not lift an earlier pause.
    Mix_ResumeMusic();
    // Position 0 is where Play starts; seeking there would only cost a decoder reset.
    return seconds <= 0 || Mix_SetMusicPosition(seconds) == 0;
}

void SdlMusic::Pause() {
    if (m_Open) {
        Mix_PauseMusic();
    }
}

void SdlMusic::Resume() {
    if (m_Open) {
        Mix_ResumeMusic();
    }
}

void SdlMusic::Stop() {
    if (m_Open) {
        Mix_HaltMusic();
    }
}

void SdlMusic::Free() {
    if (m_Music) {
        Mix_FreeMusic(m_Music);
        m_Music = nullptr;
    }
    if (m_Open) {
        Mix_CloseAudio();
        m_Open = false;
    }
}

}  // namespace ZEL
