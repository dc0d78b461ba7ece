#include "Gfx/Raster/EdgeList.h"

#include <algorithm>
#include <cmath>

namespace Gfx {

void EdgeList::Reset(const PixelRect& clip) {
    m_Clip = clip;
    m_Edges.clear();
    m_Left = m_Top = INFINITY;
    m_Right = m_Bottom = -INFINITY;
    m_ClippedRight = false;
}

void EdgeList::Clipped(double x0, double y0, double x1, double y1) {
    if (!(std::isfinite(x0) && std::isfinite(y0) && std::isfinite(x1) && std::isfinite(y1)))
        return;
    if (y0 == y1)
        return;  // a horizontal edge changes no winding
    const double top = m_Clip.top, bottom = m_Clip.bottom;
    const double left = m_Clip.left, right = m_Clip.right;
    const double minY = std::min(y0, y1), maxY = std::max(y0, y1);
    const double minX = std::min(x0, x1);
    if (maxY <= top || minY >= bottom)
        return;
    if (minX >= right) {
        m_ClippedRight = true;
        return;
    }
    // Within the clip's rows.
    const double slope = (x1 - x0) / (y1 - y0);
    const auto xAt = [&](double y) { return x0 + (y - y0) * slope; };
    double ya = std::max(std::min(y0, y1), top), yb = std::min(std::max(y0, y1), bottom);
    if (y0 > y1)
        std::swap(ya, yb);  // keep the edge's direction
    double xa = ya == y0 ? x0 : xAt(ya), xb = yb == y1 ? x1 : xAt(yb);
    if (xa <= left && xb <= left) {
        Keep(left, ya, left, yb);
        return;
    }
    // Split where the edge crosses the left and the right side of the clip.
    double ys[4] = {ya, 0, 0, yb};
    int n = 1;
    const auto yAtX = [&](double x) { return ya + (x - xa) * (yb - ya) / (xb - xa); };
    const double lo = std::min(xa, xb), hi = std::max(xa, xb);
    double cuts[2];
    int c = 0;
    if (lo < left && hi > left)
        cuts[c++] = yAtX(left);
    if (lo < right && hi > right)
        cuts[c++] = yAtX(right);
    if (c == 2 && (cuts[0] - cuts[1]) * (yb - ya) > 0)
        std::swap(cuts[0], cuts[1]);  // in the order the edge meets them
    for (int i = 0; i < c; ++i) ys[n++] = cuts[i];
    ys[n++] = yb;
    for (int i = 0; i + 1 < n; ++i) {
        const double sa = ys[i], sb = ys[i + 1];
        if (sa == sb)
            continue;
        double pa = i == 0 ? xa : xa + (sa - ya) * (xb - xa) / (yb - ya);
        double pb = i + 2 == n ? xb : xa + (sb - ya) * (xb - xa) / (yb - ya);
        const double mid = (pa + pb) / 2;
        if (mid >= right) {
            m_ClippedRight = true;
            continue;
        }
        if (mid <= left)
            pa = pb = left;
        Keep(std::clamp(pa, left, right), sa, std::clamp(pb, left, right), sb);
    }
}

}  // namespace Gfx
