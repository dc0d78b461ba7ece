#pragma once
#include "Core/ControllerBase.h"
#include "Core/ValueD.h"

namespace ZEL {

// dc + amplitude * sin(phase + 2 pi * frequency * (d - begin) / (end - begin)):
// frequency in full cycles per window, phase in degrees.
class SinusoidalController : public ControllerBase {
  public:
    SinusoidalController(ControllerHead head, ValueD dc, ValueD amplitude, ValueD frequency,
                         ValueD phase)
        : ControllerBase(std::move(head)),
          m_Dc(dc),
          m_Amplitude(amplitude),
          m_Frequency(frequency),
          m_Phase(phase) {}
    float ValueAt(int32_t d) override;

  private:
    ValueD m_Dc, m_Amplitude, m_Frequency, m_Phase;
};

}  // namespace ZEL
