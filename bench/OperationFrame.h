#pragma once
#include <cstdint>
#include <filesystem>

#include "Fidelity.h"
#include "Frames.h"
#include "Scene.h"

namespace Bench {

// Whether every paint of the scene is a solid colour and it draws no bitmap: the scenes
// OperationFrame can draw.
bool SolidPaintsOnly(const Scene& scene);

// The scene's frame at time t as a renderer with exact area coverage draws it: each fill and
// each stroke covered exactly on its own (drawn scale times larger through Cairo and
// averaged) and blended over the frame in order. Where edges of two shapes share a pixel,
// ExactFrame mixes the shapes sample by sample, as no renderer that blends operation by
// operation can (Skia, rlottie and Cairo alike): this frame blends them one after the other,
// so that it differs from such a renderer's frame by coverage alone. Solid paints only.
Frame OperationFrame(const Scene& scene, uint32_t t, const Region& region,
                     const std::filesystem::path& dir, int scale = kExactScale);

}  // namespace Bench
