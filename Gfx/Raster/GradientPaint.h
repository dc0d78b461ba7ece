#pragma once
#include <cairo.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "Gfx/Brush.h"

namespace Gfx {

// A gradient with everything resolved: geometry in pattern space, the stops within 0..1
// with the brush opacity folded into their alpha, and the extend mode. Immutable once
// made, so a recorded frame can share it with the raster threads and keep it alive after
// its brush is gone.
class GradientPaint {
  public:
    enum class Kind { Linear, Radial };

    // Linear: the axis from (x0, y0) to (x1, y1). Radial: the unit circle at the origin with
    // its focus at (x0, y0).
    GradientPaint(Kind kind, double x0, double y0, double x1, double y1,
                  const std::vector<GradientStop>& stops, float opacity, ExtendMode extend);

    Kind GetKind() const { return m_Kind; }
    // A new Cairo pattern (pattern space as above); the caller destroys it.
    cairo_pattern_t* CreatePattern() const;

    // Colours of one row of device pixels, premultiplied BGRA, for pixels x0..x0+n-1 of
    // row y. toPattern maps device space onto pattern space. False when this gradient has no
    // fast form (a zero-length axis, a focus on or outside the rim, a hard stop): draw it
    // with Cairo.
    bool HasSpans() const { return m_SpansUsable; }
    void FillSpan(const cairo_matrix_t& toPattern, int x0, int y, int n, uint32_t* out) const;
    // Every colour is opaque, so a row can be copied instead of blended.
    bool IsOpaque() const { return m_Opaque; }
    bool HasHardStop() const { return m_HardStop; }

  private:
    static constexpr int kTableSize = 1024;

    const std::vector<uint32_t>& Table() const;
    uint32_t ExactAt(double t) const;  // t already mapped into 0..1 by the extend mode
    template <ExtendMode kMode>
    uint32_t ColorAtT(double t) const;
    template <ExtendMode kMode>
    void Fill(const cairo_matrix_t& toPattern, int x0, int y, int n, uint32_t* out) const;

    Kind m_Kind;
    double m_X0, m_Y0, m_X1, m_Y1;
    std::vector<GradientStop> m_Stops;  // sorted by position, equal positions in given order
    ExtendMode m_Extend;
    bool m_SpansUsable = false;
    bool m_Opaque = true;
    bool m_HardStop = false;
    // Colours at the centre of each of kTableSize cells of 0..1, and the cells where
    // neighbouring colours differ by more than 2 in a channel (a hard or steep stop), which
    // are evaluated exactly instead. Built on first use by whichever thread needs it.
    mutable std::once_flag m_TableOnce;
    mutable std::vector<uint32_t> m_Table;
    mutable std::vector<uint8_t> m_Steep;
};

}  // namespace Gfx
