#include "Core/LinearController.h"

namespace ZEL {

float LinearController::ValueAt(int32_t d) {
    const double f =
        (static_cast<double>(d) - m_Head.begin) / (static_cast<double>(m_Head.end) - m_Head.begin);
    const double from = m_BeginValue.Get();
    const double to = m_EndValue.Get();
    return static_cast<float>(from * (1 - f) + to * f);
}

}  // namespace ZEL
