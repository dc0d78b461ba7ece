#include "Viewer/Inspection.h"

#include <cmath>
#include <string>

#include "Core/Scenimator.h"

namespace ZEL {

namespace {

std::string ChildPrefix(const std::string& prefix, const std::string& child) {
    return prefix + child + "/";
}

void AnimationsOf(IScenimator& document, const std::string& prefix,
                  std::vector<AnimationRow>* rows) {
    auto* doc = dynamic_cast<Scenimator*>(&document);
    if (!doc) {
        return;
    }
    // The prefix without its slash names the document.
    rows->push_back(AnimationRow{prefix.empty() ? prefix : prefix.substr(0, prefix.size() - 1),
                                 doc->CurrentAnimation()});
    for (const auto& child : doc->ChildZels()) {
        AnimationsOf(*child.second, ChildPrefix(prefix, child.first), rows);
    }
}

void VariablesOf(IScenimator& document, const std::string& prefix, std::vector<VariableRow>* rows) {
    auto* doc = dynamic_cast<Scenimator*>(&document);
    if (!doc) {
        return;
    }
    for (const auto& variable : doc->Variables()) {
        rows->push_back(VariableRow{prefix + variable.first, variable.second});
    }
    for (const auto& child : doc->ChildZels()) {
        VariablesOf(*child.second, ChildPrefix(prefix, child.first), rows);
    }
}

Gfx::RectF ToPixels(const Gfx::RectF& dips, float pixelsPerDip) {
    return Gfx::RectF{dips.left * pixelsPerDip, dips.top * pixelsPerDip, dips.right * pixelsPerDip,
                      dips.bottom * pixelsPerDip};
}

void ShapesOf(IScenimator& document, const std::string& prefix, float pixelsPerDip, int32_t x,
              int32_t y, std::vector<ShapeRow>* rows) {
    auto* doc = dynamic_cast<Scenimator*>(&document);
    if (!doc) {
        return;
    }
    std::vector<HitTestShape> shapes;
    if (doc->ListHitTestShapes(Inspection::ToDips(x, pixelsPerDip),
                               Inspection::ToDips(y, pixelsPerDip), &shapes) == kSuccess) {
        for (const HitTestShape& shape : shapes) {
            rows->push_back(ShapeRow{prefix + shape.name, ToPixels(shape.bounds, pixelsPerDip),
                                     shape.contains, false});
        }
    }
    for (const auto& child : doc->ChildZels()) {
        ShapesOf(*child.second, ChildPrefix(prefix, child.first), pixelsPerDip, x, y, rows);
    }
}

}  // namespace

int32_t Inspection::ToDips(int32_t pixels, float pixelsPerDip) {
    return static_cast<int32_t>(std::lround(static_cast<float>(pixels) / pixelsPerDip));
}

void Inspection::Animations(IScenimator& document, std::vector<AnimationRow>* rows) {
    AnimationsOf(document, "", rows);
}

void Inspection::Variables(IScenimator& document, std::vector<VariableRow>* rows) {
    VariablesOf(document, "", rows);
}

void Inspection::Shapes(IScenimator& document, float pixelsPerDip, int32_t x, int32_t y,
                        std::vector<ShapeRow>* rows) {
    ShapesOf(document, "", pixelsPerDip, x, y, rows);
}

}  // namespace ZEL
