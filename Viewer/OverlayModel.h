#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Gfx/Types.h"

namespace ZEL {

// The current animation of the document ("" ) or of a child ("orbit", "orbit/moon").
struct AnimationRow {
    std::string document;
    std::string animation;
};

// A variable as the offscreen tool prints it: children's as "child/$name".
struct VariableRow {
    std::string name;
    float value = 0;
};

// Frame times of the last few seconds, oldest first, in milliseconds.
struct FrameSeries {
    std::vector<float> updateMs;
    std::vector<float> renderMs;
    float updateMedian = 0, updateP99 = 0;
    float renderMedian = 0, renderP99 = 0;
};

// A hit-test geometry on screen, in target pixels.
struct ShapeRow {
    std::string name;
    Gfx::RectF pixels;
    bool underPointer = false;
    bool clicked = false;  // hit by the last click
};

// The last left click: the document's own answer and the geometries that said yes.
struct ClickReport {
    bool made = false;
    int32_t x = 0, y = 0;  // target pixels
    bool hit = false;
    std::vector<std::string> shapes;
};

// Everything the window draws over the document's pixels.
struct OverlayModel {
    std::string error;  // the bar across the window when not empty
    bool inspector = false;
    bool shapes = false;

    std::string fileName;
    double documentSeconds = 0;
    bool paused = false;
    double framesPerSecond = 0;
    std::string lastReload;  // how the last reload went, for the inspector
    std::vector<AnimationRow> animations;
    std::vector<VariableRow> variables;
    FrameSeries frames;
    std::vector<ShapeRow> shapeRows;
    ClickReport click;
};

}  // namespace ZEL
