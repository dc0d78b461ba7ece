#pragma once
#include <cstdint>

namespace ZEL {

// The track that plays along with the document: position 0 is the document's load time.
class IMusic {
  public:
    virtual ~IMusic() = default;
    // Plays from this position, also after the track has ended.
    virtual void PlayFrom(uint64_t positionMs) = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
};

}  // namespace ZEL
