#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "Scene.h"

namespace Bench {

// Draws every scene at kFidelityTimes in every FidelityMode, measures each frame against exact
// coverage and prints a line per scene, time and mode, then a Markdown table of the same with
// the modes side by side. Documents go to dir (which must hold bitmap.png); when pngDir is
// not empty, every frame and its reference are written there as NAME_T_MODE.png and
// NAME_T_MODE_exact.png. True when every mode held the bar on every frame.
bool ReportFidelity(const std::vector<Scene>& scenes, const std::filesystem::path& dir,
                    const std::string& pngDir);

}  // namespace Bench
