#pragma once
#include "Viewer/OverlayModel.h"

namespace ZEL {

// Update and render times of the last few seconds as two lines over a scale that fits
// their 99th percentiles (rarer spikes run off the top), with the 60 fps frame budget
// marked when it is in range, and a legend with each one's median and 99th percentile.
class FrameGraph {
  public:
    static void Draw(const FrameSeries& series, float height, float scale);

  private:
    static float ScaleTopMs(const FrameSeries& series);
};

}  // namespace ZEL
