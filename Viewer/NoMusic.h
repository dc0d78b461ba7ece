#pragma once
#include "Viewer/IMusic.h"

namespace ZEL {

// Silence, when no track was given.
class NoMusic : public IMusic {
  public:
    void PlayFrom(uint64_t) override {}
    void Pause() override {}
    void Resume() override {}
};

}  // namespace ZEL
