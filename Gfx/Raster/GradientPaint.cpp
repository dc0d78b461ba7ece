#include "Gfx/Raster/GradientPaint.h"

#include <algorithm>
#include <cmath>

namespace Gfx {

namespace {

// Cairo clamps stop colours into 0..1.
double Clamp01(double v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

// Premultiplied BGRA of a straight colour, rounded as the pixel pipeline rounds.
uint32_t Pack(double r, double g, double b, double a) {
    const double a255 = a * 255;
    const auto channel = [a255](double c) { return static_cast<uint32_t>(a255 * c + 0.5); };
    return channel(b) | channel(g) << 8 | channel(r) << 16 |
           static_cast<uint32_t>(a255 + 0.5) << 24;
}

int Channel(uint32_t c, int i) {
    return static_cast<int>((c >> (8 * i)) & 0xff);
}

bool Near(uint32_t a, uint32_t b) {
    for (int i = 0; i < 4; ++i)
        if (std::abs(Channel(a, i) - Channel(b, i)) > 2)
            return false;
    return true;
}

}  // namespace

GradientPaint::GradientPaint(Kind kind, double x0, double y0, double x1, double y1,
                             const std::vector<GradientStop>& stops, float opacity,
                             ExtendMode extend)
    : m_Kind(kind), m_X0(x0), m_Y0(y0), m_X1(x1), m_Y1(y1), m_Stops(stops), m_Extend(extend) {
    for (GradientStop& s : m_Stops) {
        s.color.r = static_cast<float>(Clamp01(s.color.r));
        s.color.g = static_cast<float>(Clamp01(s.color.g));
        s.color.b = static_cast<float>(Clamp01(s.color.b));
        s.color.a = static_cast<float>(Clamp01(s.color.a * opacity));
        m_Opaque = m_Opaque && s.color.a >= 1;
    }
    std::stable_sort(
        m_Stops.begin(), m_Stops.end(),
        [](const GradientStop& a, const GradientStop& b) { return a.position < b.position; });
    if (m_Stops.empty()) {
        return;
    }
    // At a hard stop (two stops at one position) the colour jumps, so a pixel on it takes
    // either side depending on the last bit of its position; such gradients stay with Cairo,
    // whose pixels they must match.
    for (size_t i = 1; i < m_Stops.size(); ++i)
        m_HardStop = m_HardStop || m_Stops[i].position == m_Stops[i - 1].position;
    if (m_HardStop)
        return;
    if (kind == Kind::Linear) {
        const double dx = x1 - x0, dy = y1 - y0;
        m_SpansUsable = dx * dx + dy * dy > 1e-12;
    } else {
        m_SpansUsable = x0 * x0 + y0 * y0 < 1 - 1e-6;
    }
}

cairo_pattern_t* GradientPaint::CreatePattern() const {
    cairo_pattern_t* pattern = m_Kind == Kind::Linear
                                   ? cairo_pattern_create_linear(m_X0, m_Y0, m_X1, m_Y1)
                                   : cairo_pattern_create_radial(m_X0, m_Y0, 0, 0, 0, 1);
    for (const GradientStop& s : m_Stops)
        cairo_pattern_add_color_stop_rgba(pattern, s.position, s.color.r, s.color.g, s.color.b,
                                          s.color.a);
    switch (m_Extend) {
        case ExtendMode::Wrap:
            cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
            break;
        case ExtendMode::Mirror:
            cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REFLECT);
            break;
        case ExtendMode::Clamp:
        default:
            cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
            break;
    }
    return pattern;
}

uint32_t GradientPaint::ExactAt(double t) const {
    const GradientStop* left = &m_Stops.front();
    if (t < left->position)
        return Pack(left->color.r, left->color.g, left->color.b, left->color.a);
    // The last stop at or before t starts the segment, so of stops sharing a position the
    // later one holds from there on.
    size_t i = 0;
    while (i + 1 < m_Stops.size() && m_Stops[i + 1].position <= t) ++i;
    left = &m_Stops[i];
    if (i + 1 == m_Stops.size())
        return Pack(left->color.r, left->color.g, left->color.b, left->color.a);
    const GradientStop& right = m_Stops[i + 1];
    const double f = (t - left->position) / (static_cast<double>(right.position) - left->position);
    const auto mix = [f](float a, float b) { return a + (static_cast<double>(b) - a) * f; };
    return Pack(mix(left->color.r, right.color.r), mix(left->color.g, right.color.g),
                mix(left->color.b, right.color.b), mix(left->color.a, right.color.a));
}

const std::vector<uint32_t>& GradientPaint::Table() const {
    std::call_once(m_TableOnce, [this] {
        m_Table.resize(kTableSize);
        m_Steep.assign(kTableSize, 0);
        for (int i = 0; i < kTableSize; ++i) m_Table[i] = ExactAt((i + 0.5) / kTableSize);
        for (int i = 0; i + 1 < kTableSize; ++i) {
            if (!Near(m_Table[i], m_Table[i + 1]))
                m_Steep[i] = m_Steep[i + 1] = 1;
        }
    });
    return m_Table;
}

namespace {

// floor without the library call the baseline instruction set needs; |t| is kept far below
// 2^62 by the caller.
inline double Floor(double t) {
    const double whole = static_cast<double>(static_cast<int64_t>(t));
    return whole > t ? whole - 1 : whole;
}

// Positions on the ramp beyond this are all alike for repeat and reflect (a gradient this far
// out has no step that a pixel could show), and stay exact as 64-bit integers.
constexpr double kFarOut = 1e15;

template <ExtendMode kMode>
inline double ExtendT(double t) {
    if (kMode == ExtendMode::Clamp)
        return t < 0 ? 0 : (t > 1 ? 1 : t);
    t = t < -kFarOut ? -kFarOut : (t > kFarOut ? kFarOut : t);
    if (kMode == ExtendMode::Wrap)
        return t - Floor(t);
    const double m = t - 2 * Floor(t / 2);
    return m > 1 ? 2 - m : m;
}

}  // namespace

template <ExtendMode kMode>
uint32_t GradientPaint::ColorAtT(double t) const {
    // NaN (a degenerate ramp) lands on the first cell.
    const double u = ExtendT<kMode>(t);
    int cell = static_cast<int>(u * kTableSize);
    cell = cell < 0 ? 0 : (cell > kTableSize - 1 ? kTableSize - 1 : cell);
    return m_Steep[cell] ? ExactAt(u) : m_Table[cell];
}

template <ExtendMode kMode>
void GradientPaint::Fill(const cairo_matrix_t& m, int x0, int y, int n, uint32_t* out) const {
    const double cx = x0 + 0.5, cy = y + 0.5;
    // Pattern-space position of the first pixel's centre and its step per pixel.
    const double px = m.xx * cx + m.xy * cy + m.x0, py = m.yx * cx + m.yy * cy + m.y0;
    if (m_Kind == Kind::Linear) {
        const double dx = m_X1 - m_X0, dy = m_Y1 - m_Y0, inv = 1 / (dx * dx + dy * dy);
        const double t0 = ((px - m_X0) * dx + (py - m_Y0) * dy) * inv;
        const double step = (m.xx * dx + m.yx * dy) * inv;
        for (int i = 0; i < n; ++i) out[i] = ColorAtT<kMode>(t0 + step * i);
        return;
    }
    // The largest t whose circle, centred at focus * (1 - t) with radius t, passes through
    // the point.
    const double fx = m_X0, fy = m_Y0, k = 1 - (fx * fx + fy * fy), invK = 1 / k;
    for (int i = 0; i < n; ++i) {
        const double wx = px + m.xx * i - fx, wy = py + m.yx * i - fy;
        const double fw = fx * wx + fy * wy;
        out[i] = ColorAtT<kMode>((fw + std::sqrt(fw * fw + k * (wx * wx + wy * wy))) * invK);
    }
}

void GradientPaint::FillSpan(const cairo_matrix_t& m, int x0, int y, int n, uint32_t* out) const {
    Table();
    switch (m_Extend) {
        case ExtendMode::Wrap:
            Fill<ExtendMode::Wrap>(m, x0, y, n, out);
            break;
        case ExtendMode::Mirror:
            Fill<ExtendMode::Mirror>(m, x0, y, n, out);
            break;
        case ExtendMode::Clamp:
        default:
            Fill<ExtendMode::Clamp>(m, x0, y, n, out);
            break;
    }
}

}  // namespace Gfx
