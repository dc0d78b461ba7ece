#pragma once
#include <cstdint>
#include <deque>

#include "Viewer/OverlayModel.h"

namespace ZEL {

// Times of the frames the document was drawn in over the last few seconds, and the rate
// at which frames reached the screen over the last second.
class FrameStats {
  public:
    static constexpr uint64_t kHistoryUs = 5000000;
    static constexpr uint64_t kRateUs = 1000000;

    // A frame in which the document was updated and drawn.
    void AddDrawn(uint64_t atUs, float updateMs, float renderMs);
    // Any frame shown, drawn or not.
    void AddShown(uint64_t atUs);

    double FramesPerSecond() const;
    // The history up to the newest drawn frame: it holds still while nothing is drawn.
    FrameSeries Series() const;

  private:
    struct Sample {
        uint64_t atUs;
        float updateMs;
        float renderMs;
    };
    std::deque<Sample> m_Drawn;
    std::deque<uint64_t> m_Shown;
};

}  // namespace ZEL
