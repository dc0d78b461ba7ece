#include "Core/SinusoidalController.h"

#include <cmath>

namespace ZEL {

float SinusoidalController::ValueAt(int32_t d) {
    constexpr double kPi = 3.141592653589793;
    constexpr double kTwoPi = 6.283185307179586;
    const double window = static_cast<double>(m_Head.end) - m_Head.begin;
    const double angle =
        m_Phase.Get() * 2 * kPi / 360 +
        (m_Frequency.Get() / window) * kTwoPi * (static_cast<double>(d) - m_Head.begin);
    return static_cast<float>(m_Dc.Get() + m_Amplitude.Get() * std::sin(angle));
}

}  // namespace ZEL
