#include "Viewer/FrameGraph.h"

#include <imgui.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace ZEL {

namespace {

const ImU32 kUpdate = IM_COL32(90, 200, 255, 255);
const ImU32 kRender = IM_COL32(255, 170, 60, 255);
const ImU32 kGrid = IM_COL32(255, 255, 255, 40);
const ImU32 kBudget = IM_COL32(255, 80, 80, 140);
const ImU32 kBack = IM_COL32(0, 0, 0, 90);
constexpr float kBudgetMs = 1000.0f / 60;

void Line(ImDrawList* draw, const std::vector<float>& values, ImVec2 origin, ImVec2 size,
          float topMs, ImU32 colour) {
    if (values.size() < 2) {
        return;
    }
    std::vector<ImVec2> points;
    points.reserve(values.size());
    const float step = size.x / static_cast<float>(values.size() - 1);
    for (size_t i = 0; i < values.size(); ++i) {
        const float fraction = std::min(values[i] / topMs, 1.0f);
        points.emplace_back(origin.x + step * static_cast<float>(i),
                            origin.y + size.y * (1 - fraction));
    }
    draw->AddPolyline(points.data(), static_cast<int>(points.size()), colour, 0, 1.5f);
}

void Legend(const char* name, ImU32 colour, float median, float p99) {
    ImGui::PushStyleColor(ImGuiCol_Text, colour);
    ImGui::TextUnformatted(name);
    ImGui::PopStyleColor();
    ImGui::SameLine(ImGui::GetFontSize() * 4.5f);
    ImGui::Text("median %.2f ms   p99 %.2f ms", median, p99);
}

}  // namespace

// The smallest of 1, 2, 5 x 10^n ms above both tails: the first frame after a load, which
// decodes every image, would otherwise flatten the rest.
float FrameGraph::ScaleTopMs(const FrameSeries& series) {
    const float highest = std::max({0.5f, series.updateP99, series.renderP99}) * 1.25f;
    for (float decade = 1;; decade *= 10) {
        for (float step : {1.0f, 2.0f, 5.0f}) {
            if (step * decade >= highest) {
                return step * decade;
            }
        }
    }
}

void FrameGraph::Draw(const FrameSeries& series, float height, float scale) {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const ImVec2 origin = ImGui::GetCursorScreenPos();
    const ImVec2 size(ImGui::GetContentRegionAvail().x, height);
    const float top = ScaleTopMs(series);
    draw->AddRectFilled(origin, ImVec2(origin.x + size.x, origin.y + size.y), kBack, 3);
    draw->AddLine(ImVec2(origin.x, origin.y + size.y / 2),
                  ImVec2(origin.x + size.x, origin.y + size.y / 2), kGrid);
    if (kBudgetMs < top) {
        const float y = origin.y + size.y * (1 - kBudgetMs / top);
        draw->AddLine(ImVec2(origin.x, y), ImVec2(origin.x + size.x, y), kBudget);
    }
    Line(draw, series.updateMs, origin, size, top, kUpdate);
    Line(draw, series.renderMs, origin, size, top, kRender);
    char label[32];
    std::snprintf(label, sizeof label, "%g ms", static_cast<double>(top));
    draw->AddText(ImVec2(origin.x + 4 * scale, origin.y + 2 * scale), kGrid | IM_COL32_A_MASK,
                  label);
    ImGui::Dummy(size);
    Legend("update", kUpdate, series.updateMedian, series.updateP99);
    Legend("render", kRender, series.renderMedian, series.renderP99);
}

}  // namespace ZEL
