#pragma once
#include <cstdint>

namespace ZEL {

// Turns a burst of file changes into one reload: due once the files have been quiet for
// the delay, since editors write, rename and touch several times per save.
class ReloadTimer {
  public:
    static constexpr uint64_t kQuietMs = 150;

    void NoteChange(uint64_t nowMs);
    // True once per burst, at the first call the burst has been quiet for kQuietMs.
    bool Due(uint64_t nowMs);

  private:
    bool m_Pending = false;
    uint64_t m_LastChangeMs = 0;
};

}  // namespace ZEL
