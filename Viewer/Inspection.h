#pragma once
#include <cstdint>
#include <vector>

#include "Core/IScenimator.h"
#include "Viewer/OverlayModel.h"

namespace ZEL {

// What the inspector shows of a document and, depth first, of its children (named
// "kid", "kid/grandkid"). Documents that are not the engine's own show nothing.
class Inspection {
  public:
    static void Animations(IScenimator& document, std::vector<AnimationRow>* rows);
    // In name order per document, children after their parent, as "kid/$name".
    static void Variables(IScenimator& document, std::vector<VariableRow>* rows);
    // Every hit-test geometry in target pixels (pixelsPerDip: the target's DPI / 96), and
    // whether the pixel (x, y) lies inside it.
    static void Shapes(IScenimator& document, float pixelsPerDip, int32_t x, int32_t y,
                       std::vector<ShapeRow>* rows);
    // A target pixel coordinate in the document units hit tests take, to the nearest.
    static int32_t ToDips(int32_t pixels, float pixelsPerDip);
};

}  // namespace ZEL
