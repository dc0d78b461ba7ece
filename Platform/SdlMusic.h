#pragma once
#include <SDL_mixer.h>

#include <cstdint>
#include <string>

namespace ZEL {

// The music track through SDL2_mixer: open the device, load, play once, stop and free; for
// the viewer also from a position, paused and resumed.
class SdlMusic {
  public:
    SdlMusic() = default;
    ~SdlMusic();
    SdlMusic(const SdlMusic&) = delete;
    SdlMusic& operator=(const SdlMusic&) = delete;

    bool Open(uint32_t rateHz);
    bool Load(const std::string& path);
    bool Play();
    // Plays once from this many seconds in, also after the track ended or while paused.
    bool PlayFrom(double seconds);
    void Pause();
    void Resume();
    void Stop();
    void Free();

  private:
    bool m_Open = false;
    Mix_Music* m_Music = nullptr;
};

}  // namespace ZEL
