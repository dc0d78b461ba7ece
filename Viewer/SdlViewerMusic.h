#pragma once
#include <memory>
#include <string>

#include "Platform/SdlMusic.h"
#include "Viewer/IMusic.h"

namespace ZEL {

// The viewer's track on SDL2_mixer.
class SdlViewerMusic : public IMusic {
  public:
    // Null, with SDL's reason in *problem, when the device or the file cannot be opened.
    static std::unique_ptr<SdlViewerMusic> Open(const std::string& path, std::string* problem);

    void PlayFrom(uint64_t positionMs) override;
    void Pause() override { m_Music.Pause(); }
    void Resume() override { m_Music.Resume(); }

  private:
    SdlMusic m_Music;
};

}  // namespace ZEL
