#include "Viewer/FrameStats.h"

#include <algorithm>
#include <vector>

namespace ZEL {

namespace {

// The same rank rule as the offscreen tool's timings, so the two agree.
float Percentile(std::vector<float> values, double fraction) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t index =
        static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

}  // namespace

void FrameStats::AddDrawn(uint64_t atUs, float updateMs, float renderMs) {
    m_Drawn.push_back(Sample{atUs, updateMs, renderMs});
    while (atUs - m_Drawn.front().atUs > kHistoryUs) {
        m_Drawn.pop_front();
    }
}

void FrameStats::AddShown(uint64_t atUs) {
    m_Shown.push_back(atUs);
    while (atUs - m_Shown.front() > kRateUs) {
        m_Shown.pop_front();
    }
}

double FrameStats::FramesPerSecond() const {
    if (m_Shown.size() < 2) {
        return 0;
    }
    const double spanUs = static_cast<double>(m_Shown.back() - m_Shown.front());
    return spanUs > 0 ? static_cast<double>(m_Shown.size() - 1) * 1e6 / spanUs : 0;
}

FrameSeries FrameStats::Series() const {
    FrameSeries series;
    for (const Sample& s : m_Drawn) {
        series.updateMs.push_back(s.updateMs);
        series.renderMs.push_back(s.renderMs);
    }
    series.updateMedian = Percentile(series.updateMs, 0.5);
    series.updateP99 = Percentile(series.updateMs, 0.99);
    series.renderMedian = Percentile(series.renderMs, 0.5);
    series.renderP99 = Percentile(series.renderMs, 0.99);
    return series;
}

}  // namespace ZEL
