#include "Viewer/ShapeLayer.h"

#include <imgui.h>

#include <algorithm>

namespace ZEL {

namespace {
const ImU32 kOutline = IM_COL32(0, 220, 255, 230);
const ImU32 kInside = IM_COL32(255, 230, 0, 70);
const ImU32 kClicked = IM_COL32(255, 120, 0, 255);
const ImU32 kLabelBack = IM_COL32(0, 0, 0, 170);
const ImU32 kLabelText = IM_COL32(255, 255, 255, 255);
constexpr float kCross = 7;  // pixels each side of the click mark
}  // namespace

void ShapeLayer::Draw(const OverlayModel& overlay) {
    ImDrawList* draw = ImGui::GetBackgroundDrawList();
    for (const ShapeRow& row : overlay.shapeRows) {
        // An empty geometry has no bounds to show.
        if (row.pixels.right < row.pixels.left) {
            continue;
        }
        const ImVec2 a(row.pixels.left, row.pixels.top);
        const ImVec2 b(row.pixels.right, row.pixels.bottom);
        if (row.underPointer) {
            draw->AddRectFilled(a, b, kInside);
        }
        draw->AddRect(a, b, row.clicked ? kClicked : kOutline, 0, 0, row.clicked ? 3.0f : 1.5f);
        // The name inside the window even when the bounds reach past its edge.
        const ImVec2 size = ImGui::CalcTextSize(row.name.c_str());
        const ImVec2 at(std::max(a.x, 0.0f), std::max(a.y, 0.0f));
        draw->AddRectFilled(at, ImVec2(at.x + size.x + 6, at.y + size.y + 2), kLabelBack);
        draw->AddText(ImVec2(at.x + 3, at.y + 1), kLabelText, row.name.c_str());
    }
    if (overlay.click.made) {
        const ImVec2 c(static_cast<float>(overlay.click.x), static_cast<float>(overlay.click.y));
        draw->AddLine(ImVec2(c.x - kCross, c.y), ImVec2(c.x + kCross, c.y), kClicked, 2);
        draw->AddLine(ImVec2(c.x, c.y - kCross), ImVec2(c.x, c.y + kCross), kClicked, 2);
    }
}

}  // namespace ZEL
