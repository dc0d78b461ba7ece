#include <algorithm>
#include <cmath>
#include <new>

#include "Gfx/Brush.h"

namespace Gfx {

namespace {

ColorF Mix(const ColorF& a, const ColorF& b, float f) {
    return ColorF{a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f,
                  a.a + (b.a - a.a) * f};
}

// The colour at position p of stops sorted by position.
ColorF ColorAt(const std::vector<GradientStop>& sorted, float p) {
    if (p <= sorted.front().position)
        return sorted.front().color;
    for (size_t i = 1; i < sorted.size(); ++i) {
        const GradientStop& a = sorted[i - 1];
        const GradientStop& b = sorted[i];
        if (p <= b.position) {
            const float span = b.position - a.position;
            return span > 0 ? Mix(a.color, b.color, (p - a.position) / span) : b.color;
        }
    }
    return sorted.back().color;
}

std::vector<GradientStop> MapOntoUnitRange(const std::vector<GradientStop>& stops) {
    const bool inside = std::all_of(stops.begin(), stops.end(), [](const GradientStop& s) {
        return s.position >= 0 && s.position <= 1;
    });
    const bool finite = std::all_of(stops.begin(), stops.end(), [](const GradientStop& s) {
        return std::isfinite(s.position);
    });
    if (stops.empty() || inside || !finite)
        return stops;
    // Equal positions keep their document order, as the drawing does.
    std::vector<GradientStop> sorted = stops;
    std::stable_sort(
        sorted.begin(), sorted.end(),
        [](const GradientStop& a, const GradientStop& b) { return a.position < b.position; });
    std::vector<GradientStop> unit;
    if (sorted.front().position < 0)
        unit.push_back({0, ColorAt(sorted, 0)});
    for (const GradientStop& s : sorted)
        if (s.position >= 0 && s.position <= 1)
            unit.push_back(s);
    if (sorted.back().position > 1)
        unit.push_back({1, ColorAt(sorted, 1)});
    return unit;
}

}  // namespace

GradientStopCollection::GradientStopCollection(std::vector<GradientStop> stops, ExtendMode mode)
    : m_Stops(std::move(stops)), m_UnitStops(MapOntoUnitRange(m_Stops)), m_Extend(mode) {}

Result CreateGradientStopCollection(const GradientStop* stops, uint32_t count, int extendMode,
                                    std::shared_ptr<GradientStopCollection>* out) {
    if (!out || (count > 0 && !stops))
        return kInvalidArg;
    if (extendMode < static_cast<int>(ExtendMode::Clamp) ||
        extendMode > static_cast<int>(ExtendMode::Mirror))
        return kInvalidArg;
    try {
        *out = std::make_shared<GradientStopCollection>(
            std::vector<GradientStop>(stops, stops + count), static_cast<ExtendMode>(extendMode));
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
    return kOk;
}

}  // namespace Gfx
