#include "Core/GradientStopCollection.h"

#include "Core/CheckResult.h"

namespace ZEL {

std::shared_ptr<Gfx::GradientStopCollection> GradientStopCollection::CreateResource() {
    std::vector<Gfx::GradientStop> stops(m_Stops.size());
    for (size_t i = 0; i < m_Stops.size(); ++i) {
        stops[i].color = m_Stops[i].color.Get();
        stops[i].position = m_Stops[i].position.Get();
    }
    std::shared_ptr<Gfx::GradientStopCollection> collection;
    CheckResult(Gfx::CreateGradientStopCollection(stops.data(), static_cast<uint32_t>(stops.size()),
                                                  m_ExtendMode, &collection));
    return collection;
}

}  // namespace ZEL
